#include "names/namerules.h"

#include <QCoreApplication>
#include <QTextBoundaryFinder>

qsizetype NameRules::length(const QString &name)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, name);
    qsizetype characters = 0;
    while (finder.toNextBoundary() >= 0)
        ++characters;
    return characters;
}

NameRules::Problem NameRules::check(const QString &name)
{
    if (name.contains(u'\r'))
        return Problem::CarriageReturn;
    // A name of no more code units has no more characters; counting them is the slow part.
    const bool tooLong = name.size() > maxCodeUnits || (name.size() > maxLength && length(name) > maxLength);
    return tooLong ? Problem::TooLong : Problem::None;
}

QString NameRules::germanLimit()
{
    return QCoreApplication::translate("NameRules", "Ein Name hat höchstens %1 Zeichen und %2 UTF-16-Einheiten "
                                                    "(Emoji und Akzente belegen mehrere).")
        .arg(maxLength)
        .arg(maxCodeUnits);
}

QString NameRules::englishReason(const QString &name, Problem problem)
{
    switch (problem) {
    case Problem::TooLong:
        return QStringLiteral("the name has %1 characters in %2 UTF-16 code units; a name holds at most %3 "
                              "characters and %4 code units (emoji and accents take several)")
            .arg(length(name))
            .arg(name.size())
            .arg(maxLength)
            .arg(maxCodeUnits);
    case Problem::CarriageReturn:
        return QStringLiteral("a name cannot hold a carriage return (CR); use a line break (LF) alone");
    case Problem::None:
        break;
    }
    return {};
}

#include "names/namerules.h"

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
    const bool tooLong = name.size() > maxLength && length(name) > maxLength;
    return tooLong ? Problem::TooLong : Problem::None;
}

QString NameRules::englishReason(const QString &name, Problem problem)
{
    switch (problem) {
    case Problem::TooLong:
        return QStringLiteral("the name has %1 characters, more than the %2 a name can hold")
            .arg(length(name))
            .arg(maxLength);
    case Problem::CarriageReturn:
        return QStringLiteral("a name cannot hold a carriage return (CR); use a line break (LF) alone");
    case Problem::None:
        break;
    }
    return {};
}

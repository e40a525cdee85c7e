#include "names/namerules.h"

#include <QCoreApplication>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

// The embeddings and overrides, and the isolates: each turns the text after it around.
constexpr char16_t firstEmbedding = 0x202A;
constexpr char16_t lastEmbedding = 0x202E;
constexpr char16_t firstIsolate = 0x2066;
constexpr char16_t lastIsolate = 0x2069;
constexpr int hexDigits = 4;
constexpr int hexBase = 16;

bool isDirectionOverride(QChar character)
{
    const char16_t unit = character.unicode();
    return (unit >= firstEmbedding && unit <= lastEmbedding) || (unit >= firstIsolate && unit <= lastIsolate);
}

} // namespace

qsizetype NameRules::length(const QString &name)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, name);
    qsizetype characters = 0;
    while (finder.toNextBoundary() >= 0)
        ++characters;
    return characters;
}

bool NameRules::isHiddenCharacter(QChar character)
{
    return (character.category() == QChar::Other_Control && character != u'\n') || isDirectionOverride(character);
}

qsizetype NameRules::firstHiddenCharacter(const QString &name)
{
    const auto *const found = std::find_if(name.cbegin(), name.cend(), isHiddenCharacter);
    return found == name.cend() ? -1 : found - name.cbegin();
}

QString NameRules::codeOf(QChar character)
{
    return QStringLiteral("U+%1").arg(character.unicode(), hexDigits, hexBase, QChar(u'0')).toUpper();
}

NameRules::HiddenCharacter NameRules::hiddenCharacterAt(const QString &name, qsizetype index)
{
    return {codeOf(name.at(index)), length(name.left(index)) + 1,
            isDirectionOverride(name.at(index)) ? Problem::DirectionOverride : Problem::ControlCharacter};
}

NameRules::Problem NameRules::check(const QString &name)
{
    if (name.contains(u'\r'))
        return Problem::CarriageReturn;
    // A name of no more code units has no more characters; counting them is the slow part.
    if (name.size() > maxCodeUnits || (name.size() > maxLength && length(name) > maxLength))
        return Problem::TooLong;
    const qsizetype hidden = firstHiddenCharacter(name);
    return hidden < 0 ? Problem::None : hiddenCharacterAt(name, hidden).problem;
}

QString NameRules::germanLimit()
{
    return QCoreApplication::translate("NameRules", "Ein Name hat höchstens %1 Zeichen und %2 UTF-16-Einheiten "
                                                    "(Emoji und Akzente belegen mehrere).")
        .arg(maxLength)
        .arg(maxCodeUnits);
}

QString NameRules::germanReason(const QString &name, Problem problem)
{
    switch (problem) {
    case Problem::TooLong:
        return germanLimit();
    case Problem::CarriageReturn:
        return QCoreApplication::translate("NameRules", "Ein Name enthält keinen Wagenrücklauf (CR).");
    case Problem::ControlCharacter:
    case Problem::DirectionOverride:
        return germanHiddenReason(name, firstHiddenCharacter(name));
    case Problem::None:
        break;
    }
    return {};
}

QString NameRules::germanHiddenReason(const QString &name, qsizetype index)
{
    const HiddenCharacter hidden = hiddenCharacterAt(name, index);
    if (hidden.problem == Problem::DirectionOverride)
        return QCoreApplication::translate("NameRules", "Ein Name enthält keine Zeichen, die die Schreibrichtung "
                                                        "umstellen; an Stelle %1 steht %2.")
            .arg(hidden.position)
            .arg(hidden.code);
    return QCoreApplication::translate("NameRules", "Ein Name enthält keine Steuerzeichen; an Stelle %1 steht das "
                                                    "unsichtbare Zeichen %2.")
        .arg(hidden.position)
        .arg(hidden.code);
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
    case Problem::ControlCharacter: {
        const HiddenCharacter hidden = hiddenCharacterAt(name, firstHiddenCharacter(name));
        return QStringLiteral("a name cannot hold a control character: %1 at character %2")
            .arg(hidden.code)
            .arg(hidden.position);
    }
    case Problem::DirectionOverride: {
        const HiddenCharacter hidden = hiddenCharacterAt(name, firstHiddenCharacter(name));
        return QStringLiteral("a name cannot hold a character that overrides the text's direction: %1 at "
                              "character %2")
            .arg(hidden.code)
            .arg(hidden.position);
    }
    case Problem::None:
        break;
    }
    return {};
}

#include "names/namerules.h"

#include "base/wording.h"

#include <QRegularExpression>
#include <QStringList>
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

namespace {

// Each problem in both wordings. The arguments, the same in both: %1 and %2 the hidden
// character's code and place, or the name's characters and code units; %3 and %4 the limits.
constexpr Wording<NameRules::Problem> wordings[] = {
    {NameRules::Problem::TooLong,
     QT_TRANSLATE_NOOP("NameRules", "Ein Name hat höchstens %3 Zeichen und %4 UTF-16-Einheiten "
                                    "(Emoji und Akzente belegen mehrere)."),
     "the name has %1 characters in %2 UTF-16 code units; a name holds at most %3 characters and %4 code units "
     "(emoji and accents take several)"},
    {NameRules::Problem::CarriageReturn, QT_TRANSLATE_NOOP("NameRules", "Ein Name enthält keinen Wagenrücklauf (CR)."),
     "a name cannot hold a carriage return (CR); use a line break (LF) alone"},
    {NameRules::Problem::ControlCharacter,
     QT_TRANSLATE_NOOP("NameRules", "Ein Name enthält keine Steuerzeichen; an Stelle %2 steht das unsichtbare "
                                    "Zeichen %1."),
     "a name cannot hold a control character: %1 at character %2"},
    {NameRules::Problem::DirectionOverride,
     QT_TRANSLATE_NOOP("NameRules", "Ein Name enthält keine Zeichen, die die Schreibrichtung umstellen; an Stelle "
                                    "%2 steht %1."),
     "a name cannot hold a character that overrides the text's direction: %1 at character %2"},
};

// A wording's arguments by their numbers, since a wording may leave some out; in one pass,
// so that no argument's own text is taken for a number.
QString worded(NameRules::Problem problem, QLocale::Language language, const QStringList &arguments)
{
    static const QRegularExpression number(QStringLiteral("%(\\d)"));
    const QString text = worded("NameRules", wordings, problem, language);
    QString filled;
    qsizetype from = 0;
    for (const QRegularExpressionMatch &match : number.globalMatch(text)) {
        filled += text.mid(from, match.capturedStart() - from) + arguments.value(match.captured(1).toInt() - 1);
        from = match.capturedEnd();
    }
    return filled + text.mid(from);
}

QStringList limits(qsizetype characters, qsizetype codeUnits)
{
    return {QString::number(characters), QString::number(codeUnits), QString::number(NameRules::maxLength),
            QString::number(NameRules::maxCodeUnits)};
}

} // namespace

QString NameRules::germanLimit()
{
    return worded(Problem::TooLong, QLocale::German, limits(0, 0));
}

QString NameRules::reason(const QString &name, Problem problem, QLocale::Language language)
{
    if (problem == Problem::ControlCharacter || problem == Problem::DirectionOverride)
        return hiddenReason(name, firstHiddenCharacter(name), language);
    // Only the command line's wording names the counts: counting a long pasted name takes a while.
    if (problem == Problem::TooLong && language == QLocale::English)
        return worded(problem, language, limits(length(name), name.size()));
    return worded(problem, language, limits(0, 0));
}

QString NameRules::hiddenReason(const QString &name, qsizetype index, QLocale::Language language)
{
    const HiddenCharacter hidden = hiddenCharacterAt(name, index);
    return worded(hidden.problem, language, {hidden.code, QString::number(hidden.position)});
}

#ifndef NAMERULES_H
#define NAMERULES_H

#include <QLocale>
#include <QString>

// What a name may hold. No printout or label shows more than a few lines of a name, so a
// longer one only slows every fitting down; and a carriage return would not survive the
// names list, which reads a line break as LF alone. A control character or a direction
// override shows as nothing, or turns the text beside it around, so a name holding one
// could read as another name or another address.
namespace NameRules {

// Characters as the user counts them: "é" written with a combining accent is one.
constexpr qsizetype maxLength = 1000;
// The text's UTF-16 code units, which composed characters (emoji, accents) take several of:
// without this bound, one character could hold any length of text.
constexpr qsizetype maxCodeUnits = 4 * maxLength;

enum class Problem { None, TooLong, CarriageReturn, ControlCharacter, DirectionOverride };

qsizetype length(const QString &name);
// Whether the user may type, paste or set this name. Names stored or loaded before are kept
// as they are, whatever they hold, so that nothing is lost.
Problem check(const QString &name);

// A character that hides itself or turns the text around (no line break): the first one's
// index in name, or -1.
qsizetype firstHiddenCharacter(const QString &name);
bool isHiddenCharacter(QChar character);

// A hidden character as the user is told of it: "U+202E", where it stands as the user counts
// characters, from 1, and why a name may not take it.
struct HiddenCharacter
{
    QString code;
    qsizetype position = 0;
    Problem problem = Problem::ControlCharacter;
};
HiddenCharacter hiddenCharacterAt(const QString &name, qsizetype index);
// "U+001B".
QString codeOf(QChar character);

// Why a name is refused: German for the window, English for the command line.
QString reason(const QString &name, Problem problem, QLocale::Language language);
// Why a name is refused for the hidden character at index.
QString hiddenReason(const QString &name, qsizetype index, QLocale::Language language);
// The limit in words, for the window, where no name is at hand.
QString germanLimit();

} // namespace NameRules

#endif

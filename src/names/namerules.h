#ifndef NAMERULES_H
#define NAMERULES_H

#include <QString>

// What a name may hold. No printout or label shows more than a few lines of a name, so a
// longer one only slows every fitting down; and a carriage return would not survive the
// names list, which reads a line break as LF alone.
namespace NameRules {

// Characters as the user counts them: "é" written with a combining accent is one.
constexpr qsizetype maxLength = 1000;
// The text's UTF-16 code units, which composed characters (emoji, accents) take several of:
// without this bound, one character could hold any length of text.
constexpr qsizetype maxCodeUnits = 4 * maxLength;

enum class Problem { None, TooLong, CarriageReturn };

qsizetype length(const QString &name);
Problem check(const QString &name);

// Why a name is refused, for the command line.
QString englishReason(const QString &name, Problem problem);
// The limit in words, for the window.
QString germanLimit();

} // namespace NameRules

#endif

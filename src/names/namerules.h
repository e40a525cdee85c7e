#ifndef NAMERULES_H
#define NAMERULES_H

#include <QString>

// What a name may hold. No printout or label shows more than a few lines of a name, so a
// longer one only slows every fitting down; and a carriage return would not survive the
// names list, which reads a line break as LF alone.
namespace NameRules {

// Characters as the user counts them: "é" written with a combining accent is one.
constexpr qsizetype maxLength = 1000;

enum class Problem { None, TooLong, CarriageReturn };

qsizetype length(const QString &name);
Problem check(const QString &name);

// Why a name is refused, for the command line.
QString englishReason(const QString &name, Problem problem);

} // namespace NameRules

#endif

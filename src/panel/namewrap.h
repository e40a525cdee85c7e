#ifndef NAMEWRAP_H
#define NAMEWRAP_H

#include <QString>

#include <functional>

// Width of one character, in the units of the limit.
using CharWidth = std::function<int(QChar)>;

// Advance widths of Arial 8 pt at screen resolution, the metrics the table's wrapping uses.
CharWidth arialScreenWidth();

// Inserts line breaks so that each line of the name stays below maxWidth: at the
// line's last space, or with "-" before the character that overflows. Never
// breaks before a line's first character, so it ends for every input.
QString wrapName(QString name, int maxWidth = 80);
QString wrapName(QString name, int maxWidth, const CharWidth &charWidth);

#endif

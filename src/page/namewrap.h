#ifndef NAMEWRAP_H
#define NAMEWRAP_H

#include <QString>
#include <QStringList>

#include <functional>
#include <limits>
#include <optional>

// Width of one character, in the units of the limit.
using CharWidth = std::function<int(QChar)>;

// Names in the table are set in Arial of this size and wrapped below this width,
// in pixels at screen resolution.
constexpr int namePointSize = 8;
constexpr int nameWrapWidth = 80;

// Advance widths of Arial namePointSize at screen resolution, the metrics the table's wrapping uses.
CharWidth arialScreenWidth();

// A name as it prints: tabs and other control characters as one space each, so none moves
// the text out of its cell; line breaks stay line breaks; soft hyphens left out, the
// dictionary finds the places to break.
QString printedText(QString name);

// Inserts line breaks so that each line of the name stays below maxWidth: at the
// line's last space, or with "-" before the character that overflows. Never
// breaks before a line's first character, so it ends for every input.
QString wrapName(const QString &name, int maxWidth, const CharWidth &charWidth);
// The lines wrapName makes of a name, the first maxLines of them.
QStringList wrapNameLines(QStringView name, int maxWidth, const CharWidth &charWidth,
                          qsizetype maxLines = std::numeric_limits<qsizetype>::max());

// How a word too long for a line is broken: not at all, or after a "-", "–" or "/" it has, else
// with "-" added at the last place the German hyphenation dictionary offers where one fits,
// or where the width runs out; with at least three letters on either side where the line allows.
enum class WordBreaks { None, Hyphenated, AtWidth };

// The lines of one line of a name set smaller to fit, each below maxWidth: broken at spaces,
// and a word too long for a line as breaks says; nothing where a word would have to be
// broken and breaks is None. Stops once maxLines lines are complete: those are the first
// lines of the whole wrap, which may break a word later.
std::optional<QStringList> wrapWords(QStringView line, int maxWidth, const CharWidth &charWidth, WordBreaks breaks,
                                     qsizetype maxLines = std::numeric_limits<qsizetype>::max());

#endif

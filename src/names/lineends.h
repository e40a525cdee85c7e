#ifndef LINEENDS_H
#define LINEENDS_H

#include <QStringView>

// Lines end in LF, CR LF or CR alone, as one system or another writes them; the names keep
// a line break as LF alone.
namespace LineEnds {

constexpr QChar lineFeed = u'\n';
constexpr QChar carriageReturn = u'\r';

// How many characters the line end at `at` takes: 0 where there is none.
inline qsizetype lengthAt(QStringView text, qsizetype at)
{
    if (at < text.size() && text.at(at) == lineFeed)
        return 1;
    if (at < text.size() && text.at(at) == carriageReturn)
        return at + 1 < text.size() && text.at(at + 1) == lineFeed ? 2 : 1;
    return 0;
}

} // namespace LineEnds

#endif

#include "page/fontmetricscache.h"

#include "page/pageunits.h"
#include "page/tablefont.h"

#include <QtMath>

FontMetricsCache::FontMetricsCache()
    : pdf(&nowhere)
{
    pdf.setResolution(PageUnits::perInch);
}

FontMetricsCache::Size &FontMetricsCache::size(qreal pointSize) const
{
    auto found = sizes.find(pointSize);
    if (found == sizes.end()) {
        const QFont font = tableFont(pointSize);
        found = sizes.emplace(pointSize, Size{font, QFontMetricsF(font, &pdf), {}}).first;
    }
    return found->second;
}

int FontMetricsCache::charWidth(Size &size, QChar c)
{
    auto width = size.widths.constFind(c.unicode());
    if (width == size.widths.cend())
        width = size.widths.insert(c.unicode(), c == u'\n' ? 0 : qCeil(size.metrics.horizontalAdvance(c)));
    return *width;
}

CharWidth FontMetricsCache::charWidths(qreal pointSize) const
{
    Size &found = size(pointSize); // a map's entries stay where they are
    return [&found](QChar c) { return charWidth(found, c); };
}

qint64 FontMetricsCache::widthBound(qreal pointSize, QStringView line) const
{
    Size &found = size(pointSize);
    qint64 bound = 0;
    for (const QChar c : line)
        bound += charWidth(found, c);
    return bound;
}

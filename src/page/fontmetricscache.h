#ifndef FONTMETRICSCACHE_H
#define FONTMETRICSCACHE_H

#include "page/namewrap.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPdfWriter>
#include <QStringView>

#include <map>

// The table's font measured as the PDF measures it, in page units: one font and its metrics
// a size, looked up once, with the rounded-up widths wrapping asks for again and again.
class FontMetricsCache
{
public:
    FontMetricsCache();

    // One object a size, so painting does not look the font up again.
    const QFont &font(qreal pointSize) const { return size(pointSize).font; }
    const QFontMetricsF &metrics(qreal pointSize) const { return size(pointSize).metrics; }
    // Each character's advance rounded up to whole units; none for a line break.
    CharWidth charWidths(qreal pointSize) const;
    // Those widths summed over a line, never less than the line's advance.
    qint64 widthBound(qreal pointSize, QStringView line) const;
    // What the fonts are measured on; nothing is ever painted on it.
    const QPaintDevice *device() const { return &pdf; }

private:
    struct Size
    {
        QFont font;
        QFontMetricsF metrics;
        QHash<char16_t, int> widths;
    };

    Size &size(qreal pointSize) const;
    static int charWidth(Size &size, QChar c);

    QBuffer nowhere;
    QPdfWriter pdf;
    mutable std::map<qreal, Size> sizes;
};

#endif

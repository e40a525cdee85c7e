#ifndef NAMEFITTER_H
#define NAMEFITTER_H

#include "page/namewrap.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <QPdfWriter>
#include <QRectF>
#include <QStringList>

#include <map>

// How a name is printed in its cell: the lines, their size and spacing, from the baseline
// of the first line at the cell's name position.
struct FittedName
{
    enum Fit { Fits, Smaller, Shortened };

    Fit fit = Fits;
    qreal pointSize = namePointSize;
    qreal lineSpacing = 0;
    QStringList lines;
    // Characters no font on this machine has, which would print as empty boxes.
    QString missing;
};

// Keeps every name inside its cell's space: from the name's start to the next column's
// caption (the column line for D, the page's edge for H), between the separators above
// and below. A name that fits as wrapped for the screen is printed just so; one that does
// not is set smaller, in steps down to 5 pt, wrapped at its space's width, and if it does
// not fit even then, cut after its last line that fits, which ends with "…". Measured
// with the PDF's own font metrics.
class NameFitter
{
public:
    static constexpr qreal smallestPointSize = 5;
    static constexpr qreal pointSizeStep = 0.5;

    explicit NameFitter(int pageWidth);

    // The space a cell's name may fill, relative to the table's origin.
    QRectF space(int column, int row) const;

    FittedName fit(const QString &name, int column, int row) const;
    // The same for an address among the 96; nothing to print for any other.
    FittedName fit(const QString &name, const QString &address) const;

    // A name fitted into any space, as a cell's name is: from 8 pt down, then shortened; but a
    // name that would fit whole at 5 pt only has a word broken where that fits it larger. The
    // space is relative to the first line's start on its baseline.
    FittedName fitInto(const QString &name, const QRectF &space) const;
    qreal ascent(qreal pointSize) const;

    // The characters of a name that neither the table's font nor any font Qt falls back to
    // on this machine has, each once.
    QString missingCharacters(const QString &name) const;

    // The table's font of a size; one object a size, so painting does not look the font up again.
    const QFont &font(qreal pointSize) const { return sizeMetrics(pointSize).font; }

private:
    // Metrics of one size, with the rounded-up widths wrapping asks for again and again.
    struct SizeMetrics
    {
        QFont font;
        QFontMetricsF metrics;
        QHash<char16_t, int> widths;
    };

    SizeMetrics &sizeMetrics(qreal pointSize) const;
    const QFontMetricsF &metrics(qreal pointSize) const { return sizeMetrics(pointSize).metrics; }
    static int charWidth(SizeMetrics &size, QChar c);
    bool fitsWidth(const QString &line, qreal pointSize, qreal width) const;
    bool fits(const QStringList &lines, qreal pointSize, qreal lineSpacing, const QRectF &space) const;
    // How many lines fit between the space's top and bottom, whatever their widths.
    int linesWithin(qreal pointSize, qreal lineSpacing, const QRectF &space) const;
    // Nothing where breakWords is false and a word would have to be broken. The first
    // maxLines lines only, as wrapWords gives them.
    std::optional<QStringList> wrapToWidth(QStringView name, qreal pointSize, qreal width, bool breakWords,
                                           qsizetype maxLines) const;
    QStringList shortened(QStringList lines, const QRectF &space) const;
    FittedName fitPrinted(const QString &name, int column, int row) const;
    FittedName fitAtMost(const QString &name, const QRectF &space, qreal largest, bool breakBeforeSmallest) const;
    bool prints(char32_t c) const;

    int pageWidth;
    CharWidth screenCharWidth;
    QBuffer nowhere;
    QPdfWriter device; // measures only; nothing is ever painted on it
    mutable std::map<qreal, SizeMetrics> metricsBySize;
    mutable QHash<char32_t, bool> printable;
};

#endif

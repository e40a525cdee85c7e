#ifndef NAMEFITTER_H
#define NAMEFITTER_H

#include "page/fittedname.h"
#include "page/fontcoverage.h"
#include "page/fontmetricscache.h"
#include "page/namewrap.h"

#include <QPointF>
#include <QRectF>
#include <QStringList>

#include <optional>

class QPainter;

// Keeps a name inside a space. One that does not fit is set smaller, in steps down to 5 pt,
// wrapped at its space's width, and if it does not fit even then, cut after its last line
// that fits, which ends with "…". Measured with the PDF's own font metrics. Spaces are
// relative to the first line's start on its baseline.
class NameFitter
{
public:
    static constexpr qreal smallestPointSize = 5;
    static constexpr qreal pointSizeStep = 0.5;
    // Between the baselines at namePointSize, in page units; less in proportion when smaller.
    static constexpr int nameLineSpacing = 140;

    NameFitter();

    // A name that fits as wrapped for the screen is printed just so; one that does not is set
    // smaller from a step below namePointSize.
    FittedName fitAsWrapped(const QString &name, const QRectF &space) const;
    // From namePointSize down, then shortened; but a name that would fit whole at 5 pt only has
    // a word broken where that fits it larger.
    FittedName fitInto(const QString &name, const QRectF &space) const;
    qreal ascent(qreal pointSize) const;

    // The lines of a fitted name, in the font they were measured in, the first on this baseline.
    void paint(QPainter &painter, const FittedName &fitted, QPointF firstBaseline) const;

private:
    bool fitsWidth(const QString &line, qreal pointSize, qreal width) const;
    bool fits(const QStringList &lines, qreal pointSize, qreal lineSpacing, const QRectF &space) const;
    // How many lines fit between the space's top and bottom, whatever their widths.
    int linesWithin(qreal pointSize, qreal lineSpacing, const QRectF &space) const;
    // The first maxLines lines only, as wrapWords gives them.
    std::optional<QStringList> wrapToWidth(QStringView name, qreal pointSize, qreal width, WordBreaks breaks,
                                           qsizetype maxLines) const;
    QStringList shortened(QStringList lines, const QRectF &space) const;
    FittedName fitPrinted(const QString &name, const QRectF &space) const;
    // What becomes of a name that fits whole at 5 pt only: kept so, or broken where that fits it larger.
    enum class AtSmallest { KeepWhole, BreakLarger };
    FittedName fitAtMost(const QString &name, const QRectF &space, qreal largest, AtSmallest atSmallest) const;

    FontMetricsCache sizes;
    FontCoverage coverage;
    CharWidth screenCharWidth;
};

#endif

#ifndef LABELPARTS_H
#define LABELPARTS_H

#include "page/pageunits.h"
#include "page/switchpainter.h"

#include <QList>
#include <QRectF>

#include <optional>

// The parts a label's layout places: its texts' sizes and its switches at a size, in units
// of 1/1200 inch.
namespace LabelParts {

// A text as the layout places it (LabelLayout::Text).
struct Text
{
    QRectF box;
    qreal pointSize = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
};

constexpr qreal smallestPoints = 5;     // no text smaller
constexpr qreal smallestDrawingMm = 12; // no drawing narrower

constexpr qreal mm = PageUnits::perMillimetre;
constexpr qreal markSizes[] = {6, 5.5, smallestPoints};
constexpr qreal markGapMm = 0.5; // between the marks and the drawing
constexpr qreal largestDrawingMm = 40;
constexpr qreal smallestPen = 3;

// The texts' sizes at 1 pt, measured once: the fonts' sizes scale them.
struct Metrics
{
    qreal ascent = 0;
    qreal height = 0; // ascent and descent, regular
    qreal boldHeight = 0;
    qreal address = 0; // the widest of the 96, bold
    qreal module = 0;  // the wider module line
    qreal mark = 0;    // the widest row mark
    qreal digit = 0;   // the widest switch number
};

const Metrics &metrics();

// The switches with the rows marked on their left and the switches numbered below.
struct Switches
{
    SwitchGeometry geometry;
    QRectF drawing; // the frame and its pen
    QList<Text> marks;
    QList<Text> numbers;
    QRectF bounds;
};

// At the top left of a space, as large as it allows, the marks as large as the drawing's rows
// allow and in a column at least markColumn wide; nothing where the drawing would be below 12 mm.
std::optional<Switches> switchesIn(const QRectF &space, qreal markColumn);

// The least width switchesIn needs for the smallest drawing.
qreal smallestSwitchesWidth(qreal markColumn);

} // namespace LabelParts

#endif

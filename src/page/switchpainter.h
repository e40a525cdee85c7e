#ifndef SWITCHPAINTER_H
#define SWITCHPAINTER_H

#include "address/addresscodec.h"

#include <QPointF>
#include <QRectF>

#include <optional>

class QPainter;

// How a drawing of the five switches looks: one value each for the panel, the table's
// cells and the labels, in the painter's units.
struct SwitchGeometry
{
    QRectF frame; // rounded, filled white
    qreal framePen = 0;
    QPointF knobOrigin; // the top left of switch 1's knob in the top row
    qreal knobPitch = 0;
    qreal rowPitch = 0;
    qreal knobSize = 0;
    qreal knobPen = 0;       // an outline around each knob; 0 for none
    qreal firstKnobPen = 0;  // switch 1's outline
    qreal dividerPen = 0;    // lines between the switches over the frame's height; 0 for none
    qreal dividerOffset = 0; // a divider's distance left of its switch's knobs
    qreal rowLinePen = 0;    // dotted lines between the rows; 0 for none
    qreal rowLineLength = 0;

    // The same drawing at another size; pens keep at least minimumPen.
    SwitchGeometry scaled(qreal factor, qreal minimumPen) const;
};

// Paints the switches of one setting, and tells where a knob is drawn and which one a point hits.
namespace SwitchPainter {

void paint(QPainter &painter, const SwitchGeometry &geometry, const DippSetting &dipp);

// The knob of a switch (0-4) in a display row (0 top, 1 middle, 2 bottom).
QRectF knobRect(const SwitchGeometry &geometry, int index, int row);

struct KnobPlace
{
    int index = 0;
    int row = 0; // display row: 0 top, 1 middle, 2 bottom
};

// The switch and row whose knobRect holds the point; the right and bottom edges belong to
// the next pixel, as they do where the knob is filled.
std::optional<KnobPlace> knobAt(const SwitchGeometry &geometry, QPointF point);

} // namespace SwitchPainter

#endif

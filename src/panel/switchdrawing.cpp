#include "panel/switchdrawing.h"

#include "page/switchpainter.h"

#include <QPainter>

namespace {

// Frame, pen, knob origin, pitches, knob size; no outlines or dividers; dotted row lines.
const SwitchGeometry geometry{QRectF(1, 1, 127, 80), 3, QPointF(5, 15), 25, 20, 20, 0, 0, 0, 0, 1, 127};
constexpr int rowCount = AddressCodec::positionCount;
constexpr int focusMargin = 2;

// Inclusive bands and the value each one gives.
struct Band
{
    int first;
    int last;
    int value;
};

constexpr Band switchBands[] = {{24, 46, 1}, {49, 71, 2}, {74, 96, 3}, {99, 127, 4}};
constexpr int fallbackSwitch = 0;
constexpr Band positionBands[] = {{29, 31, 0}, {49, 67, 2}, {69, 71, 1}};

template<std::size_t N>
std::optional<int> bandValue(const Band (&bands)[N], int v)
{
    for (const Band &band : bands) {
        if (v >= band.first && v <= band.last)
            return band.value;
    }
    return std::nullopt;
}

} // namespace

namespace SwitchDrawing {

void paint(QPainter &painter, const DippSetting &dipp)
{
    SwitchPainter::paint(painter, geometry, dipp);
}

void paintFocus(QPainter &painter, int index, const QColor &color)
{
    painter.save();
    painter.setPen(QPen(color, 1.0));
    painter.setBrush(Qt::NoBrush);
    const QRectF column =
        SwitchPainter::knobRect(geometry, index, 0).united(SwitchPainter::knobRect(geometry, index, rowCount - 1));
    painter.drawRect(column.adjusted(-focusMargin, -focusMargin, focusMargin, focusMargin));
    painter.restore();
}

std::optional<SwitchPainter::KnobPlace> knobPlaceAt(QPoint pos)
{
    return SwitchPainter::knobAt(geometry, pos);
}

int switchAt(int x)
{
    return bandValue(switchBands, x).value_or(fallbackSwitch);
}

std::optional<int> positionAt(int y)
{
    return bandValue(positionBands, y);
}

} // namespace SwitchDrawing

#include "panel/panelswitches.h"

#include "page/switchpainter.h"

#include <QPainter>

namespace {

// Dotted row lines; no outlines or dividers.
// Each number stands beside the name of what it sets.
// NOLINTBEGIN(readability-magic-numbers)
constexpr SwitchGeometry geometry = [] {
    SwitchGeometry panel;
    panel.frame = QRectF(1, 1, 127, 80);
    panel.framePen = 3;
    panel.knobOrigin = QPointF(5, 15);
    panel.knobPitch = 25;
    panel.rowPitch = 20;
    panel.knobSize = 20;
    panel.rowLinePen = 1;
    panel.rowLineLength = 127;
    return panel;
}();
// NOLINTEND(readability-magic-numbers)
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

namespace PanelSwitches {

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

} // namespace PanelSwitches

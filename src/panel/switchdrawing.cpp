#include "panel/switchdrawing.h"

#include "page/pens.h"

#include <QPainter>

namespace {

constexpr QRectF frameRect(1.0, 1.0, 127.0, 80.0);
constexpr qreal framePenWidth = 3.0;
constexpr QPointF switchOrigin(5.0, 5.0);
constexpr qreal rowLineLength = 127;
constexpr qreal upperRowLineY = 30;
constexpr qreal lowerRowLineY = 50;
constexpr int knobPitch = 25;
constexpr int knobTop = 10;
constexpr int knobSize = 20;
constexpr int rowCount = 3;
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
    painter.save();
    painter.setPen(blackPen(framePenWidth));
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    painter.drawRoundedRect(frameRect, frameRoundnessX, frameRoundnessY, Qt::RelativeSize);

    painter.translate(switchOrigin);
    painter.setPen(blackPen(1.0, Qt::DotLine));
    painter.drawLine(QLineF(0, upperRowLineY, rowLineLength, upperRowLineY));
    painter.drawLine(QLineF(0, lowerRowLineY, rowLineLength, lowerRowLineY));

    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(Qt::black, Qt::SolidPattern));
    for (int i = 0; i < AddressCodec::switchCount; ++i) {
        const int row = AddressCodec::displayRow(dipp[i]);
        painter.drawRect(QRect(knobPitch * i, knobTop + knobSize * row, knobSize, knobSize));
    }
    painter.restore();
}

void paintFocus(QPainter &painter, int index, const QColor &color)
{
    painter.save();
    painter.translate(switchOrigin);
    painter.setPen(QPen(color, 1.0));
    painter.setBrush(Qt::NoBrush);
    const QRect column(knobPitch * index, knobTop, knobSize, knobSize * rowCount);
    painter.drawRect(column.adjusted(-focusMargin, -focusMargin, focusMargin, focusMargin));
    painter.restore();
}

std::optional<KnobPlace> knobPlaceAt(QPoint pos)
{
    const QPoint p = pos - switchOrigin.toPoint() - QPoint(0, knobTop);
    if (p.x() < 0 || p.y() < 0 || p.x() % knobPitch >= knobSize)
        return std::nullopt;
    const int index = p.x() / knobPitch;
    const int row = p.y() / knobSize;
    if (index >= AddressCodec::switchCount || row >= rowCount)
        return std::nullopt;
    return KnobPlace{index, row};
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

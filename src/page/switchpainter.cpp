#include "page/switchpainter.h"

#include "page/pens.h"

#include <QPainter>

#include <algorithm>

SwitchGeometry SwitchGeometry::scaled(qreal factor, qreal minimumPen) const
{
    const auto pen = [factor, minimumPen](qreal width) { return width > 0 ? std::max(width * factor, minimumPen) : 0; };
    SwitchGeometry s;
    s.frame = QRectF(frame.topLeft() * factor, frame.size() * factor);
    s.framePen = pen(framePen);
    s.knobOrigin = knobOrigin * factor;
    s.knobPitch = knobPitch * factor;
    s.rowPitch = rowPitch * factor;
    s.knobSize = knobSize * factor;
    s.knobPen = pen(knobPen);
    s.firstKnobPen = pen(firstKnobPen);
    s.dividerPen = pen(dividerPen);
    s.dividerOffset = dividerOffset * factor;
    s.rowLinePen = pen(rowLinePen);
    s.rowLineLength = rowLineLength * factor;
    return s;
}

namespace SwitchPainter {

QRectF knobRect(const SwitchGeometry &geometry, int index, int row)
{
    return {geometry.knobOrigin + QPointF(geometry.knobPitch * index, geometry.rowPitch * row),
            QSizeF(geometry.knobSize, geometry.knobSize)};
}

std::optional<KnobPlace> knobAt(const SwitchGeometry &geometry, QPointF point)
{
    for (int index = 0; index < AddressCodec::switchCount; ++index) {
        for (int row = 0; row < AddressCodec::positionCount; ++row) {
            const QRectF knob = knobRect(geometry, index, row);
            if (point.x() >= knob.left() && point.x() < knob.right() && point.y() >= knob.top()
                && point.y() < knob.bottom())
                return KnobPlace{index, row};
        }
    }
    return std::nullopt;
}

void paint(QPainter &painter, const SwitchGeometry &geometry, const DippSetting &dipp)
{
    painter.save();
    painter.setPen(blackPen(geometry.framePen));
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    painter.drawRoundedRect(geometry.frame, frameRoundnessX, frameRoundnessY, Qt::RelativeSize);

    if (geometry.rowLinePen > 0) {
        painter.setPen(blackPen(geometry.rowLinePen, Qt::DotLine));
        for (int row = 1; row < AddressCodec::positionCount; ++row) {
            const QPointF start = knobRect(geometry, 0, row).topLeft();
            painter.drawLine(QLineF(start, start + QPointF(geometry.rowLineLength, 0)));
        }
    }
    painter.setBrush(QBrush(Qt::black, Qt::SolidPattern));
    for (int k = 0; k < AddressCodec::switchCount; ++k) {
        const qreal pen = k == 0 ? geometry.firstKnobPen : geometry.knobPen;
        painter.setPen(pen > 0 ? blackPen(pen) : QPen(Qt::NoPen));
        painter.drawRect(knobRect(geometry, k, AddressCodec::displayRow(dipp[k])));
        if (k > 0 && geometry.dividerPen > 0) {
            const qreal x = knobRect(geometry, k, 0).left() - geometry.dividerOffset;
            painter.setPen(blackPen(geometry.dividerPen));
            painter.drawLine(QLineF(x, geometry.frame.top(), x, geometry.frame.bottom()));
        }
    }
    painter.restore();
}

} // namespace SwitchPainter

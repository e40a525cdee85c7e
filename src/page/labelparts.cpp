#include "page/labelparts.h"

#include "address/addresscodec.h"
#include "address/modulename.h"
#include "address/namedaddresses.h"
#include "page/namewrap.h"
#include "page/tablefont.h"
#include "page/tablegeometry.h"

#include <QFontMetricsF>
#include <QImage>

#include <algorithm>

namespace LabelParts {

namespace {

constexpr qreal metricsSlack = 1.02;   // the PDF's own metrics may differ from these a little
constexpr qreal roundingMargin = 1e-6; // where the parts meet the space's edges

qreal markColumnWidth(qreal points, qreal markColumn)
{
    return std::max(metrics().mark * points + markGapMm * mm, markColumn);
}

} // namespace

const Metrics &metrics()
{
    static const Metrics measured = [] {
        constexpr qreal reference = 100;
        constexpr qreal metresPerInch = 0.0254;
        QImage device(1, 1, QImage::Format_Mono);
        device.setDotsPerMeterX(qRound(PageUnits::perInch / metresPerInch));
        device.setDotsPerMeterY(device.dotsPerMeterX());
        const QFontMetricsF regular(tableFont(reference), &device);
        const QFontMetricsF bold(tableFont(reference, QFont::Bold), &device);
        const auto widest = [](const QFontMetricsF &font, const QStringList &texts) {
            qreal most = 0;
            for (const QString &text : texts)
                most = std::max(most, font.horizontalAdvance(text));
            return most * metricsSlack / reference;
        };
        QStringList marks;
        for (const QChar mark : AddressCodec::rowLabels)
            marks.append(mark);
        QStringList digits;
        for (int k = 1; k <= AddressCodec::switchCount; ++k)
            digits.append(QString::number(k));
        return Metrics{regular.ascent() * metricsSlack / reference,
                       (regular.ascent() + regular.descent()) * metricsSlack / reference,
                       (bold.ascent() + bold.descent()) * metricsSlack / reference,
                       widest(bold, NamedAddresses::keysInTableOrder()),
                       widest(regular, {ModuleName::control, ModuleName::extension}),
                       widest(regular, marks),
                       widest(regular, digits)};
    }();
    return measured;
}

qreal smallestSwitchesWidth(qreal markColumn)
{
    const SwitchGeometry &table = TableGeometry::cellSwitches;
    return smallestDrawingMm * mm * (1 + table.framePen / table.frame.width())
           + markColumnWidth(markSizes[0], markColumn) + smallestPen;
}

std::optional<Switches> switchesIn(const QRectF &space, qreal markColumn)
{
    const Metrics &m = metrics();
    const SwitchGeometry &table = TableGeometry::cellSwitches;
    const qreal knobCentre = table.knobOrigin.y() - table.frame.top() + table.knobSize / 2;
    for (const qreal points : markSizes) {
        const qreal markHeight = m.height * points;
        const qreal column = markColumnWidth(points, markColumn);
        // The pen's half, max(framePen / 2 * scale, smallestPen / 2), at most their sum; the top
        // mark may reach above the frame.
        const qreal scale = std::min({
            largestDrawingMm * mm / table.frame.width(),
            (space.width() - column - smallestPen) / (table.frame.width() + table.framePen),
            (space.height() - markHeight - smallestPen) / (table.frame.height() + table.framePen),
            (space.height() - 1.5 * markHeight - smallestPen / 2)
                / (table.frame.height() - knobCentre + table.framePen / 2),
        });
        if (table.frame.width() * scale < smallestDrawingMm * mm || table.rowPitch * scale < markHeight
            || table.knobPitch * scale < m.digit * points)
            continue;
        Switches s{table.scaled(scale, smallestPen), {}, {}, {}, {}};
        const qreal pen = s.geometry.framePen / 2;
        const QPointF frameAt(space.left() + column + pen,
                              space.top() + std::max(pen, markHeight / 2 - knobCentre * scale));
        const QPointF offset = frameAt - s.geometry.frame.topLeft();
        s.geometry.frame.translate(offset);
        s.geometry.knobOrigin += offset;
        s.drawing = s.geometry.frame.adjusted(-pen, -pen, pen, pen);
        s.bounds = s.drawing;
        for (int row = 0; row < AddressCodec::positionCount; ++row) {
            const qreal y = SwitchPainter::knobRect(s.geometry, 0, row).center().y();
            s.marks.append(
                {QRectF(space.left(), y - markHeight / 2, m.mark * points, markHeight), points, Qt::AlignHCenter});
            s.bounds |= s.marks.last().box;
        }
        for (int k = 0; k < AddressCodec::switchCount; ++k) {
            const qreal x = SwitchPainter::knobRect(s.geometry, k, 0).center().x();
            s.numbers.append({QRectF(x - m.digit * points / 2, s.drawing.bottom(), m.digit * points, markHeight),
                              points, Qt::AlignHCenter});
            s.bounds |= s.numbers.last().box;
        }
        if (space.adjusted(-roundingMargin, -roundingMargin, roundingMargin, roundingMargin).contains(s.bounds))
            return s;
    }
    return std::nullopt;
}

} // namespace LabelParts

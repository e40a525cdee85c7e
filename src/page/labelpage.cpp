#include "page/labelpage.h"

#include "page/pens.h"
#include "page/switchpainter.h"
#include "page/tablegeometry.h"
#include "page/tablepdf.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr qreal millimetresPerInch = 25.4;
constexpr qreal unitsPerPoint = TableGeometry::resolution / 72.0;
constexpr qreal lineHeight = 1.2; // of a font's size

constexpr qreal paddingMm = 2.5;
constexpr qreal gapMm = 1.5;
constexpr qreal addressPointsPerMm = 0.5; // of the label's height
constexpr qreal smallestAddressPoints = 12;
constexpr qreal largestAddressPoints = 22;
constexpr qreal modulePoints = 6.5;
constexpr qreal markPoints = 6;
constexpr qreal rowLabelsMm = 2.5;
constexpr qreal switchesShareOfWidth = 0.45; // the rest is the name's
constexpr qreal smallestPen = 3;

// The table's switches, their frame moved to the origin.
SwitchGeometry switchesAtOrigin()
{
    SwitchGeometry geometry = TableGeometry::cellSwitches;
    const QPointF offset = geometry.frame.topLeft();
    geometry.frame.translate(-offset);
    geometry.knobOrigin -= offset;
    return geometry;
}

} // namespace

LabelPage::LabelPage(Names names)
    : names(std::move(names))
    , fitter(TablePdf::pageWidth())
{
}

qreal LabelPage::unitsPerMillimetre()
{
    return TableGeometry::resolution / millimetresPerInch;
}

TablePage::Fits LabelPage::paint(QPainter &painter, const QList<LabelSheet::Placed> &labels) const
{
    TablePage::Fits fits;
    const qreal mm = unitsPerMillimetre();
    for (const LabelSheet::Placed &label : labels) {
        const QRectF rect(label.rect.topLeft() * mm, label.rect.size() * mm);
        if (const std::optional<FittedName> fitted = paintLabel(painter, rect, label.key))
            fits.append({label.key, *fitted});
    }
    return fits;
}

std::optional<FittedName> LabelPage::paintLabel(QPainter &painter, const QRectF &rect, const QString &key) const
{
    const qreal mm = unitsPerMillimetre();
    const QRectF inner = rect.adjusted(paddingMm * mm, paddingMm * mm, -paddingMm * mm, -paddingMm * mm);
    painter.save();
    painter.setPen(blackPen(1));

    // The address, number first, and the module beside it.
    const qreal addressPoints =
        std::clamp(rect.height() / mm * addressPointsPerMm, smallestAddressPoints, largestAddressPoints);
    const QRectF addressRow(inner.topLeft(), QSizeF(inner.width(), addressPoints * lineHeight * unitsPerPoint));
    painter.setFont(tableFont(addressPoints, QFont::Bold));
    painter.drawText(addressRow, Qt::AlignLeft | Qt::AlignVCenter, key);
    const bool control = NamedAddresses::rowOf(key).value_or(0) < NamedAddresses::count / 2;
    painter.setFont(tableFont(modulePoints));
    painter.drawText(addressRow, Qt::AlignRight | Qt::AlignBottom, control ? controlModule : extensionModule);

    // The switches, the rows labelled on their left, the switches numbered below them.
    const qreal top = addressRow.bottom() + gapMm * mm;
    const qreal markHeight = markPoints * lineHeight * unitsPerPoint;
    const SwitchGeometry table = switchesAtOrigin();
    const qreal widest = inner.width() * switchesShareOfWidth - rowLabelsMm * mm;
    const qreal scale =
        std::min((inner.bottom() - top - markHeight) / table.frame.height(), widest / table.frame.width());
    const SwitchGeometry switches = table.scaled(scale, smallestPen);
    const QPointF origin(inner.left() + rowLabelsMm * mm, top);
    painter.setFont(tableFont(markPoints));
    for (int row = 0; row < AddressCodec::positionCount; ++row) {
        const QRectF knob = SwitchPainter::knobRect(switches, 0, row).translated(origin);
        painter.drawText(QRectF(inner.left(), knob.top(), rowLabelsMm * mm, knob.height()), Qt::AlignCenter,
                         QString(AddressCodec::rowLabels.at(row)));
    }
    for (int k = 0; k < AddressCodec::switchCount; ++k) {
        const QRectF knob = SwitchPainter::knobRect(switches, k, 0).translated(origin);
        painter.drawText(QRectF(knob.left(), origin.y() + switches.frame.bottom(), knob.width(), markHeight),
                         Qt::AlignCenter, QString::number(k + 1));
    }
    painter.translate(origin);
    SwitchPainter::paint(painter, switches, AddressCodec::decode(key));
    painter.translate(-origin);

    // The name, right of the switches.
    std::optional<FittedName> fitted;
    if (const auto name = names.constFind(key); name != names.cend()) {
        const qreal left = origin.x() + switches.frame.right() + gapMm * mm;
        const qreal ascent = fitter.ascent(namePointSize);
        fitted = fitter.fitInto(*name, QRectF(0, -ascent, inner.right() - left, inner.bottom() - top));
        painter.setFont(fitter.font(fitted->pointSize));
        for (int n = 0; n < fitted->lines.size(); ++n)
            painter.drawText(QPointF(left, top + ascent + fitted->lineSpacing * n), fitted->lines.at(n));
    }
    painter.restore();
    return fitted;
}

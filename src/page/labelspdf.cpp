#include "page/labelspdf.h"

#include "page/labelpage.h"
#include "page/pageunits.h"
#include "page/pens.h"

#include <QPainter>

#include <memory>

namespace {

// The test sheet's lines: thin, and a cross a little larger than a millimetre rule's marks.
constexpr qreal outlinePenMm = 0.2;
constexpr qreal crossArmMm = 3;

} // namespace

namespace LabelsPdf {

PageDocument document(const Names &names, const LabelFormat &format, const QStringList &keys, int start)
{
    const QList<LabelSheet::Placed> placed = LabelSheet::place(format, keys, start);
    const int sheets = placed.isEmpty() ? 1 : placed.last().sheet + 1;
    // One painter for every sheet, so the fitter measures each size once.
    const auto labels = std::make_shared<const LabelPage>(names);
    return {pageLayout, QStringLiteral("Etiketten"), sheets, [labels, placed](QPainter &painter, int sheet) {
                QList<LabelSheet::Placed> onSheet;
                std::copy_if(placed.cbegin(), placed.cend(), std::back_inserter(onSheet),
                             [sheet](const LabelSheet::Placed &label) { return label.sheet == sheet; });
                return labels->paint(painter, onSheet);
            }};
}

PageDocument testSheet(const LabelFormat &format)
{
    return {pageLayout, QStringLiteral("Testblatt"), 1, [format](QPainter &painter, int) {
                const qreal mm = PageUnits::perMillimetre;
                painter.setPen(blackPen(outlinePenMm * mm));
                // Within the label also where it is smaller than the cross.
                const qreal arm = std::min(crossArmMm, std::min(format.label.width(), format.label.height()) / 4) * mm;
                for (int index = 0; index < format.perSheet(); ++index) {
                    const QRectF label = format.labelRect(index);
                    const QPointF centre = label.center() * mm;
                    painter.drawRect(QRectF(label.topLeft() * mm, label.size() * mm));
                    painter.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
                    painter.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
                }
                return NameFits();
            }};
}

QStringList namedKeys(const Names &names)
{
    QStringList keys = NamedAddresses::keysInTableOrder();
    keys.removeIf([&names](const QString &key) { return names.value(key).isEmpty(); });
    return keys;
}

} // namespace LabelsPdf

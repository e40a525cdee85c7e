#include "page/labelspdf.h"

#include "page/labelpage.h"

#include <memory>

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

QStringList namedKeys(const Names &names)
{
    QStringList keys = NamedAddresses::keysInTableOrder();
    keys.removeIf([&names](const QString &key) { return names.value(key).isEmpty(); });
    return keys;
}

} // namespace LabelsPdf

#include "page/tablenamefitter.h"

#include "page/tablegeometry.h"

using namespace TableGeometry;

namespace {

// The module headings end here, above the first row; table coordinates.
constexpr int headingsBottom = moduleHeadingTop + moduleHeadingHeight - tableOrigin.y();

} // namespace

TableNameFitter::TableNameFitter(int pageWidth)
    : pageWidth(pageWidth)
{
}

QRectF TableNameFitter::space(int column, int row) const
{
    const QPoint origin = cellOrigin(column, row);
    qreal right = origin.x() + cellPitchX + captionRect.left(); // the next column's caption
    if (column == columnLineAfter - 1)
        right = columnLineX - columnLinePenWidth / 2;
    else if (column == columnCount - 1)
        right = pageWidth - tableOrigin.x();
    const qreal separatorHalf = captionPenWidth / 2;
    const qreal top = row == 0 ? headingsBottom : origin.y() - separatorOffset + separatorHalf;
    const qreal bottom = origin.y() + cellPitchY - separatorOffset - separatorHalf;
    return QRectF(QPointF(origin.x() + nameBaseline.x(), top), QPointF(right, bottom));
}

FittedName TableNameFitter::fit(const QString &name, int column, int row) const
{
    return fitter.fitAsWrapped(name, space(column, row).translated(-QPointF(cellOrigin(column, row) + nameBaseline)));
}

FittedName TableNameFitter::fit(const QString &name, const QString &address) const
{
    const std::optional<QPoint> cell = cellOf(address);
    return cell ? fit(name, cell->x(), cell->y()) : FittedName{};
}

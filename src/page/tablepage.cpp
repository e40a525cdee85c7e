#include "page/tablepage.h"

#include "address/modulename.h"
#include "page/pens.h"
#include "page/switchpainter.h"
#include "page/tablefont.h"
#include "page/tablegeometry.h"

#include <QMap>
#include <QPainter>

using namespace TableGeometry;

namespace {

constexpr int headingPointSize = 16;
constexpr int moduleHeadingPointSize = 10;
constexpr int captionPointSize = 10;
constexpr int positionMarkPointSize = 5;

constexpr int headingHeight = 400;

constexpr int tableWidth = 13200;
constexpr int columnLineLength = 8167;

} // namespace

TablePage::TablePage(Names names)
    : names(std::move(names))
{
}

NameFits TablePage::paint(QPainter &painter, int pageWidth) const
{
    QMap<int, std::pair<QString, FittedName>> fitsByNamesRow;
    painter.save();
    painter.setPen(blackPen(cellSwitches.framePen));
    painter.setBrush(Qt::NoBrush);
    paintHeadings(painter, pageWidth);
    painter.translate(tableOrigin);
    const TableNameFitter fitter(pageWidth);
    for (int column = 0; column < columnCount; ++column) {
        for (int row = 0; row < rowCount; ++row) {
            if (const auto fit = paintCell(painter, fitter, column, row))
                fitsByNamesRow.insert(namesRowOf(column, row), {keyOf(column, row), *fit});
        }
        if (column == columnLineAfter) {
            painter.setPen(blackPen(columnLinePenWidth));
            painter.drawLine(columnLineX, 0, columnLineX, columnLineLength);
        }
    }
    painter.restore();
    return fitsByNamesRow.values();
}

void TablePage::paintHeadings(QPainter &painter, int pageWidth) const
{
    const int half = pageWidth / 2;
    painter.setFont(tableFont(headingPointSize, QFont::Bold));
    painter.drawText(QRect(0, 0, pageWidth, headingHeight), Qt::AlignHCenter | Qt::AlignVCenter, heading);
    painter.setFont(tableFont(moduleHeadingPointSize));
    painter.drawText(QRect(0, moduleHeadingTop, half, moduleHeadingHeight), Qt::AlignHCenter | Qt::AlignBottom,
                     ModuleName::control);
    painter.drawText(QRect(half, moduleHeadingTop, half, moduleHeadingHeight), Qt::AlignHCenter | Qt::AlignBottom,
                     ModuleName::extension);
}

std::optional<FittedName> TablePage::paintCell(QPainter &painter, const TableNameFitter &fitter, int column,
                                               int row) const
{
    const QString address = captionOf(column, row);
    // The cell's setting comes from the codec, so the panel on screen keeps its own.
    const DippSetting dipp = AddressCodec::decode(address);
    const QPoint origin = cellOrigin(column, row);

    std::optional<FittedName> fit = paintName(painter, fitter, column, row);
    paintCaption(painter, origin, address);

    // Halfway between this row's frames and the row above; every column draws it again.
    if (row > 0) {
        const int y = origin.y() - separatorOffset;
        painter.setPen(blackPen(captionPenWidth));
        painter.drawLine(0, y, tableWidth, y);
    }
    painter.translate(origin);
    SwitchPainter::paint(painter, cellSwitches, dipp);
    painter.translate(-origin);
    return fit;
}

std::optional<FittedName> TablePage::paintName(QPainter &painter, const TableNameFitter &fitter, int column,
                                               int row) const
{
    const auto entry = names.constFind(keyOf(column, row));
    if (entry == names.cend())
        return std::nullopt;
    const FittedName fitted = fitter.fit(*entry, column, row);
    fitter.paint(painter, fitted, cellOrigin(column, row) + nameBaseline);
    return fitted;
}

void TablePage::paintCaption(QPainter &painter, QPoint origin, const QString &address)
{
    static constexpr Qt::Alignment rowLabelAlignments[] = {
        Qt::AlignRight | Qt::AlignTop, Qt::AlignRight | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignBottom};
    const QRect rect = captionRect.translated(origin);
    painter.setFont(tableFont(captionPointSize, QFont::Bold));
    painter.setPen(blackPen(captionPenWidth));
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, address);
    painter.setFont(tableFont(positionMarkPointSize));
    for (int row = 0; row < AddressCodec::positionCount; ++row)
        painter.drawText(rect, static_cast<int>(rowLabelAlignments[row]), QString(AddressCodec::rowLabels.at(row)));
}

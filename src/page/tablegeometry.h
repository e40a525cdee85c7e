#ifndef TABLEGEOMETRY_H
#define TABLEGEOMETRY_H

#include "address/namedaddresses.h"
#include "page/pageunits.h"
#include "page/switchpainter.h"

#include <QPoint>
#include <QRect>

#include <optional>

// Where the printed table puts things, in device units at 1200 per inch. The cells are
// placed relative to tableOrigin; everything in a cell relative to the cell's origin.
namespace TableGeometry {

// Columns are the letters A-H, rows the numbers from 12 at the top down to 1.
constexpr int columnCount = NamedAddresses::letterCount;
constexpr int rowCount = NamedAddresses::numberCount;

constexpr int moduleHeadingTop = 400;
constexpr int moduleHeadingHeight = 600;
constexpr QPoint tableOrigin(100, 1200);

constexpr int cellPitchX = 1650;
constexpr int cellPitchY = 700;
constexpr QRect captionRect(20, 0, 380, 230);
constexpr QPoint nameBaseline(810, 0);

// Separators lie this far above each row but the first, drawn with the caption's pen.
constexpr int separatorOffset = 235;
constexpr qreal captionPenWidth = 6.0;

// A cell's switches: the knobs outlined, the first with the caption's heavier pen, and
// dividers between the switches; no row lines.
// Each number stands beside the name of what it sets.
// NOLINTBEGIN(readability-magic-numbers)
inline constexpr SwitchGeometry cellSwitches = [] {
    SwitchGeometry cell;
    cell.frame = QRectF(420, 0, 370, 230);
    cell.framePen = 7.5;
    cell.knobOrigin = QPointF(440, 10);
    cell.knobPitch = 70;
    cell.rowPitch = 70;
    cell.knobSize = 50;
    cell.knobPen = 3;
    cell.firstKnobPen = captionPenWidth;
    cell.dividerPen = 1;
    cell.dividerOffset = 10;
    return cell;
}();
// NOLINTEND(readability-magic-numbers)

// The heavy line between the modules, at the left edge of column E.
constexpr int columnLineAfter = 4;
constexpr int columnLineX = 6600;
constexpr qreal columnLinePenWidth = 25.0;

inline QPoint cellOrigin(int column, int row)
{
    return QPoint(cellPitchX * column, cellPitchY * row);
}

// The names table's row of a cell (1A ... 12A, 1B ... 12H).
constexpr int namesRowOf(int column, int row)
{
    return column * rowCount + rowCount - 1 - row;
}

// The names' key of a cell, number first: column 0, row 0 is "12A".
inline QString keyOf(int column, int row)
{
    return NamedAddresses::keyOfRow(namesRowOf(column, row));
}

// The caption printed in a cell, letter first: column 0, row 0 is "A12".
inline QString captionOf(int column, int row)
{
    return NamedAddresses::letterFirst(column, rowCount - row);
}

// The cell (column, row) of an address among the 96, in either form.
inline std::optional<QPoint> cellOf(const QString &address)
{
    const std::optional<int> namesRow = NamedAddresses::rowOf(address);
    if (!namesRow)
        return std::nullopt;
    return QPoint(*namesRow / rowCount, rowCount - 1 - *namesRow % rowCount);
}

} // namespace TableGeometry

#endif

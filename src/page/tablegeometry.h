#ifndef TABLEGEOMETRY_H
#define TABLEGEOMETRY_H

#include <QPoint>
#include <QRect>

// Where the printed table puts things, in device units at 1200 per inch. The cells are
// placed relative to tableOrigin; everything in a cell relative to the cell's origin.
namespace TableGeometry {

constexpr int moduleHeadingTop = 400;
constexpr int moduleHeadingHeight = 600;
constexpr QPoint tableOrigin(100, 1200);

constexpr int cellPitchX = 1650;
constexpr int cellPitchY = 700;
constexpr QRect captionRect(20, 0, 380, 230);
constexpr QPoint nameBaseline(810, 0);
constexpr int nameLineSpacing = 140;

// Separators lie this far above each row but the first, drawn with the caption's pen.
constexpr int separatorOffset = 235;
constexpr qreal captionPenWidth = 6.0;

// The heavy line between the modules, at the left edge of column E.
constexpr int columnLineAfter = 4;
constexpr int columnLineX = 6600;
constexpr qreal columnLinePenWidth = 25.0;

inline QPoint cellOrigin(int column, int row)
{
    return QPoint(cellPitchX * column, cellPitchY * row);
}

} // namespace TableGeometry

#endif

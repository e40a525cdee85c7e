#ifndef TABLEPAGE_H
#define TABLEPAGE_H

#include "address/addresscodec.h"
#include "address/namedaddresses.h"
#include "page/fittedname.h"
#include "page/tablenamefitter.h"

#include <QPoint>
#include <QString>

class QPainter;

// The printed address table: a heading, the two module headings and 96 cells
// (letters A-H across, numbers 12 down to 1), each with its name and switches.
// Coordinates are device units at 1200 per inch; the page origin is the
// painter's origin. It reads the names and never changes them.
class TablePage
{
public:
    inline static const QString heading = QStringLiteral("Dippschaltereinstellung der Adressen für VESK 2-D BUS");

    explicit TablePage(Names names);

    // How each name printed fits its cell, by address, in the names table's order (1A ... 12H).
    NameFits paint(QPainter &painter, int pageWidth) const;

private:
    void paintHeadings(QPainter &painter, int pageWidth) const;
    // The name's fit, if the cell has a name.
    std::optional<FittedName> paintCell(QPainter &painter, const TableNameFitter &fitter, int column, int row) const;
    std::optional<FittedName> paintName(QPainter &painter, const TableNameFitter &fitter, int column, int row) const;
    static void paintCaption(QPainter &painter, QPoint origin, const QString &address);

    Names names; // implicitly shared, so copying is cheap
};

#endif

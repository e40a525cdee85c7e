#ifndef NAMESPASTE_H
#define NAMESPASTE_H

#include "address/namedaddresses.h"

#include <QSet>

// A block pasted into the names table as spreadsheets copy cells: lines of cells separated
// by tabs, a cell holding a line break, a tab or a quote written in quotes with inner quotes
// doubled. Two columns, addresses (either form) and names, put each name at its address; any
// other block is a column of names, a line a row the table shows from the current row down.
namespace NamesPaste {

// A line of the block: its number, from 1, and what it holds that is told: the address cell,
// or the name refused.
struct Line
{
    qsizetype number = 0;
    QString text;
};

struct Placed
{
    Names names; // by canonical address, empty names included: those cells are emptied
    bool byAddress = false;
    qsizetype linesWithoutRow = 0; // past the rows shown, or with no address of the table
    Line firstWithoutRow;          // of a column, the number alone
    int lastRow = -1;              // of a column: the last row it could fill, or -1 for none
    bool noRowChosen = false;      // of a column: no row was current to fill from
    qsizetype cellsLeftOut = 0;    // filled cells beside the names
    // Names a name may not be (see NameRules), left out with their rows unchanged.
    qsizetype namesRefused = 0;
    Line firstRefused;
    qsizetype namesHidden = 0; // placed at addresses in hiddenRows
};

// A column fills the rows from firstRow down that are not in hiddenRows; none if firstRow is -1.
// A name that current holds at its address already changes no hidden row.
Placed place(const QString &text, int firstRow, const QSet<int> &hiddenRows = {}, const Names &current = {});

// What was left out and why, and how many names went to hidden rows, in German for the
// window; empty when all was placed in rows shown.
QString describe(const Placed &placed);

} // namespace NamesPaste

#endif

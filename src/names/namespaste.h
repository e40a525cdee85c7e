#ifndef NAMESPASTE_H
#define NAMESPASTE_H

#include "address/namedaddresses.h"

// A block pasted into the names table as spreadsheets copy cells: lines of cells separated
// by tabs, a cell holding a line break, a tab or a quote written in quotes with inner quotes
// doubled. Two columns, addresses (either form) and names, put each name at its address; any
// other block is a column of names, a line a row from the current row down.
namespace NamesPaste {

struct Placed
{
    Names names; // by canonical address, empty names included: those cells are emptied
    bool byAddress = false;
    qsizetype linesWithoutRow = 0; // past the table's end, or with no address of the table
    qsizetype cellsLeftOut = 0;    // filled cells beside the names
    // Names a name may not be (see NameRules), left out with their rows unchanged.
    qsizetype namesTooLong = 0;
};

Placed place(const QString &text, int firstRow);

// What was left out and why, in German for the window; empty when all was placed.
QString describe(const Placed &placed);

} // namespace NamesPaste

#endif

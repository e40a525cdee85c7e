#ifndef NAMESPASTE_H
#define NAMESPASTE_H

#include "address/namedaddresses.h"

// A block pasted into the names table as spreadsheets copy cells: lines of cells separated
// by tabs. Two columns, addresses (either form) and names, put each name at its address; any
// other block is a column of names, a line a row from the current row down.
namespace NamesPaste {

struct Placed
{
    Names names; // by canonical address, empty names included: those cells are emptied
    bool byAddress = false;
    qsizetype linesWithoutRow = 0; // past the table's end, or with no address of the table
    qsizetype cellsLeftOut = 0;    // filled cells beside the names
};

Placed place(const QString &text, int firstRow);

} // namespace NamesPaste

#endif

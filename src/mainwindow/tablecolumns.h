#ifndef TABLECOLUMNS_H
#define TABLECOLUMNS_H

// The columns of the window's names table, as its form has them.
namespace TableColumns {
constexpr int name = 0;
constexpr int address = 1;
} // namespace TableColumns

#endif

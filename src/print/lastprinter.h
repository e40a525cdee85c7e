#ifndef LASTPRINTER_H
#define LASTPRINTER_H

#include <QStringList>

class QPrinter;

// The printer printed on last, the labels or the names table, kept for the next time.
namespace LastPrinter {

// Kept when the printer is a queue, not a file.
void keep(const QPrinter &printer);

// Which of the printers to offer: the system's default, else the one printed on last, else
// the first; -1 when there is none.
qsizetype chosenIn(const QStringList &printers);

} // namespace LastPrinter

#endif

#ifndef PAGEPRINTER_H
#define PAGEPRINTER_H

#include "page/pagedocument.h"

class QPrinter;

// Printing at 100 %: each page where the PDF puts it on the paper, whatever margins the
// printer would keep, so the table and the labels measure the same on paper as in the PDF.
namespace PagePrinter {

// Takes the document's page size and orientation; the printer, copies and range stay the user's.
void prepare(QPrinter &printer, const PageDocument &document);

// Prints onto a prepared printer (or a print preview's).
RenderResult print(QPrinter &printer, const PageDocument &document);

// To a printer known by name, as on the command line; fails if there is none of that name.
RenderResult printTo(const QString &printerName, const PageDocument &document);

} // namespace PagePrinter

#endif

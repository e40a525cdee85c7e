#ifndef PAGEPRINTER_H
#define PAGEPRINTER_H

#include "page/pagedocument.h"
#include "print/printreport.h"

#include <optional>

class QPrinter;

// Printing at 100 %: each page where the PDF puts it on the paper, whatever margins the
// printer would keep, so the table and the labels measure the same on paper as in the PDF.
// On Linux the very PDF the program writes goes to CUPS, which tells what became of the job;
// elsewhere Qt paints on the printer, and the spooler tells no more than that it took the pages.
namespace PagePrinter {

// Takes the document's page size and orientation; the printer, copies and range stay the user's.
void prepare(QPrinter &printer, const PageDocument &document);

// Paints onto a prepared printer (or a print preview's).
RenderResult print(QPrinter &printer, const PageDocument &document);

// To a printer known by name, as on the command line, shifted by the offset given or else by
// the one kept for that printer.
PrintReport printTo(const QString &printerName, const PageDocument &document,
                    std::optional<QPointF> offsetMm = std::nullopt);

// To the printer a print dialog set up, with the dialog's choices (copies, pages, both sides)
// and shifted by the offset kept for it; a file is written exact. A print preview's printer
// is painted on, exact as well, and that is reported as not printed.
PrintReport submit(QPrinter &printer, const PageDocument &document);

} // namespace PagePrinter

#endif

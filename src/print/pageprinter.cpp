#include "print/pageprinter.h"

#include "page/pageunits.h"
#include "print/printeroffsets.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>

#ifdef VESK_CUPS
#include "print/cupsqueue.h"

#include <QTemporaryDir>
#endif

namespace {

using Outcome = PrintReport::Outcome;

constexpr qreal pointsPerInch = 72;

// A report of pages painted by Qt onto a printer or a file.
PrintReport painted(const RenderResult &pages, Outcome outcome, const QString &where)
{
    PrintReport report = PrintReport::of(pages.ok ? outcome : Outcome::Failed, where, pages.error);
    report.pages = pages;
    return report;
}

#ifdef VESK_CUPS
// Qt keeps the print dialog's CUPS choices (pages per sheet, odd or even pages, the printer's
// own options) as name and value in turn under this print engine property (qcups_p.h).
const auto cupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// The paper and its orientation, and no scaling to the paper's printable area.
CupsQueue::Options pageOptions(const QPageLayout &layout)
{
    CupsQueue::Options options{{"media", layout.pageSize().key().toUtf8()}, {"print-scaling", "none"}};
    if (layout.orientation() == QPageLayout::Landscape)
        options.emplaceBack("landscape", "true");
    return options;
}

// IPP's sides for the dialog's choice, automatic as Qt's own printing makes it.
const char *sides(const QPrinter &printer)
{
    const bool portrait = printer.pageLayout().orientation() == QPageLayout::Portrait;
    switch (printer.duplex()) {
    case QPrinter::DuplexNone:
        break;
    case QPrinter::DuplexAuto:
        return portrait ? "two-sided-long-edge" : "two-sided-short-edge";
    case QPrinter::DuplexLongSide:
        return "two-sided-long-edge";
    case QPrinter::DuplexShortSide:
        return "two-sided-short-edge";
    }
    return "one-sided";
}

CupsQueue::Options dialogOptions(QPrinter &printer)
{
    CupsQueue::Options options = pageOptions(printer.pageLayout());
    options.emplaceBack("copies", QByteArray::number(printer.copyCount()));
    options.emplaceBack("multiple-document-handling", printer.collateCopies() ? "separate-documents-collated-copies"
                                                                              : "separate-documents-uncollated-copies");
    options.emplaceBack("sides", sides(printer));
    // The PDF holds every page; the range chosen is CUPS's to pick.
    if (!printer.pageRanges().isEmpty())
        options.emplaceBack("page-ranges", printer.pageRanges().toString().toUtf8());
    const QStringList chosen = printer.printEngine()->property(cupsOptionsProperty).toStringList();
    for (qsizetype i = 0; i + 1 < chosen.size(); i += 2)
        options.emplaceBack(chosen.at(i).toUtf8(), chosen.at(i + 1).toUtf8());
    return options;
}

// The PDF "Tabelle rendern" or "Etiketten speichern" would write, as one job.
PrintReport submitPdf(const QString &name, const PageDocument &document, const CupsQueue::Options &options)
{
    const QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("job.pdf"));
    const RenderResult pages = folder.isValid() ? document.writePdf(file) : RenderResult::failure(folder.errorString());
    if (!pages.ok)
        return painted(pages, Outcome::Failed, name);
    PrintReport report = CupsQueue::print(name, file, document.title, options);
    report.pages = pages;
    return report;
}
#endif

} // namespace

namespace PagePrinter {

void prepare(QPrinter &printer, const PageDocument &document)
{
    // Fonts are sized for the device's resolution, so the page's own keeps text and lines alike.
    printer.setResolution(PageUnits::perInch);
    printer.setPageLayout(document.layout);
    printer.setFullPage(true);
    printer.setDocName(document.title);
}

RenderResult print(QPrinter &printer, const PageDocument &document)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return RenderResult::failure(QStringLiteral("The printer could not be started."));
    // The printer's own units and margins, from the document's: 1/1200 inch from its paint rectangle.
    const qreal scale = printer.resolution() / static_cast<qreal>(PageUnits::perInch);
    painter.scale(scale, scale);
    const QMarginsF margins = document.layout.marginsPoints() * (PageUnits::perInch / pointsPerInch);
    painter.translate(margins.left(), margins.top());
    const std::optional<NameFits> fits = document.paintPages(painter, printer);
    if (!fits)
        return RenderResult::failure(QStringLiteral("The printer did not take a new page."));
    if (!painter.end())
        return RenderResult::failure(QStringLiteral("The printer did not take the pages."));
    return RenderResult::of(*fits);
}

PrintReport printTo(const QString &printerName, const PageDocument &document, std::optional<QPointF> offsetMm)
{
    const PageDocument shiftedPages = document.shifted(offsetMm.value_or(PrinterOffsets::of(printerName)));
#ifdef VESK_CUPS
    return submitPdf(printerName, shiftedPages, pageOptions(shiftedPages.layout));
#else
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (info.isNull())
        return PrintReport::of(Outcome::NoPrinter, printerName);
    QPrinter printer(info, QPrinter::HighResolution);
    prepare(printer, shiftedPages);
    return painted(print(printer, shiftedPages), Outcome::Sent, printerName);
#endif
}

PrintReport submit(QPrinter &printer, const PageDocument &document)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return painted(print(printer, document), Outcome::Written, printer.outputFileName());
    // A preview paints into pictures of the pages, unshifted: as they land on the paper.
    if (printer.paintEngine() && printer.paintEngine()->type() == QPaintEngine::Picture) {
        PrintReport previewed =
            PrintReport::of(Outcome::Failed, {}, PrintReport::tr("Die Seiten wurden nur angezeigt."));
        previewed.pages = print(printer, document);
        return previewed;
    }
    const PageDocument shiftedPages = document.shifted(PrinterOffsets::of(printer.printerName()));
#ifdef VESK_CUPS
    return submitPdf(printer.printerName(), shiftedPages, dialogOptions(printer));
#else
    return painted(print(printer, shiftedPages), Outcome::Sent, printer.printerName());
#endif
}

} // namespace PagePrinter

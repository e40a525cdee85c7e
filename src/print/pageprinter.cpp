#include "print/pageprinter.h"

#include "page/tablegeometry.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
constexpr qreal pointsPerInch = 72;
} // namespace

namespace PagePrinter {

void prepare(QPrinter &printer, const PageDocument &document)
{
    // Fonts are sized for the device's resolution, so the page's own keeps text and lines alike.
    printer.setResolution(TableGeometry::resolution);
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
    const qreal scale = printer.resolution() / static_cast<qreal>(TableGeometry::resolution);
    painter.scale(scale, scale);
    const QMarginsF margins = document.layout.marginsPoints() * (TableGeometry::resolution / pointsPerInch);
    painter.translate(margins.left(), margins.top());
    const std::optional<TablePage::Fits> fits = document.paintPages(painter, printer);
    if (!fits)
        return RenderResult::failure(QStringLiteral("The printer did not take a new page."));
    if (!painter.end())
        return RenderResult::failure(QStringLiteral("The printer did not take the pages."));
    return RenderResult::of(*fits);
}

RenderResult printTo(const QString &printerName, const PageDocument &document)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (info.isNull())
        return RenderResult::failure(QStringLiteral("there is no printer '%1'").arg(printerName));
    QPrinter printer(info, QPrinter::HighResolution);
    prepare(printer, document);
    return print(printer, document);
}

} // namespace PagePrinter

#include "page/pagedocument.h"

#include "address/outputfile.h"
#include "page/tablegeometry.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

RenderResult RenderResult::of(const TablePage::Fits &fits)
{
    RenderResult result{true, {}, {}, {}, {}};
    for (const auto &[key, fitted] : fits) {
        if (fitted.fit == FittedName::Smaller)
            result.smaller.append(key);
        else if (fitted.fit == FittedName::Shortened)
            result.shortened.append(key);
        if (!fitted.missing.isEmpty())
            result.missing.append(key);
    }
    return result;
}

TablePage::Fits PageDocument::fits() const
{
    QBuffer nowhere;
    nowhere.open(QIODevice::WriteOnly);
    QPdfWriter writer(&nowhere);
    writer.setResolution(TableGeometry::resolution);
    writer.setPageLayout(layout);
    QPainter painter(&writer);
    return paintPages(painter, writer).value_or(TablePage::Fits{});
}

std::optional<TablePage::Fits> PageDocument::paintPages(QPainter &painter, QPagedPaintDevice &device) const
{
    TablePage::Fits fits;
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0 && !device.newPage())
            return std::nullopt;
        fits += paintPage(painter, page);
    }
    return fits;
}

RenderResult PageDocument::writePdf(const QString &path) const
{
    // Written whole first, so a file is replaced, or a device written into, only once
    // every page is there.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    std::optional<TablePage::Fits> fits;
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(TableGeometry::resolution);
        writer.setPageLayout(layout);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("VESK Adressen Rechner"));

        QPainter painter;
        if (!painter.begin(&writer))
            return RenderResult::failure(QStringLiteral("The PDF output could not be started."));
        fits = paintPages(painter, writer);
        if (!fits)
            return RenderResult::failure(QStringLiteral("The PDF output did not take a new page."));
        if (!painter.end())
            return RenderResult::failure(pdf.errorString());
    }
    if (const std::optional<QString> failure = OutputFile::write(path, pdf.data()))
        return RenderResult::failure(*failure);
    return RenderResult::of(*fits);
}

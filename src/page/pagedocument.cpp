#include "page/pagedocument.h"

#include "base/outputfile.h"
#include "page/pageunits.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

RenderResult RenderResult::of(const NameFits &fits)
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

NameFits PageDocument::fits() const
{
    QBuffer nowhere;
    nowhere.open(QIODevice::WriteOnly);
    QPdfWriter writer(&nowhere);
    writer.setResolution(PageUnits::perInch);
    writer.setPageLayout(layout);
    QPainter painter(&writer);
    return paintPages(painter, writer).value_or(NameFits{});
}

PageDocument PageDocument::shifted(QPointF offsetMm) const
{
    if (offsetMm.isNull())
        return *this;
    const QPointF by = offsetMm * PageUnits::perMillimetre;
    PageDocument moved = *this;
    moved.paintPage = [by, paint = paintPage](QPainter &painter, int page) {
        painter.save();
        painter.translate(by);
        NameFits fits = paint(painter, page);
        painter.restore();
        return fits;
    };
    return moved;
}

std::optional<NameFits> PageDocument::paintPages(QPainter &painter, QPagedPaintDevice &device) const
{
    NameFits fits;
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
    std::optional<NameFits> fits;
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(PageUnits::perInch);
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

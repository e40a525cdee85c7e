#include "page/tablepdf.h"

#include "page/tablegeometry.h"
#include "page/tablepage.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace TablePdf {

namespace {
Result failure(const QString &error)
{
    return {false, error, {}, {}, {}};
}
} // namespace

int pageWidth()
{
    return pageLayout.paintRectPixels(TableGeometry::resolution).width();
}

QString defaultPath()
{
    return QDir::current().absoluteFilePath(fileName);
}

Result write(const QString &path, const Names &names)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString());

    TablePage::Fits fits;
    {
        QPdfWriter writer(&file);
        writer.setResolution(TableGeometry::resolution);
        writer.setPageLayout(pageLayout);
        writer.setTitle(TablePage::heading);
        writer.setCreator(QStringLiteral("VESK Adressen Rechner"));

        QPainter painter;
        if (!painter.begin(&writer))
            return failure(QStringLiteral("The PDF output could not be started."));
        fits = TablePage(names).paint(painter, pageWidth());
        if (!painter.end())
            return failure(file.errorString());
    }

    if (!file.commit())
        return failure(file.errorString());
    Result written{true, {}, {}, {}, {}};
    for (const auto &[key, fitted] : std::as_const(fits)) {
        if (fitted.fit == FittedName::Smaller)
            written.smaller.append(key);
        else if (fitted.fit == FittedName::Shortened)
            written.shortened.append(key);
        if (!fitted.missing.isEmpty())
            written.missing.append(key);
    }
    return written;
}

} // namespace TablePdf

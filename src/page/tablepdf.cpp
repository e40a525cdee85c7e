#include "page/tablepdf.h"

#include "page/pageunits.h"
#include "page/tablepage.h"

#include <QDir>

namespace TablePdf {

int pageWidth()
{
    return pageLayout.paintRectPixels(PageUnits::perInch).width();
}

QString defaultPath()
{
    return QDir::current().absoluteFilePath(fileName);
}

PageDocument document(const Names &names)
{
    return {pageLayout, TablePage::heading, 1,
            [names](QPainter &painter, int /*page*/) { return TablePage(names).paint(painter, pageWidth()); }};
}

Result write(const QString &path, const Names &names)
{
    return document(names).writePdf(path);
}

} // namespace TablePdf

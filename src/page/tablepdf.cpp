#include "page/tablepdf.h"

#include "page/tablepage.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace TablePdf {

QString defaultPath()
{
    return QDir::current().absoluteFilePath(fileName);
}

Result write(const QString &path, const QHash<QString, QString> &names)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};

    {
        QPdfWriter writer(&file);
        writer.setResolution(TablePage::resolution);
        writer.setPageLayout(pageLayout);
        writer.setTitle(TablePage::heading);
        writer.setCreator(QStringLiteral("VESK Adressen Rechner"));

        QPainter painter;
        if (!painter.begin(&writer))
            return {false, QStringLiteral("The PDF output could not be started.")};
        TablePage(names).paint(painter, writer.width());
        if (!painter.end())
            return {false, file.errorString()};
    }

    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

} // namespace TablePdf

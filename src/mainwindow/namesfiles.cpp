#include "mainwindow/namesfiles.h"

#include "document/namesdocument.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

QString fileFilter()
{
    return NamesFiles::tr("CSV-Dateien (*.csv);;Alle Dateien (*)");
}

} // namespace

NamesFiles::NamesFiles(NamesDocument *document, QWidget *widget)
    : QObject(widget)
    , document(document)
    , widget(widget)
{
}

bool NamesFiles::load(const QString &path)
{
    const bool done =
        succeeded(document->load(path), path, tr("Namen laden"), tr("Die Namensliste %1 wurde nicht geladen.\n\n%2"));
    if (done)
        emit loaded();
    return done;
}

bool NamesFiles::save(const QString &path)
{
    return succeeded(document->saveAs(path), path, tr("Namen speichern"),
                     tr("Die Namensliste %1 wurde nicht gespeichert.\n\n%2"));
}

// True for no error; otherwise the text, with the list's path and the error, goes in a box.
bool NamesFiles::succeeded(const NamesCsv::Error &error, const QString &path, const QString &title,
                           const QString &text) const
{
    if (error.kind == NamesCsv::ErrorKind::None)
        return true;
    QMessageBox::warning(
        widget->window(), title,
        text.arg(QDir::toNativeSeparators(path), NamesCsv::describe(error, NamesCsv::Language::German)));
    return false;
}

void NamesFiles::askLoad()
{
    const QString path = QFileDialog::getOpenFileName(widget->window(), tr("Namen laden"), QString(), fileFilter());
    if (!path.isEmpty())
        load(path);
}

bool NamesFiles::askSave()
{
    QString path = QFileDialog::getSaveFileName(widget->window(), tr("Namen speichern"), QString(), fileFilter());
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    return save(path);
}

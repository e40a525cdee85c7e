#include "mainwindow/namestabletools.h"

#include "names/namescsv.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTableWidget>

namespace {

QString fileFilter()
{
    return NamesTableTools::tr("CSV-Dateien (*.csv);;Alle Dateien (*)");
}

QString reason(const NamesCsv::Error &error)
{
    using NamesCsv::ErrorKind;
    switch (error.kind) {
    case ErrorKind::Unreadable:
        return NamesTableTools::tr("Die Datei kann nicht gelesen werden: %1").arg(error.detail);
    case ErrorKind::NotUtf8:
        return NamesTableTools::tr("Die Datei ist kein Text in UTF-8.");
    case ErrorKind::MissingHeader:
        return NamesTableTools::tr("Die Kopfzeile muss die Spalten „Adresse“ und „Name“ nennen.");
    case ErrorKind::UnterminatedQuote:
        return NamesTableTools::tr("Ein Anführungszeichen wird nicht geschlossen.");
    case ErrorKind::TextAfterQuote:
        return NamesTableTools::tr("Nach dem schließenden Anführungszeichen steht noch Text.");
    case ErrorKind::WrongFieldCount:
        return NamesTableTools::tr("%1 Felder statt 2.").arg(error.detail);
    case ErrorKind::UnknownAddress:
        return NamesTableTools::tr("Die Adresse „%1“ gibt es in der Tabelle nicht (A–H, 1–12).").arg(error.detail);
    case ErrorKind::DuplicateAddress:
        return NamesTableTools::tr("Die Adresse %1 steht zweimal in der Datei.").arg(error.detail);
    case ErrorKind::Unwritable:
        return NamesTableTools::tr("Die Datei kann nicht geschrieben werden: %1").arg(error.detail);
    case ErrorKind::None:
        break;
    }
    return {};
}

QString describe(const NamesCsv::Error &error)
{
    const QString text = reason(error);
    return NamesCsv::hasLine(error.kind) ? NamesTableTools::tr("Zeile %1: %2").arg(error.line).arg(text) : text;
}

} // namespace

NamesTableTools::NamesTableTools(QTableWidget *table, QCheckBox *showTable, QWidget *window)
    : QObject(window)
    , table(table)
    , showTable(showTable)
    , window(window)
{
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table, &QWidget::customContextMenuRequested, this, &NamesTableTools::showContextMenu);
    table->installEventFilter(this);
}

void NamesTableTools::showContextMenu(const QPoint &pos)
{
    QMenu menu(table);
    connect(menu.addAction(tr("Namen laden…")), &QAction::triggered, this, &NamesTableTools::askLoad);
    connect(menu.addAction(tr("Namen speichern…")), &QAction::triggered, this, &NamesTableTools::askSave);
    menu.exec(table->viewport()->mapToGlobal(pos));
}

void NamesTableTools::askLoad()
{
    const QString path = QFileDialog::getOpenFileName(window, tr("Namen laden"), QString(), fileFilter());
    if (!path.isEmpty())
        loadNames(path);
}

void NamesTableTools::askSave()
{
    const QString path = QFileDialog::getSaveFileName(window, tr("Namen speichern"), QString(), fileFilter());
    if (!path.isEmpty())
        saveNames(path);
}

bool NamesTableTools::loadNames(const QString &path)
{
    const NamesCsv::ReadResult result = NamesCsv::readFile(path);
    if (!result.ok()) {
        QMessageBox::warning(window, tr("Namen laden"),
                             tr("Die Namensliste %1 wurde nicht geladen.\n\n%2")
                                 .arg(QDir::toNativeSeparators(path), describe(result.error)));
        return false;
    }
    for (int row = 0; row < table->rowCount(); ++row) {
        const auto entry = result.names.constFind(table->item(row, addressColumn)->text());
        if (entry != result.names.cend())
            setName(row, *entry);
        else
            delete table->takeItem(row, nameColumn);
    }
    showTable->setChecked(true);
    return true;
}

bool NamesTableTools::saveNames(const QString &path)
{
    const NamesCsv::Error error = NamesCsv::writeFile(path, names());
    if (error.kind == NamesCsv::ErrorKind::None)
        return true;
    QMessageBox::warning(
        window, tr("Namen speichern"),
        tr("Die Namensliste %1 wurde nicht gespeichert.\n\n%2").arg(QDir::toNativeSeparators(path), describe(error)));
    return false;
}

void NamesTableTools::pasteNames(const QString &text)
{
    // A clipboard of nothing but line ends and blanks holds no names to paste.
    const int first = table->currentRow();
    if (first < 0 || text.trimmed().isEmpty())
        return;
    QStringList lines = text.split(u'\n');
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast(); // the line end after the last line
    for (int i = 0; i < lines.size() && first + i < table->rowCount(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        // A row copied from a spreadsheet: its first cell is the name.
        setName(first + i, line.section(u'\t', 0, 0));
    }
}

QHash<QString, QString> NamesTableTools::names() const
{
    QHash<QString, QString> names;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem *item = table->item(row, nameColumn);
        if (item != nullptr && !item->text().isEmpty())
            names.insert(table->item(row, addressColumn)->text(), item->text());
    }
    return names;
}

void NamesTableTools::setName(int row, const QString &name)
{
    table->setItem(row, nameColumn, new QTableWidgetItem(name));
}

bool NamesTableTools::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == table && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
        pasteNames(QGuiApplication::clipboard()->text());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

#include "mainwindow/namestable.h"

#include "address/namedaddresses.h"
#include "mainwindow/namedelegate.h"
#include "mainwindow/nameschange.h"
#include "page/tablepage.h"
#include "page/tablepdf.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTableWidget>

namespace {

QString fileFilter()
{
    return NamesTable::tr("CSV-Dateien (*.csv);;Alle Dateien (*)");
}

QString reason(const NamesCsv::Error &error)
{
    using NamesCsv::ErrorKind;
    switch (error.kind) {
    case ErrorKind::Unreadable:
        return NamesTable::tr("Die Datei kann nicht gelesen werden: %1").arg(error.detail);
    case ErrorKind::MissingHeader:
        return NamesTable::tr("Die Kopfzeile muss die Spalten „Adresse“ und „Name“ nennen.");
    case ErrorKind::UnterminatedQuote:
        return NamesTable::tr("Ein Anführungszeichen wird nicht geschlossen.");
    case ErrorKind::TextAfterQuote:
        return NamesTable::tr("Nach dem schließenden Anführungszeichen steht noch Text.");
    case ErrorKind::WrongFieldCount:
        return NamesTable::tr("%1 Felder statt 2.").arg(error.detail);
    case ErrorKind::UnknownAddress:
        return NamesTable::tr("Die Adresse „%1“ gibt es in der Tabelle nicht (A–H, 1–12).").arg(error.detail);
    case ErrorKind::DuplicateAddress:
        return NamesTable::tr("Die Adresse %1 steht zweimal in der Datei.").arg(error.detail);
    case ErrorKind::Unwritable:
        return NamesTable::tr("Die Datei kann nicht geschrieben werden: %1").arg(error.detail);
    case ErrorKind::None:
        break;
    }
    return {};
}

QString describe(const NamesCsv::Error &error)
{
    const QString text = reason(error);
    return NamesCsv::hasLine(error.kind) ? NamesTable::tr("Zeile %1: %2").arg(error.line).arg(text) : text;
}

// How the table marks a name that will not print as typed.
struct FitMark
{
    QColor color;
    QString toolTip;
};

constexpr QRgb smallerColour = 0x9a5b00;   // dark orange
constexpr QRgb shortenedColour = 0xc00000; // dark red

FitMark markOf(FittedName::Fit fit)
{
    switch (fit) {
    case FittedName::Smaller:
        return {QColor(smallerColour), NamesTable::tr("Wird verkleinert gedruckt")};
    case FittedName::Shortened:
        return {QColor(shortenedColour), NamesTable::tr("Wird gekürzt gedruckt: zu lang für das Feld")};
    case FittedName::Fits:
        break;
    }
    return {};
}

Names withoutEmpty(Names names)
{
    names.removeIf([](const auto &entry) { return entry.value().isEmpty(); });
    return names;
}

} // namespace

NamesTable::NamesTable(QTableWidget *table, QCheckBox *showTable, QWidget *window, QString storePath)
    : QObject(window)
    , table(table)
    , showTable(showTable)
    , window(window)
    , fitter(TablePdf::pageWidth())
    , storePath(std::move(storePath))
{
    fillRows();
    restoreStored();

    auto *delegate = new NameDelegate([this](QLineEdit *editor, int row) { markEditor(editor, row); }, table);
    table->setItemDelegateForColumn(nameColumn, delegate);
    connect(delegate, &NameDelegate::leaveRequested, this, &NamesTable::leaveTable);
    connect(delegate, &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget *, QAbstractItemDelegate::EndEditHint hint) {
                if (hint == QAbstractItemDelegate::SubmitModelCache) // Return
                    moveDown();
            });
    connect(table, &QTableWidget::itemChanged, this, &NamesTable::itemEdited);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setSectionResizeMode(nameColumn, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(addressColumn, QHeaderView::ResizeToContents);

    QAction *undoAction = undo.createUndoAction(this, tr("Rückgängig:"));
    undoAction->setShortcuts(QKeySequence::Undo);
    QAction *redoAction = undo.createRedoAction(this, tr("Wiederholen:"));
    redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction *action : {undoAction, redoAction}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        table->addAction(action);
    }
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table, &QWidget::customContextMenuRequested, this, &NamesTable::showContextMenu);
    table->installEventFilter(this);
}

void NamesTable::fillRows()
{
    table->setRowCount(NamedAddresses::count);
    for (int row = 0; row < NamedAddresses::count; ++row) {
        auto *item = new QTableWidgetItem(NamedAddresses::keyOfRow(row));
        item->setFlags(Qt::ItemIsEnabled);
        table->setItem(row, addressColumn, item);
    }
}

void NamesTable::restoreStored()
{
    const NamesStore::LoadResult stored = NamesStore::load(storePath);
    if (stored.ok()) {
        showNames(stored.names);
        return;
    }
    const QString shownPath = QDir::toNativeSeparators(storePath);
    if (stored.setAsidePath.isEmpty()) {
        // Saving now would overwrite the only copy of what the file holds.
        warnLater(tr("Gespeicherte Namen"),
                  tr("Die gespeicherten Namen in %1 konnten nicht gelesen werden.\n%2\n\n"
                     "Die Datei bleibt unverändert; Namen, die Sie jetzt eingeben, werden nicht gesichert.")
                      .arg(shownPath, describe(stored.error)));
        storePath.clear();
        return;
    }
    warnLater(tr("Gespeicherte Namen"),
              tr("Die gespeicherten Namen in %1 konnten nicht gelesen werden.\n%2\n\n"
                 "Die Datei wurde zur Seite gelegt und bleibt erhalten:\n%3\n\nDie Tabelle beginnt leer.")
                  .arg(shownPath, describe(stored.error), QDir::toNativeSeparators(stored.setAsidePath)));
}

void NamesTable::change(const QString &text, const Names &after)
{
    if (after != current)
        undo.push(new NamesChange(text, current, after, [this](const Names &names) { apply(names); }));
}

void NamesTable::apply(const Names &names)
{
    showNames(names);
    store();
}

// Rows named hold an item with the name, marked if it will not print as typed; others none.
void NamesTable::showNames(const Names &names)
{
    applying = true;
    for (int row = 0; row < NamedAddresses::count; ++row) {
        const auto entry = names.constFind(NamedAddresses::keyOfRow(row));
        QTableWidgetItem *item = table->item(row, nameColumn);
        if (entry == names.cend()) {
            delete table->takeItem(row, nameColumn);
            continue;
        }
        if (item == nullptr)
            table->setItem(row, nameColumn, item = new QTableWidgetItem(*entry));
        else
            item->setText(*entry);
        markItem(item);
    }
    applying = false;
    current = names;
}

FittedName::Fit NamesTable::fitOf(int row, const QString &name) const
{
    const QPoint cell = *TablePage::cellOf(NamedAddresses::keyOfRow(row));
    return fitter.fit(name, cell.x(), cell.y()).fit;
}

void NamesTable::markItem(QTableWidgetItem *item) const
{
    const FitMark mark = markOf(fitOf(item->row(), item->text()));
    item->setForeground(mark.color.isValid() ? QBrush(mark.color) : QBrush());
    item->setToolTip(mark.toolTip);
}

void NamesTable::markEditor(QLineEdit *editor, int row) const
{
    const FitMark mark = markOf(fitOf(row, editor->text()));
    QPalette palette = table->palette();
    if (mark.color.isValid())
        palette.setColor(QPalette::Text, mark.color);
    editor->setPalette(palette);
    editor->setToolTip(mark.toolTip);
}

void NamesTable::store()
{
    if (storePath.isEmpty())
        return;
    const NamesCsv::Error error = NamesStore::save(storePath, current);
    if (error.kind == NamesCsv::ErrorKind::None) {
        storeFailureShown = false;
        return;
    }
    if (storeFailureShown)
        return; // once, not at every keystroke
    storeFailureShown = true;
    warnLater(tr("Namen sichern"),
              tr("Die Namen konnten nicht in %1 gesichert werden.\n%2\n\n"
                 "Sie bleiben im Fenster; sichern Sie sie mit „Namen speichern…“, bevor Sie es schließen.")
                  .arg(QDir::toNativeSeparators(storePath), describe(error)));
}

void NamesTable::itemEdited(QTableWidgetItem *item)
{
    if (applying || item->column() != nameColumn)
        return;
    Names after = current;
    after.insert(NamedAddresses::keyOfRow(item->row()), item->text());
    change(tr("Name ändern"), after);
}

bool NamesTable::loadNames(const QString &path)
{
    const NamesCsv::ReadResult result = NamesCsv::readFile(path);
    if (!result.ok()) {
        QMessageBox::warning(window, tr("Namen laden"),
                             tr("Die Namensliste %1 wurde nicht geladen.\n\n%2")
                                 .arg(QDir::toNativeSeparators(path), describe(result.error)));
        return false;
    }
    change(tr("Namen laden"), result.names);
    showTable->setChecked(true);
    return true;
}

bool NamesTable::saveNames(const QString &path)
{
    const NamesCsv::Error error = NamesCsv::writeFile(path, withoutEmpty(current));
    if (error.kind == NamesCsv::ErrorKind::None)
        return true;
    QMessageBox::warning(
        window, tr("Namen speichern"),
        tr("Die Namensliste %1 wurde nicht gespeichert.\n\n%2").arg(QDir::toNativeSeparators(path), describe(error)));
    return false;
}

void NamesTable::pasteNames(const QString &text)
{
    // A clipboard of nothing but line ends and blanks holds no names to paste.
    const int first = table->currentRow();
    if (first < 0 || text.trimmed().isEmpty())
        return;
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast(); // the line end after the last line
    Names after = current;
    const int pasted = std::min<int>(static_cast<int>(lines.size()), NamedAddresses::count - first);
    for (int i = 0; i < pasted; ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        // A row copied from a spreadsheet: its first cell is the name.
        after.insert(NamedAddresses::keyOfRow(first + i), line.section(u'\t', 0, 0));
    }
    change(tr("Einfügen"), after);
    if (pasted < lines.size()) {
        QMessageBox::information(window, tr("Einfügen"),
                                 tr("Die Tabelle endet bei %1: %2 der eingefügten Zeilen fanden keinen Platz "
                                    "und wurden nicht eingefügt.")
                                     .arg(NamedAddresses::keyOfRow(NamedAddresses::count - 1))
                                     .arg(lines.size() - pasted));
    }
}

void NamesTable::clearNames()
{
    change(tr("Namen leeren"), {});
}

QList<int> NamesTable::selectedRows() const
{
    QList<int> rows;
    for (const QTableWidgetItem *item : table->selectedItems())
        rows.append(item->row());
    if (rows.isEmpty() && table->currentRow() >= 0)
        rows.append(table->currentRow());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void NamesTable::clearSelectedNames()
{
    Names after = current;
    for (const int row : selectedRows())
        after.remove(NamedAddresses::keyOfRow(row));
    change(tr("Namen löschen"), after);
}

QString NamesTable::selectedNames() const
{
    QStringList lines;
    for (const int row : selectedRows())
        lines.append(current.value(NamedAddresses::keyOfRow(row)));
    return lines.join(u'\n');
}

void NamesTable::moveDown()
{
    const int next = table->currentRow() + 1;
    if (next < NamedAddresses::count)
        table->setCurrentCell(next, nameColumn);
}

void NamesTable::leaveTable(bool forward)
{
    // Without tab navigation the table hands Tab on to the window's focus chain.
    QCoreApplication::postEvent(table, new QKeyEvent(QEvent::KeyPress, forward ? Qt::Key_Tab : Qt::Key_Backtab,
                                                     forward ? Qt::NoModifier : Qt::ShiftModifier));
}

bool NamesTable::eventFilter(QObject *watched, QEvent *event)
{
    // Keys that an open editor passes on are not the table's.
    const QWidget *focus = QApplication::focusWidget();
    const bool editing = focus != nullptr && focus != table && table->isAncestorOf(focus);
    if (watched != table || event->type() != QEvent::KeyPress || editing)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->matches(QKeySequence::Paste))
        pasteNames(QApplication::clipboard()->text());
    else if (key->matches(QKeySequence::Copy))
        QApplication::clipboard()->setText(selectedNames());
    else if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace)
        clearSelectedNames();
    else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        moveDown();
    else
        return QObject::eventFilter(watched, event);
    return true;
}

void NamesTable::showContextMenu(const QPoint &pos)
{
    QMenu menu(table);
    connect(menu.addAction(tr("Namen laden…")), &QAction::triggered, this, &NamesTable::askLoad);
    connect(menu.addAction(tr("Namen speichern…")), &QAction::triggered, this, &NamesTable::askSave);
    connect(menu.addAction(tr("Namen leeren")), &QAction::triggered, this, &NamesTable::clearNames);
    menu.addSeparator();
    menu.addActions(table->actions());
    menu.exec(table->viewport()->mapToGlobal(pos));
}

void NamesTable::askLoad()
{
    const QString path = QFileDialog::getOpenFileName(window, tr("Namen laden"), QString(), fileFilter());
    if (!path.isEmpty())
        loadNames(path);
}

void NamesTable::askSave()
{
    QString path = QFileDialog::getSaveFileName(window, tr("Namen speichern"), QString(), fileFilter());
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    saveNames(path);
}

// Shown from the event loop: a box inside an editor's commit or the window's construction
// would run its loop in the middle of them.
void NamesTable::warnLater(const QString &title, const QString &text)
{
    QMetaObject::invokeMethod(
        this, [this, title, text] { QMessageBox::warning(window, title, text); }, Qt::QueuedConnection);
}

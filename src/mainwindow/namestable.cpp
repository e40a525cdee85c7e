#include "mainwindow/namestable.h"

#include "address/namedaddresses.h"
#include "document/namesdocument.h"
#include "mainwindow/namedelegate.h"
#include "mainwindow/namessearch.h"
#include "page/tablepdf.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>

namespace {

QString fileFilter()
{
    return NamesTable::tr("CSV-Dateien (*.csv);;Alle Dateien (*)");
}

QString describe(const NamesCsv::Error &error)
{
    return NamesCsv::describe(error, NamesCsv::Language::German);
}

// How the table marks a name that will not print as typed.
struct FitMark
{
    QColor color;
    QString toolTip;
};

constexpr QRgb smallerColour = 0x9a5b00;   // dark orange
constexpr QRgb shortenedColour = 0xc00000; // dark red

FitMark markOf(const FittedName &fitted)
{
    if (!fitted.missing.isEmpty())
        return {QColor(shortenedColour), NamesTable::tr("Zeichen fehlen in der Schrift: %1").arg(fitted.missing)};
    switch (fitted.fit) {
    case FittedName::Smaller:
        return {QColor(smallerColour), NamesTable::tr("Wird verkleinert gedruckt")};
    case FittedName::Shortened:
        return {QColor(shortenedColour), NamesTable::tr("Wird gekürzt gedruckt: zu lang für das Feld")};
    case FittedName::Fits:
        break;
    }
    return {};
}

// A report held back looks again this often whether it may be shown.
constexpr std::chrono::milliseconds reportRetry{100};

// Shown once its window is visible and no modal widget is open: never over a question the user
// is answering, nor on its own after the window closed.
void showWhenFree(QMessageBox *report, std::chrono::milliseconds delay)
{
    QTimer::singleShot(delay, report, [report] {
        if (report->parentWidget()->window()->isVisible() && QApplication::activeModalWidget() == nullptr)
            report->show();
        else
            showWhenFree(report, reportRetry);
    });
}

} // namespace

NamesTable::NamesTable(QTableWidget *table, NamesDocument *document)
    : QObject(table)
    , table(table)
    , document(document)
    , fitter(TablePdf::pageWidth())
{
    fillRows();
    setUpEditing();
    connect(document, &NamesDocument::namesChanged, this, &NamesTable::showNames);
    connect(&document->store(), &SharedStore::failed, this, &NamesTable::reportStoreFailure);
    connect(&document->store(), &SharedStore::setAside, this, [this](const NamesStore::LoadResult &found) {
        reportDamagedStore(found, tr("Die Namen dieses Fensters wurden neu gesichert."));
    });
    showNames(document->names());
}

void NamesTable::fillRows()
{
    table->setRowCount(NamedAddresses::count);
    for (int row = 0; row < NamedAddresses::count; ++row) {
        auto *item = new QTableWidgetItem(NamedAddresses::keyOfRow(row));
        item->setFlags(Qt::ItemIsEnabled);
        table->setItem(row, addressColumn, item);
    }
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setSectionResizeMode(nameColumn, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(addressColumn, QHeaderView::ResizeToContents);
}

void NamesTable::setUpEditing()
{
    auto *delegate = new NameDelegate(table);
    table->setItemDelegateForColumn(nameColumn, delegate);
    connect(delegate, &NameDelegate::editorTextChanged, this, &NamesTable::markEditor);
    connect(delegate, &NameDelegate::leaveRequested, this, &NamesTable::leaveTable);
    connect(delegate, &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget *, QAbstractItemDelegate::EndEditHint hint) {
                if (hint == QAbstractItemDelegate::SubmitModelCache) // Return
                    moveDown();
            });
    connect(table, &QTableWidget::itemChanged, this, &NamesTable::itemEdited);
    table->setTabKeyNavigation(false);

    QUndoStack *undo = document->undoStack();
    QAction *undoAction = undo->createUndoAction(this, tr("Rückgängig:"));
    undoAction->setShortcuts(QKeySequence::Undo);
    QAction *redoAction = undo->createRedoAction(this, tr("Wiederholen:"));
    redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction *action : {undoAction, redoAction}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        table->addAction(action);
    }
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table, &QWidget::customContextMenuRequested, this, &NamesTable::showContextMenu);
    table->installEventFilter(this);
}

// Rows named hold an item with the name, marked if it will not print as typed; others none.
void NamesTable::showNames(const Names &names)
{
    const QSignalBlocker notEdited(table);
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
}

FittedName NamesTable::fitOf(int row, const QString &name) const
{
    return fitter.fit(name, NamedAddresses::keyOfRow(row));
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

void NamesTable::itemEdited(QTableWidgetItem *item)
{
    if (item->column() == nameColumn)
        document->setName(NamedAddresses::keyOfRow(item->row()), item->text());
}

bool NamesTable::loadNames(const QString &path)
{
    const NamesCsv::Error error = document->load(path);
    if (error.kind == NamesCsv::ErrorKind::None) {
        emit loaded();
        return true;
    }
    QMessageBox::warning(
        table->window(), tr("Namen laden"),
        tr("Die Namensliste %1 wurde nicht geladen.\n\n%2").arg(QDir::toNativeSeparators(path), describe(error)));
    return false;
}

bool NamesTable::saveNames(const QString &path)
{
    const NamesCsv::Error error = document->saveAs(path);
    if (error.kind == NamesCsv::ErrorKind::None)
        return true;
    QMessageBox::warning(
        table->window(), tr("Namen speichern"),
        tr("Die Namensliste %1 wurde nicht gespeichert.\n\n%2").arg(QDir::toNativeSeparators(path), describe(error)));
    return false;
}

void NamesTable::paste()
{
    const QString left = NamesPaste::describe(document->paste(table->currentRow(), QApplication::clipboard()->text()));
    if (!left.isEmpty())
        QMessageBox::information(table->window(), tr("Einfügen"), left);
}

// The selected rows' addresses, top down, or the current row's.
QStringList NamesTable::selectedKeys() const
{
    QList<int> rows;
    for (const QTableWidgetItem *item : table->selectedItems())
        rows.append(item->row());
    if (rows.isEmpty() && table->currentRow() >= 0)
        rows.append(table->currentRow());
    std::sort(rows.begin(), rows.end());
    QStringList keys;
    for (const int row : std::as_const(rows))
        keys.append(NamedAddresses::keyOfRow(row));
    return keys;
}

void NamesTable::moveDown()
{
    if (const int next = NamesSearch::shownRowAfter(table, table->currentRow()); next >= 0)
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
    if (key->matches(QKeySequence::Paste)) {
        paste();
    } else if (key->matches(QKeySequence::Copy)) {
        QStringList lines;
        for (const QString &address : selectedKeys())
            lines.append(document->names().value(address));
        QApplication::clipboard()->setText(lines.join(u'\n'));
    } else if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace) {
        document->remove(selectedKeys());
    } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        moveDown();
    } else {
        return QObject::eventFilter(watched, event);
    }
    return true;
}

void NamesTable::showContextMenu(const QPoint &pos)
{
    QMenu menu(table);
    connect(menu.addAction(tr("Namen laden…")), &QAction::triggered, this, &NamesTable::askLoad);
    connect(menu.addAction(tr("Namen speichern…")), &QAction::triggered, this, &NamesTable::askSave);
    connect(menu.addAction(tr("Namen leeren")), &QAction::triggered, document, &NamesDocument::clear);
    menu.addSeparator();
    menu.addActions(table->actions());
    menu.exec(table->viewport()->mapToGlobal(pos));
}

void NamesTable::askLoad()
{
    const QString path = QFileDialog::getOpenFileName(table->window(), tr("Namen laden"), QString(), fileFilter());
    if (!path.isEmpty())
        loadNames(path);
}

bool NamesTable::askSave()
{
    QString path = QFileDialog::getSaveFileName(table->window(), tr("Namen speichern"), QString(), fileFilter());
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    return saveNames(path);
}

void NamesTable::commitEditor()
{
    if (QWidget *editor = table->indexWidget(table->currentIndex()))
        emit table->itemDelegateForColumn(nameColumn)->commitData(editor);
}

void NamesTable::reportRestore(const NamesStore::LoadResult &stored)
{
    if (stored.error.kind != NamesCsv::ErrorKind::Unreadable) {
        reportDamagedStore(stored, tr("Die Tabelle beginnt leer."));
        return;
    }
    warnLater(tr("Gespeicherte Namen"),
              tr("Die gespeicherten Namen in %1 lassen sich gerade nicht lesen.\n%2\n\n"
                 "Die Datei bleibt, wo sie ist; ihre Namen erscheinen, sobald sie sich lesen lässt. "
                 "Namen, die Sie eingeben, kommen zu ihnen hinzu.")
                  .arg(QDir::toNativeSeparators(document->store().file()), describe(stored.error)));
}

// The window keeps its names; the damaged file is never overwritten.
void NamesTable::reportDamagedStore(const NamesStore::LoadResult &stored, const QString &outcome)
{
    if (stored.ok())
        return;
    const QString storePath = QDir::toNativeSeparators(document->store().file());
    if (stored.setAsidePath.isEmpty()) {
        warnLater(tr("Gespeicherte Namen"),
                  tr("Die gespeicherten Namen in %1 konnten nicht gelesen werden.\n%2\n\n"
                     "Die Datei bleibt unverändert; Namen, die Sie jetzt eingeben, werden nicht gesichert.")
                      .arg(storePath, describe(stored.error)));
        return;
    }
    warnLater(tr("Gespeicherte Namen"),
              tr("Die gespeicherten Namen in %1 konnten nicht gelesen werden.\n%2\n\n"
                 "Die Datei wurde zur Seite gelegt und bleibt erhalten:\n%3\n\n%4")
                  .arg(storePath, describe(stored.error), QDir::toNativeSeparators(stored.setAsidePath), outcome));
}

void NamesTable::reportStoreFailure(const NamesCsv::Error &error)
{
    warnLater(tr("Namen sichern"),
              tr("Die Namen konnten nicht in %1 gesichert werden.\n%2\n\n"
                 "Sie bleiben im Fenster und werden gesichert, sobald es wieder geht; bis dahin zeigt "
                 "das Fenster, wie viele Namen warten.")
                  .arg(QDir::toNativeSeparators(document->store().file()), describe(error)));
}

void NamesTable::warnLater(const QString &title, const QString &text)
{
    showReport(table->window(), QMessageBox::Warning, title, text);
}

void NamesTable::showReport(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                            const QString &details)
{
    auto *report = new QMessageBox(icon, title, text, QMessageBox::Ok, parent);
    report->setInformativeText(details);
    report->setAttribute(Qt::WA_DeleteOnClose);
    report->setModal(true);
    // Never at once: a box inside an editor's commit or the window's construction would come
    // in the middle of them.
    showWhenFree(report, std::chrono::milliseconds::zero());
}

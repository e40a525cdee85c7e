#include "mainwindow/namestable.h"

#include "document/namesdocument.h"
#include "mainwindow/namedelegate.h"
#include "mainwindow/namesfiles.h"
#include "mainwindow/namessearch.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QTableWidget>

NamesTable::NamesTable(QTableWidget *table, NamesDocument *document)
    : QObject(table)
    , table(table)
    , document(document)
    , namesFiles(new NamesFiles(document, table))
    , clipboard(document, table)
{
    fillRows();
    setUpEditing();
    connect(document, &NamesDocument::namesChanged, this, &NamesTable::showNames);
    showNames(document->names());
}

void NamesTable::fillRows()
{
    table->setRowCount(NamedAddresses::count);
    for (int row = 0; row < NamedAddresses::count; ++row) {
        auto *item = new QTableWidgetItem(NamedAddresses::keyOfRow(row));
        item->setFlags(Qt::ItemIsEnabled);
        table->setItem(row, addressColumn, item);
        // Unseen, but what a screen reader calls the row by, as it would otherwise by its number.
        table->setVerticalHeaderItem(row, new QTableWidgetItem(item->text()));
    }
    table->verticalHeader()->setVisible(false);
    table->setAccessibleName(tr("Namen"));
    table->horizontalHeader()->setSectionResizeMode(nameColumn, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(addressColumn, QHeaderView::ResizeToContents);
}

void NamesTable::setUpEditing()
{
    auto *delegate = new NameDelegate(table);
    table->setItemDelegateForColumn(nameColumn, delegate);
    connect(delegate, &NameDelegate::editorTextChanged, this,
            [this](QLineEdit *editor, int row) { marks.mark(editor, row, table->palette()); });
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
        marks.mark(item);
    }
}

void NamesTable::itemEdited(QTableWidgetItem *item)
{
    if (item->column() == nameColumn)
        document->setName(NamedAddresses::keyOfRow(item->row()), item->text());
}

QStringList NamesTable::selectedKeys() const
{
    QList<int> rows;
    for (const QTableWidgetItem *item : table->selectedItems())
        rows.append(item->row());
    // The search may hide the current row, as when a click into the table's empty space gave it the focus.
    if (rows.isEmpty() && table->currentRow() >= 0 && !table->isRowHidden(table->currentRow()))
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
        clipboard.paste(table->currentRow());
    } else if (key->matches(QKeySequence::Copy)) {
        clipboard.copy(selectedKeys());
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
    connect(menu.addAction(tr("Namen laden…")), &QAction::triggered, namesFiles, &NamesFiles::askLoad);
    connect(menu.addAction(tr("Namen speichern…")), &QAction::triggered, namesFiles, &NamesFiles::askSave);
    connect(menu.addAction(tr("Namen leeren")), &QAction::triggered, document, &NamesDocument::clear);
    menu.addSeparator();
    menu.addActions(table->actions());
    menu.exec(table->viewport()->mapToGlobal(pos));
}

void NamesTable::commitEditor()
{
    if (QWidget *editor = table->indexWidget(table->currentIndex()))
        emit table->itemDelegateForColumn(nameColumn)->commitData(editor);
}

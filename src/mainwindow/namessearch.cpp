#include "mainwindow/namessearch.h"

#include "address/namedaddresses.h"
#include "mainwindow/tablecolumns.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>

NamesSearch::NamesSearch(QLineEdit *field, QTableWidget *table)
    : QObject(field)
    , field(field)
    , table(table)
    , placeholder(field->placeholderText())
{
    // Qt's clear button has no name: a screen reader would call it just "button".
    if (auto *clear = field->findChild<QToolButton *>())
        clear->setAccessibleName(tr("Suche leeren"));
    connect(field, &QLineEdit::textChanged, this, &NamesSearch::filter);
    // Names loaded, pasted or stored by another window are filtered as they arrive.
    connect(table->model(), &QAbstractItemModel::dataChanged, this, &NamesSearch::filter);
    field->installEventFilter(this);
    table->installEventFilter(this);
}

void NamesSearch::start()
{
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
}

void NamesSearch::reveal(const QStringList &keys)
{
    const auto hidden = std::count_if(keys.cbegin(), keys.cend(), [this](const QString &key) {
        return table->isRowHidden(NamedAddresses::rowOf(key).value_or(-1));
    });
    if (hidden == 0)
        return;
    const QString searched = field->text();
    field->clear();
    // Told where the search stood, without a box, until the next search.
    const char *told = hidden == 1 ? QT_TR_NOOP("Suche „%1“ geleert: Eine Zeile, die sie verbarg, wurde geändert.")
                                   : QT_TR_NOOP("Suche „%1“ geleert: %n Zeilen, die sie verbarg, wurden geändert.");
    field->setPlaceholderText(tr(told, nullptr, static_cast<int>(hidden)).arg(searched));
}

int NamesSearch::shownRowAfter(const QTableWidget *table, int row)
{
    for (int next = row + 1; next < table->rowCount(); ++next) {
        if (!table->isRowHidden(next))
            return next;
    }
    return -1;
}

void NamesSearch::filter()
{
    if (!field->text().isEmpty())
        field->setPlaceholderText(placeholder);
    const QWidget *focus = QApplication::focusWidget();
    const bool inTable = focus != nullptr && (focus == table || table->isAncestorOf(focus));
    for (int row = 0; row < table->rowCount(); ++row) {
        const bool shown = matches(row);
        const bool edited = table->indexWidget(table->model()->index(row, TableColumns::name)) != nullptr;
        // An arrow key commits the editor it leaves before the cursor moves: the row it moves to
        // must not vanish meanwhile.
        if (shown || (!inTable && !edited))
            table->setRowHidden(row, !shown);
    }
}

bool NamesSearch::matches(int row) const
{
    const QString text = field->text();
    const QTableWidgetItem *name = table->item(row, TableColumns::name);
    // Number first as the window writes it, letter first as the printed table does.
    return (name != nullptr && name->text().contains(text, Qt::CaseInsensitive))
           || NamedAddresses::keyOfRow(row).contains(text, Qt::CaseInsensitive)
           || NamedAddresses::letterFirstOfRow(row).contains(text, Qt::CaseInsensitive);
}

bool NamesSearch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == table && event->type() == QEvent::FocusIn) {
        // Entered by key at a hidden row, the table starts at the first one shown; a click
        // chooses its own row.
        const int first = shownRowAfter(table, -1);
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::MouseFocusReason
            && table->isRowHidden(table->currentRow()) && first >= 0)
            table->setCurrentCell(first, TableColumns::name);
        return QObject::eventFilter(watched, event);
    }
    if (watched != field || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key == Qt::Key_Escape) {
        field->clear();
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down) {
        table->setFocus(Qt::TabFocusReason);
    } else {
        return QObject::eventFilter(watched, event);
    }
    return true;
}

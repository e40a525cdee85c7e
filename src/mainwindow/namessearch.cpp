#include "mainwindow/namessearch.h"

#include "address/namedaddresses.h"
#include "mainwindow/namestable.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>

NamesSearch::NamesSearch(QLineEdit *field, QTableWidget *table)
    : QObject(field)
    , field(field)
    , table(table)
{
    connect(field, &QLineEdit::textChanged, this, &NamesSearch::filter);
    // Names loaded, pasted or stored by another window are filtered as they arrive.
    connect(table->model(), &QAbstractItemModel::dataChanged, this, &NamesSearch::filter);
    field->installEventFilter(this);
}

void NamesSearch::start()
{
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
}

void NamesSearch::filter()
{
    const int edited = table->indexWidget(table->currentIndex()) != nullptr ? table->currentRow() : -1;
    for (int row = 0; row < table->rowCount(); ++row)
        table->setRowHidden(row, !matches(row) && row != edited);
}

bool NamesSearch::matches(int row) const
{
    const QString text = field->text();
    const QTableWidgetItem *name = table->item(row, NamesTable::nameColumn);
    // Number first as the window writes it, letter first as the printed table does.
    const QString key = NamedAddresses::keyOfRow(row);
    const QString letterFirst =
        NamedAddresses::letterFirst(row / NamedAddresses::numberCount, row % NamedAddresses::numberCount + 1);
    return (name != nullptr && name->text().contains(text, Qt::CaseInsensitive))
           || key.contains(text, Qt::CaseInsensitive) || letterFirst.contains(text, Qt::CaseInsensitive);
}

bool NamesSearch::eventFilter(QObject *watched, QEvent *event)
{
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

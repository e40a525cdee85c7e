#include "mainwindow/namesclipboard.h"

#include "document/namesdocument.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QTableView>

NamesClipboard::NamesClipboard(NamesDocument *document, QTableView *table)
    : document(document)
    , table(table)
{
}

void NamesClipboard::copy(const QStringList &keys) const
{
    // No row chosen, or only one the search hides: what the clipboard holds stays.
    if (keys.isEmpty())
        return;
    QStringList lines;
    for (const QString &address : keys)
        lines.append(document->names().value(address));
    QApplication::clipboard()->setText(lines.join(u'\n'));
}

void NamesClipboard::paste(int row) const
{
    QSet<int> hiddenRows;
    for (int each = 0; each < table->model()->rowCount(); ++each) {
        if (table->isRowHidden(each))
            hiddenRows.insert(each);
    }
    const QString told = NamesPaste::describe(document->paste(row, QApplication::clipboard()->text(), hiddenRows));
    if (!told.isEmpty())
        QMessageBox::information(table->window(), tr("Einfügen"), told);
}

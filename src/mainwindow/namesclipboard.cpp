#include "mainwindow/namesclipboard.h"

#include "document/namesdocument.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>

NamesClipboard::NamesClipboard(NamesDocument *document, QWidget *widget)
    : document(document)
    , widget(widget)
{
}

void NamesClipboard::copy(const QStringList &keys) const
{
    QStringList lines;
    for (const QString &address : keys)
        lines.append(document->names().value(address));
    QApplication::clipboard()->setText(lines.join(u'\n'));
}

void NamesClipboard::paste(int row) const
{
    const QString left = NamesPaste::describe(document->paste(row, QApplication::clipboard()->text()));
    if (!left.isEmpty())
        QMessageBox::information(widget->window(), tr("Einfügen"), left);
}

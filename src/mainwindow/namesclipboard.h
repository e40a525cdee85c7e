#ifndef NAMESCLIPBOARD_H
#define NAMESCLIPBOARD_H

#include <QCoreApplication>
#include <QStringList>

class NamesDocument;
class QTableView;

// Names to and from the clipboard as spreadsheets copy a column: a name a line. What a paste
// leaves out, or puts where the table's search hid it, is told in a box over the table's window.
class NamesClipboard
{
    Q_DECLARE_TR_FUNCTIONS(NamesClipboard)

public:
    NamesClipboard(NamesDocument *document, QTableView *table);

    // The names of these addresses, in this order.
    void copy(const QStringList &keys) const;
    // Into the rows shown from this row down, or at the addresses pasted, as one undo step.
    void paste(int row) const;

private:
    NamesDocument *document;
    QTableView *table;
};

#endif

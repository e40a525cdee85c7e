#ifndef NAMESTABLE_H
#define NAMESTABLE_H

#include "address/namedaddresses.h"
#include "mainwindow/namefitmarks.h"
#include "mainwindow/namesclipboard.h"
#include "mainwindow/tablecolumns.h"

#include <QObject>

class NamesDocument;
class NamesFiles;
class QTableWidget;
class QTableWidgetItem;

// Shows a names document in the window's table and edits it like a spreadsheet column:
// Enter moves down, Delete clears, Ctrl+C and Ctrl+V copy and paste a name a line, Ctrl+Z
// and Ctrl+Y undo and redo; the context menu loads, saves and clears. Names that will
// print smaller or shortened, or with characters no font has, are marked, also while the
// user types.
class NamesTable : public QObject
{
    Q_OBJECT

public:
    static constexpr int nameColumn = TableColumns::name;
    static constexpr int addressColumn = TableColumns::address;

    NamesTable(QTableWidget *table, NamesDocument *document);

    // Loads and saves the names lists the context menu offers.
    NamesFiles *files() const { return namesFiles; }
    // The selected rows' addresses, top down, or the current row's if the search shows it.
    QStringList selectedKeys() const;
    // A name being typed is committed, as if the user had pressed Return.
    void commitEditor();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillRows();
    void setUpEditing();
    void showNames(const Names &names);
    void itemEdited(QTableWidgetItem *item);
    void leaveTable(bool forward);
    // To the next row shown: a hidden one would take what is typed next unseen.
    void moveDown();
    void showContextMenu(const QPoint &pos);

    QTableWidget *table;
    NamesDocument *document;
    NamesFiles *namesFiles;
    NamesClipboard clipboard;
    NameFitMarks marks;
};

#endif

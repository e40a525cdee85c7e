#ifndef NAMESTABLE_H
#define NAMESTABLE_H

#include "names/namescsv.h"
#include "names/namesstore.h"
#include "page/namefitter.h"

#include <QMessageBox>
#include <QObject>

class NamesDocument;
class QLineEdit;
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
    static constexpr int nameColumn = 0;
    static constexpr int addressColumn = 1;

    NamesTable(QTableWidget *table, NamesDocument *document);

    // Each tells the user why it failed; a failure changes no name.
    bool loadNames(const QString &path);
    bool saveNames(const QString &path);
    // Asks where to save the names; true once they are saved there.
    bool askSave();
    // The selected rows' addresses, top down, or the current row's.
    QStringList selectedKeys() const;
    // A name being typed is committed, as if the user had pressed Return.
    void commitEditor();

    // Tells what became of the stored names, if anything went wrong.
    void reportRestore(const NamesStore::LoadResult &stored);

    // Opens a box that goes once closed, from the event loop, when its window is shown and no
    // modal widget is open: a report coming meanwhile must not cover a question the user is
    // answering and take the click meant for it.
    static void showReport(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                           const QString &details = {});

signals:
    // A names list was loaded, so the user wants to see the table.
    void loaded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillRows();
    void setUpEditing();
    void showNames(const Names &names);
    FittedName fitOf(int row, const QString &name) const;
    void markItem(QTableWidgetItem *item) const;
    void markEditor(QLineEdit *editor, int row) const;
    void itemEdited(QTableWidgetItem *item);
    void paste();
    void leaveTable(bool forward);
    // To the next row shown: a hidden one would take what is typed next unseen.
    void moveDown();
    void showContextMenu(const QPoint &pos);
    void askLoad();
    void reportDamagedStore(const NamesStore::LoadResult &stored, const QString &outcome);
    void reportStoreFailure(const NamesCsv::Error &error);
    void warnLater(const QString &title, const QString &text);

    QTableWidget *table;
    NamesDocument *document;
    NameFitter fitter;
};

#endif

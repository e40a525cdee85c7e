#ifndef NAMESTABLE_H
#define NAMESTABLE_H

#include "names/namescsv.h"
#include "names/namesstore.h"
#include "page/namefitter.h"

#include <QObject>
#include <QUndoStack>

class QCheckBox;
class QLineEdit;
class QTableWidget;
class QTableWidgetItem;
class QWidget;

// The window's names table: owns its 96 rows, the names, their undo stack and the file
// that keeps them between runs. Every change is undoable and stored at once. It behaves
// like a spreadsheet column: Enter moves down, Delete clears, Ctrl+C and Ctrl+V copy and
// paste a name a line; its context menu loads, saves and clears. Names that will print
// smaller or shortened are marked, also while the user types.
class NamesTable : public QObject
{
    Q_OBJECT

public:
    static constexpr int nameColumn = 0;
    static constexpr int addressColumn = 1;

    NamesTable(QTableWidget *table, QCheckBox *showTable, QWidget *window,
               QString storePath = NamesStore::defaultPath());

    // The rows whose name cell holds an item, by address, empty names included.
    const Names &names() const { return current; }

    // Each returns whether it succeeded; a failure leaves the names as they were.
    bool loadNames(const QString &path);
    bool saveNames(const QString &path);
    // From the current row down, a line a row; tells how many lines found no row.
    void pasteNames(const QString &text);
    void clearNames();
    void clearSelectedNames();
    QString selectedNames() const;

    QUndoStack *undoStack() { return &undo; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillRows();
    void restoreStored();
    void change(const QString &text, const Names &after);
    void apply(const Names &names);
    void showNames(const Names &names);
    FittedName::Fit fitOf(int row, const QString &name) const;
    void markItem(QTableWidgetItem *item) const;
    void markEditor(QLineEdit *editor, int row) const;
    void store();
    void itemEdited(QTableWidgetItem *item);
    void leaveTable(bool forward);
    void moveDown();
    QList<int> selectedRows() const;
    void showContextMenu(const QPoint &pos);
    void askLoad();
    void askSave();
    void warnLater(const QString &title, const QString &text);

    QTableWidget *table;
    QCheckBox *showTable;
    QWidget *window;
    QUndoStack undo;
    NameFitter fitter;
    Names current;
    QString storePath;     // empty: the names are not stored, so a file set aside is not overwritten
    bool applying = false; // the table's items change through showNames(), not by the user
    bool storeFailureShown = false;
};

#endif

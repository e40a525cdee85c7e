#ifndef NAMESSEARCH_H
#define NAMESSEARCH_H

#include <QObject>
#include <QString>

class QLineEdit;
class QTableWidget;

// Filters the names table as a spreadsheet's filter does: only the rows whose name or
// address holds the search field's text, in either case, stay shown. Esc empties the field;
// Return and Down go on to the table. No row vanishes under the user: while the table or
// its editor has the focus, rows only appear, and a name edited out of the filter stays
// until the filter changes. The table, entered by key, starts at the first row shown, so
// that nothing typed lands in a hidden row.
class NamesSearch : public QObject
{
    Q_OBJECT

public:
    NamesSearch(QLineEdit *field, QTableWidget *table);

    // Ctrl+F: the field takes the focus with its text selected.
    void start();
    // The field is emptied if a row of these addresses is hidden, as before this window changes them,
    // and says in its place how many it showed so.
    void reveal(const QStringList &keys);

    // The first row after row that the table shows, or -1.
    static int shownRowAfter(const QTableWidget *table, int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void filter();
    bool matches(int row) const;

    QLineEdit *field;
    QTableWidget *table;
    QString placeholder;
};

#endif

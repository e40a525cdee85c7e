#ifndef NAMESSEARCH_H
#define NAMESSEARCH_H

#include <QObject>

class QLineEdit;
class QTableWidget;

// Filters the names table as a spreadsheet's filter does: only the rows whose name or
// address holds the search field's text, in either case, stay shown. Esc empties the field;
// Return and Down go on to the table. The row being edited is never hidden.
class NamesSearch : public QObject
{
    Q_OBJECT

public:
    NamesSearch(QLineEdit *field, QTableWidget *table);

    // Ctrl+F: the field takes the focus with its text selected.
    void start();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void filter();
    bool matches(int row) const;

    QLineEdit *field;
    QTableWidget *table;
};

#endif

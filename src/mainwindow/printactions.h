#ifndef PRINTACTIONS_H
#define PRINTACTIONS_H

#include "page/tablepdf.h"

#include <QObject>

class NamesDocument;
class NamesTable;
class QWidget;

// What the window makes of the names on paper, each with its report: the rendered table
// opened, the table printed (Ctrl+P too), the labels' dialog, and the outcome of a render.
class PrintActions : public QObject
{
    Q_OBJECT

public:
    PrintActions(QWidget *window, NamesDocument *document, NamesTable *namesTable);

    void openTable();
    // The very page "Tabelle rendern" writes, previewed, then printed at 100 %.
    void printTable();
    void showLabels();
    // Results come after the window went on: held back while a question is open, as store reports are.
    void reportRender(const QString &path, const TablePdf::Result &result);

private:
    QWidget *window;
    NamesDocument *document;
    NamesTable *namesTable;
};

#endif

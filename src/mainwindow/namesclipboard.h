#ifndef NAMESCLIPBOARD_H
#define NAMESCLIPBOARD_H

#include <QCoreApplication>
#include <QStringList>

class NamesDocument;
class QWidget;

// Names to and from the clipboard as spreadsheets copy a column: a name a line. What a paste
// leaves out is told in a box over the widget's window.
class NamesClipboard
{
    Q_DECLARE_TR_FUNCTIONS(NamesClipboard)

public:
    NamesClipboard(NamesDocument *document, QWidget *widget);

    // The names of these addresses, in this order.
    void copy(const QStringList &keys) const;
    // From this row down, or at the addresses pasted, as one undo step.
    void paste(int row) const;

private:
    NamesDocument *document;
    QWidget *widget;
};

#endif

#ifndef NAMEFITMARKS_H
#define NAMEFITMARKS_H

#include "page/tablenamefitter.h"

#include <QColor>
#include <QCoreApplication>
#include <QPalette>

class QLineEdit;
class QTableWidgetItem;

// How the window marks a name that holds hidden characters, or that will not print as typed:
// smaller, shortened, or with characters no font has. The name in the table or its open editor
// gets a colour and a tool tip, which assistive technology reads too.
class NameFitMarks
{
    Q_DECLARE_TR_FUNCTIONS(NameFitMarks)

public:
    NameFitMarks();

    void mark(QTableWidgetItem *item) const;
    // The editor of a row, while the user types; its other colours are the table's.
    void mark(QLineEdit *editor, int row, QPalette palette) const;

private:
    struct Mark
    {
        QColor color = {};
        QString toolTip = {};
    };

    Mark markOf(int row, const QString &name) const;

    TableNameFitter fitter;
};

#endif

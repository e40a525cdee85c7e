#ifndef TABLENAMEFITTER_H
#define TABLENAMEFITTER_H

#include "page/fittedname.h"
#include "page/namefitter.h"

#include <QPointF>
#include <QRectF>
#include <QString>

// Keeps every name inside its table cell's space: from the name's start to the next column's
// caption (the column line for D, the page's edge for H), between the separators above and
// below, fitted there as NameFitter::fitAsWrapped does.
class TableNameFitter
{
public:
    explicit TableNameFitter(int pageWidth);

    // The space a cell's name may fill, relative to the table's origin.
    QRectF space(int column, int row) const;

    FittedName fit(const QString &name, int column, int row) const;
    // The same for an address among the 96; nothing to print for any other.
    FittedName fit(const QString &name, const QString &address) const;

    void paint(QPainter &painter, const FittedName &fitted, QPointF firstBaseline) const
    {
        fitter.paint(painter, fitted, firstBaseline);
    }

private:
    int pageWidth;
    NameFitter fitter;
};

#endif

#ifndef FITTEDNAME_H
#define FITTEDNAME_H

#include "page/namewrap.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// How a name is printed in its space: the lines, their size and spacing, from the baseline
// of the first line at the space's name position.
// The analyzer takes a size that fitted once for one that may not fit again.
// NOLINTNEXTLINE(clang-analyzer-core.uninitialized.Assign)
struct FittedName
{
    enum Fit { Fits, Smaller, Shortened };

    Fit fit = Fits;
    qreal pointSize = namePointSize;
    qreal lineSpacing = 0;
    QStringList lines;
    // Characters no font on this machine has, which would print as empty boxes.
    QString missing;
};

// How each name printed fits, by address (12A), in the pages' order.
using NameFits = QList<std::pair<QString, FittedName>>;

#endif

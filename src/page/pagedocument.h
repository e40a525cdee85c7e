#ifndef PAGEDOCUMENT_H
#define PAGEDOCUMENT_H

#include "page/fittedname.h"

#include <QPageLayout>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPagedPaintDevice;
class QPainter;

// What a render or a print tells: whether it was written, and which names did not print as typed.
struct RenderResult
{
    bool ok = false;
    QString error; // why it failed, from the system
    // Addresses (12A) of the names printed smaller, and of those shortened, in the pages' order.
    QStringList smaller;
    QStringList shortened;
    QStringList missing; // names with characters no font has

    static RenderResult of(const NameFits &fits);
    static RenderResult failure(const QString &error) { return {false, error, {}, {}, {}}; }
};

// Pages to write or print: their layout, and a painter for each page in units of 1/1200
// inch, from the top left of the layout's paint rectangle.
struct PageDocument
{
    QPageLayout layout;
    QString title;
    int pageCount = 1;
    std::function<NameFits(QPainter &painter, int page)> paintPage;

    // How each name fits, without writing anything.
    NameFits fits() const;
    // The same pages with everything on them moved right and down by millimetres, as a
    // printer that shifts the paper needs them.
    PageDocument shifted(QPointF offsetMm) const;
    // Every page in turn, each after the first on a new one; nothing if the device takes none.
    std::optional<NameFits> paintPages(QPainter &painter, QPagedPaintDevice &device) const;
    // Replaces the file only once every page is written, so a failure leaves an older file intact;
    // a device or a FIFO is written into in place.
    RenderResult writePdf(const QString &path) const;
};

#endif

#ifndef PAGEDOCUMENT_H
#define PAGEDOCUMENT_H

#include "page/tablepage.h"

#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPagedPaintDevice;

// What a render or a print tells: whether it was written, and which names did not print as typed.
struct RenderResult
{
    bool ok = false;
    QString error; // why it failed, from the system
    // Addresses (12A) of the names printed smaller, and of those shortened, in the pages' order.
    QStringList smaller;
    QStringList shortened;
    QStringList missing; // names with characters no font has

    static RenderResult of(const TablePage::Fits &fits);
    static RenderResult failure(const QString &error) { return {false, error, {}, {}, {}}; }
};

// Pages to write or print: their layout, and a painter for each page in units of 1/1200
// inch, from the top left of the layout's paint rectangle.
struct PageDocument
{
    QPageLayout layout;
    QString title;
    int pageCount = 1;
    std::function<TablePage::Fits(QPainter &painter, int page)> paintPage;

    // How each name fits, without writing anything.
    TablePage::Fits fits() const;
    // Every page in turn, each after the first on a new one; nothing if the device takes none.
    std::optional<TablePage::Fits> paintPages(QPainter &painter, QPagedPaintDevice &device) const;
    // Replaces the file only once every page is written, so a failure leaves an older file intact;
    // a device or a FIFO is written into in place.
    RenderResult writePdf(const QString &path) const;
};

#endif

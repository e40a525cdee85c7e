#ifndef TABLEPAGE_H
#define TABLEPAGE_H

#include "address/addresscodec.h"
#include "address/namedaddresses.h"
#include "page/namewrap.h"

#include <QHash>
#include <QPoint>
#include <QString>

class QPainter;

// The printed address table: a heading, the two module headings and 96 cells
// (letters A-H across, numbers 12 down to 1), each with its name and switches.
// Coordinates are device units at 1200 per inch; the page origin is the
// painter's origin. It reads the names and never changes them.
class TablePage
{
public:
    static constexpr int resolution = 1200;
    static constexpr int columnCount = NamedAddresses::letterCount;
    static constexpr int rowCount = NamedAddresses::numberCount;
    inline static const QString heading = QStringLiteral("Dippschaltereinstellung der Adressen für VESK 2-D BUS");

    explicit TablePage(const QHash<QString, QString> &names, CharWidth nameCharWidth = arialScreenWidth());

    void paint(QPainter &painter, int pageWidth) const;

    // Caption of a cell, letter first: column 0, row 0 is "A12".
    static QString cellAddress(int column, int row);

private:
    void paintHeadings(QPainter &painter, int pageWidth) const;
    void paintCell(QPainter &painter, int column, int row) const;
    void paintName(QPainter &painter, QPoint origin, const QString &key) const;
    static void paintCaption(QPainter &painter, QPoint origin, const QString &address);
    static void paintSwitches(QPainter &painter, QPoint origin, const DippSetting &dipp);

    QHash<QString, QString> names; // implicitly shared, so copying is cheap
    CharWidth nameCharWidth;
};

#endif

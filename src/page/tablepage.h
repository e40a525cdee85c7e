#ifndef TABLEPAGE_H
#define TABLEPAGE_H

#include "address/addresscodec.h"
#include "address/namedaddresses.h"
#include "page/namefitter.h"
#include "page/namewrap.h"

#include <QHash>
#include <QPoint>
#include <QString>

#include <optional>

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

    // How each name printed fits its cell, by address, in the names table's order (1A ... 12H).
    using Fits = QList<std::pair<QString, FittedName::Fit>>;

    Fits paint(QPainter &painter, int pageWidth) const;

    // Caption of a cell, letter first: column 0, row 0 is "A12".
    static QString cellAddress(int column, int row);
    // The names' key of a cell, number first: column 0, row 0 is "12A".
    static QString cellKey(int column, int row);
    // The column and row of a key among the 96.
    static std::optional<QPoint> cellOf(const QString &key);

private:
    void paintHeadings(QPainter &painter, int pageWidth) const;
    void paintCell(QPainter &painter, const NameFitter &fitter, int column, int row, Fits &fits) const;
    void paintName(QPainter &painter, const NameFitter &fitter, int column, int row, Fits &fits) const;
    static void paintCaption(QPainter &painter, QPoint origin, const QString &address);
    static void paintSwitches(QPainter &painter, QPoint origin, const DippSetting &dipp);

    QHash<QString, QString> names; // implicitly shared, so copying is cheap
    CharWidth nameCharWidth;
};

#endif

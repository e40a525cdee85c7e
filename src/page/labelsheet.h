#ifndef LABELSHEET_H
#define LABELSHEET_H

#include <QList>
#include <QLocale>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

// A sheet of self-adhesive labels on A4 portrait, in millimetres from the paper's top left.
struct LabelFormat
{
    QSizeF label;
    int columns = 0;
    int rows = 0;
    QPointF margins;    // left and top, to the first label
    QSizeF gaps;        // between the columns, between the rows
    QString maker = {}; // for a sheet sold by maker and article number
    QString part = {};

    int perSheet() const { return columns * rows; }
    // Label 0 ... perSheet() - 1 of a sheet, row by row.
    QRectF labelRect(int index) const;
    // Every label within the paper, or past its edge by no more than overhangMm, and none over
    // the next by more than overlapMm: sheets measured in inches come out a little off in
    // millimetres, and what a label holds keeps at least 1 mm inside it.
    bool fitsPaper() const;
    // Labels over their neighbours by more than overlapMm, as no sheet has them.
    bool overlaps() const;
    static constexpr qreal overhangMm = 1;
    static constexpr qreal overlapMm = 0.2;
    // As the command line names it: such as "Zweckform 3474", or 70x37 for a sheet by size.
    QString name() const;
    // Such as 70x37.
    QString sizeName() const;
    // The line `labels --formats` prints: name, size in mm, columns x rows, by tabs.
    QString listing() const;
};

namespace LabelSheet {

inline const QSizeF paperSize(210, 297);

// A length as the sheets are named and the labels measured in messages: to a tenth of a
// millimetre, without ".0", such as 25.4 or 10; in the locale's digits.
QString millimetres(qreal value, const QLocale &locale = QLocale::c());

// The sheets sold everywhere, named by their labels' size, then the sheets of gLabels'
// templates by maker and article number.
const QList<LabelFormat> &formats();
// By name, in either case.
std::optional<LabelFormat> format(const QString &name);
// The sheets by maker and article number whose listing holds the text, in either case.
QList<LabelFormat> matching(const QString &text);

struct Placed
{
    int sheet; // from 0
    QRectF rect;
    QString key;
};

// Labels for the addresses in order, from label start (1 for the first) of the first sheet
// on, so a sheet already partly used is used up; as many sheets as they need.
QList<Placed> place(const LabelFormat &format, const QStringList &keys, int start);

} // namespace LabelSheet

#endif

#ifndef PRINTEROFFSETS_H
#define PRINTEROFFSETS_H

#include <QPointF>
#include <QString>

#include <optional>

// How far each printer shifts its pages, as measured on a test sheet and entered once: in
// millimetres right and down, kept by the printer's name for the window and the command line,
// as the text "X,Y" that --offset takes.
namespace PrinterOffsets {

// More than any printer shifts a sheet it feeds.
constexpr qreal limitMm = 20;

QPointF of(const QString &printer);
void set(const QString &printer, QPointF offsetMm);

// "X,Y" in millimetres, such as "2,1" or "-0.5,1.5"; nothing if either is no number or beyond the limit.
std::optional<QPointF> parse(const QString &text);

} // namespace PrinterOffsets

#endif

#ifndef LABELSPDF_H
#define LABELSPDF_H

#include "address/namedaddresses.h"
#include "page/labelsheet.h"
#include "page/pagedocument.h"

// Sheets of labels, one for each address asked for, as a PDF or for a printer.
namespace LabelsPdf {

inline const QString fileName = QStringLiteral("Etiketten.pdf");

// A4 portrait without margins: the labels are placed from the paper's edge.
inline const QPageLayout pageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                    QPageLayout::Millimeter);

// The addresses (canonical keys) in the order given, from label start (1 for the first) on.
PageDocument document(const Names &names, const LabelFormat &format, const QStringList &keys, int start);

// Every address with a name, in the names table's order.
QStringList namedKeys(const Names &names);

} // namespace LabelsPdf

#endif

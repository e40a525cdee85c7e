#ifndef LABELSPDF_H
#define LABELSPDF_H

#include "address/namedaddresses.h"
#include "page/labelsheet.h"
#include "page/pagedocument.h"

// Sheets of labels, one for each address asked for, as a PDF or for a printer.
namespace LabelsPdf {

inline const QString fileName = QStringLiteral("Etiketten.pdf");
inline const QString testSheetFileName = QStringLiteral("Testblatt.pdf");

// A4 portrait without margins: the labels are placed from the paper's edge.
inline const QPageLayout pageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                    QPageLayout::Millimeter);

// The addresses (canonical keys) in the order given, from label start (1 for the first) on.
PageDocument document(const Names &names, const LabelFormat &format, const QStringList &keys, int start);

// A sheet to print on plain paper and lay over the labels: each label's outline and a cross
// at its centre, so the shift a printer gives the page can be measured.
PageDocument testSheet(const LabelFormat &format);

// Every address with a name, in the names table's order.
QStringList namedKeys(const Names &names);

} // namespace LabelsPdf

#endif

#ifndef TABLEPDF_H
#define TABLEPDF_H

#include "address/namedaddresses.h"
#include "page/pagedocument.h"

#include <QPageLayout>
#include <QString>
#include <QStringList>

// Writing the address table as a one-page A4 landscape PDF.
namespace TablePdf {

// A4 landscape, with the margins Qt's PDF output uses by default; the table does not fit Letter.
inline const QPageLayout pageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                    QPageLayout::Point);

inline const QString fileName = QStringLiteral("Dippschalter.pdf");

// Where the table goes unless told otherwise: fileName in the working directory.
QString defaultPath();

// Width of the page rectangle in the table's units.
int pageWidth();

using Result = RenderResult;

// The one page of the table.
PageDocument document(const Names &names);

// Replaces the file only once the whole page is written, so a failure leaves an older file intact.
Result write(const QString &path, const Names &names);

} // namespace TablePdf

#endif

#ifndef TABLEPDF_H
#define TABLEPDF_H

#include <QString>

namespace TablePdf {

// Written into the working directory.
inline const QString fileName = QStringLiteral("Dippschalter.pdf");

} // namespace TablePdf

#endif

#ifndef TABLEPDF_H
#define TABLEPDF_H

#include <QHash>
#include <QString>

// Writing the address table as a one-page A4 landscape PDF.
namespace TablePdf {

// Written into the working directory.
inline const QString fileName = QStringLiteral("Dippschalter.pdf");

struct Result
{
    bool ok = false;
    QString error; // why it failed, from the system
};

// Replaces the file only once the whole page is written, so a failure leaves an older file intact.
Result write(const QString &path, const QHash<QString, QString> &names);

} // namespace TablePdf

#endif

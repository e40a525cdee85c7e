#ifndef CUPSQUEUE_H
#define CUPSQUEUE_H

#include "print/printreport.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

// A print queue of CUPS, asked directly: Qt's printing tells neither whether a queue takes
// jobs nor what became of one.
namespace CupsQueue {

// Job options by their IPP or PPD names, as lp -o takes them.
using Options = QList<std::pair<QByteArray, QByteArray>>;

// One job of a PDF file on the queue named as Qt names printers ("queue" or "queue/instance"),
// and what CUPS says became of it; the report's pages are left to the caller.
PrintReport print(const QString &name, const QString &pdfFile, const QString &title, const Options &options);

} // namespace CupsQueue

#endif

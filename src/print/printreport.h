#ifndef PRINTREPORT_H
#define PRINTREPORT_H

#include "page/pagedocument.h"

#include <QCoreApplication>
#include <QString>

// What became of a print job as the print service tells it, and how the command line and the
// window say so: "printed" only for a job the service has taken.
class PrintReport
{
    Q_DECLARE_TR_FUNCTIONS(PrintReport)

public:
    enum class Outcome {
        Printed,   // the print service has the job
        Paused,    // taken, but waiting: the printer is paused
        Held,      // taken, but held until someone releases it
        Sent,      // handed to a spooler that tells no more
        Written,   // printed into the file the print dialog chose
        Refused,   // the queue does not accept jobs
        NoService, // the print service is not running
        NoPrinter, // the print service has no queue of that name
        Failed,
    };
    enum class Subject { Table, Labels, TestSheet };

    Outcome outcome = Outcome::Failed;
    QString printer;    // the queue, or the file for Written
    QString reason;     // the service's or the system's words, if any
    RenderResult pages; // how the names fit, once printed

    static PrintReport of(Outcome outcome, const QString &printer, const QString &reason = {});

    // Whether a job exists (printed, waiting or handed on) or a file was written.
    bool ok() const;
    // One line for vesk-dipp: "printed on Q", or what follows "error: ".
    QString commandLine() const;
    // The window's message once ok, and its reason otherwise.
    QString windowText(Subject subject) const;
    QString windowReason() const;
    // For a report that takes a render's result: the pages, or the reason as its error.
    RenderResult result() const;
    // The window's lines on the names that did not print as typed, a line for each kind.
    static QStringList windowFits(const RenderResult &pages, Subject subject);
};

#endif

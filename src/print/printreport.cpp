#include "print/printreport.h"

PrintReport PrintReport::of(Outcome outcome, const QString &printer, const QString &reason)
{
    PrintReport report;
    report.outcome = outcome;
    report.printer = printer;
    report.reason = reason;
    return report;
}

bool PrintReport::ok() const
{
    switch (outcome) {
    case Outcome::Printed:
    case Outcome::Paused:
    case Outcome::Held:
    case Outcome::Sent:
    case Outcome::Written:
        return true;
    case Outcome::Refused:
    case Outcome::NoService:
    case Outcome::NoPrinter:
    case Outcome::Failed:
        break;
    }
    return false;
}

QString PrintReport::commandLine() const
{
    switch (outcome) {
    case Outcome::Printed:
        return QStringLiteral("printed on %1").arg(printer);
    case Outcome::Paused:
        return QStringLiteral("queued on %1: the printer is paused").arg(printer);
    case Outcome::Held:
        return QStringLiteral("queued on %1: the job is held").arg(printer);
    case Outcome::Sent:
        return QStringLiteral("sent to the printer %1").arg(printer);
    case Outcome::Written:
        return QStringLiteral("written to %1").arg(printer);
    case Outcome::Refused:
        return reason.isEmpty()
                   ? QStringLiteral("cannot print on %1: the queue does not accept jobs").arg(printer)
                   : QStringLiteral("cannot print on %1: the queue does not accept jobs (%2)").arg(printer, reason);
    case Outcome::NoService:
        return QStringLiteral("cannot print on %1: the print service (CUPS) is not running").arg(printer);
    case Outcome::NoPrinter:
        return QStringLiteral("cannot print on %1: there is no printer '%1'").arg(printer);
    case Outcome::Failed:
        break;
    }
    return QStringLiteral("cannot print on %1: %2").arg(printer, reason);
}

QString PrintReport::windowText(Subject subject) const
{
    const bool table = subject == Subject::Table;
    switch (outcome) {
    case Outcome::Printed:
        return table ? tr("Die Tabelle wurde auf %1 gedruckt.").arg(printer)
                     : tr("Die Etiketten wurden auf %1 gedruckt.").arg(printer);
    case Outcome::Paused:
    case Outcome::Held: {
        const QString why =
            outcome == Outcome::Paused ? tr("der Drucker ist angehalten") : tr("der Auftrag wird zurückgehalten");
        return table ? tr("Die Tabelle wartet in der Warteschlange von %1: %2.").arg(printer, why)
                     : tr("Die Etiketten warten in der Warteschlange von %1: %2.").arg(printer, why);
    }
    case Outcome::Sent:
        return table ? tr("Die Tabelle wurde an den Drucker %1 übergeben.").arg(printer)
                     : tr("Die Etiketten wurden an den Drucker %1 übergeben.").arg(printer);
    case Outcome::Written:
        return table ? tr("Die Tabelle wurde in %1 gespeichert.").arg(printer)
                     : tr("Die Etiketten wurden in %1 gespeichert.").arg(printer);
    case Outcome::Refused:
    case Outcome::NoService:
    case Outcome::NoPrinter:
    case Outcome::Failed:
        break;
    }
    return windowReason();
}

QString PrintReport::windowReason() const
{
    switch (outcome) {
    case Outcome::Refused:
        return reason.isEmpty() ? tr("Der Drucker %1 nimmt keine Aufträge an.").arg(printer)
                                : tr("Der Drucker %1 nimmt keine Aufträge an: %2").arg(printer, reason);
    case Outcome::NoService:
        return tr("Der Druckdienst (CUPS) läuft nicht.");
    case Outcome::NoPrinter:
        return tr("Den Drucker %1 gibt es nicht.").arg(printer);
    default:
        break;
    }
    return printer.isEmpty() ? reason : tr("Drucker %1: %2").arg(printer, reason);
}

RenderResult PrintReport::result() const
{
    return ok() ? pages : RenderResult::failure(windowReason());
}

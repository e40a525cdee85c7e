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
    enum Phrase { PrintedPhrase, WaitingPhrase, SentPhrase, WrittenPhrase, PhraseCount };
    static const char *const phrases[][PhraseCount] = {
        {QT_TR_NOOP("Die Tabelle wurde auf %1 gedruckt."),
         QT_TR_NOOP("Die Tabelle wartet in der Warteschlange von %1: %2."),
         QT_TR_NOOP("Die Tabelle wurde an den Drucker %1 übergeben."),
         QT_TR_NOOP("Die Tabelle wurde in %1 gespeichert.")},
        {QT_TR_NOOP("Die Etiketten wurden auf %1 gedruckt."),
         QT_TR_NOOP("Die Etiketten warten in der Warteschlange von %1: %2."),
         QT_TR_NOOP("Die Etiketten wurden an den Drucker %1 übergeben."),
         QT_TR_NOOP("Die Etiketten wurden in %1 gespeichert.")},
        {QT_TR_NOOP("Das Testblatt wurde auf %1 gedruckt."),
         QT_TR_NOOP("Das Testblatt wartet in der Warteschlange von %1: %2."),
         QT_TR_NOOP("Das Testblatt wurde an den Drucker %1 übergeben."),
         QT_TR_NOOP("Das Testblatt wurde in %1 gespeichert.")},
    };
    const auto &phrase = phrases[static_cast<int>(subject)];
    switch (outcome) {
    case Outcome::Printed:
        return tr(phrase[PrintedPhrase]).arg(printer);
    case Outcome::Paused:
    case Outcome::Held: {
        const QString why =
            outcome == Outcome::Paused ? tr("der Drucker ist angehalten") : tr("der Auftrag wird zurückgehalten");
        return tr(phrase[WaitingPhrase]).arg(printer, why);
    }
    case Outcome::Sent:
        return tr(phrase[SentPhrase]).arg(printer);
    case Outcome::Written:
        return tr(phrase[WrittenPhrase]).arg(printer);
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

QStringList PrintReport::windowFits(const RenderResult &pages, Subject subject)
{
    const bool table = subject == Subject::Table;
    QStringList lines;
    if (!pages.smaller.isEmpty()) {
        lines.append((table ? tr("Kleiner gedruckt, damit sie ins Feld passen: %1")
                            : tr("Kleiner gedruckt, damit sie aufs Etikett passen: %1"))
                         .arg(pages.smaller.join(u", ")));
    }
    if (!pages.shortened.isEmpty()) {
        lines.append((table ? tr("Gekürzt gedruckt, zu lang für das Feld: %1")
                            : tr("Gekürzt gedruckt, zu lang für das Etikett: %1"))
                         .arg(pages.shortened.join(u", ")));
    }
    if (!pages.missing.isEmpty()) {
        lines.append((table ? tr("Zeichen fehlen in der Schrift und werden als leere Kästchen gedruckt: %1")
                            : tr("Zeichen fehlen in der Schrift: %1"))
                         .arg(pages.missing.join(u", ")));
    }
    return lines;
}

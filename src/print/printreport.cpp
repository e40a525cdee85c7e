#include "print/printreport.h"

#include <algorithm>

namespace {

using Outcome = PrintReport::Outcome;

// How the window tells a job by what was printed; NoJob for a failure.
enum JobPhrase { PrintedPhrase, WaitingPhrase, SentPhrase, WrittenPhrase, JobPhraseCount, NoJob = JobPhraseCount };

struct Wording
{
    Outcome outcome;
    JobPhrase jobPhrase;
    const char *english;
    const char *englishWithReason; // where it differs
    const char *german;            // a failure; or why a job waits
    const char *germanWithReason;
};

// Each outcome in both wordings: %1 is the printer (or the file written), %2 the service's
// reason, which a wording "with reason" shows where there is one. The window tells a job by what
// was printed (the job phrase) and a failure by its German wording. The German goes through
// translation like every text of the window.
constexpr Wording wordings[] = {
    {Outcome::Printed, PrintedPhrase, "printed on %1", nullptr, nullptr, nullptr},
    {Outcome::Paused, WaitingPhrase, "queued on %1: the printer is paused", nullptr,
     QT_TRANSLATE_NOOP("PrintReport", "der Drucker ist angehalten"), nullptr},
    {Outcome::Held, WaitingPhrase, "queued on %1: the job is held", nullptr,
     QT_TRANSLATE_NOOP("PrintReport", "der Auftrag wird zurückgehalten"), nullptr},
    {Outcome::Sent, SentPhrase, "sent to the printer %1", nullptr, nullptr, nullptr},
    {Outcome::Written, WrittenPhrase, "written to %1", nullptr, nullptr, nullptr},
    {Outcome::Refused, NoJob, "cannot print on %1: the queue does not accept jobs",
     "cannot print on %1: the queue does not accept jobs (%2)",
     QT_TRANSLATE_NOOP("PrintReport", "Der Drucker %1 nimmt keine Aufträge an."),
     QT_TRANSLATE_NOOP("PrintReport", "Der Drucker %1 nimmt keine Aufträge an: %2")},
    {Outcome::NoService, NoJob, "cannot print on %1: the print service (CUPS) is not running", nullptr,
     QT_TRANSLATE_NOOP("PrintReport", "Der Druckdienst (CUPS) läuft nicht."), nullptr},
    {Outcome::NoPrinter, NoJob, "cannot print on %1: there is no printer '%1'", nullptr,
     QT_TRANSLATE_NOOP("PrintReport", "Den Drucker %1 gibt es nicht."), nullptr},
    {Outcome::Failed, NoJob, "cannot print on %1: %2", nullptr, QT_TRANSLATE_NOOP("PrintReport", "Drucker %1: %2"),
     nullptr},
};

const Wording &wordingOf(Outcome outcome)
{
    return *std::find_if(std::cbegin(wordings), std::cend(wordings),
                         [outcome](const Wording &wording) { return wording.outcome == outcome; });
}

// Both at once, so that a printer's or a file's name holding "%2" stays as it is.
QString filled(const QString &wording, const QString &printer, const QString &reason)
{
    if (wording.contains(QLatin1String("%2")))
        return wording.arg(printer, reason);
    return wording.contains(QLatin1String("%1")) ? wording.arg(printer) : wording;
}

} // namespace

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
    const Wording &wording = wordingOf(outcome);
    return filled(
        QString::fromUtf8(!reason.isEmpty() && wording.englishWithReason ? wording.englishWithReason : wording.english),
        printer, reason);
}

QString PrintReport::windowText(Subject subject) const
{
    static const char *const jobs[][JobPhraseCount] = {
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
    if (!ok())
        return windowReason();
    const Wording &wording = wordingOf(outcome);
    const QString job = tr(jobs[static_cast<int>(subject)][wording.jobPhrase]);
    return wording.german ? job.arg(printer, tr(wording.german)) : job.arg(printer);
}

QString PrintReport::windowReason() const
{
    // Only a failure has a reason of its own; the rest are told as a failure is.
    const Wording &wording = wordingOf(ok() ? Outcome::Failed : outcome);
    if (wording.outcome == Outcome::Failed && printer.isEmpty())
        return reason;
    return filled(tr(!reason.isEmpty() && wording.germanWithReason ? wording.germanWithReason : wording.german),
                  printer, reason);
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

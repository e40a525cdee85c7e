#include "mainwindow/storereports.h"

#include "mainwindow/reportqueue.h"
#include "store/sharedstore.h"

#include <QDir>

namespace {

QString describe(const StoreError &error)
{
    return error.describe(NamesCsv::Language::German);
}

} // namespace

StoreReports::StoreReports(SharedStore *store, QWidget *window)
    : QObject(window)
    , store(store)
    , window(window)
{
    connect(store, &SharedStore::restored, this, &StoreReports::reportRestore);
    connect(store, &SharedStore::failed, this, &StoreReports::reportFailure);
    connect(store, &SharedStore::copySetAside, this, &StoreReports::reportCopy);
    connect(store, &SharedStore::copiesStay, this, &StoreReports::reportCopiesStay);
    connect(store, &SharedStore::setAside, this, [this](const NamesStore::LoadResult &found) {
        reportDamaged(found, tr("Die Namen dieses Fensters wurden neu gesichert."));
    });
}

void StoreReports::reportRestore(const NamesStore::LoadResult &stored)
{
    if (!stored.leftInPlace()) {
        reportDamaged(stored, tr("Die Tabelle beginnt leer."));
        return;
    }
    warn(tr("Gespeicherte Namen"),
         tr("Die gespeicherten Namen in %1 lassen sich gerade nicht lesen.\n%2\n\n"
            "Die Datei bleibt, wo sie ist; ihre Namen erscheinen, sobald sie sich lesen lässt. "
            "Namen, die Sie eingeben, kommen zu ihnen hinzu.")
             .arg(storePath(), describe(stored.error)));
}

// The window keeps its names; the damaged file is never overwritten.
void StoreReports::reportDamaged(const NamesStore::LoadResult &stored, const QString &outcome)
{
    if (stored.ok())
        return;
    if (stored.setAsidePath.isEmpty()) {
        warn(tr("Gespeicherte Namen"),
             tr("Die gespeicherten Namen in %1 konnten nicht gelesen werden.\n%2\n\n"
                "Die Datei bleibt unverändert; Namen, die Sie jetzt eingeben, werden nicht gesichert.")
                 .arg(storePath(), describe(stored.error)));
        return;
    }
    warn(tr("Gespeicherte Namen"),
         tr("Die gespeicherten Namen in %1 konnten nicht gelesen werden.\n%2\n\n"
            "Die Datei wurde zur Seite gelegt und bleibt erhalten:\n%3\n\n%4")
             .arg(storePath(), describe(stored.error), QDir::toNativeSeparators(stored.setAsidePath), outcome));
}

void StoreReports::reportFailure(const StoreError &error)
{
    warn(tr("Namen sichern"), tr("Die Namen konnten nicht in %1 gesichert werden.\n%2\n\n"
                                 "Sie bleiben im Fenster und werden gesichert, sobald es wieder geht; bis dahin zeigt "
                                 "das Fenster, wie viele Namen warten.")
                                  .arg(storePath(), describe(error)));
}

// Its names cannot be merged; the stored names stay as they were.
void StoreReports::reportCopy(const NamesStore::LoadResult &copy)
{
    warn(tr("Gespeicherte Namen"),
         tr("Eine Konfliktkopie der Namen, die ein Dienst zum Abgleichen von Ordnern neben %1 abgelegt hat, "
            "konnte nicht gelesen werden.\n%2\n\n"
            "Sie wurde zur Seite gelegt und bleibt erhalten:\n%3\n\nDie gespeicherten Namen bleiben, wie sie sind.")
             .arg(storePath(), describe(copy.error), QDir::toNativeSeparators(copy.setAsidePath)));
}

// Merged where they could be; the next look after a change of the folder tries again.
void StoreReports::reportCopiesStay(const StoreError &error)
{
    warn(tr("Gespeicherte Namen"),
         tr("Konfliktkopien der Namen, die ein Dienst zum Abgleichen von Ordnern neben %1 abgelegt hat, bleiben dort "
            "liegen, bis sie eingearbeitet und in den Ordner Konfliktkopien verschoben werden können:\n%2")
             .arg(storePath(), describe(error)));
}

void StoreReports::warn(const QString &title, const QString &text)
{
    ReportQueue::show(window, QMessageBox::Warning, title, text);
}

QString StoreReports::storePath() const
{
    return QDir::toNativeSeparators(store->file());
}

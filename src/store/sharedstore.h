#ifndef SHAREDSTORE_H
#define SHAREDSTORE_H

#include "names/nameentries.h"
#include "store/ownedits.h"
#include "store/storelock.h"
#include "store/storeretry.h"
#include "store/storeworker.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class QThread;

// The store file that every window and the command line share, as one window sees it. Each
// edit is stamped with the moment it is made; the store keeps the later of two edits of an
// address, whichever side stores first. The files are read and written on a thread of the
// store's own, so nothing here waits for them. A write that fails is tried again by itself;
// only a failure that lasts is reported. Knows no widget.
class SharedStore : public QObject
{
    Q_OBJECT

public:
    // How long one who must know waits for the store: longer than a lock left behind stays in
    // the way (StoreLock::staleMs).
    static constexpr int patienceMs = StoreLock::staleMs + 5000;

    explicit SharedStore(QString path, QObject *parent = nullptr);
    // Stores what is still pending, once, so that nothing is left behind by accident.
    ~SharedStore() override;

    // Reads the store and follows it from then on; restored() tells what was found. A
    // damaged one is set aside, or, where it cannot be, left alone and storing stays off for
    // this run, so it is never overwritten. One that cannot be opened now is read again.
    void restore();

    const QString &file() const { return path; }
    // What is stored, with this side's later edits on top.
    Names names() const;

    // Edits made now. Each counts as later than the name it replaces here.
    void put(const NameEntries &entries);
    // Asks for what is pending to be stored now.
    void storeNow();
    // Runs the event loop until what is pending is stored, storing fails for another reason
    // than another side's lock, or one side kept the lock ms long: while it changes hands,
    // others store, and this waits on. True when nothing is left pending.
    bool waitStored(int ms);
    // Runs the event loop until restore() was answered, at most ms.
    bool waitRestored(int ms);
    // Gives up what is pending, which is then not stored when this side goes away either.
    void discardPending();
    qsizetype pendingCount() const { return pending.size() + inFlight.size(); }
    // The pending names cannot be stored: a lasting failure, or storing is off.
    bool failing() const { return retries.told() || !storing; }
    // Why the last try failed.
    const StoreError &error() const { return lastError; }

signals:
    void restored(const NamesStore::LoadResult &found);
    void namesChanged(const Names &names);
    // Once, when a failure has lasted a while, not at every try.
    void failed(const StoreError &error);
    // failing() or pendingCount() changed.
    void stateChanged();
    // The store turned out damaged while running: set aside (or, with no path, left alone
    // and storing stopped), and this side's names stored anew.
    void setAside(const NamesStore::LoadResult &found);
    // A sync service's conflict copy of the store turned out damaged and was set aside; the store is as it was.
    void copySetAside(const NamesStore::LoadResult &found);
    // Conflict copies stay beside the store, for this reason: looked at again once the folder changes.
    void copiesStay(const StoreError &error);
    // Names this side gave that another side replaced by ones made before this side's were
    // stored, so made without knowing them: this side's names.
    void replaced(const NameEntries &ours);
    // The worker answered.
    void answered();

private:
    void restoredBy(const NamesStore::LoadResult &found);
    void changedBy(const StoreFile::Snapshot &snapshot);
    void writtenBy(const StoreWorker::Written &written);
    // The names now stored; with times guessed (not settled), shown, but only the next store decides.
    void take(const StampedNames &nowStored, bool settled, OwnEdits::Made made = OwnEdits::Made::Knowing);
    void takeSettled(const StampedNames &nowStored, OwnEdits::Made made = OwnEdits::Made::Knowing);
    void failedAgain();
    // The last try failed for the lock, which holder kept.
    bool locked(StoreLock::Holder holder) const;
    void stalled();
    bool waitUntil(const std::function<bool()> &done, int ms);

    const QString path;
    QThread *thread;
    StoreWorker *worker;
    QTimer retry;
    QTimer answerWait;
    qint64 answerSince = 0; // on StoreClock::ticks()
    StoreRetry retries;
    StampedNames stored;   // the file as last read or written
    StampedNames pending;  // this side's edits not yet handed to the worker
    StampedNames inFlight; // handed to the worker, not yet answered
    OwnEdits own;          // to tell when a later edit made meanwhile replaced one
    StoreError lastError;
    StoreLock::Holder lastHolder = StoreLock::Holder::Live; // of the lock, where that failed
    int handsChanged = 0;                                   // times the lock changed hands while a try waited for it
    bool busy = false;
    bool restoredYet = false;
    bool storing = true;
};

#endif

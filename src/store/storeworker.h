#ifndef STOREWORKER_H
#define STOREWORKER_H

#include "store/namesstore.h"
#include "store/storecopies.h"
#include "store/storefile.h"
#include "store/storelock.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

// The store's file system side, on a thread of its own: a folder that stalls blocks this
// thread in the kernel, never a window's. Follows the store by the system's notifications
// and, since on a network folder no change made by another computer is notified, by a
// cheap look at both files twice a second, on the store's clock. At each look it merges the
// conflict copies a sync service left beside the store.
class StoreWorker : public QObject
{
    Q_OBJECT

public:
    struct Written
    {
        StoreError error;
        StoreLock::Holder holder = StoreLock::Holder::Live; // who kept the lock, where it could not be taken
        std::optional<NamesStore::LoadResult> setAside;
        StampedNames names; // the store as written
        // Not tried: the store's names are guessed while a sync service brings its list and times apart.
        bool deferred = false;
    };

    explicit StoreWorker(QString path);

    // Each is called on the worker's thread and answers with a signal.
    // Reads the store, setting a damaged one aside, and follows it from then on.
    void restore();
    // Under the lock, the edits merged into the store as it is then; known stands in for a
    // store that is gone, or damaged and set aside.
    void write(const StampedNames &known, const StampedNames &edits);
    // The last write of a side that goes away, tried again within withinMs; answers nothing.
    void writeLast(const StampedNames &known, const StampedNames &edits, int withinMs);
    // Stops following the store and ends the thread; the worker is deleted after it.
    void stop();

signals:
    void restored(const NamesStore::LoadResult &found);
    // The store changed, or could be read at last; a snapshot that is not ok() is damaged.
    void changed(const StoreFile::Snapshot &snapshot);
    void written(const StoreWorker::Written &written);
    // A damaged conflict copy was set aside.
    void copySetAside(const NamesStore::LoadResult &found);
    // Conflict copies stay beside the store, unmerged or unmoved, for this reason.
    void copiesStay(const StoreError &error);

private:
    // Whether a write waits while a sync service brings the list and its times apart; the last one cannot.
    enum class Apart { Defer, Write };
    Written writeLocked(const StampedNames &known, const StampedNames &edits, Apart apart);
    void follow();
    bool mergeCopies();
    void check();
    void watch();

    const QString path;
    StoreCopies copies;
    QFileSystemWatcher *watcher = nullptr; // while it follows the store
    QTimer *poll = nullptr;
    std::pair<StoreFile::Identity, StoreFile::Identity> seen;
    bool seenRead = false; // what seen names was read, or found damaged
};

#endif

#ifndef STORELOCK_H
#define STORELOCK_H

#include "store/storeerror.h"

#include <QLockFile>

#include <atomic>
#include <thread>

// The lock every side takes to write the store: "<store>.lock", as QLockFile keeps it. A
// lock whose process on this computer is gone, a zombie included, is freed at once; any
// other once it is no longer refreshed: by its age, or, since a sync service brings another
// computer's lock with that computer's times, as watched on this computer's own clock. So
// that a live lock is never taken for left behind, its holder keeps it fresh while it holds
// it. Waits, so never on a window's thread.
class StoreLock
{
public:
    // A lock not refreshed for this long is taken as left behind.
    static constexpr int staleMs = 10000;
    // An empty lock is one being made, which takes no longer than this on a local disk.
    static constexpr int makingMs = 1000;

    // Who kept the lock while acquire() waited in vain.
    enum class Holder {
        Live,    // one side, shown alive: a process here, or seen refreshing the lock
        Unknown, // one side not shown alive, so perhaps left behind: freed once it is
        Changing // one side after another: others store meanwhile
    };

    explicit StoreLock(const QString &storePath);
    ~StoreLock(); // releases it
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;

    // Waits up to waitMs on the store's clock for another side to release it.
    bool acquire(int waitMs);
    // Why acquire failed, naming the holder of a held lock.
    StoreError error() const;
    Holder holder() const { return kept; }
    // How often the holder's refresher has looked whether the lock is due a refresh: a test
    // that moves the clock waits for the next look rather than for a while.
    int looks() const { return looked; }

private:
    void keepFresh(qint64 due);

    const QString path;
    QLockFile lock;
    std::thread refresher;
    std::atomic<bool> held = false;
    std::atomic<int> looked = 0;
    Holder kept = Holder::Unknown;
};

#endif

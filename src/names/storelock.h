#ifndef STORELOCK_H
#define STORELOCK_H

#include "names/namescsv.h"

#include <QLockFile>

#include <atomic>
#include <thread>

// The lock every side takes to write the store: "<store>.lock", as QLockFile keeps it. A
// lock whose process is gone is freed at once where it can be asked (this computer), one
// left by another computer or by a process killed while creating it by its age. So that a
// live lock is never taken for left behind, its holder keeps it fresh while it holds it.
// Waits, so never on a window's thread.
class StoreLock
{
public:
    // A lock not refreshed for this long is taken as left behind.
    static constexpr int staleMs = 10000;

    explicit StoreLock(const QString &storePath);
    ~StoreLock(); // releases it
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;

    // Waits up to waitMs on the store's clock for another side to release it.
    bool acquire(int waitMs);
    // Why acquire failed, naming the holder of a held lock.
    NamesCsv::Error error() const;

private:
    void keepFresh(qint64 due);

    const QString path;
    QLockFile lock;
    std::thread refresher;
    std::atomic<bool> held = false;
};

#endif

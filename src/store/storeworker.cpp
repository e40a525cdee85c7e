#include "store/storeworker.h"

#include "store/storeclock.h"
#include "store/storelock.h"
#include "store/storeretry.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QThread>

namespace {

// Others write for milliseconds at a time; a lock left behind is freed as StoreLock judges it.
constexpr int lockWaitMs = 1000;
// Twice a second: a network folder may itself show a change only a second late.
constexpr int pollMs = 500;

} // namespace

StoreWorker::StoreWorker(QString path)
    : path(std::move(path))
    , copies(this->path)
{
}

void StoreWorker::restore()
{
    mergeCopies();
    seen = StoreFile::identify(path);
    const NamesStore::LoadResult found = NamesStore::load(path);
    seenRead = !found.leftInPlace();
    emit restored(found);
    follow();
}

// Made here, on the worker's thread: on Windows the watcher hooks into the event loop of the
// thread that makes it, and would be left hooked into a window's.
void StoreWorker::follow()
{
    watcher = new QFileSystemWatcher(this);
    poll = new QTimer(this);
    StoreClock::drive(*poll);
    connect(poll, &QTimer::timeout, this, [this] {
        poll->start(pollMs); // anew: moving the clock may have shortened it
        check();
    });
    connect(watcher, &QFileSystemWatcher::fileChanged, this, &StoreWorker::check);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, &StoreWorker::check);
    watch();
    poll->start(pollMs);
}

// Told only once the lock is released, so that whoever hears of it finds the lock free.
void StoreWorker::write(const StampedNames &known, const StampedNames &edits)
{
    const Written written = writeLocked(known, edits, Apart::Defer);
    emit this->written(written);
}

// A side going away cannot try again later: on Windows another side reading the file for a
// moment keeps it from being replaced, so this tries again for a while.
void StoreWorker::writeLast(const StampedNames &known, const StampedNames &edits, int withinMs)
{
    StoreRetry::repeat([&] { return writeLocked(known, edits, Apart::Write).error; }, StoreRetry::lastWrite(withinMs));
}

StoreWorker::Written StoreWorker::writeLocked(const StampedNames &known, const StampedNames &edits, Apart apart)
{
    Written written;
    if (apart == Apart::Defer)
        mergeCopies(); // what waits beside the list first
    // Guessed times written would stand as made then, and erase what the times on their way still hold.
    if (apart == Apart::Defer && copies.listsWait()) {
        written.deferred = true;
        return written;
    }
    StoreLock lock(path);
    if (!lock.acquire(lockWaitMs)) {
        written.error = lock.error();
        written.holder = lock.holder();
        return written;
    }
    const NamesStore::LoadResult found = NamesStore::load(path);
    if (found.leftInPlace()) {
        written.error = found.error; // tried again, not set aside
    } else if (!found.ok()) {
        written.setAside = found;
        if (found.setAsidePath.isEmpty())
            written.error = found.error;
    }
    if (written.error.ok()) {
        written.names = NamesTimes::merged(found.ok() && found.exists ? found.names : known, edits);
        // This computer recorded as a writer, by which OneDrive names its conflict copies.
        const Writers writers = NamesTimes::merged(found.writers, {{QSysInfo::machineHostName(), StoreClock::now()}});
        if (written.names != found.names || !found.settled)
            written.error = StoreFile::write(path, written.names, writers);
    }
    // This side's own write, or its try, is no news; a store that could not be read is read again.
    seen = StoreFile::identify(path);
    seenRead = !found.leftInPlace();
    return written;
}

// The watcher and the timer end on the thread that made them, while its event loop runs.
void StoreWorker::stop()
{
    delete std::exchange(watcher, nullptr);
    delete std::exchange(poll, nullptr);
    thread()->quit();
}

void StoreWorker::check()
{
    if (watcher == nullptr)
        return; // stopped
    watch();
    const bool merged = mergeCopies();
    const auto now = StoreFile::identify(path);
    if (seenRead && now == seen)
        return;
    StoreFile::Snapshot snapshot = StoreFile::read(path);
    snapshot.copiesMerged = merged;
    seen = snapshot.identity;
    seenRead = !snapshot.error.is(NamesCsv::ErrorKind::Unreadable);
    if (!seenRead)
        return; // read again at the next look
    emit changed(snapshot);
}

bool StoreWorker::mergeCopies()
{
    const StoreCopies::Merged merged = copies.merge();
    for (const NamesStore::LoadResult &found : merged.setAside)
        emit copySetAside(found);
    if (!merged.stays.ok())
        emit copiesStay(merged.stays);
    return merged.wrote;
}

// A replaced file ends the system's watch on it; the folder's watch sees the replacement.
void StoreWorker::watch()
{
    const QString folder = QFileInfo(path).path();
    if (!watcher->directories().contains(folder) && QFileInfo::exists(folder))
        watcher->addPath(folder);
    if (!watcher->files().contains(path) && QFileInfo::exists(path))
        watcher->addPath(path);
}

#include "document/sharedstore.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSignalBlocker>
#include <QThread>

namespace {

// Others write for milliseconds at a time: a short poll lets a waiting side in between them.
constexpr int lockWaitMs = 5000;
constexpr int lockPollMs = 10;
// A lock from another machine, whose process cannot be asked, is taken as left behind after this.
constexpr int staleLockMs = 10000;
// The locking process writes its PID right after creating the file: an empty one older than
// this was left by a process killed in between.
constexpr int abandonedLockMs = 1000;
// Tries again soon, then less often; a failure that heals in a few seconds is not reported.
constexpr int firstRetryMs = 250;
constexpr int lastRetryMs = 30000;
constexpr int reportAfterMs = 3000;

void removeIfAbandoned(const QString &lockPath)
{
    const auto abandoned = [&lockPath] {
        const QFileInfo info(lockPath);
        return info.exists() && info.size() == 0
               && info.lastModified().msecsTo(QDateTime::currentDateTime()) > abandonedLockMs;
    };
    if (!abandoned())
        return;
    // So that two sides never remove each other's fresh lock, as QLockFile does with its own.
    QLockFile removing(lockPath + QStringLiteral(".rmlock"));
    if (removing.tryLock(0) && abandoned())
        QFile::remove(lockPath);
}

bool acquire(QLockFile &lock, const QString &lockPath)
{
    lock.setStaleLockTime(staleLockMs);
    const QDeadlineTimer deadline(lockWaitMs);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        removeIfAbandoned(lockPath);
        QThread::msleep(lockPollMs);
    }
    return true;
}

} // namespace

SharedStore::SharedStore(QString path, QObject *parent)
    : QObject(parent)
    , path(std::move(path))
    , retryDelayMs(firstRetryMs)
{
    retry.setSingleShot(true);
    connect(&retry, &QTimer::timeout, this, [this] {
        if (!storeNow())
            tryAgainLater();
    });
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, &SharedStore::reload);
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, &SharedStore::reload);
}

SharedStore::~SharedStore()
{
    const QSignalBlocker gone(this); // those listening may be gone already
    storeNow();
}

NamesCsv::ReadResult SharedStore::read(const QString &path)
{
    if (!QFileInfo::exists(path))
        return {};
    return NamesCsv::readFile(path);
}

NamesStore::LoadResult SharedStore::restore()
{
    NamesStore::LoadResult found = NamesStore::load(path);
    if (found.error.kind == NamesCsv::ErrorKind::Unreadable) {
        QTimer::singleShot(firstRetryMs, this, &SharedStore::reload); // its names are merged when storing
    } else if (!found.ok() && found.setAsidePath.isEmpty()) {
        storing = false; // storing now would overwrite the only copy of what the file holds
        lastError = found.error;
    }
    stored = found.names;
    watch();
    emit namesChanged(names());
    return found;
}

Names SharedStore::names() const
{
    Names names = stored;
    for (auto entry = pending.cbegin(); entry != pending.cend(); ++entry) {
        if (entry->name)
            names.insert(entry.key(), *entry->name);
        else
            names.remove(entry.key());
    }
    return names;
}

void SharedStore::put(const NameEntries &entries, const NameEntries *guard)
{
    if (entries.isEmpty())
        return;
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry)
        pending.insert(entry.key(),
                       {entry.value(), guard != nullptr, guard ? guard->value(entry.key()) : std::nullopt});
    emit namesChanged(names());
    emit stateChanged();
    retry.start(0); // once the event loop is idle: a burst of changes is one write
}

bool SharedStore::storeNow()
{
    if (pending.isEmpty())
        return true;
    if (!storing)
        return false;
    const Outcome outcome = writeMerged();
    // Told only now, with the lock released, so that no listener runs inside a write.
    if (outcome.setAside)
        emit setAside(*outcome.setAside);
    lastError = outcome.error;
    if (!storing) {
        emit stateChanged();
        return false;
    }
    if (outcome.error.kind == NamesCsv::ErrorKind::None) {
        stored = outcome.written;
        pending.clear();
        retry.stop();
        retryDelayMs = firstRetryMs;
        failingFor.invalidate();
        reported = false;
        emit namesChanged(stored);
        emit stateChanged();
        return true;
    }
    if (!failingFor.isValid())
        failingFor.start();
    if (!reported && failingFor.elapsed() >= reportAfterMs) {
        reported = true;
        emit failed(outcome.error);
        emit stateChanged();
    }
    return false;
}

void SharedStore::tryAgainLater()
{
    if (!storing)
        return;
    retry.start(retryDelayMs);
    retryDelayMs = std::min(2 * retryDelayMs, lastRetryMs);
}

// Under the lock, the file as it is now, with this side's pending names on top.
SharedStore::Outcome SharedStore::writeMerged()
{
    Outcome outcome;
    const QString lockPath = path + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    if (!QDir().mkpath(QFileInfo(path).path()) || !acquire(lock, lockPath)) {
        const bool held = lock.error() == QLockFile::LockFailedError;
        outcome.error = {held ? NamesCsv::ErrorKind::Locked : NamesCsv::ErrorKind::FolderUnwritable, 0, {}};
        return outcome;
    }
    const bool exists = QFileInfo::exists(path); // a store deleted meanwhile gets all of ours
    const NamesStore::LoadResult found = NamesStore::load(path);
    if (found.error.kind == NamesCsv::ErrorKind::Unreadable) {
        outcome.error = found.error; // tried again, not set aside
        return outcome;
    }
    if (!found.ok()) {
        outcome.setAside = found;
        storing = !found.setAsidePath.isEmpty();
        if (!storing) {
            outcome.error = found.error;
            return outcome;
        }
    }
    outcome.written = withPending(exists && found.ok() ? found.names : stored);
    outcome.error = NamesCsv::writeFile(path, outcome.written);
    return outcome;
}

// A guarded name replaces only the name it was guarded by; another side's later one stands.
Names SharedStore::withPending(Names base) const
{
    for (auto entry = pending.cbegin(); entry != pending.cend(); ++entry) {
        if (entry->guarded && entryOf(base, entry.key()) != entry->over)
            continue;
        if (entry->name)
            base.insert(entry.key(), *entry->name);
        else
            base.remove(entry.key());
    }
    return base;
}

// Another side, or another program, changed the store, or its folder changed.
void SharedStore::reload()
{
    watch();
    if (storing && QFileInfo::exists(path)) {
        const NamesCsv::ReadResult read = NamesCsv::readFile(path);
        if (read.ok()) {
            stored = read.names;
            emit namesChanged(names());
        } else if (read.error.kind != NamesCsv::ErrorKind::Unreadable) {
            const Names all = names();
            put(entriesOf(all, all.keys())); // sets the damaged file aside and stores all of ours anew
        }
    }
    if (!pending.isEmpty())
        retry.start(0); // perhaps what made it fail is gone
}

// QSaveFile replaces the file by a rename, which ends a watch on the file; the folder's
// watch sees it, and the new file is watched again.
void SharedStore::watch()
{
    const QString folder = QFileInfo(path).path();
    if (QDir().mkpath(folder) && !watcher.directories().contains(folder))
        watcher.addPath(folder);
    if (QFileInfo::exists(path) && !watcher.files().contains(path))
        watcher.addPath(path);
}

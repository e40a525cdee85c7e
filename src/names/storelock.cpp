#include "names/storelock.h"

#include "names/storeclock.h"
#include "names/storefile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace {

// Well inside staleMs, so that a slow folder delays a refresh without the lock turning stale.
constexpr int refreshEveryMs = StoreLock::staleMs / 4;
// As QLockFile::tryLock() waits: soon, then less often.
constexpr int firstLockPauseMs = 100;

} // namespace

StoreLock::StoreLock(const QString &storePath)
    : path(storePath + QStringLiteral(".lock"))
    , lock(path)
{
    lock.setStaleLockTime(staleMs);
}

StoreLock::~StoreLock()
{
    if (!held.exchange(false))
        return;
    StoreClock::wake();
    refresher.join();
    lock.unlock();
}

bool StoreLock::acquire(int waitMs)
{
    // QLockFile would read a link there as another's lock, and remove it once stale.
    if (!QDir().mkpath(QFileInfo(path).path()) || StoreFile::isLink(path))
        return false;
    const qint64 until = StoreClock::ticks() + waitMs;
    for (int pauseMs = firstLockPauseMs; !lock.tryLock(0); pauseMs = std::min(2 * pauseMs, waitMs)) {
        const qint64 leftMs = until - StoreClock::ticks();
        if (lock.error() != QLockFile::LockFailedError || leftMs <= 0)
            return false;
        StoreClock::pause(int(std::min<qint64>(pauseMs, leftMs)));
    }
    held = true;
    refresher = std::thread(&StoreLock::keepFresh, this, StoreClock::ticks() + refreshEveryMs);
    return true;
}

NamesCsv::Error StoreLock::error() const
{
    if (StoreFile::isLink(path))
        return StoreFile::linkError(path);
    // QLockFile takes a folder in its place for a lock held by another.
    if (QFileInfo(path).isDir())
        return StoreFile::folderError(path);
    if (lock.error() != QLockFile::LockFailedError)
        return NamesCsv::writeError(QFileInfo(path).path(), QString());
    qint64 pid = 0;
    QString host;
    QString program;
    if (!lock.getLockInfo(&pid, &host, &program))
        return {NamesCsv::ErrorKind::Locked, 0, QDir::toNativeSeparators(path)};
    return {NamesCsv::ErrorKind::Locked, 0,
            QStringLiteral("%1, %2, %3").arg(QFileInfo(program).fileName(), QString::number(pid), host)};
}

// Where the lock is held open (Windows), it cannot be taken for stale and needs no refresh.
void StoreLock::keepFresh(qint64 due)
{
    while (!StoreClock::waitUntil(due, [this] { return !held; })) {
        // The file's time is what QLockFile compares with the system's clock.
#ifdef Q_OS_UNIX
        ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), nullptr, AT_SYMLINK_NOFOLLOW);
#else
        QFile file(path);
        if (file.open(QIODevice::ReadWrite))
            file.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
#endif
        due = StoreClock::ticks() + refreshEveryMs;
    }
}

#include "names/storelock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>

namespace {

// Well inside staleMs, so that a slow folder delays a refresh without the lock turning stale.
constexpr std::chrono::milliseconds refreshEvery(StoreLock::staleMs / 4);

} // namespace

StoreLock::StoreLock(const QString &storePath)
    : path(storePath + QStringLiteral(".lock"))
    , lock(path)
{
    lock.setStaleLockTime(staleMs);
}

StoreLock::~StoreLock()
{
    if (!held)
        return;
    {
        const std::lock_guard<std::mutex> guard(releasing);
        held = false;
    }
    released.notify_one();
    refresher.join();
    lock.unlock();
}

bool StoreLock::acquire(int waitMs)
{
    if (!QDir().mkpath(QFileInfo(path).path()) || !lock.tryLock(waitMs))
        return false;
    held = true;
    refresher = std::thread(&StoreLock::keepFresh, this);
    return true;
}

NamesCsv::Error StoreLock::error() const
{
    // QLockFile takes a folder in its place for a lock held by another.
    if (QFileInfo(path).isDir())
        return {NamesCsv::ErrorKind::Unwritable, 0,
                QStringLiteral("%1 is a folder").arg(QDir::toNativeSeparators(path))};
    if (lock.error() != QLockFile::LockFailedError)
        return NamesCsv::writeError(QFileInfo(path).path(), QString());
    qint64 pid = 0;
    QString host;
    QString program;
    if (!lock.getLockInfo(&pid, &host, &program))
        return {NamesCsv::ErrorKind::Locked, 0, QDir::toNativeSeparators(path)};
    return {NamesCsv::ErrorKind::Locked, 0,
            QStringLiteral("%1 (%2, %3)").arg(QFileInfo(program).fileName(), QString::number(pid), host)};
}

// Where the lock is held open (Windows), it cannot be taken for stale and needs no refresh.
void StoreLock::keepFresh()
{
    std::unique_lock<std::mutex> guard(releasing);
    while (!released.wait_for(guard, refreshEvery, [this] { return !held; })) {
        QFile file(path);
        if (file.open(QIODevice::ReadWrite))
            file.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
    }
}

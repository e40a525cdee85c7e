#include "store/storelock.h"

#include "store/storeclock.h"
#include "store/storepath.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSysInfo>

#include <algorithm>
#include <mutex>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace {

// Well inside staleMs, so that a slow folder delays a refresh without the lock turning stale.
constexpr int refreshEveryMs = StoreLock::staleMs / 4;
// As QLockFile::tryLock() waits: soon, then less often.
constexpr int firstLockPauseMs = 100;
// QLockFile writes a few short lines; more is not one of its locks.
constexpr qint64 lockBytes = 4096;
// The lines QLockFile writes.
enum Line { PidLine, ProgramLine, HostLine, HostIdLine };

// A lock as this process last saw it, and since when unchanged, on the store's clock.
struct Sighting
{
    QByteArray holder; // what the lock says
    qint64 changedMs = 0;
    qint64 sinceTicks = 0;
    bool refreshed = false; // seen refreshed meanwhile
};

enum class Verdict { Stale, Live, Unknown };

struct Look
{
    Verdict verdict;
    QByteArray who; // one holder from the next, also where one side takes it again
};

// This computer as QLockFile names it in a lock: on Windows not by its host name.
QByteArray thisComputer()
{
#ifdef Q_OS_WIN
    return qgetenv("COMPUTERNAME");
#else
    return QSysInfo::machineHostName().toUtf8();
#endif
}

// Exactly those whose process QLockFile checks itself, so that none gone is kept as live.
bool ofThisComputer(const QList<QByteArray> &lines)
{
    const QByteArray host = lines.value(HostLine);
    const QByteArray hostId = lines.value(HostIdLine);
    const QByteArray ourId = QSysInfo::machineUniqueId();
    if (!hostId.isEmpty() && !ourId.isEmpty())
        return hostId == ourId;
    return host.isEmpty() || host == thisComputer();
}

Look look(const QString &path)
{
    static std::mutex guard;
    static QHash<QString, Sighting> sightings; // by lock
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) // released meanwhile, or one this side may not read
        return {Verdict::Unknown, {}};
    const QByteArray holder = file.read(lockBytes);
    // Asked once it is open: a network folder tells a file's times anew then.
    const QFileInfo info(path);
    const QDateTime birth = info.birthTime();
    const qint64 madeMs = birth.isValid() ? birth.toMSecsSinceEpoch() : 0;
    const qint64 changedMs = info.lastModified().toMSecsSinceEpoch();
    const qint64 ticks = StoreClock::ticks();
    const std::scoped_lock locked(guard);
    Sighting &seen = sightings[path];
    if (seen.holder != holder || seen.sinceTicks == 0)
        seen = {holder, changedMs, ticks, false};
    else if (seen.changedMs != changedMs) // refreshed, or taken again by the same side: alive
        seen = {holder, changedMs, ticks, true};
    const QByteArray who = holder + QByteArray::number(madeMs);
    const QList<QByteArray> lines = holder.split('\n');
    const qint64 pid = lines.first().toLongLong();
    // One of this computer whose process is gone, a zombie too (its program can no longer
    // be read), QLockFile frees itself: that test is kept with staleLockTime 0.
    if (pid > 0 && ofThisComputer(lines))
        return {Verdict::Live, who};
    // Not refreshed for this long by this computer's clock, or watched unchanged as long,
    // which counts also where the other computer's clock is ahead.
    const qint64 freshMs = pid > 0 ? StoreLock::staleMs : StoreLock::makingMs;
    if (StoreClock::now() - changedMs >= freshMs || ticks - seen.sinceTicks >= freshMs)
        return {Verdict::Stale, who};
    return {seen.refreshed ? Verdict::Live : Verdict::Unknown, who};
}

} // namespace

StoreLock::StoreLock(const QString &storePath)
    : path(storePath + QStringLiteral(".lock"))
    , lock(path)
{
    lock.setStaleLockTime(0); // judged here, on the store's clock; QLockFile still frees a lock whose process is gone
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
    if (!QDir().mkpath(QFileInfo(path).path()) || StorePath::isLink(path))
        return false;
    const qint64 until = StoreClock::ticks() + waitMs;
    QByteArray first;
    bool changing = false;
    for (int pauseMs = firstLockPauseMs; !lock.tryLock(0); pauseMs = std::min(2 * pauseMs, waitMs)) {
        if (lock.error() != QLockFile::LockFailedError)
            return false;
        const Look seen = look(path);
        // Under a lock of its own, as QLockFile frees one, so that no two sides free one
        // after the other, the second the first one's new lock. That one, too, may be
        // another computer's, left behind there and carried here: judged as its locks are.
        const QString freerPath = path + QStringLiteral(".rmlock");
        if (QFileInfo::exists(freerPath) && look(freerPath).verdict == Verdict::Stale)
            QFile::remove(freerPath);
        if (seen.verdict == Verdict::Stale) {
            QLockFile freeing(freerPath);
            freeing.setStaleLockTime(0);
            if (freeing.tryLock(0) && look(path).verdict == Verdict::Stale && lock.removeStaleLockFile())
                continue;
        }
        if (first.isEmpty())
            first = seen.who;
        changing = changing || first != seen.who;
        kept = changing ? Holder::Changing : seen.verdict == Verdict::Live ? Holder::Live : Holder::Unknown;
        const qint64 leftMs = until - StoreClock::ticks();
        if (leftMs <= 0)
            return false;
        StoreClock::pause(int(std::min<qint64>(pauseMs, leftMs)));
    }
    held = true;
    refresher = std::thread(&StoreLock::keepFresh, this, StoreClock::ticks() + refreshEveryMs);
    return true;
}

StoreError StoreLock::error() const
{
    if (StorePath::isLink(path))
        return StorePath::linkError(path);
    // QLockFile takes a folder in its place for a lock held by another.
    if (QFileInfo(path).isDir())
        return StorePath::folderError(path);
    if (lock.error() != QLockFile::LockFailedError)
        return NamesCsv::writeError(QFileInfo(path).path(), QString());
    qint64 pid = 0;
    QString host;
    QString program;
    if (!lock.getLockInfo(&pid, &host, &program))
        return {StoreError::Kind::Locked, QDir::toNativeSeparators(path)};
    return {StoreError::Kind::Locked,
            QStringLiteral("%1, %2, %3").arg(QFileInfo(program).fileName(), QString::number(pid), host)};
}

// Where the lock is held open (Windows), it cannot be taken for stale and needs no refresh.
void StoreLock::keepFresh(qint64 due)
{
    const auto released = [this] {
        ++looked;
        return !held;
    };
    while (!StoreClock::waitUntil(due, released)) {
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

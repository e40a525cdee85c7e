#include "store/storefile.h"

#include "base/outputfile.h"
#include "store/storeclock.h"
#include "store/storepath.h"
#include "store/storeretry.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <QRandomGenerator>

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <windows.h>
#endif

namespace {

using StoreFile::Identity;
using StoreFile::Snapshot;

constexpr int readAttempts = 4;
constexpr int rereadPauseMs = 100;
// A list changed this recently by a program that keeps no times may still be being written.
constexpr qint64 beingWrittenMs = 2000;
// Far more than the times of 96 names take.
constexpr qint64 timesMaxBytes = qint64{64} * 1024;
constexpr qint64 nanosecondsPerSecond = 1000000000;
constexpr qint64 nanosecondsPerMs = 1000000;
constexpr qint64 missingSize = -1;
constexpr qint64 unknownSize = -2; // the file cannot be looked at, so whether it is there is unknown
constexpr int keptNameLength = 16; // hex digits of the kept times' hash, as long as the times' own fingerprints
#ifdef Q_OS_UNIX
constexpr int temporaryAttempts = 100;
constexpr qint64 msPerSecond = 1000;
constexpr int temporaryNameBase = 36;
constexpr mode_t newFileMode = 0666; // less the user's umask, as any program makes a file
constexpr mode_t permissionBits = 0777;
#endif

Identity identifyFile(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {errno == ENOENT ? missingSize : unknownSize, -1, 0};
    return {status.st_size, status.st_mtim.tv_sec * nanosecondsPerSecond + status.st_mtim.tv_nsec,
            static_cast<quint64>(status.st_ino)};
#else
    const QFileInfo info(path);
    if (!info.exists())
        return {missingSize, -1, 0};
    return {info.size(), info.lastModified().toMSecsSinceEpoch() * nanosecondsPerMs,
            static_cast<quint64>(info.birthTime().toMSecsSinceEpoch())};
#endif
}

Snapshot readOnce(const QString &path)
{
    Snapshot snapshot;
    snapshot.identity = StoreFile::identify(path);
    snapshot.exists = snapshot.identity.first.size != missingSize;
    if (!snapshot.exists)
        return snapshot;
    if (snapshot.identity.first.size == unknownSize) {
        QFile file(path);
        [[maybe_unused]] const bool opened = file.open(QIODevice::ReadOnly); // for the system's reason
        snapshot.error = NamesCsv::Error{NamesCsv::ErrorKind::Unreadable, 0, file.errorString()};
        return snapshot;
    }
    NamesCsv::Error unread;
    const std::optional<QByteArray> list = NamesCsv::readData(path, unread, NamesCsv::maxListBytes);
    if (!list) {
        snapshot.error = unread;
        return snapshot;
    }
    const NamesCsv::ReadResult read = NamesCsv::parse(*list);
    snapshot.error = read.error;
    NamesCsv::Error timesError; // a times file that cannot be read counts as none
    const QByteArray times =
        NamesCsv::readData(StoreFile::timesPath(path), timesError, timesMaxBytes).value_or(QByteArray());
    const qint64 changedMs = snapshot.identity.first.modified / nanosecondsPerMs;
    NamesTimes::Stamping stamping = NamesTimes::stamp(read.names, *list, times, changedMs);
    const QDir copies(StoreFile::copiesPath(path));
    // The times of a list merged as a conflict copy and moved aside, this one having come in its place without
    // its own: it erased none of that list's names, which stand as those times tell.
    const QString listCopies = QFileInfo(path).completeBaseName() + QStringLiteral("*.csv");
    for (const QString &name : stamping.settled ? QStringList() : copies.entryList({listCopies}, QDir::Files)) {
        const std::optional<QByteArray> copy =
            NamesCsv::readData(copies.filePath(name), timesError, NamesCsv::maxListBytes);
        if (!copy || !NamesTimes::settles(*copy, times))
            continue;
        // Times written with a list record each of its names.
        stamping.names = NamesTimes::merged(NamesTimes::stamp(read.names, *list, {}, changedMs).names,
                                            NamesTimes::stamp(NamesCsv::parse(*copy).names, *copy, times, 0).names);
    }
    // A sync service may bring the list alone, its times having been merged as a conflict copy and moved aside.
    const QString timesCopies = QFileInfo(path).completeBaseName() + QStringLiteral("*.zeiten");
    for (const QString &name : stamping.settled ? QStringList() : copies.entryList({timesCopies}, QDir::Files)) {
        const QByteArray copy =
            NamesCsv::readData(copies.filePath(name), timesError, timesMaxBytes).value_or(QByteArray());
        if (!NamesTimes::settles(*list, copy)
            || !NamesTimes::writtenWith(QFileInfo(copies.filePath(name)).lastModified().toMSecsSinceEpoch(), changedMs))
            continue;
        const NamesTimes::Stamping moved = NamesTimes::stamp(read.names, *list, copy, changedMs);
        stamping = {NamesTimes::merged(stamping.settled ? stamping.names : StampedNames(), moved.names), true,
                    NamesTimes::merged(stamping.writers, moved.writers)};
    }
    snapshot.names = stamping.names;
    snapshot.settled = stamping.settled;
    snapshot.writers = stamping.writers;
    return snapshot;
}

#ifdef Q_OS_UNIX
// A file of its own beside the store's, made anew: O_EXCL and O_NOFOLLOW leave whatever
// is there already, a link too, as it is.
int createTemporary(const QByteArray &path, QByteArray &name)
{
    for (int attempt = 0; attempt < temporaryAttempts; ++attempt) {
        name = path + '.' + QByteArray::number(QRandomGenerator::global()->generate(), temporaryNameBase);
        const int file = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, newFileMode);
        if (file >= 0 || errno != EEXIST)
            return file;
    }
    return -1;
}

// Written beside it and renamed over it, which replaces a hard link too rather than writing
// into the file it shares. The permissions of the file replaced stay, for a shared folder.
StoreError writeOwn(const QString &path, const QByteArray &data)
{
    const QString folder = QFileInfo(path).path();
    const QByteArray name = QFile::encodeName(path);
    struct stat replaced = {};
    const bool exists = ::lstat(name.constData(), &replaced) == 0;
    if (exists && S_ISLNK(replaced.st_mode))
        return StorePath::linkError(path);
    if (exists && S_ISDIR(replaced.st_mode))
        return StorePath::folderError(path);
    QByteArray temporary;
    const int file = createTemporary(name, temporary);
    if (file < 0)
        return NamesCsv::writeError(folder, qt_error_string(errno));
    std::optional<QString> failure;
    if (exists && ::fchmod(file, replaced.st_mode & permissionBits) != 0)
        failure = qt_error_string(errno);
    if (!failure)
        failure = OutputFile::writeAll(file, data);
    const qint64 nowMs = StoreClock::now(); // the store's time, which its edits are stamped with and a copy is dated by
    const struct timespec changed = {time_t(nowMs / msPerSecond), long(nowMs % msPerSecond * nanosecondsPerMs)};
    const std::array<struct timespec, 2> times{changed, changed};
    if (!failure && ::futimens(file, times.data()) != 0)
        failure = qt_error_string(errno);
    if (!failure && ::fsync(file) != 0)
        failure = qt_error_string(errno);
    if (::close(file) != 0 && !failure)
        failure = qt_error_string(errno);
    if (!failure && ::rename(temporary.constData(), name.constData()) == 0)
        return {};
    if (!failure)
        failure = qt_error_string(errno); // the rename's
    ::unlink(temporary.constData());
    return NamesCsv::writeError(folder, *failure);
}
#else
StoreError writeOwn(const QString &path, const QByteArray &data)
{
    if (StorePath::isLink(path))
        return StorePath::linkError(path);
    if (QFileInfo(path).isDir())
        return StorePath::folderError(path);
    const StoreError error = NamesCsv::writeData(path, data);
    QFile file(path); // dated by the store's time, which its edits are stamped with
    if (error.ok() && file.open(QIODevice::Append))
        file.setFileTime(QDateTime::fromMSecsSinceEpoch(StoreClock::now()), QFileDevice::FileModificationTime);
    return error;
}
#endif

StoreError replace(const QString &path, const QByteArray &data)
{
    return StoreRetry::repeat([&] { return writeOwn(path, data); }, StoreRetry::replacing);
}

} // namespace

namespace StoreFile {

QString timesPath(const QString &path)
{
    return path + QStringLiteral(".zeiten");
}

QString copiesPath(const QString &path)
{
    return QFileInfo(path).dir().filePath(QStringLiteral("Konfliktkopien"));
}

bool makeCopiesFolder(const QString &path)
{
    const QString target = copiesPath(path);
    return !StorePath::isLink(target)
           && (QFileInfo(target).isDir() || QFileInfo(path).dir().mkdir(QFileInfo(target).fileName()));
}

void keepTimes(const QString &path, const QByteArray &data)
{
    const QString content = QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex().left(keptNameLength);
    QFile kept(copiesPath(path) + u'/' + QFileInfo(path).fileName() + u'.' + content + QStringLiteral(".zeiten"));
    if (makeCopiesFolder(path) && kept.open(QIODevice::NewOnly)) // never through a link
        kept.write(data);
}

std::pair<Identity, Identity> identify(const QString &path)
{
    return {identifyFile(path), identifyFile(timesPath(path))};
}

Snapshot read(const QString &path)
{
    const qint64 patienceEnds = StoreClock::ticks() + beingWrittenMs + rereadPauseMs;
    for (int attempt = 1;; ++attempt) {
        Snapshot snapshot = readOnce(path);
        const qint64 ageMs = StoreClock::now() - snapshot.identity.first.modified / nanosecondsPerMs;
        const bool beingWritten = snapshot.exists && !snapshot.settled && ageMs < beingWrittenMs;
        const bool whole = identify(path) == snapshot.identity;
        if ((snapshot.ok() && whole && !beingWritten) || (attempt >= readAttempts && !beingWritten)
            || StoreClock::ticks() >= patienceEnds)
            return snapshot;
        StoreClock::pause(rereadPauseMs);
    }
}

StoreError write(const QString &path, const StampedNames &names, const Writers &writers)
{
    // The times first: left with them alone, the list's older names count as made when it was
    // written before, which puts no name ahead of a later edit.
    // A link in the list's place is refused before the times, which would stay without their list.
    if (StorePath::isLink(path))
        return StorePath::linkError(path);
    const QByteArray list = NamesCsv::serialize(NamesTimes::plain(names));
    const StoreError error = replace(timesPath(path), NamesTimes::serialize(names, list, writers));
    return error.ok() ? replace(path, list) : error;
}

QString freeName(const QString &base, const QString &suffix)
{
    QString candidate = base + suffix;
    for (int n = 2; QFileInfo::exists(candidate) || StorePath::isLink(candidate); ++n)
        candidate = base + QStringLiteral("-%1").arg(n) + suffix;
    return candidate;
}

} // namespace StoreFile

#include "names/storefile.h"

#include "names/storeclock.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#endif

namespace {

using StoreFile::Identity;
using StoreFile::Snapshot;

constexpr int readAttempts = 4;
constexpr int rereadPauseMs = 100;
// A list changed this recently by a program that keeps no times may still be being written.
constexpr qint64 beingWrittenMs = 2000;
constexpr int replaceAttempts = 10;
constexpr int replacePauseMs = 50;
// Far more than the times of 96 names take.
constexpr qint64 timesMaxBytes = qint64{64} * 1024;
constexpr qint64 nanosecondsPerSecond = 1000000000;
constexpr qint64 nanosecondsPerMs = 1000000;
constexpr qint64 missingSize = -1;
constexpr qint64 unknownSize = -2; // the file cannot be looked at, so whether it is there is unknown

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
        snapshot.error = {NamesCsv::ErrorKind::Unreadable, 0, file.errorString()};
        return snapshot;
    }
    const std::optional<QByteArray> list = NamesCsv::readData(path, snapshot.error, NamesCsv::maxListBytes);
    if (!list)
        return snapshot;
    const NamesCsv::ReadResult read = NamesCsv::parse(*list);
    snapshot.error = read.error;
    NamesCsv::Error timesError; // a times file that cannot be read counts as none
    const QByteArray times =
        NamesCsv::readData(StoreFile::timesPath(path), timesError, timesMaxBytes).value_or(QByteArray());
    const NamesTimes::Stamping stamping =
        NamesTimes::stamp(read.names, *list, times, snapshot.identity.first.modified / nanosecondsPerMs);
    snapshot.names = stamping.names;
    snapshot.settled = stamping.settled;
    return snapshot;
}

// On Windows a file that another side reads for a moment cannot be replaced meanwhile.
NamesCsv::Error replace(const QString &path, const QByteArray &data)
{
    for (int attempt = 1;; ++attempt) {
        NamesCsv::Error error = NamesCsv::writeData(path, data);
        if (error.kind != NamesCsv::ErrorKind::Unwritable || attempt == replaceAttempts)
            return error;
        StoreClock::pause(replacePauseMs);
    }
}

} // namespace

namespace StoreFile {

QString timesPath(const QString &path)
{
    return path + QStringLiteral(".zeiten");
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

NamesCsv::Error write(const QString &path, const StampedNames &names)
{
    // The times first: left with them alone, the list's older names count as made when it was
    // written before, which puts no name ahead of a later edit.
    const QByteArray list = NamesCsv::serialize(NamesTimes::plain(names));
    const NamesCsv::Error error = replace(timesPath(path), NamesTimes::serialize(names, list));
    return error.kind != NamesCsv::ErrorKind::None ? error : replace(path, list);
}

} // namespace StoreFile

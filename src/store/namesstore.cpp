#include "store/namesstore.h"

#include "store/storefile.h"
#include "store/storepath.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace NamesStore {

QString defaultPath()
{
    const QString chosen = QDir::fromNativeSeparators(qEnvironmentVariable(dataHomeVariable));
    const QString home =
        chosen.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) : chosen;
    return home + QStringLiteral("/vesk-adressen/namen.csv");
}

ReadResult read(const QString &path)
{
    if (QFileInfo::exists(path)) {
        const NamesCsv::ReadResult list = NamesCsv::readFile(path);
        return {list.names, list.error};
    }
    if (StorePath::isLink(path))
        return {{}, StorePath::linkError(path)}; // to what is not there: no empty list
    // No list yet is no names; a file where a folder should be is an error, not an empty list.
    const QString folder = NamesCsv::nearestExisting(QFileInfo(path).path());
    if (!QFileInfo(folder).isDir())
        return {{}, NamesCsv::Error{NamesCsv::ErrorKind::Unreadable, 0, QStringLiteral("%1 is no folder").arg(folder)}};
    return {};
}

LoadResult load(const QString &path)
{
    const StoreFile::Snapshot read = StoreFile::read(path);
    const bool link = StorePath::isLink(path);
    // A link to what is not there, such as a folder not mounted, is no empty list.
    if (read.ok() && (read.exists || !link))
        return {read.names, {}, {}, read.exists, read.settled, read.writers};
    if (link)
        return {{}, StorePath::linkError(path), {}, true}; // not moved aside: left as it is
    if (read.error.is(NamesCsv::ErrorKind::Unreadable))
        return {{}, read.error, {}, true}; // held open by another program, perhaps: not damaged
    return {{}, read.error, setAside(path), true};
}

QString setAside(const QString &path)
{
    const QString aside = StoreFile::freeName(
        path + QStringLiteral(".defekt-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss")),
        QString());
    return QFile::rename(path, aside) ? aside : QString();
}

} // namespace NamesStore

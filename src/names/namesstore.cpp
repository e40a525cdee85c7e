#include "names/namesstore.h"

#include "names/storefile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString freeSetAsidePath(const QString &path)
{
    const QString base =
        path + QStringLiteral(".defekt-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString candidate = base;
    // A dangling link counts as taken: the rename would fall back to writing through it.
    for (int n = 2; QFileInfo::exists(candidate) || StoreFile::isLink(candidate); ++n)
        candidate = base + QStringLiteral("-%1").arg(n);
    return candidate;
}

} // namespace

namespace NamesStore {

QString defaultPath()
{
    const QString chosen = QDir::fromNativeSeparators(qEnvironmentVariable(dataHomeVariable));
    const QString home =
        chosen.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) : chosen;
    return home + QStringLiteral("/vesk-adressen/namen.csv");
}

LoadResult load(const QString &path)
{
    const StoreFile::Snapshot read = StoreFile::read(path);
    const bool link = StoreFile::isLink(path);
    // A link to what is not there, such as a folder not mounted, is no empty list.
    if (read.ok() && (read.exists || !link))
        return {read.names, {}, {}, read.exists};
    if (link)
        return {{}, StoreFile::linkError(path), {}, true}; // not moved aside: left as it is
    if (read.error.kind == NamesCsv::ErrorKind::Unreadable)
        return {{}, read.error, {}, true}; // held open by another program, perhaps: not damaged
    const QString aside = freeSetAsidePath(path);
    return {{}, read.error, QFile::rename(path, aside) ? aside : QString(), true};
}

} // namespace NamesStore

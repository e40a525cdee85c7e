#ifndef SYNCTEST_H
#define SYNCTEST_H

#include "support/storetest.h"

#include <QDirIterator>

#include <array>
#include <filesystem>

namespace Store {

// A sync service between two computers' copies of a folder, as Syncthing: a whole file at a time, renamed into place
// with its time; of two changes the later stays, the other kept beside it. The lock stays (one process: a live holder).
struct Service
{
    using Seen = std::pair<std::optional<QByteArray>, QDateTime>; // none where erased
    std::array<QString, 2> folders;
    QHash<QString, std::array<Seen, 2>> synced = {}; // each side's file as last carried or found alike
    int conflicts = 0;

    QStringList names() const // those either side holds or held, but the lock and files being written
    {
        QStringList names = synced.keys();
        for (const QString &folder : folders)
            for (QDirIterator file(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); file.hasNext();)
                names.append(QDir(folder).relativeFilePath(file.next()));
        names.removeIf([](const QString &name) {
            return name.startsWith(u"namen.csv."_s) && name != u"namen.csv.zeiten"_s && !name.contains(u'-');
        });
        names.sort();
        names.removeDuplicates();
        return names;
    }

    bool carry(const QString &name) // true if it changed a side
    {
        const auto data = [this, &name](int side) {
            QFile file(folders.at(side) + u'/' + name);
            return file.open(QIODevice::ReadOnly) ? std::optional(file.readAll()) : std::nullopt;
        };
        const std::array<std::optional<QByteArray>, 2> now{data(0), data(1)};
        const std::array<QDateTime, 2> changed{QFileInfo(folders[0] + u'/' + name).lastModified(),
                                               QFileInfo(folders[1] + u'/' + name).lastModified()};
        // A file written anew is a change even with the same bytes, as a service's versions tell.
        const std::array<Seen, 2> seen{Seen{now[0], changed[0]}, Seen{now[1], changed[1]}};
        const std::array<Seen, 2> was = synced.value(name);
        if (now[0] == now[1])
            return synced.insert(name, seen), false;
        // The side unchanged since the last carry takes the other's; else a change beats an erasure, the later another.
        const int from = seen[1] == was[1]    ? 0
                         : seen[0] == was[0]  ? 1
                         : !now[0] || !now[1] ? int(!now[0])
                                              : int(changed[1] > changed[0]);
        const int to = 1 - from;
        const QString target = folders.at(to) + u'/' + name;
        const QString temporary = QFileInfo(folders.at(to)).path() + u"/.syncthing.tmp"_s;
        StoreLock lock(folders.at(to) + u"/namen.csv"_s); // what the store writes there meanwhile is seen
        if (!lock.acquire(0) || data(to) != now[to]
            || (now[from]
                && !(QDir().mkpath(QFileInfo(target).path()) && Files::write(temporary, *now[from])
                     && setFileTime(temporary, changed[from]))))
            return false;
        const qsizetype dot = target.lastIndexOf(u'.'); // a device of its own for each conflict, so no name is taken
        const QString device =
            u"%1-VESK%2"_s.arg(changed[to].toString(u"yyyyMMdd-HHmmss"_s)).arg(++conflicts, 3, 10, QChar(u'0'));
        if (now[to] && seen[to] != was[to])
            QFile::rename(target, target.left(dot) + u".sync-conflict-"_s + device + target.mid(dot));
        now[from] ? std::filesystem::rename(temporary.toStdU16String(), target.toStdU16String())
                  : void(QFile::remove(target));
        synced.insert(name, {seen[from], seen[from]});
        return true;
    }
};

} // namespace Store

#endif

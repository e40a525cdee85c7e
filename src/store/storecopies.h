#ifndef STORECOPIES_H
#define STORECOPIES_H

#include "store/namesstore.h"
#include "store/storefile.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// The conflict copies a sync service leaves beside the store when two computers changed it
// while apart: merged into the store as another side's edits are, the later edit of each
// address standing, then moved into the folder Konfliktkopien beside it, never deleted.
// File system calls under the store's lock, so never on a window's thread.
class StoreCopies
{
public:
    // The list and its times travel apart: a list copy waits this long for times that belong
    // to it, before its names count as made when it was last changed, and a times copy as long
    // for its list. Its times may come only into Konfliktkopien, the other computer having merged
    // the pair and moved it there: guessed sooner, an old name would beat a later edit.
    static constexpr int timesWaitMs = 10000;

    struct Merged
    {
        bool wrote = false;                     // the store was written
        QList<NamesStore::LoadResult> setAside; // damaged copies
        StoreError stays;                       // why copies stay beside the store, where some do
    };

    explicit StoreCopies(QString storePath);

    // Merges the copies in the store's folder; what cannot be merged now is left for a later look.
    Merged merge();
    // When a look may merge what the last one left waiting, on StoreClock::ticks(): at once
    // where it could not look (another side's lock), none where nothing waits.
    std::optional<qint64> waitingUntil() const;
    // The last look left a list waiting for its times, or the store's own list missing or stamped with
    // another state's times: until they come, the store's names are guessed, and no write should settle them.
    bool listsWait() const;

private:
    // What the last look left unmerged, and when one waiting is ready: until one of them
    // changes nothing is tried again, nor the lock taken, which every watcher of the folder hears.
    struct Unmerged
    {
        QStringList copies; // their names, sizes and times
        std::pair<StoreFile::Identity, StoreFile::Identity> store;
        qint64 retryAt = 0;
        bool listsWait = false; // see listsWait()
    };

    const QString path;
    QHash<QString, qint64> firstSeen; // StoreClock::ticks() when each copy was first seen
    Unmerged unmerged;
};

#endif

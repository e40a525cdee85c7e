#ifndef STOREFILE_H
#define STOREFILE_H

#include "store/stampednames.h"
#include "store/storeerror.h"

#include <QString>

// The store on disk: the names list and, beside it, the times of its names. File system
// calls only, which may block as long as a network folder stalls: never on a window's thread.
namespace StoreFile {

QString timesPath(const QString &path);
// Where conflict copies go once merged, beside the store.
QString copiesPath(const QString &path);
// Makes that folder where it is not there yet; false where it cannot, or a link is in its place.
bool makeCopiesFolder(const QString &path);
// The store's times written with a list still to come here, as the copy of a conflict the other computer lost, kept
// there for it, named by their content: two computers keeping the same ones make no new conflict.
void keepTimes(const QString &path, const QByteArray &data);

// What tells a change of either file cheaply, where no change is reported: a replaced
// file is another file even with the same size and time.
struct Identity
{
    qint64 size = -1;
    qint64 modified = -1;
    quint64 id = 0;
    bool operator==(const Identity &other) const
    {
        return size == other.size && modified == other.modified && id == other.id;
    }
};
std::pair<Identity, Identity> identify(const QString &path);

struct Snapshot
{
    StampedNames names;
    StoreError error;
    bool exists = false;
    bool settled = false; // see NamesTimes::Stamping
    Writers writers = {};
    // Conflict copies were merged into it: their names were made apart, not knowing this side's.
    bool copiesMerged = false;
    std::pair<Identity, Identity> identity;
    bool ok() const { return error.ok(); }
};

// A read that does not parse, comes out shorter than the file or sees the file change is
// read again a few times: a network folder can hand out a file half replaced.
Snapshot read(const QString &path);
// The times, then the names list; each replaced whole or not at all, a link never written through.
StoreError write(const QString &path, const StampedNames &names, const Writers &writers = {});
// base + suffix, or with a number before the suffix where that is taken; a dangling link counts
// as taken, since a rename would fall back to writing through it.
QString freeName(const QString &base, const QString &suffix);

} // namespace StoreFile

#endif

#ifndef STAMPEDNAMES_H
#define STAMPEDNAMES_H

#include "address/namedaddresses.h"

#include <QByteArray>
#include <QHash>
#include <QMap>

#include <optional>

// A name with the moment it was made, so that of two edits of one address the later stands
// wherever it is stored first. No name where it was erased: an erasure is an edit too.
struct Stamped
{
    std::optional<QString> name;
    qint64 madeMs = 0; // milliseconds since the epoch; 0: never named
    bool operator==(const Stamped &other) const { return name == other.name && madeMs == other.madeMs; }
};
using StampedNames = QHash<QString, Stamped>;
// The computers that wrote a store, by host name, with when each last stored an edit of its own.
using Writers = QMap<QString, qint64>;

// The times of the stored names, kept in a file of their own beside the names list, which
// stays a plain list that spreadsheets and older versions read and write.
namespace NamesTimes {

struct Stamping
{
    StampedNames names;
    // The times were written with this very names list: a list changed by another program,
    // or caught between the two files' writes, is not.
    bool settled = false;
    Writers writers;
};

// The times file for a names list as written in listData: the same bytes wherever the same
// names are written, so that a sync service finds nothing to tell apart.
QByteArray serialize(const StampedNames &names, const QByteArray &listData, const Writers &writers);
// The times were written with this very names list.
bool settles(const QByteArray &listData, const QByteArray &timesData);
// The names read from listData with their times. A name the times file does not record
// as it stands counts as made when the list changed (listChangedMs); an erasure it records
// as made after that, which the list does not show yet, stands.
Stamping stamp(const Names &names, const QByteArray &listData, const QByteArray &timesData, qint64 listChangedMs);

// What timesData records of the given names as facts, each with its time: an erasure, or a name
// that stands in names; written with whatever list, none guessed.
StampedNames recorded(const Names &names, const QByteArray &timesData, qint64 nowMs);

Names plain(const StampedNames &names);
Stamped entry(const StampedNames &names, const QString &key);
// base with each edit that is not older than what base holds for its address.
StampedNames merged(StampedNames base, const StampedNames &edits);
// Each computer with the later of its two times.
Writers merged(Writers base, const Writers &others);

} // namespace NamesTimes

#endif

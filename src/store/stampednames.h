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
    // A guess: the name stood in a list whose times were not there, so it counts as made when that list was changed.
    // Under it the latest fact it overrode (underMs 0: none known), which stands again where the times written with
    // that list (from, its fingerprint) or after it tell the name older: the list shows only the guess, so that name
    // is kept nowhere else. Times written before it may tell an earlier naming, undone since, and settle no guess.
    bool guessed = false;
    std::optional<QString> underName = std::nullopt;
    qint64 underMs = 0;
    QByteArray from = {};
    bool operator==(const Stamped &other) const
    {
        return name == other.name && madeMs == other.madeMs && guessed == other.guessed && underName == other.underName
               && underMs == other.underMs && from == other.from;
    }
    bool operator!=(const Stamped &other) const { return !(*this == other); }
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

// What timesData records of the given names, each with its time: an erasure, or a name that stands in names;
// written with whatever list. A guess of another name gives the fact it overrode.
StampedNames recorded(const Names &names, const QByteArray &timesData, qint64 nowMs);

Names plain(const StampedNames &names);
Stamped entry(const StampedNames &names, const QString &key);
// base with each edit that is not older than what base holds for its address, in either order the same but on a tie.
// A fact of a guess's name stands for it where not older than the fact under it; a guess over a fact of another name
// keeps the later of the facts under it.
StampedNames merged(StampedNames base, const StampedNames &edits);
// names with each guess that the times written with its list, or later with another, tell as a fact: the later of
// that and the one under it.
StampedNames settled(StampedNames names, const QByteArray &timesData, qint64 timesChangedMs);
// Times are written just before their list: where they were written long before a list of the same bytes changed,
// they were written with an earlier state of it, which an undo brought back, and tell its names' times no longer.
bool writtenWith(qint64 timesChangedMs, qint64 listChangedMs);
// The times record a guess.
bool guessing(const QByteArray &timesData);
// Each computer with the later of its two times.
Writers merged(Writers base, const Writers &others);

} // namespace NamesTimes

#endif

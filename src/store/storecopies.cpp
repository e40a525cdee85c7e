#include "store/storecopies.h"

#include "store/conflictcopy.h"
#include "store/copiesfolder.h"
#include "store/storeclock.h"
#include "store/storefile.h"
#include "store/storelock.h"
#include "store/storepath.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMap>

#include <algorithm>
#include <limits>

namespace {

struct ListFile
{
    QString name; // empty: the store's own
    QByteArray data;
    Names names;
    qint64 changedMs = 0;
};

struct TimesFile
{
    QString name; // empty: the store's own
    QByteArray data;
    qint64 changedMs = 0;
    bool used = false;
    bool movedAside = false; // in Konfliktkopien already: it only stamps a list of its own
};

// In the order of their names, which is the same on every computer.
using Copies = QMap<QString, ConflictCopy>;

QByteArray timesData(const QString &path)
{
    NamesCsv::Error error; // a times file that cannot be read counts as none
    return NamesCsv::readData(path, error, NamesCsv::maxListBytes).value_or(QByteArray());
}

qint64 changedMs(const QString &path)
{
    return QFileInfo(path).lastModified().toMSecsSinceEpoch();
}

Copies findCopies(const QString &path)
{
    const QFileInfo store(path);
    const QDir folder = store.dir();
    const QString timesPath = StoreFile::timesPath(path);
    std::optional<QStringList> hosts; // read only for a name that needs them
    Copies copies;
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden)) {
        if (name == store.fileName() || folder.filePath(name) == timesPath || StorePath::isLink(folder.filePath(name)))
            continue;
        ConflictCopy copy = ConflictCopy::classify(store.fileName(), name, {});
        if (copy.of == ConflictCopy::Of::Nothing) {
            if (!hosts)
                hosts = NamesTimes::stamp({}, {}, timesData(timesPath), 0).writers.keys();
            copy = ConflictCopy::classify(store.fileName(), name, *hosts);
        }
        if (copy.of != ConflictCopy::Of::Nothing)
            copies.insert(name, copy);
    }
    return copies;
}

// Each list copy read as the store is. A damaged one that a service named is set aside; any
// other is no copy of the list, or one to be read again, and left as it is.
void readCopies(const QDir &folder, const Copies &copies, QList<ListFile> &lists, QList<TimesFile> &times,
                QList<NamesStore::LoadResult> &setAside)
{
    for (auto copy = copies.cbegin(); copy != copies.cend(); ++copy) {
        const QString file = folder.filePath(copy.key());
        if (copy->of == ConflictCopy::Of::Times) {
            times.append({copy.key(), timesData(file), changedMs(file)});
            continue;
        }
        NamesCsv::Error error;
        const std::optional<QByteArray> data = NamesCsv::readData(file, error, NamesCsv::maxListBytes);
        const NamesCsv::ReadResult read = data ? NamesCsv::parse(*data) : NamesCsv::ReadResult{{}, error};
        if (read.ok())
            lists.append({copy.key(), *data, read.names, changedMs(file)});
        else if (copy->namedByService() && read.error.kind != NamesCsv::ErrorKind::Unreadable)
            setAside.append({{}, read.error, NamesStore::setAside(file), true});
    }
}

// The times written with this very list, besides the store's own for the store's list; for a
// copy with none, its own, though written with another state of it.
QList<TimesFile *> stampsOf(const ListFile &list, QList<TimesFile> &times)
{
    QList<TimesFile *> stamps;
    for (TimesFile &file : times) {
        if ((!list.name.isEmpty() || !file.name.isEmpty()) && NamesTimes::settles(list.data, file.data)
            && NamesTimes::writtenWith(file.changedMs, list.changedMs))
            stamps.append(&file);
    }
    for (TimesFile &file : times) {
        if (stamps.isEmpty() && !list.name.isEmpty() && file.name == StoreFile::timesPath(list.name))
            stamps.append(&file);
    }
    return stamps;
}

// How long each copy has been seen, on the store's clock.
struct Waited
{
    const QHash<QString, qint64> &since;
    qint64 now;
    qint64 nowMs; // StoreClock::now(), by which a time from the future is told
    qint64 of(const QString &name) const { return now - since.value(name); }
    qint64 until(const QString &name, int waitMs) const { return since.value(name) + waitMs; }
    qint64 longest() const { return now - *std::min_element(since.cbegin(), since.cend()); }
};

struct Merging
{
    StampedNames names;
    Writers writers;
    QStringList moved;                                   // the copies merged, or given up waiting for
    qint64 retryAt = std::numeric_limits<qint64>::max(); // when one waiting is ready, on the store's clock
    bool listWaits = false;                              // a list copy waits for its times
};

void take(Merging &merging, const ListFile &list, const QByteArray &timesData)
{
    const NamesTimes::Stamping stamping = NamesTimes::stamp(list.names, list.data, timesData, list.changedMs);
    merging.names = NamesTimes::merged(merging.names, stamping.names);
    merging.writers = NamesTimes::merged(merging.writers, stamping.writers);
}

// A times copy that no list used is waited for a while for its list; then what it records of any list's
// names, and its erasures, count as they were made.
void moveTimes(Merging &merging, const QList<ListFile> &lists, const QList<TimesFile> &times, const Waited &waited)
{
    for (const TimesFile &file : times) {
        if (file.name.isEmpty() || file.movedAside)
            continue;
        if (!file.used && waited.of(file.name) >= StoreCopies::timesWaitMs) {
            for (const ListFile &list : lists)
                merging.names =
                    NamesTimes::merged(merging.names, NamesTimes::recorded(list.names, file.data, waited.nowMs));
        }
        if (file.used || waited.of(file.name) >= StoreCopies::timesWaitMs)
            merging.moved.append(file.name);
        else
            merging.retryAt = std::min(merging.retryAt, waited.until(file.name, StoreCopies::timesWaitMs));
    }
}

// The store's and its copies' names, each list stamped with its times, the later edit of each address standing.
Merging combine(const StoreFile::Snapshot &base, const QList<ListFile> &lists, QList<TimesFile> &times,
                const Waited &waited)
{
    // Times from a copy stand for those the store's list was stamped with, which belong to another state of it.
    Merging merging{
        base.settled || stampsOf(lists.first(), times).isEmpty() ? base.names : StampedNames(), base.writers, {}};
    // The store's times are a list copy's, its list having come without its own: no name it lacks was erased.
    const auto ownTimes = [&times](const ListFile &list) { return NamesTimes::settles(list.data, times.first().data); };
    if (!base.settled && stampsOf(lists.first(), times).isEmpty()
        && std::any_of(lists.cbegin() + 1, lists.cend(), ownTimes))
        merging.names = NamesTimes::stamp(lists.first().names, lists.first().data, {}, lists.first().changedMs).names;
    for (const ListFile &list : lists) {
        const QList<TimesFile *> stamps = stampsOf(list, times);
        // A copy's times may still be on their way; the store's own times stamp it.
        const bool waiting =
            stamps.isEmpty() && !list.name.isEmpty() && waited.of(list.name) < StoreCopies::timesWaitMs;
        if (waiting)
            merging.retryAt = std::min(merging.retryAt, waited.until(list.name, StoreCopies::timesWaitMs));
        merging.listWaits = merging.listWaits || waiting;
        if (waiting || (stamps.isEmpty() && list.name.isEmpty()))
            continue;
        if (stamps.isEmpty())
            take(merging, list, {}); // made when it was last changed
        for (TimesFile *file : stamps) {
            take(merging, list, file->data);
            file->used = true;
        }
        if (!list.name.isEmpty())
            merging.moved.append(list.name);
    }
    moveTimes(merging, lists, times, waited);
    // Times written with a guessed list, also those in Konfliktkopien, tell when its names were made.
    for (const TimesFile &file : times)
        merging.names = NamesTimes::settled(merging.names, file.data, file.changedMs);
    return merging;
}

// What the merge changed written, then the copies moved: none where the store could not be written.
bool writeAndMove(const QString &path, const StoreFile::Snapshot &base, const QList<TimesFile> &times,
                  const Merging &merging, StoreCopies::Merged &merged)
{
    if (merging.names != base.names || merging.writers != base.writers) {
        if (!base.settled && !times.first().used && !times.first().data.isEmpty())
            StoreFile::keepTimes(path, times.first().data);
        if (!StoreFile::write(path, merging.names, merging.writers).ok())
            return false;
        merged.wrote = true;
    }
    // One that cannot be moved stays, and is merged again, which changes nothing.
    for (const QString &name : merging.moved) {
        if (const StoreError moving = CopiesFolder::moveAway(QFileInfo(path).dir(), path, name); !moving.ok())
            merged.stays = moving;
    }
    return true;
}

} // namespace

StoreCopies::StoreCopies(QString storePath)
    : path(std::move(storePath))
{
}

StoreCopies::Merged StoreCopies::merge()
{
    const Copies copies = findCopies(path);
    const Waited waited{firstSeen, StoreClock::ticks(), StoreClock::now()};
    firstSeen.removeIf([&copies](QHash<QString, qint64>::iterator seen) { return !copies.contains(seen.key()); });
    for (auto copy = copies.cbegin(); copy != copies.cend(); ++copy)
        firstSeen.insert(copy.key(), firstSeen.value(copy.key(), waited.now));
    // Without copies, the times in Konfliktkopien are looked at only for guesses the store holds.
    const QStringList moved = CopiesFolder::movedTimes(path);
    if (copies.isEmpty() && moved.isEmpty())
        return {};
    const QDir folder = QFileInfo(path).dir();
    const QStringList seen = CopiesFolder::looks(folder, copies.keys() + moved);
    if (seen == unmerged.copies && StoreFile::identify(path) == unmerged.store && waited.now < unmerged.retryAt)
        return {}; // nothing new since the last look
    if (copies.isEmpty() && !NamesTimes::guessing(timesData(StoreFile::timesPath(path)))) {
        unmerged = {seen, StoreFile::identify(path)};
        return {};
    }
    // What fails now is tried again at the next look.
    unmerged = {seen, StoreFile::identify(path), 0, unmerged.listsWait};
    // Those still there as they were seen; one that arrives or changes meanwhile is news at the next look.
    enum class Lists { Here, Wait };
    const auto remember = [this, &folder, &seen](qint64 retryAt, Lists lists) {
        QStringList left = seen;
        left.removeIf([&folder](const QString &look) { return !folder.exists(look.section(u'/', 0, 0)); });
        unmerged = {left, StoreFile::identify(path), retryAt, lists == Lists::Wait};
    };
    StoreLock lock(path);
    if (!lock.acquire(0)) { // another side writes: the next look tries again
        if (lock.error().kind == StoreError::Kind::Locked)
            return {};
        unmerged.retryAt = std::numeric_limits<qint64>::max(); // a folder not to write in: no use before it changes
        return {false, {}, copies.isEmpty() ? StoreError() : lock.error()};
    }
    const StoreFile::Snapshot base = StoreFile::read(path);
    if (!base.ok()) { // the store itself is set aside first, as at every read, which is news for the next look
        unmerged.retryAt = std::numeric_limits<qint64>::max();
        return {};
    }
    Merged merged;
    NamesCsv::Error error; // no list yet is an empty one
    QList<ListFile> lists{{QString(), NamesCsv::readData(path, error).value_or(QByteArray()),
                           NamesTimes::plain(base.names), changedMs(path)}};
    QList<TimesFile> times{{QString(), timesData(StoreFile::timesPath(path)), changedMs(StoreFile::timesPath(path))}};
    readCopies(folder, copies, lists, times, merged.setAside);
    for (const QString &name : moved)
        times.append({name, timesData(folder.filePath(name)), changedMs(folder.filePath(name)), false, true});
    // The store's list and times from two states of it, or no list at all, as for a moment while a service
    // puts its copy aside and the other computer's list in its place: the rest may be on its way yet.
    const bool stamped = base.exists && (base.settled || !stampsOf(lists.first(), times).isEmpty());
    if (!stamped && copies.isEmpty()) { // its guesses, from another state of it, are looked at once it is written
        remember(std::numeric_limits<qint64>::max(), Lists::Here);
        return merged;
    }
    if (!stamped && waited.longest() < timesWaitMs) {
        remember(waited.now - waited.longest() + timesWaitMs, Lists::Wait);
        return merged;
    }
    const Merging merging = combine(base, lists, times, waited);
    if (!writeAndMove(path, base, times, merging, merged))
        return merged; // the copies stay, to be merged at the next look
    remember(merging.retryAt, merging.listWaits ? Lists::Wait : Lists::Here);
    return merged;
}

bool StoreCopies::listsWait() const
{
    return !firstSeen.isEmpty() && unmerged.listsWait;
}

std::optional<qint64> StoreCopies::waitingUntil() const
{
    if (firstSeen.isEmpty() || unmerged.retryAt == std::numeric_limits<qint64>::max())
        return std::nullopt;
    return unmerged.retryAt;
}

#include "store/stampednames.h"

#include <QCryptographicHash>
#include <QList>

#include <algorithm>

namespace {

const QByteArray formatLine("vesk-adressen-zeiten 1");
constexpr char separator = ';';
const QByteArray erased("-");
constexpr int fieldCount = 3; // what versions before guesses were marked read: a line of more they skip
// A guess's line: the time and name's fingerprint as a fact's, then this mark, its list's fingerprint, and the fact it
// overrode where one is known.
const QByteArray guessTag("?");
constexpr int fromField = fieldCount + 1;
constexpr int underTimeField = fieldCount + 2;
constexpr int underNameField = fieldCount + 3;
constexpr int fingerprintLength = 16;
constexpr qint64 timesBeforeListMs = 2000; // far longer than writing a list takes
constexpr qint64 trustedAheadMs = qint64{24} * 60 * 60 * 1000;
// Computers recorded as writers, a line each, which no address begins so that older versions skip it.
const QByteArray writerTag("rechner");
constexpr int writersKept = 32;

QByteArray fingerprint(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex().left(fingerprintLength);
}

QByteArray fingerprint(const std::optional<QString> &name)
{
    return name ? fingerprint(name->toUtf8()) : erased;
}

} // namespace

namespace NamesTimes {

QByteArray serialize(const StampedNames &names, const QByteArray &listData, const Writers &writers)
{
    QByteArray data = formatLine + separator + fingerprint(listData) + '\n';
    QStringList keys = names.keys();
    std::sort(keys.begin(), keys.end());
    for (const QString &key : keys) {
        const Stamped &entry = names[key];
        if (entry.madeMs <= 0)
            continue;
        data += key.toUtf8() + separator + QByteArray::number(entry.madeMs) + separator + fingerprint(entry.name);
        if (entry.guessed)
            data += separator + guessTag + separator + entry.from;
        if (entry.guessed && entry.underMs > 0) // its name with no separator nor line break, an erasure plain
            data += separator + QByteArray::number(entry.underMs) + separator
                    + (entry.underName ? entry.underName->toUtf8().toPercentEncoding({}, erased) : erased);
        data += '\n';
    }
    // The computers that wrote last, in the order of their names.
    QList<std::pair<qint64, QString>> recent;
    for (auto writer = writers.cbegin(); writer != writers.cend(); ++writer)
        recent.append({-writer.value(), writer.key()});
    std::sort(recent.begin(), recent.end());
    Writers kept;
    for (const auto &[lastMs, host] : recent.mid(0, writersKept))
        kept.insert(host, -lastMs);
    for (auto writer = kept.cbegin(); writer != kept.cend(); ++writer)
        data += writerTag + separator + QByteArray::number(writer.value()) + separator + writer.key().toUtf8() + '\n';
    return data;
}

bool settles(const QByteArray &listData, const QByteArray &timesData)
{
    return timesData.left(timesData.indexOf('\n')) == formatLine + separator + fingerprint(listData);
}

} // namespace NamesTimes

namespace {

// What the times record of an address: its name's fingerprint, and its time, marked as a guess or not.
struct Record
{
    QByteArray fingerprint;
    Stamped stamped; // no name: the fingerprint tells it
};
using Recorded = QHash<QString, Record>;

Recorded parse(const QByteArray &timesData, Writers &writers)
{
    Recorded recorded;
    for (const QByteArray &line : timesData.split('\n').mid(1)) {
        const QList<QByteArray> fields = line.split(separator);
        bool number = false;
        const qint64 madeMs = fields.size() >= fieldCount ? fields.at(1).toLongLong(&number) : 0;
        if (number && fields.first() == writerTag) { // a host name may hold the separator
            writers.insert(QString::fromUtf8(line.mid(line.indexOf(separator, writerTag.size() + 1) + 1)), madeMs);
            continue;
        }
        const bool guessed = fields.size() > fieldCount && fields.at(fieldCount) == guessTag;
        if (fields.size() != fieldCount && !guessed)
            continue;
        const std::optional<QString> key = NamedAddresses::parse(QString::fromUtf8(fields.at(0)));
        Stamped stamped{std::nullopt, madeMs, guessed, std::nullopt, 0, fields.value(fromField)};
        if (guessed && fields.size() > underNameField) {
            stamped.underMs = fields.at(underTimeField).toLongLong();
            const QByteArray &under = fields.at(underNameField);
            stamped.underName = under == erased
                                    ? std::nullopt
                                    : std::optional(QString::fromUtf8(QByteArray::fromPercentEncoding(under)));
        }
        if (number && key)
            recorded.insert(*key, {fields.at(2), stamped});
    }
    return recorded;
}

Stamped under(const Stamped &guess)
{
    return {guess.underName, guess.underMs};
}

// Of two facts the later; on a tie, the one merged in.
Stamped later(const Stamped &base, const Stamped &edit)
{
    return edit.madeMs >= base.madeMs ? edit : base;
}

Stamped over(Stamped guess, const Stamped &fact)
{
    const Stamped kept = later(under(guess), fact);
    guess.underName = kept.name;
    guess.underMs = kept.madeMs;
    return guess;
}

Stamped merged(const Stamped &base, const Stamped &edit)
{
    // Two guesses of one name: it was made before the earlier, so a fact under either made after that stands.
    if (base.guessed && edit.guessed && base.name == edit.name) {
        const Stamped guess =
            over(edit.madeMs <= base.madeMs ? edit : base, under(edit.madeMs <= base.madeMs ? base : edit));
        return guess.underMs >= guess.madeMs ? under(guess) : guess;
    }
    if (base.guessed == edit.guessed) // two facts, or two guesses
        return !base.guessed                ? later(base, edit)
               : edit.madeMs >= base.madeMs ? over(edit, under(base))
                                            : over(base, under(edit));
    const Stamped &guess = base.guessed ? base : edit;
    const Stamped &fact = base.guessed ? edit : base;
    if (fact.madeMs == 0)
        return guess;
    if (fact.name == guess.name)
        return fact.madeMs >= guess.underMs ? fact : guess;
    return fact.madeMs >= guess.madeMs ? fact : over(guess, fact);
}

} // namespace

namespace NamesTimes {

Stamping stamp(const Names &names, const QByteArray &listData, const QByteArray &timesData, qint64 listChangedMs)
{
    Stamping stamping;
    stamping.settled = settles(listData, timesData);
    const Recorded recorded = parse(timesData, stamping.writers);
    for (auto entry = recorded.cbegin(); entry != recorded.cend(); ++entry) {
        const auto name = names.constFind(entry.key());
        const std::optional<QString> stored = name != names.cend() ? std::optional(*name) : std::nullopt;
        const qint64 madeMs = entry->stamped.madeMs;
        // A time long after the list was written is no time this program wrote.
        const bool trusted = madeMs <= listChangedMs + trustedAheadMs;
        Stamped stamped = entry->stamped;
        // Times that arrived before their list, or were written before it, tell an erasure it does not show yet.
        if (entry->fingerprint == erased && trusted && madeMs > listChangedMs)
            stamped.name = std::nullopt;
        else if (entry->fingerprint == fingerprint(stored) && trusted)
            stamped.name = stored;
        else // over what the times record, where its name is known
            stamped = over({stored, listChangedMs, true, std::nullopt, 0, fingerprint(listData)},
                           entry->stamped.guessed                    ? under(entry->stamped)
                           : entry->fingerprint == erased && trusted ? Stamped{std::nullopt, madeMs}
                                                                     : Stamped());
        stamping.names.insert(entry.key(), stamped);
    }
    for (auto name = names.cbegin(); name != names.cend(); ++name) {
        if (!recorded.contains(name.key()))
            stamping.names.insert(name.key(), {*name, listChangedMs, true, std::nullopt, 0, fingerprint(listData)});
    }
    return stamping;
}

StampedNames recorded(const Names &names, const QByteArray &timesData, qint64 nowMs)
{
    Writers writers;
    const Recorded recorded = parse(timesData, writers);
    StampedNames facts;
    for (auto entry = recorded.cbegin(); entry != recorded.cend(); ++entry) {
        const auto name = names.constFind(entry.key());
        const bool named = name != names.cend() && entry->fingerprint == fingerprint(std::optional(*name));
        Stamped stamped = entry->stamped;
        stamped.name = named ? std::optional(*name) : std::nullopt;
        if (!named && entry->fingerprint != erased)
            stamped = under(stamped); // none where it is no guess
        if (stamped.madeMs > 0 && entry->stamped.madeMs <= nowMs + trustedAheadMs)
            facts.insert(entry.key(), stamped);
    }
    return facts;
}

bool writtenWith(qint64 timesChangedMs, qint64 listChangedMs)
{
    return timesChangedMs >= listChangedMs - timesBeforeListMs;
}

StampedNames settled(StampedNames names, const QByteArray &timesData, qint64 timesChangedMs)
{
    Writers writers;
    const Recorded recorded = parse(timesData, writers);
    const QByteArray list = timesData.left(timesData.indexOf('\n')).mid(formatLine.size() + 1);
    for (auto entry = names.begin(); entry != names.end(); ++entry) {
        const Record record = recorded.value(entry.key());
        Stamped told = record.stamped; // the name of that list, a guess there too perhaps
        told.name = entry->name;
        // Times written later with another list tell the name's time where they record it as a fact.
        const bool tells = entry->from == list || (!told.guessed && record.fingerprint == fingerprint(entry->name));
        if (entry->guessed && tells && writtenWith(timesChangedMs, entry->madeMs) && told.madeMs > 0)
            *entry = told.guessed ? ::merged(*entry, told) : later(under(*entry), told);
    }
    return names;
}

bool guessing(const QByteArray &timesData)
{
    Writers writers;
    const Recorded recorded = parse(timesData, writers);
    return std::any_of(recorded.cbegin(), recorded.cend(), [](const Record &record) { return record.stamped.guessed; });
}

Names plain(const StampedNames &names)
{
    Names plain;
    for (auto entry = names.cbegin(); entry != names.cend(); ++entry) {
        if (entry->name)
            plain.insert(entry.key(), *entry->name);
    }
    return plain;
}

Stamped entry(const StampedNames &names, const QString &key)
{
    return names.value(key);
}

StampedNames merged(StampedNames base, const StampedNames &edits)
{
    for (auto edit = edits.cbegin(); edit != edits.cend(); ++edit)
        base.insert(edit.key(), ::merged(entry(base, edit.key()), *edit));
    return base;
}

Writers merged(Writers base, const Writers &others)
{
    for (auto writer = others.cbegin(); writer != others.cend(); ++writer)
        base.insert(writer.key(), std::max(base.value(writer.key()), writer.value()));
    return base;
}

} // namespace NamesTimes

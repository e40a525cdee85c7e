#include "names/stampednames.h"

#include <QCryptographicHash>
#include <QList>

#include <algorithm>

namespace {

const QByteArray formatLine("vesk-adressen-zeiten 1");
constexpr char separator = ';';
const QByteArray erased("-");
constexpr int fieldCount = 3;
constexpr int fingerprintLength = 16;
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
        if (entry.madeMs > 0)
            data += key.toUtf8() + separator + QByteArray::number(entry.madeMs) + separator + fingerprint(entry.name)
                    + '\n';
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

// Each address the times record, with its time and its name's fingerprint.
using Recorded = QHash<QString, std::pair<qint64, QByteArray>>;

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
        if (fields.size() != fieldCount)
            continue;
        const std::optional<QString> key = NamedAddresses::parse(QString::fromUtf8(fields.at(0)));
        if (number && key)
            recorded.insert(*key, {madeMs, fields.value(2)});
    }
    return recorded;
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
        // A time long after the list was written is no time this program wrote.
        const bool trusted = entry->first <= listChangedMs + trustedAheadMs;
        const bool asRecorded = entry->second == fingerprint(stored) && trusted;
        // Times that arrived before their list, or were written before it, tell an erasure it does not show yet.
        if (entry->second == erased && trusted && entry->first > listChangedMs)
            stamping.names.insert(entry.key(), {std::nullopt, entry->first});
        else
            stamping.names.insert(entry.key(), {stored, asRecorded ? entry->first : listChangedMs});
    }
    for (auto name = names.cbegin(); name != names.cend(); ++name) {
        if (!recorded.contains(name.key()))
            stamping.names.insert(name.key(), {*name, listChangedMs});
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
        const bool named = name != names.cend() && entry->second == fingerprint(std::optional(*name));
        if (entry->first <= nowMs + trustedAheadMs && (entry->second == erased || named))
            facts.insert(entry.key(), {named ? std::optional(*name) : std::nullopt, entry->first});
    }
    return facts;
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
    for (auto edit = edits.cbegin(); edit != edits.cend(); ++edit) {
        if (edit->madeMs >= entry(base, edit.key()).madeMs)
            base.insert(edit.key(), *edit);
    }
    return base;
}

Writers merged(Writers base, const Writers &others)
{
    for (auto writer = others.cbegin(); writer != others.cend(); ++writer)
        base.insert(writer.key(), std::max(base.value(writer.key()), writer.value()));
    return base;
}

} // namespace NamesTimes

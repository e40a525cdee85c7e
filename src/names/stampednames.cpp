#include "names/stampednames.h"

#include <QCryptographicHash>
#include <QList>

namespace {

const QByteArray formatLine("vesk-adressen-zeiten 1");
constexpr char separator = ';';
const QByteArray erased("-");
constexpr int fieldCount = 3;
constexpr int fingerprintLength = 16;
constexpr qint64 trustedAheadMs = qint64{24} * 60 * 60 * 1000;

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

QByteArray serialize(const StampedNames &names, const QByteArray &listData)
{
    QByteArray data = formatLine + separator + fingerprint(listData) + '\n';
    for (auto entry = names.cbegin(); entry != names.cend(); ++entry) {
        if (entry->madeMs > 0)
            data += entry.key().toUtf8() + separator + QByteArray::number(entry->madeMs) + separator
                    + fingerprint(entry->name) + '\n';
    }
    return data;
}

Stamping stamp(const Names &names, const QByteArray &listData, const QByteArray &timesData, qint64 listChangedMs)
{
    const QList<QByteArray> lines = timesData.split('\n');
    Stamping stamping;
    stamping.settled = lines.first() == formatLine + separator + fingerprint(listData);
    QHash<QString, std::pair<qint64, QByteArray>> recorded;
    for (const QByteArray &line : lines.mid(1)) {
        const QList<QByteArray> fields = line.split(separator);
        bool number = false;
        const qint64 madeMs = fields.size() == fieldCount ? fields.at(1).toLongLong(&number) : 0;
        const std::optional<QString> key = NamedAddresses::parse(QString::fromUtf8(fields.at(0)));
        if (number && key)
            recorded.insert(*key, {madeMs, fields.value(2)});
    }
    for (auto entry = recorded.cbegin(); entry != recorded.cend(); ++entry) {
        const auto name = names.constFind(entry.key());
        const std::optional<QString> stored = name != names.cend() ? std::optional(*name) : std::nullopt;
        // A time long after the list was written is no time this program wrote.
        const bool asRecorded = entry->second == fingerprint(stored) && entry->first <= listChangedMs + trustedAheadMs;
        stamping.names.insert(entry.key(), {stored, asRecorded ? entry->first : listChangedMs});
    }
    for (auto name = names.cbegin(); name != names.cend(); ++name) {
        if (!recorded.contains(name.key()))
            stamping.names.insert(name.key(), {*name, listChangedMs});
    }
    return stamping;
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

} // namespace NamesTimes

#include "names/nameentries.h"

std::optional<QString> entryOf(const Names &names, const QString &key)
{
    const auto entry = names.constFind(key);
    return entry != names.cend() ? std::optional(*entry) : std::nullopt;
}

NameEntries entriesOf(const Names &names, const QList<QString> &keys)
{
    NameEntries entries;
    for (const QString &key : keys)
        entries.insert(key, entryOf(names, key));
    return entries;
}

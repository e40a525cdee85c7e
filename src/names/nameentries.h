#ifndef NAMEENTRIES_H
#define NAMEENTRIES_H

#include "address/namedaddresses.h"

#include <optional>

// Names of some addresses: a name, or nothing where an address has none.
using NameEntries = QHash<QString, std::optional<QString>>;

// The name of key, or nothing where it has none.
std::optional<QString> entryOf(const Names &names, const QString &key);
NameEntries entriesOf(const Names &names, const QList<QString> &keys);

#endif

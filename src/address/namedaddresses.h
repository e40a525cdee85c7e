#ifndef NAMEDADDRESSES_H
#define NAMEDADDRESSES_H

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// Names by canonical address (12A). A present key with an empty name is a name cell
// that was edited and emptied.
using Names = QHash<QString, QString>;

// The 96 addresses that can carry a name: letters A-H, numbers 1-12.
namespace NamedAddresses {

constexpr int letterCount = 8;
constexpr int numberCount = 12;
constexpr int count = letterCount * numberCount;

// Canonical form, number first: key(0, 12) is "12A".
QString key(int letterIndex, int number);

// Letter first, as the printed table captions its cells: letterFirst(0, 12) is "A12".
QString letterFirst(int letterIndex, int number);

// Key of row r of the names table: letter-major, 1A ... 12A, 1B ... 12H.
QString keyOfRow(int row);

// The same address letter first: letterFirstOfRow(11) is "A12".
QString letterFirstOfRow(int row);

// All 96 keys in the names table's order.
const QStringList &keysInTableOrder();

// The names table's row of one of the 96 addresses, in either form.
std::optional<int> rowOf(const QString &address);

// One of the 96 written as an address (12A, a12, " 12 a "), as AddressCodec::readPlain
// reads it; the canonical key, or nothing for any other text.
std::optional<QString> parse(const QString &text);

} // namespace NamedAddresses

#endif

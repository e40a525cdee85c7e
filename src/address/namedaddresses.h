#ifndef NAMEDADDRESSES_H
#define NAMEDADDRESSES_H

#include <QString>

// The 96 addresses that can carry a name: letters A-H, numbers 1-12.
namespace NamedAddresses {

constexpr int letterCount = 8;
constexpr int numberCount = 12;
constexpr int count = letterCount * numberCount;

// Canonical form, number first: key(0, 12) is "12A".
QString key(int letterIndex, int number);

// Key of row r of the names table: letter-major, 1A ... 12A, 1B ... 12H.
QString keyOfRow(int row);

} // namespace NamedAddresses

#endif

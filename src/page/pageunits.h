#ifndef PAGEUNITS_H
#define PAGEUNITS_H

#include <QtGlobal>

// Every page is painted in device units of 1/1200 inch, whatever it is painted on.
namespace PageUnits {

constexpr int perInch = 1200;
constexpr qreal millimetresPerInch = 25.4;
constexpr qreal perMillimetre = perInch / millimetresPerInch;

} // namespace PageUnits

#endif

#include "address/modulename.h"

#include "address/namedaddresses.h"

namespace ModuleName {

QString of(const QString &address)
{
    const bool onControl = NamedAddresses::rowOf(address).value_or(0) < NamedAddresses::count / 2;
    return onControl ? control : extension;
}

} // namespace ModuleName

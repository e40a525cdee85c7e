#include "address/namedaddresses.h"

#include "address/addresscodec.h"

#include <algorithm>

namespace {
QChar letter(int letterIndex)
{
    return QChar(u'A' + letterIndex);
}
} // namespace

namespace NamedAddresses {

QString key(int letterIndex, int number)
{
    return QString::number(number) + letter(letterIndex);
}

QString letterFirst(int letterIndex, int number)
{
    return letter(letterIndex) + QString::number(number);
}

QString keyOfRow(int row)
{
    return key(row / numberCount, row % numberCount + 1);
}

} // namespace NamedAddresses

const QStringList &NamedAddresses::keysInTableOrder()
{
    static const QStringList keys = [] {
        QStringList all;
        for (int row = 0; row < count; ++row)
            all.append(keyOfRow(row));
        return all;
    }();
    return keys;
}

std::optional<QString> NamedAddresses::parse(const QString &text)
{
    const std::optional<AddressCodec::PlainAddress> address = AddressCodec::readPlain(text);
    if (!address || address->letterIndex >= letterCount || address->number < 1
        || address->number > static_cast<uint>(numberCount))
        return std::nullopt;
    return key(address->letterIndex, static_cast<int>(address->number));
}

std::optional<int> NamedAddresses::rowOf(const QString &address)
{
    const std::optional<QString> key = parse(address);
    if (!key)
        return std::nullopt;
    const int letterIndex = key->back().unicode() - u'A';
    return letterIndex * numberCount + key->chopped(1).toInt() - 1;
}

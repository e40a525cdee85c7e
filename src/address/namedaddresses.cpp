#include "address/namedaddresses.h"

#include "address/addresscodec.h"

namespace {

QChar letter(int letterIndex)
{
    return QChar(u'A' + letterIndex);
}

int letterOfRow(int row)
{
    return row / NamedAddresses::numberCount;
}

int numberOfRow(int row)
{
    return row % NamedAddresses::numberCount + 1;
}

// One of the 96 as AddressCodec::readPlain reads it.
std::optional<AddressCodec::PlainAddress> readNamed(const QString &text)
{
    const std::optional<AddressCodec::PlainAddress> address = AddressCodec::readPlain(text);
    if (!address || address->letterIndex >= NamedAddresses::letterCount || address->number < 1
        || address->number > static_cast<uint>(NamedAddresses::numberCount))
        return std::nullopt;
    return address;
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
    return key(letterOfRow(row), numberOfRow(row));
}

QString letterFirstOfRow(int row)
{
    return letterFirst(letterOfRow(row), numberOfRow(row));
}

const QStringList &keysInTableOrder()
{
    static const QStringList keys = [] {
        QStringList all;
        for (int row = 0; row < count; ++row)
            all.append(keyOfRow(row));
        return all;
    }();
    return keys;
}

std::optional<QString> parse(const QString &text)
{
    const std::optional<AddressCodec::PlainAddress> address = readNamed(text);
    if (!address)
        return std::nullopt;
    return key(address->letterIndex, static_cast<int>(address->number));
}

std::optional<int> rowOf(const QString &address)
{
    const std::optional<AddressCodec::PlainAddress> named = readNamed(address);
    if (!named)
        return std::nullopt;
    return named->letterIndex * numberCount + static_cast<int>(named->number) - 1;
}

} // namespace NamedAddresses

#include "address/namedaddresses.h"

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

// Without a regular expression: the store's thread parses addresses too, and under Windows a
// regular expression matched on a thread of its own kept the process from ending.
std::optional<QString> NamedAddresses::parse(const QString &text)
{
    constexpr qsizetype longest = 3; // 12A
    const QString address = text.trimmed().toUpper();
    if (address.size() < 2 || address.size() > longest)
        return std::nullopt;
    const bool letterFirst = address.front().isLetter();
    const QChar letterChar = letterFirst ? address.front() : address.back();
    const QStringView digits = letterFirst ? QStringView(address).mid(1) : QStringView(address).chopped(1);
    const bool allDigits = std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const int number = allDigits ? digits.toInt() : 0;
    if (letterChar < u'A' || letterChar >= QChar(u'A' + letterCount) || number < 1 || number > numberCount)
        return std::nullopt;
    return key(letterChar.unicode() - u'A', number);
}

std::optional<int> NamedAddresses::rowOf(const QString &address)
{
    const std::optional<QString> key = parse(address);
    if (!key)
        return std::nullopt;
    const int letterIndex = key->back().unicode() - u'A';
    return letterIndex * numberCount + key->chopped(1).toInt() - 1;
}

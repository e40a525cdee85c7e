#include "address/namedaddresses.h"

#include <QRegularExpression>

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
    static const QRegularExpression numberFirst(QStringLiteral("^(\\d{1,2})([A-H])$"));
    static const QRegularExpression letterFirst(QStringLiteral("^([A-H])(\\d{1,2})$"));
    const QString address = text.trimmed().toUpper();
    QString letterText;
    QString numberText;
    if (const QRegularExpressionMatch m = numberFirst.match(address); m.hasMatch()) {
        numberText = m.captured(1);
        letterText = m.captured(2);
    } else if (const QRegularExpressionMatch m = letterFirst.match(address); m.hasMatch()) {
        letterText = m.captured(1);
        numberText = m.captured(2);
    } else {
        return std::nullopt;
    }
    const int number = numberText.toInt();
    if (number < 1 || number > numberCount)
        return std::nullopt;
    return key(letterText.front().unicode() - u'A', number);
}

std::optional<int> NamedAddresses::rowOf(const QString &address)
{
    const std::optional<QString> key = parse(address);
    if (!key)
        return std::nullopt;
    const int letterIndex = key->back().unicode() - u'A';
    return letterIndex * numberCount + key->chopped(1).toInt() - 1;
}

#include "address/addresscodec.h"

#include <QStringView>

#include <algorithm>

namespace {

// Index in this alphabet is the letter index; J and K need a position of 3.
constexpr QStringView alphabet = u"ABCDEFGHIJK";

constexpr uint base = AddressCodec::positionCount;

enum Switch { NumberHigh, NumberMiddle, NumberLow, LetterHigh, LetterLow };

// The position whose knob is drawn in each display row: 2 in the middle, 1 at the bottom.
constexpr std::array<int, AddressCodec::positionCount> rowPositions = {0, 2, 1};

template<typename T, std::size_t N>
std::optional<int> indexIn(const std::array<T, N> &values, T value)
{
    const auto *found = std::find(values.cbegin(), values.cend(), value);
    if (found == values.cend())
        return std::nullopt;
    return static_cast<int>(found - values.cbegin());
}

QString numberText(QString text)
{
    for (const QChar letter : alphabet)
        text.remove(letter, Qt::CaseSensitive);
    return text;
}

int letterIndex(const QString &text)
{
    int index = 0;
    for (int candidate = 0; candidate < alphabet.size(); ++candidate) {
        if (text.contains(alphabet.at(candidate), Qt::CaseSensitive))
            index = candidate;
    }
    return index;
}

} // namespace

namespace AddressCodec {

DippSetting decode(const QString &typed)
{
    DippSetting dipp{};
    const QString text = typed.toUpper();

    bool ok = false;
    // Any blank around the number (a no-break space too), as an address is read everywhere.
    const uint number = numberText(text).trimmed().toUInt(&ok, 10);
    // Number 0 (no digits, 0 itself, or unreadable) leaves the number switches at 0.
    if (ok && number >= 1) {
        const uint steps = number - 1;
        dipp[NumberHigh] = static_cast<int>(steps / (base * base));
        dipp[NumberMiddle] = static_cast<int>((steps / base) % base);
        dipp[NumberLow] = static_cast<int>(steps % base);
    }

    const int letter = letterIndex(text);
    dipp[LetterHigh] = letter / positionCount;
    dipp[LetterLow] = letter % positionCount;
    return dipp;
}

QString encode(const DippSetting &dipp)
{
    // Unsigned arithmetic on purpose: out-of-range positions wrap as the hardware codes would.
    const auto digit = [&dipp](Switch s) { return static_cast<quint32>(dipp[s]); };
    const quint32 number = base * base * digit(NumberHigh) + base * digit(NumberMiddle) + digit(NumberLow) + 1u;
    const quint32 letter = base * digit(LetterHigh) + digit(LetterLow);
    const QChar letterChar =
        letter < static_cast<quint32>(alphabet.size()) ? alphabet.at(static_cast<qsizetype>(letter)) : alphabet.front();
    return QString::number(number) + letterChar;
}

int displayRow(int position)
{
    return indexIn(rowPositions, position).value_or(0);
}

int positionOfRow(int row)
{
    return rowPositions.at(static_cast<std::size_t>(row));
}

std::optional<int> rowOfLabel(QChar label)
{
    return indexIn(rowLabels, label);
}

bool isSettable(const DippSetting &dipp)
{
    return std::all_of(dipp.cbegin(), dipp.cend(),
                       [](int position) { return position >= 0 && position < positionCount; });
}

std::optional<PlainAddress> readPlain(const QString &text)
{
    // Without a regular expression: the store's thread reads addresses too, and under Windows
    // a regular expression matched on a thread of its own kept the process from ending.
    const QString address = text.trimmed().toUpper();
    if (address.isEmpty())
        return std::nullopt;
    const bool letterFirst = alphabet.contains(address.front());
    const QChar letter = letterFirst ? address.front() : address.back();
    const QStringView digits = (letterFirst ? QStringView(address).mid(1) : QStringView(address).chopped(1)).trimmed();
    const bool allDigits =
        !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const qsizetype letterIndex = alphabet.indexOf(letter);
    if (!allDigits || letterIndex < 0)
        return std::nullopt;
    bool ok = false;
    const uint number = digits.toUInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return PlainAddress{static_cast<int>(letterIndex), number};
}

bool isPlainAddress(const QString &text)
{
    const std::optional<PlainAddress> address = readPlain(text);
    return address && address->number >= 1;
}

} // namespace AddressCodec

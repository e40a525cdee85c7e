#include "address/addresscodec.h"

#include <QRegularExpression>
#include <QStringView>

#include <algorithm>

namespace {

// Index in this alphabet is the letter index; J and K need a position of 3.
constexpr QStringView alphabet = u"ABCDEFGHIJK";

constexpr uint base = AddressCodec::positionCount;

enum Switch { NumberHigh, NumberMiddle, NumberLow, LetterHigh, LetterLow };

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

DippSetting decode(const QString &text)
{
    DippSetting dipp{};

    bool ok = false;
    const uint number = numberText(text).toUInt(&ok, 10);
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
    switch (position) {
    case 2:
        return 1;
    case 1:
        return 2;
    default:
        return 0;
    }
}

int positionOfRow(int row)
{
    constexpr int rowPositions[] = {0, 2, 1};
    return rowPositions[row];
}

std::optional<int> rowOfLabel(QChar label)
{
    const auto *found = std::find(rowLabels.cbegin(), rowLabels.cend(), label);
    if (found == rowLabels.cend())
        return std::nullopt;
    return static_cast<int>(found - rowLabels.cbegin());
}

bool isSettable(const DippSetting &dipp)
{
    return std::all_of(dipp.cbegin(), dipp.cend(),
                       [](int position) { return position >= 0 && position < positionCount; });
}

bool isPlainAddress(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^ *(?:([A-K]) *([0-9]+)|([0-9]+) *([A-K])) *$"));
    const QRegularExpressionMatch match = plain.match(text.toUpper());
    if (!match.hasMatch())
        return false;
    bool ok = false;
    const uint number = (match.captured(2) + match.captured(3)).toUInt(&ok, 10);
    return ok && number >= 1;
}

} // namespace AddressCodec

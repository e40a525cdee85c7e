#ifndef ADDRESSCODEC_H
#define ADDRESSCODEC_H

#include <QString>

#include <array>
#include <optional>

namespace AddressCodec {

constexpr int switchCount = 5;
constexpr int positionCount = 3;

} // namespace AddressCodec

// The five switch positions of a module, index 0 = leftmost switch.
// Each position is the base-3 digit the switch contributes: 0, 1 or 2.
using DippSetting = std::array<int, AddressCodec::switchCount>;

// Conversions between an address text and the five switch positions.
// Switches 0-2 hold the number (weights 9, 3, 1, plus one), switches 3-4 the letter.
namespace AddressCodec {

// Reads any text, in either case: the number is what remains after removing the letters
// A-K, the letter is the latest of A-K found anywhere. Never fails.
DippSetting decode(const QString &typed);

// Writes the canonical form, number then letter (1A, 12B, 27I).
QString encode(const DippSetting &dipp);

// Row of a switch's knob in the drawings: 0 top, 1 middle, 2 bottom.
// Positions outside 0-2 are drawn in the top row.
int displayRow(int position);

// The position whose knob is drawn in a display row 0-2: the inverse of displayRow.
int positionOfRow(int row);

// How the printed table labels the rows, by display row: "+" top, "0" middle, "-" bottom.
inline constexpr std::array<QChar, positionCount> rowLabels = {u'+', u'0', u'-'};

// The display row that a label names, if it is one of rowLabels.
std::optional<int> rowOfLabel(QChar label);

bool isSettable(const DippSetting &dipp);

// An address as written: exactly one letter A-K, in either case, before or after a number
// (leading zeros allowed), blanks only around and between them.
struct PlainAddress
{
    int letterIndex = 0; // 0 for A
    uint number = 0;
};
std::optional<PlainAddress> readPlain(const QString &text);

// Whether a text is written as an address whose number is 1 or more. decode() reads any
// text; this tells a plain address from a typo it reads anyway.
bool isPlainAddress(const QString &text);

} // namespace AddressCodec

#endif

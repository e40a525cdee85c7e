#ifndef ADDRESSCODEC_H
#define ADDRESSCODEC_H

#include <QString>

#include <array>

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

// Reads any text: the number is what remains after removing the letters A-K,
// the letter is the latest of A-K found anywhere. Never fails.
DippSetting decode(const QString &text);

// Writes the canonical form, number then letter (1A, 12B, 27I).
QString encode(const DippSetting &dipp);

// Row of a switch's knob in the drawings: 0 top, 1 middle, 2 bottom.
// Positions outside 0-2 are drawn in the top row.
int displayRow(int position);

// How the printed table labels the rows, by display row: "+" top, "0" middle, "-" bottom.
inline constexpr std::array<QChar, positionCount> rowLabels = {u'+', u'0', u'-'};

bool isSettable(const DippSetting &dipp);

} // namespace AddressCodec

#endif

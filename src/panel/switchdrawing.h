#ifndef SWITCHDRAWING_H
#define SWITCHDRAWING_H

#include "address/addresscodec.h"

#include <QSize>

#include <optional>

class QPainter;

// The panel's drawing of five switches and where the mouse meets it, in widget coordinates.
namespace SwitchDrawing {

constexpr QSize size(130, 83);

// Frame, row lines and knobs onto any painter.
void paint(QPainter &painter, const DippSetting &dipp);

// The switch that a press at this x chooses for a drag. The bands reach left of the
// knobs; an x in no band chooses switch 0.
int switchAt(int x);

// The position that a drag to this y sets, if the y lies in one of the narrow bands.
std::optional<int> positionAt(int y);

} // namespace SwitchDrawing

#endif

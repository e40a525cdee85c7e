#ifndef PANELSWITCHES_H
#define PANELSWITCHES_H

#include "address/addresscodec.h"
#include "page/switchpainter.h"

#include <QPoint>
#include <QSize>

#include <optional>

class QColor;
class QPainter;

// The panel's drawing of five switches and where the mouse meets it, in widget coordinates.
namespace PanelSwitches {

constexpr QSize size(130, 83);

// Frame, row lines and knobs onto any painter.
void paint(QPainter &painter, const DippSetting &dipp);

// A mark around the column of one switch, for the keyboard focus.
void paintFocus(QPainter &painter, int index, const QColor &color);

// The switch and row whose knob, as drawn, holds the point.
std::optional<SwitchPainter::KnobPlace> knobPlaceAt(QPoint pos);

// The switch that a press at this x chooses for a drag. The bands reach left of the
// knobs; an x in no band chooses switch 0.
int switchAt(int x);

// The position that a drag to this y sets, if the y lies in one of the narrow bands.
std::optional<int> positionAt(int y);

} // namespace PanelSwitches

#endif

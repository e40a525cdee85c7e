#ifndef PENS_H
#define PENS_H

#include <QPen>

// The switch frames' corners, relative to the frame's size, on screen and on paper.
constexpr qreal frameRoundnessX = 15;
constexpr qreal frameRoundnessY = 25;

// Every line of the drawings: black, square caps, bevel joins; only width and style vary.
inline QPen blackPen(qreal width, Qt::PenStyle style = Qt::SolidLine)
{
    return QPen(QBrush(Qt::black), width, style, Qt::SquareCap, Qt::BevelJoin);
}

#endif

#ifndef PENS_H
#define PENS_H

#include <QPen>

// Every line of the drawings: black, square caps, bevel joins; only width and style vary.
inline QPen blackPen(qreal width, Qt::PenStyle style = Qt::SolidLine)
{
    return QPen(QBrush(Qt::black), width, style, Qt::SquareCap, Qt::BevelJoin);
}

#endif

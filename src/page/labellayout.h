#ifndef LABELLAYOUT_H
#define LABELLAYOUT_H

#include "page/labelparts.h"
#include "page/switchpainter.h"

#include <QList>
#include <QLocale>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

// Where a label of a size puts its parts, or why it cannot hold them. In units of 1/1200
// inch from the label's top left; each text's box runs from its font's ascent to its
// descent and is as wide as the widest text it holds. The parts stay inside the label,
// a padding away from its edge, and off each other. A smaller label gets a smaller
// address and drawing, the module line set smaller or left out, and the switches beside
// or above the name; but no text below 5 pt and no drawing below 12 mm wide: a label
// that cannot hold the address, the switches and one line of name so is refused.
struct LabelLayout
{
    using Text = LabelParts::Text;

    static constexpr qreal smallestPoints = LabelParts::smallestPoints;
    static constexpr qreal smallestAddressPoints = 8; // never below the name's largest size
    static constexpr qreal smallestDrawingMm = LabelParts::smallestDrawingMm;

    bool fits = false;
    QSizeF labelMm;
    QSizeF neededMm; // if refused: the smallest label that holds the parts at the same or a larger size
    Text address;    // bold
    std::optional<Text> module;
    QList<Text> marks;   // the rows' "+", "0", "-", top to bottom, each centred on its row's knobs
    QList<Text> numbers; // "1" to "5", each under its switch
    SwitchGeometry switches;
    QRectF drawing; // the switches' ink: their frame and its pen
    // The name's space; its first baseline lies the ascent of the name's largest size below the top.
    QRectF name;

    static LabelLayout of(QSizeF labelMm);

    // Why the labels are refused: in German for the window, in English for the command line.
    QString reason(QLocale::Language language) const;
};

#endif

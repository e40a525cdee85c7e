#include "page/labellayout.h"

#include "page/labelparts.h"
#include "page/labelsheet.h"
#include "page/namewrap.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

using namespace LabelParts;

// Why labels are refused, in both wordings: the sizes needed, then the labels' own. The German
// goes through translation like every text of the window.
constexpr struct
{
    const char *german;
    const char *english;
} tooSmall = {QT_TRANSLATE_NOOP("LabelLayout", "Die Etiketten sind zu klein: Adresse, Schalter und eine Zeile Namen "
                                               "brauchen mindestens %1 × %2 mm, diese sind %3 × %4 mm."),
              "the labels are too small: the address, the switches and one line of name need at least %1 x %2 mm; "
              "these are %3 x %4 mm"};

// A tenth of the label's shorter side, at least enough for a printer's slip, at most as
// the larger labels always had; the gaps between the parts a share of it.
constexpr qreal paddingShareOfSide = 0.1;
constexpr qreal smallestPaddingMm = 1;
constexpr qreal largestPaddingMm = 2.5;
constexpr qreal gapShareOfPadding = 0.6;

// The address: half a point a millimetre of the label's height, smaller in steps where needed.
constexpr qreal addressPointsPerMm = 0.5;
constexpr qreal usualAddressPoints = 12;
constexpr qreal largestAddressPoints = 22;
constexpr qreal pointStep = 0.5;
constexpr qreal moduleSizes[] = {6.5, 6, 5.5, LabelLayout::smallestPoints};

constexpr qreal drawingShareOfWidth = 0.45; // with its marks, beside the name
constexpr qreal smallestNameWidthMm = 10;
constexpr qreal largestLabelMm = 297;
constexpr qreal neededPrecisionMm = 0.1;
constexpr int searchSteps = 24;

// One line of the name at 5 pt, its first baseline placed for its largest size.
qreal smallestNameHeight()
{
    const Metrics &m = metrics();
    return m.ascent * namePointSize + (m.height - m.ascent) * LabelLayout::smallestPoints;
}

bool holdsName(const QRectF &space)
{
    return space.width() >= smallestNameWidthMm * mm && space.height() >= smallestNameHeight();
}

LabelLayout::Text addressAt(QPointF topLeft, qreal points)
{
    const Metrics &m = metrics();
    return {QRectF(topLeft, QSizeF(m.address * points, m.boldHeight * points)), points, Qt::AlignLeft};
}

// The module line right of the address, as large as fits between it and right.
std::optional<LabelLayout::Text> moduleBeside(const LabelLayout::Text &address, qreal right, qreal gap)
{
    const Metrics &m = metrics();
    for (const qreal points : moduleSizes) {
        const QSizeF size(m.module * points, m.height * points);
        if (address.box.right() + gap + size.width() <= right)
            return LabelLayout::Text{QRectF(QPointF(right - size.width(), address.box.bottom() - size.height()), size),
                                     points, Qt::AlignRight};
    }
    return std::nullopt;
}

LabelLayout laidOut(const LabelLayout::Text &address, const std::optional<LabelLayout::Text> &module,
                    const Switches &switches, const QRectF &name)
{
    LabelLayout layout;
    layout.fits = true;
    layout.address = address;
    layout.module = module;
    layout.marks = switches.marks;
    layout.numbers = switches.numbers;
    layout.switches = switches.geometry;
    layout.drawing = switches.drawing;
    layout.name = name;
    return layout;
}

// The label's inside, the padding around it, the gaps between the parts.
struct Room
{
    QRectF inner;
    qreal padding = 0;
    qreal gap = 0;

    // The switches' width beside a column of another part: a share of the inside, but at
    // least what the smallest drawing needs where there is room.
    qreal besideColumn(qreal column) const
    {
        return std::min(std::max(inner.width() * drawingShareOfWidth, smallestSwitchesWidth(padding)),
                        inner.width() - gap - column);
    }
};

// The address above, the module beside it; the switches below on the left, the name on their right.
std::optional<LabelLayout> beside(const Room &room, qreal points)
{
    const QRectF &inner = room.inner;
    const LabelLayout::Text address = addressAt(inner.topLeft(), points);
    const qreal top = address.box.bottom() + room.gap;
    const std::optional<Switches> switches = switchesIn(
        QRectF(inner.left(), top, room.besideColumn(smallestNameWidthMm * mm), inner.bottom() - top), room.padding);
    if (address.box.right() > inner.right() || !switches)
        return std::nullopt;
    const QRectF name(QPointF(switches->bounds.right() + room.gap, top), inner.bottomRight());
    if (!holdsName(name))
        return std::nullopt;
    return laidOut(address, moduleBeside(address, inner.right(), room.gap), *switches, name);
}

// For short labels: the switches over the whole height, the address, module and name on their right.
std::optional<LabelLayout> compact(const Room &room, qreal points)
{
    const QRectF &inner = room.inner;
    const qreal column = std::max(metrics().address * points, smallestNameWidthMm * mm);
    const std::optional<Switches> switches =
        switchesIn(QRectF(inner.topLeft(), QSizeF(room.besideColumn(column), inner.height())), room.padding);
    if (!switches)
        return std::nullopt;
    const qreal left = switches->bounds.right() + room.gap;
    const LabelLayout::Text address = addressAt(QPointF(left, inner.top()), points);
    // The module beside the address, else below it where a line of the name still fits.
    std::optional<LabelLayout::Text> module = moduleBeside(address, inner.right(), room.gap);
    for (const qreal size : moduleSizes) {
        const QSizeF box(metrics().module * size, metrics().height * size);
        if (!module && left + box.width() <= inner.right()
            && address.box.bottom() + box.height() + room.gap + smallestNameHeight() <= inner.bottom())
            module = LabelLayout::Text{QRectF(address.box.bottomLeft(), box), size, Qt::AlignLeft};
    }
    const qreal top = std::max(address.box.bottom(), module ? module->box.bottom() : 0);
    const QRectF name(QPointF(left, top + room.gap), inner.bottomRight());
    if (address.box.right() > inner.right() || !holdsName(name))
        return std::nullopt;
    return laidOut(address, module, *switches, name);
}

// For narrow labels: the address and module above, the switches below them, the name at the bottom.
std::optional<LabelLayout> stacked(const Room &room, qreal points)
{
    const QRectF &inner = room.inner;
    const LabelLayout::Text address = addressAt(inner.topLeft(), points);
    const qreal top = address.box.bottom() + room.gap;
    const qreal height = inner.bottom() - top - room.gap - smallestNameHeight();
    const std::optional<Switches> switches = switchesIn(QRectF(inner.left(), top, inner.width(), height), room.padding);
    if (address.box.right() > inner.right() || !switches)
        return std::nullopt;
    const QRectF name(QPointF(inner.left(), switches->bounds.bottom() + room.gap), inner.bottomRight());
    if (!holdsName(name))
        return std::nullopt;
    return laidOut(address, moduleBeside(address, inner.right(), room.gap), *switches, name);
}

std::optional<LabelLayout> arranged(QSizeF labelMm)
{
    const qreal padding = std::clamp(std::min(labelMm.width(), labelMm.height()) * paddingShareOfSide,
                                     smallestPaddingMm, largestPaddingMm)
                          * mm;
    const Room room{QRectF(QPointF(0, 0), labelMm * mm).adjusted(padding, padding, -padding, -padding), padding,
                    padding * gapShareOfPadding};
    const qreal largest = std::clamp(labelMm.height() * addressPointsPerMm, usualAddressPoints, largestAddressPoints);
    for (const auto arrangement : {beside, compact, stacked}) {
        const int steps = static_cast<int>(std::floor((largest - LabelLayout::smallestAddressPoints) / pointStep));
        for (int step = 0; step <= steps; ++step) {
            if (std::optional<LabelLayout> layout = arrangement(room, largest - step * pointStep)) {
                layout->labelMm = labelMm;
                return layout;
            }
        }
    }
    return std::nullopt;
}

qreal roundedUp(qreal millimetres)
{
    constexpr qreal representationError = 1e-6;
    return std::ceil(millimetres / neededPrecisionMm - representationError) * neededPrecisionMm;
}

// The least length from least to most (which holds) that holds, rounded up to a tenth of a millimetre.
template<typename Holds>
qreal leastHolding(qreal least, qreal most, const Holds &holds)
{
    if (holds(least))
        return roundedUp(least);
    for (int step = 0; step < searchSteps; ++step) {
        const qreal middle = (least + most) / 2;
        (holds(middle) ? most : least) = middle;
    }
    qreal rounded = roundedUp(most);
    while (!holds(rounded) && rounded < largestLabelMm)
        rounded += neededPrecisionMm;
    return rounded;
}

} // namespace

LabelLayout LabelLayout::of(QSizeF labelMm)
{
    if (std::optional<LabelLayout> layout = arranged(labelMm))
        return *layout;
    LabelLayout refused;
    refused.labelMm = labelMm;
    const qreal wide = std::max(labelMm.width(), largestLabelMm);
    const qreal height = leastHolding(std::max(labelMm.height(), 0.0), largestLabelMm,
                                      [wide](qreal h) { return arranged(QSizeF(wide, h)).has_value(); });
    const qreal width = leastHolding(std::max(labelMm.width(), 0.0), wide,
                                     [height](qreal w) { return arranged(QSizeF(w, height)).has_value(); });
    refused.neededMm = QSizeF(width, height);
    return refused;
}

QString LabelLayout::reason(QLocale::Language language) const
{
    const bool german = language == QLocale::German;
    const QLocale locale = german ? QLocale(QLocale::German) : QLocale::c();
    const char *wording = german ? tooSmall.german : tooSmall.english;
    const QString text = german ? QCoreApplication::translate("LabelLayout", wording) : QString::fromUtf8(wording);
    return text.arg(
        LabelSheet::millimetres(neededMm.width(), locale), LabelSheet::millimetres(neededMm.height(), locale),
        LabelSheet::millimetres(labelMm.width(), locale), LabelSheet::millimetres(labelMm.height(), locale));
}

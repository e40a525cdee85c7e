#include "page/labelsheet.h"

namespace {

constexpr int maximumFractionDigits = 1;

QString millimetres(qreal value)
{
    return QString::number(value, 'f', maximumFractionDigits).remove(QStringLiteral(".0"));
}

// Columns and rows centred on the paper.
LabelFormat centred(QSizeF label, int columns, int rows, QSizeF gaps)
{
    const QSizeF used(label.width() * columns + gaps.width() * (columns - 1),
                      label.height() * rows + gaps.height() * (rows - 1));
    const QSizeF left = (LabelSheet::paperSize - used) / 2;
    return {label, columns, rows, QPointF(left.width(), left.height()), gaps};
}

} // namespace

QRectF LabelFormat::labelRect(int index) const
{
    const int column = index % columns;
    const int row = index / columns;
    return {margins + QPointF((label.width() + gaps.width()) * column, (label.height() + gaps.height()) * row), label};
}

bool LabelFormat::fitsPaper() const
{
    const QRectF paper(QPointF(0, 0), LabelSheet::paperSize);
    return columns > 0 && rows > 0 && !label.isEmpty() && margins.x() >= 0 && margins.y() >= 0 && gaps.width() >= 0
           && gaps.height() >= 0 && paper.contains(labelRect(perSheet() - 1));
}

QString LabelFormat::name() const
{
    return millimetres(label.width()) + u'x' + millimetres(label.height());
}

namespace LabelSheet {

QList<LabelFormat> formats()
{
    // Label size, columns, rows, margins (left, top), gaps (columns, rows), in millimetres.
    // clang-format off
    static const LabelFormat formats[] = {
        {QSizeF(70, 37), 3, 8, QPointF(0, 0), QSizeF(0, 0)},
        {QSizeF(70, 36), 3, 8, QPointF(0, 4.5), QSizeF(0, 0)},
        centred(QSizeF(63.5, 38.1), 3, 7, QSizeF(2.5, 0)),
        {QSizeF(52.5, 29.7), 4, 10, QPointF(0, 0), QSizeF(0, 0)},
        {QSizeF(105, 37), 2, 8, QPointF(0, 0), QSizeF(0, 0)},
    };
    // clang-format on
    return QList<LabelFormat>(std::cbegin(formats), std::cend(formats));
}

std::optional<LabelFormat> format(const QString &name)
{
    for (const LabelFormat &format : formats()) {
        if (format.name() == name)
            return format;
    }
    return std::nullopt;
}

QList<Placed> place(const LabelFormat &format, const QStringList &keys, int start)
{
    QList<Placed> placed;
    const int first = std::max(start, 1) - 1;
    for (int i = 0; i < keys.size(); ++i) {
        const int label = first + i;
        placed.append({label / format.perSheet(), format.labelRect(label % format.perSheet()), keys.at(i)});
    }
    return placed;
}

} // namespace LabelSheet

#include "page/labelsheet.h"

#include <QFile>

namespace {

constexpr int maximumFractionDigits = 1;

// Columns and rows centred on the paper.
LabelFormat centred(QSizeF label, int columns, int rows, QSizeF gaps)
{
    const QSizeF used(label.width() * columns + gaps.width() * (columns - 1),
                      label.height() * rows + gaps.height() * (rows - 1));
    const QSizeF left = (LabelSheet::paperSize - used) / 2;
    return {label, columns, rows, QPointF(left.width(), left.height()), gaps};
}

// gLabels' sheets as the build wrote them: maker, part, width, height, columns, rows, left
// and top margin, horizontal and vertical pitch, tab-separated, lengths in millimetres.
QList<LabelFormat> catalogue()
{
    enum Field { Maker, Part, Width, Height, Columns, Rows, Left, Top, PitchX, PitchY, FieldCount };
    QFile file(QStringLiteral(":/labels/labelformats.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<LabelFormat> sheets;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != FieldCount)
            continue;
        const auto number = [&fields](Field field) { return fields.at(field).toDouble(); };
        const QSizeF label(number(Width), number(Height));
        sheets.append({label, fields.at(Columns).toInt(), fields.at(Rows).toInt(), QPointF(number(Left), number(Top)),
                       QSizeF(number(PitchX), number(PitchY)) - label, QString::fromUtf8(fields.at(Maker)),
                       QString::fromUtf8(fields.at(Part))});
    }
    return sheets;
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
    const QRectF paper =
        QRectF(QPointF(0, 0), LabelSheet::paperSize).adjusted(-overhangMm, -overhangMm, overhangMm, overhangMm);
    return columns > 0 && rows > 0 && !label.isEmpty() && margins.x() >= -overhangMm && margins.y() >= -overhangMm
           && !overlaps() && paper.contains(labelRect(perSheet() - 1));
}

bool LabelFormat::overlaps() const
{
    return (columns > 1 && gaps.width() < -overlapMm) || (rows > 1 && gaps.height() < -overlapMm);
}

QString LabelFormat::name() const
{
    return maker.isEmpty() ? sizeName() : maker + u' ' + part;
}

QString LabelFormat::sizeName() const
{
    return LabelSheet::millimetres(label.width()) + u'x' + LabelSheet::millimetres(label.height());
}

QString LabelFormat::listing() const
{
    return QStringLiteral("%1\t%2 mm\t%3x%4").arg(name(), sizeName()).arg(columns).arg(rows);
}

namespace LabelSheet {

QString millimetres(qreal value, const QLocale &locale)
{
    QString text = locale.toString(value, 'f', maximumFractionDigits);
    if (text.endsWith(locale.decimalPoint() + u'0'))
        text.chop(2);
    return text;
}

const QList<LabelFormat> &formats()
{
    // Label size, columns, rows, margins (left, top), gaps (columns, rows), in millimetres.
    // clang-format off
    static const QList<LabelFormat> all = QList<LabelFormat>{
        {QSizeF(70, 37), 3, 8, QPointF(0, 0), QSizeF(0, 0)},
        {QSizeF(70, 36), 3, 8, QPointF(0, 4.5), QSizeF(0, 0)},
        centred(QSizeF(63.5, 38.1), 3, 7, QSizeF(2.5, 0)),
        {QSizeF(52.5, 29.7), 4, 10, QPointF(0, 0), QSizeF(0, 0)},
        {QSizeF(105, 37), 2, 8, QPointF(0, 0), QSizeF(0, 0)},
    } + catalogue();
    // clang-format on
    return all;
}

std::optional<LabelFormat> format(const QString &name)
{
    const QString wanted = name.simplified();
    for (const LabelFormat &format : formats()) {
        if (format.name().compare(wanted, Qt::CaseInsensitive) == 0)
            return format;
    }
    return std::nullopt;
}

QList<LabelFormat> matching(const QString &text)
{
    QList<LabelFormat> found;
    for (const LabelFormat &format : formats()) {
        if (!format.maker.isEmpty() && format.listing().contains(text, Qt::CaseInsensitive))
            found.append(format);
    }
    return found;
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

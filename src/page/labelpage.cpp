#include "page/labelpage.h"

#include "address/modulename.h"
#include "page/pageunits.h"
#include "page/pens.h"
#include "page/switchpainter.h"
#include "page/tablefont.h"

#include <QPainter>

namespace {

void drawText(QPainter &painter, const LabelLayout::Text &text, const QString &content, QFont::Weight weight)
{
    painter.setFont(tableFont(text.pointSize, weight));
    painter.drawText(text.box, static_cast<int>((text.alignment | Qt::AlignVCenter).toInt()), content);
}

} // namespace

LabelPage::LabelPage(Names names)
    : names(std::move(names))
{
}

NameFits LabelPage::paint(QPainter &painter, const QList<LabelSheet::Placed> &labels) const
{
    NameFits fits;
    std::optional<LabelLayout> layout; // one for all the labels of a size
    for (const LabelSheet::Placed &label : labels) {
        if (!layout || layout->labelMm != label.rect.size())
            layout = LabelLayout::of(label.rect.size());
        if (!layout->fits)
            continue;
        painter.save();
        painter.translate(label.rect.topLeft() * PageUnits::perMillimetre);
        if (const std::optional<FittedName> fitted = paintLabel(painter, *layout, label.key))
            fits.append({label.key, *fitted});
        painter.restore();
    }
    return fits;
}

std::optional<FittedName> LabelPage::paintLabel(QPainter &painter, const LabelLayout &layout, const QString &key) const
{
    painter.setPen(blackPen(1));
    drawText(painter, layout.address, key, QFont::Bold);
    if (layout.module)
        drawText(painter, *layout.module, ModuleName::of(key), QFont::Normal);
    for (int row = 0; row < layout.marks.size(); ++row)
        drawText(painter, layout.marks.at(row), QString(AddressCodec::rowLabels.at(row)), QFont::Normal);
    for (int k = 0; k < layout.numbers.size(); ++k)
        drawText(painter, layout.numbers.at(k), QString::number(k + 1), QFont::Normal);
    SwitchPainter::paint(painter, layout.switches, AddressCodec::decode(key));

    const auto name = names.constFind(key);
    if (name == names.cend())
        return std::nullopt;
    const qreal ascent = fitter.ascent(namePointSize);
    const FittedName fitted = fitter.fitInto(*name, QRectF(0, -ascent, layout.name.width(), layout.name.height()));
    fitter.paint(painter, fitted, QPointF(layout.name.left(), layout.name.top() + ascent));
    return fitted;
}

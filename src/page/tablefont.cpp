#include "page/tablefont.h"

QFont tableFont(qreal pointSize, QFont::Weight weight)
{
    [[maybe_unused]] static const bool twinKnown = [] {
        QFont::insertSubstitution(tableFontFamily, tableFontTwin);
        return true;
    }();
    QFont font(tableFontFamily, -1, weight);
    font.setPointSizeF(pointSize);
    return font;
}

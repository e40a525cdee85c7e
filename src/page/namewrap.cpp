#include "page/namewrap.h"

#include <QFont>
#include <QFontMetrics>

#include <memory>

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

CharWidth arialScreenWidth()
{
    auto metrics = std::make_shared<QFontMetrics>(tableFont(namePointSize));
    return [metrics](QChar c) { return metrics->horizontalAdvance(c); };
}

QString printedText(QString name)
{
    for (QChar &c : name) {
        if (c.category() == QChar::Other_Control && c != u'\n')
            c = u' ';
    }
    return name;
}

QString wrapName(QString name, int maxWidth, const CharWidth &charWidth)
{
    const QChar space(u' ');
    const QString lineBreak = QStringLiteral("\n");
    qint64 width = 0; // wide enough for any widths a CharWidth may give
    qsizetype lastSpace = -1;
    qsizetype lineStart = 0;

    for (qsizetype pos = 0; pos < name.size(); ++pos) {
        width += charWidth(name.at(pos));
        if (name.at(pos) == space)
            lastSpace = pos;
        if (width < maxWidth)
            continue;
        if (lastSpace >= 0) {
            name[lastSpace] = lineBreak.front();
            pos = lastSpace;
            lineStart = pos + 1;
        } else if (pos > lineStart) {
            // "-" and "\n" go before the overflowing character; measuring resumes with the "\n".
            name.insert(pos, lineBreak);
            name.insert(pos, QStringLiteral("-"));
            lineStart = pos + 2;
        } else {
            continue; // A character that alone reaches the limit keeps its line.
        }
        width = 0;
        lastSpace = -1;
    }
    return name;
}

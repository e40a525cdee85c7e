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

namespace {

constexpr qsizetype minBreakPart = 3;

qint64 widthOf(QStringView text, const CharWidth &charWidth)
{
    qint64 width = 0; // wide enough for any widths a CharWidth may give
    for (const QChar c : text)
        width += charWidth(c);
    return width;
}

bool isBreakMark(QChar c)
{
    return c == u'-' || c == u'/';
}

// Where a word too long for a line is broken: the first part is word.left(result).
qsizetype breakPoint(const QString &word, int maxWidth, const CharWidth &charWidth)
{
    qsizetype fitting = 0;
    for (qint64 width = 0; fitting < word.size() && width + charWidth(word.at(fitting)) < maxWidth; ++fitting)
        width += charWidth(word.at(fitting));
    for (qsizetype cut = fitting; cut >= minBreakPart; --cut) {
        if (isBreakMark(word.at(cut - 1)) && word.size() - cut >= minBreakPart)
            return cut;
    }
    const qsizetype leavingEnough = std::min(fitting, word.size() - minBreakPart);
    return leavingEnough >= minBreakPart ? leavingEnough : std::max<qsizetype>(fitting, 1);
}

} // namespace

std::optional<QStringList> wrapWords(const QString &line, int maxWidth, const CharWidth &charWidth, bool breakWords)
{
    const auto fits = [&](QStringView text) { return widthOf(text, charWidth) < maxWidth; };
    QStringList lines;
    QString current;
    for (QString word : line.split(u' ')) {
        const QString joined = current.isEmpty() ? word : current + u' ' + word;
        if (fits(joined)) {
            current = joined;
            continue;
        }
        if (!current.isEmpty())
            lines.append(current);
        while (word.size() > 1 && !fits(word)) {
            if (!breakWords)
                return std::nullopt;
            const qsizetype cut = breakPoint(word, maxWidth, charWidth);
            lines.append(word.left(cut) + (isBreakMark(word.at(cut - 1)) ? QString() : QStringLiteral("-")));
            word = word.mid(cut);
        }
        current = word;
    }
    lines.append(current);
    return lines;
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

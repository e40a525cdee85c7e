#include "page/namefitter.h"

#include <QPainter>
#include <QtMath>

#include <algorithm>

namespace {

const QString ellipsis = QStringLiteral("…");
const QChar hyphen = u'-';
const QChar lineBreak = u'\n';

qreal lineSpacingAt(qreal pointSize)
{
    return NameFitter::nameLineSpacing * pointSize / namePointSize;
}

// The first maxLines lines of a name, each of its own lines wrapped on its own by wrap, which
// is given the most lines still wanted; nothing where wrap gives nothing.
template<typename Wrap>
std::optional<QStringList> paragraphsWrapped(QStringView name, qsizetype maxLines, const Wrap &wrap)
{
    QStringList lines;
    for (qsizetype start = 0; start <= name.size() && lines.size() < maxLines;) {
        qsizetype end = name.indexOf(lineBreak, start);
        if (end < 0)
            end = name.size();
        const std::optional<QStringList> wrapped = wrap(name.mid(start, end - start), maxLines - lines.size());
        if (!wrapped)
            return std::nullopt;
        lines += *wrapped;
        start = end + 1;
    }
    return lines;
}

} // namespace

NameFitter::NameFitter()
    : coverage(sizes.font(namePointSize), sizes.device())
    , screenCharWidth(arialScreenWidth())
{
}

bool NameFitter::fitsWidth(const QString &line, qreal pointSize, qreal width) const
{
    // The rounded-up widths of the characters are never less than the line's advance,
    // so the shaping is needed only near the limit.
    return static_cast<qreal>(sizes.widthBound(pointSize, line)) <= width
           || sizes.metrics(pointSize).horizontalAdvance(line) <= width;
}

bool NameFitter::fits(const QStringList &lines, qreal pointSize, qreal lineSpacing, const QRectF &space) const
{
    return lines.size() <= linesWithin(pointSize, lineSpacing, space)
           && std::all_of(lines.cbegin(), lines.cend(),
                          [&](const QString &line) { return fitsWidth(line, pointSize, space.width()); });
}

int NameFitter::linesWithin(qreal pointSize, qreal lineSpacing, const QRectF &space) const
{
    const QFontMetricsF &m = sizes.metrics(pointSize);
    int count = 0;
    for (;; ++count) {
        const qreal baseline = lineSpacing * count;
        if (baseline - m.ascent() < space.top() || baseline + m.descent() > space.bottom())
            return count;
    }
}

std::optional<QStringList> NameFitter::wrapToWidth(QStringView name, qreal pointSize, qreal width, WordBreaks breaks,
                                                   qsizetype maxLines) const
{
    // Whole units, rounded up, and room for the hyphen a break may add.
    const CharWidth widthOf = sizes.charWidths(pointSize);
    const int limit =
        qFloor(width - (breaks != WordBreaks::None ? sizes.metrics(pointSize).horizontalAdvance(hyphen) : 0));
    return paragraphsWrapped(name, maxLines, [&](QStringView paragraph, qsizetype most) {
        return wrapWords(paragraph, limit, widthOf, breaks, most);
    });
}

QStringList NameFitter::shortened(QStringList lines, const QRectF &space) const
{
    const qreal spacing = lineSpacingAt(smallestPointSize);
    while (lines.size() > 1 && !fits(lines, smallestPointSize, spacing, space))
        lines.removeLast();
    QString last = lines.takeLast();
    if (last.endsWith(hyphen))
        last.chop(1);
    // The longest start of the line that fits with "…", found by halving: a line's width grows
    // with its length, and one step a character would lay out the line again for each.
    qsizetype fitting = 0;
    for (qsizetype tooLong = last.size() + 1; tooLong - fitting > 1;) {
        const qsizetype tried = (fitting + tooLong) / 2;
        (fitsWidth(last.left(tried) + ellipsis, smallestPointSize, space.width()) ? fitting : tooLong) = tried;
    }
    if (fitting > 0 && last.at(fitting - 1).isHighSurrogate())
        --fitting; // never half a character
    lines.append(last.left(fitting) + ellipsis);
    return lines;
}

FittedName NameFitter::fitAsWrapped(const QString &name, const QRectF &space) const
{
    FittedName fitted = fitPrinted(printedText(name), space);
    fitted.missing = coverage.missingCharacters(name);
    return fitted;
}

FittedName NameFitter::fitPrinted(const QString &name, const QRectF &space) const
{
    // One line more than the space holds tells that the name does not fit as wrapped.
    const QStringList asWrapped = *paragraphsWrapped(
        name, linesWithin(namePointSize, nameLineSpacing, space) + 1, [this](QStringView paragraph, qsizetype most) {
            return std::optional(wrapNameLines(paragraph, nameWrapWidth, screenCharWidth, most));
        });
    if (fits(asWrapped, namePointSize, nameLineSpacing, space))
        return {FittedName::Fits, namePointSize, nameLineSpacing, asWrapped, {}};
    return fitAtMost(name, space, namePointSize - pointSizeStep, AtSmallest::KeepWhole);
}

FittedName NameFitter::fitInto(const QString &name, const QRectF &space) const
{
    FittedName fitted = fitAtMost(printedText(name), space, namePointSize, AtSmallest::BreakLarger);
    fitted.missing = coverage.missingCharacters(name);
    return fitted;
}

void NameFitter::paint(QPainter &painter, const FittedName &fitted, QPointF firstBaseline) const
{
    painter.setFont(sizes.font(fitted.pointSize));
    for (int n = 0; n < fitted.lines.size(); ++n)
        painter.drawText(firstBaseline + QPointF(0, fitted.lineSpacing * n), fitted.lines.at(n));
}

qreal NameFitter::ascent(qreal pointSize) const
{
    return sizes.metrics(pointSize).ascent();
}

FittedName NameFitter::fitAtMost(const QString &name, const QRectF &space, qreal largest, AtSmallest atSmallest) const
{
    // The largest size at which no word has to be broken, else the largest that fits with
    // words broken, found by halving the steps between 5 pt and the largest. One line more
    // than the space holds tells that a size does not fit, so no wrap goes further.
    // Words are broken at the dictionary's places, or where that does not fit even at 5 pt,
    // where the width runs out: a name printed whole reads better than one cut short.
    const auto wrappedAt = [&](qreal size, WordBreaks breaks) {
        return wrapToWidth(name, size, space.width(), breaks, linesWithin(size, lineSpacingAt(size), space) + 1);
    };
    const auto fittedAt = [&](int step, WordBreaks breaks) -> std::optional<FittedName> {
        const qreal size = smallestPointSize + pointSizeStep * step;
        const qreal spacing = lineSpacingAt(size);
        const std::optional<QStringList> lines = wrappedAt(size, breaks);
        if (!lines || !fits(*lines, size, spacing, space))
            return std::nullopt;
        return FittedName{size < namePointSize ? FittedName::Smaller : FittedName::Fits, size, spacing, *lines, {}};
    };
    const int steps = static_cast<int>((largest - smallestPointSize) / pointSizeStep);
    const bool syllablesFit = fittedAt(0, WordBreaks::Hyphenated).has_value();
    if (!syllablesFit && !fittedAt(0, WordBreaks::AtWidth)) {
        const QStringList lines = *wrappedAt(smallestPointSize, WordBreaks::Hyphenated);
        return {
            FittedName::Shortened, smallestPointSize, lineSpacingAt(smallestPointSize), shortened(lines, space), {}};
    }
    const WordBreaks breaks = syllablesFit ? WordBreaks::Hyphenated : WordBreaks::AtWidth;
    std::optional<FittedName> smallestWhole;
    for (int step = steps; step >= 0 && !smallestWhole; --step) {
        smallestWhole = fittedAt(step, WordBreaks::None);
        if (smallestWhole && (step > 0 || atSmallest == AtSmallest::KeepWhole))
            return *smallestWhole;
    }
    int low = 0;
    int high = steps;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (fittedAt(middle, breaks))
            low = middle;
        else
            high = middle - 1;
    }
    return low == 0 && smallestWhole ? *smallestWhole : *fittedAt(low, breaks);
}

#include "page/namefitter.h"

#include "page/tablegeometry.h"

#include <QGlyphRun>
#include <QSet>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>

using namespace TableGeometry;

namespace {

const QString ellipsis = QStringLiteral("…");
const QChar hyphen = u'-';
const QChar lineBreak = u'\n';

// The module headings end here, above the first row; table coordinates.
constexpr int headingsBottom = moduleHeadingTop + moduleHeadingHeight - tableOrigin.y();

qreal lineSpacingAt(qreal pointSize)
{
    return nameLineSpacing * pointSize / namePointSize;
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

NameFitter::NameFitter(int pageWidth)
    : pageWidth(pageWidth)
    , screenCharWidth(arialScreenWidth())
    , device(&nowhere)
{
    device.setResolution(resolution);
}

QRectF NameFitter::space(int column, int row) const
{
    const QPoint origin = cellOrigin(column, row);
    qreal right = origin.x() + cellPitchX + captionRect.left(); // the next column's caption
    if (column == columnLineAfter - 1)
        right = columnLineX - columnLinePenWidth / 2;
    else if (column == columnCount - 1)
        right = pageWidth - tableOrigin.x();
    const qreal separatorHalf = captionPenWidth / 2;
    const qreal top = row == 0 ? headingsBottom : origin.y() - separatorOffset + separatorHalf;
    const qreal bottom = origin.y() + cellPitchY - separatorOffset - separatorHalf;
    return QRectF(QPointF(origin.x() + nameBaseline.x(), top), QPointF(right, bottom));
}

NameFitter::SizeMetrics &NameFitter::sizeMetrics(qreal pointSize) const
{
    auto found = metricsBySize.find(pointSize);
    if (found == metricsBySize.end()) {
        const QFont font = tableFont(pointSize);
        found = metricsBySize.emplace(pointSize, SizeMetrics{font, QFontMetricsF(font, &device), {}}).first;
    }
    return found->second;
}

int NameFitter::charWidth(SizeMetrics &size, QChar c)
{
    auto width = size.widths.constFind(c.unicode());
    if (width == size.widths.cend())
        width = size.widths.insert(c.unicode(), c == lineBreak ? 0 : qCeil(size.metrics.horizontalAdvance(c)));
    return *width;
}

bool NameFitter::fitsWidth(const QString &line, qreal pointSize, qreal width) const
{
    // The rounded-up widths of the characters are never less than the line's advance,
    // so the shaping is needed only near the limit.
    SizeMetrics &size = sizeMetrics(pointSize);
    qint64 upperBound = 0;
    for (const QChar c : line)
        upperBound += charWidth(size, c);
    return static_cast<qreal>(upperBound) <= width || size.metrics.horizontalAdvance(line) <= width;
}

bool NameFitter::fits(const QStringList &lines, qreal pointSize, qreal lineSpacing, const QRectF &space) const
{
    return lines.size() <= linesWithin(pointSize, lineSpacing, space)
           && std::all_of(lines.cbegin(), lines.cend(),
                          [&](const QString &line) { return fitsWidth(line, pointSize, space.width()); });
}

int NameFitter::linesWithin(qreal pointSize, qreal lineSpacing, const QRectF &space) const
{
    const QFontMetricsF &m = metrics(pointSize);
    int count = 0;
    for (;; ++count) {
        const qreal baseline = nameBaseline.y() + lineSpacing * count;
        if (baseline - m.ascent() < space.top() || baseline + m.descent() > space.bottom())
            return count;
    }
}

std::optional<QStringList> NameFitter::wrapToWidth(QStringView name, qreal pointSize, qreal width, bool breakWords,
                                                   qsizetype maxLines) const
{
    SizeMetrics &size = sizeMetrics(pointSize);
    // Whole units, rounded up, and room for the hyphen a break may add.
    const CharWidth widthOf = [&size](QChar c) { return charWidth(size, c); };
    const int limit = qFloor(width - (breakWords ? size.metrics.horizontalAdvance(hyphen) : 0));
    return paragraphsWrapped(name, maxLines, [&](QStringView paragraph, qsizetype most) {
        return wrapWords(paragraph, limit, widthOf, breakWords, most);
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

FittedName NameFitter::fit(const QString &name, const QString &address) const
{
    const std::optional<QPoint> cell = cellOf(address);
    return cell ? fit(name, cell->x(), cell->y()) : FittedName{};
}

QString NameFitter::missingCharacters(const QString &name) const
{
    QString missing;
    QSet<char32_t> listed; // looked up here, since searching the string grows with its length
    for (const char32_t c : name.toUcs4()) {
        if (QChar::isSpace(c) || QChar::category(c) == QChar::Other_Control)
            continue;
        auto known = printable.constFind(c);
        if (known == printable.cend())
            known = printable.insert(c, prints(c));
        if (!*known && !listed.contains(c)) {
            listed.insert(c);
            missing += QString::fromUcs4(&c, 1);
        }
    }
    return missing;
}

// Laid out as Qt prints it, with the fonts it falls back to; glyph 0 is the empty box.
bool NameFitter::prints(char32_t c) const
{
    QTextLayout layout(QString::fromUcs4(&c, 1), font(namePointSize), &device);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return std::none_of(runs.cbegin(), runs.cend(),
                        [](const QGlyphRun &run) { return run.glyphIndexes().contains(0); });
}

FittedName NameFitter::fit(const QString &name, int column, int row) const
{
    FittedName fitted = fitPrinted(printedText(name), column, row);
    fitted.missing = missingCharacters(name);
    return fitted;
}

FittedName NameFitter::fitPrinted(const QString &name, int column, int row) const
{
    const QRectF cell = space(column, row).translated(-QPointF(cellOrigin(column, row)));
    // One line more than the cell holds tells that the name does not fit as wrapped.
    const QStringList asWrapped = *paragraphsWrapped(
        name, linesWithin(namePointSize, nameLineSpacing, cell) + 1, [this](QStringView paragraph, qsizetype most) {
            return std::optional(wrapNameLines(paragraph, nameWrapWidth, screenCharWidth, most));
        });
    if (fits(asWrapped, namePointSize, nameLineSpacing, cell))
        return {FittedName::Fits, namePointSize, nameLineSpacing, asWrapped, {}};
    return fitAtMost(name, cell, namePointSize - pointSizeStep, false);
}

FittedName NameFitter::fitInto(const QString &name, const QRectF &space) const
{
    FittedName fitted = fitAtMost(printedText(name), space, namePointSize, true);
    fitted.missing = missingCharacters(name);
    return fitted;
}

qreal NameFitter::ascent(qreal pointSize) const
{
    return metrics(pointSize).ascent();
}

FittedName NameFitter::fitAtMost(const QString &name, const QRectF &space, qreal largest,
                                 bool breakBeforeSmallest) const
{
    // The largest size at which no word has to be broken, else the largest that fits with
    // words broken, found by halving the steps between 5 pt and the largest. One line more
    // than the space holds tells that a size does not fit, so no wrap goes further. With
    // breakBeforeSmallest, a name that fits whole at 5 pt only is broken where that fits larger.
    const auto wrappedAt = [&](qreal size, bool breakWords) {
        return wrapToWidth(name, size, space.width(), breakWords, linesWithin(size, lineSpacingAt(size), space) + 1);
    };
    const auto fittedAt = [&](int step, bool breakWords) -> std::optional<FittedName> {
        const qreal size = smallestPointSize + pointSizeStep * step;
        const qreal spacing = lineSpacingAt(size);
        const std::optional<QStringList> lines = wrappedAt(size, breakWords);
        if (!lines || !fits(*lines, size, spacing, space))
            return std::nullopt;
        return FittedName{size < namePointSize ? FittedName::Smaller : FittedName::Fits, size, spacing, *lines, {}};
    };
    const int steps = static_cast<int>((largest - smallestPointSize) / pointSizeStep);
    if (!fittedAt(0, true)) {
        const QStringList lines = *wrappedAt(smallestPointSize, true);
        return {
            FittedName::Shortened, smallestPointSize, lineSpacingAt(smallestPointSize), shortened(lines, space), {}};
    }
    std::optional<FittedName> smallestWhole;
    for (int step = steps; step >= 0 && !smallestWhole; --step) {
        smallestWhole = fittedAt(step, false);
        if (smallestWhole && (step > 0 || !breakBeforeSmallest))
            return *smallestWhole;
    }
    int low = 0;
    int high = steps;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (fittedAt(middle, true))
            low = middle;
        else
            high = middle - 1;
    }
    return low == 0 && smallestWhole ? *smallestWhole : *fittedAt(low, true);
}

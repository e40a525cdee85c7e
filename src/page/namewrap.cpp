#include "page/namewrap.h"

#include "page/hyphenation.h"
#include "page/tablefont.h"

#include <QFontMetrics>
#include <QHash>

#include <algorithm>
#include <memory>

CharWidth arialScreenWidth()
{
    // Each character's width asked of the font once: asking takes longer than the wrapping.
    struct Widths
    {
        QFontMetrics metrics;
        QHash<char16_t, int> known;
    };
    auto widths = std::make_shared<Widths>(Widths{QFontMetrics(tableFont(namePointSize)), {}});
    return [widths](QChar c) {
        auto width = widths->known.constFind(c.unicode());
        if (width == widths->known.cend())
            width = widths->known.insert(c.unicode(), widths->metrics.horizontalAdvance(c));
        return *width;
    };
}

namespace {

constexpr qsizetype minBreakPart = 3;
constexpr qsizetype unlimitedLines = std::numeric_limits<qsizetype>::max();
const QString addedHyphen = QStringLiteral("-");
// Longer is no German word (the longest in use have some 80 letters): it breaks where the
// width runs out, and a window with such names starts without asking the dictionary.
constexpr qsizetype longestGermanWord = 100;
constexpr QChar enDash = u'\u2013';
constexpr QChar softHyphen = u'\u00ad'; // prints nothing where a line does not break at it

qint64 widthOf(QStringView text, const CharWidth &charWidth)
{
    qint64 width = 0; // wide enough for any widths a CharWidth may give
    for (const QChar c : text)
        width += charWidth(c);
    return width;
}

bool isBreakMark(QChar c)
{
    return c == u'-' || c == u'/' || c == enDash;
}

// Where the width runs out, a character is never cut from its combining marks, nor a
// character beyond the BMP in half; one too wide alone stays whole.
qsizetype characterStart(QStringView word, qsizetype cut)
{
    const auto continues = [word](qsizetype at) {
        return at < word.size() && (word.at(at).isLowSurrogate() || word.at(at).isMark());
    };
    qsizetype start = cut;
    while (start > 0 && continues(start))
        --start;
    if (start > 0)
        return start;
    while (continues(cut))
        ++cut;
    return cut;
}

// Where a word too long for a line is broken: the first part is word.left(result). After a "-"
// or "/" of its own, else at the last place the dictionary offers, else where the width runs
// out; three letters on either side where the line allows. The places count from the start of
// the whole word, of which word is the rest from wordStart on.
qsizetype breakPoint(QStringView word, qsizetype wordStart, const QList<qsizetype> &places, int maxWidth,
                     const CharWidth &charWidth)
{
    qsizetype fitting = 0;
    for (qint64 width = 0; fitting < word.size() && width + charWidth(word.at(fitting)) < maxWidth; ++fitting)
        width += charWidth(word.at(fitting));
    for (qsizetype cut = fitting; cut >= minBreakPart; --cut) {
        if (isBreakMark(word.at(cut - 1)) && word.size() - cut >= minBreakPart)
            return cut;
    }
    for (auto place = std::upper_bound(places.cbegin(), places.cend(), wordStart + fitting);
         place != places.cbegin() && *(place - 1) - wordStart >= minBreakPart;) {
        const qsizetype cut = *--place - wordStart;
        if (word.size() - cut >= minBreakPart)
            return cut;
    }
    const qsizetype leavingEnough = std::min(fitting, word.size() - minBreakPart);
    return characterStart(word, leavingEnough >= minBreakPart ? leavingEnough : std::max<qsizetype>(fitting, 1));
}

// Where wrapName ends a line: at a space, which the line break replaces, or before a
// character, with a hyphen added.
struct LineBreak
{
    qsizetype before = 0;
    bool hyphen = false;

    static LineBreak atSpace(qsizetype space) { return {space, false}; }
    static LineBreak hyphenatedBefore(qsizetype character) { return {character, true}; }
    qsizetype next() const { return hyphen ? before : before + 1; }
};

// The first maxBreaks line breaks of wrapName.
QList<LineBreak> lineBreaks(QStringView name, int maxWidth, const CharWidth &charWidth, qsizetype maxBreaks)
{
    QList<LineBreak> breaks;
    qint64 width = 0; // wide enough for any widths a CharWidth may give
    qsizetype lastSpace = -1;
    qsizetype lineStart = 0;

    for (qsizetype pos = 0; pos < name.size() && breaks.size() < maxBreaks; ++pos) {
        width += charWidth(name.at(pos));
        if (name.at(pos) == u' ')
            lastSpace = pos;
        if (width < maxWidth)
            continue;
        if (lastSpace >= 0) {
            breaks.append(LineBreak::atSpace(lastSpace));
            pos = lastSpace;
            width = 0;
        } else if (pos > lineStart) {
            breaks.append(LineBreak::hyphenatedBefore(pos));
            // Measuring resumes with the "\n", then the overflowing character again.
            width = charWidth(u'\n');
            --pos;
        } else {
            continue; // A character that alone reaches the limit keeps its line.
        }
        lineStart = pos + 1;
        lastSpace = -1;
    }
    return breaks;
}

struct WordWrap
{
    int maxWidth;
    const CharWidth &charWidth;
    WordBreaks breaks;
    qsizetype maxLines;
};

// Adds the lines a word too long for one is broken into, until its rest fits a line or the
// last line wanted is complete; the rest stays in word, its width in wordWidth.
void breakWord(QStringView &word, qint64 &wordWidth, QStringList &lines, const WordWrap &wrap)
{
    const qsizetype wordSize = word.size();
    const bool german = wrap.breaks == WordBreaks::Hyphenated && word.size() <= longestGermanWord;
    const QList<qsizetype> places = german ? Hyphenation::german().breaks(word) : QList<qsizetype>();
    while (lines.size() < wrap.maxLines && word.size() > 1 && wordWidth >= wrap.maxWidth) {
        const QStringView part =
            word.left(breakPoint(word, wordSize - word.size(), places, wrap.maxWidth, wrap.charWidth));
        lines.append(part.toString());
        if (!isBreakMark(part.back()))
            lines.last() += addedHyphen;
        wordWidth -= widthOf(part, wrap.charWidth);
        word = word.mid(part.size());
    }
}

} // namespace

std::optional<QStringList> wrapWords(QStringView line, int maxWidth, const CharWidth &charWidth, WordBreaks breaks,
                                     qsizetype maxLines)
{
    // Each word and each line is measured once, as a sum of its characters, so that the
    // time grows with the line's length alone.
    const qint64 spaceWidth = charWidth(u' ');
    QStringList lines;
    QString current;
    qint64 currentWidth = 0;
    for (qsizetype start = 0; start <= line.size();) {
        qsizetype end = line.indexOf(u' ', start);
        if (end < 0)
            end = line.size();
        QStringView word = line.mid(start, end - start);
        start = end + 1;
        qint64 wordWidth = widthOf(word, charWidth);
        const qint64 joinedWidth = current.isEmpty() ? wordWidth : currentWidth + spaceWidth + wordWidth;
        if (joinedWidth < maxWidth) {
            if (!current.isEmpty())
                current += u' ';
            current += word;
            currentWidth = joinedWidth;
            continue;
        }
        if (!current.isEmpty())
            lines.append(current);
        const bool tooLong = lines.size() < maxLines && word.size() > 1 && wordWidth >= maxWidth;
        if (tooLong && breaks == WordBreaks::None)
            return std::nullopt;
        if (tooLong)
            breakWord(word, wordWidth, lines, {maxWidth, charWidth, breaks, maxLines});
        if (lines.size() >= maxLines)
            return lines;
        current = word.toString();
        currentWidth = wordWidth;
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
    return name.remove(softHyphen);
}

QString wrapName(const QString &name, int maxWidth, const CharWidth &charWidth)
{
    const QList<LineBreak> breaks = lineBreaks(name, maxWidth, charWidth, unlimitedLines);
    QString wrapped;
    wrapped.reserve(name.size() + breaks.size() * (addedHyphen.size() + 1)); // each break adds at most "-\n"
    qsizetype from = 0;
    for (const LineBreak &lineBreak : breaks) {
        wrapped += QStringView(name).mid(from, lineBreak.before - from);
        if (lineBreak.hyphen)
            wrapped += addedHyphen;
        wrapped += u'\n';
        from = lineBreak.next();
    }
    wrapped += QStringView(name).mid(from);
    return wrapped;
}

QStringList wrapNameLines(QStringView name, int maxWidth, const CharWidth &charWidth, qsizetype maxLines)
{
    const QList<LineBreak> breaks = lineBreaks(name, maxWidth, charWidth, maxLines);
    QStringList lines;
    qsizetype from = 0;
    for (const LineBreak &lineBreak : breaks) {
        lines.append(name.mid(from, lineBreak.before - from).toString());
        if (lineBreak.hyphen)
            lines.last() += addedHyphen;
        from = lineBreak.next();
    }
    if (lines.size() < maxLines)
        lines.append(name.mid(from).toString());
    return lines;
}

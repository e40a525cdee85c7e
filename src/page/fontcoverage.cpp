#include "page/fontcoverage.h"

#include <QGlyphRun>
#include <QList>
#include <QSet>
#include <QTextLayout>

#include <algorithm>

FontCoverage::FontCoverage(const QFont &font, const QPaintDevice *device)
    : font(font)
    , device(device)
{
}

QString FontCoverage::missingCharacters(const QString &text) const
{
    QString missing;
    QSet<char32_t> listed; // looked up here, since searching the string grows with its length
    for (const char32_t c : text.toUcs4()) {
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
bool FontCoverage::prints(char32_t c) const
{
    QTextLayout layout(QString::fromUcs4(&c, 1), font, device);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return std::none_of(runs.cbegin(), runs.cend(),
                        [](const QGlyphRun &run) { return run.glyphIndexes().contains(0); });
}

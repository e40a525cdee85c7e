#ifndef HYPHENPATTERNS_H
#define HYPHENPATTERNS_H

#include <QByteArray>
#include <QList>

// The patterns of a hyphenation dictionary in libhyphen's format, sorted by their letters, so
// that libhyphen can be given a dictionary of only what one word needs: loading the whole
// German dictionary takes it seconds. libhyphen applies at each letter the pattern of the
// longest piece before it that begins any pattern, so the small dictionary holds the patterns
// found in the word and, for each piece that begins a pattern, one such pattern: it walks
// through the same pieces and breaks the word as the whole dictionary does.
class HyphenPatterns
{
public:
    // Nothing where the file cannot be read or holds no patterns.
    static HyphenPatterns read(const QString &path);

    bool isEmpty() const { return levels.isEmpty(); }
    bool isUtf8() const { return charset == "UTF-8"; }
    // A dictionary in libhyphen's format for the word (lower case, in the dictionary's encoding):
    // each level's settings and the patterns it needs, in the file's order.
    QByteArray dictionaryFor(const QByteArray &word) const;

private:
    struct Pattern
    {
        QByteArray letters; // with the "." of a word's ends
        qsizetype line = 0;
        QByteArray text;
    };
    struct Level
    {
        QByteArray settings;
        QList<Pattern> patterns; // by their letters, then in the file's order
    };

    void addLine(const QByteArray &line, qsizetype number);
    static void addNeeded(const Level &level, const QByteArray &word, QList<const Pattern *> &needed);

    QByteArray charset;
    QList<Level> levels;
};

#endif

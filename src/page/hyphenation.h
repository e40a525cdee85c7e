#ifndef HYPHENATION_H
#define HYPHENATION_H

#include "page/hyphenpatterns.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringView>

// Where German words may be broken, after their syllables and the parts of their compounds,
// by libhyphen with a German hyphenation dictionary (LibreOffice's, Debian's hyphen-de).
class Hyphenation
{
public:
    // The German dictionary, read at first use: the system's, or on Windows the one beside the
    // programs. Without it, no word has places to break.
    static const Hyphenation &german();

    explicit Hyphenation(const QString &dictionaryPath);

    bool isLoaded() const { return !patterns.isEmpty(); }
    // Where the dictionary lets the word be broken, ascending: each the length of the part
    // before the break. Only inside runs of letters it holds, three at least on either side.
    QList<qsizetype> breaks(QStringView word) const;

private:
    // The places after which a run of letters, in lower case and in the dictionary's
    // encoding, may be broken.
    QList<qsizetype> placesIn(const QString &run) const;
    QList<qsizetype> hyphenate(const QString &run) const;

    HyphenPatterns patterns;
    mutable QMutex knownMutex;
    mutable QHash<QString, QList<qsizetype>> known; // a name's words are broken at several sizes
};

#endif

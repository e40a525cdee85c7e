#include "page/hyphenation.h"

#include <QCoreApplication>
#include <QDir>
#include <QMutexLocker>
#include <QTemporaryFile>

#include <hyphen.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Three letters at least on either side of a break, two at the parts of a compound, as the
// German dictionary has it.
constexpr int minimumLetters = 3;
constexpr int minimumCompoundLetters = 2;
constexpr qsizetype shortestBroken = 2 * qsizetype(minimumLetters);
// What libhyphen asks of the buffer for the places of a word beyond the word's own length.
constexpr qsizetype placesPadding = 5;
constexpr char16_t lastLatin1 = 0xff;
// Words remembered with their places, before the memory starts anew.
constexpr qsizetype mostKnown = 10000;

// "ck" begins a syllable only before a vowel ("Brü-cke"): the German patterns also offer
// "Gleisrü-ckmeldung", which a reader stumbles at. A place has three letters after it, so
// one follows the "ck".
bool splitsFromItsSyllable(QStringView run, qsizetype place)
{
    static const QString vowels = QStringLiteral("aeiouäöüy");
    return run.mid(place, 2) == u"ck" && !vowels.contains(run.at(place + 2));
}

struct DictionaryFree
{
    void operator()(HyphenDict *dictionary) const { hnj_hyphen_free(dictionary); }
};
using Dictionary = std::unique_ptr<HyphenDict, DictionaryFree>;

// libhyphen reads a dictionary from a FILE only: from memory here, through a file on Windows.
Dictionary loaded(const QByteArray &text)
{
#ifdef Q_OS_WIN
    QTemporaryFile file;
    if (!file.open() || file.write(text) != text.size() || !file.flush())
        return nullptr;
    FILE *stream = _wfopen(reinterpret_cast<const wchar_t *>(file.fileName().utf16()), L"rb");
#else
    FILE *stream = fmemopen(const_cast<char *>(text.constData()), static_cast<size_t>(text.size()), "r");
#endif
    if (!stream)
        return nullptr;
    Dictionary dictionary(hnj_hyphen_load_file(stream));
    std::fclose(stream);
    return dictionary;
}

} // namespace

const Hyphenation &Hyphenation::german()
{
    // Relative on Windows, where the dictionary ships beside the programs.
    static const Hyphenation dictionary(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(VESK_HYPHEN_DICTIONARY)));
    return dictionary;
}

Hyphenation::Hyphenation(const QString &dictionaryPath)
    : patterns(HyphenPatterns::read(dictionaryPath))
{
    if (patterns.isEmpty())
        qWarning("The hyphenation dictionary %s cannot be read: long words are broken without it.",
                 qUtf8Printable(QDir::toNativeSeparators(dictionaryPath)));
}

QList<qsizetype> Hyphenation::breaks(QStringView word) const
{
    // Runs of the letters the dictionary holds, each in lower case and composed with its
    // combining marks (a list from a Mac has "ü" as "u" and a mark); ends holds where each
    // letter of the run ends in the word.
    QList<qsizetype> breaks;
    QString run;
    QList<qsizetype> ends;
    const auto breakRun = [&] {
        for (const qsizetype place : placesIn(run))
            breaks.append(ends.at(place - 1));
        run.clear();
        ends.clear();
    };
    const bool utf8 = patterns.isUtf8();
    for (qsizetype start = 0; start < word.size() && isLoaded();) {
        qsizetype end = start + 1;
        while (end < word.size() && word.at(end).isMark())
            ++end;
        const QString letter =
            word.mid(start, end - start).toString().normalized(QString::NormalizationForm_C).toLower();
        const bool held =
            letter.size() == 1 && letter.front().isLetter() && (utf8 || letter.front().unicode() <= lastLatin1);
        if (held) {
            run += letter;
            ends.append(end);
        } else {
            breakRun();
        }
        start = end;
    }
    breakRun();
    return breaks;
}

QList<qsizetype> Hyphenation::placesIn(const QString &run) const
{
    if (run.size() < shortestBroken)
        return {};
    const QMutexLocker locker(&knownMutex);
    if (const auto places = known.constFind(run); places != known.cend())
        return *places;
    if (known.size() >= mostKnown)
        known.clear();
    return *known.insert(run, hyphenate(run));
}

QList<qsizetype> Hyphenation::hyphenate(const QString &run) const
{
    // The patterns are lower case, in the dictionary's encoding.
    const QByteArray word = patterns.isUtf8() ? run.toUtf8() : run.toLatin1(); // ends with '\0', as libhyphen needs
    const Dictionary dictionary = loaded(patterns.dictionaryFor(word));
    if (!dictionary)
        return {};
    QByteArray hyphens(word.size() + placesPadding, '\0');
    char **replacements = nullptr;
    int *positions = nullptr;
    int *removed = nullptr;
    QList<qsizetype> places;
    if (hnj_hyphen_hyphenate3(dictionary.get(), word.constData(), static_cast<int>(word.size()), hyphens.data(),
                              nullptr, &replacements, &positions, &removed, minimumLetters, minimumLetters,
                              minimumCompoundLetters, minimumCompoundLetters)
        == 0) {
        // Counted in characters, also in UTF-8. A break that changes the letters (the old
        // spelling's "Schiff-fahrt") is left out: a name prints as it was written.
        for (qsizetype place = 0; place + 1 < run.size(); ++place) {
            if ((hyphens.at(place) & 1) != 0 && (!replacements || !replacements[place])
                && !splitsFromItsSyllable(run, place + 1))
                places.append(place + 1);
        }
    }
    if (replacements) {
        for (qsizetype place = 0; place < word.size(); ++place)
            std::free(replacements[place]);
    }
    std::free(replacements);
    std::free(positions);
    std::free(removed);
    return places;
}

#include "page/hyphenation.h"

#include <QCoreApplication>
#include <QDir>
#include <QMutexLocker>
#include <QTemporaryFile>

#include <hyphen.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Two letters on either side of a break inside a word, as LibreOffice has it for German.
constexpr int minimumLetters = 2;
// What libhyphen asks of the buffer for the places of a word beyond the word's own length.
constexpr qsizetype placesPadding = 5;
constexpr char16_t lastLatin1 = 0xff;
// Words remembered with their places, before the memory starts anew.
constexpr qsizetype mostKnown = 10000;

// "ck" begins a syllable only before a vowel ("Rü-cke"): the German patterns also offer
// "Rü-ckmeldung", which a reader stumbles at.
bool splitsFromItsSyllable(const QString &run, qsizetype place)
{
    static const QString vowels = QStringLiteral("aeiouäöüy");
    const QChar afterIt = place + 2 < run.size() ? run.at(place + 2) : QChar();
    return QStringView(run).mid(place, 2) == u"ck" && (afterIt.isNull() || !vowels.contains(afterIt));
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
    QList<qsizetype> breaks;
    for (qsizetype start = 0; start < word.size() && isLoaded();) {
        qsizetype end = start;
        while (end < word.size() && word.at(end).isLetter())
            ++end;
        // A letter whose lower case is longer leaves its run unbroken.
        const QString run = word.mid(start, end - start).toString().toLower();
        if (run.size() == end - start) {
            for (const qsizetype place : placesIn(run))
                breaks.append(start + place);
        }
        start = end + 1;
    }
    return breaks;
}

QList<qsizetype> Hyphenation::placesIn(const QString &run) const
{
    if (run.size() <= minimumLetters)
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
    // The patterns are lower case, in the dictionary's encoding; a letter it cannot hold
    // leaves the run unbroken.
    const bool utf8 = patterns.isUtf8();
    const auto unencodable = [utf8](QChar c) { return utf8 ? c.isSurrogate() : c.unicode() > lastLatin1; };
    if (std::any_of(run.cbegin(), run.cend(), unencodable))
        return {};
    const QByteArray word = utf8 ? run.toUtf8() : run.toLatin1(); // ends with '\0', as libhyphen needs
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
                              minimumLetters, minimumLetters)
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

#include "fuzzcheck.h"
#include "page/hyphenpatterns.h"

#include <hyphen.h>
#include <sanitizer/lsan_interface.h>

namespace {

// German words are made of these; each input byte chooses one.
const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyzäöüß");
constexpr int minimumLetters = 2;
constexpr int placesPadding = 5;

HyphenPatterns *patterns = nullptr;
HyphenDict *whole = nullptr;

// Every place libhyphen gives the word, and the replacements of the old spelling, as text.
QString places(HyphenDict *dictionary, const QByteArray &word)
{
    QByteArray hyphens(word.size() + placesPadding, '\0');
    char **replacements = nullptr;
    int *positions = nullptr;
    int *removed = nullptr;
    hnj_hyphen_hyphenate3(dictionary, word.constData(), static_cast<int>(word.size()), hyphens.data(), nullptr,
                          &replacements, &positions, &removed, minimumLetters, minimumLetters, minimumLetters,
                          minimumLetters);
    QString shown;
    for (qsizetype place = 0; place < word.size(); ++place) {
        shown += QChar(hyphens.at(place));
        if (replacements && replacements[place])
            shown += QString::fromLatin1(replacements[place]) + QLatin1Char(' ');
    }
    for (qsizetype place = 0; replacements && place < word.size(); ++place)
        std::free(replacements[place]);
    std::free(replacements);
    std::free(positions);
    std::free(removed);
    return shown;
}

} // namespace

// Both dictionaries before the first input: the whole one takes libhyphen seconds to load.
extern "C" int LLVMFuzzerInitialize(int * /*argc*/, char *** /*argv*/)
{
    patterns = new HyphenPatterns(HyphenPatterns::read(QStringLiteral(VESK_HYPHEN_PATTERNS)));
    // libhyphen leaks what a later pattern of the same letters replaces, as the whole has some.
    const __lsan::ScopedDisabler lettersReplacedLeak;
    whole = hnj_hyphen_load(VESK_HYPHEN_PATTERNS);
    return 0;
}

// The small dictionary made for a word breaks it exactly as the whole one does.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString word;
    for (size_t i = 0; i < size; ++i)
        word += alphabet.at(data[i] % alphabet.size());
    const QByteArray latin1 = word.toLatin1();
    const QByteArray text = patterns->dictionaryFor(latin1);
    FILE *stream = fmemopen(const_cast<char *>(text.constData()), static_cast<size_t>(text.size()), "r");
    HyphenDict *small = hnj_hyphen_load_file(stream);
    std::fclose(stream);
    const QString expected = places(whole, latin1);
    const QString found = places(small, latin1);
    hnj_hyphen_free(small);
    require(found == expected, "the word's own dictionary breaks it as the whole does",
            word + QStringLiteral(": ") + found + QStringLiteral(" against ") + expected);
    return 0;
}

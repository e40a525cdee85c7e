#include "fuzzcheck.h"
#include "page/hyphenation.h"

#include <QStringList>

#include <hyphen.h>
#include <sanitizer/lsan_interface.h>

namespace {

// German words are made of these; each input byte chooses one, upper case with its top bit.
const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyzäöüß");
constexpr int minimumLetters = 2;
constexpr uint8_t upperCaseBit = 0x80;

// The places libhyphen gives with the whole dictionary loaded, as Hyphenation::breaks counts them.
QList<qsizetype> wholeDictionaryPlaces(HyphenDict *dictionary, const QString &word)
{
    const QByteArray latin1 = word.toLower().toLatin1();
    QByteArray hyphens(latin1.size() + 5, '\0');
    char **replacements = nullptr;
    int *positions = nullptr;
    int *removed = nullptr;
    hnj_hyphen_hyphenate3(dictionary, latin1.constData(), static_cast<int>(latin1.size()), hyphens.data(), nullptr,
                          &replacements, &positions, &removed, minimumLetters, minimumLetters, minimumLetters,
                          minimumLetters);
    QList<qsizetype> places;
    for (qsizetype place = 0; place + 1 < latin1.size(); ++place) {
        if ((hyphens.at(place) & 1) != 0 && (!replacements || !replacements[place]))
            places.append(place + 1);
    }
    for (qsizetype place = 0; replacements && place < latin1.size(); ++place)
        std::free(replacements[place]);
    std::free(replacements);
    std::free(positions);
    std::free(removed);
    return places;
}

QString placesShown(const QList<qsizetype> &places)
{
    QStringList shown;
    for (const qsizetype place : places)
        shown.append(QString::number(place));
    return shown.join(u' ');
}

const Hyphenation *german = nullptr;
HyphenDict *whole = nullptr;

} // namespace

// Both dictionaries before the first input: the whole one takes libhyphen seconds to load.
extern "C" int LLVMFuzzerInitialize(int * /*argc*/, char *** /*argv*/)
{
    german = new Hyphenation(QStringLiteral(VESK_HYPHEN_PATTERNS));
    // libhyphen leaks what a later pattern of the same letters replaces, as the whole has some.
    const __lsan::ScopedDisabler lettersReplacedLeak;
    whole = hnj_hyphen_load(VESK_HYPHEN_PATTERNS);
    return 0;
}

// The small dictionary made for each word breaks it exactly as the whole one does.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString word;
    for (size_t i = 0; i < size; ++i) {
        const QChar letter = alphabet.at(data[i] % alphabet.size());
        word += (data[i] & upperCaseBit) != 0 ? letter.toUpper() : letter;
    }
    const QList<qsizetype> small = german->breaks(word);
    const QList<qsizetype> expected = wholeDictionaryPlaces(whole, word);
    require(small == expected, "the word's own dictionary breaks it as the whole does",
            word + QStringLiteral(": ") + placesShown(small) + QStringLiteral(" against ") + placesShown(expected));
    return 0;
}

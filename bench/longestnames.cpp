#include "longestnames.h"

namespace {

constexpr qsizetype longestName = 1000; // the most characters a name may have
constexpr qsizetype shortestWord = 5;
constexpr qsizetype wordLengths = 8; // 5 to 12 letters
const QString letters = QStringLiteral("weichenantriebbahnhofsignalgleis");

} // namespace

Names longestNames()
{
    Names names;
    for (int row = 0; row < NamedAddresses::count; ++row) {
        QString name;
        for (qsizetype word = 0; name.size() < longestName; ++word) {
            const qsizetype length = row % 2 == 0 ? longestName : shortestWord + (row + word) % wordLengths;
            if (!name.isEmpty())
                name += u' ';
            for (qsizetype i = 0; i < length; ++i)
                name += letters.at((row + word + i) % letters.size());
        }
        names.insert(NamedAddresses::keyOfRow(row), name.left(longestName));
    }
    return names;
}

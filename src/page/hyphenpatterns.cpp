#include "page/hyphenpatterns.h"

#include <QFile>

#include <algorithm>
#include <tuple>

namespace {

const QByteArray nextLevel = "NEXTLEVEL";
const QByteArray settingNames[] = {"LEFTHYPHENMIN", "RIGHTHYPHENMIN", "COMPOUNDLEFTHYPHENMIN", "COMPOUNDRIGHTHYPHENMIN",
                                   "NOHYPHEN"};
constexpr char commentMark = '%';
constexpr char replacementMark = '/';

// A pattern's letters, as libhyphen reads them: up to the first space or control character,
// without the digits, and without a replacement after "/".
QByteArray lettersOf(const QByteArray &line)
{
    QByteArray letters;
    for (const char c : line) {
        if (c == replacementMark || (static_cast<unsigned char>(c) <= ' '))
            break;
        if (c < '0' || c > '9')
            letters += c;
    }
    return letters;
}

} // namespace

HyphenPatterns HyphenPatterns::read(const QString &path)
{
    HyphenPatterns patterns;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return patterns;
    const QList<QByteArray> lines = file.readAll().split('\n');
    patterns.charset = lines.value(0).trimmed();
    patterns.levels.append(Level());
    for (qsizetype number = 1; number < lines.size(); ++number)
        patterns.addLine(lines.at(number), number);
    bool any = false;
    for (Level &level : patterns.levels) {
        std::sort(level.patterns.begin(), level.patterns.end(), [](const Pattern &a, const Pattern &b) {
            return std::tie(a.letters, a.line) < std::tie(b.letters, b.line);
        });
        any = any || !level.patterns.isEmpty();
    }
    return any ? patterns : HyphenPatterns();
}

void HyphenPatterns::addLine(const QByteArray &line, qsizetype number)
{
    if (line.startsWith(nextLevel)) {
        levels.append(Level());
        return;
    }
    if (line.startsWith(commentMark))
        return;
    const bool setting = std::any_of(std::cbegin(settingNames), std::cend(settingNames),
                                     [&line](const QByteArray &name) { return line.startsWith(name); });
    if (setting) {
        levels.last().settings += line + '\n';
        return;
    }
    const QByteArray letters = lettersOf(line);
    if (!letters.isEmpty())
        levels.last().patterns.append({letters, number, line});
}

void HyphenPatterns::addNeeded(const Level &level, const QByteArray &word, QList<const Pattern *> &needed)
{
    const auto byLetters = [](const Pattern &pattern, const QByteArray &letters) { return pattern.letters < letters; };
    const auto lettersBefore = [](const QByteArray &letters, const Pattern &pattern) {
        return letters < pattern.letters;
    };
    // The pattern of these letters, or one that begins with them; false if none does. Of
    // patterns with the same letters only the file's last, which replaces the others in
    // libhyphen (which leaks the replaced).
    const auto addBeginning = [&](const QByteArray &piece) {
        const auto pattern = std::lower_bound(level.patterns.cbegin(), level.patterns.cend(), piece, byLetters);
        if (pattern == level.patterns.cend() || !pattern->letters.startsWith(piece))
            return false;
        needed.append(&*(std::upper_bound(pattern, level.patterns.cend(), pattern->letters, lettersBefore) - 1));
        return true;
    };
    // The word's pieces, each also after the "." of a start and before the "." of an end: on
    // the second level, each part of a compound is hyphenated as a word of its own.
    addBeginning(QByteArrayLiteral("."));
    for (qsizetype start = 0; start < word.size(); ++start) {
        for (const QByteArray &opening : {QByteArray(), QByteArrayLiteral(".")}) {
            QByteArray piece = opening;
            for (qsizetype end = start; end < word.size(); ++end) {
                piece += word.at(end);
                if (!addBeginning(piece))
                    break;
                addBeginning(piece + '.');
            }
        }
    }
}

QByteArray HyphenPatterns::dictionaryFor(const QByteArray &word) const
{
    QByteArray dictionary = charset + '\n';
    for (const Level &level : levels) {
        if (&level != &levels.first())
            dictionary += nextLevel + '\n';
        dictionary += level.settings;
        QList<const Pattern *> needed;
        addNeeded(level, word, needed);
        // Once each, in the file's order.
        const auto inFileOrder = [](const Pattern *a, const Pattern *b) { return a->line < b->line; };
        std::sort(needed.begin(), needed.end(), inFileOrder);
        needed.erase(std::unique(needed.begin(), needed.end()), needed.end());
        for (const Pattern *pattern : needed)
            dictionary += pattern->text + '\n';
    }
    return dictionary;
}

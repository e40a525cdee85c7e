#ifndef WORDING_H
#define WORDING_H

#include <QCoreApplication>
#include <QLocale>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <iterator>

// One case of Key in both wordings: German for the window, English for the command line.
template<typename Key>
struct Wording
{
    Key key;
    const char *german;
    const char *english;
};

// The wording of key in table, the German through translation in context like every text of
// the window; empty where the table has none.
template<typename Key, std::size_t Size>
QString worded(const char *context, const Wording<Key> (&table)[Size], Key key, QLocale::Language language)
{
    const auto *const found =
        std::find_if(std::cbegin(table), std::cend(table), [key](const Wording<Key> &each) { return each.key == key; });
    if (found == std::cend(table))
        return {};
    return language == QLocale::German ? QCoreApplication::translate(context, found->german)
                                       : QString::fromUtf8(found->english);
}

#endif

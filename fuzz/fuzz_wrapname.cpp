#include "fuzzcheck.h"
#include "page/namewrap.h"

#include <QGuiApplication>

#include <array>
#include <set>
#include <utility>
#include <vector>

namespace {

// Input layout: a selector byte, the limit, a table of widths, then the name as UTF-16.
// An odd selector uses the real Arial metrics, an even one the table, indexed by code unit.
constexpr size_t widthTableSize = 8;
constexpr size_t headerSize = 1 + sizeof(int32_t) * (1 + widthTableSize);

int32_t readInt(const uint8_t *data)
{
    int32_t value = 0;
    std::memcpy(&value, data, sizeof value);
    return value;
}

CharWidth widthSource(const uint8_t *data)
{
    if (data[0] % 2 != 0)
        return arialScreenWidth();
    std::array<int32_t, widthTableSize> table{};
    for (size_t i = 0; i < widthTableSize; ++i)
        table[i] = readInt(data + 1 + sizeof(int32_t) * (1 + i));
    return [table](QChar c) { return table[c.unicode() % widthTableSize]; };
}

// True if wrapped is name with some spaces turned into line breaks and some "-\n" inserted.
bool isWrapOf(const QString &name, const QString &wrapped)
{
    std::set<std::pair<qsizetype, qsizetype>> seen;
    std::vector<std::pair<qsizetype, qsizetype>> pending{{0, 0}};
    while (!pending.empty()) {
        const auto [i, j] = pending.back();
        pending.pop_back();
        if (!seen.insert({i, j}).second)
            continue;
        if (i == name.size() && j == wrapped.size())
            return true;
        if (j + 1 < wrapped.size() && wrapped[j] == u'-' && wrapped[j + 1] == u'\n')
            pending.emplace_back(i, j + 2);
        if (i < name.size() && j < wrapped.size()
            && (wrapped[j] == name[i] || (name[i] == u' ' && wrapped[j] == u'\n')))
            pending.emplace_back(i + 1, j + 1);
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int * /*argc*/, char ***argv)
{
    // The Arial metrics need a GUI application; Qt gets none of the fuzzer's arguments.
    static int qtArgc = 1;
    static char *qtArgv[] = {(*argv)[0], nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static const QGuiApplication app(qtArgc, qtArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < headerSize)
        return 0;
    const int maxWidth = readInt(data + 1);
    const QString name = utf16Text(data + headerSize, size - headerSize);
    const QString wrapped = wrapName(name, maxWidth, widthSource(data));
    require(isWrapOf(name, wrapped), "only breaks and hyphens are added", wrapped);
    return 0;
}

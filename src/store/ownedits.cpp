#include "store/ownedits.h"

#include <algorithm>

namespace {

// A name stored with a time further ahead than this came from a clock that is wrong.
constexpr qint64 clockAheadMs = qint64{60} * 60 * 1000;

} // namespace

Stamped OwnEdits::add(const QString &key, const std::optional<QString> &name, const StampedNames &shown, qint64 nowMs)
{
    const qint64 replacedMs = NamesTimes::entry(shown, key).madeMs;
    Stamped edit{name, replacedMs < nowMs + clockAheadMs ? std::max(nowMs, replacedMs + 1) : nowMs};
    edits.insert(key, {edit, 0});
    return edit;
}

void OwnEdits::stored(const StampedNames &written, qint64 nowMs)
{
    for (auto edit = written.cbegin(); edit != written.cend(); ++edit) {
        const auto mine = edits.find(edit.key());
        if (mine != edits.end() && mine->stamped == *edit)
            mine->storedMs = nowMs;
    }
}

QHash<QString, std::optional<QString>> OwnEdits::replacedBy(const StampedNames &nowStored, Made made)
{
    QHash<QString, std::optional<QString>> replaced;
    for (auto mine = edits.begin(); mine != edits.end();) {
        const Stamped now = NamesTimes::entry(nowStored, mine.key());
        if (now.madeMs <= mine->stamped.madeMs) {
            ++mine;
            continue;
        }
        const bool unknowing = made == Made::Apart || mine->storedMs == 0 || now.madeMs < mine->storedMs;
        if (unknowing && now.name != mine->stamped.name)
            replaced.insert(mine.key(), mine->stamped.name);
        mine = edits.erase(mine);
    }
    return replaced;
}

StampedNames OwnEdits::unreplaced(StampedNames pending, const StampedNames &nowStored)
{
    pending.removeIf([&nowStored](StampedNames::iterator edit) {
        const Stamped now = NamesTimes::entry(nowStored, edit.key());
        return now.madeMs > edit->madeMs && !(now.guessed && edit->madeMs >= now.underMs);
    });
    return pending;
}

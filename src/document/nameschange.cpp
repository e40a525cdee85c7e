#include "document/nameschange.h"

std::optional<QString> entryOf(const Names &names, const QString &key)
{
    const auto entry = names.constFind(key);
    return entry != names.cend() ? std::optional(*entry) : std::nullopt;
}

NameEntries entriesOf(const Names &names, const QList<QString> &keys)
{
    NameEntries entries;
    for (const QString &key : keys)
        entries.insert(key, entryOf(names, key));
    return entries;
}

NamesChange::NamesChange(const QString &text, NameEntries before, NameEntries after, Apply apply, After state)
    : QUndoCommand(text)
    , before(std::move(before))
    , after(std::move(after))
    , apply(std::move(apply))
    , shown(state == After::Shown)
{
}

void NamesChange::undo()
{
    apply(after, before, Overwrite::OnlyUnchanged);
}

void NamesChange::redo()
{
    if (!std::exchange(shown, false))
        apply(before, after, done ? Overwrite::OnlyUnchanged : Overwrite::Any);
    done = true;
}

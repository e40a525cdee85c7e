#include "document/nameschange.h"

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

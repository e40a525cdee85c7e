#include "document/nameschange.h"

NamesChange::NamesChange(const QString &text, NameEntries before, NameEntries after, Apply apply, bool shown)
    : QUndoCommand(text)
    , before(std::move(before))
    , after(std::move(after))
    , apply(std::move(apply))
    , shown(shown)
{
}

void NamesChange::undo()
{
    apply(after, before, true);
}

void NamesChange::redo()
{
    if (!std::exchange(shown, false))
        apply(before, after, done);
    done = true;
}

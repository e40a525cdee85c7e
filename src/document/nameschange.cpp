#include "document/nameschange.h"

NamesChange::NamesChange(const QString &text, NameEntries before, NameEntries after, Apply apply)
    : QUndoCommand(text)
    , before(std::move(before))
    , after(std::move(after))
    , apply(std::move(apply))
{
}

void NamesChange::undo()
{
    apply(before);
}

void NamesChange::redo()
{
    apply(after);
}

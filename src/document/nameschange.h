#ifndef NAMESCHANGE_H
#define NAMESCHANGE_H

#include "names/nameentries.h"

#include <QUndoCommand>

#include <functional>

// One undoable change to the names: an edit, a paste, a load, a clear. It keeps only the
// addresses it touched, before and after. Its undo and redo change an address only where
// it still holds what this change left there, so that another window's later name stands.
class NamesChange : public QUndoCommand
{
public:
    // Which addresses an undo or redo sets: OnlyUnchanged, only those that still hold their name in from.
    enum class Overwrite { Any, OnlyUnchanged };
    // Sets the names of to, where overwrite lets it.
    using Apply = std::function<void(const NameEntries &from, const NameEntries &to, Overwrite overwrite)>;
    // Shown: after is what the names show already, put there by another side.
    enum class After { ToApply, Shown };

    NamesChange(const QString &text, NameEntries before, NameEntries after, Apply apply, After state = After::ToApply);

    void undo() override;
    void redo() override;

private:
    NameEntries before;
    NameEntries after;
    Apply apply;
    bool done = false; // the first redo is the edit itself, which stands over any name
    bool shown;        // the first redo has nothing to do
};

#endif

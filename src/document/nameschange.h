#ifndef NAMESCHANGE_H
#define NAMESCHANGE_H

#include "names/namescsv.h"

#include <QUndoCommand>

#include <functional>

// One undoable change to the names: an edit, a paste, a load, a clear. It keeps the
// whole names before and after, so an undo gives back exactly what was there.
class NamesChange : public QUndoCommand
{
public:
    using Apply = std::function<void(const Names &)>;

    NamesChange(const QString &text, Names before, Names after, Apply apply);

    void undo() override;
    void redo() override;

private:
    Names before;
    Names after;
    Apply apply;
};

#endif

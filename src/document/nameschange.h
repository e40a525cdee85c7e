#ifndef NAMESCHANGE_H
#define NAMESCHANGE_H

#include "address/namedaddresses.h"

#include <QUndoCommand>

#include <functional>
#include <optional>

// Names of some addresses: a name, or nothing where an address has none.
using NameEntries = QHash<QString, std::optional<QString>>;

// One undoable change to the names: an edit, a paste, a load, a clear. It keeps only the
// addresses it touched, before and after, so its undo takes back exactly this change and
// leaves what another window stored meanwhile.
class NamesChange : public QUndoCommand
{
public:
    using Apply = std::function<void(const NameEntries &)>;

    NamesChange(const QString &text, NameEntries before, NameEntries after, Apply apply);

    void undo() override;
    void redo() override;

private:
    NameEntries before;
    NameEntries after;
    Apply apply;
};

#endif

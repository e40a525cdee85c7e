#ifndef OWNEDITS_H
#define OWNEDITS_H

#include "store/stampednames.h"

#include <optional>

// This side's edits of the store, until a later edit of the same address replaces them: which
// of those later edits were made without knowing this side's, so that it is told. Only values,
// no files and no thread.
class OwnEdits
{
public:
    // How the names now stored were made: Apart, on a computer that could not know this side's.
    enum class Made { Knowing, Apart };

    // An edit made at nowMs, later than what shown holds for its address, also where that came
    // from a clock a little ahead; kept until replaced.
    Stamped add(const QString &key, const std::optional<QString> &name, const StampedNames &shown, qint64 nowMs);
    // These edits were stored at nowMs; one made again since counts as not stored yet.
    void stored(const StampedNames &written, qint64 nowMs);
    // This side's names that a later edit in nowStored replaced, where it was made before this
    // side's was stored or apart; each replaced edit is forgotten.
    QHash<QString, std::optional<QString>> replacedBy(const StampedNames &nowStored, Made made);
    // pending without the edits that nowStored replaced: a guess over a fact not later than an
    // edit waiting here replaces it not, for stored, the edit goes under it.
    static StampedNames unreplaced(StampedNames pending, const StampedNames &nowStored);

private:
    struct Edit
    {
        Stamped stamped;
        qint64 storedMs = 0; // when it was stored; 0 while it is not
    };
    QHash<QString, Edit> edits;
};

#endif

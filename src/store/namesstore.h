#ifndef NAMESSTORE_H
#define NAMESSTORE_H

#include "store/stampednames.h"
#include "store/storeerror.h"

#include <QString>

// Where the window keeps its names between runs: a names list in the per-user data folder.
namespace NamesStore {

// Names the folder to keep vesk-adressen/namen.csv in instead of the per-user data folder:
// a shared folder, or a test's own. Windows, unlike Linux (XDG_DATA_HOME), has no variable
// of its own for that.
inline constexpr char dataHomeVariable[] = "VESK_ADRESSEN_DATA_HOME";

// vesk-adressen/namen.csv under dataHomeVariable's folder if it is set, else under
// QStandardPaths::GenericDataLocation (%LOCALAPPDATA% on Windows).
QString defaultPath();

struct LoadResult
{
    StampedNames names;
    StoreError error;     // why the file could not be read; None for a missing file
    QString setAsidePath; // where an unreadable file was moved; empty if it could not be moved
    bool exists = false;
    bool settled = false; // see NamesTimes::Stamping
    Writers writers = {};
    bool ok() const { return error.ok(); }
    // Left where it is, to be read again: held open by another program, or a link the user may remove.
    bool leftInPlace() const
    {
        return error.is(NamesCsv::ErrorKind::Unreadable) || error.kind == StoreError::Kind::Link;
    }
};

struct ReadResult
{
    Names names; // canonical address -> name; empty on error
    StoreError error;
    bool ok() const { return error.ok(); }
};
// The stored names, read only: a damaged store is left as it is. A missing one has none.
ReadResult read(const QString &path);
// Reads the stored names. A damaged file is never overwritten later: it is renamed aside
// to "<path>.defekt-JJJJMMTT-hhmmss" (a number added if that exists). One that cannot be
// opened now (error Unreadable), or a link in its place (error Link), is left where it is,
// to be read again.
LoadResult load(const QString &path);
// Renames a damaged file aside as load() does; where it went, or empty where it could not.
QString setAside(const QString &path);

} // namespace NamesStore

#endif

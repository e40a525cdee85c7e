#ifndef STOREERROR_H
#define STOREERROR_H

#include "names/namescsv.h"

#include <QString>

#include <utility>

// Why the store could not be read or written: what any names list can meet (its file
// unreadable, damaged or unwritable, a full device), or what only a store that windows,
// vesk-dipp and other computers share meets.
struct StoreError
{
    enum class Kind {
        None,
        List,    // the file as a names list; see list
        Locked,  // another side holds the store's lock; detail: which, or the lock file
        Stalled, // the folder has not answered for a while
        Link,    // a link where the store's own file goes; detail: its path
    };

    StoreError() = default;
    // A names list's own error: None stays None.
    StoreError(const NamesCsv::Error &list)
        : kind(list.kind == NamesCsv::ErrorKind::None ? Kind::None : Kind::List)
        , list(list)
    {
    }
    StoreError(Kind kind, QString detail)
        : kind(kind)
        , detail(std::move(detail))
    {
    }

    Kind kind = Kind::None;
    NamesCsv::Error list;
    QString detail;

    bool ok() const { return kind == Kind::None; }
    bool is(NamesCsv::ErrorKind listKind) const { return kind == Kind::List && list.kind == listKind; }
    // In words: German for the window, English for the command line.
    QString describe(NamesCsv::Language language) const;
};

#endif

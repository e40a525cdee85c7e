#ifndef STORETEST_H
#define STORETEST_H

#include "document/namesdocument.h"

#include <QSignalSpy>

// The store answers from a thread of its own; a test waits for the answer itself.
namespace Store {

constexpr int answerMs = 30000;

inline NamesStore::LoadResult restored(NamesDocument &document)
{
    QSignalSpy found(&document.store(), &SharedStore::restored);
    document.restore();
    if (!found.wait(answerMs))
        return {{}, {NamesCsv::ErrorKind::Unreadable, 0, QStringLiteral("no answer")}, {}};
    return found.first().first().value<NamesStore::LoadResult>();
}

inline bool stored(NamesDocument &document)
{
    return document.store().waitStored(answerMs);
}

} // namespace Store

#endif

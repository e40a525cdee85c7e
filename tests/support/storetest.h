#ifndef STORETEST_H
#define STORETEST_H

#include "document/namesdocument.h"
#include "store/storeclock.h"
#include "store/storelock.h"
#include "support/coretest.h"

#include <QDateTime>
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

// A window's names, restored from the store as the window starts.
struct Restored : NamesDocument
{
    explicit Restored(const QString &path)
        : NamesDocument(path)
    {
        restored(*this);
    }
};

inline bool stored(NamesDocument &document)
{
    return document.store().waitStored(answerMs);
}

// The time another side, or another computer, left a file with.
inline bool setFileTime(const QString &path, const QDateTime &time)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime);
}

// Edits one after the other, each in a millisecond of its own, are later than the one before.
inline void nextMillisecond()
{
    for (const qint64 now = QDateTime::currentMSecsSinceEpoch(); now == QDateTime::currentMSecsSinceEpoch();) { }
}

} // namespace Store

#endif

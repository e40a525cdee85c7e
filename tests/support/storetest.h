#ifndef STORETEST_H
#define STORETEST_H

#include "document/namesdocument.h"
#include "names/namescsv.h"
#include "store/storeclock.h"
#include "store/storefile.h"
#include "store/storelock.h"
#include "support/coretest.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QSysInfo>

using NamesCsv::ErrorKind;

Q_DECLARE_METATYPE(Stamped)

// The store answers from a thread of its own; a test waits for the answer itself.
namespace Store {

constexpr int answerMs = 30000;

inline NamesStore::LoadResult restored(NamesDocument &document)
{
    QSignalSpy found(&document.store(), &SharedStore::restored);
    document.restore();
    if (!found.wait(answerMs))
        return {{}, NamesCsv::Error{NamesCsv::ErrorKind::Unreadable, 0, QStringLiteral("no answer")}, {}};
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

// A folder of each test's own, with the store's list in it.
struct Folder
{
    QString store() const { return dir->filePath(u"vesk-adressen/namen.csv"_s); }
    // How far the pauses of a side alone moved the store's clock.
    static qint64 ahead() { return StoreClock::now() - QDateTime::currentMSecsSinceEpoch(); }

    // The store where the user's is, in a new folder; the tests named are one side alone, which waits for no other.
    void newUserFolder(const QStringList &alone)
    {
        dir = std::make_unique<QTemporaryDir>();
        // Open to the user that a read-only folder makes the process.
        QFile::setPermissions(dir->path(), QFile::permissions(dir->path()) | QFile::ExeGroup | QFile::ExeOther);
        qunsetenv(NamesStore::dataHomeVariable);
        qputenv("XDG_DATA_HOME", dir->path().toUtf8());
        // Every user's names are here: another place would lose them all after an update.
        const char *home = QSysInfo::productType() == u"windows" ? "LOCALAPPDATA" : "XDG_DATA_HOME";
        QCOMPARE(NamesStore::defaultPath(),
                 QDir::fromNativeSeparators(qEnvironmentVariable(home)) + u"/vesk-adressen/namen.csv"_s);
        qputenv(NamesStore::dataHomeVariable, QDir::toNativeSeparators(dir->path()).toUtf8());
        // One side alone waits for no other: its pauses move the clock instead.
        StoreClock::setPauses(alone.contains(QTest::currentTestFunction()) ? StoreClock::Pauses::Pass
                                                                           : StoreClock::Pauses::Wait);
    }

    std::unique_ptr<QTemporaryDir> dir;
};

} // namespace Store

#endif

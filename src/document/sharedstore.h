#ifndef SHAREDSTORE_H
#define SHAREDSTORE_H

#include "document/nameschange.h"
#include "names/namescsv.h"
#include "names/namesstore.h"

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

// The store file that every window and the command line share. Each side writes only the
// addresses it changed, merged under a lock into the file as it is then, and follows what
// the others store. A write that fails is tried again by itself, sooner after a change of
// the file or its folder; only a failure that lasts is reported. Knows no widget.
class SharedStore : public QObject
{
    Q_OBJECT

public:
    explicit SharedStore(QString path, QObject *parent = nullptr);
    // Stores what is still pending, once, so that nothing is left behind by accident.
    ~SharedStore() override;

    // The stored names, read only: a damaged store is left as it is. A missing one has none.
    static NamesCsv::ReadResult read(const QString &path);

    // Reads the store and follows it from now on. A damaged one is set aside, or, where it
    // cannot be, left alone and storing stays off for this run, so it is never overwritten.
    // One that cannot be opened now is read again soon; its names are merged when storing.
    NamesStore::LoadResult restore();

    const QString &file() const { return path; }
    // What is stored, with this side's pending changes on top.
    Names names() const;

    // Names to store soon. With guard, a name is stored only over the name guard gives for
    // its address (an undo or redo that leaves another side's later name standing).
    void put(const NameEntries &entries, const NameEntries *guard = nullptr);
    // Stores what is pending now; true when nothing is left pending.
    bool storeNow();
    qsizetype pendingCount() const { return pending.size(); }
    // The pending names cannot be stored: a lasting failure, or storing is off.
    bool failing() const { return reported || !storing; }
    // Why the last try failed.
    const NamesCsv::Error &error() const { return lastError; }

signals:
    void namesChanged(const Names &names);
    // Once, when a failure has lasted a while, not at every try.
    void failed(const NamesCsv::Error &error);
    // failing() or pendingCount() changed.
    void stateChanged();
    // The store turned out damaged while running: set aside (or, with no path, left alone
    // and storing stopped), and this side's names stored anew.
    void setAside(const NamesStore::LoadResult &found);

private:
    struct Pending
    {
        std::optional<QString> name;
        bool guarded = false;
        std::optional<QString> over; // with guarded: the name it may replace
    };
    struct Outcome
    {
        NamesCsv::Error error;
        std::optional<NamesStore::LoadResult> setAside;
        Names written;
    };

    Outcome writeMerged();
    Names withPending(Names base) const;
    void tryAgainLater();
    void reload();
    void watch();

    const QString path;
    QFileSystemWatcher watcher;
    QTimer retry;
    int retryDelayMs;
    QElapsedTimer failingFor;
    Names stored; // the file as last read or written
    QHash<QString, Pending> pending;
    NamesCsv::Error lastError;
    bool storing = true;
    bool reported = false;
};

#endif

#ifndef NAMESDOCUMENT_H
#define NAMESDOCUMENT_H

#include "document/nameschange.h"
#include "names/namescsv.h"
#include "names/namesstore.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QUndoStack>

// The 96 names of one window. Every change is undoable and stored at once in the store
// file, so nothing typed is lost. Windows share the store: each writes only the addresses
// its change touched, merged into the file as it is now, and follows what the others
// store. Loads and saves names lists. Knows no widget.
class NamesDocument : public QObject
{
    Q_OBJECT

public:
    explicit NamesDocument(QString storePath, QObject *parent = nullptr);

    // Reads the store and follows it from now on. A damaged one is set aside, or, where it
    // cannot be, left alone and storing stays off for this run, so it is never overwritten.
    NamesStore::LoadResult restore();

    // By address, empty names included: a present key with an empty name was emptied.
    const Names &names() const { return current; }
    QUndoStack *undoStack() { return &undo; }
    const QString &storeFile() const { return storePath; }

    void setName(const QString &key, const QString &name);
    // Text from the clipboard, a line a row from the names table's row first down; a
    // spreadsheet row gives its first cell. Returns how many lines found no row.
    qsizetype paste(int firstRow, const QString &text);
    void remove(const QStringList &keys);
    void clear();
    // A failure leaves the names as they were.
    NamesCsv::Error load(const QString &path);
    NamesCsv::Error saveAs(const QString &path) const;

signals:
    void namesChanged(const Names &names);
    // Once, not at every change, until storing succeeds again.
    void storeFailed(const NamesCsv::Error &error);
    // The store turned out damaged while the window ran: set aside (or, with no path, left
    // alone and storing stopped), and this window's names stored anew.
    void storeSetAside(const NamesStore::LoadResult &found);

private:
    void change(const QString &text, const Names &after);
    void apply(const NameEntries &entries);
    void store();
    NamesCsv::Error writeMerged();
    Names withOwnChanges(Names stored) const;
    void show(const Names &names);
    void reload();
    void watch();

    const QString storePath;
    QUndoStack undo;
    QFileSystemWatcher watcher;
    Names current;
    QSet<QString> unstored; // addresses changed here that the store does not hold yet
    bool storing = true;
    bool storeFailureReported = false;
};

#endif

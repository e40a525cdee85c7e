#ifndef NAMESDOCUMENT_H
#define NAMESDOCUMENT_H

#include "document/nameschange.h"
#include "names/namescsv.h"
#include "names/namespaste.h"
#include "store/sharedstore.h"

#include <QObject>
#include <QUndoStack>

// The 96 names of one window with their undo history. Every change is undoable and
// handed to the shared store at once, so nothing typed is lost. Loads and saves names
// lists. Knows no widget.
class NamesDocument : public QObject
{
    Q_OBJECT

public:
    explicit NamesDocument(QString storePath, QObject *parent = nullptr);

    // Reads the stored names; the store's restored() tells what it found.
    void restore() { shared.restore(); }

    // By address, empty names included: a present key with an empty name was emptied.
    const Names &names() const { return current; }
    QUndoStack *undoStack() { return &undo; }
    SharedStore &store() { return shared; }

    void setName(const QString &key, const QString &name);
    // Text from the clipboard, as one undo step; what was and was not placed.
    NamesPaste::Placed paste(int firstRow, const QString &text, const QSet<int> &hiddenRows = {});
    void remove(const QStringList &keys);
    void clear();
    // A failure leaves the names as they were.
    NamesCsv::Error load(const QString &path);
    NamesCsv::Error saveAs(const QString &path) const;

signals:
    void namesChanged(const Names &names);
    // This window is about to change the names of these addresses: an edit, a paste, a load,
    // an undo or redo; not names stored from elsewhere.
    void changing(const QStringList &keys);
    // Names of this window that another side replaced by later ones since, by address; an
    // undo step brings them back.
    void replaced(const NameEntries &ours, const Names &now);

private:
    void change(const QString &text, const Names &after);
    void apply(const NameEntries &from, const NameEntries &to, NamesChange::Overwrite overwrite);
    void keepReplaced(const NameEntries &ours);
    NamesChange *newChange(const QString &text, const NameEntries &before, const NameEntries &after,
                           NamesChange::After state);
    void show(const Names &names);

    SharedStore shared;
    QUndoStack undo;
    Names current;
};

#endif

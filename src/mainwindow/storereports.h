#ifndef STOREREPORTS_H
#define STOREREPORTS_H

#include "store/namesstore.h"

#include <QObject>

class SharedStore;
class QWidget;

// Tells the user, in boxes over the window, when the shared store cannot be read or written,
// and what became of the names and the file. The boxes wait until no question is open.
class StoreReports : public QObject
{
    Q_OBJECT

public:
    StoreReports(SharedStore *store, QWidget *window);

private:
    void reportRestore(const NamesStore::LoadResult &stored);
    void reportDamaged(const NamesStore::LoadResult &stored, const QString &outcome);
    void reportFailure(const StoreError &error);
    void reportCopy(const NamesStore::LoadResult &copy);
    void reportCopiesStay(const StoreError &error);
    void warn(const QString &title, const QString &text);
    QString storePath() const;

    SharedStore *store;
    QWidget *window;
};

#endif

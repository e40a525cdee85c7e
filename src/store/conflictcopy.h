#ifndef CONFLICTCOPY_H
#define CONFLICTCOPY_H

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

// The copy a sync service keeps beside a file that two computers changed while apart, told
// by its name: a copy of the store's names list, or of its times.
struct ConflictCopy
{
    enum class Of { Nothing, List, Times };
    // Dated: a parenthesised suffix holding a date, as services not known here may name a copy.
    enum class Service { None, Syncthing, Nextcloud, Dropbox, OneDrive, Dated };

    // fileName, a file in the folder of the store storeName (namen.csv); hosts: the computers
    // recorded as having written the store, as OneDrive names a copy after the computer.
    static ConflictCopy classify(const QString &storeName, const QString &fileName, const QStringList &hosts);

    // A known service's form: a file of that name is a copy, also where its content is damaged.
    bool namedByService() const { return service != Service::None && service != Service::Dated; }

    Of of = Of::Nothing;
    Service service = Service::None;
    QDate date; // where the name holds one
    QTime time;
};

#endif

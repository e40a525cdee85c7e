#ifndef READONLYDIR_H
#define READONLYDIR_H

#include <QFile>
#include <QString>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// Makes a directory read-only for this process while it lives. Root ignores
// permissions, so as root the process acts as an unprivileged user meanwhile.
class ReadOnlyDir
{
public:
    explicit ReadOnlyDir(const QString &path)
        : path(path)
        , permissions(QFile::permissions(path))
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
#ifdef Q_OS_UNIX
        if (geteuid() == 0)
            droppedRoot = seteuid(unprivilegedUser) == 0;
#endif
    }
    ~ReadOnlyDir()
    {
#ifdef Q_OS_UNIX
        if (droppedRoot && seteuid(0) != 0)
            qFatal("could not become root again");
#endif
        QFile::setPermissions(path, permissions);
    }
    ReadOnlyDir(const ReadOnlyDir &) = delete;
    ReadOnlyDir &operator=(const ReadOnlyDir &) = delete;

private:
    static constexpr unsigned unprivilegedUser = 65534; // nobody
    QString path;
    QFile::Permissions permissions;
    bool droppedRoot = false;
};

#endif

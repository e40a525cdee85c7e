#ifndef FILES_H
#define FILES_H

#include <QByteArray>
#include <QFile>
#include <QString>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace Files {

inline bool write(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

inline QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes a folder read-only while it lives. Root ignores permissions, so as root the
// process acts as the unprivileged user "nobody" meanwhile.
class ReadOnlyDir
{
public:
    explicit ReadOnlyDir(const QString &path)
        : path(path)
        , permissions(QFile::permissions(path))
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
#ifdef Q_OS_UNIX
        droppedRoot = geteuid() == 0 && seteuid(nobody) == 0;
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
    static constexpr unsigned nobody = 65534;
    QString path;
    QFile::Permissions permissions;
    bool droppedRoot = false;
};

} // namespace Files

#endif

#ifndef READONLYDIR_H
#define READONLYDIR_H

#include <QFile>
#include <QProcess>
#include <QString>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// Makes a directory read-only while it lives. Root ignores permissions, so as
// root the test acts as an unprivileged user meanwhile: this process itself, or
// only the child processes started through prepare().
class ReadOnlyDir
{
public:
    enum Who { ThisProcess, ChildProcesses };

    explicit ReadOnlyDir(const QString &path, Who who = ThisProcess)
        : path(path)
        , permissions(QFile::permissions(path))
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
#ifdef Q_OS_UNIX
        if (who == ThisProcess && geteuid() == 0)
            droppedRoot = seteuid(unprivilegedUser) == 0;
#else
        Q_UNUSED(who)
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

    static void prepare(QProcess &process)
    {
#ifdef Q_OS_UNIX
        // Qt refuses to run with differing real and effective ids, so the child drops both.
        if (geteuid() == 0) {
            process.setChildProcessModifier([] {
                if (setgid(unprivilegedUser) != 0 || setuid(unprivilegedUser) != 0)
                    _exit(126);
            });
        }
#else
        Q_UNUSED(process)
#endif
    }

private:
    static constexpr unsigned unprivilegedUser = 65534; // nobody
    QString path;
    QFile::Permissions permissions;
    bool droppedRoot = false;
};

#endif

#include "base/outputfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX

const QString noReader = QStringLiteral("nobody reads from the FIFO");
const QString nothingTaken = QStringLiteral("the device takes no more bytes");
const QString becameRegular = QStringLiteral("a regular file took its place while it was opened");

// What is at path once symlinks are followed; nothing where nothing is, or it cannot be looked at.
std::optional<mode_t> typeAt(const QString &path)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return status.st_mode & S_IFMT;
}

// A reader that goes away mid-write raises SIGPIPE, which would end the window as well:
// blocked meanwhile, the write fails with EPIPE instead, and the signal it raised is taken.
class PipeSignalBlocked
{
public:
    PipeSignalBlocked()
    {
        sigemptyset(&pipeSignal);
        sigaddset(&pipeSignal, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
        wasPending = isPending();
    }
    ~PipeSignalBlocked()
    {
        int taken = 0;
        if (!wasPending && isPending())
            sigwait(&pipeSignal, &taken);
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }
    PipeSignalBlocked(const PipeSignalBlocked &) = delete;
    PipeSignalBlocked &operator=(const PipeSignalBlocked &) = delete;

private:
    static bool isPending()
    {
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        return sigismember(&pending, SIGPIPE) == 1;
    }

    sigset_t pipeSignal = {};
    sigset_t previous = {};
    bool wasPending = false;
};

std::optional<QString> writeOpened(int descriptor, const QByteArray &data)
{
    struct stat status = {};
    if (::fstat(descriptor, &status) != 0)
        return qt_error_string(errno);
    if (S_ISREG(status.st_mode))
        return becameRegular;
    // Opened without blocking so that a FIFO nobody reads from is refused; written blocking.
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return qt_error_string(errno);
    return OutputFile::writeAll(descriptor, data);
}

#endif

} // namespace

namespace OutputFile {

#ifdef Q_OS_UNIX

std::optional<QString> writeAll(int descriptor, const QByteArray &data)
{
    const PipeSignalBlocked blocked;
    const char *next = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, next, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return qt_error_string(errno);
        if (written == 0)
            return nothingTaken;
        next += written;
        left -= written;
    }
    return std::nullopt;
}

bool isStandardOutput(const QString &path)
{
    struct stat named = {};
    struct stat output = {};
    return ::stat(QFile::encodeName(path).constData(), &named) == 0 && ::fstat(STDOUT_FILENO, &output) == 0
           && named.st_dev == output.st_dev && named.st_ino == output.st_ino;
}

bool isInPlace(const QString &path)
{
    const std::optional<mode_t> type = typeAt(path);
    return (type && *type != S_IFREG) || isStandardOutput(path);
}

std::optional<QString> writeInPlace(const QString &path, const QByteArray &data)
{
    // Through the descriptor the shell opened, so that ">>" appends and "|" keeps its reader.
    if (isStandardOutput(path))
        return writeAll(STDOUT_FILENO, data);
    const QByteArray name = QFile::encodeName(path);
    int descriptor = -1;
    do {
        descriptor = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        const int error = errno;
        return error == ENXIO && typeAt(path) == mode_t{S_IFIFO} ? noReader : qt_error_string(error);
    }
    std::optional<QString> failure = writeOpened(descriptor, data);
    if (::close(descriptor) != 0 && errno != EINTR && !failure)
        failure = qt_error_string(errno);
    return failure;
}

#else

bool isStandardOutput(const QString & /*path*/)
{
    return false;
}

bool isInPlace(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

std::optional<QString> writeInPlace(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::ExistingOnly) || file.write(data) != data.size() || !file.flush())
        return file.errorString();
    file.close();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return std::nullopt;
}

#endif

std::optional<QString> write(const QString &path, const QByteArray &data)
{
    return isInPlace(path) ? writeInPlace(path, data) : replace(path, data);
}

std::optional<QString> replace(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
#ifdef Q_OS_UNIX
    // Past Qt's buffer: commit() would flush it without noticing that write fail (a full disk),
    // and a write that took only part would lose the system's reason.
    if (std::optional<QString> failure = writeAll(file.handle(), data))
        return failure;
#else
    if (file.write(data) != data.size() || !file.flush())
        return file.errorString();
#endif
    return file.commit() ? std::nullopt : std::optional<QString>(file.errorString());
}

} // namespace OutputFile

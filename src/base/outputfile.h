#ifndef OUTPUTFILE_H
#define OUTPUTFILE_H

#include <QByteArray>
#include <QString>

#include <optional>

// Writing what the user asked for to a path the user names. A regular file, or a path where
// nothing is yet, is replaced atomically, so a failure leaves an older file intact. Anything
// else there once symlinks are followed (a device, a FIFO, a socket, a terminal, /dev/stdout)
// is written into in place, as cp does, and never replaced by a file.
namespace OutputFile {

// Whether path names what standard output goes to (/dev/stdout, a file it is redirected to).
bool isStandardOutput(const QString &path);

// Whether path names something that is there and is no regular file, or standard output.
bool isInPlace(const QString &path);

#ifdef Q_OS_UNIX
// Every byte into an open descriptor, however few each write takes, through interruptions by
// signals: the system's reason on failure.
std::optional<QString> writeAll(int descriptor, const QByteArray &data);
#endif

// Writes data into what path names without replacing it: the system's reason on failure.
// A FIFO no one reads from is refused at once rather than waited on.
std::optional<QString> writeInPlace(const QString &path, const QByteArray &data);

// Replaces the file at path with data atomically, whatever is there: the reason on failure.
std::optional<QString> replace(const QString &path, const QByteArray &data);

// Writes data to path, in place or replacing the file as above: the reason on failure.
std::optional<QString> write(const QString &path, const QByteArray &data);

} // namespace OutputFile

#endif

#include "store/storepath.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#else
#include <windows.h>
#endif

namespace StorePath {

bool isLink(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status = {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
#else
    const DWORD attributes =
        ::GetFileAttributesW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
#endif
}

StoreError linkError(const QString &path)
{
    return {StoreError::Kind::Link, QDir::toNativeSeparators(path)};
}

StoreError folderError(const QString &path)
{
    return NamesCsv::Error{NamesCsv::ErrorKind::Unwritable, 0,
                           QStringLiteral("%1 is a folder").arg(QDir::toNativeSeparators(path))};
}

} // namespace StorePath

#include "names/copiesfolder.h"

#include "names/storefile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace CopiesFolder {

QStringList movedTimes(const QString &path)
{
    const QDir aside(StoreFile::copiesPath(path));
    return aside.entryList({QStringLiteral("*.zeiten")}, QDir::Files, QDir::Name)
        .replaceInStrings(QRegularExpression(QStringLiteral("^")), aside.dirName() + u'/');
}

QStringList looks(const QDir &folder, const QStringList &names)
{
    QStringList looks;
    for (const QString &name : names) {
        const QFileInfo file(folder.filePath(name));
        if (file.exists())
            looks.append(name + u'/' + QString::number(file.size()) + u'/'
                         + QString::number(file.lastModified().toMSecsSinceEpoch()));
    }
    return looks;
}

void moveAway(const QDir &folder, const QString &path, const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (StoreFile::makeCopiesFolder(path))
        QFile::rename(folder.filePath(name),
                      StoreFile::freeName(StoreFile::copiesPath(path) + u'/' + name.left(dot), name.mid(dot)));
}

} // namespace CopiesFolder

#include "store/copiesfolder.h"

#include "store/storefile.h"
#include "store/storepath.h"

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

StoreError moveAway(const QDir &folder, const QString &path, const QString &name)
{
    const QString target = StoreFile::copiesPath(path);
    if (!StoreFile::makeCopiesFolder(path))
        return StorePath::isLink(target) ? StorePath::linkError(target) : NamesCsv::writeError(target, QString());
    const qsizetype dot = name.lastIndexOf(u'.');
    QFile copy(folder.filePath(name));
    if (copy.rename(StoreFile::freeName(target + u'/' + name.left(dot), name.mid(dot))))
        return {};
    return NamesCsv::writeError(target, copy.errorString());
}

} // namespace CopiesFolder

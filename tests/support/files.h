#ifndef FILES_H
#define FILES_H

#include <QByteArray>
#include <QFile>
#include <QString>

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

} // namespace Files

#endif

#include "store/conflictcopy.h"

#include "store/storefile.h"

#include <QRegularExpression>

namespace {

using Service = ConflictCopy::Service;

// What a service puts between a file's name and its extension: captures the date, then the time if any.
struct Form
{
    Service service;
    QRegularExpression pattern;
    QString dateFormat;
};

const Form forms[] = {
    {Service::Syncthing, QRegularExpression(QStringLiteral(R"(^\.sync-conflict-(\d{8})-(\d{6})-[A-Z0-9]{7}$)")),
     QStringLiteral("yyyyMMdd")},
    {Service::Nextcloud, QRegularExpression(QStringLiteral(R"(^_conflict-(\d{8})-(\d{6})$)")),
     QStringLiteral("yyyyMMdd")},
    {Service::Nextcloud,
     QRegularExpression(QStringLiteral(R"(^ \(conflicted copy (?:.+ )?(\d{4}-\d{2}-\d{2}) (\d{6})\)$)")),
     QStringLiteral("yyyy-MM-dd")},
    {Service::Dropbox,
     QRegularExpression(QStringLiteral(R"(^ \(.+(?:['’]s conflicted copy| in Konflikt stehende Kopie) )"
                                       R"((\d{4}-\d{2}-\d{2})(?: \(\d+\))?\)$)")),
     QStringLiteral("yyyy-MM-dd")},
    {Service::Dated, QRegularExpression(QStringLiteral(R"(^ \([^()]*?(\d{4}-\d{2}-\d{2})[^()]*\)$)")),
     QStringLiteral("yyyy-MM-dd")},
};

const QString timeFormat = QStringLiteral("HHmmss");

// name is stem, then what a service added.
ConflictCopy byAddition(ConflictCopy::Of of, const QString &name, const QString &stem, const QStringList &hosts)
{
    if (!name.startsWith(stem) || name.size() == stem.size())
        return {};
    const QString added = name.mid(stem.size());
    if (added.startsWith(u'-') && hosts.contains(added.mid(1), Qt::CaseInsensitive))
        return {of, Service::OneDrive, {}, {}};
    for (const Form &form : forms) {
        const QRegularExpressionMatch match = form.pattern.match(added);
        if (!match.hasMatch())
            continue;
        const QDate date = QDate::fromString(match.captured(1), form.dateFormat);
        const QTime time = QTime::fromString(match.captured(2), timeFormat);
        if (!date.isValid() || (match.capturedLength(2) > 0 && !time.isValid()))
            return {};
        return {of, form.service, date, time};
    }
    return {};
}

ConflictCopy listCopy(const QString &storeName, const QString &fileName, const QStringList &hosts)
{
    const QString extension = storeName.mid(storeName.lastIndexOf(u'.'));
    if (!fileName.endsWith(extension))
        return {};
    return byAddition(ConflictCopy::Of::List, fileName.chopped(extension.size()), storeName.chopped(extension.size()),
                      hosts);
}

} // namespace

ConflictCopy ConflictCopy::classify(const QString &storeName, const QString &fileName, const QStringList &hosts)
{
    const QString timesSuffix = StoreFile::timesPath(QString());
    if (!fileName.endsWith(timesSuffix))
        return listCopy(storeName, fileName, hosts);
    // "<list copy>.zeiten", or the times file's own name with the service's addition.
    const QString listName = fileName.chopped(timesSuffix.size());
    ConflictCopy copy = listCopy(storeName, listName, hosts);
    if (copy.of != Of::List)
        return byAddition(Of::Times, listName, storeName, hosts);
    copy.of = Of::Times;
    return copy;
}

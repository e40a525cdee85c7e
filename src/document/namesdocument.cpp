#include "document/namesdocument.h"

#include "address/namedaddresses.h"
#include "document/nameschange.h"

namespace {

Names withoutEmpty(Names names)
{
    names.removeIf([](const auto &entry) { return entry.value().isEmpty(); });
    return names;
}

} // namespace

NamesDocument::NamesDocument(QString storePath, QObject *parent)
    : QObject(parent)
    , storePath(std::move(storePath))
{
}

NamesStore::LoadResult NamesDocument::restore()
{
    NamesStore::LoadResult stored = NamesStore::load(storePath);
    if (!stored.ok() && stored.setAsidePath.isEmpty())
        storing = false; // saving now would overwrite the only copy of what the file holds
    current = stored.names;
    emit namesChanged(current);
    return stored;
}

void NamesDocument::setName(const QString &key, const QString &name)
{
    Names after = current;
    after.insert(key, name);
    change(tr("Name ändern"), after);
}

qsizetype NamesDocument::paste(int firstRow, const QString &text)
{
    // A clipboard of nothing but line ends and blanks holds no names to paste.
    if (firstRow < 0 || text.trimmed().isEmpty())
        return 0;
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast(); // the line end after the last line
    const qsizetype pasted = std::min<qsizetype>(lines.size(), NamedAddresses::count - firstRow);
    Names after = current;
    for (int i = 0; i < pasted; ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        after.insert(NamedAddresses::keyOfRow(firstRow + i), line.section(u'\t', 0, 0));
    }
    change(tr("Einfügen"), after);
    return lines.size() - pasted;
}

void NamesDocument::remove(const QStringList &keys)
{
    Names after = current;
    for (const QString &key : keys)
        after.remove(key);
    change(tr("Namen löschen"), after);
}

void NamesDocument::clear()
{
    change(tr("Namen leeren"), {});
}

NamesCsv::Error NamesDocument::load(const QString &path)
{
    const NamesCsv::ReadResult result = NamesCsv::readFile(path);
    if (result.ok())
        change(tr("Namen laden"), result.names);
    return result.error;
}

NamesCsv::Error NamesDocument::saveAs(const QString &path) const
{
    return NamesCsv::writeFile(path, withoutEmpty(current));
}

void NamesDocument::change(const QString &text, const Names &after)
{
    if (after != current)
        undo.push(new NamesChange(text, current, after, [this](const Names &names) { apply(names); }));
}

void NamesDocument::apply(const Names &names)
{
    current = names;
    emit namesChanged(current);
    store();
}

void NamesDocument::store()
{
    if (!storing)
        return;
    const NamesCsv::Error error = NamesStore::save(storePath, current);
    const bool failed = error.kind != NamesCsv::ErrorKind::None;
    if (failed && !storeFailureReported)
        emit storeFailed(error);
    storeFailureReported = failed;
}

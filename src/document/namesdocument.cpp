#include "document/namesdocument.h"

#include "address/namedaddresses.h"
#include "document/nameschange.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace {

// Another window holds the lock for one write; a lock older than that was left behind.
constexpr int lockWaitMs = 2000;
constexpr int staleLockMs = 10000;

Names withoutEmpty(Names names)
{
    names.removeIf([](const auto &entry) { return entry.value().isEmpty(); });
    return names;
}

NameEntries entriesOf(const Names &names, const QSet<QString> &keys)
{
    NameEntries entries;
    for (const QString &key : keys)
        entries.insert(key, names.contains(key) ? std::optional(names.value(key)) : std::nullopt);
    return entries;
}

// The addresses whose name, or whether they have one, differs.
QSet<QString> differingKeys(const Names &a, const Names &b)
{
    QSet<QString> keys;
    for (const Names *names : {&a, &b}) {
        for (auto entry = names->cbegin(); entry != names->cend(); ++entry) {
            if (a.contains(entry.key()) != b.contains(entry.key()) || a.value(entry.key()) != b.value(entry.key()))
                keys.insert(entry.key());
        }
    }
    return keys;
}

} // namespace

NamesDocument::NamesDocument(QString storePath, QObject *parent)
    : QObject(parent)
    , storePath(std::move(storePath))
{
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, &NamesDocument::reload);
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, &NamesDocument::reload);
}

NamesStore::LoadResult NamesDocument::restore()
{
    NamesStore::LoadResult stored = NamesStore::load(storePath);
    if (!stored.ok() && stored.setAsidePath.isEmpty())
        storing = false; // saving now would overwrite the only copy of what the file holds
    show(stored.names);
    watch();
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
    const QSet<QString> keys = differingKeys(current, after);
    if (!keys.isEmpty())
        undo.push(new NamesChange(text, entriesOf(current, keys), entriesOf(after, keys),
                                  [this](const NameEntries &entries) { apply(entries); }));
}

void NamesDocument::apply(const NameEntries &entries)
{
    Names names = current;
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
        if (entry.value())
            names.insert(entry.key(), *entry.value());
        else
            names.remove(entry.key());
        unstored.insert(entry.key());
    }
    show(names);
    store();
}

void NamesDocument::show(const Names &names)
{
    if (names == current)
        return;
    current = names;
    emit namesChanged(current);
}

void NamesDocument::store()
{
    if (!storing || unstored.isEmpty())
        return;
    const NamesCsv::Error error = writeMerged();
    const bool failed = error.kind != NamesCsv::ErrorKind::None;
    if (failed && !storeFailureReported)
        emit storeFailed(error);
    storeFailureReported = failed;
}

// Under the lock, the file as it is now, with this window's changes on top.
NamesCsv::Error NamesDocument::writeMerged()
{
    if (!QDir().mkpath(QFileInfo(storePath).path()))
        return {NamesCsv::ErrorKind::Unwritable, 0, tr("Der Ordner kann nicht angelegt werden.")};
    QLockFile lock(storePath + QStringLiteral(".lock"));
    lock.setStaleLockTime(staleLockMs);
    if (!lock.tryLock(lockWaitMs))
        return {NamesCsv::ErrorKind::Unwritable, 0, tr("Ein anderes Fenster hält sie gesperrt.")};
    const bool exists = QFileInfo::exists(storePath); // a store deleted meanwhile takes all of ours
    const NamesStore::LoadResult stored = NamesStore::load(storePath);
    Names merged = current;
    if (stored.ok() && exists) {
        merged = withOwnChanges(stored.names);
    } else if (!stored.ok()) {
        emit storeSetAside(stored);
        storing = !stored.setAsidePath.isEmpty();
        if (!storing)
            return {};
    }
    NamesCsv::Error error = NamesCsv::writeFile(storePath, merged);
    if (error.kind == NamesCsv::ErrorKind::None) {
        unstored.clear();
        show(merged);
    }
    return error;
}

// The stored names with the changes of this window that the store does not hold yet.
Names NamesDocument::withOwnChanges(Names stored) const
{
    for (const QString &key : unstored) {
        if (current.contains(key))
            stored.insert(key, current.value(key));
        else
            stored.remove(key);
    }
    return stored;
}

// Another window, or another program, changed the store.
void NamesDocument::reload()
{
    watch();
    if (!storing || !QFileInfo::exists(storePath))
        return;
    const NamesCsv::ReadResult read = NamesCsv::readFile(storePath);
    if (read.error.kind == NamesCsv::ErrorKind::Unreadable)
        return; // for a moment, perhaps; the next change tries again
    if (!read.ok()) {
        for (auto entry = current.cbegin(); entry != current.cend(); ++entry)
            unstored.insert(entry.key());
        store(); // sets the damaged file aside and stores this window's names anew
        return;
    }
    show(withOwnChanges(read.names));
}

// QSaveFile replaces the file by a rename, which ends a watch on the file; the folder's
// watch sees it, and the new file is watched again.
void NamesDocument::watch()
{
    const QString folder = QFileInfo(storePath).path();
    if (QDir().mkpath(folder) && !watcher.directories().contains(folder))
        watcher.addPath(folder);
    if (QFileInfo::exists(storePath) && !watcher.files().contains(storePath))
        watcher.addPath(storePath);
}

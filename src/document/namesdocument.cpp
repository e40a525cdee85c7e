#include "document/namesdocument.h"

#include "address/namedaddresses.h"
#include "document/nameschange.h"

#include <QSet>

namespace {

// The addresses whose name, or whether they have one, differs.
QList<QString> differingKeys(const Names &a, const Names &b)
{
    QSet<QString> keys;
    for (const Names *names : {&a, &b}) {
        for (auto entry = names->cbegin(); entry != names->cend(); ++entry) {
            if (a.contains(entry.key()) != b.contains(entry.key()) || a.value(entry.key()) != b.value(entry.key()))
                keys.insert(entry.key());
        }
    }
    return keys.values();
}

} // namespace

NamesDocument::NamesDocument(QString storePath, QObject *parent)
    : QObject(parent)
    , shared(std::move(storePath))
{
    connect(&shared, &SharedStore::namesChanged, this, &NamesDocument::show);
    connect(&shared, &SharedStore::replaced, this, &NamesDocument::keepReplaced);
}

void NamesDocument::setName(const QString &key, const QString &name)
{
    Names after = current;
    after.insert(key, name);
    change(tr("Name ändern"), after);
}

NamesPaste::Placed NamesDocument::paste(int firstRow, const QString &text, const QSet<int> &hiddenRows)
{
    NamesPaste::Placed placed = NamesPaste::place(text, firstRow, hiddenRows, current);
    if (placed.names.isEmpty())
        return placed;
    Names after = current;
    after.insert(placed.names);
    change(tr("Einfügen"), after);
    return placed;
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
    return NamesCsv::writeFile(path, NamesCsv::withoutEmpty(current));
}

void NamesDocument::change(const QString &text, const Names &after)
{
    const QList<QString> keys = differingKeys(current, after);
    if (!keys.isEmpty())
        undo.push(newChange(text, entriesOf(current, keys), entriesOf(after, keys), NamesChange::After::ToApply));
}

NamesChange *NamesDocument::newChange(const QString &text, const NameEntries &before, const NameEntries &after,
                                      NamesChange::After state)
{
    return new NamesChange(
        text, before, after,
        [this](const NameEntries &from, const NameEntries &to, NamesChange::Overwrite overwrite) {
            apply(from, to, overwrite);
        },
        state);
}

// A step of its own, already shown, whose undo gives this window's names back.
void NamesDocument::keepReplaced(const NameEntries &ours)
{
    undo.push(
        newChange(tr("Späterer Name von anderswo"), ours, entriesOf(current, ours.keys()), NamesChange::After::Shown));
    emit replaced(ours, current);
}

void NamesDocument::apply(const NameEntries &from, const NameEntries &to, NamesChange::Overwrite overwrite)
{
    NameEntries changed;
    for (auto entry = to.cbegin(); entry != to.cend(); ++entry) {
        const QString &key = entry.key();
        // An undo or redo leaves an address that another window changed since as it left it.
        if (overwrite == NamesChange::Overwrite::Any || entryOf(current, key) == from.value(key))
            changed.insert(key, entry.value());
    }
    emit changing(changed.keys());
    shared.put(changed);
}

void NamesDocument::show(const Names &names)
{
    if (names == current)
        return;
    current = names;
    emit namesChanged(current);
}

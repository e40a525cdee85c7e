#include "cli/namescommands.h"

#include "address/addresscodec.h"
#include "address/namedaddresses.h"
#include "cli/addresscommands.h"
#include "cli/clisession.h"
#include "names/nameforms.h"
#include "names/namerules.h"
#include "store/namesstore.h"
#include "store/sharedstore.h"

#include <QDir>

#include <algorithm>

NamesCommands::NamesCommands(CliSession &session)
    : session(session)
{
}

// Each is told apart from the others by its name and by how many arguments it takes.
QList<CliCommand> NamesCommands::commands()
{
    return {
        {QStringLiteral("names list"),
         {},
         {},
         QStringLiteral("Print the names the window keeps, as a names list."),
         [this](const QStringList &arguments) { return list(arguments); }},
        {QStringLiteral("names set"),
         QStringLiteral("ADDRESS NAME"),
         {},
         QStringLiteral("Store one name (address as 12A or A12) beside the names\n"
                        "the window keeps; an open window shows it at once. An\n"
                        "empty NAME removes the address's name."),
         [this](const QStringList &arguments) { return set(arguments); }},
        {QStringLiteral("names import"),
         QStringLiteral("FILE"),
         {},
         QStringLiteral("Replace the names the window keeps by a names list, as\n"
                        "\"Namen laden...\" does; a list with an error changes nothing."),
         [this](const QStringList &arguments) { return importList(arguments); }},
        {QStringLiteral("names export"),
         QStringLiteral("FILE"),
         {},
         QStringLiteral("Write the names the window keeps to a names list, as\n"
                        "\"Namen speichern...\" does, and print the path written."),
         [this](const QStringList &arguments) { return exportList(arguments); }},
        {QStringLiteral("names find"),
         QStringLiteral("TEXT..."),
         {&session.namesOption},
         QStringLiteral("Print each address whose name contains a TEXT (either\n"
                        "case), its switches as decode prints them, and the name;\n"
                        "exit status 1 if none does. Option: --names."),
         [this](const QStringList &texts) { return find(texts); }},
    };
}

int NamesCommands::list(const QStringList & /*arguments*/)
{
    const std::optional<Names> names = session.readStored();
    if (!names)
        return CliSession::Failure;
    // Never a control character raw on the terminal: each as names set takes it back.
    Names shown;
    for (auto name = names->cbegin(); name != names->cend(); ++name)
        shown.insert(name.key(), NameForms::escaped(name.value(), NameForms::LineBreaks::Kept));
    session.out << NamesCsv::text(NamesCsv::withoutEmpty(shown), QStringLiteral("\n")) << Qt::flush;
    return CliSession::Success;
}

int NamesCommands::set(const QStringList &arguments)
{
    const QString name = NameForms::unescaped(arguments.at(1));
    const std::optional<QString> key = session.addressKey(arguments.at(0));
    if (!key)
        return CliSession::Failure;
    if (const NameRules::Problem problem = NameRules::check(name); problem != NameRules::Problem::None)
        return session.fail(NameRules::reason(name, problem, QLocale::English));
    return store({{*key, name.isEmpty() ? std::nullopt : std::optional(name)}});
}

int NamesCommands::importList(const QStringList &arguments)
{
    const std::optional<Names> names = session.readList(arguments.at(0));
    if (!names)
        return CliSession::Failure;
    return store(entriesOf(*names, NamedAddresses::keysInTableOrder()));
}

int NamesCommands::exportList(const QStringList &arguments)
{
    const QString &file = arguments.at(0);
    const std::optional<Names> names = session.readStored();
    if (!names)
        return CliSession::Failure;
    const NamesCsv::Error error = NamesCsv::writeFile(file, NamesCsv::withoutEmpty(*names));
    if (error.kind != NamesCsv::ErrorKind::None)
        return session.cannotWrite(file, error.detail);
    session.printWritten(file);
    return CliSession::Success;
}

int NamesCommands::find(const QStringList &texts)
{
    const std::optional<Names> names = session.chosenNames();
    if (!names)
        return CliSession::Failure;
    // Searched for as written, or as the escapes it prints stand for.
    QStringList wanted;
    for (const QString &text : texts)
        wanted.append(NameForms::unescaped(text));
    bool found = false;
    for (const QString &key : NamedAddresses::keysInTableOrder()) {
        const QString name = names->value(key);
        const bool matches = std::any_of(wanted.cbegin(), wanted.cend(), [&name](const QString &text) {
            return name.contains(text, Qt::CaseInsensitive);
        });
        if (name.isEmpty() || !matches)
            continue;
        // One line for each, with the name as names set takes it back.
        session.print(AddressCommands::settingLine(AddressCodec::decode(key)) + u'\t'
                      + NameForms::escaped(name, NameForms::LineBreaks::Escaped));
        found = true;
    }
    if (!found)
        session.printError(QStringLiteral("no name contains %1").arg(texts.join(QStringLiteral(" or "))));
    return found ? CliSession::Success : CliSession::Failure;
}

// As a window stores an edit: merged under the lock into the names stored now.
int NamesCommands::store(const NameEntries &entries)
{
    // Copies that wait for their times are merged before, not stored over with guessed times.
    session.mergeCopies();
    SharedStore shared(NamesStore::defaultPath());
    QObject::connect(&shared, &SharedStore::restored, &shared, [this](const NamesStore::LoadResult &found) {
        if (!found.ok() && !found.setAsidePath.isEmpty())
            session.warn(QStringLiteral("the stored names could not be read (%1) and were set aside as %2")
                             .arg(CliSession::describe(found.error), QDir::toNativeSeparators(found.setAsidePath)));
    });
    shared.restore();
    // Made now, later than the names it replaces, as a window's edit.
    shared.waitRestored(SharedStore::patienceMs);
    shared.put(entries);
    // On Windows a file another program reads for a moment cannot be replaced meanwhile.
    if (shared.waitStored(SharedStore::patienceMs))
        return CliSession::Success;
    shared.discardPending(); // failed, as told: not stored later on the way out
    return session.fail(QStringLiteral("cannot store the names in %1: %2")
                            .arg(QDir::toNativeSeparators(shared.file()), CliSession::describe(shared.error())));
}

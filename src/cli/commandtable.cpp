#include "cli/commandtable.h"

#include "cli/clisession.h"

#include <QCommandLineParser>

namespace {

const QString introduction =
    QStringLiteral("Converts VESK 2-D BUS addresses to DIP switch positions and back, and renders the\n"
                   "address table as a PDF, without a window.");

const QString closing =
    QStringLiteral("Names file: CSV whose header names the columns Adresse and Name, separated by\n"
                   "; or , or tab; addresses as 12A or A12. Empty fields at the end of a line and empty rows\n"
                   "are left out. Read as UTF-16 (with or without a byte order mark), as UTF-8, or as\n"
                   "Windows-1252 when no character is UTF-8, with line ends LF, CR LF or CR; written as\n"
                   "UTF-8 with a byte order mark and CR LF. At most 4 MiB; a name holds at most 1000\n"
                   "characters (4000 UTF-16 code units) and no CR.\n"
                   "\n"
                   "-- ends the options: decode -- -7C reads -7C as a text.\n"
                   "\n"
                   "Exit status: 0 success, 1 failure, 2 usage error.");

const QString commandsHeading = QStringLiteral("Commands:\n");
const QString commandWords = QStringLiteral("command [arguments...]");

// Where what a command does begins in a listing, after its name and arguments.
constexpr int helpColumn = 27;
constexpr int listingIndent = 2;

// Commands as the help lists them: each name and arguments, and beside them what it does.
QString listing(const QList<const CliCommand *> &commands)
{
    const QString indent(helpColumn, u' ');
    QString text;
    for (const CliCommand *command : commands) {
        const QString synopsis = QString(listingIndent, u' ') + command->synopsis();
        text += synopsis.leftJustified(helpColumn - 1) + u' ' + command->help.split(u'\n').join(u'\n' + indent) + u'\n';
    }
    return text;
}

// Qt's help with the usage line given: Qt's names the program by its whole path.
// commandsDescribed describes the command word; none is listed without it.
QString helpText(const QString &usage, const QString &description, const QList<QCommandLineOption> &options,
                 const QString &commandsDescribed = {})
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    for (const QCommandLineOption &option : options)
        parser.addOption(option);
    if (!commandsDescribed.isEmpty()) {
        parser.addPositionalArgument(QStringLiteral("command"), commandsDescribed);
        parser.addPositionalArgument(QStringLiteral("arguments"), QStringLiteral("The command's arguments."),
                                     QStringLiteral("[arguments...]"));
    }
    QString text = parser.helpText();
    text.replace(0, text.indexOf(u'\n'), QStringLiteral("Usage: %1 %2").arg(CliSession::programName(), usage));
    // Without options Qt ends the description with an empty line, before nothing.
    if (text.endsWith(QLatin1String("\n\n")))
        text.chop(1);
    return text;
}

} // namespace

CommandTable::CommandTable(QList<CliCommand> commands, QList<const QCommandLineOption *> options)
    : commands(std::move(commands))
    , options(std::move(options))
{
}

const CliCommand *CommandTable::find(const QStringList &words) const
{
    for (const CliCommand &command : commands) {
        if (words.mid(0, command.name.count(u' ') + 1).join(u' ') == command.name)
            return &command;
    }
    return nullptr;
}

QString CommandTable::groupUsage(const QString &group) const
{
    QStringList forms;
    for (const CliCommand *command : members(group))
        forms.append(command->synopsis().mid(group.size() + 1));
    return QStringLiteral("%1 takes %2").arg(group, either(forms));
}

QString CommandTable::help(const QStringList &words) const
{
    if (const CliCommand *command = find(words))
        return commandHelp(*command);
    if (isGroup(words.value(0)))
        return groupHelp(words.value(0));
    return wholeHelp();
}

QString CommandTable::either(const QStringList &words)
{
    if (words.size() < 2)
        return words.join(QString());
    return words.mid(0, words.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") + words.constLast();
}

QList<const CliCommand *> CommandTable::everyCommand() const
{
    QList<const CliCommand *> every;
    for (const CliCommand &command : commands)
        every.append(&command);
    return every;
}

QList<const CliCommand *> CommandTable::members(const QString &group) const
{
    QList<const CliCommand *> found;
    for (const CliCommand &command : commands) {
        if (!group.isEmpty() && command.name.startsWith(group + u' '))
            found.append(&command);
    }
    return found;
}

QStringList CommandTable::takersIn(const QList<const CliCommand *> &listed, const QCommandLineOption &option)
{
    QStringList names;
    for (const CliCommand *command : listed) {
        if (command->options.contains(&option))
            names.append(command->name);
    }
    return names;
}

QString CommandTable::wholeHelp() const
{
    QStringList firstWords;
    for (const CliCommand &command : commands) {
        const QString word = command.name.section(u' ', 0, 0);
        if (!firstWords.contains(word))
            firstWords.append(word);
    }
    const QString description =
        introduction + QStringLiteral("\n\n") + commandsHeading + listing(everyCommand()) + u'\n' + closing;
    return helpText(QStringLiteral("[options] ") + commandWords, description,
                    optionsOf(everyCommand(), Untaken::Listed), either(firstWords) + u'.');
}

QString CommandTable::commandHelp(const CliCommand &command) const
{
    QList<QCommandLineOption> shown;
    for (const QCommandLineOption *option : options) {
        if (command.options.contains(option))
            shown.append(*option);
    }
    QString usage = command.name;
    if (!shown.isEmpty())
        usage += QStringLiteral(" [options]");
    if (!command.arguments.isEmpty())
        usage += u' ' + command.arguments;
    return helpText(usage, command.help, shown);
}

QString CommandTable::groupHelp(const QString &group) const
{
    const QList<QCommandLineOption> shown = optionsOf(members(group), Untaken::Left);
    const QString usage = group + (shown.isEmpty() ? QString() : QStringLiteral(" [options]")) + u' ' + commandWords;
    return helpText(usage, commandsHeading + listing(members(group)).chopped(1), shown);
}

// The options as the help of these commands lists them, each after the commands it goes with.
// One that none of them takes is listed only in the whole help, as help and version are.
QList<QCommandLineOption> CommandTable::optionsOf(const QList<const CliCommand *> &listed, Untaken untaken) const
{
    QList<QCommandLineOption> shown;
    for (const QCommandLineOption *option : options) {
        const QStringList names = takersIn(listed, *option);
        if (names.isEmpty() && untaken == Untaken::Left)
            continue;
        shown.append(*option);
        if (!names.isEmpty())
            shown.last().setDescription(names.join(QStringLiteral(", ")) + QStringLiteral(": ")
                                        + option->description());
    }
    return shown;
}

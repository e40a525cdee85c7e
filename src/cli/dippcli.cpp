#include "cli/dippcli.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

const QString endOfOptions = QStringLiteral("--");
const QString fileArgument = QStringLiteral("FILE"); // as the usage line names a file

// Whether count arguments fit a command's, such as "ADDRESS NAME", "TEXT..." or "[ADDRESS...]".
bool fits(const QString &arguments, qsizetype count)
{
    const QStringList words = arguments.split(u' ', Qt::SkipEmptyParts);
    const bool more = !words.isEmpty() && words.constLast().endsWith(QLatin1String("..."));
    const auto optional =
        std::count_if(words.cbegin(), words.cend(), [](const QString &word) { return word.startsWith(u'['); });
    return count >= words.size() - optional && (more || count <= words.size());
}

QString unknownCommand(const QString &word)
{
    return QStringLiteral("Unknown command '%1'.").arg(word);
}

} // namespace

DippCli::DippCli(QTextStream &out, QTextStream &err)
    : session(out, err)
    , addressCommands(session)
    , pageCommands(session)
    , namesCommands(session)
    , table(addressCommands.commands() + pageCommands.commands() + namesCommands.commands(), session.options())
{
}

int DippCli::run(const QStringList &arguments)
{
    QCommandLineParser &parser = session.parser;
    // Help and version wherever they stand, also after a command, but not after "--".
    const qsizetype end = arguments.indexOf(endOfOptions);
    QStringList words = arguments.mid(1, end < 0 ? -1 : end - 1);
    if (words.removeAll(QStringLiteral("--help")) + words.removeAll(QStringLiteral("-h")) > 0)
        return help(arguments.mid(0, 1) + words);
    if (words.contains(QLatin1String("--version")) || words.contains(QLatin1String("-v"))) {
        session.print(QStringLiteral("%1 %2").arg(CliSession::programName(), QCoreApplication::applicationVersion()));
        return CliSession::Success;
    }
    // Arguments of decode and encode may look like options ("-1"), so read them as they stand.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!parser.parse(arguments))
        return session.usageError(parser.errorText());
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return session.usageError(QStringLiteral("No command given."));
    // A command that takes options takes them anywhere, also after its arguments.
    const CliCommand *used = table.find(positional);
    if (used && !used->options.isEmpty()) {
        parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
        if (!parser.parse(arguments))
            return session.usageError(parser.errorText());
        positional = parser.positionalArguments();
    }
    if (const std::optional<QString> misplaced = optionNotFor(used))
        return session.usageError(*misplaced);
    const QString first = positional.takeFirst();
    // Before "--", a word like an option is one in the wrong place; after it, a text.
    const qsizetype texts = positional.indexOf(endOfOptions);
    for (const QString &word : positional.mid(0, texts)) {
        if (word.startsWith(endOfOptions))
            return session.usageError(QStringLiteral("Unknown or misplaced option '%1'.").arg(word));
    }
    if (texts >= 0)
        positional.removeAt(texts);
    // A command of a group is told from the others also by the arguments it takes.
    const CliCommand *command = table.find(QStringList{first} + positional);
    const qsizetype nameWords = command ? command->name.count(u' ') + 1 : 1;
    const QStringList given = positional.mid(nameWords - 1);
    if (command && command->arguments == fileArgument && given.size() == 1 && given.constFirst().isEmpty())
        return session.usageError(QStringLiteral("%1 takes a file name, not an empty one.").arg(command->name));
    if (command && (nameWords == 1 || fits(command->arguments, given.size())))
        return command->handler(given);
    if (table.isGroup(first))
        return session.usageError(table.groupUsage(first));
    return session.usageError(unknownCommand(first));
}

// The help of the command named, as the command line would be read without the help.
int DippCli::help(const QStringList &arguments)
{
    QCommandLineParser &parser = session.parser;
    // Read as options wherever they stand (the parser's default), also between a group's name and its command's.
    static_cast<void>(parser.parse(arguments)); // anything wrong there is for the command to tell
    const QStringList words = parser.positionalArguments();
    // The whole help, or a group's, would read as if the words were a command.
    if (!words.isEmpty() && table.find(words) == nullptr) {
        if (!table.isGroup(words.constFirst()))
            return session.usageError(unknownCommand(words.constFirst()));
        if (words.size() > 1)
            return session.usageError(table.groupUsage(words.constFirst()));
    }
    session.out << table.help(words) << Qt::flush;
    return CliSession::Success;
}

// An option given to a command that does not take it, or as no command takes it.
std::optional<QString> DippCli::optionNotFor(const CliCommand *command) const
{
    const QCommandLineParser &parser = session.parser;
    for (const QCommandLineOption *option : session.options()) {
        const QStringList takers = table.takers(*option);
        // Help and version, which no command takes, are answered before.
        if (takers.isEmpty() || !parser.isSet(*option) || (command && command->options.contains(option)))
            continue;
        return QStringLiteral("--%1 goes with %2 only.")
            .arg(option->names().constFirst(), takers.join(QStringLiteral(", ")));
    }
    if (parser.isSet(session.printerOption) && parser.isSet(session.outputOption))
        return QStringLiteral("--printer and --output exclude each other: print, or write a file.");
    // Else read as the working folder, which no file can be written or read as.
    for (const QCommandLineOption *file : {&session.outputOption, &session.namesOption}) {
        if (parser.isSet(*file) && parser.value(*file).isEmpty())
            return QStringLiteral("--%1 takes a file name, not an empty one.").arg(file->names().constFirst());
    }
    if (parser.isSet(session.printerOption) && parser.value(session.printerOption).isEmpty())
        return QStringLiteral("--printer takes a printer's name, not an empty one.");
    return std::nullopt;
}

#ifndef COMMANDTABLE_H
#define COMMANDTABLE_H

#include "cli/clicommand.h"

// vesk-dipp's commands: found by their names, and told in the help, which is made from them.
class CommandTable
{
public:
    // options: every option, in the order the help lists them.
    CommandTable(QList<CliCommand> commands, QList<const QCommandLineOption *> options);

    // The command the first words name, such as "labels" or "names set"; none if they name none.
    const CliCommand *find(const QStringList &words) const;
    // Whether word is the first of a group's names, such as "names".
    bool isGroup(const QString &word) const { return !members(word).isEmpty(); }
    // Why the words after a group's name are none of its commands.
    QString groupUsage(const QString &group) const;
    // The names of the commands that take option.
    QStringList takers(const QCommandLineOption &option) const { return takersIn(everyCommand(), option); }

    // The help of the command or group the first words name; the whole help where they name none.
    QString help(const QStringList &words) const;

    // "a, b or c".
    static QString either(const QStringList &words);

private:
    QList<const CliCommand *> everyCommand() const;
    QList<const CliCommand *> members(const QString &group) const;
    static QStringList takersIn(const QList<const CliCommand *> &listed, const QCommandLineOption &option);
    QString wholeHelp() const;
    QString commandHelp(const CliCommand &command) const;
    QString groupHelp(const QString &group) const;
    // Whether a help lists the options none of its commands takes, as the whole help does.
    enum class Untaken { Left, Listed };
    QList<QCommandLineOption> optionsOf(const QList<const CliCommand *> &listed, Untaken untaken) const;

    QList<CliCommand> commands;
    QList<const QCommandLineOption *> options;
};

#endif

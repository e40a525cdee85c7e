#ifndef CLICOMMAND_H
#define CLICOMMAND_H

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// One command of vesk-dipp, as its help tells it and as it runs. A name of two words, such as
// "names set", makes it one command of a group.
struct CliCommand
{
    using Handler = std::function<int(const QStringList &arguments)>;

    QString name = {};
    QString arguments = {}; // as the usage line shows them, such as "[ADDRESS...]"
    // The options it takes: given to another command, each is a usage error.
    QList<const QCommandLineOption *> options = {};
    QString help = {}; // lines as the help prints them
    Handler handler = {};

    QString synopsis() const { return arguments.isEmpty() ? name : name + u' ' + arguments; }
};

#endif

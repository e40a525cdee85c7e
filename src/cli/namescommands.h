#ifndef NAMESCOMMANDS_H
#define NAMESCOMMANDS_H

#include "cli/clicommand.h"
#include "names/nameentries.h"

class CliSession;

// names list, set, import, export and find: the names the window keeps, read and stored as a
// window does.
class NamesCommands
{
public:
    explicit NamesCommands(CliSession &session);

    QList<CliCommand> commands();

private:
    int list(const QStringList &arguments);
    int set(const QStringList &arguments);
    int importList(const QStringList &arguments);
    int exportList(const QStringList &arguments);
    int find(const QStringList &texts);
    int store(const NameEntries &entries);

    CliSession &session;
};

#endif

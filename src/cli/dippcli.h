#ifndef DIPPCLI_H
#define DIPPCLI_H

#include "cli/addresscommands.h"
#include "cli/clisession.h"
#include "cli/commandtable.h"
#include "cli/namescommands.h"
#include "cli/pagecommands.h"

// The command-line tool: converts addresses, renders the table and keeps the names, without
// a window. Reads the command line and hands it to the command it names.
class DippCli
{
public:
    DippCli(QTextStream &out, QTextStream &err);
    Q_DISABLE_COPY_MOVE(DippCli) // the table's handlers point into it
    ~DippCli() = default;

    // arguments include the program name, as QCoreApplication::arguments() gives them.
    int run(const QStringList &arguments);

private:
    int help(const QStringList &arguments);
    std::optional<QString> optionNotFor(const CliCommand *command) const;

    CliSession session;
    AddressCommands addressCommands;
    PageCommands pageCommands;
    NamesCommands namesCommands;
    CommandTable table;
};

#endif

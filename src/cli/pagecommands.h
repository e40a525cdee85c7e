#ifndef PAGECOMMANDS_H
#define PAGECOMMANDS_H

#include "cli/clicommand.h"
#include "page/pagedocument.h"

class CliSession;

// render and labels: the table and the sheets of labels, written, printed or checked.
class PageCommands
{
public:
    explicit PageCommands(CliSession &session);

    QList<CliCommand> commands();

private:
    int render(const QStringList &arguments);
    int labels(const QStringList &addresses);
    int listFormats(const QString &text);
    int produce(const PageDocument &document, const QString &defaultFile, const QString &space);
    void warnAbout(const RenderResult &result, const QString &space);
    int check(const NameFits &fits);

    CliSession &session;
};

#endif

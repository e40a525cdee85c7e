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
    // What holds each name on the pages, as a warning calls it.
    enum class NameHolder { Cell, Label };
    int produce(const PageDocument &document, const QString &defaultFile, NameHolder holder);
    void warnAbout(const RenderResult &result, NameHolder holder);
    int check(const NameFits &fits);

    CliSession &session;
};

#endif

#ifndef ADDRESSCOMMANDS_H
#define ADDRESSCOMMANDS_H

#include "address/addresscodec.h"
#include "cli/clicommand.h"

class CliSession;

// decode and encode: addresses to switch positions and back.
class AddressCommands
{
public:
    explicit AddressCommands(CliSession &session);

    QList<CliCommand> commands();
    // The address, the five positions and their rows, as decode prints them.
    static QString settingLine(const DippSetting &dipp);

private:
    int decode(const QStringList &texts);
    int encode(const QStringList &positions);

    CliSession &session;
};

#endif

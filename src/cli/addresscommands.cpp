#include "cli/addresscommands.h"

#include "cli/clisession.h"

namespace {

QChar rowLabel(int position)
{
    const bool settable = position >= 0 && position < AddressCodec::positionCount;
    return settable ? AddressCodec::rowLabels.at(AddressCodec::displayRow(position)) : QChar(u'?');
}

std::optional<int> parsePosition(const QString &text)
{
    bool ok = false;
    const int position = text.toInt(&ok);
    if (!ok || text != QString::number(position) || position < 0 || position >= AddressCodec::positionCount)
        return std::nullopt;
    return position;
}

} // namespace

AddressCommands::AddressCommands(CliSession &session)
    : session(session)
{
}

QList<CliCommand> AddressCommands::commands()
{
    return {
        {QStringLiteral("decode"),
         QStringLiteral("TEXT..."),
         {},
         QStringLiteral("For each address (any case, letter before or after the\n"
                        "number, blanks around and between them), print the\n"
                        "canonical address, the five switch positions and their rows:\n"
                        "+ top (0), 0 middle (2), - bottom (1). A text that is no\n"
                        "address is an error; the others are still decoded.\n"
                        "Example: decode c7  ->  7C<TAB>0 2 0 0 2<TAB>+ 0 + + 0\n"
                        "A position outside 0-2 cannot be set with the switches: its\n"
                        "row is printed as ? and the exit status is 1."),
         [this](const QStringList &texts) { return decode(texts); }},
        {QStringLiteral("encode"),
         QStringLiteral("P0 P1 P2 P3 P4"),
         {},
         QStringLiteral("Print the address of five switch positions, each 0, 1 or 2,\n"
                        "leftmost switch first."),
         [this](const QStringList &positions) { return encode(positions); }},
    };
}

QString AddressCommands::settingLine(const DippSetting &dipp)
{
    QStringList positions;
    QStringList rows;
    for (const int position : dipp) {
        positions.append(QString::number(position));
        rows.append(rowLabel(position));
    }
    return AddressCodec::encode(dipp) + u'\t' + positions.join(u' ') + u'\t' + rows.join(u' ');
}

int AddressCommands::decode(const QStringList &texts)
{
    if (texts.isEmpty())
        return session.usageError(QStringLiteral("decode needs at least one address text."));
    int status = CliSession::Success;
    for (const QString &text : texts) {
        if (!AddressCodec::isPlainAddress(text)) {
            status = session.fail(QStringLiteral("'%1' is not an address like 7C or C7").arg(text));
            continue;
        }
        const DippSetting dipp = AddressCodec::decode(text);
        session.print(settingLine(dipp));
        if (!AddressCodec::isSettable(dipp)) {
            session.warn(QStringLiteral("%1 cannot be set with the switches (a position is outside 0-2)")
                             .arg(AddressCodec::encode(dipp)));
            status = CliSession::Failure;
        }
    }
    return status;
}

int AddressCommands::encode(const QStringList &positions)
{
    if (positions.size() != AddressCodec::switchCount)
        return session.usageError(QStringLiteral("encode needs five switch positions, got %1.").arg(positions.size()));
    DippSetting dipp{};
    for (int i = 0; i < AddressCodec::switchCount; ++i) {
        const std::optional<int> position = parsePosition(positions.at(i));
        if (!position)
            return session.usageError(QStringLiteral("Bad switch position '%1': use 0, 1 or 2.").arg(positions.at(i)));
        dipp[i] = *position;
    }
    session.print(AddressCodec::encode(dipp));
    return CliSession::Success;
}

#include "cli/dippcli.h"

#include "address/addresscodec.h"
#include "address/namedaddresses.h"
#include "document/sharedstore.h"
#include "names/namescsv.h"
#include "names/namesstore.h"
#include "page/namefitter.h"
#include "page/namewrap.h"
#include "page/tablepdf.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

namespace {

const QString description =
    QStringLiteral("Converts VESK 2-D BUS addresses to DIP switch positions and back, and renders the\n"
                   "address table as a PDF, without a window.\n"
                   "\n"
                   "Commands:\n"
                   "  decode TEXT...           For each address (any case, letter before or after the\n"
                   "                           number, blanks around and between them), print the\n"
                   "                           canonical address, the five switch positions and their rows:\n"
                   "                           + top (0), 0 middle (2), - bottom (1). A text that is no\n"
                   "                           address is an error; the others are still decoded.\n"
                   "                           Example: decode c7  ->  7C<TAB>0 2 0 0 2<TAB>+ 0 + + 0\n"
                   "                           A position outside 0-2 cannot be set with the switches: its\n"
                   "                           row is printed as ? and the exit status is 1.\n"
                   "  encode P0 P1 P2 P3 P4    Print the address of five switch positions, each 0, 1 or 2,\n"
                   "                           leftmost switch first.\n"
                   "  render                   Write the table of the 96 addresses A-H x 1-12 as a PDF and\n"
                   "                           print the path written. Options: --names, --output, --check.\n"
                   "                           Without --names, the names the window keeps are printed.\n"
                   "                           A name too long for its cell is printed smaller; one too long\n"
                   "                           even at 5 pt is shortened, with a warning on stderr.\n"
                   "                           With --check, print for each name 'fits', 'smaller' and the\n"
                   "                           size, or 'shortened', and 'missing characters' and those\n"
                   "                           characters where no font here has them; write no file.\n"
                   "  names list               Print the names the window keeps, as a names list.\n"
                   "  names set ADDRESS NAME   Store one name (address as 12A or A12) beside the names\n"
                   "                           the window keeps; an open window shows it at once. An\n"
                   "                           empty NAME removes the address's name.\n"
                   "  names import FILE        Replace the names the window keeps by a names list, as\n"
                   "                           \"Namen laden...\" does; a list with an error changes nothing.\n"
                   "  names export FILE        Write the names the window keeps to a names list, as\n"
                   "                           \"Namen speichern...\" does, and print the path written.\n"
                   "  names find TEXT...       Print each address whose name contains a TEXT (either\n"
                   "                           case), its switches as decode prints them, and the name;\n"
                   "                           exit status 1 if none does. Option: --names.\n"
                   "\n"
                   "Names file: CSV whose header names the columns Adresse and Name, separated by ; or\n"
                   "or tab; addresses as 12A or A12. Empty fields at the end of a line and empty rows\n"
                   "are left out. Read as UTF-16 with a byte order mark, as UTF-8, or as Windows-1252\n"
                   "when no character is UTF-8; written as UTF-8 with a byte order mark and CR LF.\n"
                   "\n"
                   "-- ends the options: decode -- -7C reads -7C as a text.\n"
                   "\n"
                   "Exit status: 0 success, 1 failure, 2 usage error.");

const QString programName = QStringLiteral("vesk-dipp");
const QString endOfOptions = QStringLiteral("--");

// As long as a window lets a failure last before it tells.
constexpr int storePatienceMs = 3000;
constexpr int storeRetryMs = 100;

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

DippCli::DippCli(QTextStream &out, QTextStream &err)
    : out(out)
    , err(err)
    , namesOption(QStringLiteral("names"),
                  QStringLiteral("render, names find: names from this CSV file instead of the names the window "
                                 "keeps."),
                  QStringLiteral("FILE"))
    , checkOption(QStringLiteral("check"),
                  QStringLiteral("render: only tell how each name fits its cell; write no file."))
    , helpOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Print this help and exit."))
    , outputOption(QStringLiteral("output"),
                   QStringLiteral("render: write the PDF to this file instead of %1 in the working directory.")
                       .arg(TablePdf::fileName),
                   QStringLiteral("FILE"))
{
    parser.setApplicationDescription(description);
    parser.addOption(helpOption);
    parser.addVersionOption();
    parser.addOption(namesOption);
    parser.addOption(outputOption);
    parser.addOption(checkOption);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("decode, encode, render or names."));
    parser.addPositionalArgument(QStringLiteral("arguments"), QStringLiteral("The command's arguments."),
                                 QStringLiteral("[arguments...]"));
}

int DippCli::run(const QStringList &arguments)
{
    // Help and version wherever they stand, also after a command, but not after "--".
    const qsizetype end = arguments.indexOf(endOfOptions);
    const QStringList words = arguments.mid(1, end < 0 ? -1 : end - 1);
    if (words.contains(QLatin1String("--help")) || words.contains(QLatin1String("-h")))
        return help();
    if (words.contains(QLatin1String("--version")) || words.contains(QLatin1String("-v"))) {
        print(out, QStringLiteral("%1 %2").arg(programName, QCoreApplication::applicationVersion()));
        return Success;
    }
    // Arguments of decode and encode may look like options ("-1"), so read them as they stand.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(QStringLiteral("No command given."));
    const QString command = positional.takeFirst();
    const bool find = command == QLatin1String("names") && positional.value(0) == QLatin1String("find");
    if (command == QLatin1String("render") || find) {
        parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
        if (!parser.parse(arguments))
            return usageError(parser.errorText());
        positional = parser.positionalArguments().mid(1);
    } else if (parser.isSet(namesOption) || parser.isSet(outputOption) || parser.isSet(checkOption)) {
        return usageError(QStringLiteral("--names goes with render and names find, --output and --check with "
                                         "render only."));
    }
    // Before "--", a word like an option is one in the wrong place; after it, a text.
    const qsizetype texts = positional.indexOf(endOfOptions);
    for (const QString &word : positional.mid(0, texts)) {
        if (word.startsWith(endOfOptions))
            return usageError(QStringLiteral("Unknown or misplaced option '%1'.").arg(word));
    }
    if (texts >= 0)
        positional.removeAt(texts);
    if (command == QLatin1String("render"))
        return positional.isEmpty() ? render()
                                    : usageError(QStringLiteral("render takes no arguments: '%1'.").arg(positional[0]));
    if (command == QLatin1String("decode"))
        return decode(positional);
    if (command == QLatin1String("encode"))
        return encode(positional);
    if (command == QLatin1String("names"))
        return names(positional);
    return usageError(QStringLiteral("Unknown command '%1'.").arg(command));
}

// Qt's help names the program by its whole path; the usage line shows its name only.
int DippCli::help()
{
    QString text = parser.helpText();
    const QString path = QCoreApplication::arguments().value(0);
    const qsizetype at = text.indexOf(path);
    if (!path.isEmpty() && at >= 0)
        text.replace(at, path.size(), programName);
    out << text << Qt::flush;
    return Success;
}

// The address, the five positions and their rows, as decode prints them.
QString DippCli::settingLine(const DippSetting &dipp)
{
    QStringList positions;
    QStringList rows;
    for (const int position : dipp) {
        positions.append(QString::number(position));
        rows.append(rowLabel(position));
    }
    return AddressCodec::encode(dipp) + u'\t' + positions.join(u' ') + u'\t' + rows.join(u' ');
}

int DippCli::decode(const QStringList &texts)
{
    if (texts.isEmpty())
        return usageError(QStringLiteral("decode needs at least one address text."));
    int status = Success;
    for (const QString &text : texts) {
        if (!AddressCodec::isPlainAddress(text)) {
            print(err, QStringLiteral("error: '%1' is not an address like 7C or C7").arg(text));
            status = Failure;
            continue;
        }
        const DippSetting dipp = AddressCodec::decode(text.toUpper());
        print(out, settingLine(dipp));
        if (!AddressCodec::isSettable(dipp)) {
            print(err, QStringLiteral("warning: %1 cannot be set with the switches (a position is outside 0-2)")
                           .arg(AddressCodec::encode(dipp)));
            status = Failure;
        }
    }
    return status;
}

int DippCli::encode(const QStringList &positions)
{
    if (positions.size() != AddressCodec::switchCount)
        return usageError(QStringLiteral("encode needs five switch positions, got %1.").arg(positions.size()));
    DippSetting dipp{};
    for (int i = 0; i < AddressCodec::switchCount; ++i) {
        const std::optional<int> position = parsePosition(positions.at(i));
        if (!position)
            return usageError(QStringLiteral("Bad switch position '%1': use 0, 1 or 2.").arg(positions.at(i)));
        dipp[i] = *position;
    }
    print(out, AddressCodec::encode(dipp));
    return Success;
}

int DippCli::render()
{
    // The names the window keeps, unless a file is named.
    const std::optional<Names> names = parser.isSet(namesOption) ? readList(parser.value(namesOption)) : readStored();
    if (!names)
        return Failure;
    return parser.isSet(checkOption) ? check(*names) : writeTable(*names);
}

int DippCli::writeTable(const Names &names)
{
    const QString path =
        parser.isSet(outputOption) ? QFileInfo(parser.value(outputOption)).absoluteFilePath() : TablePdf::defaultPath();
    const TablePdf::Result result = TablePdf::write(path, names);
    const QString shownPath = QDir::toNativeSeparators(path);
    if (!result.ok) {
        print(err, QStringLiteral("error: cannot write %1: %2").arg(shownPath, result.error));
        return Failure;
    }
    for (const QString &key : result.shortened)
        print(err,
              QStringLiteral("warning: the name of %1 is too long for its cell and is printed shortened").arg(key));
    for (const QString &key : result.missing)
        print(err, QStringLiteral("warning: the name of %1 has characters that no font here has; they print as "
                                  "empty boxes")
                       .arg(key));
    print(out, shownPath);
    return Success;
}

int DippCli::check(const Names &names)
{
    if (names.isEmpty()) {
        print(out, QStringLiteral("no names"));
        return Success;
    }
    const NameFitter fitter(TablePdf::pageWidth());
    for (int row = 0; row < NamedAddresses::count; ++row) {
        const QString key = NamedAddresses::keyOfRow(row);
        if (!names.contains(key))
            continue;
        const FittedName fitted = fitter.fit(names.value(key), key);
        QString how = QStringLiteral("fits");
        if (fitted.fit == FittedName::Smaller)
            how = QStringLiteral("smaller\t%1 pt").arg(fitted.pointSize);
        else if (fitted.fit == FittedName::Shortened)
            how = QStringLiteral("shortened");
        if (!fitted.missing.isEmpty())
            how += QStringLiteral("\tmissing characters\t") + fitted.missing;
        print(out, key + u'\t' + how);
    }
    return Success;
}

int DippCli::names(const QStringList &words)
{
    const QString command = words.value(0);
    const QStringList arguments = words.mid(1);
    if (command == QLatin1String("list") && arguments.isEmpty())
        return listNames();
    if (command == QLatin1String("set") && arguments.size() == 2)
        return setName(arguments.at(0), arguments.at(1));
    if (command == QLatin1String("import") && arguments.size() == 1)
        return importNames(arguments.at(0));
    if (command == QLatin1String("export") && arguments.size() == 1)
        return exportNames(arguments.at(0));
    if (command == QLatin1String("find") && !arguments.isEmpty())
        return findNames(arguments);
    return usageError(QStringLiteral("names takes list, set ADDRESS NAME, import FILE, export FILE or find TEXT..."));
}

int DippCli::listNames()
{
    const std::optional<Names> names = readStored();
    if (!names)
        return Failure;
    out << NamesCsv::text(NamesCsv::withoutEmpty(*names), QStringLiteral("\n")) << Qt::flush;
    return Success;
}

int DippCli::setName(const QString &address, const QString &name)
{
    const std::optional<QString> key = NamedAddresses::parse(address);
    if (!key) {
        print(err, QStringLiteral("error: '%1' is not one of the addresses A-H 1-12").arg(address));
        return Failure;
    }
    return store({{*key, name.isEmpty() ? std::nullopt : std::optional(name)}});
}

int DippCli::importNames(const QString &file)
{
    const std::optional<Names> names = readList(file);
    if (!names)
        return Failure;
    QStringList every;
    for (int row = 0; row < NamedAddresses::count; ++row)
        every.append(NamedAddresses::keyOfRow(row));
    return store(entriesOf(*names, every));
}

int DippCli::exportNames(const QString &file)
{
    const std::optional<Names> names = readStored();
    if (!names)
        return Failure;
    const QString shownPath = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    const NamesCsv::Error error = NamesCsv::writeFile(file, NamesCsv::withoutEmpty(*names));
    if (error.kind != NamesCsv::ErrorKind::None) {
        print(err, QStringLiteral("error: cannot write %1: %2").arg(shownPath, error.detail));
        return Failure;
    }
    print(out, shownPath);
    return Success;
}

int DippCli::findNames(const QStringList &texts)
{
    const std::optional<Names> names = parser.isSet(namesOption) ? readList(parser.value(namesOption)) : readStored();
    if (!names)
        return Failure;
    bool found = false;
    for (int row = 0; row < NamedAddresses::count; ++row) {
        const QString key = NamedAddresses::keyOfRow(row);
        const QString name = names->value(key);
        const bool matches = std::any_of(texts.cbegin(), texts.cend(), [&name](const QString &text) {
            return name.contains(text, Qt::CaseInsensitive);
        });
        if (name.isEmpty() || !matches)
            continue;
        // One line for each: a line break in the name is printed as a blank.
        print(out, settingLine(AddressCodec::decode(key)) + u'\t' + printedText(name).replace(u'\n', u' '));
        found = true;
    }
    if (!found)
        print(err, QStringLiteral("no name contains %1").arg(texts.join(QStringLiteral(" or "))));
    return found ? Success : Failure;
}

// As a window stores an edit: merged under the lock into the names stored now.
int DippCli::store(const NameEntries &entries)
{
    SharedStore shared(NamesStore::defaultPath());
    const NamesStore::LoadResult found = shared.restore();
    if (!found.ok() && !found.setAsidePath.isEmpty())
        print(err, QStringLiteral("warning: the stored names could not be read (%1) and were set aside as %2")
                       .arg(describe(found.error), QDir::toNativeSeparators(found.setAsidePath)));
    shared.put(entries);
    // On Windows a file another program reads for a moment cannot be replaced meanwhile.
    const QDeadlineTimer patience(storePatienceMs);
    while (!shared.storeNow()) {
        if (shared.failing() || patience.hasExpired())
            break;
        QThread::msleep(storeRetryMs);
    }
    if (shared.pendingCount() == 0)
        return Success;
    print(err, QStringLiteral("error: cannot store the names in %1: %2")
                   .arg(QDir::toNativeSeparators(shared.file()), describe(shared.error())));
    return Failure;
}

std::optional<Names> DippCli::readStored()
{
    return readNames(SharedStore::read(NamesStore::defaultPath()), QStringLiteral("stored names"),
                     NamesStore::defaultPath());
}

std::optional<Names> DippCli::readList(const QString &file)
{
    return readNames(NamesCsv::readFile(file), QStringLiteral("names file"), file);
}

std::optional<Names> DippCli::readNames(const NamesCsv::ReadResult &read, const QString &what, const QString &file)
{
    if (read.ok())
        return read.names;
    print(err, QStringLiteral("error: %1 %2: %3").arg(what, QDir::toNativeSeparators(file), describe(read.error)));
    return std::nullopt;
}

QString DippCli::describe(const NamesCsv::Error &error)
{
    return NamesCsv::describe(error, NamesCsv::Language::English);
}

int DippCli::usageError(const QString &message)
{
    print(err, QStringLiteral("error: ") + message);
    print(err, QStringLiteral("Try '%1 --help' for more information.").arg(programName));
    return UsageError;
}

// Each line leaves at once, so that stdout and stderr keep their order in a terminal and in a pipe.
void DippCli::print(QTextStream &stream, const QString &line)
{
    stream << line << '\n' << Qt::flush;
}

#include "cli/dippcli.h"

#include "address/addresscodec.h"
#include "address/namedaddresses.h"
#include "address/outputfile.h"
#include "document/sharedstore.h"
#include "names/namerules.h"
#include "names/namescsv.h"
#include "names/namesstore.h"
#include "names/storelock.h"
#include "page/labellayout.h"
#include "page/labelspdf.h"
#include "page/namefitter.h"
#include "page/namewrap.h"
#include "page/tablepdf.h"
#include "print/pageprinter.h"

#include <QDir>
#include <QFileInfo>

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
                   "                           With --printer NAME, print on that printer at 100 % instead.\n"
                   "  labels [ADDRESS...]      Write sheets of labels, one for each address (every address\n"
                   "                           with a name if none is given): the address, its module, its\n"
                   "                           switches and its name, on A4 sheets of the --format's labels,\n"
                   "                           from label --start on. Options: --names, --output, --check,\n"
                   "                           --format, --start, --printer. With --formats, list the sheets\n"
                   "                           by maker and article number that hold the arguments.\n"
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
                   "Names file: CSV whose header names the columns Adresse and Name, separated by\n"
                   "; or , or tab; addresses as 12A or A12. Empty fields at the end of a line and empty rows\n"
                   "are left out. Read as UTF-16 (with or without a byte order mark), as UTF-8, or as\n"
                   "Windows-1252 when no character is UTF-8, with line ends LF, CR LF or CR; written as\n"
                   "UTF-8 with a byte order mark and CR LF. At most 4 MiB; a name holds at most 1000\n"
                   "characters (4000 UTF-16 code units) and no CR.\n"
                   "\n"
                   "-- ends the options: decode -- -7C reads -7C as a text.\n"
                   "\n"
                   "Exit status: 0 success, 1 failure, 2 usage error.");

const QString programName = QStringLiteral("vesk-dipp");
const QString endOfOptions = QStringLiteral("--");

// Longer than a lock left behind stays in the way (StoreLock::staleMs).
constexpr int storePatienceMs = StoreLock::staleMs + 5000;

QChar rowLabel(int position)
{
    const bool settable = position >= 0 && position < AddressCodec::positionCount;
    return settable ? AddressCodec::rowLabels.at(AddressCodec::displayRow(position)) : QChar(u'?');
}

QStringList formatNames()
{
    QStringList names;
    for (const LabelFormat &format : LabelSheet::formats()) {
        if (format.maker.isEmpty())
            names.append(format.name());
    }
    return names;
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
                  QStringLiteral("render, labels, names find: names from this CSV file instead of the names the "
                                 "window keeps."),
                  QStringLiteral("FILE"))
    , checkOption(QStringLiteral("check"),
                  QStringLiteral("render, labels: only tell how each name fits; write no file."))
    , helpOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Print this help and exit."))
    , outputOption(QStringLiteral("output"),
                   QStringLiteral("render, labels: write the PDF to this file instead of %1 or %2 in the working "
                                  "directory.")
                       .arg(TablePdf::fileName, LabelsPdf::fileName),
                   QStringLiteral("FILE"))
    , printerOption(QStringLiteral("printer"),
                    QStringLiteral("render, labels: print on this printer, at 100 %, instead of writing a file."),
                    QStringLiteral("NAME"))
    , formatOption(QStringLiteral("format"),
                   QStringLiteral("labels: the labels' size in mm, one of %1 (default %2), or a sheet by maker "
                                  "and article number as --formats lists them, such as \"Zweckform 3474\".")
                       .arg(formatNames().join(QStringLiteral(", ")), formatNames().constFirst()),
                   QStringLiteral("SHEET"))
    , formatsOption(QStringLiteral("formats"),
                    QStringLiteral("labels: list the sheets by maker and article number whose line holds the "
                                   "arguments' text: name, label size, columns x rows."))
    , startOption(QStringLiteral("start"),
                  QStringLiteral("labels: begin at this label of the first sheet (default 1)."), QStringLiteral("N"))
{
    formatOption.setDefaultValue(formatNames().constFirst());
    startOption.setDefaultValue(QStringLiteral("1"));
    parser.setApplicationDescription(description);
    parser.addOption(helpOption);
    parser.addVersionOption();
    parser.addOption(namesOption);
    parser.addOption(outputOption);
    parser.addOption(checkOption);
    parser.addOption(printerOption);
    parser.addOption(formatOption);
    parser.addOption(formatsOption);
    parser.addOption(startOption);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("decode, encode, render, labels or names."));
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
    const QString used = command == QLatin1String("names") ? command + u' ' + positional.value(0) : command;
    if (used == QLatin1String("render") || used == QLatin1String("labels") || used == QLatin1String("names find")) {
        parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
        if (!parser.parse(arguments))
            return usageError(parser.errorText());
        positional = parser.positionalArguments().mid(1);
    }
    if (const std::optional<QString> misplaced = optionNotFor(used))
        return usageError(*misplaced);
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
    if (command == QLatin1String("labels"))
        return labels(positional);
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
    const std::optional<Names> names = chosenNames();
    if (!names)
        return Failure;
    if (parser.isSet(checkOption) && names->isEmpty()) {
        print(out, QStringLiteral("no names"));
        return Success;
    }
    return produce(TablePdf::document(*names), TablePdf::fileName, QStringLiteral("cell"));
}

int DippCli::labels(const QStringList &addresses)
{
    if (parser.isSet(formatsOption))
        return listFormats(addresses.join(u' '));
    const std::optional<LabelFormat> format = LabelSheet::format(parser.value(formatOption));
    if (!format) {
        return usageError(QStringLiteral("Unknown label sheet '%1': use %2, or a sheet as --formats lists it.")
                              .arg(parser.value(formatOption), formatNames().join(QStringLiteral(", "))));
    }
    if (const LabelLayout layout = LabelLayout::of(format->label); !layout.fits) {
        print(err, QStringLiteral("error: ") + layout.englishReason());
        return Failure;
    }
    bool numeric = false;
    const int start = parser.value(startOption).toInt(&numeric);
    if (!numeric || start < 1 || start > format->perSheet()) {
        return usageError(QStringLiteral("--start takes a label of the sheet, 1 to %1: '%2'.")
                              .arg(format->perSheet())
                              .arg(parser.value(startOption)));
    }
    const std::optional<Names> names = chosenNames();
    if (!names)
        return Failure;
    QStringList keys = addresses.isEmpty() ? LabelsPdf::namedKeys(*names) : QStringList();
    for (const QString &address : addresses) {
        const std::optional<QString> key = NamedAddresses::parse(address);
        if (!key) {
            print(err, QStringLiteral("error: '%1' is not one of the addresses A-H 1-12").arg(address));
            return Failure;
        }
        keys.append(*key);
    }
    if (keys.isEmpty()) {
        print(err, QStringLiteral("error: no address has a name; name the addresses to label, or list them"));
        return Failure;
    }
    return produce(LabelsPdf::document(*names, *format, keys, start), LabelsPdf::fileName, QStringLiteral("label"));
}

// Told how it fits, printed, or written to a file, as the options say.
int DippCli::produce(const PageDocument &document, const QString &defaultFile, const QString &space)
{
    if (parser.isSet(checkOption))
        return check(document.fits());
    if (parser.isSet(printerOption)) {
        // Said only as CUPS tells what became of the job: printed, waiting, or why not.
        const PrintReport job = PagePrinter::printTo(parser.value(printerOption), document);
        if (job.ok())
            warnAbout(job.pages, space);
        print(job.ok() ? out : err, (job.ok() ? QString() : QStringLiteral("error: ")) + job.commandLine());
        return job.ok() ? Success : Failure;
    }
    const QString path =
        QFileInfo(parser.isSet(outputOption) ? parser.value(outputOption) : defaultFile).absoluteFilePath();
    const RenderResult result = document.writePdf(path);
    const QString shownPath = QDir::toNativeSeparators(path);
    if (!result.ok) {
        print(err, QStringLiteral("error: cannot write %1: %2").arg(shownPath, result.error));
        return Failure;
    }
    warnAbout(result, space);
    printWritten(path);
    return Success;
}

void DippCli::warnAbout(const RenderResult &result, const QString &space)
{
    for (const QString &key : result.shortened)
        print(
            err,
            QStringLiteral("warning: the name of %1 is too long for its %2 and is printed shortened").arg(key, space));
    for (const QString &key : result.missing)
        print(err, QStringLiteral("warning: the name of %1 has characters that no font here has; they print as "
                                  "empty boxes")
                       .arg(key));
}

int DippCli::check(const TablePage::Fits &fits)
{
    for (const auto &[key, fitted] : fits) {
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

// The names of the list given with --names, else those the window keeps.
std::optional<Names> DippCli::chosenNames()
{
    return parser.isSet(namesOption) ? readList(parser.value(namesOption)) : readStored();
}

// Which commands take which options: a message for one given to another command.
std::optional<QString> DippCli::optionNotFor(const QString &command) const
{
    const QStringList withFiles{QStringLiteral("render"), QStringLiteral("labels")};
    const std::pair<const QCommandLineOption *, QStringList> uses[] = {
        {&namesOption, withFiles + QStringList{QStringLiteral("names find")}},
        {&outputOption, withFiles},
        {&checkOption, withFiles},
        {&printerOption, withFiles},
        {&formatOption, {QStringLiteral("labels")}},
        {&formatsOption, {QStringLiteral("labels")}},
        {&startOption, {QStringLiteral("labels")}},
    };
    for (const auto &[option, commands] : uses) {
        if (parser.isSet(*option) && !commands.contains(command))
            return QStringLiteral("--%1 goes with %2 only.")
                .arg(option->names().constFirst(), commands.join(QStringLiteral(", ")));
    }
    if (parser.isSet(printerOption) && parser.isSet(outputOption))
        return QStringLiteral("--printer and --output exclude each other: print, or write a file.");
    return std::nullopt;
}

int DippCli::listFormats(const QString &text)
{
    const QList<LabelFormat> found = LabelSheet::matching(text);
    for (const LabelFormat &format : found)
        print(out, format.listing());
    if (found.isEmpty())
        print(err, QStringLiteral("error: no label sheet holds '%1'").arg(text));
    return found.isEmpty() ? Failure : Success;
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
    if (const NameRules::Problem problem = NameRules::check(name); problem != NameRules::Problem::None) {
        print(err, QStringLiteral("error: %1").arg(NameRules::englishReason(name, problem)));
        return Failure;
    }
    return store({{*key, name.isEmpty() ? std::nullopt : std::optional(name)}});
}

int DippCli::importNames(const QString &file)
{
    const std::optional<Names> names = readList(file);
    if (!names)
        return Failure;
    return store(entriesOf(*names, NamedAddresses::keysInTableOrder()));
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
    printWritten(file);
    return Success;
}

// The path written, unless what was written went to standard output itself.
void DippCli::printWritten(const QString &path)
{
    if (!OutputFile::isStandardOutput(path))
        print(out, QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

int DippCli::findNames(const QStringList &texts)
{
    const std::optional<Names> names = chosenNames();
    if (!names)
        return Failure;
    bool found = false;
    for (const QString &key : NamedAddresses::keysInTableOrder()) {
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
    QObject::connect(&shared, &SharedStore::restored, &shared, [this](const NamesStore::LoadResult &found) {
        if (!found.ok() && !found.setAsidePath.isEmpty())
            print(err, QStringLiteral("warning: the stored names could not be read (%1) and were set aside as %2")
                           .arg(describe(found.error), QDir::toNativeSeparators(found.setAsidePath)));
    });
    shared.restore();
    // Made now, later than the names it replaces, as a window's edit.
    shared.waitRestored(storePatienceMs);
    shared.put(entries);
    // On Windows a file another program reads for a moment cannot be replaced meanwhile.
    if (shared.waitStored(storePatienceMs))
        return Success;
    shared.discardPending(); // failed, as told: not stored later on the way out
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

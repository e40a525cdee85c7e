#include "cli/clisession.h"

#include "address/namedaddresses.h"
#include "base/outputfile.h"
#include "names/nameforms.h"
#include "page/labelsheet.h"
#include "page/labelspdf.h"
#include "page/tablepdf.h"
#include "print/printeroffsets.h"
#include "store/namesstore.h"
#include "store/sharedstore.h"
#include "store/storeclock.h"
#include "store/storecopies.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

// Another side's lock is held for milliseconds at a time.
constexpr qint64 lockRetryMs = 100;
constexpr double msPerSecond = 1000;

} // namespace

// The descriptions leave out the commands: the help names those each option goes with.
CliSession::CliSession(QTextStream &out, QTextStream &err)
    : out(out)
    , err(err)
    , helpOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Print this help and exit."))
    , versionOption({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Displays version information."))
    , namesOption(QStringLiteral("names"),
                  QStringLiteral("names from this CSV file instead of the names the window keeps."),
                  QStringLiteral("FILE"))
    , outputOption(QStringLiteral("output"),
                   QStringLiteral("write the PDF to this file instead of %1, %2 or %3 in the working directory.")
                       .arg(TablePdf::fileName, LabelsPdf::fileName, LabelsPdf::testSheetFileName),
                   QStringLiteral("FILE"))
    , checkOption(QStringLiteral("check"), QStringLiteral("only tell how each name fits; write no file."))
    , printerOption(QStringLiteral("printer"),
                    QStringLiteral("print on this printer, at 100 %, instead of writing a file."),
                    QStringLiteral("NAME"))
    , formatOption(QStringLiteral("format"),
                   QStringLiteral("the labels' size in mm, one of %1 (default %2), or a sheet by maker and article "
                                  "number as --formats lists them, such as \"Zweckform 3474\".")
                       .arg(formatNames().join(QStringLiteral(", ")), formatNames().constFirst()),
                   QStringLiteral("SHEET"))
    , formatsOption(QStringLiteral("formats"),
                    QStringLiteral("list the sheets by maker and article number whose line holds the arguments' "
                                   "text: name, label size, columns x rows."))
    , startOption(QStringLiteral("start"), QStringLiteral("begin at this label of the first sheet (default 1)."),
                  QStringLiteral("N"))
    , offsetOption(QStringLiteral("offset"),
                   QStringLiteral("move everything X mm right and Y mm down (negative: left, up; at most %1 "
                                  "mm; decimals after a point: 1.5,2), in a file as on a printer, there in place of "
                                  "the offset kept for the printer, which stays as it is.")
                       .arg(PrinterOffsets::limitMm),
                   QStringLiteral("X,Y"))
    , outlinesOption(QStringLiteral("outlines"),
                     QStringLiteral("write a test sheet instead: each label's outline and a cross at its centre, to "
                                    "lay over a sheet of labels and measure the printer's offset."))
{
    formatOption.setDefaultValue(formatNames().constFirst());
    startOption.setDefaultValue(QStringLiteral("1"));
    for (const QCommandLineOption *option : options())
        parser.addOption(*option);
}

QList<const QCommandLineOption *> CliSession::options() const
{
    return {&helpOption,   &versionOption, &namesOption,   &outputOption, &checkOption,   &printerOption,
            &offsetOption, &formatOption,  &formatsOption, &startOption,  &outlinesOption};
}

QStringList CliSession::formatNames()
{
    QStringList names;
    for (const LabelFormat &format : LabelSheet::formats()) {
        if (format.maker.isEmpty())
            names.append(format.name());
    }
    return names;
}

void CliSession::print(const QString &line)
{
    printTo(out, line);
}

// What the user typed may be quoted, and must not act on the terminal (an ESC sequence).
void CliSession::printError(const QString &line)
{
    printTo(err, NameForms::visible(line));
}

int CliSession::fail(const QString &message)
{
    printError(QStringLiteral("error: ") + message);
    return Failure;
}

void CliSession::warn(const QString &message)
{
    printError(QStringLiteral("warning: ") + message);
}

int CliSession::usageError(const QString &message)
{
    fail(message);
    printError(QStringLiteral("Try '%1 --help' for more information.").arg(programName()));
    return UsageError;
}

int CliSession::cannotWrite(const QString &path, const QString &reason)
{
    const QString shownPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    return fail(QStringLiteral("cannot write %1: %2").arg(shownPath, reason));
}

void CliSession::printWritten(const QString &path)
{
    if (!OutputFile::isStandardOutput(path))
        print(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

std::optional<QString> CliSession::addressKey(const QString &address)
{
    std::optional<QString> key = NamedAddresses::parse(address);
    if (!key)
        fail(QStringLiteral("'%1' is not one of the addresses A-H 1-12").arg(address));
    return key;
}

std::optional<Names> CliSession::chosenNames()
{
    return parser.isSet(namesOption) ? readList(parser.value(namesOption)) : readStored();
}

std::optional<Names> CliSession::readStored()
{
    mergeCopies();
    const NamesStore::ReadResult read = NamesStore::read(NamesStore::defaultPath());
    return readNames(read.names, read.error, QStringLiteral("stored names"), NamesStore::defaultPath());
}

// A window looks again and again; a command looks until nothing waits, at most as long as a
// copy of the times waits for its list, the longest wait, and leaves nothing waiting behind.
void CliSession::mergeCopies()
{
    StoreCopies copies(NamesStore::defaultPath());
    std::optional<qint64> until;
    bool told = false;
    for (;;) {
        const StoreCopies::Merged merged = copies.merge();
        for (const NamesStore::LoadResult &found : merged.setAside) {
            if (!found.setAsidePath.isEmpty())
                warn(QStringLiteral("a conflict copy could not be read (%1) and was set aside as %2")
                         .arg(describe(found.error), QDir::toNativeSeparators(found.setAsidePath)));
        }
        if (!merged.stays.ok())
            warn(QStringLiteral("conflict copies stay beside %1 until they can be merged and moved into %2: %3")
                     .arg(QDir::toNativeSeparators(NamesStore::defaultPath()),
                          QDir::toNativeSeparators(StoreFile::copiesPath(NamesStore::defaultPath())),
                          describe(merged.stays)));
        const qint64 now = StoreClock::ticks();
        if (!until)
            until = now + StoreCopies::timesWaitMs; // from the first look, where each copy's wait begins
        const std::optional<qint64> waiting = copies.waitingUntil();
        if (!waiting || now >= *until)
            return;
        const qint64 pauseMs = std::min(std::max(*waiting - now, lockRetryMs), *until - now);
        if (pauseMs > lockRetryMs && !told) { // no silent wait of seconds
            told = true;
            printError(QStringLiteral("note: waiting up to %1 s for the rest of a conflict copy that a sync service "
                                      "is still bringing beside %2")
                           .arg(QString::number(std::ceil(double(*until - now) / msPerSecond)),
                                QDir::toNativeSeparators(NamesStore::defaultPath())));
        }
        StoreClock::pause(int(pauseMs));
    }
}

std::optional<Names> CliSession::readList(const QString &file)
{
    const NamesCsv::ReadResult read = NamesCsv::readFile(file);
    return readNames(read.names, read.error, QStringLiteral("names file"), file);
}

std::optional<Names> CliSession::readNames(const Names &names, const StoreError &error, const QString &what,
                                           const QString &file)
{
    if (error.ok())
        return names;
    fail(QStringLiteral("%1 %2: %3").arg(what, QDir::toNativeSeparators(file), describe(error)));
    return std::nullopt;
}

// Each line leaves at once, so that stdout and stderr keep their order in a terminal and in a pipe.
void CliSession::printTo(QTextStream &stream, const QString &line)
{
    stream << line << '\n' << Qt::flush;
}

QString CliSession::describe(const StoreError &error)
{
    return error.describe(NamesCsv::Language::English);
}

#include "cli/pagecommands.h"

#include "cli/clisession.h"
#include "page/fittedname.h"
#include "page/labellayout.h"
#include "page/labelsheet.h"
#include "page/labelspdf.h"
#include "page/tablepdf.h"
#include "print/pageprinter.h"
#include "print/printeroffsets.h"

#include <QFileInfo>

PageCommands::PageCommands(CliSession &session)
    : session(session)
{
}

QList<CliCommand> PageCommands::commands()
{
    const CliSession &s = session;
    return {
        {QStringLiteral("render"),
         {},
         {&s.namesOption, &s.outputOption, &s.checkOption, &s.printerOption, &s.offsetOption},
         QStringLiteral("Write the table of the 96 addresses A-H x 1-12 as a PDF and\n"
                        "print the path written. Options: --names, --output, --check.\n"
                        "Without --names, the names the window keeps are printed.\n"
                        "A name too long for its cell is printed smaller; one too long\n"
                        "even at 5 pt is shortened, with a warning on stderr.\n"
                        "With --check, print for each name 'fits', 'smaller' and the\n"
                        "size, or 'shortened', and 'missing characters' and those\n"
                        "characters where no font here has them; write no file.\n"
                        "With --printer NAME, print on that printer at 100 % instead,\n"
                        "shifted by the offset kept for it or given with --offset."),
         [this](const QStringList &arguments) { return render(arguments); }},
        {QStringLiteral("labels"),
         QStringLiteral("[ADDRESS...]"),
         {&s.namesOption, &s.outputOption, &s.checkOption, &s.printerOption, &s.offsetOption, &s.formatOption,
          &s.formatsOption, &s.startOption, &s.outlinesOption},
         QStringLiteral("Write sheets of labels, one for each address (every address\n"
                        "with a name if none is given): the address, its module, its\n"
                        "switches and its name, on A4 sheets of the --format's labels,\n"
                        "from label --start on. Options: --names, --output, --check,\n"
                        "--format, --start, --printer, --offset. With --formats, list\n"
                        "the sheets by maker and article number that hold the arguments.\n"
                        "With --outlines, a test sheet of the --format instead, to\n"
                        "measure the offset a printer needs."),
         [this](const QStringList &addresses) { return labels(addresses); }},
    };
}

int PageCommands::render(const QStringList &arguments)
{
    if (!arguments.isEmpty())
        return session.usageError(QStringLiteral("render takes no arguments: '%1'.").arg(arguments.constFirst()));
    const std::optional<Names> names = session.chosenNames();
    if (!names)
        return CliSession::Failure;
    if (session.parser.isSet(session.checkOption) && names->isEmpty()) {
        session.print(QStringLiteral("no names"));
        return CliSession::Success;
    }
    return produce(TablePdf::document(*names), TablePdf::fileName, NameHolder::Cell);
}

int PageCommands::labels(const QStringList &addresses)
{
    const QCommandLineParser &parser = session.parser;
    if (parser.isSet(session.formatsOption))
        return listFormats(addresses.join(u' '));
    const QString sheet = parser.value(session.formatOption);
    const std::optional<LabelFormat> format = LabelSheet::format(sheet);
    if (!format) {
        return session.usageError(QStringLiteral("Unknown label sheet '%1': use %2, or a sheet as --formats lists it.")
                                      .arg(sheet, CliSession::formatNames().join(QStringLiteral(", "))));
    }
    if (!format->fitsPaper()) {
        return session.fail((format->overlaps() ? QStringLiteral("the labels of %1 lie over each other")
                                                : QStringLiteral("the labels of %1 do not fit on an A4 sheet"))
                                .arg(format->name()));
    }
    if (parser.isSet(session.outlinesOption)) {
        if (!addresses.isEmpty() || parser.isSet(session.checkOption) || parser.isSet(session.startOption)
            || parser.isSet(session.namesOption))
            return session.usageError(QStringLiteral("--outlines takes no addresses, --names, --check or --start."));
        return produce(LabelsPdf::testSheet(*format), LabelsPdf::testSheetFileName, NameHolder::Label);
    }
    if (const LabelLayout layout = LabelLayout::of(format->label); !layout.fits)
        return session.fail(layout.reason(QLocale::English));
    bool numeric = false;
    const int start = parser.value(session.startOption).toInt(&numeric);
    if (!numeric || start < 1 || start > format->perSheet()) {
        return session.usageError(QStringLiteral("--start takes a label of the sheet, 1 to %1: '%2'.")
                                      .arg(format->perSheet())
                                      .arg(parser.value(session.startOption)));
    }
    const std::optional<Names> names = session.chosenNames();
    if (!names)
        return CliSession::Failure;
    QStringList keys = addresses.isEmpty() ? LabelsPdf::namedKeys(*names) : QStringList();
    for (const QString &address : addresses) {
        const std::optional<QString> key = session.addressKey(address);
        if (!key)
            return CliSession::Failure;
        keys.append(*key);
    }
    if (keys.isEmpty())
        return session.fail(QStringLiteral("no address has a name; name the addresses to label, or list them"));
    return produce(LabelsPdf::document(*names, *format, keys, start), LabelsPdf::fileName, NameHolder::Label);
}

int PageCommands::listFormats(const QString &text)
{
    const QList<LabelFormat> found = LabelSheet::matching(text);
    for (const LabelFormat &format : found)
        session.print(format.listing());
    if (found.isEmpty())
        return session.fail(QStringLiteral("no label sheet holds '%1'").arg(text));
    return CliSession::Success;
}

// Told how it fits, printed, or written to a file, as the options say.
int PageCommands::produce(const PageDocument &document, const QString &defaultFile, NameHolder holder)
{
    const QCommandLineParser &parser = session.parser;
    std::optional<QPointF> offset;
    if (parser.isSet(session.offsetOption)) {
        offset = PrinterOffsets::parse(parser.value(session.offsetOption));
        if (!offset) {
            return session.usageError(
                QStringLiteral("--offset takes X,Y in millimetres, each from -%1 to %1, decimals after a point, "
                               "such as --offset 1.5,2: '%2'.")
                    .arg(PrinterOffsets::limitMm)
                    .arg(parser.value(session.offsetOption)));
        }
    }
    if (parser.isSet(session.checkOption))
        return check(document.fits());
    if (parser.isSet(session.printerOption)) {
        // Said only as CUPS tells what became of the job: printed, waiting, or why not.
        const PrintReport job = PagePrinter::printTo(parser.value(session.printerOption), document, offset);
        if (!job.ok())
            return session.fail(job.commandLine());
        warnAbout(job.pages, holder);
        session.print(job.commandLine());
        return CliSession::Success;
    }
    const QString path =
        QFileInfo(parser.isSet(session.outputOption) ? parser.value(session.outputOption) : defaultFile)
            .absoluteFilePath();
    const RenderResult result = document.shifted(offset.value_or(QPointF())).writePdf(path);
    if (!result.ok)
        return session.cannotWrite(path, result.error);
    warnAbout(result, holder);
    session.printWritten(path);
    return CliSession::Success;
}

void PageCommands::warnAbout(const RenderResult &result, NameHolder holder)
{
    const QString space = holder == NameHolder::Cell ? QStringLiteral("cell") : QStringLiteral("label");
    for (const QString &key : result.shortened)
        session.warn(QStringLiteral("the name of %1 is too long for its %2 and is printed shortened").arg(key, space));
    for (const QString &key : result.missing)
        session.warn(
            QStringLiteral("the name of %1 has characters that no font here has; they print as empty boxes").arg(key));
}

int PageCommands::check(const NameFits &fits)
{
    for (const auto &[key, fitted] : fits) {
        QString how = QStringLiteral("fits");
        if (fitted.fit == FittedName::Smaller)
            how = QStringLiteral("smaller\t%1 pt").arg(fitted.pointSize);
        else if (fitted.fit == FittedName::Shortened)
            how = QStringLiteral("shortened");
        if (!fitted.missing.isEmpty())
            how += QStringLiteral("\tmissing characters\t") + fitted.missing;
        session.print(key + u'\t' + how);
    }
    return CliSession::Success;
}

#include "print/lastprinter.h"

#include "base/usersettings.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {

// Under the labels' group, where it was kept before the table kept it too.
const QString key = QStringLiteral("etiketten/drucker");

} // namespace

namespace LastPrinter {

void keep(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty())
        userSettings().setValue(key, printer.printerName());
}

qsizetype chosenIn(const QStringList &printers)
{
    const qsizetype system = printers.indexOf(QPrinterInfo::defaultPrinterName());
    const qsizetype last = printers.indexOf(userSettings().value(key).toString());
    return system >= 0 ? system : printers.isEmpty() ? -1 : std::max<qsizetype>(last, 0);
}

} // namespace LastPrinter

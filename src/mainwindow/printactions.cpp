#include "mainwindow/printactions.h"

#include "document/namesdocument.h"
#include "mainwindow/labelsdialog.h"
#include "mainwindow/namestable.h"
#include "mainwindow/reportqueue.h"
#include "print/lastprinter.h"
#include "print/pageprinter.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QUrl>
#include <QWidget>

PrintActions::PrintActions(QWidget *window, NamesDocument *document, NamesTable *namesTable)
    : QObject(window)
    , window(window)
    , document(document)
    , namesTable(namesTable)
{
    auto *print = new QAction(window);
    print->setShortcuts(QKeySequence::Print);
    connect(print, &QAction::triggered, this, &PrintActions::printTable);
    window->addAction(print);
}

void PrintActions::reportRender(const QString &path, const TablePdf::Result &result)
{
    const QString title = tr("Tabelle rendern");
    if (!result.ok) {
        ReportQueue::show(window, QMessageBox::Warning, title,
                          tr("Die Tabelle konnte nicht gespeichert werden.\n\nDatei: %1\nGrund: %2")
                              .arg(QDir::toNativeSeparators(path), result.error));
        return;
    }
    ReportQueue::show(window, QMessageBox::Information, title,
                      tr("Tabelle wurde erfolgreich gerendert und gespeichert."),
                      (QStringList{tr("Datei: %1").arg(QDir::toNativeSeparators(path))}
                       + PrintReport::windowFits(result, PrintReport::Subject::Table))
                          .join(u'\n'));
}

void PrintActions::printTable()
{
    namesTable->commitEditor();
    const PageDocument page = TablePdf::document(document->names());
    QPrinter printer(QPrinter::HighResolution);
    PagePrinter::prepare(printer, page);
    QPrintPreviewDialog preview(&printer, window);
    preview.setWindowTitle(tr("Tabelle drucken"));
    PrintReport printed =
        PrintReport::of(PrintReport::Outcome::Failed, {}, tr("Die Seite wurde nicht an den Drucker gegeben."));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&page, &printed](QPrinter *target) { printed = PagePrinter::submit(*target, page); });
    if (preview.exec() != QDialog::Accepted)
        return;
    const bool ok = printed.ok();
    if (ok)
        LastPrinter::keep(printer); // offered by the labels' dialog too
    ReportQueue::show(window, ok ? QMessageBox::Information : QMessageBox::Warning, tr("Tabelle drucken"),
                      ok ? printed.windowText(PrintReport::Subject::Table)
                         : tr("Die Tabelle konnte nicht gedruckt werden.\n\nGrund: %1").arg(printed.windowReason()),
                      ok ? PrintReport::windowFits(printed.pages, PrintReport::Subject::Table).join(u'\n') : QString());
}

void PrintActions::showLabels()
{
    namesTable->commitEditor();
    LabelsDialog dialog(document->names(), namesTable->selectedKeys(), window);
    dialog.exec();
}

void PrintActions::openTable()
{
    // The very file the render writes: the working directory's, not the program's.
    const QString path = TablePdf::defaultPath();
    const QString shownPath = QDir::toNativeSeparators(path);
    if (!QFileInfo::exists(path)) {
        QMessageBox::warning(window, tr("Tabelle öffnen"),
                             tr("Die Datei %1 gibt es nicht.\nBitte zuerst „Tabelle rendern“ wählen.").arg(shownPath));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        QMessageBox::warning(window, tr("Tabelle öffnen"),
                             tr("Die Datei %1 konnte nicht geöffnet werden.\n"
                                "Ist ein Programm zum Anzeigen von PDF-Dateien eingerichtet?")
                                 .arg(shownPath));
    }
}

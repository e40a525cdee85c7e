#include "support/windowtest.h"

#include <QPrintEngine>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QStyledItemDelegate>
#include <QToolTip>

// Qt keeps the print dialog's own CUPS choices, as name and value in turn, under this print engine property.
const auto cupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// The names table rendered, printed and opened; a test sheet printed on the suite's own CUPS queues.
class TestPrinting : public WindowTest
{
    Q_OBJECT

private slots:
    void render()
    {
        typeNames({{14, u"Drehscheibenpositionsrückmeldung Süd"_s}, {28, u"Ab"_s.repeated(150)}});
        typeNames({{0, u"%s %n 100% Grüße"_s}, {4, u"weg"_s}, {4, QString()}});
        // A name, once typed, marked orange if it will print smaller, red if shortened, not if whole.
        QTableWidget *table = window->adrTable;
        const auto mark = [table](int row) {
            return std::pair(table->item(row, 0)->foreground(), table->item(row, 0)->toolTip());
        };
        QCOMPARE(mark(14), std::pair(QBrush(QColor(0x9a5b00)), u"Wird verkleinert gedruckt"_s));
        QCOMPARE(mark(28), std::pair(QBrush(QColor(0xc00000)), u"Wird gekürzt gedruckt: zu lang für das Feld"_s));
        window->strEdit->setText(u"c7"_s);
        QTest::mouseClick(window->rechnen, Qt::LeftButton);
        window->strEdit->setText(u"b7"_s); // not applied: the entry shows the panel's address again
        static QStringList debugLines;     // static: a message handler captures nothing
        debugLines.clear();
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext & /*context*/, const QString &message) {
                if (type == QtDebugMsg)
                    debugLines.append(message);
            });
        window->arLabel->startTableRender(); // two requests before the paint make one render
        QTest::mouseClick(window->table, Qt::LeftButton);
        QVERIFY(QFileInfo::exists(workFile(TablePdf::fileName))); // written before the click returns
        qInstallMessageHandler(previous);
        QCOMPARE(debugLines, (QStringList{"Adr: 1A  Name: %s %n 100% Grüße",
                                          "Adr: 5A  Name: ", "Adr: 3B  Name: Drehscheibenpositionsrückmeldung Süd",
                                          "Adr: 5C  Name: " + u"Ab"_s.repeated(150), "arLabel->adrNames = hash;",
                                          "arLabel->startTableRender();", "strEdit->setText(arLabel->getStrAdr()); ",
                                          "arLabel->setStrAdr(strEdit->text().toUpper());", "fertig"}));
        const QString pdf = workFile(TablePdf::fileName);
        const QString shownPdf = QDir::toNativeSeparators(pdf);
        MessageBoxCatcher::Box box = catcher.takeOne();
        QCOMPARE(std::pair(box.title, box.text),
                 std::pair(u"Tabelle rendern"_s, u"Tabelle wurde erfolgreich gerendert und gespeichert.\nDatei: %1\n"
                                                 "Kleiner gedruckt, damit sie ins Feld passen: 3B\nGekürzt gedruckt, "
                                                 "zu lang für das Feld: 5C"_s.arg(shownPdf)));
        // The panel shows the entry's address again, not the last cell drawn.
        QCOMPARE(window->strEdit->text(), u"7C"_s);
        QCOMPARE(knobRows(grabbed(window->arLabel)), (QList<int>{0, 1, 0, 0, 1}));
        const QByteArray written = Files::read(pdf);
        QVERIFY(written.startsWith("%PDF"));
        // Ctrl+P: the very page, landscape, previewed, then printed into a file, never on a printer.
        QTest::keyClicks(openEditor(2), u"Weichenantrieb"_s); // printed too, while still being typed
        for (const auto &[to, icon, told] : QList<std::tuple<QString, QMessageBox::Icon, QString>>{
                 {u"tabelle.pdf"_s, QMessageBox::Information,
                  u"Die Tabelle wurde in %1 gespeichert.\nKleiner gedruckt, damit sie ins Feld passen: "
                  "3A, 3B\nGekürzt gedruckt, zu lang für das Feld: 5C"_s},
                 {u"nicht/da.pdf"_s, QMessageBox::Warning,
                  u"Die Tabelle konnte nicht gedruckt werden.\n\nGrund: Drucker %1: The printer could "
                  "not be started."_s}}) {
            onDialog<QPrintPreviewDialog>([this, typed = to](QPrintPreviewDialog *preview) {
                auto *view = preview->findChild<QPrintPreviewWidget *>();
                QCOMPARE((QList<int>{view->pageCount(), view->orientation()}), (QList<int>{1, QPageLayout::Landscape}));
#ifndef Q_OS_WIN // whose print dialog is the system's
                printInto(typed);
                for (QAction *print : preview->findChildren<QAction *>())
                    if (print->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print"))
                        print->trigger();
#endif
            });
            QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
#ifndef Q_OS_WIN
            box = catcher.takeOne();
            QCOMPARE(std::pair(box.icon, box.text), std::pair(icon, told.arg(QDir::toNativeSeparators(workFile(to)))));
#endif
            focusTable(); // from the report
        }
        {
            Files::Unreplaceable held(pdf); // a failed render says so and keeps the older file
            QTest::mouseClick(window->table, Qt::LeftButton);
            box = catcher.takeOne();
        }
        QCOMPARE(box.icon, QMessageBox::Warning);
        QVERIFY(
            box.text.startsWith(u"Die Tabelle konnte nicht gespeichert werden.\n\nDatei: %1\nGrund: "_s.arg(shownPdf)));
        QCOMPARE(Files::read(pdf), written);

        // "Tabelle öffnen" opens the file the render wrote, or says that there is none.
        QTest::mouseClick(window->table_2, Qt::LeftButton);
        QCOMPARE(openedUrls.takeLast(), QUrl::fromLocalFile(pdf));
        QFile::remove(pdf);
        QTest::mouseClick(window->table_2, Qt::LeftButton);
        QCOMPARE(catcher.takeOne().text,
                 u"Die Datei %1 gibt es nicht.\nBitte zuerst „Tabelle rendern“ wählen."_s.arg(shownPdf));
        QVERIFY(openedUrls.isEmpty() && Files::write(pdf, written));
        QDesktopServices::unsetUrlHandler(u"file"_s); // the platform's own, which opens nothing here
        QTest::mouseClick(window->table_2, Qt::LeftButton);
        QDesktopServices::setUrlHandler(u"file"_s, this, "openUrl");
        QCOMPARE(catcher.takeOne().text, u"Die Datei %1 konnte nicht geöffnet werden.\nIst ein Programm zum "
                                         "Anzeigen von PDF-Dateien eingerichtet?"_s.arg(shownPdf));

        typeNames({{30, u"Privat \uE000"_s}});
        QCOMPARE(mark(30), std::pair(QBrush(QColor(0xc00000)), u"Zeichen fehlen in der Schrift: \uE000"_s));
        // Marked too while the user types, before the name is committed.
        auto *editor = openEditor(1);
        QVERIFY(editor);
        QTest::keyClicks(editor, u"Weichenantrieb"_s);
        QCOMPARE(editor->toolTip(), u"Wird verkleinert gedruckt"_s);
        QCOMPARE(editor->palette().color(QPalette::Text), QColor(0x9a5b00));
        // Takes no more than a name may hold, counted as read, and says so.
        const QString longest = u"e\u0301"_s.repeated(999) + u"x"_s;
        editor->setText(longest);
        QTest::keyClick(editor, Qt::Key_Y);
        QCOMPARE(editor->text(), longest);
        QTRY_COMPARE(QToolTip::text(), u"Ein Name hat höchstens 1000 Zeichen und 4000 UTF-16-Einheiten (Emoji und "
                                       "Akzente belegen mehrere)."_s);
        editor->clear();
        editor->insert(u"a\r\nb\rc"_s);
        QCOMPARE(std::pair(editor->text(), editor->cursorPosition()), std::pair(u"a\nb\nc"_s, 5));
        // Nor a hidden character, typed or pasted.
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, u"\u202E"_s);
        QApplication::sendEvent(editor, &typed);
        QTRY_COMPARE(QToolTip::text(),
                     u"Ein Name enthält keine Zeichen, die die Schreibrichtung umstellen; an Stelle 6 steht U+202E."_s);
        editor->home(false);
        editor->insert(u"\x1b"_s);
        QCOMPARE(editor->text(), u"a\nb\nc"_s);
        QTRY_COMPARE(QToolTip::text(),
                     u"Ein Name enthält keine Steuerzeichen; an Stelle 1 steht das unsichtbare Zeichen U+001B."_s);
        QTest::keyClick(editor, Qt::Key_Escape);
        // One stored with it is marked, for assistive technology too, shows it, and is edited keeping it.
        window->findChild<NamesDocument *>()->setName(u"2A"_s, u"\u202EWeiche Ende"_s);
        QCOMPARE(mark(1), std::pair(QBrush(QColor(0xc00000)), u"Enthält unsichtbare Zeichen (U+202E an Stelle 1)"_s));
        QCOMPARE(table->item(1, 0)->data(Qt::AccessibleDescriptionRole), QVariant(table->item(1, 0)->toolTip()));
        const auto *delegate = static_cast<QStyledItemDelegate *>(table->itemDelegateForColumn(0));
        QCOMPARE(delegate->displayText(table->item(1, 0)->text(), {}), u"⟨U+202E⟩Weiche Ende"_s);
        QTest::keyClick(table, Qt::Key_F2);
        editor = qobject_cast<QLineEdit *>(table->indexWidget(table->currentIndex()));
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClicks(editor, u" Wost"_s);
        QApplication::sendEvent(editor, &typed); // but no other
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(namesAt({1}), QStringList{u"\u202EWeiche Ende Wost"_s});
        window->arLabel->startTableRender(); // carried out by the panel's own repaints too
        QCOMPARE(catcher.takeOne().title, u"Tabelle rendern"_s);
    }

    void printerOffset_data()
    {
        // lpdest: CUPS's default printer; null: its own, empty: none. down: Down keys in the printer box. shown: how
        // many printers, the one chosen then, the offset ("-": disabled).
        // chosen: for a test sheet printed then, the print dialog's printer, copies, collated, page, landscape, its
        // CUPS options. job: what the window says, and the job as CUPS keeps it (ipptool's columns of the jobs' test).
        addColumns<QByteArray, int, QStringList, QStringList, QString>("lpdest", "down", "shown", "chosen", "job");
        const QString waits = u"Das Testblatt wartet in der Warteschlange von %1: der %2.\n"_s;
        // clang-format off
        QTest::newRow("no printer") << QByteArray() << 0 << QStringList{"0", "", "-", "-"} << QStringList() << "";
        QTest::newRow("the default") << QByteArray() << 0 << QStringList{"2", "vesk-suite-default", "0", "0"} << QStringList{"vesk-suite-default", "1", "1", "0", "0"} << waits.arg("vesk-suite-default", "Drucker ist angehalten") + "1,one-sided,,separate-documents-collated-copies,no-hold,,A4,none";
        QTest::newRow("the second") << QByteArray() << 1 << QStringList{"2", "vesk-suite-other", "0", "0"} << QStringList{"vesk-suite-other", "2", "0", "1", "0", "job-hold-until", "indefinite"} << waits.arg("vesk-suite-other", "Auftrag wird zurückgehalten") + "2,one-sided,1-1,separate-documents-uncollated-copies,indefinite,,A4,none";
        QTest::newRow("no default") << ""_ba << 0 << QStringList{"2", "vesk-suite-default", "0", "0"} << QStringList{"vesk-suite-other", "1", "1", "0", "1"} << waits.arg("vesk-suite-other", "Drucker ist angehalten") + "1,one-sided,,separate-documents-collated-copies,no-hold,true,A4,none";
        // clang-format on
    }

    // An offset entered for each printer in the labels dialog, kept by its name.
    void printerOffset()
    {
        auto [lpdest, down, job] = fetched<QByteArray, int, QString>("lpdest", "down", "job");
        QFETCH(QStringList, shown); // the print dialog's answer captures these two
        QFETCH(QStringList, chosen);

        if (shown[1].isEmpty() ? !QPrinterInfo::availablePrinterNames().isEmpty()
                               : qEnvironmentVariable("VESK_SUITE_QUEUES") != u"vesk-suite-default vesk-suite-other"_s)
            QSKIP("Needs no printer at all, or the suite's own CUPS and its queues (VESK_SUITE_QUEUES, scripts/test)");
        lpdest.isNull() ? qunsetenv("LPDEST") : qputenv("LPDEST", lpdest);
        const auto cupsDefault = qScopeGuard([] { qunsetenv("LPDEST"); });
        LabelsDialog dialog({}, {});
        for (int i = 0; i < down; ++i)
            QTest::keyClick(dialog.printerBox, Qt::Key_Down);
        const auto seen = [&dialog] {
            QStringList values{QString::number(dialog.printerBox->count()), dialog.printerBox->currentText()};
            for (const QDoubleSpinBox *spin : {dialog.offsetRightSpin, dialog.offsetDownSpin})
                values.append(spin->isEnabled() ? QString::number(spin->value()) : u"-"_s);
            return values;
        };
        QCOMPARE(seen(), shown);
        QCOMPARE(dialog.printerBox->accessibleName(), shown[1].isEmpty() ? u"kein Drucker eingerichtet"_s : QString());
        typeInto(dialog.offsetRightSpin, u"1,5"_s);
        dialog.offsetDownSpin->setValue(-25);                                      // at most 20 mm
        dialog.printerBox->setCurrentIndex(1 - dialog.printerBox->currentIndex()); // the other one has its own
        QCOMPARE(seen().mid(2), shown.mid(2));
        dialog.printerBox->setCurrentIndex(1 - dialog.printerBox->currentIndex());
        QCOMPARE(seen().mid(2), (shown[1].isEmpty() ? shown.mid(2) : QStringList{"1.5", "-20"}));
        if (chosen.isEmpty())
            return;
        onDialog<QPrintDialog>([&chosen, &shown](QPrintDialog *print) {
            QPrinter *target = print->printer();
            QCOMPARE(target->printerName(), shown[1]); // opened on the box's printer
            target->setPrinterName(chosen[0]);
            target->setCopyCount(chosen[1].toInt());
            target->setCollateCopies(chosen[2] == u"1");
            target->setFromTo(chosen[3].toInt(), chosen[3].toInt());
            target->setPageOrientation(chosen[4] == u"1" ? QPageLayout::Landscape : QPageLayout::Portrait);
            target->printEngine()->setProperty(cupsOptionsProperty, chosen.mid(5));
            print->done(QDialog::Accepted);
        });
        const auto cancelJobs = qScopeGuard([] { QCOMPARE(QProcess::execute(u"cancel"_s, {u"-a"_s}), 0); });
        QTest::mouseClick(dialog.testSheetButton, Qt::LeftButton);
        QCOMPARE(dialog.printerBox->currentText(), chosen[0]); // the box follows the print dialog, kept for later
        QVERIFY(Files::write(
            workFile(u"jobs.test"_s),
            "{OPERATION Get-Jobs GROUP operation ATTR charset attributes-charset utf-8 ATTR naturalLanguage "
            "attributes-natural-language en ATTR uri printer-uri $uri ATTR keyword requested-attributes all DISPLAY "
            "copies DISPLAY sides DISPLAY page-ranges DISPLAY multiple-document-handling DISPLAY job-hold-until "
            "DISPLAY landscape DISPLAY media DISPLAY print-scaling}"));
        QProcess ipp;
        const QString uri =
            u"ipp://%1/printers/%2"_s.arg(QUrl::toPercentEncoding(qEnvironmentVariable("CUPS_SERVER")), chosen[0]);
        ipp.start(u"ipptool"_s, {u"-c"_s, uri, workFile(u"jobs.test"_s)});
        QVERIFY(ipp.waitForFinished());
        QCOMPARE(catcher.takeOne().text + u'\n' + QString::fromUtf8(ipp.readAllStandardOutput()).section(u'\n', 1, 1),
                 job);
        QCOMPARE(LabelsDialog({}, {}).printerBox->currentText(), lpdest.isNull() ? u"vesk-suite-default"_s : chosen[0]);
        onDialog<QPrintPreviewDialog>([](QPrintPreviewDialog *preview) {
            preview->printer()->setPrinterName(u"vesk-suite-default"_s);
            emit preview->paintRequested(preview->printer()); // as its print dialog, accepted, has it
            preview->accept();
        });
        window->printButton->click(); // the names table on the default queue: offered next, also with no default
        QCOMPARE(catcher.takeOne().icon, QMessageBox::Information);
        QCOMPARE(LabelsDialog({}, {}).printerBox->currentText(), u"vesk-suite-default"_s);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"

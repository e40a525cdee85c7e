#include "mainwindow/namestabletools.h"
#include "mainwindow/veskar.h"
#include "panel/arlabel.h"
#include "support/debugcapture.h"
#include "support/files.h"
#include "support/messageboxcatcher.h"
#include "support/switchpixels.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using Names = QHash<int, QString>;

class TestWindow : public QObject
{
    Q_OBJECT

public slots:
    void openUrl(const QUrl &url) { openedUrls.append(url); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startState();
    void addressToSwitches_data();
    void addressToSwitches();
    void switchesAndNamesLinked();
    void renderDebugLines_data();
    void renderDebugLines();
    void renderKeepsPanelAndReports_data();
    void renderKeepsPanelAndReports();
    void openTable_data();
    void openTable();
    void loadNames_data();
    void loadNames();
    void saveWritesTypedNames();
    void paste_data();
    void paste();

private:
    void typeName(int row, const QString &name);
    QString nameAt(int row) const;
    QList<int> knobRows() const;
    QString pdfPath() const { return QDir(workDir.path()).filePath(QStringLiteral("Dippschalter.pdf")); }

    QTemporaryDir workDir;
    std::unique_ptr<VeskAr> window;
    QList<QUrl> openedUrls;
};

void TestWindow::initTestCase()
{
    QVERIFY(QDir::setCurrent(workDir.path()));
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
}

void TestWindow::init()
{
    window = std::make_unique<VeskAr>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestWindow::cleanup()
{
    window.reset();
    QFile::remove(pdfPath());
}

void TestWindow::typeName(int row, const QString &name)
{
    window->adrTable->setCurrentCell(row, 0);
    QTest::keyClick(window->adrTable, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->setText(name);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(nameAt(row), name); // the delegate commits after the key
}

QString TestWindow::nameAt(int row) const
{
    const QTableWidgetItem *item = window->adrTable->item(row, 0);
    return item ? item->text() : QStringLiteral("<none>");
}

QList<int> TestWindow::knobRows() const
{
    return SwitchPixels::knobRows(window->arLabel->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

void TestWindow::startState()
{
    QCOMPARE(window->strEdit->text(), QStringLiteral("1A"));
    QCOMPARE(knobRows(), (QList<int>{0, 0, 0, 0, 0}));
    QVERIFY(!window->adrTable->isVisible());
    const QPoint box(8, window->viewTable->height() / 2);
    QTest::mouseClick(window->viewTable, Qt::LeftButton, Qt::NoModifier, box);
    QVERIFY(window->adrTable->isVisible());
    QTest::mouseClick(window->viewTable, Qt::LeftButton, Qt::NoModifier, box);
    QVERIFY(!window->adrTable->isVisible());

    // 96 rows letter-major, 1A first and 12H last; the address cells can be neither edited nor selected.
    QCOMPARE(window->adrTable->rowCount(), 96);
    for (const auto &[row, address] : QList<QPair<int, QString>>{{0, "1A"}, {11, "12A"}, {14, "3B"}, {95, "12H"}}) {
        QCOMPARE(window->adrTable->item(row, 1)->text(), address);
        QCOMPARE(window->adrTable->item(row, 1)->flags(), Qt::ItemFlags(Qt::ItemIsEnabled));
    }
}

void TestWindow::addressToSwitches_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("warning"); // empty: none

    // Rows: 0 top (position 0), 1 middle (position 2), 2 bottom (position 1).
    const QString typo = QStringLiteral("„%1“ ist keine Adresse wie 7C oder C7 – gelesen als %2.");
    const QString unsettable = QStringLiteral("Die Adresse %1 lässt sich mit den Dippschaltern nicht einstellen");
    QTest::newRow("c7") << "c7"
                        << "7C" << QList<int>{0, 1, 0, 0, 1} << "";
    QTest::newRow("blanks") << " 12 b "
                            << "12B" << QList<int>{2, 0, 1, 0, 2} << "";
    QTest::newRow("A07") << "A07"
                         << "7A" << QList<int>{0, 1, 0, 0, 0} << "";
    // Positions of 3 and more are drawn in the top row.
    QTest::newRow("letter K") << "5k"
                              << "5K" << QList<int>{0, 2, 2, 0, 2} << unsettable.arg("5K");
    QTest::newRow("number 28") << "28a"
                               << "28A" << QList<int>{0, 0, 0, 0, 0} << unsettable.arg("28A");
    QTest::newRow("letter O") << "1O"
                              << "1A" << QList<int>{0, 0, 0, 0, 0} << typo.arg("1O", "1A");
    QTest::newRow("xyz") << "xyz"
                         << "1A" << QList<int>{0, 0, 0, 0, 0} << typo.arg("xyz", "1A");
    QTest::newRow("empty") << ""
                           << "1A" << QList<int>{0, 0, 0, 0, 0} << typo.arg("", "1A");
    QTest::newRow("two addresses") << "7C;8D"
                                   << "1D" << QList<int>{0, 0, 0, 2, 0} << typo.arg("7C;8D", "1D");
    QTest::newRow("zero") << "0A"
                          << "1A" << QList<int>{0, 0, 0, 0, 0} << typo.arg("0A", "1A");
}

void TestWindow::addressToSwitches()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QList<int>, rows);
    QFETCH(QString, warning);

    window->strEdit->setText(typed);
    MessageBoxCatcher catcher;
    QTest::keyClick(window->strEdit, Qt::Key_Return);
    QCOMPARE(window->strEdit->text(), shown);
    QCOMPARE(knobRows(), rows);
    QCOMPARE(catcher.boxes.size(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty())
        QVERIFY2(catcher.boxes[0].icon == QMessageBox::Warning && catcher.boxes[0].text.startsWith(warning),
                 qPrintable(catcher.boxes[0].text));
}

void TestWindow::switchesAndNamesLinked()
{
    // The panel follows "Adresse->Schalter" in the tab order.
    window->rechnen->setFocus();
    QTest::keyClick(window->rechnen, Qt::Key_Tab);
    QVERIFY(window->arLabel->hasFocus());
    // A click on a row, then the arrow key, show that row's address in the entry and on the panel.
    QTableWidget *table = window->adrTable;
    window->viewTable->setChecked(true);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier,
                      table->visualItemRect(table->item(14, 1)).center());
    QCOMPARE(window->strEdit->text(), QStringLiteral("3B"));
    QCOMPARE(knobRows(), (QList<int>{0, 0, 1, 0, 2}));
    QTest::keyClick(table, Qt::Key_Down);
    QCOMPARE(window->strEdit->text(), QStringLiteral("4B"));

    // Switches set on the panel and read back select their row, so its name shows.
    QTest::mouseClick(window->arLabel, Qt::LeftButton, Qt::NoModifier, {85, 60}); // switch 3 to the bottom: 4E
    QCOMPARE(window->strEdit->text(), QStringLiteral("4B"));
    QTest::keyClick(window->arLabel, Qt::Key_Return);
    QCOMPARE(window->strEdit->text(), QStringLiteral("4E"));
    QCOMPARE(table->currentRow(), 4 * 12 + 3);
}

void TestWindow::renderDebugLines_data()
{
    QTest::addColumn<Names>("names");
    QTest::addColumn<QStringList>("nameLines");

    QTest::newRow("no name") << Names{} << QStringList{};
    QTest::newRow("format characters and umlauts")
        << Names{{0, QStringLiteral("%s %n 100% Grüße")}, {14, QStringLiteral("Weiche 4")}}
        << QStringList{"Adr: 1A  Name: %s %n 100% Grüße", "Adr: 3B  Name: Weiche 4"};
    QTest::newRow("erased name") << Names{{4, QString()}} << QStringList{"Adr: 5A  Name: "};
}

void TestWindow::renderDebugLines()
{
    QFETCH(Names, names);
    QFETCH(QStringList, nameLines);

    window->viewTable->setChecked(true);
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        typeName(it.key(), QStringLiteral("weg"));
        typeName(it.key(), it.value());
    }
    const QString panelAddress = window->arLabel->getStrAdr();
    window->strEdit->setText(QStringLiteral("b7"));

    MessageBoxCatcher catcher;
    DebugCapture capture;
    QTest::mouseClick(window->table, Qt::LeftButton);
    const QStringList steps{"arLabel->adrNames = hash;", "arLabel->startTableRender();",
                            "strEdit->setText(arLabel->getStrAdr()); ",
                            "arLabel->setStrAdr(strEdit->text().toUpper());", "fertig"};
    QCOMPARE(capture.lines(), nameLines + steps);
    QCOMPARE(window->arLabel->adrNames.size(), names.size());
    // The entry was refreshed from the panel, which had not applied "b7".
    QCOMPARE(window->strEdit->text(), panelAddress);
}

void TestWindow::renderKeepsPanelAndReports_data()
{
    QTest::addColumn<bool>("writable");
    QTest::newRow("written") << true;
    QTest::newRow("read-only folder keeps the older file") << false;
}

void TestWindow::renderKeepsPanelAndReports()
{
    QFETCH(bool, writable);
    QVERIFY(Files::write(pdfPath(), "old table"));
    window->strEdit->setText(QStringLiteral("c7"));
    QTest::mouseClick(window->rechnen, Qt::LeftButton);
    MessageBoxCatcher catcher;
    {
        std::optional<Files::ReadOnlyDir> readOnly;
        if (!writable)
            readOnly.emplace(workDir.path());
        // Two requests before the paint make one render.
        window->arLabel->startTableRender();
        QTest::mouseClick(window->table, Qt::LeftButton);
        QTRY_COMPARE(catcher.boxes.size(), 1);
    }
    QTest::qWait(50);
    QCOMPARE(catcher.boxes.size(), 1);
    const MessageBoxCatcher::Box &box = catcher.boxes[0];
    QCOMPARE(box.title, QStringLiteral("Tabelle rendern"));
    if (writable) {
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.text, QStringLiteral("Tabelle wurde erfolgreich gerendert und gespeichert."));
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(Files::read(pdfPath()).startsWith("%PDF"));
    } else {
        QCOMPARE(box.icon, QMessageBox::Warning);
        QVERIFY(box.text.contains(QStringLiteral("konnte nicht gespeichert werden")));
        QVERIFY(box.text.contains(QDir::toNativeSeparators(pdfPath())));
        QCOMPARE(Files::read(pdfPath()), QByteArray("old table"));
    }
    QCOMPARE(QDir(workDir.path()).entryList(QDir::Files), QStringList{"Dippschalter.pdf"});
    // The panel shows the entry's address again, not the last cell drawn.
    QCOMPARE(window->strEdit->text(), QStringLiteral("7C"));
    QCOMPARE(knobRows(), (QList<int>{0, 1, 0, 0, 1}));
}

void TestWindow::openTable_data()
{
    QTest::addColumn<bool>("exists");
    QTest::newRow("rendered") << true;
    QTest::newRow("not rendered yet") << false;
}

void TestWindow::openTable()
{
    QFETCH(bool, exists);
    if (exists)
        QVERIFY(Files::write(pdfPath(), "%PDF"));
    openedUrls.clear();
    MessageBoxCatcher catcher;
    QTest::mouseClick(window->table_2, Qt::LeftButton);
    QCOMPARE(openedUrls, exists ? QList<QUrl>{QUrl::fromLocalFile(pdfPath())} : QList<QUrl>{});
    QCOMPARE(catcher.boxes.size(), exists ? 0 : 1);
    if (!exists)
        QVERIFY(catcher.boxes[0].text.contains(QDir::toNativeSeparators(pdfPath())));
}

void TestWindow::loadNames_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<Names>("names");
    QTest::addColumn<QString>("warning");

    QTest::newRow("replaces the typed names") << QByteArray("Adresse;Name\r\nA1;Ölpumpe\r\n12h;\"Tor; Süd\"\r\n")
                                              << Names{{0, "Ölpumpe"}, {95, "Tor; Süd"}, {2, "<none>"}} << "";
    QTest::newRow("a bad line leaves the table") << QByteArray("Adresse;Name\n1A;neu\n13A;falsch\n")
                                                 << Names{{0, "<none>"}, {2, "alt"}} << "Zeile 3: Die Adresse „13A“";
}

void TestWindow::loadNames()
{
    QFETCH(QByteArray, contents);
    QFETCH(Names, names);
    QFETCH(QString, warning);

    typeName(2, QStringLiteral("alt"));
    const QString path = workDir.filePath(QStringLiteral("namen.csv"));
    QVERIFY(Files::write(path, contents));
    MessageBoxCatcher catcher;
    QCOMPARE(window->findChild<NamesTableTools *>()->loadNames(path), warning.isEmpty());
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        QCOMPARE(nameAt(it.key()), it.value());
    QCOMPARE(window->viewTable->isChecked(), warning.isEmpty());
    QCOMPARE(catcher.boxes.size(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty())
        QVERIFY2(catcher.boxes[0].text.contains(warning), qPrintable(catcher.boxes[0].text));
}

void TestWindow::saveWritesTypedNames()
{
    typeName(14, QStringLiteral("Weiche 4"));
    typeName(20, QStringLiteral("weg"));
    typeName(20, QString());
    const QString path = workDir.filePath(QStringLiteral("gespeichert.csv"));
    QVERIFY(window->findChild<NamesTableTools *>()->saveNames(path));
    QCOMPARE(Files::read(path), QByteArray("\xEF\xBB\xBF"
                                           "Adresse;Name\r\n3B;Weiche 4\r\n"));
}

void TestWindow::paste_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QStringList>("names"); // rows 93 to 95 afterwards

    QTest::newRow("spreadsheet rows") << "Signal\r\nTor\tx\nzu viel\n" << QStringList{"alt", "Signal", "Tor"};
    QTest::newRow("trailing line end") << "Signal\n" << QStringList{"alt", "Signal", "alt"};
    QTest::newRow("empty") << "" << QStringList{"alt", "alt", "alt"};
    QTest::newRow("only line ends and blanks") << "\r\n \n\t\n" << QStringList{"alt", "alt", "alt"};
}

void TestWindow::paste()
{
    QFETCH(QString, clipboard);
    QFETCH(QStringList, names);

    for (int row = 93; row < 96; ++row)
        typeName(row, QStringLiteral("alt"));
    window->adrTable->setCurrentCell(94, 0);
    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keyClick(window->adrTable, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE((QStringList{nameAt(93), nameAt(94), nameAt(95)}), names);
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"

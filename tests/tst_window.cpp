#include "address/namedaddresses.h"
#include "mainwindow/appsetup.h"
#include "mainwindow/namestable.h"
#include "mainwindow/veskar.h"
#include "panel/arlabel.h"
#include "support/debugcapture.h"
#include "support/files.h"
#include "support/messageboxcatcher.h"
#include "support/switchpixels.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using RowNames = QHash<int, QString>;

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
    void badListLeavesNames();
    void saveWritesTypedNames();
    void paste_data();
    void paste();
    void spreadsheetKeys();
    void undoRedo_data();
    void undoRedo();
    void damagedStoreSetAside();
    void failedStoreWarnsOnce();
    void propertyRun();
    void germanQtTextsAndWindowSize();
    void fitMarks();

private:
    void typeName(int row, const QString &name);
    QString nameAt(int row) const;
    QList<int> knobRows() const;
    NamesTable *names() const { return window->findChild<NamesTable *>(); }
    static Names shownNames(const QTableWidget *table);
    void focusTable();
    void loadLongNames();
    QString pdfPath() const { return QDir(workDir.path()).filePath(QStringLiteral("Dippschalter.pdf")); }

    QTemporaryDir workDir;
    MessageBoxCatcher catcher; // closes every message box, so none can hang a test
    std::unique_ptr<VeskAr> window;
    QList<QUrl> openedUrls;
};

void TestWindow::initTestCase()
{
    // The names and the window's place are kept here, not in the user's folders.
    qputenv("XDG_DATA_HOME", workDir.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", workDir.filePath(QStringLiteral("config")).toUtf8());
    QVERIFY(QDir::setCurrent(workDir.path()));
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
}

void TestWindow::init()
{
    catcher.boxes.clear();
    window = std::make_unique<VeskAr>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestWindow::cleanup()
{
    // A test takes the messages it expects; any other is a surprise.
    QTest::qWait(20);
    QVERIFY2(catcher.boxes.isEmpty(), qPrintable(catcher.boxes.value(0).text));
    window.reset();
    QFile::remove(pdfPath());
    QDir(workDir.filePath(QStringLiteral("data"))).removeRecursively();
    QDir(workDir.filePath(QStringLiteral("config"))).removeRecursively();
}

void TestWindow::typeName(int row, const QString &name)
{
    window->adrTable->setCurrentCell(row, 0);
    QTest::keyClick(window->adrTable, Qt::Key_F2);
    auto *editor = window->adrTable->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->setText(name);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(nameAt(row), name); // the delegate commits after the key
    // Enter moves on to the next row, as in a spreadsheet.
    QCOMPARE(window->adrTable->currentRow(), std::min(row + 1, 95));
}

Names TestWindow::shownNames(const QTableWidget *table)
{
    Names names;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (const QTableWidgetItem *item = table->item(row, 0))
            names.insert(table->item(row, 1)->text(), item->text());
    }
    return names;
}

void TestWindow::focusTable()
{
    window->viewTable->setChecked(true);
    window->activateWindow();
    window->adrTable->setFocus();
    QTRY_VERIFY(window->adrTable->hasFocus());
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
    // clang-format off
    QTest::newRow("c7") << "c7" << "7C" << QList<int>{0, 1, 0, 0, 1} << "";
    QTest::newRow("blanks") << " 12 b " << "12B" << QList<int>{2, 0, 1, 0, 2} << "";
    QTest::newRow("A07") << "A07" << "7A" << QList<int>{0, 1, 0, 0, 0} << "";
    // Positions of 3 and more are drawn in the top row.
    QTest::newRow("letter K") << "5k" << "5K" << QList<int>{0, 2, 2, 0, 2} << unsettable.arg("5K");
    QTest::newRow("number 28") << "28a" << "28A" << QList<int>{0, 0, 0, 0, 0} << unsettable.arg("28A");
    QTest::newRow("letter O") << "1O" << "1A" << QList<int>{0, 0, 0, 0, 0} << typo.arg("1O", "1A");
    QTest::newRow("xyz") << "xyz" << "1A" << QList<int>{0, 0, 0, 0, 0} << typo.arg("xyz", "1A");
    QTest::newRow("empty") << "" << "1A" << QList<int>{0, 0, 0, 0, 0} << typo.arg("", "1A");
    QTest::newRow("two addresses") << "7C;8D" << "1D" << QList<int>{0, 0, 0, 2, 0} << typo.arg("7C;8D", "1D");
    QTest::newRow("zero") << "0A" << "1A" << QList<int>{0, 0, 0, 0, 0} << typo.arg("0A", "1A");
    // clang-format on
}

void TestWindow::addressToSwitches()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QList<int>, rows);
    QFETCH(QString, warning);

    window->strEdit->setText(typed);
    QTest::keyClick(window->strEdit, Qt::Key_Return);
    QCOMPARE(window->strEdit->text(), shown);
    QCOMPARE(knobRows(), rows);
    QCOMPARE(catcher.boxes.size(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty())
        QVERIFY2(catcher.boxes[0].icon == QMessageBox::Warning && catcher.boxes[0].text.startsWith(warning),
                 qPrintable(catcher.boxes[0].text));
    catcher.boxes.clear();
}

void TestWindow::switchesAndNamesLinked()
{
    // The panel follows "Adresse->Schalter" in the tab order.
    window->rechnen->setFocus();
    QTest::keyClick(window->rechnen, Qt::Key_Tab);
    QVERIFY(window->arLabel->hasFocus());
    // An applied address selects its row, so the table, entered, keeps the address.
    window->strEdit->setText(QStringLiteral("c7"));
    QTest::keyClick(window->strEdit, Qt::Key_Return);
    focusTable();
    QCOMPARE(window->adrTable->currentRow(), 2 * 12 + 6);
    QCOMPARE(window->strEdit->text(), QStringLiteral("7C"));
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
    QTest::addColumn<RowNames>("names");
    QTest::addColumn<QStringList>("nameLines");

    QTest::newRow("no name") << RowNames{} << QStringList{};
    QTest::newRow("format characters and umlauts")
        << RowNames{{0, QStringLiteral("%s %n 100% Grüße")}, {14, QStringLiteral("Weiche 4")}}
        << QStringList{"Adr: 1A  Name: %s %n 100% Grüße", "Adr: 3B  Name: Weiche 4"};
    QTest::newRow("erased name") << RowNames{{4, QString()}} << QStringList{"Adr: 5A  Name: "};
}

void TestWindow::renderDebugLines()
{
    QFETCH(RowNames, names);
    QFETCH(QStringList, nameLines);

    window->viewTable->setChecked(true);
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        typeName(it.key(), QStringLiteral("weg"));
        typeName(it.key(), it.value());
    }
    const QString panelAddress = window->arLabel->getStrAdr();
    window->strEdit->setText(QStringLiteral("b7"));

    DebugCapture capture;
    QTest::mouseClick(window->table, Qt::LeftButton);
    const QStringList steps{"arLabel->adrNames = hash;", "arLabel->startTableRender();",
                            "strEdit->setText(arLabel->getStrAdr()); ",
                            "arLabel->setStrAdr(strEdit->text().toUpper());", "fertig"};
    QCOMPARE(capture.lines(), nameLines + steps);
    QTRY_COMPARE(catcher.boxes.size(), 1); // the render's own message
    catcher.boxes.clear();
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
    loadLongNames();
    window->strEdit->setText(QStringLiteral("c7"));
    QTest::mouseClick(window->rechnen, Qt::LeftButton);
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
        QCOMPARE(box.informativeText, QStringLiteral("Datei: %1\n"
                                                     "Kleiner gedruckt, damit sie ins Feld passen: 3B\n"
                                                     "Gekürzt gedruckt, zu lang für das Feld: 5C")
                                          .arg(QDir::toNativeSeparators(pdfPath())));
        QVERIFY(Files::read(pdfPath()).startsWith("%PDF"));
    } else {
        QCOMPARE(box.icon, QMessageBox::Warning);
        QVERIFY(box.text.contains(QStringLiteral("konnte nicht gespeichert werden")));
        QVERIFY(box.text.contains(QDir::toNativeSeparators(pdfPath())));
        QCOMPARE(Files::read(pdfPath()), QByteArray("old table"));
    }
    QCOMPARE(QDir(workDir.path()).entryList({QStringLiteral("Dippschalter*")}, QDir::Files),
             QStringList{"Dippschalter.pdf"});
    // The panel shows the entry's address again, not the last cell drawn.
    QCOMPARE(window->strEdit->text(), QStringLiteral("7C"));
    QCOMPARE(knobRows(), (QList<int>{0, 1, 0, 0, 1}));
    catcher.boxes.clear();
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
    QTest::mouseClick(window->table_2, Qt::LeftButton);
    QCOMPARE(openedUrls, exists ? QList<QUrl>{QUrl::fromLocalFile(pdfPath())} : QList<QUrl>{});
    QCOMPARE(catcher.boxes.size(), exists ? 0 : 1);
    if (!exists)
        QVERIFY(catcher.boxes[0].text.contains(QDir::toNativeSeparators(pdfPath())));
    catcher.boxes.clear();
}

void TestWindow::badListLeavesNames()
{
    typeName(2, QStringLiteral("alt"));
    const QString path = workDir.filePath(QStringLiteral("falsch.csv"));
    QVERIFY(Files::write(path, "Adresse;Name\n1A;neu\n13A;falsch\n"));
    QVERIFY(!names()->loadNames(path));
    QCOMPARE(shownNames(window->adrTable), (Names{{"3A", "alt"}}));
    QCOMPARE(catcher.boxes.size(), 1);
    QVERIFY2(catcher.boxes[0].text.contains(QStringLiteral("Zeile 3: Die Adresse „13A“")),
             qPrintable(catcher.boxes[0].text));
    catcher.boxes.clear();
}

void TestWindow::saveWritesTypedNames()
{
    typeName(14, QStringLiteral("Weiche 4"));
    typeName(20, QStringLiteral("weg"));
    typeName(20, QString());
    const QString path = workDir.filePath(QStringLiteral("gespeichert.csv"));
    QVERIFY(window->findChild<NamesTable *>()->saveNames(path));
    QCOMPARE(Files::read(path), QByteArray("\xEF\xBB\xBF"
                                           "Adresse;Name\r\n3B;Weiche 4\r\n"));
}

void TestWindow::paste_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QStringList>("names"); // rows 93 to 95 afterwards
    QTest::addColumn<QString>("told");

    QTest::newRow("past the last row") << "Signal\r\nTor\tx\nzu\nviel\n"
                                       << QStringList{"alt", "Signal", "Tor"}
                                       << "Die Tabelle endet bei 12H: 2 der eingefügten Zeilen fanden keinen Platz";
    QTest::newRow("trailing line end") << "Signal\n" << QStringList{"alt", "Signal", "alt"} << "";
    QTest::newRow("empty") << "" << QStringList{"alt", "alt", "alt"} << "";
    QTest::newRow("only line ends and blanks") << "\r\n \n\t\n" << QStringList{"alt", "alt", "alt"} << "";
}

void TestWindow::paste()
{
    QFETCH(QString, clipboard);
    QFETCH(QStringList, names);
    QFETCH(QString, told);

    for (int row = 93; row < 96; ++row)
        typeName(row, QStringLiteral("alt"));
    window->adrTable->setCurrentCell(94, 0);
    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keyClick(window->adrTable, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE((QStringList{nameAt(93), nameAt(94), nameAt(95)}), names);
    QCOMPARE(catcher.boxes.size(), told.isEmpty() ? 0 : 1);
    if (!told.isEmpty())
        QVERIFY2(catcher.boxes[0].text.startsWith(told), qPrintable(catcher.boxes[0].text));
    catcher.boxes.clear();
}

void TestWindow::spreadsheetKeys()
{
    typeName(3, QStringLiteral("drei"));
    typeName(4, QStringLiteral("vier"));
    focusTable();
    // Selected bottom up, copied top down.
    window->adrTable->setRangeSelected(QTableWidgetSelectionRange(4, 0, 4, 0), true);
    window->adrTable->setRangeSelected(QTableWidgetSelectionRange(3, 0, 3, 0), true);
    QTest::keyClick(window->adrTable, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("drei\nvier"));
    QTest::keyClick(window->adrTable, Qt::Key_Delete);
    QCOMPARE(names()->names(), Names{});

    // Tab leaves the table, also from an open editor, which it commits; Shift+Tab goes back.
    window->adrTable->setCurrentCell(7, 0);
    QTest::keyClick(window->adrTable, Qt::Key_F2);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("acht"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_VERIFY(window->table->hasFocus());
    QCOMPARE(nameAt(7), QStringLiteral("acht"));
    focusTable();
    QTest::keyClick(window->adrTable, Qt::Key_Backtab);
    QTRY_VERIFY(window->rechnen_2->hasFocus());
}

void TestWindow::undoRedo_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("paste") << "paste";
    QTest::newRow("load") << "load";
    QTest::newRow("clear") << "clear";
}

void TestWindow::undoRedo()
{
    QFETCH(QString, change);
    typeName(0, QStringLiteral("eins"));
    typeName(1, QStringLiteral("zwei"));
    const Names before = names()->names();
    focusTable();
    if (change == u"paste") {
        window->adrTable->setCurrentCell(1, 0);
        QGuiApplication::clipboard()->setText(QStringLiteral("neu\ndrei"));
        QTest::keyClick(window->adrTable, Qt::Key_V, Qt::ControlModifier);
    } else if (change == u"load") {
        QVERIFY(Files::write(workDir.filePath(QStringLiteral("l.csv")), "Adresse;Name\n5C;fünf\n"));
        QVERIFY(names()->loadNames(workDir.filePath(QStringLiteral("l.csv"))));
        QVERIFY(window->viewTable->isChecked());
    } else {
        names()->clearNames();
    }
    const Names after = names()->names();
    QVERIFY(after != before);
    QTest::keyClick(window->adrTable, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(shownNames(window->adrTable), before);
    QTest::keyClick(window->adrTable, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(shownNames(window->adrTable), after);
    names()->undoStack()->undo();
    QTest::keyClick(window->adrTable, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(shownNames(window->adrTable), after);
}

void TestWindow::damagedStoreSetAside()
{
    window.reset();
    const QString store = NamesStore::defaultPath();
    const QByteArray damaged("Adresse;Name\n99Z;kaputt\n");
    QVERIFY(QDir().mkpath(QFileInfo(store).absolutePath()) && Files::write(store, damaged));
    window = std::make_unique<VeskAr>();
    window->show();
    QTRY_COMPARE(catcher.boxes.size(), 1);
    const QFileInfoList aside = QFileInfo(store).dir().entryInfoList({QStringLiteral("namen.csv.defekt-*")});
    QCOMPARE(aside.size(), 1);
    QVERIFY2(catcher.boxes[0].text.contains(QDir::toNativeSeparators(aside[0].filePath()))
                 && catcher.boxes[0].text.contains(QStringLiteral("Zeile 2")),
             qPrintable(catcher.boxes[0].text));
    QCOMPARE(shownNames(window->adrTable), Names{});
    typeName(0, QStringLiteral("neu"));
    QCOMPARE(Files::read(aside[0].filePath()), damaged);
    QCOMPARE(NamesStore::load(store).names, (Names{{"1A", "neu"}}));
    catcher.boxes.clear();
}

void TestWindow::failedStoreWarnsOnce()
{
    typeName(0, QStringLiteral("eins"));
    {
        Files::ReadOnlyDir readOnly(QFileInfo(NamesStore::defaultPath()).absolutePath());
        typeName(1, QStringLiteral("zwei"));
        typeName(2, QStringLiteral("drei"));
        QTRY_COMPARE(catcher.boxes.size(), 1);
    }
    QVERIFY(catcher.boxes[0].text.contains(QStringLiteral("konnten nicht in")));
    QCOMPARE(names()->names().size(), 3);
    QTest::qWait(20);
    QCOMPARE(catcher.boxes.size(), 1);
    catcher.boxes.clear();
}

void TestWindow::propertyRun()
{
    QRandomGenerator random(20261207);
    const QString letters = QStringLiteral("ab ;\"€ä\n");
    const auto text = [&] {
        QString name;
        for (int n = random.bounded(4); n > 0; --n)
            name += letters.at(random.bounded(letters.size()));
        return name;
    };
    const QString list = workDir.filePath(QStringLiteral("liste.csv"));
    for (int step = 0; step < 150; ++step) {
        QTableWidget *table = window->adrTable;
        table->setCurrentCell(random.bounded(96), 0);
        switch (random.bounded(8)) {
        case 0:
            table->model()->setData(table->model()->index(table->currentRow(), 0), text());
            break;
        case 1:
            names()->pasteNames(text() + u'\n' + text());
            break;
        case 2:
            QCOMPARE(NamesCsv::writeFile(list, {{NamedAddresses::keyOfRow(random.bounded(96)), text()}}).kind,
                     NamesCsv::ErrorKind::None);
            QVERIFY(names()->loadNames(list));
            break;
        case 3:
            names()->clearNames();
            break;
        case 4:
            names()->clearSelectedNames();
            break;
        case 5:
            names()->undoStack()->undo();
            break;
        case 6:
            names()->undoStack()->redo();
            break;
        default:
            window.reset();
            window = std::make_unique<VeskAr>();
        }
        const Names shown = shownNames(window->adrTable);
        QCOMPARE(NamesStore::load(NamesStore::defaultPath()).names, shown);
        QCOMPARE(shownNames(VeskAr().adrTable), shown);
    }
    catcher.boxes.clear();
}

void TestWindow::germanQtTextsAndWindowSize()
{
    AppSetup::apply();
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));

    // On first start the names table, once shown, shows twelve rows or more.
    window->viewTable->setChecked(true);
    QTRY_VERIFY(window->adrTable->rowAt(window->adrTable->viewport()->height() - 1) >= 11);
    window->resize(window->width() + 40, window->height() + 30);
    const QSize size = window->size();
    window->close();
    window = std::make_unique<VeskAr>();
    QCOMPARE(window->size(), size);
}

void TestWindow::loadLongNames()
{
    const QString list = workDir.filePath(QStringLiteral("lang.csv"));
    QVERIFY(Files::write(list, "Adresse;Name\n1A;Weiche\n3B;Weichenantrieb Straßenbeleuchtung Einfahrt\n5C;"
                                   + QByteArray("Ab").repeated(150)));
    QVERIFY(names()->loadNames(list));
}

void TestWindow::fitMarks()
{
    loadLongNames();
    const QString smaller = QStringLiteral("Wird verkleinert gedruckt");
    const QString shortened = QStringLiteral("Wird gekürzt gedruckt: zu lang für das Feld");
    QTableWidget *table = window->adrTable;
    QCOMPARE((QStringList{table->item(0, 0)->toolTip(), table->item(14, 0)->toolTip(), table->item(28, 0)->toolTip()}),
             (QStringList{"", smaller, shortened}));
    QCOMPARE(table->item(0, 0)->foreground(), QBrush());
    QVERIFY(table->item(28, 0)->foreground() != table->item(14, 0)->foreground());

    // While the user types, before the name is committed.
    table->setCurrentCell(1, 0);
    QTest::keyClick(table, Qt::Key_F2);
    auto *editor = table->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("Weichenantrieb"));
    QCOMPARE(editor->toolTip(), smaller);
    QCOMPARE(editor->palette().color(QPalette::Text), table->item(14, 0)->foreground().color());
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(table->item(1, 0) != nullptr && table->item(1, 0)->toolTip() == smaller);
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"

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
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using Names = QHash<int, QString>;
Q_DECLARE_METATYPE(Names)

class TestVeskAr : public QObject
{
    Q_OBJECT

public slots:
    void openUrl(const QUrl &url) { openedUrls.append(url); }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void formTexts_data();
    void formTexts();
    void styleSheetColoursEntry();
    void startState();
    void namesTableRows();
    void panelStandsAboveReadBackButton();
    void addressToSwitches_data();
    void addressToSwitches();
    void draggedSwitchIsReadBack();
    void renderDebugLines_data();
    void renderDebugLines();
    void renderKeepsPanelOnEntryAddress();
    void openTableWithoutFileWarns();
    void openTableOpensRenderedFile();
    void contextMenuOffersNamesFiles();
    void loadFillsTable();
    void badFileLeavesTable();
    void saveWritesTypedNames();
    void pasteFillsRows();

private:
    void typeName(int row, const QString &name);
    QString nameAt(int row) const;
    NamesTableTools *tools() const { return window->findChild<NamesTableTools *>(); }
    QString writeNamesFile(const QByteArray &contents);
    QList<int> knobRows();

    QTemporaryDir workDir;
    QString previousDir;
    std::unique_ptr<VeskAr> window;
    QList<QUrl> openedUrls;
};

void TestVeskAr::initTestCase()
{
    QVERIFY(workDir.isValid());
    previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(workDir.path()));
}

void TestVeskAr::cleanupTestCase()
{
    QDir::setCurrent(previousDir);
}

void TestVeskAr::init()
{
    window = std::make_unique<VeskAr>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestVeskAr::cleanup()
{
    window.reset();
    QFile::remove(QDir(workDir.path()).filePath(QStringLiteral("Dippschalter.pdf")));
}

void TestVeskAr::formTexts_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QString>("text");

    QTest::newRow("window") << "veskar" << QByteArray("windowTitle") << "VESK Adressen Rechner";
    QTest::newRow("check box") << "viewTable" << QByteArray("text") << "Namen in Tabelle eintragen";
    QTest::newRow("address box") << "groupBox" << QByteArray("title") << "VESK Bus Adresse";
    QTest::newRow("to switches") << "rechnen" << QByteArray("text") << "Adresse->Schalter";
    QTest::newRow("switch box") << "groupBox_2" << QByteArray("title") << "Dippschalter";
    QTest::newRow("to name") << "rechnen_2" << QByteArray("text") << "Schalter->Name";
    QTest::newRow("label") << "label" << QByteArray("text") << "Dippschaltertabelle erstellen";
    QTest::newRow("render") << "table" << QByteArray("text") << "Tabelle rendern";
    QTest::newRow("open") << "table_2" << QByteArray("text") << "Tabelle öffnen";
}

void TestVeskAr::formTexts()
{
    QFETCH(QString, objectName);
    QFETCH(QByteArray, property);
    QFETCH(QString, text);

    QWidget *widget = window->objectName() == objectName ? window.get() : window->findChild<QWidget *>(objectName);
    QVERIFY(widget);
    QCOMPARE(widget->property(property.constData()).toString(), text);
}

void TestVeskAr::styleSheetColoursEntry()
{
    QCOMPARE(window->styleSheet().size(), 386);
    QCOMPARE(window->styleSheet().count(QLatin1Char('\t')), 4);

    // The entry's background runs from #D0D0D0 at the top to white at the bottom.
    const QImage entry = window->strEdit->grab().toImage();
    const int x = entry.width() - 4;
    const QColor top = entry.pixelColor(x, 3);
    const QColor bottom = entry.pixelColor(x, entry.height() - 4);
    QVERIFY2(qAbs(top.red() - 0xD0) < 16 && top.red() == top.blue(), qPrintable(top.name()));
    QVERIFY2(bottom.red() > 0xF0, qPrintable(bottom.name()));
}

void TestVeskAr::startState()
{
    QCOMPARE(window->strEdit->text(), QStringLiteral("1A"));
    QVERIFY(!window->viewTable->isChecked());
    QVERIFY(!window->adrTable->isVisible());
    const QPoint box(8, window->viewTable->height() / 2);
    QTest::mouseClick(window->viewTable, Qt::LeftButton, Qt::NoModifier, box);
    QVERIFY(window->adrTable->isVisible());
    QTest::mouseClick(window->viewTable, Qt::LeftButton, Qt::NoModifier, box);
    QVERIFY(!window->adrTable->isVisible());
}

void TestVeskAr::namesTableRows()
{
    QTableWidget *table = window->adrTable;
    QCOMPARE(table->columnCount(), 2);
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("Name"));
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("VESK Adresse"));
    QCOMPARE(table->rowCount(), 96);
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("1A"));
    QCOMPARE(table->item(14, 1)->text(), QStringLiteral("3B"));
    QCOMPARE(table->item(95, 1)->text(), QStringLiteral("12H"));
    QSet<QString> addresses;
    for (int row = 0; row < 96; ++row) {
        QVERIFY(!table->item(row, 0));
        QCOMPARE(table->item(row, 1)->flags(), Qt::ItemFlags(Qt::ItemIsEnabled));
        addresses.insert(table->item(row, 1)->text());
    }
    QCOMPARE(addresses.size(), 96);
}

void TestVeskAr::panelStandsAboveReadBackButton()
{
    ArLabel *panel = window->arLabel;
    QCOMPARE(panel->parentWidget(), window->groupBox_2);
    QCOMPARE(window->verticalLayout_2->indexOf(panel), 0);
    QCOMPARE(window->verticalLayout_2->indexOf(window->rechnen_2), 1);
    QCOMPARE(panel->size(), QSize(130, 83));
    QVERIFY(panel->geometry().bottom() < window->rechnen_2->geometry().top());
}

QList<int> TestVeskAr::knobRows()
{
    const QImage image = window->arLabel->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QList<int> rows;
    for (int index = 0; index < 5; ++index)
        rows.append((SwitchPixels::knobTop(image, index) - 15) / 20);
    return rows;
}

void TestVeskAr::addressToSwitches_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<bool>("warns");

    // Rows: 0 top (position 0), 1 middle (position 2), 2 bottom (position 1).
    // One case a line; clang-format would split the rows between their strings.
    // clang-format off
    QTest::newRow("c7") << "c7" << "7C" << QList<int>{0, 1, 0, 0, 1} << false;
    QTest::newRow("blanks") << " 12 b " << "12B" << QList<int>{2, 0, 1, 0, 2} << false;
    QTest::newRow("27i") << "i27" << "27I" << QList<int>{1, 1, 1, 1, 1} << false;
    QTest::newRow("no number") << "h" << "1H" << QList<int>{0, 0, 0, 1, 2} << false;
    // Positions of 3 and more cannot be set: drawn in the top row, and the user is warned.
    QTest::newRow("letter K") << "5k" << "5K" << QList<int>{0, 2, 2, 0, 2} << true;
    QTest::newRow("number 28") << "28a" << "28A" << QList<int>{0, 0, 0, 0, 0} << true;
    // clang-format on
}

void TestVeskAr::addressToSwitches()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QList<int>, rows);
    QFETCH(bool, warns);

    window->strEdit->clear();
    QTest::keyClicks(window->strEdit, typed);
    MessageBoxCatcher catcher;
    QTest::mouseClick(window->rechnen, Qt::LeftButton);
    QCOMPARE(window->strEdit->text(), shown);
    QCOMPARE(knobRows(), rows);
    QCOMPARE(catcher.boxes.size(), warns ? 1 : 0);
    if (warns)
        QVERIFY(catcher.boxes[0].icon == QMessageBox::Warning && catcher.boxes[0].text.contains(shown));
}

void TestVeskAr::draggedSwitchIsReadBack()
{
    QTest::mousePress(window->arLabel, Qt::LeftButton, Qt::NoModifier, {80, 20});
    QTest::mouseMove(window->arLabel, {80, 70});
    QTest::mouseRelease(window->arLabel, Qt::LeftButton, Qt::NoModifier, {80, 70});
    QCOMPARE(window->strEdit->text(), QStringLiteral("1A"));
    QTest::mouseClick(window->rechnen_2, Qt::LeftButton);
    QCOMPARE(window->strEdit->text(), QStringLiteral("1D"));
    QCOMPARE(knobRows(), (QList<int>{0, 0, 0, 2, 0}));
}

void TestVeskAr::typeName(int row, const QString &name)
{
    QTableWidget *table = window->adrTable;
    table->setCurrentCell(row, 0);
    QTest::keyClick(table, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    // keyClicks() knows ASCII only; other characters go in as key events carrying their text.
    for (const QChar c : name)
        QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::keyClick(editor, Qt::Key_Return);
}

void TestVeskAr::renderDebugLines_data()
{
    QTest::addColumn<Names>("names");
    QTest::addColumn<QStringList>("nameLines");

    QTest::newRow("no name") << Names{} << QStringList{};
    QTest::newRow("3B") << Names{{14, QStringLiteral("Weiche 4")}} << QStringList{"Adr: 3B  Name: Weiche 4"};
    QTest::newRow("format characters and umlauts")
        << Names{{0, QStringLiteral("%s %n 100% Grüße")}, {95, QStringLiteral("Ölpumpe Süd ß")}}
        << QStringList{"Adr: 1A  Name: %s %n 100% Grüße", "Adr: 12H  Name: Ölpumpe Süd ß"};
    QTest::newRow("erased name") << Names{{4, QString()}} << QStringList{"Adr: 5A  Name: "};
}

void TestVeskAr::renderDebugLines()
{
    QFETCH(Names, names);
    QFETCH(QStringList, nameLines);

    window->viewTable->setChecked(true);
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        typeName(it.key(), it.value().isEmpty() ? QStringLiteral("weg") : it.value());
        if (it.value().isEmpty())
            typeName(it.key(), QString());
    }
    window->strEdit->setText(QStringLiteral("b7"));

    MessageBoxCatcher catcher;
    DebugCapture capture;
    QTest::mouseClick(window->table, Qt::LeftButton);

    const QStringList expected = nameLines
                                 + QStringList{"arLabel->adrNames = hash;", "arLabel->startTableRender();",
                                               "strEdit->setText(arLabel->getStrAdr()); ",
                                               "arLabel->setStrAdr(strEdit->text().toUpper());", "fertig"};
    QCOMPARE(capture.lines(), expected);
    QTRY_COMPARE(catcher.boxes.size(), 1);
    QCOMPARE(catcher.boxes[0].icon, QMessageBox::Information);
    QCOMPARE(window->arLabel->adrNames.size(), names.size());
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        QCOMPARE(window->arLabel->adrNames.value(window->adrTable->item(it.key(), 1)->text(), "-"), it.value());
    // The entry was refreshed from the panel, which had not applied "b7" yet.
    QCOMPARE(window->strEdit->text(), QStringLiteral("1A"));
}

void TestVeskAr::renderKeepsPanelOnEntryAddress()
{
    window->strEdit->clear();
    QTest::keyClicks(window->strEdit, QStringLiteral("c7"));
    QTest::mouseClick(window->rechnen, Qt::LeftButton);
    MessageBoxCatcher catcher;
    QTest::mouseClick(window->table, Qt::LeftButton);
    QTRY_COMPARE(catcher.boxes.size(), 1);

    QVERIFY(QFile::exists(QDir(workDir.path()).filePath(QStringLiteral("Dippschalter.pdf"))));
    QCOMPARE(window->strEdit->text(), QStringLiteral("7C"));
    QCOMPARE(window->arLabel->getStrAdr(), QStringLiteral("7C"));
    QCOMPARE(knobRows(), (QList<int>{0, 1, 0, 0, 1}));
}

void TestVeskAr::openTableWithoutFileWarns()
{
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
    openedUrls.clear();
    MessageBoxCatcher catcher;
    QTest::mouseClick(window->table_2, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    QVERIFY(openedUrls.isEmpty());
    QCOMPARE(catcher.boxes.size(), 1);
    QCOMPARE(catcher.boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(catcher.boxes[0].title, QStringLiteral("Tabelle öffnen"));
    const QString path = QDir::toNativeSeparators(QDir(workDir.path()).filePath(QStringLiteral("Dippschalter.pdf")));
    QVERIFY2(catcher.boxes[0].text.contains(path), qPrintable(catcher.boxes[0].text));
}

void TestVeskAr::openTableOpensRenderedFile()
{
    const QString path = QDir(workDir.path()).filePath(QStringLiteral("Dippschalter.pdf"));
    QVERIFY(Files::write(path, "%PDF"));

    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
    openedUrls.clear();
    MessageBoxCatcher catcher;
    QTest::mouseClick(window->table_2, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    QCOMPARE(openedUrls, QList<QUrl>{QUrl::fromLocalFile(path)});
    QVERIFY(catcher.boxes.isEmpty());
}

QString TestVeskAr::nameAt(int row) const
{
    const QTableWidgetItem *item = window->adrTable->item(row, 0);
    return item ? item->text() : QStringLiteral("<none>");
}

QString TestVeskAr::writeNamesFile(const QByteArray &contents)
{
    const QString path = QDir(workDir.path()).filePath(QStringLiteral("namen.csv"));
    return Files::write(path, contents) ? path : QString();
}

void TestVeskAr::contextMenuOffersNamesFiles()
{
    QStringList actions;
    QTimer::singleShot(50, [&actions] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            for (const QAction *action : menu->actions())
                actions.append(action->text());
            menu->close();
        }
    });
    window->viewTable->setChecked(true);
    emit window->adrTable->customContextMenuRequested(QPoint(20, 20));
    QCOMPARE(actions, (QStringList{"Namen laden…", "Namen speichern…"}));
}

void TestVeskAr::loadFillsTable()
{
    typeName(2, QStringLiteral("alt"));
    const QString path = writeNamesFile("Adresse;Name\r\nA1;Ölpumpe\r\n12h;\"Tor; Süd\"\r\n");
    QVERIFY(tools()->loadNames(path));
    QCOMPARE(nameAt(0), QStringLiteral("Ölpumpe"));
    QCOMPARE(nameAt(95), QStringLiteral("Tor; Süd"));
    QCOMPARE(nameAt(2), QStringLiteral("<none>"));
    QVERIFY(window->viewTable->isChecked());
    QVERIFY(window->adrTable->isVisible());
}

void TestVeskAr::badFileLeavesTable()
{
    typeName(2, QStringLiteral("alt"));
    const QString path = writeNamesFile("Adresse;Name\n1A;neu\n13A;falsch\n");
    MessageBoxCatcher catcher;
    QVERIFY(!tools()->loadNames(path));
    QCOMPARE(nameAt(0), QStringLiteral("<none>"));
    QCOMPARE(nameAt(2), QStringLiteral("alt"));
    QCOMPARE(catcher.boxes.size(), 1);
    QCOMPARE(catcher.boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(catcher.boxes[0].title, QStringLiteral("Namen laden"));
    QVERIFY2(catcher.boxes[0].text.contains(QStringLiteral("Zeile 3"))
                 && catcher.boxes[0].text.contains(QStringLiteral("13A")),
             qPrintable(catcher.boxes[0].text));
}

void TestVeskAr::saveWritesTypedNames()
{
    window->viewTable->setChecked(true);
    typeName(14, QStringLiteral("Weiche 4"));
    typeName(20, QStringLiteral("weg"));
    typeName(20, QString());
    const QString path = QDir(workDir.path()).filePath(QStringLiteral("gespeichert.csv"));
    QVERIFY(tools()->saveNames(path));
    QCOMPARE(Files::read(path), QByteArray("\xEF\xBB\xBF"
                                           "Adresse;Name\r\n3B;Weiche 4\r\n"));
}

void TestVeskAr::pasteFillsRows()
{
    window->viewTable->setChecked(true);
    window->adrTable->setCurrentCell(94, 0);
    window->adrTable->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("Signal\r\nTor\tx\nzu viel\n"));
    QTest::keyClick(window->adrTable, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(nameAt(93), QStringLiteral("<none>"));
    QCOMPARE(nameAt(94), QStringLiteral("Signal"));
    QCOMPARE(nameAt(95), QStringLiteral("Tor"));
}

QTEST_MAIN(TestVeskAr)
#include "tst_veskar.moc"

#include "mainwindow/appsetup.h"
#include "mainwindow/namestable.h"
#include "mainwindow/veskar.h"
#include "panel/arlabel.h"
#include "support/coretest.h"
#include "support/widgettest.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QTemporaryDir>

using WidgetTest::knobRows;
using WidgetTest::MessageBoxCatcher;

namespace {

QStringList &debugLines()
{
    static QStringList lines;
    return lines;
}

void collectDebug(QtMsgType type, const QMessageLogContext & /*context*/, const QString &message)
{
    if (type == QtDebugMsg)
        debugLines().append(message);
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

public slots:
    void openUrl(const QUrl &url) { openedUrls.append(url); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void addressWarnings_data();
    void addressWarnings();
    void switchesAndNamesLinked();
    void renderDebugLines();
    void renderReport_data();
    void renderReport();
    void openTable();
    void loadAndSave();
    void spreadsheetKeys();
    void storeMessagesAndNextStart();
    void fitMarks();

private:
    void typeName(int row, const QString &name);
    QStringList namesAt(const QList<int> &rows) const;
    void focusTable();
    QString workFile(const QString &name) const { return QDir(workDir.path()).filePath(name); }
    NamesTable *namesTable() const { return window->findChild<NamesTable *>(); }

    QTemporaryDir workDir;
    MessageBoxCatcher catcher;
    std::unique_ptr<VeskAr> window;
    QList<QUrl> openedUrls;
};

void TestWindow::initTestCase()
{
    // The names and the window's place are kept here, not in the user's folders.
    qputenv("XDG_DATA_HOME", workFile(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", workFile(QStringLiteral("config")).toUtf8());
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
    // A test takes the messages it expects; any other is a surprise.
    QTest::qWait(20);
    QVERIFY2(catcher.boxes.isEmpty(), qPrintable(catcher.boxes.value(0).text));
    window.reset();
    QFile::remove(workFile(TablePdf::fileName));
    QDir(workFile(QStringLiteral("data"))).removeRecursively();
    QDir(workFile(QStringLiteral("config"))).removeRecursively();
}

void TestWindow::typeName(int row, const QString &name)
{
    focusTable();
    window->adrTable->setCurrentCell(row, 0);
    QTest::keyClick(window->adrTable, Qt::Key_F2);
    auto *editor = window->adrTable->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->setText(name);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(window->adrTable->viewport()->findChild<QLineEdit *>() == nullptr); // committed and closed
    QCOMPARE(namesAt({row}), QStringList{name});
    // Enter moves on to the next row, as in a spreadsheet.
    QCOMPARE(window->adrTable->currentRow(), std::min(row + 1, 95));
}

QStringList TestWindow::namesAt(const QList<int> &rows) const
{
    QStringList names;
    for (const int row : rows) {
        const QTableWidgetItem *item = window->adrTable->item(row, 0);
        names.append(item ? item->text() : QStringLiteral("-"));
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

void TestWindow::addressWarnings_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("warnings");

    const QString typo = QStringLiteral("„%1“ ist keine Adresse wie 7C oder C7 – gelesen als %2.");
    const QString unsettable = QStringLiteral("Die Adresse %1 lässt sich mit den Dippschaltern nicht einstellen");
    QTest::newRow("c7") << "c7"
                        << "7C" << QStringList{};
    QTest::newRow("number 28") << "28a"
                               << "28A" << QStringList{unsettable.arg("28A")};
    QTest::newRow("letter O") << "1O"
                              << "1A" << QStringList{typo.arg("1O", "1A")};
    QTest::newRow("empty") << ""
                           << "1A" << QStringList{typo.arg("", "1A")};
    QTest::newRow("typo and unsettable") << "A28B"
                                         << "28B" << QStringList{typo.arg("A28B", "28B"), unsettable.arg("28B")};
}

void TestWindow::addressWarnings()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QStringList, warnings);

    window->strEdit->setText(typed);
    QTest::keyClick(window->strEdit, Qt::Key_Return);
    QCOMPARE(window->strEdit->text(), shown);
    QCOMPARE(window->arLabel->getStrAdr(), shown);
    if (warnings.isEmpty())
        return;
    // One box, the problems one after the other.
    const auto box = catcher.takeOne();
    QVERIFY(box && box->icon == QMessageBox::Warning);
    const QStringList problems = box->text.split(QStringLiteral("\n\n"));
    QCOMPARE(problems.size(), warnings.size());
    for (int i = 0; i < warnings.size(); ++i)
        QVERIFY2(problems[i].startsWith(warnings[i]), qPrintable(box->text));
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
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier,
                      table->visualItemRect(table->item(14, 1)).center());
    QCOMPARE(window->strEdit->text(), QStringLiteral("3B"));
    QCOMPARE(knobRows(WidgetTest::grabbed(window->arLabel)), (QList<int>{0, 0, 1, 0, 2}));
    QTest::keyClick(table, Qt::Key_Down);
    QCOMPARE(window->arLabel->getStrAdr(), QStringLiteral("4B"));
    // Switches set on the panel and read back select their row, so its name shows.
    QTest::mouseClick(window->arLabel, Qt::LeftButton, Qt::NoModifier, {85, 60}); // switch 3 to the bottom: 4E
    QCOMPARE(window->strEdit->text(), QStringLiteral("4B"));
    QTest::keyClick(window->arLabel, Qt::Key_Return);
    QCOMPARE(window->strEdit->text(), QStringLiteral("4E"));
    QCOMPARE(table->currentRow(), 4 * 12 + 3);
}

void TestWindow::renderDebugLines()
{
    typeName(14, QStringLiteral("Weiche 4"));
    typeName(0, QStringLiteral("%s %n 100% Grüße"));
    typeName(4, QStringLiteral("weg"));
    typeName(4, QString());
    const QString panelAddress = window->arLabel->getStrAdr();
    window->strEdit->setText(QStringLiteral("b7"));

    debugLines().clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectDebug);
    QTest::mouseClick(window->table, Qt::LeftButton);
    qInstallMessageHandler(previous);
    QCOMPARE(debugLines(), (QStringList{"Adr: 1A  Name: %s %n 100% Grüße", "Adr: 5A  Name: ", "Adr: 3B  Name: Weiche 4",
                                        "arLabel->adrNames = hash;", "arLabel->startTableRender();",
                                        "strEdit->setText(arLabel->getStrAdr()); ",
                                        "arLabel->setStrAdr(strEdit->text().toUpper());", "fertig"}));
    QVERIFY(catcher.takeOne()); // the render's own message
    // The entry was refreshed from the panel, which had not applied "b7".
    QCOMPARE(window->strEdit->text(), panelAddress);
}

void TestWindow::renderReport_data()
{
    QTest::addColumn<bool>("writable");
    QTest::newRow("written") << true;
    QTest::newRow("read-only folder keeps the older file") << false;
}

void TestWindow::renderReport()
{
    QFETCH(bool, writable);
    const QString pdf = workFile(TablePdf::fileName);
    QVERIFY(Files::write(pdf, "old table"));
    typeName(14, QStringLiteral("Weichenantrieb Straßenbeleuchtung Einfahrt"));
    typeName(28, QStringLiteral("Ab").repeated(150));
    window->strEdit->setText(QStringLiteral("c7"));
    QTest::mouseClick(window->rechnen, Qt::LeftButton);
    std::optional<MessageBoxCatcher::Box> box;
    {
        std::optional<Files::ReadOnlyDir> readOnly;
        if (!writable)
            readOnly.emplace(workDir.path());
        window->arLabel->startTableRender(); // two requests before the paint make one render
        QTest::mouseClick(window->table, Qt::LeftButton);
        box = catcher.takeOne();
    }
    QVERIFY(box && box->title == QStringLiteral("Tabelle rendern"));
    const QString shownPath = QDir::toNativeSeparators(pdf);
    if (writable) {
        QCOMPARE(box->text, QStringLiteral("Tabelle wurde erfolgreich gerendert und gespeichert.\nDatei: %1\n"
                                           "Kleiner gedruckt, damit sie ins Feld passen: 3B\n"
                                           "Gekürzt gedruckt, zu lang für das Feld: 5C")
                                .arg(shownPath));
        QVERIFY(Files::read(pdf).startsWith("%PDF"));
    } else {
        QVERIFY(box->icon == QMessageBox::Warning && box->text.contains(QStringLiteral("nicht gespeichert werden"))
                && box->text.contains(shownPath));
        QCOMPARE(Files::read(pdf), QByteArray("old table"));
    }
    QCOMPARE(QDir().entryList({QStringLiteral("Dippschalter*")}, QDir::Files), QStringList{"Dippschalter.pdf"});
    // The panel shows the entry's address again, not the last cell drawn.
    QCOMPARE(knobRows(WidgetTest::grabbed(window->arLabel)), (QList<int>{0, 1, 0, 0, 1}));
}

void TestWindow::openTable()
{
    const QString pdf = workFile(TablePdf::fileName);
    QTest::mouseClick(window->table_2, Qt::LeftButton);
    const auto box = catcher.takeOne();
    QVERIFY(box && box->text.contains(QDir::toNativeSeparators(pdf)));
    QVERIFY(Files::write(pdf, "%PDF"));
    QTest::mouseClick(window->table_2, Qt::LeftButton);
    QCOMPARE(openedUrls, QList<QUrl>{QUrl::fromLocalFile(pdf)});
}

void TestWindow::loadAndSave()
{
    typeName(2, QStringLiteral("alt"));
    const QString bad = workFile(QStringLiteral("falsch.csv"));
    QVERIFY(Files::write(bad, "Adresse;Name\n1A;neu\n13A;falsch\n"));
    QVERIFY(!namesTable()->loadNames(bad));
    const auto box = catcher.takeOne();
    QVERIFY(box && box->text.contains(QStringLiteral("Zeile 3: Die Adresse „13A“")));
    QCOMPARE(namesAt({0, 2}), (QStringList{"-", "alt"}));
    // An emptied name is not saved; a list loaded is shown.
    typeName(20, QStringLiteral("weg"));
    typeName(20, QString());
    const QString saved = workFile(QStringLiteral("gespeichert.csv"));
    QVERIFY(namesTable()->saveNames(saved));
    QCOMPARE(Files::read(saved), QByteArray("\xEF\xBB\xBF"
                                            "Adresse;Name\r\n3A;alt\r\n"));
    window->viewTable->setChecked(false);
    QVERIFY(namesTable()->loadNames(saved) && window->viewTable->isChecked());
    // Qt's own texts are German too.
    AppSetup::apply();
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
}

void TestWindow::spreadsheetKeys()
{
    for (int row = 92; row < 96; ++row)
        typeName(row, QStringLiteral("alt %1").arg(row));
    focusTable();
    // Selected bottom up, copied top down, deleted; pasted from the current row, with a word
    // for what finds no row.
    window->adrTable->setRangeSelected(QTableWidgetSelectionRange(95, 0, 95, 0), true);
    window->adrTable->setRangeSelected(QTableWidgetSelectionRange(92, 0, 92, 0), true);
    QTest::keyClick(window->adrTable, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("alt 92\nalt 95"));
    QTest::keyClick(window->adrTable, Qt::Key_Delete);
    QCOMPARE(namesAt({92, 95}), (QStringList{"-", "-"}));
    window->adrTable->setCurrentCell(94, 0);
    QGuiApplication::clipboard()->setText(QStringLiteral("Signal\r\nTor\tx\nzu\nviel\n"));
    QTest::keyClick(window->adrTable, Qt::Key_V, Qt::ControlModifier);
    const auto box = catcher.takeOne();
    QVERIFY(box && box->text.startsWith(QStringLiteral("Die Tabelle endet bei 12H: 2 der eingefügten Zeilen")));
    QCOMPARE(namesAt({93, 94, 95}), (QStringList{"alt 93", "Signal", "Tor"}));
    focusTable();
    QTest::keyClick(window->adrTable, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(window->adrTable, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(namesAt({92, 94, 95}), (QStringList{"alt 92", "alt 94", "alt 95"}));
    QTest::keyClick(window->adrTable, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(window->adrTable, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(namesAt({92, 94, 95}), (QStringList{"-", "Signal", "Tor"}));

    // Tab leaves the table, also from an open editor, which it commits; Shift+Tab goes back.
    window->adrTable->setCurrentCell(7, 0);
    QTest::keyClick(window->adrTable, Qt::Key_F2);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("acht"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_VERIFY(window->table->hasFocus());
    QCOMPARE(namesAt({7}), QStringList{"acht"});
    focusTable();
    QTest::keyClick(window->adrTable, Qt::Key_Backtab);
    QTRY_VERIFY(window->rechnen_2->hasFocus());
}

void TestWindow::storeMessagesAndNextStart()
{
    typeName(0, QStringLiteral("eins"));
    const QString folder = workFile(QStringLiteral("data/vesk-adressen"));
    {
        Files::ReadOnlyDir readOnly(folder);
        typeName(1, QStringLiteral("zwei"));
        typeName(2, QStringLiteral("drei"));
        const auto box = catcher.takeOne(); // once, not at every change
        QVERIFY(box && box->text.contains(QStringLiteral("konnten nicht in")));
    }
    typeName(3, QStringLiteral("vier")); // stores them all
    // The names come back in the next window, and so does the window's size.
    window->resize(window->width() + 40, window->height() + 30);
    const QSize size = window->size();
    window->close();
    window = std::make_unique<VeskAr>();
    QCOMPARE(namesAt({0, 1, 2, 3}), (QStringList{"eins", "zwei", "drei", "vier"}));
    QCOMPARE(window->size(), size);

    // A damaged list is set aside, and the message says where.
    window.reset();
    QVERIFY(Files::write(folder + QStringLiteral("/namen.csv"), "Adresse;Name\n99Z;kaputt\n"));
    window = std::make_unique<VeskAr>();
    const auto box = catcher.takeOne();
    const QStringList aside = QDir(folder).entryList({QStringLiteral("namen.csv.defekt-*")});
    QVERIFY(box && aside.size() == 1 && box->text.contains(QDir::toNativeSeparators(folder + u'/' + aside[0]))
            && box->text.contains(QStringLiteral("Zeile 2")));
    QCOMPARE(namesAt({0}), QStringList{"-"});
}

void TestWindow::fitMarks()
{
    typeName(14, QStringLiteral("Weichenantrieb Straßenbeleuchtung Einfahrt"));
    typeName(28, QStringLiteral("Ab").repeated(150));
    const QString smaller = QStringLiteral("Wird verkleinert gedruckt");
    QTableWidget *table = window->adrTable;
    QCOMPARE((QStringList{table->item(14, 0)->toolTip(), table->item(28, 0)->toolTip()}),
             (QStringList{smaller, "Wird gekürzt gedruckt: zu lang für das Feld"}));
    QVERIFY(table->item(28, 0)->foreground() != table->item(14, 0)->foreground());

    // While the user types, before the name is committed; a name that fits is unmarked.
    table->setCurrentCell(1, 0);
    QTest::keyClick(table, Qt::Key_F2);
    auto *editor = table->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("Weiche"));
    QCOMPARE(editor->toolTip(), QString());
    QTest::keyClicks(editor, QStringLiteral("nantrieb"));
    QCOMPARE(editor->toolTip(), smaller);
    QCOMPARE(editor->palette().color(QPalette::Text), table->item(14, 0)->foreground().color());
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(table->item(1, 0) != nullptr && table->item(1, 0)->toolTip() == smaller);
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"

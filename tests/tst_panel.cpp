#include "panel/panelswitches.h"
#include "support/windowtest.h"

#include <QAccessible>
#include <QToolButton>

// The switches' panel, the address entry and the names table kept alike.
class TestPanel : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        prepare();
        // The first panel of a process, asked before anything else, is a slider with a value.
        ArLabel panel;
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&panel);
        const QString value = u"Schalter 1 +, Schalter 2 +, Schalter 3 +, Schalter 4 +, Schalter 5 + — Adresse 1A"_s;
        QCOMPARE(accessible->role(), QAccessible::Slider);
        QLineEdit entry; // other widgets keep their own
        QCOMPARE(QAccessible::queryAccessibleInterface(&entry)->role(), QAccessible::EditableText);
        QCOMPARE((QStringList{accessible->text(QAccessible::Name), accessible->text(QAccessible::Value),
                              accessible->text(QAccessible::Description)}),
                 (QStringList{"Dippschalter", value, value}));
    }

    void addressWarnings_data()
    {
        addColumns<QString, QString, QStringList>("typed", "shown", "warnings");

        const QString typo = u"„%1“ ist keine Adresse wie 7C oder C7 – gelesen als %2."_s;
        // clang-format off
        const QString unsettable = u"Die Adresse %1 lässt sich mit den Dippschaltern nicht einstellen: möglich sind die Nummern 1 bis 27 und die Buchstaben A bis I.\nDie Zeichnung zeigt diese Adresse nicht."_s;
        QTest::newRow("number 28") << "28a" << "28A" << QStringList{unsettable.arg("28A")};
        QTest::newRow("letter O") << "1O" << "1A" << QStringList{typo.arg("1O", "1A")};
        QTest::newRow("typo and unsettable") << "A28B" << "28B" << QStringList{typo.arg("A28B", "28B"), unsettable.arg("28B")};
        // clang-format on
    }

    void addressWarnings()
    {
        auto [typed, shown, warnings] = fetched<QString, QString, QStringList>("typed", "shown", "warnings");

        window->strEdit->setText(typed);
        QTest::keyClick(window->strEdit, Qt::Key_Return);
        QCOMPARE(window->strEdit->text(), shown);
        const MessageBoxCatcher::Box box = catcher.takeOne();
        QCOMPARE(std::pair(box.icon, box.text), std::pair(QMessageBox::Warning, warnings.join(u"\n\n"_s)));
    }

    void switchesAndNamesLinked()
    {
        QTableWidget *table = window->adrTable;
        QCOMPARE((QStringList{window->windowTitle(), window->strEdit->text()}),
                 (QStringList{"VESK Adressen Rechner[*]", "1A"}));
        // The panel stands in its box, under the box's title, above "Schalter->Name".
        QVERIFY(window->groupBox_2->contentsRect().contains(window->arLabel->geometry()));
        QVERIFY(window->arLabel->geometry().bottom() < window->rechnen_2->geometry().top());
        // The panel follows "Adresse->Schalter" in the tab order.
        window->rechnen->setFocus();
        QTest::keyClick(window->rechnen, Qt::Key_Tab);
        QVERIFY(window->arLabel->hasFocus());
        // An applied address selects its row, so the table, entered, keeps the address.
        window->strEdit->setText(u"c7"_s);
        QTest::keyClick(window->strEdit, Qt::Key_Return);
        focusTable();
        QCOMPARE(std::pair(table->currentRow(), window->strEdit->text()), std::pair(2 * 12 + 6, u"7C"_s));
        QVERIFY(table->viewport()->rect().contains(table->visualItemRect(table->item(2 * 12 + 6, 1)))); // in view
        QVERIFY(table->viewport()->height() >= 12 * table->verticalHeader()->defaultSectionSize());
        // A row chosen shows its address in the entry and on the panel; the cursor moves on in it.
        QTest::keyClick(table, Qt::Key_Right);
        QCOMPARE(table->currentColumn(), 1);
        table->setCurrentCell(13, 0);
        QTest::keyClick(table, Qt::Key_Down);
        QCOMPARE(window->strEdit->text(), u"3B"_s);
        QCOMPARE(knobRows(grabbed(window->arLabel)), (QList<int>{0, 0, 1, 0, 2}));
        // Switches set on the panel and read back select their row, so its name shows.
        QTest::mouseClick(window->arLabel, Qt::LeftButton, Qt::NoModifier, {85, 60}); // switch 3 to the bottom: 3E
        QCOMPARE(window->strEdit->text(), u"3B"_s);
        QTest::keyClick(window->arLabel, Qt::Key_Return);
        QCOMPARE(std::pair(window->strEdit->text(), table->currentRow()), std::pair(u"3E"_s, 4 * 12 + 2));
        table->setCurrentCell(1, 0);
        QTest::keyClick(table, Qt::Key_Up);
        QCOMPARE(window->strEdit->text(), u"1A"_s); // the first row too
        onDialog<LabelsDialog>([](LabelsDialog *dialog) { QVERIFY(dialog->selectedRadio->isEnabled()); });
        QTest::mouseClick(window->labelsButton, Qt::LeftButton);
        window->arLabel->setStrAdr(u"22A"_s); // no row of the table: none selected
        QTest::mouseClick(window->rechnen_2, Qt::LeftButton);
        QCOMPARE(table->currentRow(), -1);
        QTest::keyClick(table, Qt::Key_Return); // Return enters it at the top
        QCOMPARE(table->currentRow(), 0);
        // The addresses' own column, as wide as they are, not to be edited, and no row numbers; a screen reader
        // reads the rows by their addresses, and the table and the search's clear button by name.
        QCOMPARE(
            (QStringList{table->item(95, 1)->text(), table->verticalHeaderItem(95)->text(), table->accessibleName(),
                         window->searchEdit->findChild<QToolButton *>()->accessibleName()}),
            (QStringList{"12H", "12H", "Namen", "Suche leeren"}));
        QVERIFY(table->item(95, 1)->flags() == Qt::ItemIsEnabled && table->verticalHeader()->isHidden()
                && table->horizontalHeader()->sectionResizeMode(1) == QHeaderView::ResizeToContents);
    }

    // The drag bands' edges, as the panel has always had them: x chooses a switch, y sets a row.
    void dragBands()
    {
        const QList<QPair<int, int>> switches{{23, 0}, {24, 1}, {46, 1}, {47, 0}, {48, 0}, {49, 2}, {71, 2},  {72, 0},
                                              {73, 0}, {74, 3}, {96, 3}, {97, 0}, {98, 0}, {99, 4}, {127, 4}, {128, 0}};
        for (const auto &[x, index] : switches)
            QVERIFY2(PanelSwitches::switchAt(x) == index, qPrintable(QString::number(x)));
        const QList<QPair<int, int>> rows{{28, -1}, {29, 0},  {31, 0}, {32, -1}, {48, -1}, {49, 2},
                                          {67, 2},  {68, -1}, {69, 1}, {71, 1},  {72, -1}};
        for (const auto &[y, position] : rows)
            QVERIFY2(PanelSwitches::positionAt(y).value_or(-1) == position, qPrintable(QString::number(y)));
        // The panel's size; its frame, 3 pixels wide, from its first column to its last, its bottom at the last row.
        const QImage image = grabbed(window->arLabel);
        const auto grey = [&image](int x, int y) { return qGray(image.pixel(x, y)); };
        QCOMPARE((QList<int>{image.width(), image.height(), grey(0, 40), grey(126, 40), grey(127, 40), grey(129, 40),
                             grey(40, 80), grey(40, 82)}),
                 (QList<int>{130, 83, 0, 255, 0, 0, 0, 0}));
    }

    void panel()
    {
        ArLabel &panel = *window->arLabel;
        // What a screen reader reads of the panel, kept current with every change.
        const auto described = [&panel] {
            return QAccessible::queryAccessibleInterface(&panel)->text(QAccessible::Description);
        };
        QSignalSpy readBack(&panel, &ArLabel::readBackRequested);
        panel.setStrAdr(u"1B"_s);
        // A drag: the press at x chooses the switch; the narrow bands of y that it moves through set it, others not.
        const auto drag = [&panel](int x, std::initializer_list<int> ys) {
            QTest::mousePress(&panel, Qt::LeftButton, Qt::NoModifier, {x, 40});
            for (const int y : ys)
                QTest::mouseMove(&panel, {5, y});
            return panel.getStrAdr();
        };
        QCOMPARE(drag(71, {28, 49}), u"3B"_s); // switch 3; 28 is just above the top band
        QVERIFY(described().endsWith(u"Adresse 3B"_s));
        QTest::mouseMove(&panel, {5, 31});
        QCOMPARE(panel.getStrAdr(), u"1B"_s);
        for (const int y : {48, 69, 72}) // between the bands, the bottom band's first, in it
            QTest::mouseMove(&panel, {5, y});
        QTest::mouseRelease(&panel, Qt::LeftButton, Qt::NoModifier, {5, 40}); // after moves, no click
        QCOMPARE(panel.getStrAdr(), u"2B"_s);
        QCOMPARE(drag(72, {71}), u"11B"_s); // between bands: the first switch
        QCOMPARE(knobRows(grabbed(&panel)), (QList<int>{2, 0, 2, 0, 2}));
        QCOMPARE(drag(30, {71}), u"14B"_s); // switch 2's band

        // A click on switch 3's middle row sets it, takes the focus and chooses that switch.
        panel.setStrAdr(u"1A"_s);
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, {60, 45});
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, {35, 78});   // below the knobs: nothing
        QTest::mouseClick(&panel, Qt::RightButton, Qt::NoModifier, {110, 65}); // nor the right button
        QCOMPARE(std::pair(panel.hasFocus(), panel.getStrAdr()), std::pair(true, u"3A"_s));
        QTest::keyClick(&panel, Qt::Key_Down); // on the switch clicked
        QCOMPARE(panel.getStrAdr(), u"2A"_s);
        QTest::keySequence(&panel, QKeySequence(u"Left, Left"_s)); // the first chosen, for the focus mark below
        panel.setStrAdr(u"20A"_s);
        QCOMPARE(described(), u"Schalter 1 0, Schalter 2 +, Schalter 3 -, Schalter 4 +, Schalter 5 + — Adresse 20A"_s);
        // A position the switches cannot take (3, for K) is drawn in the top row.
        panel.setStrAdr(u"5K"_s);
        QVERIFY(described().endsWith(u"Adresse 5K"_s));

        const QImage image = grabbed(&panel);
        QCOMPARE(knobRows(image), (QList<int>{0, 2, 2, 0, 2}));
        // Dotted lines between the rows, none below them: seen in each gap between the switches.
        QList<int> dotted; // at each y, how many gaps have a black pixel
        for (const int y : {34, 35, 36, 55, 75}) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            dotted.append(0);
            for (int gap = 25; gap < 125; gap += 25)
                dotted.last() += std::find(line + gap, line + gap + 5, qRgb(0, 0, 0)) != line + gap + 5 ? 1 : 0;
        }
        QCOMPARE(dotted, (QList<int>{0, 4, 0, 4, 0})); // a pixel thick
        // The focus mark stands around the chosen switch only while the panel has the focus.
        const QColor highlight = panel.palette().color(QPalette::Highlight);
        QCOMPARE((QList<QColor>{image.pixelColor(3, 14), image.pixelColor(3, 76)}), QList<QColor>(2, highlight));
        QVERIFY(image.pixelColor(28, 40) != highlight);
        panel.clearFocus();
        QCOMPARE(grabbed(&panel).pixel(3, 40), qRgb(255, 255, 255));
        panel.setFocus();
        QTest::keyClick(&panel, Qt::Key_Return);
        QCOMPARE(readBack.size(), 1);
    }

    void panelKeys_data()
    {
        // The address, keys typed from the first switch on: Down and Up move one row as drawn and stop at the ends;
        // Left and Right choose the switch, stopping at the first and the last.
        addColumns<QString, QString, QString>("address", "keys", "set");
        const QString last = u"Right Right Right Right "_s;
        // clang-format off
        QTest::newRow("down") << "3A" << "Right Right Down" << "2A";
        QTest::newRow("down at the end") << "2A" << "Right Right Down" << "2A";
        QTest::newRow("right, middle") << "2A" << last + "0" << "2C";
        QTest::newRow("top") << "2C" << last + "+" << "2A";
        QTest::newRow("bottom") << "2A" << last + "-" << "2B";
        QTest::newRow("up") << "2B" << last + "Up" << "2C";
        QTest::newRow("up at the end") << "2C" << last + "Up Up" << "2A";
        QTest::newRow("left past the first") << "2A" << last + "Left Left Left Left Left Down" << "20A";
        QTest::newRow("right past the last") << "20A" << last + "Right -" << "20B";
        QTest::newRow("left to the first") << "20B" << last + "+ Left Left Left Left" << "20A";
        // clang-format on
    }

    void panelKeys()
    {
        auto [address, keys, set] = fetched<QString, QString, QString>("address", "keys", "set");

        ArLabel &panel = *window->arLabel;
        panel.setStrAdr(address);
        for (const QString &key : keys.split(u' '))
            QTest::keySequence(&panel, QKeySequence(key));
        QCOMPARE(panel.getStrAdr(), set);
        const QString described = QAccessible::queryAccessibleInterface(&panel)->text(QAccessible::Description);
        QVERIFY2(described.endsWith(u"Adresse "_s + set), qPrintable(keys));
    }
};

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"

#include "panel/arlabel.h"
#include "panel/switchdrawing.h"
#include "support/widgettest.h"

#include <QAccessible>
#include <QPainter>
#include <QSignalSpy>

using WidgetTest::grabbed;
using WidgetTest::knobRows;

namespace {

// What a screen reader reads of the panel, kept current with every change.
QString described(ArLabel &panel)
{
    return QAccessible::queryAccessibleInterface(&panel)->text(QAccessible::Description);
}

} // namespace

class TestPanel : public QObject
{
    Q_OBJECT

private slots:
    void firstPanelIsAccessible();
    void knobRowsPainted_data();
    void knobRowsPainted();
    void dragByBandsOnly();
    void clickAndKeys();
};

void TestPanel::firstPanelIsAccessible()
{
    // The first panel of a process, asked before anything else.
    ArLabel panel;
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&panel);
    const QString value =
        QStringLiteral("Schalter 1 +, Schalter 2 +, Schalter 3 +, Schalter 4 +, Schalter 5 + — Adresse 1A");
    QCOMPARE(accessible->role(), QAccessible::Slider);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Dippschalter"));
    QCOMPARE(accessible->text(QAccessible::Value), value);
    QCOMPARE(accessible->text(QAccessible::Description), value);
    QWidget other; // keeps its own interface
    QCOMPARE(QAccessible::queryAccessibleInterface(&other)->role(), QAccessible::Client);
}

void TestPanel::knobRowsPainted_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("row");
    QTest::newRow("0 top") << 0 << 0;
    QTest::newRow("1 bottom") << 1 << 2;
    QTest::newRow("2 middle") << 2 << 1;
    QTest::newRow("3 top") << 3 << 0;
    QTest::newRow("-1 top") << -1 << 0;
}

void TestPanel::knobRowsPainted()
{
    QFETCH(int, value);
    QFETCH(int, row);
    // Each switch in turn holds the value; the others keep a knob in another row.
    for (int index = 0; index < AddressCodec::switchCount; ++index) {
        DippSetting dipp;
        dipp.fill(row == 2 ? 0 : 1);
        dipp[index] = value;
        QImage image(SwitchDrawing::size, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QPainter painter(&image);
        SwitchDrawing::paint(painter, dipp);
        QCOMPARE(knobRows(image).at(index), row);
    }
}

void TestPanel::dragByBandsOnly()
{
    ArLabel panel;
    panel.setStrAdr(QStringLiteral("1B"));
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    // The press at x = 24 chooses switch 1; moves over other switches keep it.
    QTest::mousePress(&panel, Qt::LeftButton, Qt::NoModifier, {24, 40});
    QTest::mouseMove(&panel, {24, 27});
    QTest::mouseMove(&panel, {110, 33}); // jumps over the top band
    QCOMPARE(panel.getStrAdr(), QStringLiteral("1B"));
    QTest::mouseMove(&panel, {110, 49});
    QTest::mouseMove(&panel, {110, 68}); // between the bands: stays in the middle
    QCOMPARE(panel.getStrAdr(), QStringLiteral("7B"));
    QVERIFY(described(panel).endsWith(QStringLiteral("Adresse 7B")));
    QTest::mouseMove(&panel, {60, 69});
    QTest::mouseMove(&panel, {60, 200});
    QTest::mouseRelease(&panel, Qt::LeftButton, Qt::NoModifier, {60, 40}); // after moves, no click
    QCOMPARE(panel.getStrAdr(), QStringLiteral("4B"));
    QCOMPARE(knobRows(grabbed(&panel)), (QList<int>{0, 2, 0, 0, 2}));
    QVERIFY(described(panel).endsWith(QStringLiteral("Adresse 4B")));

    // A right-button drag moves the switch of the last left press.
    QTest::mousePress(&panel, Qt::RightButton, Qt::NoModifier, {110, 40});
    QTest::mouseMove(&panel, {110, 30});
    QCOMPARE(panel.getStrAdr(), QStringLiteral("1B"));
}

void TestPanel::clickAndKeys()
{
    ArLabel panel;
    panel.setStrAdr(QStringLiteral("1A"));
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QSignalSpy readBack(&panel, &ArLabel::readBackRequested);

    // A click on switch 2's middle row sets it, takes the focus and chooses that switch.
    QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, {60, 45});
    QVERIFY(panel.hasFocus());
    QCOMPARE(panel.getStrAdr(), QStringLiteral("3A"));
    // Down and Up move one row as drawn and stop at the ends; Left and Right choose the switch.
    const QList<QPair<QString, QString>> steps = {
        {"Down", "2A"}, {"Down", "2A"},  {"Right Right Right 0", "2C"},           {"+", "2A"}, {"-", "2B"},
        {"Up", "2C"},   {"Up Up", "2A"}, {"Left Left Left Left Left Down", "20A"}};
    for (const auto &[keys, address] : steps) {
        for (const QString &key : keys.split(u' ')) {
            if (key.size() == 1)
                QTest::keyClick(&panel, key.front().toLatin1());
            else
                QTest::keyClick(&panel, QKeySequence(key)[0].key());
        }
        QCOMPARE(panel.getStrAdr(), address);
        QVERIFY2(described(panel).endsWith(QStringLiteral("Adresse ") + address), qPrintable(keys));
    }
    QCOMPARE(described(panel),
             QStringLiteral("Schalter 1 0, Schalter 2 +, Schalter 3 -, Schalter 4 +, Schalter 5 + — Adresse 20A"));
    panel.setStrAdr(QStringLiteral("7C"));
    QVERIFY(described(panel).endsWith(QStringLiteral("Adresse 7C")));

    const QImage image = grabbed(&panel);
    QCOMPARE(knobRows(image), (QList<int>{0, 1, 0, 0, 1}));
    // The focus mark stands around the chosen switch only while the panel has the focus.
    const QColor highlight = panel.palette().color(QPalette::Highlight);
    QCOMPARE(image.pixelColor(3, 40), highlight);
    QVERIFY(image.pixelColor(28, 40) != highlight);
    panel.clearFocus();
    QCOMPARE(grabbed(&panel).pixel(3, 40), qRgb(255, 255, 255));
    panel.setFocus();
    QTest::keyClick(&panel, Qt::Key_Return);
    QCOMPARE(readBack.size(), 1);
}

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"

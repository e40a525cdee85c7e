#include "panel/arlabel.h"
#include "panel/switchdrawing.h"
#include "support/switchpixels.h"

#include <QAccessible>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using namespace SwitchPixels;

namespace {

constexpr QRgb background = 0xff808080;

QImage painted(const DippSetting &dipp)
{
    QImage image(SwitchDrawing::size, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    SwitchDrawing::paint(painter, dipp);
    return image;
}

QImage grabbed(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestPanel : public QObject
{
    Q_OBJECT

private slots:
    void bands();
    void knobRows_data();
    void knobRows();
    void frameAndDottedLines();
    void dragByBandsOnly();
    void clickAndKeys();
};

void TestPanel::bands()
{
    // x of the press -> switch: the bands begin 6 pixels left of the knobs, gaps choose switch 0.
    const QList<QPair<int, int>> switches = {{0, 0},  {23, 0}, {24, 1}, {46, 1}, {47, 0}, {48, 0},  {49, 2},
                                             {71, 2}, {72, 0}, {96, 3}, {97, 0}, {99, 4}, {127, 4}, {128, 0}};
    for (const auto &[x, index] : switches)
        QVERIFY2(SwitchDrawing::switchAt(x) == index, qPrintable(QString::number(x)));
    // y of the pointer -> position, -1 for no change.
    const QList<QPair<int, int>> positions = {{28, -1}, {29, 0},  {31, 0}, {32, -1}, {48, -1}, {49, 2},
                                              {67, 2},  {68, -1}, {69, 1}, {71, 1},  {72, -1}};
    for (const auto &[y, position] : positions)
        QVERIFY2(SwitchDrawing::positionAt(y).value_or(-1) == position, qPrintable(QString::number(y)));
    // A click hits the knob rectangles as drawn: index * 10 + display row, -1 beside them.
    const QList<QPair<QPoint, int>> knobs = {{{5, 15}, 0},    {{24, 34}, 0},  {{30, 35}, 11}, {{49, 74}, 12},
                                             {{124, 54}, 41}, {{25, 40}, -1}, {{60, 14}, -1}, {{60, 75}, -1},
                                             {{125, 40}, -1}, {{4, 40}, -1}};
    for (const auto &[point, expected] : knobs) {
        const auto place = SwitchDrawing::knobPlaceAt(point);
        QCOMPARE(place ? place->index * 10 + place->row : -1, expected);
    }
}

void TestPanel::knobRows_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("row");
    QTest::newRow("0 top") << 0 << 0;
    QTest::newRow("1 bottom") << 1 << 2;
    QTest::newRow("2 middle") << 2 << 1;
    QTest::newRow("3 top") << 3 << 0;
    QTest::newRow("-1 top") << -1 << 0;
}

void TestPanel::knobRows()
{
    QFETCH(int, value);
    QFETCH(int, row);
    // Each switch in turn holds the value; the others keep a knob in another row.
    for (int index = 0; index < AddressCodec::switchCount; ++index) {
        DippSetting dipp;
        dipp.fill(row == 2 ? 0 : 1);
        dipp[index] = value;
        QCOMPARE(SwitchPixels::knobRows(painted(dipp)).at(index), row);
    }
}

void TestPanel::frameAndDottedLines()
{
    const QImage image = painted(DippSetting{});
    // Outline from (1, 1) to (128, 81), three pixels wide; outside stays untouched.
    for (const QPoint edge : {QPoint(1, 40), QPoint(128, 40), QPoint(64, 1), QPoint(64, 81)})
        QVERIFY(isBlack(image, edge.x(), edge.y()));
    QCOMPARE(image.pixel(0, 0), background);
    QCOMPARE(image.pixel(129, 82), background);
    QCOMPARE(image.pixel(64, 10), qRgb(255, 255, 255));

    // Dotted: dots and gaps alternate along y = 35 and 55 only.
    for (const int y : {35, 36, 54, 55, 56}) {
        int count = 0;
        for (int x = 5; x <= 126; ++x)
            count += isBlack(image, x, y) ? 1 : 0;
        QVERIFY2(y % 5 == 0 ? count > 25 && count < 90 : count == 0, qPrintable(QString::number(count)));
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
    QTest::mouseMove(&panel, {60, 69});
    QTest::mouseMove(&panel, {60, 200});
    QTest::mouseRelease(&panel, Qt::LeftButton, Qt::NoModifier, {60, 40}); // after moves, no click
    QCOMPARE(panel.getStrAdr(), QStringLiteral("4B"));
    QCOMPARE(SwitchPixels::knobRows(grabbed(panel)), (QList<int>{0, 2, 0, 0, 2}));

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
    }
    QImage image = grabbed(panel);
    QCOMPARE(SwitchPixels::knobRows(image), (QList<int>{1, 0, 2, 0, 0}));
    // The focus mark stands around the chosen switch only while the panel has the focus.
    const QColor highlight = panel.palette().color(QPalette::Highlight);
    QCOMPARE(image.pixelColor(3, 40), highlight);
    QVERIFY(image.pixelColor(28, 40) != highlight);
    panel.clearFocus();
    QCOMPARE(grabbed(panel).pixel(3, 40), qRgb(255, 255, 255));

    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&panel);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Dippschalter"));
    QWidget other; // keeps its own interface
    QCOMPARE(QAccessible::queryAccessibleInterface(&other)->role(), QAccessible::Client);
    QCOMPARE(accessible->text(QAccessible::Value),
             QStringLiteral("Schalter 1 0, Schalter 2 +, Schalter 3 -, Schalter 4 +, Schalter 5 + — Adresse 20A"));
    panel.setFocus();
    QTest::keyClick(&panel, Qt::Key_Return);
    QCOMPARE(readBack.size(), 1);
}

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"

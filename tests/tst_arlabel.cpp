#include "panel/arlabel.h"
#include "panel/switchdrawing.h"
#include "support/switchpixels.h"

#include <QImage>
#include <QPainter>
#include <QTest>

Q_DECLARE_METATYPE(DippSetting)

using namespace SwitchPixels;

namespace {

constexpr QRgb background = 0xff808080;

QImage paintedSwitches(const DippSetting &dipp)
{
    QImage image(130, 83, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    SwitchDrawing::paint(painter, dipp);
    return image;
}

} // namespace

class TestArLabel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void pressChoosesSwitch_data();
    void pressChoosesSwitch();
    void pointerChoosesPosition_data();
    void pointerChoosesPosition();
    void onlyReportedPositionsCount();
    void sidewaysDragKeepsPressedSwitch();
    void rightButtonDragUsesLastLeftPress();
    void dragLeavesStrAdrUntilRead();
    void knobRows_data();
    void knobRows();
    void frameAndDottedLines();
    void widgetPaintsItsSetting();

private:
    void press(Qt::MouseButton button, QPoint pos);
    void moveTo(QPoint pos);

    std::unique_ptr<ArLabel> panel;
};

void TestArLabel::init()
{
    panel = std::make_unique<ArLabel>();
    panel->setStrAdr(QStringLiteral("A1"));
    panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
}

void TestArLabel::press(Qt::MouseButton button, QPoint pos)
{
    QTest::mousePress(panel.get(), button, Qt::NoModifier, pos);
}

void TestArLabel::moveTo(QPoint pos)
{
    QTest::mouseMove(panel.get(), pos);
}

void TestArLabel::pressChoosesSwitch_data()
{
    QTest::addColumn<int>("pressX");
    QTest::addColumn<int>("index");
    const QList<QPair<int, int>> cases = {{0, 0},  {23, 0}, {24, 1}, {46, 1},  {47, 0},  {48, 0},
                                          {49, 2}, {71, 2}, {72, 0}, {73, 0},  {74, 3},  {96, 3},
                                          {97, 0}, {98, 0}, {99, 4}, {127, 4}, {128, 0}, {129, 0}};
    for (const auto &[x, index] : cases)
        QTest::addRow("x=%d", x) << x << index;
}

void TestArLabel::pressChoosesSwitch()
{
    QFETCH(int, pressX);
    QFETCH(int, index);

    press(Qt::LeftButton, {pressX, 40});
    moveTo({pressX, 60});
    DippSetting expected{};
    expected[index] = 2;
    QCOMPARE(panel->positions(), expected);
}

void TestArLabel::pointerChoosesPosition_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("position");

    // Switch 3 starts at 1 (letter D) or 0 (letter A).
    QTest::newRow("y=28 none") << "1D" << 28 << 1;
    QTest::newRow("y=29 top") << "1D" << 29 << 0;
    QTest::newRow("y=31 top") << "1D" << 31 << 0;
    QTest::newRow("y=32 none") << "1D" << 32 << 1;
    QTest::newRow("y=48 none") << "1A" << 48 << 0;
    QTest::newRow("y=49 middle") << "1A" << 49 << 2;
    QTest::newRow("y=67 middle") << "1A" << 67 << 2;
    QTest::newRow("y=68 none") << "1A" << 68 << 0;
    QTest::newRow("y=69 bottom") << "1A" << 69 << 1;
    QTest::newRow("y=71 bottom") << "1A" << 71 << 1;
    QTest::newRow("y=72 none") << "1A" << 72 << 0;
    QTest::newRow("above panel") << "1D" << -20 << 1;
    QTest::newRow("below panel") << "1A" << 200 << 0;
}

void TestArLabel::pointerChoosesPosition()
{
    QFETCH(QString, start);
    QFETCH(int, y);
    QFETCH(int, position);

    panel->setStrAdr(start);
    const DippSetting before = panel->positions();
    press(Qt::LeftButton, {80, 50});
    moveTo({85, y});
    DippSetting expected = before;
    expected[3] = position;
    QCOMPARE(panel->positions(), expected);
}

void TestArLabel::onlyReportedPositionsCount()
{
    panel->setStrAdr(QStringLiteral("1B"));
    press(Qt::LeftButton, {110, 60});
    moveTo({110, 27});
    moveTo({110, 33});
    QCOMPARE(panel->positions()[4], 1);
    moveTo({110, 50});
    moveTo({110, 68});
    QCOMPARE(panel->positions()[4], 2);
}

void TestArLabel::sidewaysDragKeepsPressedSwitch()
{
    press(Qt::LeftButton, {30, 20});
    moveTo({115, 70});
    QCOMPARE(panel->positions(), (DippSetting{0, 1, 0, 0, 0}));
}

void TestArLabel::rightButtonDragUsesLastLeftPress()
{
    press(Qt::RightButton, {80, 40});
    moveTo({80, 60});
    QCOMPARE(panel->positions(), (DippSetting{2, 0, 0, 0, 0}));
    QTest::mouseRelease(panel.get(), Qt::RightButton, Qt::NoModifier, {80, 60});

    QTest::mouseClick(panel.get(), Qt::LeftButton, Qt::NoModifier, {60, 40});
    press(Qt::RightButton, {110, 40});
    moveTo({110, 70});
    QCOMPARE(panel->positions(), (DippSetting{2, 0, 1, 0, 0}));
}

void TestArLabel::dragLeavesStrAdrUntilRead()
{
    press(Qt::LeftButton, {80, 20});
    moveTo({80, 70});
    QCOMPARE(panel->positions(), (DippSetting{0, 0, 0, 1, 0}));

    QCOMPARE(panel->getStrAdr(), QStringLiteral("1D"));

    press(Qt::LeftButton, {80, 20});
    moveTo({80, 30});
    QCOMPARE(panel->positions(), (DippSetting{0, 0, 0, 0, 0}));
}

void TestArLabel::knobRows_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("top");
    const QList<QPair<int, int>> valueTops = {{0, 15}, {1, 55}, {2, 35}, {3, 15}, {-1, 15}};
    for (int index = 0; index < 5; ++index) {
        for (const auto &[value, top] : valueTops)
            QTest::addRow("switch %d = %d", index, value) << index << value << top;
    }
}

void TestArLabel::knobRows()
{
    QFETCH(int, index);
    QFETCH(int, value);
    QFETCH(int, top);

    DippSetting dipp{1, 1, 1, 1, 1};
    dipp[index] = value;
    const QImage image = paintedSwitches(dipp);
    QVERIFY(knobAt(image, index, top));
    for (const int otherTop : {15, 35, 55}) {
        if (otherTop != top)
            QVERIFY(!isBlack(image, 15 + 25 * index, otherTop + 10));
    }
}

void TestArLabel::frameAndDottedLines()
{
    const QImage image = paintedSwitches(DippSetting{});

    // Outline from (1, 1) to (128, 81), three pixels wide; outside stays untouched.
    for (const QPoint edge : {QPoint(1, 40), QPoint(128, 40), QPoint(64, 1), QPoint(64, 81)})
        QVERIFY2(isBlack(image, edge.x(), edge.y()), qPrintable(QString::number(edge.x())));
    QCOMPARE(image.pixel(0, 0), background);
    QCOMPARE(image.pixel(129, 82), background);
    QCOMPARE(image.pixel(64, 10), qRgb(255, 255, 255));

    // Dotted lines on y = 35 and 55 only: dots and gaps alternate along them.
    const auto blackInRow = [&image](int y) {
        int count = 0;
        for (int x = 5; x <= 126; ++x)
            count += isBlack(image, x, y) ? 1 : 0;
        return count;
    };
    for (const int y : {35, 55}) {
        QVERIFY2(blackInRow(y) > 25 && blackInRow(y) < 90, qPrintable(QString::number(blackInRow(y))));
    }
    for (const int y : {36, 45, 54, 56, 70})
        QCOMPARE(blackInRow(y), 0);
}

void TestArLabel::widgetPaintsItsSetting()
{
    panel->setStrAdr(QStringLiteral("14H"));
    const QImage grabbed = panel->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage expected = paintedSwitches(panel->positions());
    QCOMPARE(grabbed.size(), QSize(130, 83));
    // Inside the frame, away from the rounded corners where the background shows.
    for (const QRect inside : {QRect(3, 12, 124, 58), QRect(12, 3, 106, 77)})
        QCOMPARE(grabbed.copy(inside), expected.copy(inside));
    for (int index = 0; index < 5; ++index) {
        const int top = 15 + 20 * AddressCodec::displayRow(panel->positions()[index]);
        QVERIFY(knobAt(grabbed, index, top));
    }
}

QTEST_MAIN(TestArLabel)
#include "tst_arlabel.moc"

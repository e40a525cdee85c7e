#include "page/namewrap.h"
#include "page/tablepage.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <limits>

namespace {

constexpr int pageWidth = 13700; // A4 landscape less 10 pt margins, at 1200 per inch
constexpr QPoint tableOrigin(100, 1200);

int fixedWidth(QChar c)
{
    return c == u'W' ? 90 : 10;
}

// One region of the page, painted at full resolution.
QImage paintRegion(const QHash<QString, QString> &names, const QRect &region)
{
    QImage image(region.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(-region.topLeft());
    TablePage(names).paint(painter, pageWidth);
    return image;
}

QPoint cellOrigin(int column, int row)
{
    return tableOrigin + QPoint(1650 * column, 700 * row);
}

bool anyBlack(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) == qRgb(0, 0, 0))
                return true;
        }
    }
    return false;
}

} // namespace

class TestTablePage : public QObject
{
    Q_OBJECT

private slots:
    void cellDrawing_data();
    void cellDrawing();
    void columnLineAndSeparators();
    void nameOnlyWhereNamed();
    void wrapFixedWidths_data();
    void wrapFixedWidths();
    void wrapHugeWidths();
    void wrapVeryLongName();
    void wrapRealMetrics();
};

void TestTablePage::cellDrawing_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<int>>("knobRows");

    // A12 is 1 0 2 0 0, H1 is 0 0 0 2 1, E7 is 0 2 0 1 1; rows: 0 top, 1 middle, 2 bottom.
    QTest::newRow("A12") << 0 << 0 << QList<int>{2, 0, 1, 0, 0};
    QTest::newRow("H1") << 7 << 11 << QList<int>{0, 0, 0, 1, 2};
    QTest::newRow("E7") << 4 << 5 << QList<int>{0, 1, 0, 2, 2};
}

void TestTablePage::cellDrawing()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QList<int>, knobRows);

    const QPoint origin = cellOrigin(column, row);
    const QRect region(origin - QPoint(50, 50), QSize(900, 340));
    const QImage image = paintRegion({}, region);
    const auto at = [&](int x, int y) { return image.pixel(QPoint(x, y) + QPoint(50, 50)) == qRgb(0, 0, 0); };

    // Frame 420..790 x 0..230 with a 7.5 unit pen.
    QVERIFY(at(600, 0) && at(600, 230) && at(420, 115) && at(790, 115));
    QVERIFY(!at(600, -8) && !at(600, 238) && !at(412, 115) && !at(798, 115));
    for (int k = 0; k < 5; ++k) {
        for (int displayRow = 0; displayRow < 3; ++displayRow) {
            const bool knob = at(465 + 70 * k, 35 + 70 * displayRow);
            QVERIFY2(knob == (displayRow == knobRows[k]),
                     qPrintable(QStringLiteral("switch %1 row %2").arg(k).arg(displayRow)));
        }
        if (k > 0) {
            QVERIFY(at(430 + 70 * k, 70) || at(429 + 70 * k, 70));
            QVERIFY(!at(424 + 70 * k, 70) && !at(436 + 70 * k, 70));
        }
    }
}

void TestTablePage::columnLineAndSeparators()
{
    const QImage image = paintRegion({}, QRect(0, 0, pageWidth, 9600).adjusted(6000, 0, -6000, 0));
    const auto at = [&](int x, int y) { return image.pixel(x - 6000, y) == qRgb(0, 0, 0); };
    const int lineX = tableOrigin.x() + 6600;
    for (const int y : {1300, 5000, 9300})
        QVERIFY(at(lineX - 11, y) && at(lineX + 11, y));
    QVERIFY(!at(lineX - 16, 5000) && !at(lineX + 16, 5000));
    QVERIFY(!at(lineX, tableOrigin.y() - 20) && !at(lineX, tableOrigin.y() + 8190));

    // Separators above rows 1 to 11 only, drawn across the table.
    QVERIFY(!anyBlack(image, QRect(0, tableOrigin.y() - 260, 100, 50)));
    for (int row = 1; row < 12; ++row)
        QVERIFY(at(6500, tableOrigin.y() + 700 * row - 235));
}

void TestTablePage::nameOnlyWhereNamed()
{
    const QHash<QString, QString> names{{QStringLiteral("12A"), QStringLiteral("Weiche")},
                                        {QStringLiteral("99Z"), QStringLiteral("nie")}};
    // Names stand on a baseline at the top of the cell, so they reach above it.
    const QPoint regionTop = tableOrigin - QPoint(0, 200);
    const QRect nameArea(810, 50, 700, 380);
    const QImage image = paintRegion(names, QRect(regionTop, QSize(3300, 1600)));
    QVERIFY(anyBlack(image, nameArea));                      // A12
    QVERIFY(!anyBlack(image, nameArea.translated(0, 700)));  // A11
    QVERIFY(!anyBlack(image, nameArea.translated(1650, 0))); // B12
}

void TestTablePage::wrapFixedWidths_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("wrapped");

    // Every character is 10 wide, W 90; the limit is 80.
    // One case a line; clang-format would split the rows between their strings.
    // clang-format off
    QTest::newRow("short") << "Lager" << "Lager";
    QTest::newRow("last space") << "abc defgh" << "abc\ndefgh";
    QTest::newRow("space after limit") << "abcdefgh ij" << "abcdefg-\nh ij";
    QTest::newRow("no space") << "abcdefghijkl" << "abcdefg-\nhijkl";
    QTest::newRow("exact on last, no space") << "abcdefgh" << "abcdefg-\nh";
    QTest::newRow("exact on last, space") << "abc efgh" << "abc\nefgh";
    QTest::newRow("many lines") << QString(30, u'a') << "aaaaaaa-\naaaaaa-\naaaaaa-\naaaaaa-\naaaaa";
    QTest::newRow("wide alone") << "W" << "W";
    QTest::newRow("wide inside") << "aWb" << "a-\nW-\nb";
    QTest::newRow("wide words") << "W W" << "W\nW";
    QTest::newRow("empty") << "" << "";
    // clang-format on
}

void TestTablePage::wrapFixedWidths()
{
    QFETCH(QString, name);
    QFETCH(QString, wrapped);
    QCOMPARE(wrapName(name, 80, fixedWidth), wrapped);
}

void TestTablePage::wrapHugeWidths()
{
    // The line's width passes the range of int on the second character.
    const auto halfMaxWidth = [](QChar) { return std::numeric_limits<int>::max() / 2 + 1; };
    QCOMPARE(wrapName(QStringLiteral("ab"), std::numeric_limits<int>::max(), halfMaxWidth), QStringLiteral("a-\nb"));
}

void TestTablePage::wrapVeryLongName()
{
    const QString name(10000, u'x');
    const QStringList parts = wrapName(name, 80, fixedWidth).split(u'\n');
    // 7 characters on the first line; later lines measure the break too and hold 6.
    QCOMPARE(parts.size(), 1 + (10000 - 7 + 5) / 6);
    for (int i = 0; i + 1 < parts.size(); ++i)
        QVERIFY(parts[i].endsWith(u'-'));
    QCOMPARE(wrapName(name, 80, fixedWidth).remove(QStringLiteral("-\n")), name);
}

void TestTablePage::wrapRealMetrics()
{
    const QString name = QStringLiteral("Weichenantrieb Bahnhof Nord Gleis 3");
    const QStringList parts = wrapName(name).split(u'\n');
    QVERIFY(parts.size() >= 3);
    QCOMPARE(parts.join(u' '), name);
    const QFontMetrics metrics(QFont(QStringLiteral("Arial"), 8));
    for (const QString &part : parts) {
        int width = 0;
        for (const QChar c : part)
            width += metrics.horizontalAdvance(c);
        QVERIFY2(width < 80, qPrintable(part));
    }
}

QTEST_MAIN(TestTablePage)
#include "tst_tablepage.moc"

#include "page/namefitter.h"
#include "page/namewrap.h"
#include "page/tablegeometry.h"
#include "page/tablepage.h"
#include "page/tablepdf.h"
#include "support/coretest.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using Pdf::Word;

namespace {

constexpr int pageWidth = 13700; // A4 landscape less 10 pt margins, at 1200 per inch
constexpr QPoint tableOrigin(100, 1200);
constexpr double pointsPerUnit = 72.0 / 1200.0;
constexpr double margin = 10.0;

// Where a point of the table lands on the PDF page, in points.
QPointF onPage(double tableX, double tableY)
{
    return QPointF(margin, margin) + (QPointF(tableOrigin) + QPointF(tableX, tableY)) * pointsPerUnit;
}

} // namespace

class TestPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wrapFixedWidths_data();
    void wrapFixedWidths();
    void knobsOfCells_data();
    void knobsOfCells();
    void pdfHeadingsCaptionsAndLegends();
    void pdfNamesInTheirSpaces();

private:
    QTemporaryDir dir;
    QList<Word> words;
    // Short names, names of two to four lines, of ten lines, one without spaces and one with
    // a line break, in the top and the bottom row, beside the column line and at the page's edge.
    const Names names{
        {"12A", "Weiche 4"},
        {"3B", "Signal Nord Gleis 3"},
        {"7C", "Weichenantrieb Straßenbeleuchtung Einfahrt"},
        {"1D", "Entkupplungsgleis Süd Nord Bahnhof West Einfahrt"},
        {"5D", "Zeile eins\nZeile zwei"},
        {"12H", "Ölpumpe"},
        {"11H", "Signal Nord Signal Süd Signal Ost Signal West"}, // four lines, the most that fit
        {"10H", QStringLiteral("Hauptsignal Vorsignal ").repeated(5)},
        {"1H", QStringLiteral("Ab").repeated(150)},
        {"6E", QStringLiteral("Lokschuppen Drehscheibe Rangiergleis Bahnübergang Schranke ").repeated(3)},
        {"13A", "nie"},
    };
    const QHash<QString, FittedName::Fit> expectedFits{{"12A", FittedName::Fits},     {"3B", FittedName::Fits},
                                                       {"7C", FittedName::Smaller},   {"1D", FittedName::Smaller},
                                                       {"5D", FittedName::Fits},      {"12H", FittedName::Fits},
                                                       {"10H", FittedName::Smaller},  {"11H", FittedName::Fits},
                                                       {"1H", FittedName::Shortened}, {"6E", FittedName::Shortened}};
};

void TestPage::initTestCase()
{
    const TablePdf::Result written = TablePdf::write(dir.filePath(TablePdf::fileName), names);
    QVERIFY(written.ok);
    // Reported in the names table's order.
    QCOMPARE(written.smaller, (QStringList{"7C", "1D", "10H"}));
    QCOMPARE(written.shortened, (QStringList{"6E", "1H"}));
    words = Pdf::read(dir.filePath(TablePdf::fileName));
    // One A4 landscape page, with words on it.
    QVERIFY(words.size() > 1 && words.count(words[0]) == 1 && words[0].box.size().toSize() == QSize(842, 595));
    words.removeFirst();
}

void TestPage::wrapFixedWidths_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("wrapped");

    // Every character is 10 wide, W 90; the limit is 80.
    // clang-format off
    QTest::newRow("short") << "Lager" << "Lager";
    QTest::newRow("last space") << "ab cd efgh" << "ab cd\nefgh";
    QTest::newRow("space after limit") << "abcdefgh ij" << "abcdefg-\nh ij";
    QTest::newRow("exact on last, no space") << "abcdefgh" << "abcdefg-\nh";
    QTest::newRow("exact on last, space") << "abc efgh" << "abc\nefgh";
    QTest::newRow("many lines") << QString(30, u'a') << "aaaaaaa-\naaaaaa-\naaaaaa-\naaaaaa-\naaaaa";
    QTest::newRow("wide alone") << "W" << "W";
    QTest::newRow("wide inside") << "aWb" << "a-\nW-\nb";
    QTest::newRow("wide words") << "W W" << "W\nW";
    // clang-format on
}

void TestPage::wrapFixedWidths()
{
    QFETCH(QString, name);
    QFETCH(QString, wrapped);
    QCOMPARE(wrapName(name, 80, [](QChar c) { return c == u'W' ? 90 : 10; }), wrapped);
}

void TestPage::knobsOfCells_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<int>>("knobRows");

    // A12 is 1 0 2 0 0, H1 is 0 0 0 2 1, E7 is 0 2 0 1 1; rows: 0 top, 1 middle, 2 bottom.
    QTest::newRow("A12") << 0 << 0 << QList<int>{2, 0, 1, 0, 0};
    QTest::newRow("H1") << 7 << 11 << QList<int>{0, 0, 0, 1, 2};
    QTest::newRow("E7") << 4 << 5 << QList<int>{0, 1, 0, 2, 2};
}

void TestPage::knobsOfCells()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QList<int>, knobRows);

    // The cell at full resolution: a knob is 50 units square, 70 apart, from (440, 10).
    const QPoint origin = tableOrigin + QPoint(1650 * column, 700 * row);
    QImage image(900, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(-origin);
    TablePage({}).paint(painter, pageWidth);
    for (int k = 0; k < 5; ++k) {
        for (int displayRow = 0; displayRow < 3; ++displayRow) {
            const bool black = image.pixel(440 + 70 * k + 25, 10 + 70 * displayRow + 25) == qRgb(0, 0, 0);
            QCOMPARE(black, displayRow == knobRows[k]);
        }
    }
}

void TestPage::pdfHeadingsCaptionsAndLegends()
{
    const double half = 421;
    QCOMPARE(Pdf::joined(Pdf::wordsIn(words, QRectF(0, margin, 842, 24))),
             QStringLiteral("Dippschaltereinstellung der Adressen für VESK 2-D BUS"));
    QCOMPARE(Pdf::joined(Pdf::wordsIn(words, QRectF(0, margin + 50, half, 10))), QStringLiteral("Steuermodul 3217"));
    QCOMPARE(Pdf::joined(Pdf::wordsIn(words, QRectF(half, margin + 50, half, 10))),
             QStringLiteral("Erweiterungsmodul 3217E"));

    for (int column = 0; column < 8; ++column) {
        for (int row = 0; row < 12; ++row) {
            // Caption left in its rectangle at x 20, centred on the 230 units high cell, Arial
            // 10 pt high; the rows labelled "+", "0", "-" from top to bottom, right at x 400.
            const QString caption = QStringLiteral("%1%2").arg(QChar(u'A' + column)).arg(12 - row);
            const QList<Word> found = Pdf::wordsIn(
                words, QRectF(onPage(1650 * column, 700 * row), onPage(1650 * column + 300, 700 * row + 230)));
            QVERIFY2(found.size() == 1 && found[0].text == caption, qPrintable(Pdf::joined(found)));
            const QPointF cell = onPage(1650 * column + 20, 700 * row + 115);
            QVERIFY2(qAbs(found[0].box.left() - cell.x()) < 1.5, qPrintable(caption));
            QVERIFY2(qAbs(found[0].box.center().y() - cell.y()) < 2.0, qPrintable(caption));
            QVERIFY2(qAbs(found[0].box.height() - 11.17) < 0.2, qPrintable(caption));
            const QRectF labels(onPage(1650 * column + 300, 700 * row), onPage(1650 * column + 400, 700 * row + 230));
            const QList<Word> legend = Pdf::wordsIn(words, labels);
            QCOMPARE(Pdf::joined(legend, {}), QStringLiteral("+0-"));
            QVERIFY(qAbs(legend.first().box.top() - labels.top()) < 1.0
                    && legend.first().box.right() > labels.right() - 1);
            QVERIFY(qAbs(legend.last().box.bottom() - labels.bottom()) < 1.0);
        }
    }
}

void TestPage::pdfNamesInTheirSpaces()
{
    const NameFitter fitter(pageWidth);
    QList<Word> others = words;
    for (auto name = names.cbegin(); name != names.cend(); ++name) {
        const std::optional<QPoint> cell = TableGeometry::cellOf(name.key());
        if (!cell)
            continue;
        const QRectF table = fitter.space(cell->x(), cell->y());
        const QRectF space(onPage(table.left(), table.top()), onPage(table.right(), table.bottom()));
        const QList<Word> found = Pdf::wordsIn(words, space);
        // The lines as printed, and the words joined less the "-" that a break inserts.
        QStringList lines;
        QString text;
        for (int i = 0; i < found.size(); ++i) {
            others.removeOne(found[i]);
            QVERIFY2(space.adjusted(-0.3, -0.3, 0.3, 0.3).contains(found[i].box), qPrintable(found[i].text));
            const bool newLine = i == 0 || found[i].box.bottom() > found[i - 1].box.bottom() + 1;
            if (newLine)
                lines.append(found[i].text);
            else
                lines.last() += u' ' + found[i].text;
            if (newLine && text.endsWith(u'-'))
                text.chop(1);
            else if (i > 0)
                text += u' ';
            text += found[i].text;
        }
        const FittedName fitted = fitter.fit(*name, name.key());
        QCOMPARE(fitted.fit, expectedFits.value(name.key()));
        const QString expected = name->simplified();
        if (fitted.fit == FittedName::Shortened)
            QVERIFY2(text.endsWith(u'…') && expected.startsWith(text.chopped(1)) && found.last().text != u"…",
                     qPrintable(text));
        else
            QCOMPARE(text, expected);
        if (name->contains(u'\n'))
            QCOMPARE(lines, name->split(u'\n'));
        if (fitted.fit != FittedName::Fits)
            continue;
        // As wrapped for the screen, at 8 pt, its lines 140 units apart from the cell's name position.
        QVERIFY(qAbs(found[0].box.left() - space.left()) < 0.5);
        for (const Word &word : found) {
            const double spacing = (word.box.bottom() - found[0].box.bottom()) / (140 * pointsPerUnit);
            QVERIFY2(qAbs(spacing - qRound(spacing)) < 0.05, qPrintable(word.text));
        }
    }
    // Nothing else on the page overlaps a name.
    for (const Word &other : std::as_const(others)) {
        for (const Word &word : std::as_const(words)) {
            if (!others.contains(word))
                QVERIFY2(!other.box.intersects(word.box), qPrintable(other.text + " / " + word.text));
        }
    }
}

QTEST_MAIN(TestPage)
#include "tst_page.moc"

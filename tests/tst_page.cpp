#include "page/namefitter.h"
#include "page/namewrap.h"
#include "page/tablepage.h"
#include "page/tablepdf.h"
#include "support/pdfreader.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using PdfReader::Word;

namespace {

constexpr int pageWidth = 13700; // A4 landscape less 10 pt margins, at 1200 per inch
constexpr QPoint tableOrigin(100, 1200);
constexpr double pointsPerUnit = 72.0 / 1200.0;
constexpr double margin = 10.0;

int fixedWidth(QChar c)
{
    return c == u'W' ? 90 : 10;
}

// Where a point of the table lands on the PDF page, in points.
QPointF onPage(double tableX, double tableY)
{
    return QPointF(margin, margin) + (QPointF(tableOrigin) + QPointF(tableX, tableY)) * pointsPerUnit;
}

// A region of the page at full resolution, and whether a page point in it is black.
struct Region
{
    QImage image;
    QPoint topLeft;
    bool black(int x, int y) const { return image.pixel(QPoint(x, y) - topLeft) == qRgb(0, 0, 0); }
};

Region paintRegion(const QRect &rect)
{
    Region region{QImage(rect.size(), QImage::Format_RGB32), rect.topLeft()};
    region.image.fill(Qt::white);
    QPainter painter(&region.image);
    painter.translate(-rect.topLeft());
    TablePage({}).paint(painter, pageWidth);
    return region;
}

} // namespace

class TestPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wrapFixedWidths_data();
    void wrapFixedWidths();
    void wrapHugeWidths();
    void cellDrawing_data();
    void cellDrawing();
    void pdfPage();
    void pdfCaptionsAndLegend();
    void pdfNamesInTheirSpaces();

private:
    QTemporaryDir dir;
    QList<Word> words;
    // Short names, names of two to four lines, of ten lines, and one without spaces, in
    // the top and the bottom row, beside the column line and at the page's edge.
    const QHash<QString, QString> names{
        {"12A", "Weiche 4"},
        {"3B", "Signal Nord Gleis 3"},
        {"7C", "Weichenantrieb Straßenbeleuchtung Einfahrt"},
        {"1D", "Entkupplungsgleis Süd Nord Bahnhof West Einfahrt"},
        {"12H", "Ölpumpe"},
        {"11H", "Signal Nord Signal Süd Signal Ost Signal West"}, // four lines, the most that fit
        {"10H", QStringLiteral("Hauptsignal Vorsignal ").repeated(5)},
        {"1H", QStringLiteral("Ab").repeated(150)},
        {"6E", QStringLiteral("Lokschuppen Drehscheibe Rangiergleis Bahnübergang Schranke ").repeated(3)},
        {"13A", "nie"},
    };
    const QHash<QString, int> expectedFits{
        {"12A", FittedName::Fits},   {"3B", FittedName::Fits},      {"7C", FittedName::Smaller},
        {"1D", FittedName::Smaller}, {"12H", FittedName::Fits},     {"10H", FittedName::Smaller},
        {"11H", FittedName::Fits},   {"1H", FittedName::Shortened}, {"6E", FittedName::Shortened}};
};

void TestPage::initTestCase()
{
    QVERIFY(TablePdf::write(dir.filePath(TablePdf::fileName), names).ok);
    words = PdfReader::words(dir.filePath(TablePdf::fileName));
    QVERIFY2(!words.isEmpty(), "pdftotext found no words");
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
    QTest::newRow("no space") << "abcdefghijkl" << "abcdefg-\nhijkl";
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
    QCOMPARE(wrapName(name, 80, fixedWidth), wrapped);
}

void TestPage::wrapHugeWidths()
{
    // The line's width passes the range of int on the second character.
    const auto halfMaxWidth = [](QChar) { return std::numeric_limits<int>::max() / 2 + 1; };
    QCOMPARE(wrapName(QStringLiteral("ab"), std::numeric_limits<int>::max(), halfMaxWidth), QStringLiteral("a-\nb"));
}

void TestPage::cellDrawing_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<int>>("knobRows");

    // A12 is 1 0 2 0 0, H1 is 0 0 0 2 1, E7 is 0 2 0 1 1; rows: 0 top, 1 middle, 2 bottom.
    QTest::newRow("A12") << 0 << 0 << QList<int>{2, 0, 1, 0, 0};
    QTest::newRow("H1") << 7 << 11 << QList<int>{0, 0, 0, 1, 2};
    QTest::newRow("E7") << 4 << 5 << QList<int>{0, 1, 0, 2, 2};
}

void TestPage::cellDrawing()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QList<int>, knobRows);

    const QPoint origin = tableOrigin + QPoint(1650 * column, 700 * row);
    const Region region = paintRegion(QRect(origin - QPoint(50, 250), QSize(900, 540)));
    const auto at = [&](int x, int y) { return region.black(origin.x() + x, origin.y() + y); };

    // Frame 420..790 x 0..230 with a 7.5 unit pen.
    QVERIFY(at(600, 0) && at(600, 230) && at(420, 115) && at(790, 115));
    QVERIFY(!at(600, -8) && !at(600, 238) && !at(412, 115) && !at(798, 115));
    for (int k = 0; k < 5; ++k) {
        for (int displayRow = 0; displayRow < 3; ++displayRow) {
            // A knob is 50 units square, 70 apart, outlined 6.0 (the first) or 3.0 wide.
            const int x = 440 + 70 * k;
            const int y = 10 + 70 * displayRow;
            const bool knob = displayRow == knobRows[k];
            QCOMPARE(at(x + 25, y + 25), knob);
            QCOMPARE(at(x - 1, y + 25) && at(x + 51, y + 25), knob);
            QCOMPARE(at(x - 3, y + 25), knob && k == 0);
        }
        if (k > 0)
            QVERIFY((at(430 + 70 * k, 70) || at(429 + 70 * k, 70)) && !at(424 + 70 * k, 70) && !at(436 + 70 * k, 70));
    }
    // The separator, 6 units wide, lies 235 above the frame, but not above the top row.
    QCOMPARE(at(100, -233) && at(100, -237) && !at(100, -240), row > 0);
    // The heavy column line, 25 units wide, stands at the left of column E.
    QCOMPARE(at(-11, 115) && at(11, 115), column == 4);
}

void TestPage::pdfPage()
{
    QCOMPARE(PdfReader::pages(dir.filePath(TablePdf::fileName)), QStringList{"842x595"});

    // Text of the words whose centre lies in a band, and the band's centre.
    const auto line = [this](double top, double bottom, double left, double right) {
        QStringList texts;
        QRectF span;
        for (const Word &word : std::as_const(words)) {
            const QPointF c = word.box.center();
            if (c.y() > top && c.y() < bottom && c.x() > left && c.x() < right) {
                texts.append(word.text);
                span = span.isNull() ? word.box : span.united(word.box);
            }
        }
        return qMakePair(texts.join(u' '), span.center().x());
    };
    const double width = 842 - 2 * margin;
    const QList<QPair<QString, double>> expected = {line(margin, margin + 24, 0, 842),
                                                    line(margin + 50, margin + 60, 0, margin + width / 2),
                                                    line(margin + 50, margin + 60, margin + width / 2, 842)};
    QCOMPARE(expected[0].first, TablePage::heading);
    QCOMPARE(expected[1].first, QStringLiteral("Steuermodul 3217"));
    QCOMPARE(expected[2].first, QStringLiteral("Erweiterungsmodul 3217E"));
    const double quarters[] = {2, 1, 3};
    for (int i = 0; i < 3; ++i)
        QVERIFY(qAbs(expected[i].second - (margin + width * quarters[i] / 4)) < 2);
}

void TestPage::pdfCaptionsAndLegend()
{
    for (int column = 0; column < 8; ++column) {
        for (int row = 0; row < 12; ++row) {
            const QString caption = TablePage::cellAddress(column, row);
            const QList<Word> found = PdfReader::wordsNamed(words, caption);
            QVERIFY2(found.size() == 1, qPrintable(caption));
            // Left in its rectangle at x 20, centred on the 230 units high cell.
            const QPointF cell = onPage(1650 * column + 20, 700 * row + 115);
            QVERIFY2(qAbs(found[0].box.left() - cell.x()) < 1.5, qPrintable(caption));
            QVERIFY2(qAbs(found[0].box.center().y() - cell.y()) < 2.0, qPrintable(caption));
            // Arial 10 pt: ascent and descent make 11.17 pt.
            QVERIFY2(qAbs(found[0].box.height() - 11.17) < 0.2, qPrintable(caption));
        }
    }
    // Each cell labels its rows "+", "0", "-" from top to bottom, right-aligned at x 400.
    for (int column = 0; column < 8; ++column) {
        for (int row = 0; row < 12; ++row) {
            const QRectF labels(onPage(1650 * column + 300, 700 * row), onPage(1650 * column + 400, 700 * row + 230));
            QList<Word> found;
            for (const Word &word : std::as_const(words)) {
                if (labels.contains(word.box.center()))
                    found.append(word);
            }
            std::sort(found.begin(), found.end(),
                      [](const Word &a, const Word &b) { return a.box.top() < b.box.top(); });
            QString legend;
            for (const Word &word : std::as_const(found))
                legend += word.text;
            QCOMPARE(legend, QStringLiteral("+0-"));
            QVERIFY(qAbs(found.first().box.top() - labels.top()) < 1.0
                    && found.first().box.right() > labels.right() - 1);
            QVERIFY(qAbs(found.last().box.bottom() - labels.bottom()) < 1.0);
        }
    }
}

void TestPage::pdfNamesInTheirSpaces()
{
    const NameFitter fitter(pageWidth);
    QList<Word> others = words;
    for (auto name = names.cbegin(); name != names.cend(); ++name) {
        const std::optional<QPoint> cell = TablePage::cellOf(name.key());
        if (!cell)
            continue;
        const QRectF table = fitter.space(cell->x(), cell->y());
        const QRectF space(onPage(table.left(), table.top()), onPage(table.right(), table.bottom()));
        QList<Word> found;
        for (const Word &word : std::as_const(words)) {
            if (space.contains(word.box.center()))
                found.append(word);
        }
        std::sort(found.begin(), found.end(), [](const Word &a, const Word &b) {
            return qAbs(a.box.bottom() - b.box.bottom()) > 1 ? a.box.bottom() < b.box.bottom()
                                                             : a.box.left() < b.box.left();
        });
        // The words joined, less the "-" that a break inserts at a line's end.
        QString text;
        for (int i = 0; i < found.size(); ++i) {
            others.removeOne(found[i]);
            QVERIFY2(space.adjusted(-0.3, -0.3, 0.3, 0.3).contains(found[i].box), qPrintable(found[i].text));
            const bool newLine = i > 0 && found[i].box.bottom() > found[i - 1].box.bottom() + 1;
            if (newLine && text.endsWith(u'-'))
                text.chop(1);
            else if (i > 0)
                text += u' ';
            text += found[i].text;
        }
        const FittedName fitted = fitter.fit(*name, cell->x(), cell->y());
        const QString expected = name->simplified();
        if (fitted.fit == FittedName::Shortened)
            QVERIFY2(text.endsWith(u'…') && expected.startsWith(text.chopped(1)) && found.last().text != u"…",
                     qPrintable(text));
        else
            QCOMPARE(text, expected);
        QCOMPARE(int(fitted.fit), expectedFits.value(name.key()));
        if (fitted.fit != FittedName::Fits)
            continue;
        // As wrapped for the screen, at 8 pt, its lines 140 units apart from the cell's name position.
        QVERIFY(qAbs(found[0].box.left() - space.left()) < 0.5);
        for (const Word &word : std::as_const(found)) {
            const double lines = (word.box.bottom() - found[0].box.bottom()) / (140 * pointsPerUnit);
            QVERIFY2(qAbs(lines - qRound(lines)) < 0.05, qPrintable(word.text));
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

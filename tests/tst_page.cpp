#include "page/namefitter.h"
#include "page/namewrap.h"
#include "page/tablegeometry.h"
#include "page/tablepage.h"
#include "page/tablepdf.h"
#include "support/coretest.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

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
    void knobsOfCell();
    void pdfHeadingsCaptionsAndLegends();
    void pdfNamesInTheirSpaces();

private:
    QTemporaryDir dir;
    QList<Word> words;
    // Names of one to ten lines, without spaces or with a line break, in every corner of the table.
    const Names names{
        {"12A", "Weiche\t4"}, // a tab prints as a space
        {"3B", "Signal Nord Gleis 3"},
        {"7C", "Weichenantrieb Straßenbeleuchtung Einfahrt"},
        {"1D", "Entkupplungsgleis Süd Nord Bahnhof West Einfahrt"},
        {"5D", "Zeile eins\nZeile zwei"},
        {"12H", "Ölpumpe\tRand"},                                 // at the page's edge
        {"11H", "Signal Nord Signal Süd Signal Ost Signal West"}, // four lines, the most that fit
        {"10H", u"Hauptsignal Vorsignal "_s.repeated(5)},
        {"1H", u"Ab"_s.repeated(150)},
        {"6E", u"Lokschuppen Drehscheibe Rangiergleis Bahnübergang Schranke "_s.repeated(3)},
        {"2C", "Schnee ☃"},  // in a font Qt falls back to, if any has it
        {"4C", "Pr \uE000"}, // in no font
        {"13A", "nie"},
    };
    TablePdf::Result written;
};

void TestPage::initTestCase()
{
    written = TablePdf::write(dir.filePath(TablePdf::fileName), names);
    QVERIFY(written.ok);
    // Reported in the names table's order.
    QCOMPARE(written.smaller, (QStringList{"7C", "1D", "10H"}));
    QCOMPARE(written.shortened, (QStringList{"6E", "1H"}));
    const QStringList families = QFontDatabase::families();
    const bool snowman = std::any_of(families.cbegin(), families.cend(), [](const QString &family) {
        return QRawFont::fromFont(QFont(family)).supportsCharacter(QChar(0x2603));
    });
    QCOMPARE(written.missing, (snowman ? QStringList{"4C"} : QStringList{"2C", "4C"}));
#ifdef Q_OS_WIN // scripts/check-windows reads the Windows PDF from Linux
    QSKIP("pdftotext, which reads the PDF back, runs on Linux only");
#endif
    words = Pdf::read(dir.filePath(TablePdf::fileName));
    // One A4 landscape page, with words on it.
    QVERIFY(words.size() > 1 && words.count(words[0]) == 1 && words[0].box.size().toSize() == QSize(842, 595));
    words.removeFirst();
}

void TestPage::wrapFixedWidths_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("wrapped"); // at 8 pt, as the screen wraps
    QTest::addColumn<QString>("fitted");  // set smaller: three letters on either side of a break

    // Every character is 10 wide, W 90; the limit is 80.
    // clang-format off
    QTest::newRow("last space") << "ab cd efgh" << "ab cd\nefgh" << "ab cd\nefgh";
    QTest::newRow("exact on last, no space") << "abcdefgh" << "abcdefg-\nh" << "abcde-\nfgh";
    QTest::newRow("many lines") << QString(30, u'a') << "aaaaaaa-\naaaaaa-\naaaaaa-\naaaaaa-\naaaaa" << "aaaaaaa-\naaaaaaa-\naaaaaaa-\naaaaaa-\naaa";
    QTest::newRow("wide inside") << "aWb" << "a-\nW-\nb" << "a-\nW-\nb";
    QTest::newRow("wide after a space") << "ab Wb" << "ab\nW-\nb" << "ab\nW-\nb";
    QTest::newRow("after its own - and /") << "Nord-Süd-Ost Ein/Ausfahrt" << "Nord-Sü-\nd-Ost\nEin/Aus-\nfahrt" << "Nord-\nSüd-Ost\nEin/\nAusfa-\nhrt";
    // clang-format on
}

void TestPage::wrapFixedWidths()
{
    QFETCH(QString, name);
    QFETCH(QString, wrapped);
    QFETCH(QString, fitted);
    const CharWidth width = [](QChar c) { return c == u'W' ? 90 : 10; };
    QCOMPARE(wrapName(name, 80, width), wrapped);
    QCOMPARE(wrapWords(name, 80, width, true), std::optional(fitted.split(u'\n')));
    // Where no word is broken, so without breaking words; elsewhere not at all.
    const bool whole = QString(fitted).replace(u'\n', u' ') == name;
    QCOMPARE(wrapWords(name, 80, width, false), whole ? std::optional(fitted.split(u'\n')) : std::nullopt);
}

void TestPage::knobsOfCell()
{
    // Cell E7 (0 2 0 1 1) at full resolution: a knob is 50 units square, 70 apart, from (440, 10).
    const QList<int> knobRows{0, 1, 0, 2, 2}; // 0 top, 1 middle, 2 bottom
    const QPoint origin = tableOrigin + QPoint(1650 * 4, 700 * 5);
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
    const auto textIn = [this](QPointF topLeft, QPointF bottomRight, const QString &separator = u" "_s) {
        QStringList texts;
        for (const Word &word : Pdf::wordsIn(words, QRectF(topLeft, bottomRight)))
            texts.append(word.text);
        return texts.join(separator);
    };
    QCOMPARE(textIn({0, margin}, {842, margin + 24}), u"Dippschaltereinstellung der Adressen für VESK 2-D BUS"_s);
    QCOMPARE(textIn({0, margin + 50}, {421, margin + 60}), u"Steuermodul 3217"_s);
    QCOMPARE(textIn({421, margin + 50}, {842, margin + 60}), u"Erweiterungsmodul 3217E"_s);
    for (int column = 0; column < 8; ++column) {
        for (int row = 0; row < 12; ++row) {
            // The caption at x 20, centred on the frame, in Arial 10 pt; the rows labelled "+", "0", "-".
            const QString caption = u"%1%2"_s.arg(QChar(u'A' + column)).arg(12 - row);
            const QPointF cell = onPage(1650 * column, 700 * row);
            const QList<Word> found = Pdf::wordsIn(words, QRectF(cell, onPage(1650 * column + 300, 700 * row + 230)));
            QVERIFY2(found.size() == 1 && found[0].text == caption
                         && qAbs(found[0].box.left() - onPage(1650 * column + 20, 0).x()) < 0.3
                         && qAbs(found[0].box.center().y() - onPage(0, 700 * row + 115).y()) < 0.3
                         && qAbs(found[0].box.height() - 11.17) < 0.2,
                     qPrintable(caption));
            QCOMPARE(textIn(onPage(1650 * column + 300, 700 * row), onPage(1650 * column + 400, 700 * row + 230), {}),
                     u"+0-"_s);
        }
    }
}

void TestPage::pdfNamesInTheirSpaces()
{
    const NameFitter fitter(pageWidth);
    QList<Word> named;
    for (auto name = names.cbegin(); name != names.cend(); ++name) {
        const std::optional<QPoint> cell = TableGeometry::cellOf(name.key());
        if (!cell)
            continue;
        const QRectF table = fitter.space(cell->x(), cell->y());
        const QRectF space(onPage(table.left(), table.top()), onPage(table.right(), table.bottom()));
        const QList<Word> found = Pdf::wordsIn(words, space);
        named += found;
        QStringList lines; // as printed
        for (int i = 0; i < found.size(); ++i) {
            QVERIFY2(space.adjusted(-0.3, -0.3, 0.3, 0.3).contains(found[i].box), qPrintable(found[i].text));
            if (i == 0 || found[i].box.bottom() > found[i - 1].box.bottom() + 1)
                lines.append(found[i].text);
            else
                lines.last() += u' ' + found[i].text;
        }
        // The words joined, less the "-" that a break inserts.
        const QString text = lines.join(u'\n').replace(u"-\n"_s, QString()).replace(u'\n', u' ');
        const FittedName fitted = fitter.fit(*name, name.key());
        QCOMPARE(fitted.fit, written.smaller.contains(name.key())     ? FittedName::Smaller
                             : written.shortened.contains(name.key()) ? FittedName::Shortened
                                                                      : FittedName::Fits);
        const QString expected = QString(*name).remove(QChar(0xE000)).simplified(); // an empty box is no text
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
    // Nothing else on the page stands over a name.
    for (const Word &word : std::as_const(words)) {
        for (const Word &name : std::as_const(named))
            QVERIFY2(named.contains(word) || !word.box.intersects(name.box),
                     qPrintable(word.text + u" / "_s + name.text));
    }
}

QTEST_MAIN(TestPage)
#include "tst_page.moc"

#include "page/labelsheet.h"
#include "page/labelspdf.h"
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

#include <numeric>

using namespace Qt::StringLiterals;

using Pdf::Word;

namespace {

constexpr int pageWidth = 13700; // A4 landscape less 10 pt margins, at 1200 per inch
constexpr QPoint tableOrigin(100, 1200);
constexpr double pointsPerUnit = 72.0 / 1200.0;
constexpr double margin = 10.0;
constexpr double arialHeight = 1.117; // a word's box from descent to ascent, in points a point

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
    void everyCellAsDrawn();
    void pdfHeadingsCaptionsAndLegends();
    void pdfNamesInTheirSpaces();
    void labelSheets_data();
    void labelSheets();
    void labelsPdf();

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
        {"6G", "Entkupplungsgleis Bahnhof Nord Rangiergleis"},      // bounded by H's captions
        {"1A", "Gleis Nord Süd Ost"},                               // one step smaller, unbroken
        {"9A", u"Gleisweichenantriebsentkupplung "_s.repeated(2)},  // broken: 6 pt, between sizes too large
        {"5A", "Weichenantriebsgleis"},                             // unbroken at 5 pt only
        {"11A", u"Entkupplungsgleisweichenantrieb "_s.repeated(3)}, // broken at 5 pt only
        {"2C", "Schnee ☃"},                                         // in a font Qt falls back to, if any has it
        {"4C", "Pr \uE000"},                                        // in no font
        {"13A", "nie"},
    };
    TablePdf::Result written;
};

void TestPage::initTestCase()
{
    written = TablePdf::write(dir.filePath(TablePdf::fileName), names);
    QVERIFY(written.ok);
    // Reported in the names table's order.
    QCOMPARE(written.smaller, (QStringList{"1A", "5A", "9A", "11A", "7C", "1D", "6G", "10H"}));
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
    QCOMPARE(words.count(words.value(0)), 1);
    QCOMPARE(words[0].box.size().toSize(), QSize(842, 595));
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

void TestPage::everyCellAsDrawn()
{
    // The page at a quarter of its resolution, 300 dpi, so that a 1-unit divider is a pixel.
    QImage image(pageWidth / 4, 2400, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter = qRound(1200 / 0.0254); // text as at 1200 dpi, scaled with the rest
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QPainter painter(&image);
    painter.scale(0.25, 0.25);
    TablePage(names).paint(painter, pageWidth);
    // Ink: black, or the grey of a line thinner than a pixel.
    const auto blackAt = [&image](QPointF table, int within = 0) {
        const QPoint pixel = ((QPointF(tableOrigin) + table) / 4).toPoint();
        for (int dx = -within; dx <= within; ++dx) {
            for (int dy = -within; dy <= within; ++dy) {
                if (qGray(image.pixel(pixel + QPoint(dx, dy))) < 240)
                    return true;
            }
        }
        return false;
    };
    for (int column = 0; column < 8; ++column) {
        for (int row = 0; row < 12; ++row) {
            // Number digits and letter digits, base 3; a knob's row: 0 top, 2 middle, 1 bottom.
            const int number = 12 - row - 1;
            const int digits[] = {number / 9, number / 3 % 3, number % 3, column / 3, column % 3};
            const QPointF cell(1650 * column, 700 * row);
            const QString at = u"%1%2 "_s.arg(QChar(u'A' + column)).arg(12 - row);
            for (int k = 0; k < 5; ++k) {
                for (int displayRow = 0; displayRow < 3; ++displayRow) {
                    const bool expected = displayRow == (digits[k] == 2 ? 1 : digits[k] == 1 ? 2 : 0);
                    QVERIFY2(blackAt(cell + QPointF(465 + 70 * k, 35 + 70 * displayRow)) == expected,
                             qPrintable(at + u"knob %1 row %2"_s.arg(k).arg(displayRow)));
                }
                // Dividers between the knobs, seen in the gap between the top and middle rows.
                QVERIFY2(!blackAt(cell + QPointF(465 + 70 * k, 70)), qPrintable(at + u"between dividers"_s));
                QVERIFY2(k == 0 || blackAt(cell + QPointF(430 + 70 * k, 70), 1), qPrintable(at + u"divider"_s));
            }
            for (const QPointF edge : {QPointF(605, 0), QPointF(605, 230), QPointF(420, 115), QPointF(790, 115)})
                QVERIFY2(blackAt(cell + edge, 1), qPrintable(at + u"frame"_s));
            QVERIFY2(row == 0 || blackAt(cell + QPointF(1000, -235), 1), qPrintable(at + u"separator"_s));
            QVERIFY2(blackAt(QPointF(6600, 700 * row + 350)), qPrintable(at + u"column line"_s));
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
    for (const Word &word : Pdf::wordsIn(words, QRectF(0, margin, 842, 60))) // 16 pt, then 10 pt
        QVERIFY2(qAbs(word.box.height() - (word.box.top() < margin + 24 ? 16 : 10) * arialHeight) < 0.2,
                 qPrintable(word.text));
    for (int column = 0; column < 8; ++column) {
        for (int row = 0; row < 12; ++row) {
            // The caption at x 20, centred on the frame, in Arial 10 pt; the rows labelled "+", "0", "-".
            const QString caption = u"%1%2"_s.arg(QChar(u'A' + column)).arg(12 - row);
            const QPointF cell = onPage(1650 * column, 700 * row);
            const QList<Word> found = Pdf::wordsIn(words, QRectF(cell, onPage(1650 * column + 300, 700 * row + 230)));
            QCOMPARE(found.value(0).text + u'/' + QString::number(found.size()), caption + u"/1"_s);
            QVERIFY2(qAbs(found[0].box.left() - onPage(1650 * column + 20, 0).x()) < 0.3, qPrintable(caption));
            QVERIFY2(qAbs(found[0].box.center().y() - onPage(0, 700 * row + 115).y()) < 0.3, qPrintable(caption));
            QVERIFY2(qAbs(found[0].box.height() - 10 * arialHeight) < 0.2, qPrintable(caption));
            const QRectF legend(onPage(1650 * column + 300, 700 * row), onPage(1650 * column + 400, 700 * row + 230));
            QCOMPARE(textIn(legend.topLeft(), legend.bottomRight(), {}), u"+0-"_s);
            for (const Word &mark : Pdf::wordsIn(words, legend)) // "+" stands alone: 5 pt
                QVERIFY2(mark.text != u"+" || qAbs(mark.box.height() - 5 * arialHeight) < 0.1, qPrintable(caption));
        }
    }
}

void TestPage::pdfNamesInTheirSpaces()
{
    QList<Word> named;
    for (auto name = names.cbegin(); name != names.cend(); ++name) {
        const QString &key = name.key();
        const int column = key.back().unicode() - u'A';
        const int row = 12 - key.chopped(1).toInt();
        if (row < 0) { // no cell for it: printed nowhere
            QVERIFY(std::none_of(words.cbegin(), words.cend(), [&](const Word &word) { return word.text == *name; }));
            continue;
        }
        // From the name's place to the next column's caption (the heavy line after D, the
        // page's edge after H), between the separators above and below.
        const double right = column == 3 ? 6600 - 12.5 : column == 7 ? pageWidth - 100 : 1650 * (column + 1) + 20;
        const double top = row == 0 ? -200 : 700 * row - 235 + 3;
        const QRectF space(onPage(1650 * column + 810, top), onPage(right, 700 * row + 700 - 235 - 3));
        const QList<Word> found = Pdf::wordsIn(words, space);
        QVERIFY2(!found.isEmpty(), qPrintable(key));
        named += found;
        // One size for all its words: 8 pt, or smaller in half points, 5 pt if shortened.
        const double size = found[0].box.height() / arialHeight;
        const bool smaller = written.smaller.contains(key);
        const bool shortened = written.shortened.contains(key);
        const double at = key == u"1A"   ? 7.5
                          : key == u"9A" ? 6
                          : shortened    ? 5
                          : smaller      ? qMin(qRound(size * 2) / 2.0, 7.5)
                                         : 8;
        QVERIFY2(qAbs(size - at) < 0.05, qPrintable(key));
        QStringList lines; // as printed
        for (int i = 0; i < found.size(); ++i) {
            QVERIFY2(space.adjusted(-0.3, -0.3, 0.3, 0.3).contains(found[i].box), qPrintable(found[i].text));
            const bool fallback = found[i].text.contains(u'☃'); // another font's height
            QVERIFY2(fallback || qAbs(found[i].box.height() - size * arialHeight) < 0.05, qPrintable(found[i].text));
            // Lines 140 units apart at 8 pt, as much closer as the name is smaller.
            const double spacing = (found[i].box.bottom() - found[0].box.bottom()) / (140 * size / 8 * pointsPerUnit);
            QVERIFY2(qAbs(spacing - qRound(spacing)) < 0.05, qPrintable(found[i].text));
            if (i == 0 || found[i].box.bottom() > found[i - 1].box.bottom() + 1)
                lines.append(found[i].text);
            else
                lines.last() += u' ' + found[i].text;
        }
        QVERIFY2(qAbs(found[0].box.left() - space.left()) < 0.5, qPrintable(key));
        // A smaller name's broken word keeps three letters on either side of the break.
        for (int i = 0; smaller && i + 1 < lines.size(); ++i) {
            if (!lines[i].endsWith(u'-'))
                continue;
            QVERIFY2(lines[i].section(u' ', -1).size() > 3, qPrintable(lines[i]));
            QVERIFY2(lines[i + 1].section(u' ', 0, 0).size() >= 3, qPrintable(lines[i + 1]));
        }
        // The words joined, a line after "-" or "/" without a blank; hyphens left out.
        QString text;
        for (const QString &line : std::as_const(lines))
            text += (text.isEmpty() || text.endsWith(u'-') || text.endsWith(u'/') ? u""_s : u" "_s) + line;
        text.remove(u'-');
        const QString expected = QString(*name).remove(QChar(0xE000)).remove(u'-').simplified(); // no box is text
        if (shortened) {
            QVERIFY2(text.endsWith(u'…'), qPrintable(text));
            QVERIFY2(found.last().text != u"…", qPrintable(text)); // not alone on its line
            QVERIFY2(expected.startsWith(text.chopped(1)), qPrintable(text));
        } else {
            QCOMPARE(text, expected);
        }
        if (name->contains(u'\n') || key == u"5A")
            QCOMPARE(lines, name->split(u'\n'));
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

void TestPage::labelSheets_data()
{
    QTest::addColumn<QSizeF>("label"); // millimetres
    QTest::addColumn<QSize>("grid");   // columns, rows
    QTest::addColumn<QPointF>("first");
    QTest::addColumn<QSizeF>("pitch");

    QTest::newRow("70x37") << QSizeF(70, 37) << QSize(3, 8) << QPointF(0, 0) << QSizeF(70, 37);
    QTest::newRow("70x36") << QSizeF(70, 36) << QSize(3, 8) << QPointF(0, 4.5) << QSizeF(70, 36);
    QTest::newRow("63.5x38.1") << QSizeF(63.5, 38.1) << QSize(3, 7) << QPointF(7.25, 15.15) << QSizeF(66, 38.1);
    QTest::newRow("52.5x29.7") << QSizeF(52.5, 29.7) << QSize(4, 10) << QPointF(0, 0) << QSizeF(52.5, 29.7);
    QTest::newRow("105x37") << QSizeF(105, 37) << QSize(2, 8) << QPointF(0, 0) << QSizeF(105, 37);
    QTest::newRow("one's own") << QSizeF(60, 30) << QSize(3, 8) << QPointF(5, 10) << QSizeF(65, 35);
}

void TestPage::labelSheets()
{
    QFETCH(QSizeF, label);
    QFETCH(QSize, grid);
    QFETCH(QPointF, first);
    QFETCH(QSizeF, pitch);
    // A sheet sold everywhere, found by its name; or one's own, with the gaps the pitch leaves.
    const QString tag = QString::fromUtf8(QTest::currentDataTag());
    const LabelFormat sheet =
        LabelSheet::format(tag).value_or(LabelFormat{label, grid.width(), grid.height(), first, pitch - label});
    QCOMPARE(sheet.name(), tag == u"one's own" ? u"60x30"_s : tag);
    QVERIFY(sheet.fitsPaper());
    QCOMPARE(sheet.perSheet(), grid.width() * grid.height());
    // Row by row from the first; within the paper; none over another.
    QList<QRectF> rects;
    for (int i = 0; i < sheet.perSheet(); ++i) {
        const int row = i / grid.width();
        const QPointF at = first + QPointF(pitch.width() * (i % grid.width()), pitch.height() * row);
        QCOMPARE(sheet.labelRect(i), QRectF(at, label));
        QVERIFY(QRectF(0, 0, 210, 297).contains(rects.emplaceBack(at, label)));
        QVERIFY(std::none_of(rects.cbegin(), rects.cend() - 1,
                             [&](const QRectF &r) { return r.intersects(rects.last()); }));
    }
    // Begun at a sheet's last label, the next go on the next sheet.
    const QList<LabelSheet::Placed> placed = LabelSheet::place(sheet, {u"1A"_s, u"2A"_s}, sheet.perSheet());
    QCOMPARE(placed[0].sheet * 1000 + placed[1].sheet, 1);
    QCOMPARE(placed[0].rect, rects.last());
    QCOMPARE(placed[1].rect, rects.first());
    QVERIFY(!(LabelFormat{QSizeF(70.1, 37), 3, 8, {}, {}}.fitsPaper()));
}

void TestPage::labelsPdf()
{
#ifdef Q_OS_WIN
    QSKIP("pdftotext, which reads the PDF back, runs on Linux only");
#endif
    // The smallest labels, begun at the first sheet's last but one: two there, the rest on a second.
    const QString path = dir.filePath(LabelsPdf::fileName);
    const QStringList keys = LabelsPdf::namedKeys(names);
    QVERIFY(LabelsPdf::document(names, *LabelSheet::format(u"52.5x29.7"_s), keys, 39).writePdf(path).ok);
    const QList<Word> read = Pdf::read(path);
    QList<QList<Word>> pages;
    for (const Word &word : read)
        word.text == u"page" ? pages.append(QList<Word>{}) : pages.last().append(word);
    QCOMPARE(pages.size(), 2);
    const double mm = 72 / 25.4;
    for (int i = 0; i < keys.size(); ++i) {
        const int label = 38 + i;
        const int row = label % 40 / 4;
        const QRectF rect(QPointF(label % 4 * 52.5, row * 29.7) * mm, QSizeF(52.5, 29.7) * mm);
        const QList<Word> found = Pdf::wordsIn(pages[label / 40], rect);
        const QString text = std::accumulate(found.cbegin(), found.cend(), QString(),
                                             [](const QString &t, const Word &w) { return t + w.text + u' '; });
        // The address large, its module, the rows and switches named, the name's start; all inside.
        const auto address = std::find_if(found.cbegin(), found.cend(),
                                          [&](const Word &w) { return w.text == keys[i] && w.box.height() > 14; });
        QVERIFY2(address != found.cend(), qPrintable(text));
        QVERIFY2(qAbs(address->box.left() - rect.left() - 2.5 * mm) < 0.5, qPrintable(text)); // 2.5 mm in
        QVERIFY2(text.contains(keys[i].back() < u'E' ? u"Steuermodul 3217 "_s : u"Erweiterungsmodul 3217E "_s),
                 qPrintable(text));
        for (const QString &mark : u"+ 0 - 1 2 3 4 5"_s.split(u' '))
            QVERIFY2(std::any_of(
                         found.cbegin(), found.cend(),
                         [&](const Word &w) { return w.text == mark && qAbs(w.box.height() - 6 * arialHeight) < 0.1; }),
                     qPrintable(text)); // 6 pt
        QVERIFY2(text.contains(names.value(keys[i]).left(3)), qPrintable(text));
        for (const Word &word : found)
            QVERIFY2(rect.contains(word.box), qPrintable(keys[i] + u": "_s + word.text));
    }
}

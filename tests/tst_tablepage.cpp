#include "page/namewrap.h"
#include "page/tablepage.h"
#include "print/pageprinter.h"
#include "support/pagetest.h"

#include <QFontDatabase>
#include <QPrinter>
#include <QRawFont>

// The table's page: names wrapped, cells as drawn, the PDF read back, printed as written; a label; offsets.
class TestTablePage : public QObject, private Work
{
    Q_OBJECT

    QList<Word> words;
    TablePdf::Result written;

private slots:
    void initTestCase()
    {
        written = TablePdf::write(dir.filePath(TablePdf::fileName), names);
        QVERIFY(written.ok);
        QCOMPARE(std::pair(written.smaller, written.shortened), // in the table's order
                 std::pair(QStringList{"1A", "5A", "9A", "11A", "7C", "1D", "6G", "10H"}, QStringList{"6E", "1H"}));
        bool snowman = false; // whether any font has ☃
        for (const QString &family : QFontDatabase::families())
            snowman = snowman || QRawFont::fromFont(QFont(family)).supportsCharacter(QChar(0x2603));
        QCOMPARE(written.missing, (snowman ? QStringList{"4C"} : QStringList{"2C", "4C"}));
        VESK_SKIP_OFF_LINUX(); // every test
        words = Pdf::read(dir.filePath(TablePdf::fileName));
        // One A4 landscape page, with words on it.
        QCOMPARE(words.count(words.value(0)), 1);
        QCOMPARE(words[0].box.size().toSize(), QSize(842, 595));
        words.removeFirst();
    }

    void wrapFixedWidths_data()
    {
        // wrapped: at 8 pt, as the screen wraps. fitted: set smaller: at the dictionary's places, three letters on
        // either side. atWidth: or where the width runs out.
        addColumns<QString, QString, QString, QString>("name", "wrapped", "fitted", "atWidth");

        // Every character is 10 wide, W 90; the limit is 80. The dictionary has no place in "xxxxxxxx".
        // clang-format off
        QTest::newRow("last space") << "ab cd efgh" << "ab cd\nefgh" << "ab cd\nefgh" << "ab cd\nefgh";
        QTest::newRow("exact on last, no place") << "xxxxxxxx" << "xxxxxxx-\nx" << "xxxxx-\nxxx" << "xxxxx-\nxxx";
        QTest::newRow("a space first") << " xxxxxxxx" << "\nxxxxxxx-\nx" << "xxxxx-\nxxx" << "xxxxx-\nxxx";
        QTest::newRow("many lines") << QString(30, u'a') << "aaaaaaa-\naaaaaa-\naaaaaa-\naaaaaa-\naaaaa" << "aaaaaaa-\naaaaaaa-\naaaaaaa-\naaaaaa-\naaa" << "aaaaaaa-\naaaaaaa-\naaaaaaa-\naaaaaa-\naaa";
        QTest::newRow("wide inside") << "aWb" << "a-\nW-\nb" << "a-\nW-\nb" << "a-\nW-\nb";
        QTest::newRow("wide after a space") << "ab Wb" << "ab\nW-\nb" << "ab\nW-\nb" << "ab\nW-\nb";
        QTest::newRow("after its own - and /") << "Nord-Süd-Ost Ein/Ausfahrt" << "Nord-Sü-\nd-Ost\nEin/Aus-\nfahrt" << "Nord-\nSüd-Ost\nEin/\nAus-\nfahrt" << "Nord-\nSüd-Ost\nEin/\nAusfa-\nhrt";
        QTest::newRow("syllables") << "Gleisbesetztmeldung" << "Gleisbe-\nsetztm-\neldung" << "Gleisbe-\nsetzt-\nmeldung" << "Gleisbe-\nsetztme-\nldung";
        QTest::newRow("a character whole") << "aaaaa😀bb" << "aaaaa😀-\nbb" << "aaaaa-\n😀bb" << "aaaaa-\n😀bb";
        QTest::newRow("with its mark") << "aaaaau\xcc\x88" "bb" << "aaaaau\xcc\x88-\nbb" << "aaaaa-\nu\xcc\x88" "bb" << "aaaaa-\nu\xcc\x88" "bb";
        QTest::newRow("the last place that fits") << "Stellwerke" << "Stellwe-\nrke" << "Stell-\nwerke" << "Stellwe-\nrke";
        // clang-format on
    }

    void wrapFixedWidths()
    {
        auto [name, wrapped, fitted, atWidth] =
            fetched<QString, QString, QString, QString>("name", "wrapped", "fitted", "atWidth");
        const CharWidth width = [](QChar c) { return c == u'W' ? 90 : 10; };
        QCOMPARE(wrapName(name, 80, width), wrapped);
        QCOMPARE(wrapNameLines(name, 80, width, 2), wrapped.split(u'\n').mid(0, 2)); // stops after two lines
        QCOMPARE(wrapWords(name, 80, width, WordBreaks::Hyphenated), std::optional(fitted.split(u'\n')));
        QCOMPARE(wrapWords(name, 80, width, WordBreaks::Hyphenated, 2), std::optional(fitted.split(u'\n').mid(0, 2)));
        QCOMPARE(wrapWords(name, 80, width, WordBreaks::AtWidth), std::optional(atWidth.split(u'\n')));
        // Where no word is broken, so without breaking words; elsewhere not at all.
        const bool whole = QString(fitted).replace(u'\n', u' ') == name;
        QCOMPARE(wrapWords(name, 80, width, WordBreaks::None),
                 whole ? std::optional(fitted.split(u'\n')) : std::nullopt);
    }

    void everyCellAsDrawn()
    {
        // The page at a quarter of its resolution, 300 dpi, so that a 1-unit divider is a pixel.
        const TablePage page(names);
        const QImage image = drawn(QRect(0, 0, pageWidth, 9600), 4, [&page](QPainter &p) { page.paint(p, pageWidth); });
        const auto blackAt = [&image](QPointF table, int within = 0) { // within that many pixels
            const QPoint pixel = ((QPointF(tableOrigin) + table) / 4).toPoint();
            bool black = false;
            for (int y = pixel.y() - within; y <= pixel.y() + within; ++y)
                black = black || !inkRuns(image, y, pixel.x() - within, pixel.x() + within + 1).isEmpty();
            return black;
        };
        // Known rows: the number's three digits in base 3, then the letter's two; 0 on top, 2 in the middle.
        const QHash<QString, QList<int>> known{{"1A", {0, 0, 0, 0, 0}},  {"7C", {0, 1, 0, 0, 1}},
                                               {"12B", {2, 0, 1, 0, 2}}, {"5D", {0, 2, 2, 2, 0}},
                                               {"12H", {2, 0, 1, 1, 2}}, {"9F", {0, 1, 1, 2, 1}}};
        for (int column = 0; column < 8; ++column) {
            for (int row = 0; row < 12; ++row) {
                const QPointF cell(1650 * column, 700 * row);
                const QString key = QString::number(12 - row) + QChar(u'A' + column);
                QList<int> rows; // each switch's knob in its row, 0 top to 2 bottom; -1 none, -2 more than one
                for (int k = 0; k < 5; ++k) {
                    int found = -1;
                    for (int r = 0; r < 3; ++r)
                        found = blackAt(cell + QPointF(465 + 70 * k, 35 + 70 * r)) ? (found == -1 ? r : -2) : found;
                    rows.append(found);
                    QVERIFY2(found >= 0, qPrintable(key));
                    // Dividers between the knobs over the frame's height, seen between the knobs' rows.
                    QVERIFY2(!blackAt(cell + QPointF(465 + 70 * k, 70)), qPrintable(key + u" between dividers"_s));
                    for (const int y : {20, 70, 140, 210})
                        QVERIFY2(k == 0 || blackAt(cell + QPointF(430 + 70 * k, y), 1),
                                 qPrintable(key + u" divider"_s));
                }
                QCOMPARE(rows, known.value(key, rows));
                for (const QPointF edge : {QPointF(605, 0), QPointF(605, 230), QPointF(420, 115), QPointF(790, 115)})
                    QVERIFY2(blackAt(cell + edge, 1), qPrintable(key + u" frame"_s));
                QVERIFY2(row == 0 || blackAt(cell + QPointF(1000, -235), 1), qPrintable(key + u" separator"_s));
                QVERIFY2(blackAt(QPointF(6600, 700 * row + 350)), qPrintable(key + u" column line"_s));
            }
        }
        QVERIFY(!blackAt(QPointF(1000, -235), 1) && !blackAt(QPointF(12550, -235), 1)); // none above the first row
        // 1A at 1200 dpi: across the knobs' row (first outlined 6 units, others 3); down the last switch from the
        // separator, and the frame's left edge; across its top; down the row marks; across caption, "0", frame.
        const QPoint above1A = tableOrigin + QPoint(0, 700 * 11 - 240);
        const QImage knobs = drawn(QRect(above1A, QSize(800, 480)), 1, [&](QPainter &p) { page.paint(p, pageWidth); });
        QStringList ink;
        for (const QLineF &line : {QLineF(400, 275, 800, 275), QLineF(745, 0, 745, 480), QLineF(417, 0, 417, 480),
                                   QLineF(400, 241, 800, 241), QLineF(390, 240, 390, 480), QLineF(0, 355, 420, 355)})
            ink.append(inkAlong(knobs, line));
        QCOMPARE(ink.join(u" | "),
                 u"416-424 437-493 500-501 509-562 570-571 579-632 640-641 649-702 710-711 719-772 786-794 | "
                 "2-8 236-244 249-302 466-474 | 2-8 260-450 | 431-779 | 284-291 331-379 427-434 | "
                 "45-68 93-116 179-203 357-365 389-397 416-420"_s);
    }

    void knobHitsFollowGeometry()
    {
        // A knob is hit where it is drawn, at any size: at the centre and the top left of each of the cell's knobs
        // three times as large, and not on its right and bottom edges, which belong to the next pixel.
        const SwitchGeometry large = TableGeometry::cellSwitches.scaled(3, 1);
        QCOMPARE(SwitchPainter::knobRect(large, 0, 0).center(), QPointF(1395, 105));
        for (int k = 0; k < 5; ++k) {
            for (int row = 0; row < 3; ++row) {
                const QPointF centre = SwitchPainter::knobRect(large, k, row).center();
                const std::optional<SwitchPainter::KnobPlace> hit = SwitchPainter::knobAt(large, centre);
                QVERIFY(hit && hit->index == k && hit->row == row
                        && SwitchPainter::knobAt(large, centre - QPointF(75, 75))
                        && !SwitchPainter::knobAt(large, centre + QPointF(75, 0)) // half a knob
                        && !SwitchPainter::knobAt(large, centre + QPointF(0, 75)));
            }
        }
    }

    void pdfHeadingsCaptionsAndLegends()
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
                const QList<Word> found = Pdf::wordsIn(
                    words, QRectF(onPage(1650 * column, 700 * row), onPage(1650 * column + 300, 700 * row + 230)));
                QCOMPARE(found.value(0).text + u'/' + QString::number(found.size()), caption + u"/1"_s);
                QVERIFY2(qAbs(found[0].box.left() - onPage(1650 * column + 20, 0).x()) < 0.3, qPrintable(caption));
                QVERIFY2(qAbs(found[0].box.center().y() - onPage(0, 700 * row + 115).y()) < 0.3, qPrintable(caption));
                QVERIFY2(qAbs(found[0].box.height() - 10 * arialHeight) < 0.2, qPrintable(caption));
                const QRectF legend(onPage(1650 * column + 300, 700 * row),
                                    onPage(1650 * column + 400, 700 * row + 230));
                QCOMPARE(textIn(legend.topLeft(), legend.bottomRight(), {}), u"+0-"_s);
                for (const Word &mark : Pdf::wordsIn(words, legend)) // "+" stands alone: 5 pt
                    QVERIFY2(mark.text != u"+" || qAbs(mark.box.height() - 5 * arialHeight) < 0.1, qPrintable(caption));
            }
        }
    }

    void pdfNamesInTheirSpaces()
    {
        const QHash<QString, double> smallerSizes{{"1A", 7.5}, {"5A", 5}, {"9A", 6}, {"11A", 5}, {"7C", 5.5},
                                                  {"1D", 6},   {"6E", 5}, {"6G", 6}, {"1H", 5},  {"10H", 6}};
        QList<Word> named;
        for (auto name = names.cbegin(); name != names.cend(); ++name) {
            const QString &key = name.key();
            const int column = key.back().unicode() - u'A';
            const int row = 12 - key.chopped(1).toInt();
            if (row < 0) { // no cell for it: printed nowhere
                QVERIFY(std::none_of(words.cbegin(), words.cend(), [&](const Word &w) { return w.text == *name; }));
                continue;
            }
            // To the next column's caption (the heavy line after D, the page's edge after H), between separators.
            constexpr double rightEdges[] = {1670, 3320, 4970, 6587.5, 8270, 9920, 11570, 13600};
            const double top = row == 0 ? -200 : 700 * row - 235 + 3;
            const QRectF space(onPage(1650 * column + 810, top), onPage(rightEdges[column], 700 * row + 700 - 235 - 3));
            const QList<Word> found = Pdf::wordsIn(words, space);
            QVERIFY2(!found.isEmpty(), qPrintable(key));
            named += found;
            // One size for all its words: 8 pt, or smaller in half points, 5 pt if shortened.
            const double size = found[0].box.height() / arialHeight;
            QVERIFY2(qAbs(size - smallerSizes.value(key, 8)) < 0.05, qPrintable(key));
            QStringList lines; // as printed
            for (int i = 0; i < found.size(); ++i) {
                QVERIFY2(space.adjusted(-0.3, -0.3, 0.3, 0.3).contains(found[i].box), qPrintable(found[i].text));
                const bool snowman = found[i].text.contains(u'☃'); // another font's height
                QVERIFY2(snowman || qAbs(found[i].box.height() - size * arialHeight) < 0.05, qPrintable(found[i].text));
                // Lines 140 units apart at 8 pt, as much closer as the name is smaller.
                const double steps = (found[i].box.bottom() - found[0].box.bottom()) / (140 * size / 8 * pointsPerUnit);
                QVERIFY2(qAbs(steps - qRound(steps)) < 0.05, qPrintable(found[i].text));
                if (i == 0 || found[i].box.bottom() > found[i - 1].box.bottom() + 1)
                    lines.append(found[i].text);
                else
                    lines.last() += u' ' + found[i].text;
            }
            QVERIFY2(qAbs(found[0].box.left() - space.left()) < 0.5, qPrintable(key));
            // A smaller name's broken word keeps three letters on either side of the break.
            for (int i = 0; written.smaller.contains(key) && i + 1 < lines.size(); ++i) {
                const bool kept = lines[i].section(u' ', -1).size() > 3 && lines[i + 1].section(u' ', 0, 0).size() >= 3;
                QVERIFY2(!lines[i].endsWith(u'-') || kept, qPrintable(lines[i] + u" / "_s + lines[i + 1]));
            }
            QString text;
            for (const QString &line : std::as_const(lines))
                text += (text.isEmpty() || text.endsWith(u'-') || text.endsWith(u'/') ? u""_s : u" "_s) + line;
            text.remove(u'-');
            const QString expected = QString(*name).remove(QChar(0xE000)).remove(u'-').simplified(); // no box is text
            // Shortened: cut one letter at a time until "…" fits, where one more would not; "…" not alone.
            const bool shortened = written.shortened.contains(key);
            QCOMPARE(text, shortened ? expected.left(text.size() - 1) + u'…' : expected);
            QVERIFY2(!shortened || found.last().text != u"…", qPrintable(text));
            QVERIFY2(key != u"1H" || lines.last() == u"bAbAbAbAbAbAbAbAbAbAbA…", qPrintable(lines.last()));
            if (name->contains(u'\n') || key == u"5A")
                QCOMPARE(lines, name->split(u'\n'));
        }
        for (const Word &word : std::as_const(words)) {
            for (const Word &name : std::as_const(named))
                QVERIFY2(named.contains(word) || !word.box.intersects(name.box),
                         qPrintable(word.text + u" / "_s + name.text));
        }
    }

    void printedAsWritten()
    {
        // At 100 %: a PDF printer gets every word where the PDF has it, on its page size; with no print service, none.
        const PageDocument page = TablePdf::document(names);
        const auto tell = [](const PrintReport &r) { return r.commandLine() + u' ' + r.pages.shortened.join(u' '); };
        QStringList told{tell(PagePrinter::printTo(u"Q"_s, page, QPointF(1, 1)))};
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false"); // into a missing folder
        for (const QString &file : {u"gedruckt.pdf"_s, u"nicht/da.pdf"_s}) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFileName(dir.filePath(file)); // .pdf: a PDF printer
            PagePrinter::prepare(printer, page);
            told << printer.docName() << tell(PagePrinter::submit(printer, page));
        }
        QCOMPARE(told.join(u'\n').replace(dir.path(), u"…"_s),
                 u"cannot print on Q: the print service (CUPS) is not running 6E 1H\n"
                 "Dippschaltereinstellung der Adressen für VESK 2-D BUS\nwritten to …/gedruckt.pdf 6E 1H\n"
                 "Dippschaltereinstellung der Adressen für VESK 2-D BUS\n"
                 "cannot print on …/nicht/da.pdf: The printer could not be started. "_s);
        const QList<Word> printed = Pdf::read(dir.filePath(u"gedruckt.pdf"_s));
        QCOMPARE(printed.value(0).box.size().toSize(), QSize(842, 595));
        QCOMPARE(printed.size(), words.size() + 1);
        for (int i = 0; i < words.size(); ++i) {
            QCOMPARE(printed[i + 1].text, words[i].text);
            QVERIFY2((printed[i + 1].box.topLeft() - words[i].box.topLeft()).manhattanLength() < 0.05,
                     qPrintable(words[i].text));
        }
    }

    void namesInTheirOwnDirection()
    {
        // The cells of 7C and 8C, then their labels: an override turns its own line around, a Hebrew name runs right
        // to left ("Nord" at its end, on the left), each from where names start; the address stays where it belongs.
        const Names turned{{"7C", u"Weiche \u202EEnde"_s}, {"8C", u"תחנה Nord"_s}};
        QGuiApplication::setLayoutDirection(Qt::LeftToRight); // as the window's German translation sets it
        const QString path = dir.filePath(u"gedreht.pdf"_s);
        const auto read = [&path](const QRectF &area) { // the first word's distance from the area's left, the words
            const QList<Word> found = Pdf::wordsIn(Pdf::read(path), area);
            return std::accumulate(found.cbegin(), found.cend(),
                                   QString::number(qRound(found[0].box.left() - area.left())),
                                   [](const QString &t, const Word &w) { return t + u' ' + w.text; });
        };
        QVERIFY(TablePdf::write(path, turned).ok);
        QStringList shown{read(QRectF(onPage(3300, 3265), onPage(4940, 3965))),
                          read(QRectF(onPage(3300, 2565), onPage(4940, 3265)))};
        QVERIFY(LabelsPdf::document(turned, *LabelSheet::format(u"70x37"_s), {"7C", "8C"}, 1).writePdf(path).ok);
        for (const double left : {0.0, 70.0})
            shown << read(QRectF(QPointF(left, 0) * mm, QSizeF(70, 37) * mm));
        QCOMPARE(shown, (QStringList{"49 Weiche e d n E + 0 C7 -", "49 Nord ה נ ח ת + 0 C8 -",
                                     "7 7C Steuermodul 3217 Weiche e d n E + 0 - 1 2 3 4 5",
                                     "7 8C Steuermodul 3217 Nord ה נ ח ת + 0 - 1 2 3 4 5"}));
    }

    void labelAsDrawn()
    {
        // The first 70 x 37 mm label, 1A, at 1200 dpi: across, the frame, each knob on top (the first outlined
        // heavier), dividers of the thinnest pen (3/1200 inch or more); down the last switch, a divider frame-high.
        const PageDocument sheet = LabelsPdf::document(names, *LabelSheet::format(u"70x37"_s), {u"1A"_s}, 1);
        const QImage image = drawn(QRect(0, 0, 3307, 1748), 1, [&sheet](QPainter &p) { sheet.paintPage(p, 0); });
        QCOMPARE(inkAlong(image, QLineF(200, 670, 1550, 670)),
                 u"236-261 306-493 514-518 544-721 748-751 778-955 982-985 1012-1189 1216-1219 1246-1423 1472-1497"_s);
        QCOMPARE(inkAlong(image, QLineF(200, 1016, 1550, 1016)),
                 u"236-261 514-518 748-751 982-985 1216-1219 1472-1497"_s);
        QCOMPARE(inkAlong(image, QLineF(1334, 500, 1334, 1340)), u"540-565 581-758 1309-1334"_s);
        QCOMPARE(inkAlong(image, QLineF(516, 500, 516, 1340)), u"540-1334"_s);
        // Scaled, a drawing keeps its proportions; its pens keep at least the minimum, and none is added.
        const SwitchGeometry s =
            SwitchGeometry{QRectF(1, 1, 127, 80), 3, QPointF(5, 15), 25, 20, 20, 0, 0.5, 1, 2, 1, 127}.scaled(2, 1.5);
        QCOMPARE(std::pair(s.frame, s.knobOrigin), std::pair(QRectF(2, 2, 254, 160), QPointF(10, 30)));
        QCOMPARE((QList<qreal>{s.framePen, s.knobPitch, s.rowPitch, s.knobSize, s.knobPen, s.firstKnobPen, s.dividerPen,
                               s.dividerOffset, s.rowLinePen, s.rowLineLength}),
                 (QList<qreal>{6, 50, 40, 40, 0, 1.5, 2, 4, 2, 254}));
    }

    void shiftedDrawing_data()
    {
        // kind: the table, labels, a test sheet.
        addColumns<int, QPointF>("kind", "offset");
        QTest::addRow("table") << 0 << QPointF(2, 1);
        QTest::addRow("labels") << 1 << QPointF(2, 1);
        QTest::addRow("test sheet up and left") << 2 << QPointF(-1.5, -0.5);
    }

    // Every word and every pixel where it was, moved by the offset: at 254 dpi a millimetre is 10 pixels.
    void shiftedDrawing()
    {
        auto [kind, offset] = fetched<int, QPointF>("kind", "offset");
        const LabelFormat format = *LabelSheet::format(u"Avery L7160"_s);
        const PageDocument exact =
            kind == 0   ? TablePdf::document(names)
            : kind == 1 ? LabelsPdf::document(names, format, LabelsPdf::namedKeys(names), 15) // on two sheets
                        : LabelsPdf::testSheet(format);
        QList<QImage> images;
        QList<QList<Word>> read;
        for (const QString &file : {u"exakt"_s, u"verschoben"_s}) {
            const QString path = dir.filePath(file + u".pdf"_s);
            QVERIFY((file == u"exakt"_s ? exact : exact.shifted(offset)).writePdf(path).ok);
            read.append(Pdf::read(path));
            const QStringList toPgm{u"-r"_s, u"254"_s, u"-gray"_s, u"-singlefile"_s, path, dir.filePath(file)};
            QCOMPARE(QProcess::execute(u"pdftoppm"_s, toPgm), 0);
            images.append(QImage(dir.filePath(file + u".pgm"_s)).convertToFormat(QImage::Format_Grayscale8));
        }
        QCOMPARE(read[1].size(), read[0].size());
        for (const Word &word : std::as_const(read[0])) { // the pages where they were
            const QPointF moved = word.text == u"page" ? QPointF() : offset * mm;
            const auto there = [&](const Word &w) {
                return w.text == word.text && (w.box.topLeft() - word.box.topLeft() - moved).manhattanLength() < 0.05;
            };
            QVERIFY2(std::any_of(read[1].cbegin(), read[1].cend(), there), qPrintable(word.text));
        }
        const QPoint pixels = (offset * 10).toPoint();
        qsizetype ink = 0;
        qsizetype moved = 0;
        qsizetype stray = 0; // ink where there was none
        for (int y = 0; y < images[1].height(); ++y) {
            for (int x = 0; x < images[1].width(); ++x) {
                const QPoint from = QPoint(x, y) - pixels;
                const int was = images[0].rect().contains(from) ? images[0].constScanLine(from.y())[from.x()] : 255;
                const int is = images[1].constScanLine(y)[x];
                ink += was < 128 ? 1 : 0;
                moved += was < 128 && qAbs(is - was) < 64 ? 1 : 0;
                stray += is < 192 && was == 255 ? 1 : 0;
            }
        }
        QVERIFY2(ink > 1000 && moved > ink * 0.999 && stray == 0,
                 qPrintable(u"%1 of %2 moved, %3 stray"_s.arg(moved).arg(ink).arg(stray)));
    }
};

QTEST_MAIN(TestTablePage)
#include "tst_tablepage.moc"

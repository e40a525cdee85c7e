#include "page/labelpage.h"
#include "page/pageunits.h"
#include "print/printeroffsets.h"
#include "support/pagetest.h"

#include <QPdfWriter>

#include <numeric>

// Labels: sheets, their test sheet, layouts at every size, the formats; printers' offsets; what a print tells.
class TestLabelPage : public QObject, private Work
{
    Q_OBJECT

    QList<QSizeF> formatPages;      // each format's label size once, a page each
    QList<QList<Word>> formatWords; // the pages as pdftotext reads them
    QStringList formatImages;       // the pages as pdftoppm draws them

private slots:
    void initTestCase() { VESK_SKIP_OFF_LINUX(); }

    void labelSheets_data()
    {
        // index: among the formats offered; -1 for one's own; each row named as its format. rects: the first label, the
        // second, the last; millimetres. outlines: the test sheet's ink along three lines, mm.
        addColumns<int, int, QList<QRectF>, QString>("index", "perSheet", "rects", "outlines");

        // clang-format off
        QTest::newRow("70x37") << 0 << 24 << QList<QRectF>{{0, 0, 70, 37}, {70, 0, 70, 37}, {140, 259, 70, 37}} << "0-0.1 31.9-38.1 69.9-70.1 101.9-108.1 139.9-140 | 0-0.1 15.4-21.6 36.9-37 | 258.5-296.2";
        QTest::newRow("70x36") << 1 << 24 << QList<QRectF>{{0, 4.5, 70, 36}, {70, 4.5, 70, 36}, {140, 256.5, 70, 36}} << "0-0.1 31.9-38.1 69.9-70.1 101.9-108.1 139.9-140 | 4.4-4.6 19.4-25.6 40.4-40.5 | 256-292.6";
        QTest::newRow("63.5x38.1") << 2 << 21 << QList<QRectF>{{7.25, 15.15, 63.5, 38.1}, {73.25, 15.15, 63.5, 38.1}, {139.25, 243.75, 63.5, 38.1}} << "7.1-7.4 35.9-42.1 70.6-70.9 73.2-73.3 101.9-108.1 136.7-136.7 | 15.1-15.2 31.1-37.3 53.2-53.3 | 243.2-281.9";
        QTest::newRow("52.5x29.7") << 3 << 40 << QList<QRectF>{{0, 0, 52.5, 29.7}, {52.5, 0, 52.5, 29.7}, {157.5, 267.3, 52.5, 29.7}} << "0-0.1 23.1-29.4 52.4-52.6 75.6-81.9 104.9-105 | 0-0.1 11.8-17.9 29.6-29.7 | 266.8-296.9";
        QTest::newRow("105x37") << 4 << 16 << QList<QRectF>{{0, 0, 105, 37}, {105, 0, 105, 37}, {105, 259, 105, 37}} << "0-0.1 49.4-55.6 104.9-105.1 154.3-160.6 209.9-210 | 0-0.1 15.4-21.6 36.9-37 | 258.5-296.2";
        // One's own: 60 x 10 mm, 3 x 8, margins 5 and 10, gaps 5 and 5.
        QTest::newRow("60x10") << -1 << 24 << QList<QRectF>{{5, 10, 60, 10}, {70, 10, 60, 10}, {135, 115, 60, 10}} << "4.9-5.1 32.4-37.6 64.9-65.1 69.9-70.1 97.4-102.6 129.9-130 | 9.9-10.1 12.4-17.6 19.9-20 | 114.9-125.1";
        // clang-format on
    }

    void labelSheets()
    {
        auto [index, perSheet, rects, outlines] =
            fetched<int, int, QList<QRectF>, QString>("index", "perSheet", "rects", "outlines");
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        const LabelFormat sheet = index >= 0 ? LabelSheet::formats().value(index)
                                             : LabelFormat{QSizeF(60, 10), 3, 8, QPointF(5, 10), QSizeF(5, 5), {}, {}};
        QCOMPARE(std::pair(sheet.name(), LabelSheet::format(name).has_value()), std::pair(name, index >= 0));
        // On the paper: this sheet; not 1.2 mm too wide, no gaps; 0.9 mm by rounding; rows over each other by rounding,
        // not by more; one label, no gap; 1 mm off, as printers take.
        const auto fits = [](QSizeF label, QSizeF gaps = {0, 0}, QPointF margins = {}, int across = 3, int down = 8) {
            return LabelFormat{label, across, down, margins, gaps, {}, {}}.fitsPaper();
        };
        QCOMPARE((QList<bool>{sheet.fitsPaper(), fits({70.4, 37}), fits({70.3, 37}), fits({70, 37}, {0, -0.2}),
                              fits({70, 37}, {0, -0.3}), fits({210, 297}, {-210, -297}, {}, 1, 1),
                              fits({70, 37}, {0, 0}, {-1, -1})}),
                 (QList<bool>{true, false, true, true, false, true, true}));
        QCOMPARE(sheet.perSheet(), perSheet);
        QCOMPARE((QList<QRectF>{sheet.labelRect(0), sheet.labelRect(1), sheet.labelRect(perSheet - 1)}), rects);
        for (int i = 0; i < perSheet; ++i) {
            QVERIFY(QRectF(0, 0, 210, 297).contains(sheet.labelRect(i)));
            for (int j = 0; j < i; ++j)
                QVERIFY(!sheet.labelRect(j).intersects(sheet.labelRect(i)));
        }
        // Begun at a sheet's last label, the next go on the next sheet; begun at the first, there.
        QList<QPair<int, QRectF>> placed; // sheet, rect
        for (const auto &label :
             LabelSheet::place(sheet, {u"1A"_s, u"2A"_s}, perSheet) + LabelSheet::place(sheet, {u"1A"_s}, 1))
            placed.append({label.sheet, label.rect});
        QCOMPARE(placed, (QList<QPair<int, QRectF>>{{0, rects[2]}, {1, rects[0]}, {0, rects[0]}}));
        // The test sheet across the first label's centre, down it, and down the last one's left edge to the paper's.
        const QImage image =
            drawn(QRect(0, 0, 9921, 14031), 4, [&](QPainter &p) { LabelsPdf::testSheet(sheet).paintPage(p, 0); });
        const double pixel = 4 / PageUnits::perMillimetre; // 300 dpi
        const auto along = [&](QPointF a, QPointF b) { return inkAlong(image, QLineF(a / pixel, b / pixel), pixel); };
        const QPointF centre = rects[0].center();
        QCOMPARE(along({0, centre.y()}, {rects[1].right(), centre.y()}) + u" | "_s
                     + along({centre.x(), 0}, {centre.x(), rects[0].bottom()}) + u" | "_s
                     + along(rects[2].topLeft() - QPointF(0, 0.5), {rects[2].left(), 296.9}),
                 outlines);
    }

    void labelLayouts_data()
    {
        QTest::addColumn<QSizeF>("label"); // mm
        // mm from the label's top left, sizes in pt: the address's and module line's (M) boxes (left top width height),
        // where each mark and number begins, the drawing (D) and its pen, the name's space (N); or why refused.
        QTest::addColumn<QString>("parts");

        // clang-format off
        const QList<QPair<QSizeF, const char *>> rows{
            {{70, 37}, "18.5 2.50 2.50 12.58 7.44 | M 6.5 40.06 7.33 27.44 2.61 | 6 2.50 12.97 | 6 2.50 17.92 | 6 2.50 22.87 | 6 7.85 28.23 | 6 12.79 28.23 | 6 17.74 28.23 | 6 22.69 28.23 | 6 27.64 28.23 | D 5.00 11.44 26.69 16.79 0.53 | N 33.19 11.44 34.31 23.06"},
            {{105, 37}, "18.5 2.50 2.50 12.58 7.44 | M 6.5 75.06 7.33 27.44 2.61 | 6 2.50 13.59 | 6 2.50 19.66 | 6 2.50 25.73 | 6 8.62 32.02 | 6 14.69 32.02 | 6 20.76 32.02 | 6 26.83 32.02 | 6 32.89 32.02 | D 5.00 11.44 32.72 20.59 0.65 | N 39.22 11.44 63.28 23.06"},
            {{210, 297}, "22 2.50 2.50 14.97 8.85 | M 6.5 180.06 8.73 27.44 2.61 | 6 2.50 15.83 | 6 2.50 23.40 | 6 2.50 30.96 | 6 9.67 38.52 | 6 17.24 38.52 | 6 24.80 38.52 | 6 32.37 38.52 | 6 39.94 38.52 | D 5.00 12.85 40.81 25.68 0.81 | N 47.31 12.85 160.19 281.65"},
            {{38.1, 21.2}, "12 2.12 2.12 8.16 4.83 | M 5.5 12.76 4.73 23.22 2.21 | 6 2.12 8.35 | 6 2.12 10.77 | 6 2.12 13.19 | 6 5.33 16.43 | 6 7.75 16.43 | 6 10.17 16.43 | 6 12.59 16.43 | 6 15.01 16.43 | D 4.24 8.22 13.05 8.21 0.26 | N 18.57 8.22 17.41 10.86"},
            {{36, 18}, "8.5 1.80 1.80 5.78 3.42 | M 6 8.87 2.81 25.33 2.41 | 5 1.80 6.57 | 5 1.80 8.88 | 5 1.80 11.18 | 5 4.71 14.13 | 5 7.01 14.13 | 5 9.32 14.13 | 5 11.63 14.13 | 5 13.94 14.13 | D 3.60 6.30 12.44 7.83 0.25 | N 17.12 6.30 17.08 9.90"},
            {{33, 18}, "8.5 1.80 1.80 5.78 3.42 | M 5 10.09 3.21 21.11 2.01 | 5 1.80 6.55 | 5 1.80 8.82 | 5 1.80 11.09 | 5 4.68 14.00 | 5 6.95 14.00 | 5 9.22 14.00 | 5 11.49 14.00 | 5 13.76 14.00 | D 3.60 6.30 12.24 7.70 0.24 | N 16.92 6.30 14.28 9.90"},
            {{31, 18}, "8.5 1.80 1.80 5.78 3.42 | 5 1.80 6.55 | 5 1.80 8.82 | 5 1.80 11.09 | 5 4.68 14.00 | 5 6.95 14.00 | 5 9.22 14.00 | 5 11.49 14.00 | 5 13.76 14.00 | D 3.60 6.30 12.24 7.70 0.24 | N 16.92 6.30 12.28 9.90"},
            {{48.5, 16.9}, "12 22.02 1.69 8.16 4.83 | M 5.5 22.02 6.52 23.22 2.21 | 6 1.69 2.29 | 6 1.69 5.54 | 6 1.69 8.80 | 6 5.12 12.73 | 6 8.37 12.73 | 6 11.63 12.73 | 6 14.88 12.73 | 6 18.14 12.73 | D 3.45 1.69 17.55 11.04 0.35 | N 22.02 9.74 24.79 5.47"},
            {{64, 16.9}, "12 22.02 1.69 8.16 4.83 | M 6.5 34.87 3.90 27.44 2.61 | 6 1.69 2.29 | 6 1.69 5.54 | 6 1.69 8.80 | 6 5.12 12.73 | 6 8.37 12.73 | 6 11.63 12.73 | 6 14.88 12.73 | 6 18.14 12.73 | D 3.45 1.69 17.55 11.04 0.35 | N 22.02 7.53 40.29 7.68"},
            {{46, 13}, "12 16.65 1.30 8.16 4.83 | 5.5 1.30 1.52 | 5.5 1.30 3.91 | 5.5 1.30 6.31 | 5.5 4.07 9.43 | 5.5 6.47 9.43 | 5.5 8.86 9.43 | 5.5 11.26 9.43 | 5.5 13.65 9.43 | D 2.96 1.30 12.91 8.13 0.26 | N 16.65 6.91 28.05 4.79"},
            {{27.1, 12.3}, "12 15.81 1.23 8.16 4.83 | 5 1.23 1.49 | 5 1.23 3.76 | 5 1.23 6.04 | 5 3.87 8.96 | 5 6.15 8.96 | 5 8.42 8.96 | 5 10.70 8.96 | 5 12.98 8.96 | D 2.78 1.23 12.29 7.73 0.24 | N 15.81 6.79 10.06 4.28"},
            {{30, 40}, "20 2.50 2.50 13.61 8.04 | 6 2.50 13.14 | 6 2.50 17.30 | 6 2.50 21.46 | 6 7.30 26.16 | 6 11.46 26.16 | 6 15.62 26.16 | 6 19.78 26.16 | 6 23.94 26.16 | D 5.00 12.04 22.44 14.12 0.45 | N 2.50 30.07 25.00 7.43"},
            {{25, 25}, "10.5 2.50 2.50 7.14 4.22 | 5 2.50 8.48 | 5 2.50 10.75 | 5 2.50 13.02 | 5 6.08 15.94 | 5 8.36 15.94 | 5 10.63 15.94 | 5 12.91 15.94 | 5 15.18 15.94 | D 5.00 8.22 12.26 7.72 0.24 | N 2.50 19.45 20.00 3.05"},
            {{27, 12.3}, "Die Etiketten sind zu klein: Adresse, Schalter und eine Zeile Namen brauchen mindestens 27,1 × 12,3 mm, diese sind 27 × 12,3 mm."},
            {{25.4, 10}, "Die Etiketten sind zu klein: Adresse, Schalter und eine Zeile Namen brauchen mindestens 27,1 × 12,3 mm, diese sind 25,4 × 10 mm."},
            {{27.1, 20}, "Die Etiketten sind zu klein: Adresse, Schalter und eine Zeile Namen brauchen mindestens 29,6 × 20 mm, diese sind 27,1 × 20 mm."},
            {{100, 11}, "Die Etiketten sind zu klein: Adresse, Schalter und eine Zeile Namen brauchen mindestens 100 × 12,3 mm, diese sind 100 × 11 mm."}};
        for (const auto &[size, parts] : rows)
            QTest::addRow("%gx%g", size.width(), size.height()) << size << QString::fromUtf8(parts);
        // clang-format on
    }

    // Every part's place and size, as doc/printing.md tells the room each has.
    void labelLayouts()
    {
        auto [label, parts] = fetched<QSizeF, QString>("label", "parts");
        const LabelLayout layout = LabelLayout::of(label);
        const auto inMm = [](qreal units) { return QString::number(units / PageUnits::perMillimetre, 'f', 2); };
        const auto box = [&inMm](const QRectF &r) {
            return u"%1 %2 %3 %4"_s.arg(inMm(r.left()), inMm(r.top()), inMm(r.width()), inMm(r.height()));
        };
        QStringList shown{u"%1 "_s.arg(layout.address.pointSize) + box(layout.address.box)};
        if (layout.module)
            shown.append(u"M %1 "_s.arg(layout.module->pointSize) + box(layout.module->box));
        for (const LabelLayout::Text &text : layout.marks + layout.numbers)
            shown.append(u"%1 %2 %3"_s.arg(text.pointSize).arg(inMm(text.box.left()), inMm(text.box.top())));
        shown << u"D "_s + box(layout.drawing) + u' ' + inMm(layout.switches.framePen) << u"N "_s + box(layout.name);
        QCOMPARE(layout.fits ? shown.join(u" | "_s) : layout.reason(QLocale::German), parts);
    }

    void labelsPdf()
    {
        // The smallest labels, begun at the first sheet's last but one: two there, the rest on a second.
        const QString path = dir.filePath(LabelsPdf::fileName);
        const QStringList keys = LabelsPdf::namedKeys(names);
        const RenderResult result =
            LabelsPdf::document(names, *LabelSheet::format(u"52.5x29.7"_s), keys, 39).writePdf(path);
        QVERIFY(result.ok && result.missing.contains(u"4C"_s)); // told as for the table
        QProcess info;
        info.start(u"pdfinfo"_s, {path});
        QVERIFY(info.waitForFinished());
        const QString told = QString::fromUtf8(info.readAllStandardOutput()).simplified();
        QVERIFY(told.contains(u"Title: Etiketten Creator: VESK Adressen Rechner"_s));
        QList<QList<Word>> pages;
        for (const Word &word : Pdf::read(path))
            word.text == u"page" ? pages.append(QList<Word>{}) : pages.last().append(word);
        QCOMPARE(pages.size(), 2);
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
            QVERIFY2((address->box.topLeft() - rect.topLeft() - QPointF(2.5, 2.55) * mm).manhattanLength() < 0.5,
                     qPrintable(text)); // 2.5 mm in, the glyphs' box a little lower
            QVERIFY2(text.contains(keys[i].back() < u'E' ? u"Steuermodul 3217 "_s : u"Erweiterungsmodul 3217E "_s),
                     qPrintable(text));
            for (const QString &mark : u"+ 0 - 1 2 3 4 5"_s.split(u' '))
                QVERIFY2(std::any_of(found.cbegin(), found.cend(),
                                     [&](const Word &w) {
                                         return w.text == mark && qAbs(w.box.height() - 6 * arialHeight) < 0.1;
                                     }),
                         qPrintable(text)); // 6 pt
            QVERIFY2(text.contains(names.value(keys[i]).left(3)), qPrintable(text));
            for (const Word &word : found)
                QVERIFY2(rect.contains(word.box), qPrintable(keys[i] + u": "_s + word.text));
        }
    }

    void labelFormats_data()
    {
        // label: mm. refused: 1 or 0 where known, else -1.
        addColumns<QSizeF, int>("label", "refused");
        // One's own: a common 189-label sheet, and smaller.
        const QList<LabelFormat> own{{QSizeF(25.4, 10), 7, 27, QPointF(8.5, 13.5), QSizeF(2.5, 0), {}, {}},
                                     {QSizeF(15, 10), 12, 27, QPointF(7.5, 13.5), QSizeF(1.5, 0), {}, {}}};
        const QList<LabelFormat> formats = LabelSheet::formats() + own;
        const qsizetype sold = LabelSheet::formats().size();
        for (int i = 0; i < formats.size(); ++i) {
            const int refused = i >= sold ? 1 : formats[i].maker.isEmpty() ? 0 : -1;
            QTest::addRow("%d %s", i, qPrintable(formats[i].name())) << formats[i].label << refused;
            if (!formatPages.contains(formats[i].label))
                formatPages.append(formats[i].label);
        }
    }

    // Each format's first label, 12H, on a page of its own with 3 mm of paper around, so that ink off the label shows;
    // a size refused at the size its reason names instead. Read back: the words' boxes, and the ink drawn by poppler.
    void labelFormats()
    {
        auto [label, refused] = fetched<QSizeF, int>("label", "refused");
        constexpr double border = 3;
        const QString name =
            u"Donaudampfschifffahrtsgesellschaftskapitänswitwenrentenversicherungsanstalt Entkupplungsgleis Bahnhof Nord Rangiergleis Weichenantrieb Straßenbeleuchtung Einfahrt"_s;
        static const QRegularExpression needs(
            uR"(the labels are too small: .* need at least ([\d.]+) x ([\d.]+) mm; these are)"_s);
        const auto shown = [](QSizeF size) {
            const QRegularExpressionMatch m = needs.match(LabelLayout::of(size).reason(QLocale::English));
            return LabelLayout::of(size).fits ? size : QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
        };
        if (formatWords.isEmpty()) {
            const QString path = dir.filePath(u"formate.pdf"_s);
            QPdfWriter writer(path);
            writer.setResolution(1200);
            QPainter painter;
            const LabelPage page({{u"12H"_s, name}});
            for (const QSizeF &format : std::as_const(formatPages)) {
                const QSizeF size = shown(format);
                writer.setPageLayout(QPageLayout(
                    QPageSize(size + QSizeF(2, 2) * border, QPageSize::Millimeter, {}, QPageSize::ExactMatch),
                    QPageLayout::Portrait, {}));
                QVERIFY(painter.isActive() ? writer.newPage() : painter.begin(&writer));
                page.paint(painter, {{0, QRectF(QPointF(border, border), size), u"12H"_s}});
            }
            painter.end();
            for (const Word &word : Pdf::read(path))
                word.text == u"page" ? formatWords.append(QList<Word>{}) : formatWords.last().append(word);
            QCOMPARE(QProcess::execute(u"pdftoppm"_s, {u"-r"_s, u"72"_s, u"-gray"_s, path, dir.filePath(u"formate"_s)}),
                     0);
            formatImages = QDir(dir.path()).entryList({u"formate-*.pgm"_s});
            QCOMPARE(formatWords.size(), formatPages.size());
        }
        const LabelLayout layout = LabelLayout::of(label);
        const QSizeF size = shown(label);
        if (refused >= 0)
            QCOMPARE(!layout.fits, refused == 1);
        if (!layout.fits) {
            // For want of room: the size named holds everything (checked below), and is the least that does.
            QVERIFY(layout.reason(QLocale::German).startsWith(u"Die Etiketten sind zu klein: "_s));
            QVERIFY(size.expandedTo(label) == size && size != label);
            const QSizeF more = size - label; // beyond the rounding up to 0.1 mm where it was short
            QVERIFY(more.width() < 0.1 || !LabelLayout::of(size - QSizeF(0.2, 0)).fits);
            QVERIFY(more.height() < 0.1 || !LabelLayout::of(size - QSizeF(0, 0.2)).fits);
        }
        // Each word at least 1 mm inside the label, none below 5 pt, none over another but the name's lines; all there.
        const QRectF rect(QPointF(border, border) * mm, size * mm);
        const qsizetype page = formatPages.indexOf(label);
        const QList<Word> &words = formatWords[page];
        const auto ofName = [&name](const Word &word) {
            const QString text = QString(word.text).remove(u'…');
            return !text.isEmpty() && text != u"-" && name.contains(text.endsWith(u'-') ? text.chopped(1) : text);
        };
        QString text;
        QStringList wrong;
        for (const Word &word : words) {
            text += word.text + u' ';
            const bool over = std::any_of(words.cbegin(), words.cend(), [&](const Word &other) {
                return &other != &word && !(ofName(word) && ofName(other))
                       && word.box.adjusted(0.1, 0.1, -0.1, -0.1).intersects(other.box);
            });
            if (over || !rect.adjusted(mm, mm, -mm, -mm).contains(word.box)
                || word.box.height() < 5 * arialHeight - 0.1)
                wrong.append(word.text);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u", ")));
        const auto find = [&words](const QString &t) {
            return std::find_if(words.cbegin(), words.cend(), [&t](const Word &w) { return w.text == t; });
        };
        QVERIFY2(find(u"12H"_s) != words.cend() && find(u"12H"_s)->box.height() > 8 * arialHeight - 0.1,
                 qPrintable(text));
        for (const QString &mark : u"+ 0 - 1 2 3 4 5 Donau"_s.split(u' '))
            QVERIFY2(text.contains(mark), qPrintable(text));
        // The sheets by size have the room to break the long word rather than set the name at 5 pt.
        const auto donau =
            std::find_if(words.cbegin(), words.cend(), [](const Word &w) { return w.text.startsWith(u"Donau"); });
        QVERIFY2(refused != 0 || (donau->text.endsWith(u'-') && donau->box.height() > 5.5 * arialHeight - 0.1),
                 qPrintable(text));
        // The numbers are centred under the first and the last knob: the drawing is at least 12 mm wide.
        const SwitchGeometry &table = TableGeometry::cellSwitches;
        const double wide = (find(u"5"_s)->box.center().x() - find(u"1"_s)->box.center().x()) * table.frame.width()
                            / (4 * table.knobPitch);
        QVERIFY2(wide > 12 * mm - 0.05, qPrintable(text));
        // The drawing's ink, all ink outside the words' boxes: inside the label, and over no word.
        const QImage image(dir.filePath(formatImages[page]));
        const double scale = image.width() / (size.width() + 2 * border) / mm; // pixels a point
        QRect drawing;
        int off = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QPointF at = QPointF(x + 0.5, y + 0.5) / scale;
                if (image.constScanLine(y)[x] > 160 || std::any_of(words.cbegin(), words.cend(), [&](const Word &w) {
                        return w.box.adjusted(-1.5 / scale, -1.5 / scale, 1.5 / scale, 1.5 / scale).contains(at);
                    }))
                    continue;
                if (rect.adjusted(-1 / scale, -1 / scale, 1 / scale, 1 / scale).contains(at))
                    drawing |= QRect(x, y, 1, 1);
                else
                    ++off;
            }
        }
        QCOMPARE(off, 0);
        const QRectF ink(QPointF(drawing.left() + 1, drawing.top() + 1) / scale,
                         QPointF(drawing.right(), drawing.bottom()) / scale);
        for (const Word &word : words)
            if (ink.intersects(word.box))
                wrong.append(word.text);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u", ")));
    }

    void printerOffsets_data()
    {
        // offset: (99, 99) for none.
        addColumns<QString, QPointF>("text", "offset");
        QTest::addRow("right, down") << u"2,1"_s << QPointF(2, 1);
        QTest::addRow("left, up, blanks") << u" -0.5 , -1.5 "_s << QPointF(-0.5, -1.5);
        QTest::addRow("at the limit") << u"20,-20"_s << QPointF(20, -20);
        // clang-format off
        const QList<QPair<const char *, const char *>> refused{{"beyond it", "20.1,0"}, {"one", "2"}, {"three", "2,1,3"},
            {"semicolon", "2;1"}, {"decimal comma", "2,5,1"}, {"no number", "x,1"}, {"no number down", "1,x"},
            {"down beyond", "0,-20.5"}, {"not a number", "nan,1"}, {"infinite", "1,inf"}, {"empty", ""}};
        // clang-format on
        for (const auto &[tag, text] : refused)
            QTest::addRow("%s", tag) << QString::fromUtf8(text) << QPointF(99, 99);
    }

    // Read from the command line, kept by each printer's name, whatever characters it holds.
    void printerOffsets()
    {
        auto [text, offset] = fetched<QString, QPointF>("text", "offset");
        QVERIFY(QDir(dir.path()).mkpath(u"config/vesk-adressen"_s)
                && Files::write(dir.filePath(u"config/vesk-adressen/vesk-adressen.conf"_s),
                                "[druckerversatz]\nHP=" + text.toUtf8()));
        QCOMPARE(PrinterOffsets::of(u"HP"_s), offset == QPointF(99, 99) ? QPointF() : offset); // typed in unquoted
        const std::optional<QPointF> parsed = PrinterOffsets::parse(text);
        QCOMPARE(parsed.value_or(QPointF(99, 99)), offset);
        if (!parsed)
            return;
        const QString hp = u"Büro/HP Laser, 2. Stock"_s;
        PrinterOffsets::set(hp, *parsed);
        PrinterOffsets::set(u"Büro"_s, QPointF(3, 3));
        QCOMPARE(std::pair(PrinterOffsets::of(hp), PrinterOffsets::of(u"anderer"_s)), std::pair(offset, QPointF()));
        PrinterOffsets::set(hp, {});
        QCOMPARE(std::pair(PrinterOffsets::of(hp), PrinterOffsets::of(u"Büro"_s)), std::pair(QPointF(), QPointF(3, 3)));
    }

    void printReports_data()
    {
        // said: by the command line ("error: " where none printed), by a window.
        addColumns<PrintReport::Outcome, QString, PrintReport::Subject, QStringList>("outcome", "reason", "subject",
                                                                                     "said");

        // clang-format off
        QTest::newRow("printed") << PrintReport::Outcome::Printed << "" << PrintReport::Subject::Table << QStringList{"printed on Q", "Die Tabelle wurde auf Q gedruckt.\nKleiner gedruckt, damit sie ins Feld passen: 1A, 5A\nGekürzt gedruckt, zu lang für das Feld: 6E\nZeichen fehlen in der Schrift und werden als leere Kästchen gedruckt: 4C"};
        QTest::newRow("paused") << PrintReport::Outcome::Paused << "" << PrintReport::Subject::Labels << QStringList{"queued on Q: the printer is paused", "Die Etiketten warten in der Warteschlange von Q: der Drucker ist angehalten.\nKleiner gedruckt, damit sie aufs Etikett passen: 1A, 5A\nGekürzt gedruckt, zu lang für das Etikett: 6E\nZeichen fehlen in der Schrift: 4C"};
        QTest::newRow("held") << PrintReport::Outcome::Held << "" << PrintReport::Subject::TestSheet << QStringList{"queued on Q: the job is held", "Das Testblatt wartet in der Warteschlange von Q: der Auftrag wird zurückgehalten.\nKleiner gedruckt, damit sie aufs Etikett passen: 1A, 5A\nGekürzt gedruckt, zu lang für das Etikett: 6E\nZeichen fehlen in der Schrift: 4C"};
        QTest::newRow("sent") << PrintReport::Outcome::Sent << "" << PrintReport::Subject::Labels << QStringList{"sent to the printer Q", "Die Etiketten wurden an den Drucker Q übergeben.\nKleiner gedruckt, damit sie aufs Etikett passen: 1A, 5A\nGekürzt gedruckt, zu lang für das Etikett: 6E\nZeichen fehlen in der Schrift: 4C"};
        QTest::newRow("written") << PrintReport::Outcome::Written << "" << PrintReport::Subject::Table << QStringList{"written to Q", "Die Tabelle wurde in Q gespeichert.\nKleiner gedruckt, damit sie ins Feld passen: 1A, 5A\nGekürzt gedruckt, zu lang für das Feld: 6E\nZeichen fehlen in der Schrift und werden als leere Kästchen gedruckt: 4C"};
        QTest::newRow("refused") << PrintReport::Outcome::Refused << "" << PrintReport::Subject::Table << QStringList{"error: cannot print on Q: the queue does not accept jobs", "Der Drucker Q nimmt keine Aufträge an."};
        QTest::newRow("refused, why") << PrintReport::Outcome::Refused << "Papierstau" << PrintReport::Subject::Labels << QStringList{"error: cannot print on Q: the queue does not accept jobs (Papierstau)", "Der Drucker Q nimmt keine Aufträge an: Papierstau"};
        QTest::newRow("no service") << PrintReport::Outcome::NoService << "" << PrintReport::Subject::Table << QStringList{"error: cannot print on Q: the print service (CUPS) is not running", "Der Druckdienst (CUPS) läuft nicht."};
        QTest::newRow("no printer") << PrintReport::Outcome::NoPrinter << "" << PrintReport::Subject::Table << QStringList{"error: cannot print on Q: there is no printer 'Q'", "Den Drucker Q gibt es nicht."};
        QTest::newRow("failed") << PrintReport::Outcome::Failed << "Zeitüberschreitung" << PrintReport::Subject::TestSheet << QStringList{"error: cannot print on Q: Zeitüberschreitung", "Drucker Q: Zeitüberschreitung"};
        // clang-format on
    }

    // What the command line and a window say; a window's result holds the pages only where printed.
    void printReports()
    {
        auto [outcome, reason, subject, said] =
            fetched<PrintReport::Outcome, QString, PrintReport::Subject, QStringList>("outcome", "reason", "subject",
                                                                                      "said");
        PrintReport report = PrintReport::of(outcome, u"Q"_s, reason);
        report.pages = RenderResult{true, {}, {u"1A"_s, u"5A"_s}, {u"6E"_s}, {u"4C"_s}};
        const RenderResult result = report.result();
        QCOMPARE((report.ok() ? u""_s : u"error: "_s) + report.commandLine(), said[0]);
        QCOMPARE((QStringList{report.windowText(subject)} + PrintReport::windowFits(result, subject)).join(u'\n'),
                 said[1]);
        QCOMPARE(result.error, report.ok() ? QString() : said[1]);
        QCOMPARE(PrintReport::of(PrintReport::Outcome::Failed, {}, u"nie übergeben"_s).windowReason(),
                 u"nie übergeben"_s);
    }
};

QTEST_MAIN(TestLabelPage)
#include "tst_labelpage.moc"

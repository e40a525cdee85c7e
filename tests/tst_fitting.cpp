#include "page/hyphenation.h"
#include "page/labelspdf.h"
#include "page/tablepdf.h"
#include "support/coretest.h"

// Long German names as they print, with their lines written out as a German reader breaks
// them; the same table runs on Linux and, cross-built, under Wine.
class TestFitting : public QObject
{
    Q_OBJECT

private slots:
    void dictionaryPlaces_data()
    {
        // places: the word with "·" where it may break.
        addColumns<QString, QString>("word", "places");

        // clang-format off
        QTest::newRow("syllables") << u"Entkupplungsgleis Gleisbesetztmeldung"_s << u"Ent·kupp·lungs·gleis Gleis·be·setzt·mel·dung"_s;
        QTest::newRow("three letters at the ends") << u"Anlage Straßenbahnhaltestelle"_s << u"Anlage Stra·ßen·bahn·hal·te·stelle"_s;
        QTest::newRow("marks composed") << u"Zusta\u0308ndigkeitsu\u0308bertragung"_s << u"Zusta\u0308n·dig·keits·u\u0308ber·tra·gung"_s;
        QTest::newRow("ck before a consonant") << u"Gleisrückmeldung Brücke"_s << u"Gleis·rück·mel·dung Brü·cke"_s;
        QTest::newRow("upper case") << u"GLEISBESETZTMELDUNG"_s << u"GLEIS·BE·SETZT·MEL·DUNG"_s;
        QTest::newRow("runs of letters") << u"Nord-Einfahrt3Schifffahrt"_s << u"Nord-Ein·fahrt3Schiff·fahrt"_s;
        QTest::newRow("letters it does not hold") << u"İGleisbesetzt Ωgleisbesetzt"_s << u"İGleis·be·setzt Ωgleis·be·setzt"_s;
        QTest::newRow("a pattern with a blank after it") << u"Idealbahnhof"_s << u"Ide·al·bahn·hof"_s;
        QTest::newRow("a pattern at the word's end") << u"Anlaufserie"_s << u"Anlauf·serie"_s;
        QTest::newRow("none") << u"xxxxxxxx"_s << u"xxxxxxxx"_s;
        QTest::newRow("nothing") << QString() << QString();
        // clang-format on
    }

    void dictionaryPlaces()
    {
        auto [word, places] = fetched<QString, QString>("word", "places");
        QString marked = word;
        const QList<qsizetype> breaks = Hyphenation::german().breaks(word);
        for (auto place = breaks.crbegin(); place != breaks.crend(); ++place)
            marked.insert(*place, u'·');
        QCOMPARE(marked, places);
    }

    // Missing, or holding no pattern.
    void withoutDictionary()
    {
        const QTemporaryDir dir;
        const QString empty = dir.filePath(u"leer.dic"_s);
        QVERIFY(Files::write(empty, "ISO8859-1\nLEFTHYPHENMIN 2\n"));
        for (const QString &path : {dir.filePath(u"nowhere.dic"_s), empty}) {
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(u"^The hyphenation dictionary .*(nowhere|leer).dic "
                                                    "cannot be read: long words are broken without it"_s));
            const Hyphenation missing(path);
            QCOMPARE(std::pair(missing.isLoaded(), missing.breaks(u"Gleisbesetztmeldung"_s)),
                     std::pair(false, QList<qsizetype>()));
        }
    }

    void printedLines_data()
    {
        // sheet: a label format, or the table's cell of 1A. printed: the lines, then the size in points.
        addColumns<QString, QString, QString>("sheet", "name", "printed");

        // clang-format off
        const QList<std::array<const char *, 3>> rows{
            {"52.5x29.7", "Bahnübergangssicherungsanlage Süd", "Bahnübergangssi- | cherungsanlage | Süd · 8"},
            {"52.5x29.7", "Drehscheibenpositionsrückmeldung", "Drehscheibenposi- | tionsrückmeldung · 8"},
            {"52.5x29.7", "Gleisbesetztmeldung Nord-Südeinfahrtsweichenantrieb", "Gleisbesetztmel- | dung | Nord- | Südeinfahrtswei- | chenantrieb · 8"},
            {"52.5x29.7", "Signal 08154701123498765432100815470112", "Signal | 081547011234987- | 65432100815470- | 112 · 8"},
            {"52.5x29.7", "Kraft\u00adfahr\u00adzeug\u00adhaft\u00adpflicht\u00adver\u00adsiche\u00adrungs", "Kraftfahrzeughaft- | pflichtversiche- | rungs · 8"},
            {"52.5x29.7", "Donaudampfschifffahrtsge", "Donaudampfschifffahrtsge · 5.5"}, // whole above the smallest
            {"52.5x29.7", "Kfz–Zulassungsstellenverwaltungsgebäude", "Kfz– | Zulassungsstellen- | verwaltungsge- | bäude · 8"},
            {"70x37", "Drehscheibenpositionsrückmeldung West", "Drehscheibenpositionsrückmeldung | West · 6"}, // whole if it can be
            {"70x37", "Donaudampfschifffahrtsgesellschaftskapitänswitwenrentenversicherungsanstalt", "Donaudampfschifffahrtsge- | sellschaftskapitänswitwen- | rentenversicherungsan- | stalt · 8"},
            {"table", "Bahnübergangssicherungsanlage Süd", "Bahnüber- | gangssiche- | rungsanlage | Süd · 7.5"},
            {"table", "Gleisweichenantriebsentkupplung Gleisweichenantriebsentkupplung", "Gleisweichenan- | triebsentkupplung | Gleisweichenan- | triebsentkupplung · 6"},
            {"table", "Entkupplungsgleis Bahnhof Nord", "Entkupplungsgleis | Bahnhof Nord · 6"},
            {"table", "Entkupplungsgleisweiche", "Entkupplungs- | gleisweiche · 7.5"},
            {"table", "Weichenantriebsgleis", "Weichenantriebsgleis · 5"},
            {"table", "Drehscheibenpositionsrückmeldung", "Drehscheiben- | positionsrück- | meldung · 7.5"},
            {"table", "Signalbrückenbeleuchtung", "Signalbrücken- | beleuchtung · 7.5"},
            // Shortened if broken at syllables: printed whole, broken where the width runs out.
            {"table", "Kupplungsantriebsstraßenscheibensignal Positionsentkupplungsantriebssignal", "Kupplungsantriebs- | straßenscheibensi- | gnal | Positionsentkupp- | lungsantriebssignal · 5.5"},
            {"table", "Kupplungsrückbeleuchtungsversorgungs Versorgungsdreheinfahrts Loksignalausfahrtsweichenkastenweichen", "Kupplungsrückbeleuc- | htungsversorgungs | Versorgungsdreheinfa- | hrts | Loksignalausfahrtswei- | chenkastenweichen · 5"},
        };
        for (const auto &[sheet, name, printed] : rows)
            QTest::addRow("%s %s", sheet, name) << QString::fromUtf8(sheet) << QString::fromUtf8(name) << QString::fromUtf8(printed);
        // clang-format on
    }

    void printedLines()
    {
        auto [sheet, name, printed] = fetched<QString, QString, QString>("sheet", "name", "printed");
        const Names names{{u"1A"_s, name}};
        const PageDocument document = sheet == u"table"_s
                                          ? TablePdf::document(names)
                                          : LabelsPdf::document(names, *LabelSheet::format(sheet), {u"1A"_s}, 1);
        const NameFits fits = document.fits();
        QCOMPARE(fits.size(), 1);
        const FittedName &fitted = fits.first().second;
        QCOMPARE(fitted.lines.join(u" | "_s) + u" · "_s + QString::number(fitted.pointSize), printed);
    }
};

QTEST_MAIN(TestFitting)
#include "tst_fitting.moc"

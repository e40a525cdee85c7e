#include "page/labelspdf.h"
#include "page/tablepdf.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Long German names as they print, with their lines written out as a German reader breaks
// them; the same table runs on Linux and, cross-built, under Wine.
class TestFitting : public QObject
{
    Q_OBJECT

private slots:
    void printedLines_data()
    {
        QTest::addColumn<QString>("sheet"); // a label format, or the table's cell of 1A
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("printed"); // the lines, then the size in points

        // clang-format off
        const QList<std::array<const char *, 3>> rows{
            {"52.5x29.7", "Bahnübergangssicherungsanlage Süd", "Bahnübergangssi- | cherungsanlage | Süd · 8"},
            {"52.5x29.7", "Drehscheibenpositionsrückmeldung", "Drehscheibenposi- | tionsrückmeldung · 8"},
            {"52.5x29.7", "Gleisbesetztmeldung Nord-Südeinfahrtsweichenantrieb", "Gleisbesetztmel- | dung | Nord- | Südeinfahrtswei- | chenantrieb · 8"},
            {"52.5x29.7", "Signal 08154701123498765432100815470112", "Signal | 081547011234987- | 65432100815470- | 112 · 8"},
            {"70x37", "Bahnübergangssicherungsanlage Süd", "Bahnübergangssicherungsanlage | Süd · 6"},
            {"70x37", "Donaudampfschifffahrtsgesellschaftskapitänswitwenrentenversicherungsanstalt", "Donaudampfschifffahrtsge- | sellschaftskapitänswitwen- | rentenversicherungsan- | stalt · 8"},
            {"table", "Bahnübergangssicherungsanlage Süd", "Bahnüber- | gangssiche- | rungsanlage | Süd · 7.5"},
            {"table", "Gleisweichenantriebsentkupplung Gleisweichenantriebsentkupplung", "Gleisweichenan- | triebsentkupplung | Gleisweichenan- | triebsentkupplung · 6"},
            {"table", "Entkupplungsgleis Bahnhof Nord", "Entkupplungsgleis | Bahnhof Nord · 6"},
            {"table", "Entkupplungsgleisweiche", "Entkupplungs- | gleisweiche · 7.5"},
            {"table", "Weichenantriebsgleis", "Weichenantriebsgleis · 5"}, // whole where it can be
            {"table", "Drehscheibenpositionsrückmeldung", "Drehscheiben- | positionsrück- | meldung · 7.5"},
            {"table", "Signalbrückenbeleuchtung", "Signalbrücken- | beleuchtung · 7.5"},
            // Shortened if broken at syllables: printed whole, broken where the width runs out.
            {"table", "Kupplungsantriebsstraßenscheibensignal Positionsentkupplungsantriebssignal", "Kupplungsantriebs- | straßenscheibensi- | gnal | Positionsentkupp- | lungsantriebssignal · 5.5"},
            {"table", "Kupplungsantriebsstraßenscheibensignal Positionsentkupplungsantriebssignal Positionsantriebsentkupplungs", "Kupplungsantriebsstr- | aßenscheibensignal | Positionsentkupplung- | santriebssignal | Positionsantriebsentk- | upplungs · 5"},
        };
        for (const auto &[sheet, name, printed] : rows)
            QTest::addRow("%s %s", sheet, name) << QString::fromUtf8(sheet) << QString::fromUtf8(name) << QString::fromUtf8(printed);
        // clang-format on
    }

    void printedLines()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, name);
        QFETCH(QString, printed);
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

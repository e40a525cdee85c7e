#include "address/addresscodec.h"
#include "document/namesdocument.h"
#include "names/namerules.h"
#include "names/namescsv.h"
#include "support/coretest.h"
#include "support/storetest.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using NamesCsv::ErrorKind;

namespace {

QString spaced(const DippSetting &dipp)
{
    QStringList positions;
    for (const int position : dipp)
        positions.append(QString::number(position));
    return positions.join(u' ');
}

} // namespace

// Addresses, names lists, pasted blocks and the undo of a window's names.
class TestNames : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void decode_data();
    void decode();
    void parseGood_data();
    void parseGood();
    void parseBad_data();
    void parseBad();
    void savedLayoutReadsBack();
    void paste_data();
    void paste();
    void undoRedo_data();
    void undoRedo();

private:
    QString store() const { return dir->filePath(u"vesk-adressen/namen.csv"_s); }
    std::unique_ptr<QTemporaryDir> dir;
};

void TestNames::init()
{
    dir = std::make_unique<QTemporaryDir>();
    qputenv(NamesStore::dataHomeVariable, QDir::toNativeSeparators(dir->path()).toUtf8());
}

void TestNames::decode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("dipp");
    QTest::addColumn<QString>("canonical");
    QTest::addColumn<bool>("plain");

    // clang-format off
    QTest::newRow("c7, either case") << "c7" << "0 2 0 0 2" << "7C" << true;
    QTest::newRow("leading zero") << "A07" << "0 2 0 0 0" << "7A" << true;
    QTest::newRow("blanks around and between") << " 12 b " << "1 0 2 0 1" << "12B" << true;
    QTest::newRow("blank between, letter first") << "C\t 7" << "0 2 0 0 2" << "7C" << true;
    QTest::newRow("a letter beyond H") << "I3" << "0 0 2 2 2" << "3I" << true;
    QTest::newRow("no letter") << "10" << "1 0 0 0 0" << "10A" << false;
    QTest::newRow("AB5") << "AB5" << "0 1 1 0 1" << "5B" << false;
    // The latest letter in the alphabet wins, not the first one found.
    QTest::newRow("CB5") << "CB5" << "0 1 1 0 2" << "5C" << false;
    QTest::newRow("28") << "28A" << "3 0 0 0 0" << "28A" << true;
    QTest::newRow("largest number") << "4294967295A" << "477218588 0 2 0 0" << "4294967295A" << true;
    // Number 0: the number switches stay at 0, the letter still counts.
    QTest::newRow("zero") << "0C" << "0 0 0 0 2" << "1C" << false;
    QTest::newRow("letter O for zero") << "1O" << "0 0 0 0 0" << "1A" << false;
    QTest::newRow("two addresses") << "7C;8D" << "0 0 0 1 0" << "1D" << false;
    QTest::newRow("beyond 32 bits") << "4294967296G" << "0 0 0 2 0" << "1G" << false;
    // Blanks around and a plus sign pass the number conversion; a minus or inner blank does not.
    QTest::newRow("plus") << "+7B" << "0 2 0 0 1" << "7B" << false;
    QTest::newRow("minus") << "-7B" << "0 0 0 0 1" << "1B" << false;
    // clang-format on
}

void TestNames::decode()
{
    QFETCH(QString, text);
    QFETCH(QString, dipp);
    QFETCH(QString, canonical);
    QFETCH(bool, plain);

    QCOMPARE(AddressCodec::isPlainAddress(text), plain);
    const DippSetting decoded = AddressCodec::decode(text.toUpper());
    QCOMPARE(spaced(decoded), dipp);
    QCOMPARE(AddressCodec::encode(decoded), canonical);
    // Names go with the 96 addresses written as addresses, and with no other text.
    const bool named = plain && NamedAddresses::keysInTableOrder().contains(canonical);
    QCOMPARE(NamedAddresses::parse(text), named ? std::optional(canonical) : std::nullopt);
}

void TestNames::parseGood_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<Names>("names");

    // clang-format off
    QTest::newRow("semicolon, both forms") << QByteArray("Adresse;Name\n12A;Lager\nA3;Tor\n") << Names{{"12A", "Lager"}, {"3A", "Tor"}};
    QTest::newRow("comma") << QByteArray("Adresse,Name\nb2,Tor\n") << Names{{"2B", "Tor"}};
    QTest::newRow("trailing separators") << QByteArray("Adresse;Name;\n1A;x;\n2A;;\n3A;z\n") << Names{{"1A", "x"}, {"2A", ""}, {"3A", "z"}};
    QTest::newRow("tab, blanks, columns swapped") << QByteArray("Name\tAdresse\nSignal\t h5 \n") << Names{{"5H", "Signal"}};
    QTest::newRow("BOM and CRLF") << QByteArray("\xEF\xBB\xBF" "Adresse;Name\r\n1A;Ölpumpe\r\n") << Names{{"1A", "Ölpumpe"}};
    QTest::newRow("Windows-1252") << QByteArray("Adresse;Name\r\n1A;Gr\xFC\xDF" "e\r\n2A;\x80 5\r\n3A;\x84" "Anf\xFChrung\x93\r\n")
                                  << Names{{"1A", "Grüße"}, {"2A", "€ 5"}, {"3A", "„Anführung“"}};
    QTest::newRow("quoted fields") << QByteArray("Adresse;Name\n1A;\"a;b \"\"c\"\"\"\n\"2A\";\"zwei\r\nZeilen\"\r\n")
                                   << Names{{"1A", "a;b \"c\""}, {"2A", "zwei\nZeilen"}};
    QTest::newRow("blank line, empty name, no final line end") << QByteArray("Adresse;Name\n\n1A;\n2A;x") << Names{{"1A", ""}, {"2A", "x"}};
    QTest::newRow("empty rows and columns") << QByteArray("Adresse;Name;;\n;\n1A;x;;\r\n;;\n2A;\n;\n") << Names{{"1A", "x"}, {"2A", ""}};
    QTest::newRow("UTF-8 with a zero byte") << QByteArrayLiteral("Adresse;Name\n1A;a\0b\n") << Names{{"1A", u"a\0b"_s}};
    QTest::newRow("CR alone, mixed") << QByteArray("Adresse;Name\r1A;x\r\"2A\";\"zwei\rZeilen\"\r3A;\"a\nb\"\r\n4A;y\n") << Names{{"1A", "x"}, {"2A", "zwei\nZeilen"}, {"3A", "a\nb"}, {"4A", "y"}};
    const QString accents = QString(u"e\u0301"_s).repeated(NameRules::maxLength); // 1000 characters in 2000 code units
    QTest::newRow("longest name") << (u"Adresse;Name\n1A;"_s + accents).toUtf8() << Names{{"1A", accents}};
    for (const auto encoding : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
        for (const auto flag : {QStringEncoder::Flag::WriteBom, QStringEncoder::Flag::Default})
            QTest::addRow("UTF-16 %d %d", encoding, int(flag)) << QByteArray(QStringEncoder(encoding, flag)(u"Adresse\tName\r\n1A\t€ Öl 😀\r\n"_s)) << Names{{"1A", "€ Öl 😀"}};
    }
    // clang-format on
}

void TestNames::parseGood()
{
    QFETCH(QByteArray, data);
    QFETCH(Names, names);
    const NamesCsv::ReadResult result = NamesCsv::parse(data);
    QCOMPARE(result.error.kind, ErrorKind::None);
    QCOMPARE(result.names, names);
}

void TestNames::parseBad_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("english"); // as the command line says it

    const QString header = u"line 1: the header must name the columns Adresse and Name"_s;
    const QString unknown = u"line %1: '%2' is not one of the addresses A-H 1-12"_s;
    // clang-format off
    QTest::newRow("empty") << QByteArray() << header;
    QTest::newRow("no name column") << QByteArray("Adresse;Titel\n1A;x\n") << header;
    QTest::newRow("number 13") << QByteArray("Adresse;Name\n1A;x\n13A;x\n") << unknown.arg(3).arg("13A");
    QTest::newRow("lines counted inside quotes") << QByteArray("Adresse;Name\n1A;\"a\nb\"\n99Z;x\n") << unknown.arg(4).arg("99Z");
    QTest::newRow("three fields") << QByteArray("Adresse;Name\n1A;x;y\n") << "line 2: a line needs 2 fields, this one has 3";
    QTest::newRow("one field") << QByteArray("Adresse;Name\n\n1A\n") << "line 3: a line needs 2 fields, this one has 1";
    QTest::newRow("other column") << QByteArray("Ort;Adresse;Name\n") << "line 1: the header has a column 'Ort' besides Adresse and Name";
    QTest::newRow("twice") << QByteArray("Adresse;Name\n1A;x\na1;y\n") << "line 3: address 1A is listed twice";
    QTest::newRow("open quote") << QByteArray("Adresse;Name\n1A;\"offen\n2A;x\n") << "line 2: a quoted field is not closed";
    QTest::newRow("text after quote") << QByteArray("Adresse;Name\n1A;\"zu\"x\n") << "line 2: text follows a closing quote";
    QTest::newRow("UTF-8 and a stray byte") << QByteArray("Adresse;Name\n1A;Grüße\n2A;M\xFC" "de\n") << "line 3: a byte that is not UTF-8 in a file that is otherwise UTF-8; save the list as UTF-8 again";
    const QString tooLong = u"line 3: the name is too long (%1 characters/UTF-16 code units); a name holds at most 1000 characters and 4000 code units (emoji and accents take several)"_s;
    QTest::newRow("name too long") << QByteArray("Adresse;Name\n1A;x\n2A;") + QByteArray(1001, 'x') << tooLong.arg("1001/1001");
    QTest::newRow("name too composed") << QByteArray("Adresse;Name\r\n1A;x\r\n2A;e") + u"\u0301"_s.repeated(4000).toUtf8() << tooLong.arg("1/4001");
    const QString spreadsheet = u"a spreadsheet file (%1), not a names list: save it as CSV"_s;
    QTest::newRow("xlsx") << QByteArrayLiteral("PK\x03\x04\x14\0\0\0\0\0[Content_Types].xml\0\0PK\x03\x04xl/workbook.xml") << spreadsheet.arg("xlsx");
    QTest::newRow("ods") << QByteArrayLiteral("PK\x03\x04\x14\0\0\0\0\0mimetypeapplication/vnd.oasis.opendocument.spreadsheetPK") << spreadsheet.arg("ods");
    QTest::newRow("xls") << QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0") << spreadsheet.arg("xls");
    QTest::newRow("missing file") << QByteArray() << "cannot be read: ";
    QTest::newRow("missing folder") << QByteArray() << "the folder cannot be created or written to: ";
    // clang-format on
}

void TestNames::parseBad()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, english);

    const bool missing = english.endsWith(u": "_s); // then the system's reason follows
    const QString file = dir->filePath(u"fehlt/namen.csv"_s);
    NamesCsv::ReadResult result = english.endsWith(u"to: "_s) ? NamesCsv::ReadResult{{}, NamesCsv::writeFile(file, {})}
                                  : missing                   ? NamesCsv::readFile(file)
                                                              : NamesCsv::parse(data);
    QVERIFY(!result.ok());
    QVERIFY(result.names.isEmpty());
    const QString said = NamesCsv::describe(result.error, NamesCsv::Language::English);
    if (missing) {
        QVERIFY2(said.startsWith(english), qPrintable(said));
        QVERIFY2(said.size() > english.size(), qPrintable(said)); // the system's reason
    } else {
        QCOMPARE(said, english);
    }
    // The window says it in German, naming the same line.
    const QString german = NamesCsv::describe(result.error, NamesCsv::Language::German);
    QVERIFY2(german != said, qPrintable(german));
    QCOMPARE(german.startsWith(u"Zeile %1: "_s.arg(result.error.line)), english.startsWith(u"line "_s));
}

void TestNames::savedLayoutReadsBack()
{
    Names names{{"12H", "Ende"}, {"1A", " Anfang "}, {"2A", "a;b,c\t\"d\""}, {"5C", "zwei\nZeilen"}, {"9G", "x y"}};
    const QByteArray saved = NamesCsv::serialize(names);
    QCOMPARE(saved, QByteArray("\xEF\xBB\xBF"
                               "Adresse;Name\r\n1A;\" Anfang \"\r\n2A;\"a;b,c\t\"\"d\"\"\"\r\n5C;\"zwei\nZeilen\"\r\n"
                               "9G;x y\r\n12H;Ende\r\n"));
    QCOMPARE(NamesCsv::parse(saved).names, names);
}

void TestNames::paste_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("firstRow");
    QTest::addColumn<Names>("names");
    // Lines without a row, cells beside the names, names too long; 0 if not given.
    QTest::addColumn<QList<qsizetype>>("left");

    // clang-format off
    QTest::newRow("a column down") << "a\td\r\n\te\nc\n" << 94 << Names{{"11H", "a"}, {"12H", ""}} << QList<qsizetype>{1, 2};
    QTest::newRow("addresses and names") << "Adresse\tName\n7C\tSieben\n\nA1\t\tx\n13A\ty\n2B\n\t\t\n" << -1 << Names{{"7C", "Sieben"}, {"1A", ""}} << QList<qsizetype>{2, 1};
    QTest::newRow("two cells, no header") << "7C\tSieben\n" << -1 << Names{{"7C", "Sieben"}} << QList<qsizetype>{0, 0};
    QTest::newRow("a name like an address") << "7C\n1A\n" << 0 << Names{{"1A", "7C"}, {"2A", "1A"}} << QList<qsizetype>{0, 0};
    QTest::newRow("blanks only") << " \n\t" << 0 << Names{} << QList<qsizetype>{0, 0};
    QTest::newRow("quoted cells") << "Adresse\tName\r\n4A\t\"Signal mit\r\nUmbruch\"\r\n\" 5a\"\t\"Gleis \"\"5\"\"\"\t\"x\ty\"\r" << -1 << Names{{"4A", "Signal mit\nUmbruch"}, {"5A", "Gleis \"5\""}} << QList<qsizetype>{0, 1};
    QTest::newRow("quotes not closed") << "\"a\"\"b\"\n\"c\" d\t\"e\"x\n\"f\ng\"\"" << 0 << Names{{"1A", "a\"b"}, {"2A", "\"c\" d"}, {"3A", "\"f"}, {"4A", "g\"\""}} << QList<qsizetype>{0, 1};
    QTest::newRow("names a name may not be, CR") << "1A\t" + u"ä"_s.repeated(1001) + "\n2A\t" + u"e\u0301"_s.repeated(1000) + "\n3A\tx\ry\r4A\t\"z\r\"\r5A\te" + u"\u0301"_s.repeated(4000) << -1 << Names{{"2A", u"e\u0301"_s.repeated(1000)}, {"3A", "x"}, {"4A", "z\n"}} << QList<qsizetype>{1, 0, 2};
    QTest::newRow("CR alone, down") << "eins\rzwei\r" << 0 << Names{{"1A", "eins"}, {"2A", "zwei"}} << QList<qsizetype>{0, 0};
    // clang-format on
}

void TestNames::paste()
{
    QFETCH(QString, text);
    QFETCH(int, firstRow);
    QFETCH(Names, names);
    QFETCH(QList<qsizetype>, left);
    left.resize(3);
    const NamesPaste::Placed placed = NamesPaste::place(text, firstRow);
    QCOMPARE(placed.names, names);
    QCOMPARE((QList<qsizetype>{placed.linesWithoutRow, placed.cellsLeftOut, placed.namesTooLong}), left);
}

void TestNames::undoRedo_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<Names>("after");

    QTest::newRow("edit") << "edit" << Names{{"1A", "eins"}, {"2A", "neu"}};
    QTest::newRow("paste past the end") << "paste" << Names{{"1A", "eins"}, {"2A", "zwei"}, {"12H", "a"}};
    QTest::newRow("load") << "load" << Names{{"5C", "fünf"}};
    QTest::newRow("remove") << "remove" << Names{{"2A", "zwei"}};
    QTest::newRow("clear") << "clear" << Names{};
}

void TestNames::undoRedo()
{
    QFETCH(QString, change);
    QFETCH(Names, after);

    NamesDocument document(store());
    Store::restored(document);
    document.setName(u"1A"_s, u"eins"_s);
    document.setName(u"2A"_s, u"zwei"_s);
    const Names before = document.names();
    QVERIFY(document.paste(0, u"\r\n \n\t\n"_s).names.isEmpty());  // no names in it: no change to undo
    const QString list = dir->filePath(u"Grüße Anlage Süd.csv"_s); // a name beyond ASCII
    QVERIFY(Files::write(list, "Adresse;Name\n5C;fünf\n"));
    if (change == u"edit")
        document.setName(u"2A"_s, u"neu"_s);
    else if (change == u"paste")
        QCOMPARE(document.paste(95, u"a\r\nc\n"_s).linesWithoutRow, 1);
    else if (change == u"load")
        QCOMPARE(document.load(list).kind, ErrorKind::None);
    else if (change == u"remove")
        document.remove({u"1A"_s, u"3A"_s});
    else if (change == u"clear")
        document.clear();
    else
        QFAIL("no such change");
    for (const Names &expected : {after, before, after}) {
        QCOMPARE(document.names(), expected);
        QTRY_COMPARE(SharedStore::read(store()).names, expected); // stored without being asked
        if (expected == after)
            document.undoStack()->undo();
        else
            document.undoStack()->redo();
    }
    document.setName(u"1A"_s, QString()); // an emptied name is left out of a saved list
    QCOMPARE(document.saveAs(list).kind, ErrorKind::None);
    QCOMPARE(NamesCsv::readFile(list).names, (Names{{"2A", "zwei"}}));
}

QTEST_GUILESS_MAIN(TestNames)
#include "tst_names.moc"

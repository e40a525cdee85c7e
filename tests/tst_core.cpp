#include "address/addresscodec.h"
#include "document/namesdocument.h"
#include "names/namerules.h"
#include "names/namescsv.h"
#include "names/storefile.h"
#include "names/storelock.h"
#include "support/coretest.h"
#include "support/storetest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QSysInfo>
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

class TestCore : public QObject
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
    void damagedStoreSetAside();
    void windowsShareTheStore();
    void timesBesideTheList();
    void laterNameStands_data();
    void laterNameStands();
    void windowAnswersWhileLocked();
    void failedStoreHeals();

private:
    QString store() const { return dir->filePath(u"vesk-adressen/namen.csv"_s); }
    std::unique_ptr<QTemporaryDir> dir;
};

void TestCore::init()
{
    dir = std::make_unique<QTemporaryDir>();
    // Open to the user that a read-only folder makes the process.
    QFile::setPermissions(dir->path(), QFile::permissions(dir->path()) | QFile::ExeGroup | QFile::ExeOther);
    qunsetenv(NamesStore::dataHomeVariable);
    qputenv("XDG_DATA_HOME", dir->path().toUtf8());
    // Every user's names are here: another place would lose them all after an update.
    const char *home = QSysInfo::productType() == u"windows" ? "LOCALAPPDATA" : "XDG_DATA_HOME";
    QCOMPARE(NamesStore::defaultPath(),
             QDir::fromNativeSeparators(qEnvironmentVariable(home)) + u"/vesk-adressen/namen.csv"_s);
    qputenv(NamesStore::dataHomeVariable, QDir::toNativeSeparators(dir->path()).toUtf8());
}

void TestCore::decode_data()
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

void TestCore::decode()
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

void TestCore::parseGood_data()
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

void TestCore::parseGood()
{
    QFETCH(QByteArray, data);
    QFETCH(Names, names);
    const NamesCsv::ReadResult result = NamesCsv::parse(data);
    QCOMPARE(result.error.kind, ErrorKind::None);
    QCOMPARE(result.names, names);
}

void TestCore::parseBad_data()
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

void TestCore::parseBad()
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

void TestCore::savedLayoutReadsBack()
{
    Names names{{"12H", "Ende"}, {"1A", " Anfang "}, {"2A", "a;b,c\t\"d\""}, {"5C", "zwei\nZeilen"}, {"9G", "x y"}};
    const QByteArray saved = NamesCsv::serialize(names);
    QCOMPARE(saved, QByteArray("\xEF\xBB\xBF"
                               "Adresse;Name\r\n1A;\" Anfang \"\r\n2A;\"a;b,c\t\"\"d\"\"\"\r\n5C;\"zwei\nZeilen\"\r\n"
                               "9G;x y\r\n12H;Ende\r\n"));
    QCOMPARE(NamesCsv::parse(saved).names, names);
}

void TestCore::paste_data()
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

void TestCore::paste()
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

void TestCore::undoRedo_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<Names>("after");

    QTest::newRow("edit") << "edit" << Names{{"1A", "eins"}, {"2A", "neu"}};
    QTest::newRow("paste past the end") << "paste" << Names{{"1A", "eins"}, {"2A", "zwei"}, {"12H", "a"}};
    QTest::newRow("load") << "load" << Names{{"5C", "fünf"}};
    QTest::newRow("remove") << "remove" << Names{{"2A", "zwei"}};
    QTest::newRow("clear") << "clear" << Names{};
}

void TestCore::undoRedo()
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

void TestCore::damagedStoreSetAside()
{
    const QByteArray damaged("Adresse;Name\n99Z;kaputt\n");
    QStringList asides;
    for (int n = 0; n < 3; ++n) {
        QVERIFY(QDir().mkpath(QFileInfo(store()).path()) && Files::write(store(), damaged));
        NamesDocument document(store());
        std::optional<Files::Unreplaceable> readOnly;
        if (n == 2) // where it cannot be set aside, it is never overwritten
            readOnly.emplace(store(), true);
        const NamesStore::LoadResult stored = Store::restored(document);
        readOnly.reset();
        QCOMPARE(stored.error.kind, ErrorKind::UnknownAddress);
        QVERIFY(document.names().isEmpty());
        asides.append(stored.setAsidePath);
        document.setName(u"1A"_s, u"neu"_s);
        QCOMPARE(Store::stored(document), n < 2);
        QCOMPARE(Files::read(n < 2 ? stored.setAsidePath : store()), damaged);
        if (n < 2)
            QCOMPARE(SharedStore::read(store()).names, (Names{{"1A", "neu"}}));
    }
    // A second one in the same second gets its own name.
    QVERIFY(asides[0].startsWith(store() + u".defekt-"_s));
    QVERIFY(asides[1] != asides[0]);
    QVERIFY(asides[2].isEmpty());
    // Damaged while a window runs: set aside at its next store, which stores all its names anew.
    NamesDocument running(store());
    Store::restored(running);
    running.setName(u"2A"_s, u"zwei"_s);
    QVERIFY(Files::write(store(), damaged));
    running.setName(u"3A"_s, u"drei"_s);
    QVERIFY(Store::stored(running));
    QCOMPARE(SharedStore::read(store()).names, (Names{{"2A", "zwei"}, {"3A", "drei"}}));
}

void TestCore::windowsShareTheStore()
{
    auto a = std::make_unique<NamesDocument>(store());
    NamesDocument b(store());
    Store::restored(*a);
    Store::restored(b);
    QSignalSpy failures(&a->store(), &SharedStore::failed);
    // Edits one right after the other both stay, and each window shows the other's.
    a->setName(u"4A"_s, u"Pumpe A"_s);
    b.setName(u"5A"_s, u"Licht B"_s);
    const Names both{{"4A", "Pumpe A"}, {"5A", "Licht B"}};
    QTRY_COMPARE(SharedStore::read(store()).names, both);
    QTRY_COMPARE(a->names(), both);
    // The later name stands, also against an undo or redo of the change it replaced, which
    // still takes its place in the history; it is not in the other window's history.
    a->setName(u"6A"_s, u"A"_s);
    QTRY_COMPARE(b.names().value(u"6A"_s), u"A"_s);
    b.setName(u"6A"_s, u"B"_s);
    QTRY_COMPARE(a->names().value(u"6A"_s), u"B"_s);
    a->undoStack()->undo();
    QCOMPARE(a->names().value(u"6A"_s), u"B"_s);
    a->undoStack()->redo();
    QCOMPARE(a->names().value(u"6A"_s), u"B"_s);
    a->undoStack()->undo();
    a->undoStack()->undo(); // its own change, which no one else touched
    QCOMPARE(b.undoStack()->count(), 2);
    QTRY_COMPARE(b.names(), (Names{{"5A", "Licht B"}, {"6A", "B"}}));
    QTRY_COMPARE(SharedStore::read(store()).names, b.names());
    // A lock left by a killed process holds nothing up: with its PID, or empty when the
    // process was killed before it wrote it, older than a live one ever gets (10 s).
    const QString lockPath = store() + u".lock"_s;
    QLockFile probe(lockPath);
    QVERIFY(probe.lock());
    const QByteArray lock = Files::read(lockPath);
    probe.unlock();
    // Another computer's, whose process cannot be asked, is freed by its age.
    for (const QByteArray &left :
         {"99999999" + lock.mid(lock.indexOf('\n')), QByteArray("1\nvesk-dipp\nanderer-rechner\n"), QByteArray()}) {
        QFile file(lockPath);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(left) == left.size() && file.flush());
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-11), QFileDevice::FileModificationTime));
        file.close();
        const QString name = u"%1 Bytes"_s.arg(left.size());
        QSignalSpy tries(&a->store(), &SharedStore::answered);
        a->setName(u"8A"_s, name);
        QVERIFY(Store::stored(*a));
        QCOMPARE(tries.size(), 1);
        QCOMPARE(SharedStore::read(store()).names.value(u"8A"_s), name);
    }
    // Closing a window loses nothing, even a name given just before.
    a->setName(u"9A"_s, u"neun"_s);
    a.reset();
    QTRY_COMPARE(b.names().value(u"9A"_s), u"neun"_s);
    QCOMPARE(failures.size(), 0);
    QVERIFY(QFile::remove(store())); // a store deleted meanwhile gets all of the window's names
    b.setName(u"7A"_s, u"sieben"_s);
    QTRY_COMPARE(SharedStore::read(store()).names,
                 (Names{{"5A", "Licht B"}, {"6A", "B"}, {"7A", "sieben"}, {"8A", "0 Bytes"}, {"9A", "neun"}}));
}

void TestCore::timesBesideTheList()
{
    const StampedNames written{{"1A", {u"eins"_s, 100}}, {"2A", {std::nullopt, 200}}, {"3A", {u"drei"_s, 300}}};
    QVERIFY(QDir().mkpath(QFileInfo(store()).path()));
    QCOMPARE(StoreFile::write(store(), written).kind, ErrorKind::None);
    QCOMPARE(Files::read(store()), QByteArray("\xEF\xBB\xBF"
                                              "Adresse;Name\r\n1A;eins\r\n3A;drei\r\n"));
    StoreFile::Snapshot read = StoreFile::read(store());
    QVERIFY(read.settled);
    QCOMPARE(read.names, written);
    // Changed by a program that keeps no times: what it changed counts as made then.
    const qint64 before = QDateTime::currentMSecsSinceEpoch() - 1000; // file times may be coarse
    QVERIFY(Files::write(store(), "Adresse;Name\n1A;eins\n2A;zwei\n3A;DREI\n"));
    read = StoreFile::read(store());
    QVERIFY(!read.settled);
    QCOMPARE(read.names.value(u"1A"_s), written.value(u"1A"_s));
    for (const QString &key : {u"2A"_s, u"3A"_s}) {
        QCOMPARE(read.names.value(key).name, SharedStore::read(store()).names.value(key));
        QVERIFY(read.names.value(key).madeMs >= before);
    }
    // Of two edits the later stands; at the same moment, the one merged in.
    const StampedNames edits{{"1A", {u"alt"_s, 99}}, {"2A", {u"gleich"_s, 200}}, {"4A", {std::nullopt, 1}}};
    QCOMPARE(NamesTimes::merged(written, edits), (StampedNames{{"1A", {u"eins"_s, 100}},
                                                               {"2A", {u"gleich"_s, 200}},
                                                               {"3A", {u"drei"_s, 300}},
                                                               {"4A", {std::nullopt, 1}}}));
}

void TestCore::laterNameStands_data()
{
    QTest::addColumn<bool>("laterStoresFirst");
    QTest::newRow("earlier stores first") << false;
    QTest::newRow("later stores first") << true;
}

void TestCore::laterNameStands()
{
    QFETCH(bool, laterStoresFirst);
    NamesDocument earlier(store());
    NamesDocument later(store());
    Store::restored(earlier);
    Store::restored(later);
    QSignalSpy replaced(&earlier, &NamesDocument::replaced);
    {
        StoreLock held(store()); // the folder out of reach for a moment
        QVERIFY(held.acquire(0));
        earlier.setName(u"2A"_s, u"frueher"_s);
        Store::nextMillisecond();
        later.setName(u"2A"_s, u"spaeter"_s);
    }
    QVERIFY(Store::stored(laterStoresFirst ? later : earlier));
    QVERIFY(Store::stored(laterStoresFirst ? earlier : later));
    QTRY_COMPARE(earlier.names().value(u"2A"_s), u"spaeter"_s);
    QCOMPARE(SharedStore::read(store()).names.value(u"2A"_s), u"spaeter"_s);
    // Told in the window whose name was replaced, and its undo brings that back, now later.
    QTRY_COMPARE(replaced.size(), 1);
    QCOMPARE(replaced.first().first().value<NameEntries>(), (NameEntries{{"2A", u"frueher"_s}}));
    earlier.undoStack()->undo();
    QTRY_COMPARE(later.names().value(u"2A"_s), u"frueher"_s);
}

// No event of the window waits while another side holds the lock.
void TestCore::windowAnswersWhileLocked()
{
    NamesDocument document(store());
    Store::restored(document);
    StoreLock held(store());
    QVERIFY(held.acquire(0));
    QElapsedTimer clock;
    qint64 longestGap = 0;
    QTimer ticks;
    connect(&ticks, &QTimer::timeout, this,
            [&clock, &longestGap] { longestGap = std::max(longestGap, clock.restart()); });
    clock.start();
    ticks.start(10);
    document.setName(u"1A"_s, u"eins"_s);
    QCOMPARE(document.names().value(u"1A"_s), u"eins"_s);                  // shown at once
    QTRY_VERIFY_WITH_TIMEOUT(document.store().failing(), Store::answerMs); // after several tries
    QVERIFY2(longestGap < 1000, qPrintable(QString::number(longestGap)));
    const QString said = NamesCsv::describe(document.store().error(), NamesCsv::Language::English);
    QVERIFY2(said.contains(QCoreApplication::applicationName()), qPrintable(said)); // who holds it
}

void TestCore::failedStoreHeals()
{
    QVERIFY(QDir().mkpath(QFileInfo(store()).path()));
    QVERIFY(Files::write(store(), "Adresse;Name\n")); // so that Windows can hold it open
    NamesDocument document(store());
    Store::restored(document);
    QSignalSpy reported(&document.store(), &SharedStore::failed);
    {
        Files::Unreplaceable held(store());
        document.setName(u"1A"_s, u"eins"_s);
        QTRY_VERIFY(document.store().error().kind != ErrorKind::None); // tried, and failed
        QCOMPARE(document.store().pendingCount(), 1);
        // Told as what it is: on Linux the folder is read-only, on Windows the file held open.
        const bool windows = QSysInfo::productType() == u"windows";
        QCOMPARE(document.store().error().kind, windows ? ErrorKind::Unreadable : ErrorKind::FolderUnwritable);
    }
    // Stored by itself, without a new edit; a failure this short is not reported.
    QTRY_COMPARE(SharedStore::read(store()).names, (Names{{"1A", "eins"}}));
    QTRY_COMPARE(document.store().pendingCount(), 0);
    QCOMPARE(reported.size(), 0);

    // A store that cannot be opened as a window starts (another program holds it; here a
    // folder stands in its way) is not damaged: it is named, and stays where it is.
    QVERIFY(QFile::remove(store()));
    QVERIFY(QDir().mkdir(store()));
    {
        NamesDocument starting(store());
        const NamesStore::LoadResult found = Store::restored(starting);
        QCOMPARE(found.error.kind, ErrorKind::Unreadable);
        QCOMPARE(found.setAsidePath, QString());
    }
    QVERIFY(QDir().rmdir(store())); // still where it was
}

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"

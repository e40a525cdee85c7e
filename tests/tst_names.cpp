#include "address/addresscodec.h"
#include "address/modulename.h"
#include "document/namesdocument.h"
#include "names/nameforms.h"
#include "names/namerules.h"
#include "names/namescsv.h"
#include "store/conflictcopy.h"
#include "store/storeclock.h"
#include "store/storefile.h"
#include "store/storelock.h"
#include "support/storetest.h"

#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

using NamesCsv::ErrorKind;

// Addresses, names lists, pasted blocks and the undo of a window's names.
class TestNames : public QObject
{
    Q_OBJECT

    QString store() const { return dir->filePath(u"vesk-adressen/namen.csv"_s); }
    std::unique_ptr<QTemporaryDir> dir;

private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }

    void decode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("dipp");
        QTest::addColumn<QString>("canonical");
        QTest::addColumn<bool>("plain");
        QTest::addColumn<int>("row"); // in the names table; -1 for none

        QTest::newRow("leading zero") << "A07" << QList<int>{0, 2, 0, 0, 0} << "7A" << true << 6;
        QTest::newRow("blanks around and between") << " 12 b " << QList<int>{1, 0, 2, 0, 1} << "12B" << true << 23;
        QTest::newRow("blank between, letter first") << "C\t 7" << QList<int>{0, 2, 0, 0, 2} << "7C" << true << 30;
        QTest::newRow("the last of the control module") << "d12" << QList<int>{1, 0, 2, 1, 0} << "12D" << true << 47;
        QTest::newRow("the first of the extension") << "e1" << QList<int>{0, 0, 0, 1, 1} << "1E" << true << 48;
        QTest::newRow("the letter after H") << "i1" << QList<int>{0, 0, 0, 2, 2} << "1I" << true << -1;
        QTest::newRow("no letter") << "10" << QList<int>{1, 0, 0, 0, 0} << "10A" << false << -1;
        QTest::newRow("AB5") << "AB5" << QList<int>{0, 1, 1, 0, 1} << "5B" << false << -1;
        // The latest letter in the alphabet wins, not the first one found.
        QTest::newRow("CB5") << "CB5" << QList<int>{0, 1, 1, 0, 2} << "5C" << false << -1;
        QTest::newRow("28") << "28A" << QList<int>{3, 0, 0, 0, 0} << "28A" << true << -1;
        QTest::newRow("largest") << "4294967295A" << QList<int>{477218588, 0, 2, 0, 0} << "4294967295A" << true << -1;
        // Number 0: the number switches stay at 0, the letter still counts.
        QTest::newRow("zero") << "0C" << QList<int>{0, 0, 0, 0, 2} << "1C" << false << -1;
        QTest::newRow("letter O for zero") << "1O" << QList<int>{0, 0, 0, 0, 0} << "1A" << false << -1;
        QTest::newRow("two addresses") << "7C;8D" << QList<int>{0, 0, 0, 1, 0} << "1D" << false << -1;
        QTest::newRow("beyond 32 bits") << "4294967296G" << QList<int>{0, 0, 0, 2, 0} << "1G" << false << -1;
        // Blanks around and a plus sign pass the number conversion; a minus or inner blank does not.
        QTest::newRow("plus") << "+7B" << QList<int>{0, 2, 0, 0, 1} << "7B" << false << -1;
        QTest::newRow("minus") << "-7B" << QList<int>{0, 0, 0, 0, 1} << "1B" << false << -1;
    }

    void decode()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, dipp);
        QFETCH(QString, canonical);
        QFETCH(bool, plain);
        QFETCH(int, row);

        QCOMPARE(AddressCodec::isPlainAddress(text), plain);
        const DippSetting decoded = AddressCodec::decode(text.toUpper());
        QCOMPARE(QList<int>(decoded.cbegin(), decoded.cend()), dipp);
        QCOMPARE(AddressCodec::encode(decoded), canonical);
        // Names go with the 96 addresses written as addresses, and with no other text.
        QCOMPARE(NamedAddresses::parse(text), row >= 0 ? std::optional(canonical) : std::nullopt);
        QCOMPARE(NamedAddresses::rowOf(text).value_or(-1), row);
        if (plain)
            QCOMPARE(NamedAddresses::keysInTableOrder().indexOf(canonical), row);
        constexpr int firstOfExtension = 48; // letters E-H are set on the extension module
        QCOMPARE(ModuleName::of(text), row >= firstOfExtension ? ModuleName::extension : ModuleName::control);
    }

    void switches_data()
    {
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("settable");
        QTest::addColumn<QString>("rows"); // as drawn: + top, 0 middle, - bottom

        QTest::newRow("7C") << QList<int>{0, 2, 0, 0, 2} << "7C" << true << "+0++0";
        QTest::newRow("12H") << QList<int>{1, 0, 2, 2, 1} << "12H" << true << "-+00-";
        // Positions no switch has: the number wraps as unsigned, a letter beyond K is A, drawn on top.
        QTest::newRow("letter 12") << QList<int>{2, 2, 2, 3, 2} << "27A" << false << "000+0";
        QTest::newRow("below 0") << QList<int>{0, 0, -1, 0, 0} << "0A" << false << "+++++";
    }

    void switches()
    {
        QFETCH(QList<int>, positions);
        QFETCH(QString, address);
        QFETCH(bool, settable);
        QFETCH(QString, rows);

        DippSetting dipp{};
        std::copy(positions.cbegin(), positions.cend(), dipp.begin());
        QCOMPARE(AddressCodec::encode(dipp), address);
        QCOMPARE(AddressCodec::isSettable(dipp), settable);
        QString drawn;
        for (const int position : dipp) {
            const int row = AddressCodec::displayRow(position);
            drawn.append(AddressCodec::rowLabels.at(row));
            QCOMPARE(AddressCodec::rowOfLabel(drawn.back()), row);
            if (settable)
                QCOMPARE(AddressCodec::positionOfRow(row), position);
        }
        QCOMPARE(drawn, rows);
    }

    void parseGood_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<Names>("names");

        // clang-format off
        QTest::newRow("semicolon, both forms") << QByteArray("Adresse;Name\n12A;Lager\nA3;Tor\n") << Names{{"12A", "Lager"}, {"3A", "Tor"}};
        QTest::newRow("comma") << QByteArray("Adresse,Name\nb2,Tor\n") << Names{{"2B", "Tor"}};
        QTest::newRow("trailing separators") << QByteArray("Adresse;Name;\n1A;x;\n2A;;\n3A;z\n") << Names{{"1A", "x"}, {"2A", ""}, {"3A", "z"}};
        QTest::newRow("tab, blanks, columns swapped") << QByteArray("Name\tAdresse\nSignal\t h5 \n") << Names{{"5H", "Signal"}};
        QTest::newRow("BOM and CRLF") << QByteArray("\xEF\xBB\xBF" "Adresse;Name\r\n1A;Ölpumpe\r\n") << Names{{"1A", "Ölpumpe"}};
        QTest::newRow("Windows-1252") << QByteArray("Adresse;Name\r\n1A;Gr\xFC\xDF" "e\r\n2A;\x80\xA0" "5\r\n3A;\x84" "Anf\xFChrung\x93\r\n") << Names{{"1A", "Grüße"}, {"2A", "€\u00A05"}, {"3A", "„Anführung“"}};
        QTest::newRow("quoted fields") << QByteArray("Adresse;Name\n1A;\"a;b \"\"c\"\"\"\n\"2A\";\"zwei\r\nZeilen\"\r\n") << Names{{"1A", "a;b \"c\""}, {"2A", "zwei\nZeilen"}};
        QTest::newRow("blank line, empty name, no final line end") << QByteArray("Adresse;Name\n\n1A;\n2A;x") << Names{{"1A", ""}, {"2A", "x"}};
        QTest::newRow("empty rows and columns") << QByteArray("Adresse;Name;;\n;\n1A;x;;\r\n;;\n2A;\n;\n") << Names{{"1A", "x"}, {"2A", ""}};
        QTest::newRow("UTF-8 with a zero byte") << QByteArrayLiteral("Adresse;Name\n1A;a\0b\n") << Names{{"1A", u"a\0b"_s}};
        QTest::newRow("apostrophes before formulas") << QByteArray("Adresse;Name\n1A;'=1+1\n2A;''=x\n3A;'abc\n4A;=1+1\n5A;\"'-a;b\"\n6A;'\n7A;'\t@\x01\n") << Names{{"1A", "=1+1"}, {"2A", "'=x"}, {"3A", "'abc"}, {"4A", "=1+1"}, {"5A", "-a;b"}, {"6A", "'"}, {"7A", "\t@\x01"}};
        QTest::newRow("CR alone, mixed") << QByteArray("Adresse;Name\r1A;x\r\"2A\";\"zwei\rZeilen\"\r3A;\"a\nb\"\r\n4A;y\n") << Names{{"1A", "x"}, {"2A", "zwei\nZeilen"}, {"3A", "a\nb"}, {"4A", "y"}};
        const QString accents = QString(u"e\u0301"_s).repeated(NameRules::maxLength); // 1000 characters in 2000 code units
        QTest::newRow("largest file") << QByteArray("Adresse;Name") + QByteArray(NamesCsv::maxListBytes - 18, ' ') + "\n1A;x\n" << Names{{"1A", "x"}};
        QTest::newRow("most code units") << (u"Adresse;Name\n1A;e"_s + u"\u0301"_s.repeated(3999)).toUtf8() << Names{{"1A", u"e"_s + u"\u0301"_s.repeated(3999)}};
        QTest::newRow("longest name") << (u"Adresse;Name\n1A;"_s + accents).toUtf8() << Names{{"1A", accents}};
        for (const auto encoding : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
            for (const auto flag : {QStringEncoder::Flag::WriteBom, QStringEncoder::Flag::Default})
                QTest::addRow("UTF-16 %d %d", encoding, int(flag)) << QByteArray(QStringEncoder(encoding, flag)(u"Adresse\tName\r\n1A\t€ Öl 😀\r\n"_s)) << Names{{"1A", "€ Öl 😀"}};
        }
        // clang-format on
    }

    void parseGood()
    {
        QFETCH(QByteArray, data);
        QFETCH(Names, names);
        const QString list = dir->filePath(u"liste.csv"_s);
        QVERIFY(Files::write(list, data));
        const NamesCsv::ReadResult result = NamesCsv::readFile(list);
        QCOMPARE(result.error.kind, ErrorKind::None);
        QCOMPARE(result.names, names);
    }

    void parseBad_data()
    {
        QTest::addColumn<ErrorKind>("kind");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("english"); // as the command line says it; after ": " the system's reason

        const QString header = u"line 1: the header must name the columns Adresse and Name"_s;
        const QString unknown = u"line %1: '%2' is not one of the addresses A-H 1-12"_s;
        // clang-format off
        const QString stray = u"line %1: a byte that is not UTF-8 in a file that is otherwise UTF-8; save the list as UTF-8 again"_s;
        QTest::newRow("empty") << ErrorKind::MissingHeader << QByteArray() << header;
        QTest::newRow("no name column") << ErrorKind::MissingHeader << QByteArray("Adresse;Titel\n1A;x\n") << header;
        QTest::newRow("number 13") << ErrorKind::UnknownAddress << QByteArray("Adresse;Name\n1A;x\n13A;x\n") << unknown.arg(3).arg("13A");
        QTest::newRow("lines counted inside quotes") << ErrorKind::UnknownAddress << QByteArray("Adresse;Name\n1A;\"a\nb\"\n99Z;x\n") << unknown.arg(4).arg("99Z");
        QTest::newRow("three fields") << ErrorKind::WrongFieldCount << QByteArray("Adresse;Name\n1A;x;y\n") << "line 2: a line needs 2 fields, this one has 3";
        QTest::newRow("one field") << ErrorKind::WrongFieldCount << QByteArray("Adresse;Name\n\n1A\n") << "line 3: a line needs 2 fields, this one has 1";
        QTest::newRow("other columns") << ErrorKind::OtherColumn << QByteArray("Ort;Adresse;Name;Typ\n") << "line 1: the header has a column 'Ort' besides Adresse and Name";
        QTest::newRow("twice") << ErrorKind::DuplicateAddress << QByteArray("Adresse;Name\n1A;x\na1;y\n") << "line 3: address 1A is listed twice";
        QTest::newRow("open quote") << ErrorKind::UnterminatedQuote << QByteArray("Adresse;Name\n1A;\"offen\n2A;x\n") << "line 2: a quoted field is not closed";
        QTest::newRow("text after quote") << ErrorKind::TextAfterQuote << QByteArray("Adresse;Name\n1A;\"zu\nzu\"x\n") << "line 3: text follows a closing quote";
        QTest::newRow("UTF-8 and a stray byte") << ErrorKind::MixedEncoding << QByteArray("Adresse;Name\n1A;Grüße\n2A;M\xFC" "de\n") << stray.arg(3);
        QTest::newRow("a stray byte after the mark") << ErrorKind::MixedEncoding << QByteArray("\xEF\xBB\xBF" "Adresse;Name\x84\r\n") << stray.arg(1);
        QTest::newRow("CR alone, a stray byte after U+0080") << ErrorKind::MixedEncoding << QByteArray("Adresse;Name\r\n1A;\xC2\x80\r\r2A;\xF6\r") << stray.arg(4);
        const QString tooLong = u"line 3: the name is too long (%1 characters/UTF-16 code units); a name holds at most 1000 characters and 4000 code units (emoji and accents take several)"_s;
        QTest::newRow("name too long") << ErrorKind::NameTooLong << QByteArray("Adresse;Name\n1A;x\n2A;") + QByteArray(1001, 'x') << tooLong.arg("1001/1001");
        QTest::newRow("name too composed") << ErrorKind::NameTooLong << QByteArray("Adresse;Name\r\n1A;x\r\n2A;e") + u"\u0301"_s.repeated(4000).toUtf8() << tooLong.arg("1/4001");
        const QString spreadsheet = u"a spreadsheet file (%1), not a names list: save it as CSV"_s;
        QTest::newRow("xlsx") << ErrorKind::SpreadsheetFile << QByteArrayLiteral("PK\x03\x04\x14\0\0\0\0\0[Content_Types].xml\0\0PK\x03\x04xl/workbook.xml") << spreadsheet.arg("xlsx");
        QTest::newRow("ods") << ErrorKind::SpreadsheetFile << QByteArrayLiteral("PK\x03\x04\x14\0\0\0\0\0mimetypeapplication/vnd.oasis.opendocument.spreadsheetPK") << spreadsheet.arg("ods");
        QTest::newRow("numbers") << ErrorKind::SpreadsheetFile << QByteArrayLiteral("PK\x03\x04\x14\0\0\0\0\0Index/Document.iwa") << spreadsheet.arg("numbers");
        const QString binary = u"the file holds no text: a picture or another binary file, not a names list"_s;
        QTest::newRow("a zip of another kind") << ErrorKind::NotText << QByteArrayLiteral("PK\x03\x04\x14\0\0\0\0\0word/document.xml") << binary;
        QTest::newRow("PNG") << ErrorKind::NotText << QByteArrayLiteral("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0\x1F\xF3\xFF\xC3\xA4") << binary;
        for (const char control : {'\x01', '\b', '\x0E', '\x1F'}) {
            QTest::addRow("Windows-1252, control %d", control) << ErrorKind::NotText << QByteArray("\x89") + control << binary;
            QTest::addRow("UTF-16, control %d", control) << ErrorKind::NotText << QByteArray(1, control) + '\0' << binary;
        }
        QTest::newRow("zeros a crash left") << ErrorKind::NotText << QByteArray(4096, '\0') << binary;
        QTest::newRow("controls of text, no header") << ErrorKind::MissingHeader << QByteArrayLiteral("x y\0\t\x0B\x0C\r\n") << header;
        for (const auto flag : {QStringEncoder::Flag::WriteBom, QStringEncoder::Flag::Default})
            QTest::addRow("UTF-16 %d, Polish, no header", int(flag)) << ErrorKind::MissingHeader << QByteArray(QStringEncoder(QStringConverter::Utf16LE, flag)(u"Adresse;Titel\n1A;\u0142\u0101"_s)) << header;
        QTest::newRow("xls") << ErrorKind::SpreadsheetFile << QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0") << spreadsheet.arg("xls");
        QTest::newRow("too large") << ErrorKind::TooLarge << QByteArray(NamesCsv::maxListBytes + 1, '\n') << "the file has 4194305 bytes, too large for a names list (at most 4 MiB)";
        QTest::newRow("missing file") << ErrorKind::Unreadable << QByteArray() << "cannot be read: ";
        QTest::newRow("missing folder") << ErrorKind::FolderUnwritable << QByteArray() << "the folder cannot be created or written to: ";
        QTest::newRow("a folder in the way") << ErrorKind::Unwritable << QByteArray() << "cannot be written: ";
#ifndef Q_OS_WIN // written into as they are, made by the command in data
        QTest::newRow("a full device") << ErrorKind::Unwritable << QByteArray("mknod c 1 7") << "cannot be written: No space left on device";
        QTest::newRow("a FIFO no one reads") << ErrorKind::Unwritable << QByteArray("mkfifo") << "cannot be written: nobody reads from the FIFO";
        QTest::newRow("a folder") << ErrorKind::Unwritable << QByteArray(".") << "cannot be written: Is a directory";
#endif
        // Only the store meets these.
        QTest::newRow("locked") << ErrorKind::Locked << QByteArray("99999\nfremdprog\nfremdrechner\n") << "cannot be written: another window or vesk-dipp holds its lock (fremdprog, 99999, fremdrechner)";
        QTest::newRow("a link") << ErrorKind::Link << QByteArray() << "x is a symbolic link: the store does not write through a link and left the link and its target as they are";
        QTest::newRow("stalled") << ErrorKind::Stalled << QByteArray() << "the folder does not answer; it stalls, as a network folder can";
        QTest::newRow("full") << ErrorKind::NoSpace << QByteArray() << "no space left on the device";
        // clang-format on
    }

    void parseBad()
    {
        QFETCH(ErrorKind, kind);
        QFETCH(QByteArray, data);
        QFETCH(QString, english);

        const QString missing = dir->filePath(u"fehlt/namen.csv"_s);
        const QString list = dir->filePath(u"liste.csv"_s);
        NamesCsv::ReadResult result;
        if (kind == ErrorKind::Unreadable)
            result = NamesCsv::readFile(missing);
        else if (kind == ErrorKind::FolderUnwritable)
            result.error = NamesCsv::writeFile(missing, {});
        else if (kind == ErrorKind::Unwritable && data.isEmpty())
            result.error = NamesCsv::writeData(dir->filePath(u"."_s), {}); // a folder where the file would be
        else if (kind == ErrorKind::Unwritable) {
            const QString node = dir->filePath(data == "." ? u"."_s : u"node"_s);
            const QStringList made = QString::fromUtf8(data).split(u' ');
            if (data != "." && QProcess::execute(made.first(), QStringList{node} + made.mid(1)) != 0)
                QSKIP("only root may make a device file");
            result.error = NamesCsv::writeFile(node, {});
        } else if (StoreLock held(list); kind == ErrorKind::Locked) { // another computer's, fresh by the store's clock
            const QDateTime now = QDateTime::fromMSecsSinceEpoch(StoreClock::now());
            const bool written = Files::write(list + u".lock"_s, data) && Store::setFileTime(list + u".lock"_s, now);
            result.error = written && !held.acquire(0) ? held.error() : NamesCsv::Error{};
        } else if (kind == ErrorKind::Link || kind == ErrorKind::Stalled || kind == ErrorKind::NoSpace)
            result.error = {kind, 0, u"x"_s};
        else
            result = Files::write(list, data) ? NamesCsv::readFile(list) : NamesCsv::ReadResult{};
        QCOMPARE(result.error.kind, kind);
        QCOMPARE(result.error.line > 0, english.startsWith(u"line "_s)); // no line where none is told
        QVERIFY(result.names.isEmpty());
        const QString said = NamesCsv::describe(result.error, NamesCsv::Language::English);
        const bool reason = english.endsWith(u": "_s); // the system's, which follows
        QVERIFY2(reason ? said.startsWith(english) && said.size() > english.size() : said == english, qPrintable(said));
        // The window says it in German, naming the same line.
        const QString german = NamesCsv::describe(result.error, NamesCsv::Language::German);
        QVERIFY2(german != said, qPrintable(german));
        QCOMPARE(german.startsWith(u"Zeile %1: "_s.arg(result.error.line)), english.startsWith(u"line "_s));
    }

    void savedLayoutReadsBack()
    {
        // Names a spreadsheet would take for formulas get an apostrophe first, one more than they begin with.
        Names names{{"12H", "Ende"}, {"1A", " an "},  {"2A", "a;b,c\td"}, {"3A", "\"5\""}, {"5C", "1\n2"},
                    {"9G", "x y"},   {"1B", "=1+1"},  {"2B", "+49"},      {"3B", "-5"},    {"4B", "@x"},
                    {"5B", "\t-"},   {"6B", "'=x"},   {"7B", "''@y"},     {"8B", "'abc"},  {"9B", "a=b"},
                    {"10B", "'"},    {"11B", "=\"\""}};
        const QByteArray saved = NamesCsv::serialize(names);
        QCOMPARE(saved,
                 QByteArray("\xEF\xBB\xBF"
                            "Adresse;Name\r\n1A;\" an \"\r\n2A;\"a;b,c\td\"\r\n3A;\"\"\"5\"\"\"\r\n"
                            "1B;'=1+1\r\n2B;'+49\r\n3B;'-5\r\n4B;'@x\r\n5B;'\t-\r\n6B;''=x\r\n7B;'''@y\r\n8B;'abc\r\n"
                            "9B;a=b\r\n10B;'\r\n11B;\"'=\"\"\"\"\"\r\n5C;\"1\n2\"\r\n9G;x y\r\n12H;Ende\r\n"));
        QCOMPARE(NamesCsv::parse(saved).names, names);
        QCOMPARE(NamesCsv::text({{"1A", "\r-"}}, u"\n"_s),
                 u"Adresse;Name\n1A;\"'\r-\"\n"_s); // a CR, read as a line end
    }

    void paste_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("firstRow");
        QTest::addColumn<QList<int>>("shown"); // by a search; all if none given
        QTest::addColumn<Names>("names");
        // Lines without a row, cells beside the names, names refused, names in hidden rows; 0 if not given.
        QTest::addColumn<QList<qsizetype>>("left");
        QTest::addColumn<QString>("told"); // in the window

        // clang-format off
        const QString notAll = u"Nicht alles wurde eingefügt.\n\n"_s;
        const QString shape = u" Eingefügt wird eine Spalte Namen, oder eine Spalte Adressen und eine Spalte Namen."_s;
        const QString limit = u"Ein Name hat höchstens 1000 Zeichen und 4000 UTF-16-Einheiten (Emoji und Akzente belegen mehrere)."_s;
        const QList<int> all;
        const QList<int> weiche{1, 24, 28, 32}; // 2A, 1C, 5C, 9C
        QTest::newRow("a column down") << "a\"\td\r\n\te\nc\r\n" << 94 << all << Names{{"11H", "a\""}, {"12H", ""}} << QList<qsizetype>{1, 2} << notAll + u"Die Tabelle endet bei 12H: Die eingefügte Zeile 3 fand keinen Platz.\n\n2 Zellen standen neben den Namen."_s + shape;
        QTest::newRow("addresses and names") << "Adresse\tName\n7C\tSieben\n\nA1\t\tx\n13A\ty\n2B\n\t\t\n" << -1 << all << Names{{"7C", "Sieben"}, {"1A", ""}} << QList<qsizetype>{2, 1} << notAll + u"2 der eingefügten Zeilen nennen keine Adresse der Tabelle (A–H, 1–12) mit einem Namen, zuerst Zeile 5 („13A“).\n\nEine Zelle stand neben den Namen."_s + shape;
        QTest::newRow("two cells after a blank line, a tab after") << "\r\n7C\tSieben\t" << -1 << all << Names{{"7C", "Sieben"}} << QList<qsizetype>{0, 0} << QString();
        QTest::newRow("a name like an address") << "7C\n1A\tx\n" << 0 << all << Names{{"1A", "7C"}, {"2A", "1A"}} << QList<qsizetype>{0, 1} << notAll + u"Eine Zelle stand neben den Namen."_s + shape;
        QTest::newRow("blanks only") << " \n\t" << 0 << all << Names{} << QList<qsizetype>{0, 0} << QString();
        QTest::newRow("quoted cells") << "Adresse\tName\r\n4A\t\"Signal mit\r\nUmbruch\"\r\n\" 5a\"\t\"Gleis \"\"5\"\"\"\t\"x\ty\"" << -1 << all << Names{{"4A", "Signal mit\nUmbruch"}, {"5A", "Gleis \"5\""}} << QList<qsizetype>{0, 1} << notAll + u"Eine Zelle stand neben den Namen."_s + shape;
        QTest::newRow("quotes not closed") << "\"a\"\"b\"\n\"c\" d\t\"e\"x\n\"f\ng\"\"" << 0 << all << Names{{"1A", "a\"b"}, {"2A", "\"c\" d"}, {"3A", "\"f"}, {"4A", "g\"\""}} << QList<qsizetype>{0, 1} << notAll + u"Eine Zelle stand neben den Namen."_s + shape;
        QTest::newRow("names a name may not be, CR") << "1A\t" + u"ä"_s.repeated(1001) + "\n2A\t" + u"e\u0301"_s.repeated(1000) + "\n3A\tx\ry\r4A\t\"z\r\"\r5A\te" + u"\u0301"_s.repeated(4000) << -1 << all << Names{{"2A", u"e\u0301"_s.repeated(1000)}, {"3A", "x"}, {"4A", "z\n"}} << QList<qsizetype>{1, 0, 2} << notAll + u"Die eingefügte Zeile 4 („y“) nennt keine Adresse der Tabelle (A–H, 1–12) mit einem Namen.\n\n2 Namen wurden nicht eingefügt, zuerst der in Zeile 1: "_s + limit;
        QTest::newRow("a name too long, down") << u"x"_s.repeated(1001) << 0 << all << Names{} << QList<qsizetype>{0, 0, 1} << notAll + u"Der Name in Zeile 1 wurde nicht eingefügt: "_s + limit;
        QTest::newRow("CR alone, down") << "eins\rzwei\rAdresse\r" << 0 << all << Names{{"1A", "eins"}, {"2A", "zwei"}, {"3A", "Adresse"}} << QList<qsizetype>{0, 0} << QString();
        QTest::newRow("a column into the rows shown") << "W1\nW2\nW3" << 1 << weiche << Names{{"2A", "W1"}, {"1C", "W2"}, {"5C", "W3"}} << QList<qsizetype>{0, 0} << QString();
        QTest::newRow("more lines than rows shown") << "W1\nW2\nW3\nW4\nW5\n" << 2 << weiche << Names{{"1C", "W1"}, {"5C", "W2"}, {"9C", "W3"}} << QList<qsizetype>{2, 0} << notAll + u"Die Suche zeigt nach 9C keine Zeile mehr: 2 der eingefügten Zeilen, ab Zeile 4, fanden keinen Platz."_s;
        QTest::newRow("no row shown from the current one") << "W1" << 33 << weiche << Names{} << QList<qsizetype>{1, 0} << notAll + u"Die Suche zeigt ab der aktuellen Zeile keine Zeile: Die eingefügte Zeile 1 fand keinen Platz."_s;
        QTest::newRow("no row chosen") << "a\nb" << -1 << all << Names{} << QList<qsizetype>{2, 0} << notAll + u"Keine Zeile ist gewählt, ab der eingefügt wird: 2 der eingefügten Zeilen, ab Zeile 1, fanden keinen Platz."_s;
        QTest::newRow("two columns, hidden rows") << "3A\tX\n2A\tW\n13A\ty\n4A\tZ\n14A\tq" << 1 << weiche << Names{{"3A", "X"}, {"2A", "W"}, {"4A", "Z"}} << QList<qsizetype>{2, 0, 0, 2} << notAll + u"2 der eingefügten Zeilen nennen keine Adresse der Tabelle (A–H, 1–12) mit einem Namen, zuerst Zeile 3 („13A“).\n\n2 Namen kamen in Zeilen, die die Suche verbarg; die Suche ist darum geleert."_s;
        QTest::newRow("ESC, a hidden row") << "2A\tok\n3A\tHa\x1Bngt\n4A\tneu" << 1 << weiche << Names{{"2A", "ok"}, {"4A", "neu"}} << QList<qsizetype>{0, 0, 1, 1} << notAll + u"Der Name in Zeile 2 wurde nicht eingefügt: Ein Name enthält keine Steuerzeichen; an Stelle 3 steht das unsichtbare Zeichen U+001B.\n\nEin Name kam in eine Zeile, die die Suche verbarg; die Suche ist darum geleert."_s;
        QTest::newRow("a long cell told by its start, shown") << u"1A\tx\n"_s + QChar(0x202E) + u"Q"_s.repeated(38) + u"😀\ty"_s << -1 << all << Names{{"1A", "x"}} << QList<qsizetype>{1, 0} << notAll + u"Die eingefügte Zeile 2 („⟨U+202E⟩"_s + u"Q"_s.repeated(38) + u"…“) nennt keine Adresse der Tabelle (A–H, 1–12) mit einem Namen."_s;
        QTest::newRow("200000 lines") << u"x\n"_s.repeated(200'000) << 0 << weiche << Names{{"2A", "x"}, {"1C", "x"}, {"5C", "x"}, {"9C", "x"}} << QList<qsizetype>{199'996, 0} << notAll + u"Die Suche zeigt nach 9C keine Zeile mehr: 199996 der eingefügten Zeilen, ab Zeile 5, fanden keinen Platz."_s;
        // clang-format on
    }

    void paste()
    {
        QFETCH(QString, text);
        QFETCH(int, firstRow);
        QFETCH(QList<int>, shown);
        QFETCH(Names, names);
        QFETCH(QList<qsizetype>, left);
        QFETCH(QString, told);
        left.resize(4);
        QSet<int> hidden;
        for (int row = 0; row < NamedAddresses::count && !shown.isEmpty(); ++row)
            if (!shown.contains(row))
                hidden.insert(row);
        const NamesPaste::Placed put = NamesPaste::place(text, firstRow, hidden);
        QCOMPARE(put.names, names);
        QCOMPARE((QList<qsizetype>{put.linesWithoutRow, put.cellsLeftOut, put.namesRefused, put.namesHidden}), left);
        QCOMPARE(NamesPaste::describe(put), told);
    }

    void shownForms_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("seen"); // in the window's table, on a terminal's line, typed for names set
        // clang-format off
        QTest::newRow("an override and an isolate") << u"Weiche \u202EEnde\u2069 תחנה"_s << QStringList{u"Weiche ⟨U+202E⟩Ende⟨U+2069⟩ תחנה"_s, uR"(Weiche \u{202E}Ende\u{2069} תחנה)"_s, uR"(Weiche \u{202E}Ende\u{2069} תחנה)"_s};
        QTest::newRow("ESC, line break, tab, C1, DEL") << u"Öl\x1b[2J\nb\tc\u0085d\x7f"_s << QStringList{u"Öl␛[2J\nb␉c⟨U+0085⟩d␡"_s, uR"(Öl\u{1B}[2J\u{A}b\u{9}c\u{85}d\u{7F})"_s, u"\\u{d6}l\\u{1b}[2J\nb\\u{9}c\\u{85}d\\u{7F}"_s};
        QTest::newRow("backslashes") << u"C:\\u{41} \\\x1b \\\\u{ x\\"_s << QStringList{u"C:\\u{41} \\␛ \\\\u{ x\\"_s, uR"(C:\\u{41} \\\u{1B} \\\\u{ x\)"_s, uR"(C:\\u{41} \\\u{1b} \\\\u{ x\)"_s};
        QTest::newRow("no character") << uR"(A😀\u{110000}\u{D800}\u{}\u{0000041}\u{+1}\B)"_s << QStringList{uR"(A😀\u{110000}\u{D800}\u{}\u{0000041}\u{+1}\B)"_s, uR"(A😀\\u{110000}\\u{D800}\\u{}\\u{0000041}\\u{+1}\B)"_s, uR"(\u{41}\u{01f600}\u{110000}\u{D800}\u{}\u{0000041}\u{+1}\\\u{42})"_s};
        // clang-format on
    }

    void shownForms()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, seen);
        QCOMPARE((QStringList{NameForms::visible(name), NameForms::escaped(name, NameForms::LineBreaks::Escaped)}),
                 seen.first(2));
        QCOMPARE((QStringList{NameForms::unescaped(seen[1]), NameForms::unescaped(seen[2]), NameForms::isolated(name)}),
                 (QStringList{name, name, u"\u2068"_s + seen[0] + u"\u2069"_s}));
    }

    void undoRedo_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<Names>("after");

        QTest::newRow("edit") << "edit" << Names{{"1A", "eins"}, {"2A", "neu"}, {"3A", ""}};
        QTest::newRow("paste past 12H") << "paste" << Names{{"1A", "eins"}, {"2A", "zwei"}, {"3A", ""}, {"12H", "a"}};
        QTest::newRow("load") << "load" << Names{{"5C", "fünf"}};
        QTest::newRow("remove") << "remove" << Names{{"2A", "zwei"}};
        QTest::newRow("clear") << "clear" << Names{};
    }

    void undoRedo()
    {
        QFETCH(QString, change);
        QFETCH(Names, after);

        Store::Restored document(store());
        document.setName(u"1A"_s, u"eins"_s);
        document.setName(u"2A"_s, u"zwei"_s);
        document.setName(u"3A"_s, QString()); // emptied: there, with no name
        const Names before = document.names();
        QVERIFY(document.paste(0, u"\r\n \n\t\n"_s).names.isEmpty());  // no names in it: no change to undo
        const QString list = dir->filePath(u"Grüße Anlage Süd.csv"_s); // a name beyond ASCII
        QVERIFY(Files::write(list, "Adresse;Name\n5C;fünf\n"));
        QSignalSpy shown(&document, &NamesDocument::namesChanged);
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
            QTRY_COMPARE(NamesStore::read(store()).names, expected); // stored without being asked
            expected == after ? document.undoStack()->undo() : document.undoStack()->redo();
        }
        QCOMPARE(shown.size(), 4);            // the change, an undo, a redo, an undo
        document.setName(u"1A"_s, QString()); // an emptied name is left out of a saved list
        QCOMPARE(document.saveAs(list).kind, ErrorKind::None);
        QCOMPARE(NamesCsv::readFile(list).names, (Names{{"2A", "zwei"}}));
#ifndef Q_OS_WIN // a device is written into, never replaced by a file; only root may make one
        const QString null = dir->filePath(u"null"_s);
        QVERIFY(QProcess::execute(u"mknod"_s, {null, u"c"_s, u"1"_s, u"3"_s}) != 0
                || document.saveAs(null).kind == ErrorKind::None);
        QVERIFY(!QFileInfo(null).isFile());
#endif
    }

    void storeEdges()
    {
        // A folder where the list or its times go: tried again for a while (ten times 50 ms), then told.
        for (const QString &blocked : {StoreFile::timesPath(store()), store()}) {
            const qint64 start = StoreClock::ticks();
            QVERIFY(QDir().mkpath(blocked));
            const NamesCsv::Error error = StoreFile::write(store(), {{"1A", {u"x"_s, 1}}});
            QCOMPARE(error.kind, ErrorKind::Unwritable);
            QCOMPARE(error.detail, QDir::toNativeSeparators(blocked) + u" is a folder"_s);
            QVERIFY(StoreClock::ticks() - start >= 450 && QDir().rmdir(blocked));
        }
        QCOMPARE(QDir(QFileInfo(store()).path()).entryList(QDir::Files),
                 QStringList{u"namen.csv.zeiten"_s}); // none left
        // Stamped over an hour ahead, it came from a wrong clock: an edit here keeps this side's time, and loses.
        // Its time is told by its name, which the list holds with an apostrophe first.
        const Stamped ahead{u"=vorn"_s, QDateTime::currentMSecsSinceEpoch() + qint64{2} * 3600 * 1000};
        QCOMPARE(StoreFile::write(store(), {{"1A", ahead}}).kind, ErrorKind::None);
        Store::Restored document(store());
        document.setName(u"1A"_s, u"hier"_s);
        QVERIFY(Store::stored(document));
        QCOMPARE(document.names().value(u"1A"_s), u"=vorn"_s);
#ifndef Q_OS_WIN // held open on Windows, a lock needs no refresh
        {
            // Held, it is kept fresh once a period, not more often, never as old as one left behind.
            StoreLock held(store());
            QVERIFY(held.acquire(0));
            for (const int periods : {1, 0}) {
                QVERIFY(Store::setFileTime(store() + u".lock"_s, QDateTime::currentDateTime().addSecs(-11)));
                StoreClock::advance(periods == 1 ? 2500 : 0);
                QTest::qWait(100); // for what must not happen
                QTRY_COMPARE(QFileInfo(store() + u".lock"_s).lastModified().secsTo(QDateTime::currentDateTime()) < 10,
                             periods == 1);
            }
            // A link put in its place, and what it points to, from 2001: the link is refreshed, never its target.
            const QString lock = store() + u".lock"_s;
            const QString target = dir->filePath(u"geheim"_s);
            QVERIFY(Files::write(target, "x") && QProcess::execute(u"ln"_s, {u"-sf"_s, target, lock}) == 0
                    && QProcess::execute(u"touch"_s, {u"-h"_s, u"-d"_s, u"@1000000000"_s, lock, target}) == 0);
            StoreClock::advance(2500);
            struct stat own = {};
            QTRY_VERIFY(::lstat(QFile::encodeName(lock).constData(), &own) == 0 && own.st_mtim.tv_sec > 1000000000);
            QCOMPARE(QFileInfo(target).lastModified().toSecsSinceEpoch(), 1000000000);
        }
        // A lock no one can read yet stalls the store, as a network folder can: told once it lasts.
        QSignalSpy failed(&document.store(), &SharedStore::failed);
        QFile lock(store() + u".lock"_s);
        QCOMPARE(QProcess::execute(u"mkfifo"_s, {lock.fileName()}), 0);
        document.setName(u"2A"_s, u"zwei"_s);
        document.store().storeNow();
        StoreClock::advance(6000); // this late at once, this process was held, not the folder: not told yet
        QCoreApplication::processEvents();
        QCOMPARE(failed.size(), 0);
        StoreClock::advance(3000);
        QTRY_VERIFY(failed.size() == 1 && document.store().error().kind == ErrorKind::Stalled);
        QVERIFY(lock.open(QIODevice::WriteOnly) && QFile::remove(lock.fileName())); // read at last, and gone
        lock.close();
        QTRY_VERIFY(!document.store().failing() && document.store().pendingCount() == 0); // stored then
#endif
    }

    void storeLinks_data()
    {
        QTest::addColumn<QString>("linked"); // which of the store's files: the list, its times or its lock
        QTest::addColumn<QString>("target"); // what the link points to; "hard" for a hard link
        QTest::addColumn<ErrorKind>("kind");
        for (const char *linked : {"", ".zeiten", ".lock"})
            for (const char *target : {"file", "folder", "device", "missing"})
                QTest::addRow("%s to a %s", *linked != 0 ? linked : "list", target)
                    << linked << target << ErrorKind::Link;
        QTest::newRow("list, a hard link") << QString() << u"hard"_s << ErrorKind::None;
    }

    void storeLinks()
    {
#ifdef Q_OS_WIN
        QSKIP("QFile::link makes shortcuts here, not links");
#else
        QFETCH(QString, linked);
        QFETCH(QString, target);
        QFETCH(ErrorKind, kind);
        // The store's folder reached through a link, the user's to choose, is written as any.
        const QString store = dir->filePath(u"daten/vesk-adressen/namen.csv"_s);
        const QString link = store + linked;
        const QString to = dir->filePath(target);
        const QDateTime written = QDateTime::currentDateTime().addSecs(-3600);
        const QByteArray content = target == u"hard" ? "Adresse;Name\n" : "geheim\n"; // a hard link is read as the list
        if (target == u"device" && QProcess::execute(u"mknod"_s, {to, u"c"_s, u"1"_s, u"3"_s}) != 0)
            QSKIP("only root may make a device file");
        QVERIFY(QDir().mkpath(dir->filePath(u"echt/vesk-adressen"_s))
                && QFile::link(dir->filePath(u"echt"_s), dir->filePath(u"daten"_s)));
        QVERIFY(
            target == u"device" || target == u"missing"
            || (target == u"folder" ? QDir().mkdir(to) : Files::write(to, content) && Store::setFileTime(to, written)));
        QVERIFY(target != u"hard" || QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::ExeOther));
        QCOMPARE(QProcess::execute(u"ln"_s, {target == u"hard" ? u"-f"_s : u"-s"_s, to, link}), 0);
        // Read as before a write, a link in place of the list is told, not moved aside; then written under the lock.
        QCOMPARE(NamesStore::load(store).error.kind, linked.isEmpty() ? kind : ErrorKind::None);
        QVERIFY(target != u"missing" || !linked.isEmpty() || NamesStore::read(store).error.kind == ErrorKind::Link);
        StoreLock lock(store);
        const NamesCsv::Error error = lock.acquire(0) ? StoreFile::write(store, {{"1A", {u"x"_s, 1}}}) : lock.error();
        QCOMPARE(error.kind, kind);
        QCOMPARE(error.detail, kind == ErrorKind::Link ? QDir::toNativeSeparators(link) : QString());
        // The link, and what it points to, as they were; a hard link's other name keeps its bytes.
        QCOMPARE(QFileInfo(link).symLinkTarget(), target == u"hard" ? QString() : to);
        QCOMPARE(QFileInfo(to).isFile(), target == u"file" || target == u"hard");
        QVERIFY(!QFileInfo(to).isFile() || (Files::read(to) == content && QFileInfo(to).lastModified() == written));
        QVERIFY(target != u"hard" || QFile::permissions(store).testFlag(QFileDevice::ExeOther)); // as shared
        QCOMPARE(Files::read(store).contains("1A;x\r\n"), kind == ErrorKind::None);
#endif
    }

    void conflictCopyNames_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("copy"); // of which, whose, its date and time; empty: no conflict copy
        const auto row = [](const QString &file, const QString &copy) {
            QTest::newRow(qPrintable(file)) << file << copy;
        };
        // clang-format off
        for (const auto &[list, times, copy] : {
                 std::tuple{"namen.sync-conflict-20261209-011038-M2B6222.csv", "namen.csv.sync-conflict-20261209-011038-M2B6222.zeiten", "Syncthing 2026-12-09 01:10:38"},
                 {"namen (conflicted copy 2026-12-09 011038).csv", "namen.csv (conflicted copy 2026-12-09 011038).zeiten", "Nextcloud 2026-12-09 01:10:38"},
                 {"namen (conflicted copy anna 2026-12-09 011038).csv", "namen.csv (conflicted copy anna 2026-12-09 011038).zeiten", "Nextcloud 2026-12-09 01:10:38"},
                 {"namen_conflict-20261209-011038.csv", "namen.csv_conflict-20261209-011038.zeiten", "Nextcloud 2026-12-09 01:10:38"},
                 {"namen (Anna's conflicted copy 2026-12-09).csv", "namen.csv (Anna's conflicted copy 2026-12-09).zeiten", "Dropbox 2026-12-09"},
                 {"namen (Anna’s conflicted copy 2026-12-09 (1)).csv", "namen.csv (Anna’s conflicted copy 2026-12-09 (1)).zeiten", "Dropbox 2026-12-09"},
                 {"namen (Annas in Konflikt stehende Kopie 2026-12-09).csv", "namen.csv (Annas in Konflikt stehende Kopie 2026-12-09).zeiten", "Dropbox 2026-12-09"},
                 {"namen-ANNA-PC.csv", "namen.csv-anna-pc.zeiten", "OneDrive"}, {"namen-Jürgens-Laptop.csv", "namen.csv-jürgens-laptop.zeiten", "OneDrive"},
                 {"namen (copia in conflitto di Anna 2026-12-09).csv", "namen.csv (copia in conflitto di Anna 2026-12-09).zeiten", "Dated 2026-12-09"}}) {
            row(QString::fromUtf8(list), u"List "_s + copy);
            row(QString::fromUtf8(list) + u".zeiten"_s, u"Times "_s + copy); // or named as the times file
            row(QString::fromUtf8(times), u"Times "_s + copy);
        }
        for (const char *file : {"namen.csv", "namen.csv.zeiten", "namen.csv.lock", "namen-alt.csv", "namen.csv.bak", "namen (1).csv", "namen.sync-conflict-bogus.csv",
                 "dinge.sync-conflict-20261209-011038-M2B6222.csv", "namen.csv.zeiten.zeiten", "namen.sync-conflict-20261309-011038-M2B6222.csv", "namen.csv.defekt-20261209-011038",
                 "namen.csv-BERT.zeiten", "namen.sync-conflict-20261209-011038-M2B6222.zeiten", "namen.csv.sync-conflict-20261209-011038-M2B6222.csv",
                 "namen (conflicted copy 2026-12-09 251038).csv", "namen (Anna's conflicted copy 2026-02-30).csv", "namen (Kopie 2026-12-09) (1).csv"})
            row(QString::fromUtf8(file), QString());
        // clang-format on
    }

    // Told by the name alone; OneDrive's only after a computer recorded as having written the store.
    void conflictCopyNames()
    {
        QFETCH(QString, file);
        QFETCH(QString, copy);
        const ConflictCopy found = ConflictCopy::classify(u"namen.csv"_s, file, {u"ANNA-PC"_s, u"jürgens-laptop"_s});
        const char *const of[] = {"", "List", "Times"};
        const char *const services[] = {"", "Syncthing", "Nextcloud", "Dropbox", "OneDrive", "Dated"};
        const QString date = found.date.toString(Qt::ISODate) + u' ' + found.time.toString(Qt::ISODate);
        QCOMPARE(u"%1 %2 %3"_s.arg(of[int(found.of)], services[int(found.service)], date).trimmed(), copy);
    }
};

VESK_GUILESS_TEST_MAIN(TestNames)
#include "tst_names.moc"

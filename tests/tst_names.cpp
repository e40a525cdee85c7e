#include "address/addresscodec.h"
#include "address/modulename.h"
#include "names/nameforms.h"
#include "names/namerules.h"
#include "support/storetest.h"

// Addresses, names lists and pasted blocks.
class TestNames : public QObject, private Store::Folder
{
    Q_OBJECT

public:
    // How a case meets its error: a list read or written (folder missing, in the way, a node), or told.
    enum Path { Read, ReadMissing, WriteMissing, WriteHere, WriteNode, WriteLimited, Told };
    Q_ENUM(Path)

private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }

    void decode_data()
    {
        // row: in the names table; -1 for none.
        addColumns<QString, QList<int>, QString, bool, int>("text", "dipp", "canonical", "plain", "row");

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
        auto [text, dipp, canonical, plain, row] =
            fetched<QString, QList<int>, QString, bool, int>("text", "dipp", "canonical", "plain", "row");

        QCOMPARE(AddressCodec::isPlainAddress(text), plain);
        const DippSetting decoded = AddressCodec::decode(text);
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
        // rows: as drawn: + top, 0 middle, - bottom.
        addColumns<QList<int>, QString, bool, QString>("positions", "address", "settable", "rows");

        QTest::newRow("7C") << QList<int>{0, 2, 0, 0, 2} << "7C" << true << "+0++0";
        QTest::newRow("12H") << QList<int>{1, 0, 2, 2, 1} << "12H" << true << "-+00-";
        // Positions no switch has: the number wraps as unsigned, a letter beyond K is A, drawn on top.
        QTest::newRow("letter 12") << QList<int>{2, 2, 2, 3, 2} << "27A" << false << "000+0";
        QTest::newRow("below 0") << QList<int>{0, 0, -1, 0, 0} << "0A" << false << "+++++";
    }

    void switches()
    {
        auto [positions, address, settable, rows] =
            fetched<QList<int>, QString, bool, QString>("positions", "address", "settable", "rows");

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
        addColumns<QByteArray, Names>("data", "names");

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
        for (const auto encoding : {QStringConverter::Utf16LE, QStringConverter::Utf16BE})
            for (const auto flag : {QStringEncoder::Flag::WriteBom, QStringEncoder::Flag::Default})
                QTest::addRow("UTF-16 %d %d", encoding, int(flag)) << QByteArray(QStringEncoder(encoding, flag)(u"Adresse\tName\r\n1A\t€ Öl 😀\r\n"_s)) << Names{{"1A", "€ Öl 😀"}};
        // clang-format on
    }

    void parseGood()
    {
        auto [data, names] = fetched<QByteArray, Names>("data", "names");
        const QString list = dir->filePath(u"liste.csv"_s);
        QVERIFY(Files::write(list, data));
        const NamesCsv::ReadResult result = NamesCsv::readFile(list);
        QCOMPARE(result.error.kind, ErrorKind::None);
        QCOMPARE(result.names, names);
    }

    void parseBad_data()
    {
        // english: as the command line says it; after ": " the system's reason.
        addColumns<Path, ErrorKind, QByteArray, QString>("path", "kind", "data", "english");

        const QString header = u"line 1: the header must name the columns Adresse and Name"_s;
        const QString unknown = u"line %1: '%2' is not one of the addresses A-H 1-12"_s;
        // clang-format off
        const QString stray = u"line %1: a byte that is not UTF-8 in a file that is otherwise UTF-8; save the list as UTF-8 again"_s;
        QTest::newRow("empty") << Read << ErrorKind::MissingHeader << QByteArray() << header;
        QTest::newRow("no name column") << Read << ErrorKind::MissingHeader << QByteArray("Adresse;Titel\n1A;x\n") << header;
        QTest::newRow("number 13") << Read << ErrorKind::UnknownAddress << QByteArray("Adresse;Name\n1A;x\n13A;x\n") << unknown.arg(3).arg("13A");
        QTest::newRow("lines counted inside quotes") << Read << ErrorKind::UnknownAddress << QByteArray("Adresse;Name\n1A;\"a\nb\"\n99Z;x\n") << unknown.arg(4).arg("99Z");
        QTest::newRow("three fields") << Read << ErrorKind::WrongFieldCount << QByteArray("Adresse;Name\n1A;x;y\n") << "line 2: a line needs 2 fields, this one has 3";
        QTest::newRow("one field") << Read << ErrorKind::WrongFieldCount << QByteArray("Adresse;Name\n\n1A\n") << "line 3: a line needs 2 fields, this one has 1";
        QTest::newRow("other columns") << Read << ErrorKind::OtherColumn << QByteArray("Ort;Adresse;Name;Typ\n") << "line 1: the header has a column 'Ort' besides Adresse and Name";
        QTest::newRow("twice") << Read << ErrorKind::DuplicateAddress << QByteArray("Adresse;Name\n1A;x\na1;y\n") << "line 3: address 1A is listed twice";
        QTest::newRow("open quote") << Read << ErrorKind::UnterminatedQuote << QByteArray("Adresse;Name\n1A;\"offen\n2A;x\n") << "line 2: a quoted field is not closed";
        QTest::newRow("text after quote") << Read << ErrorKind::TextAfterQuote << QByteArray("Adresse;Name\n1A;\"zu\nzu\"x\n") << "line 3: text follows a closing quote";
        QTest::newRow("UTF-8 and a stray byte") << Read << ErrorKind::MixedEncoding << QByteArray("Adresse;Name\n1A;Grüße\n2A;M\xFC" "de\n") << stray.arg(3);
        QTest::newRow("a stray byte after the mark") << Read << ErrorKind::MixedEncoding << QByteArray("\xEF\xBB\xBF" "Adresse;Name\x84\r\n") << stray.arg(1);
        QTest::newRow("CR alone, a stray byte after U+0080") << Read << ErrorKind::MixedEncoding << QByteArray("Adresse;Name\r\n1A;\xC2\x80\r\r2A;\xF6\r") << stray.arg(4);
        const QString tooLong = u"line 3: the name is too long (%1 characters/UTF-16 code units); a name holds at most 1000 characters and 4000 code units (emoji and accents take several)"_s;
        QTest::newRow("name too long") << Read << ErrorKind::NameTooLong << QByteArray("Adresse;Name\n1A;x\n2A;") + QByteArray(1001, 'x') << tooLong.arg("1001/1001");
        QTest::newRow("name too composed") << Read << ErrorKind::NameTooLong << QByteArray("Adresse;Name\r\n1A;x\r\n2A;e") + u"\u0301"_s.repeated(4000).toUtf8() << tooLong.arg("1/4001");
        const QString spreadsheet = u"a spreadsheet file (%1), not a names list: save it as CSV"_s;
        QTest::newRow("xlsx") << Read << ErrorKind::SpreadsheetFile << QByteArrayLiteral("PK\x03\x04\x14\0\0\0\0\0[Content_Types].xml\0\0PK\x03\x04xl/workbook.xml") << spreadsheet.arg("xlsx");
        QTest::newRow("ods") << Read << ErrorKind::SpreadsheetFile << QByteArrayLiteral("PK\x03\x04\x14\0\0\0\0\0mimetypeapplication/vnd.oasis.opendocument.spreadsheetPK") << spreadsheet.arg("ods");
        QTest::newRow("numbers") << Read << ErrorKind::SpreadsheetFile << QByteArrayLiteral("PK\x03\x04\x14\0\0\0\0\0Index/Document.iwa") << spreadsheet.arg("numbers");
        const QString binary = u"the file holds no text: a picture or another binary file, not a names list"_s;
        QTest::newRow("a zip of another kind") << Read << ErrorKind::NotText << QByteArrayLiteral("PK\x03\x04\x14\0\0\0\0\0word/document.xml") << binary;
        QTest::newRow("PNG") << Read << ErrorKind::NotText << QByteArrayLiteral("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0\x1F\xF3\xFF\xC3\xA4") << binary;
        for (const char control : {'\x01', '\b', '\x0E', '\x1F'}) {
            QTest::addRow("Windows-1252, control %d", control) << Read << ErrorKind::NotText << QByteArray("\x89") + control << binary;
            QTest::addRow("UTF-16, control %d", control) << Read << ErrorKind::NotText << QByteArray(1, control) + '\0' << binary;
        }
        QTest::newRow("zeros a crash left") << Read << ErrorKind::NotText << QByteArray(4096, '\0') << binary;
        QTest::newRow("controls of text, no header") << Read << ErrorKind::MissingHeader << QByteArrayLiteral("x y\0\t\x0B\x0C\r\n") << header;
        for (const auto flag : {QStringEncoder::Flag::WriteBom, QStringEncoder::Flag::Default})
            QTest::addRow("UTF-16 %d, Polish, no header", int(flag)) << Read << ErrorKind::MissingHeader << QByteArray(QStringEncoder(QStringConverter::Utf16LE, flag)(u"Adresse;Titel\n1A;\u0142\u0101"_s)) << header;
        QTest::newRow("xls") << Read << ErrorKind::SpreadsheetFile << QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0") << spreadsheet.arg("xls");
        QTest::newRow("too large") << Read << ErrorKind::TooLarge << QByteArray(NamesCsv::maxListBytes + 1, '\n') << "the file has 4194305 bytes, too large for a names list (at most 4 MiB)";
        QTest::newRow("missing file") << ReadMissing << ErrorKind::Unreadable << QByteArray() << "cannot be read: ";
        QTest::newRow("missing folder") << WriteMissing << ErrorKind::FolderUnwritable << QByteArray() << "the folder cannot be created or written to: ";
        QTest::newRow("a folder in the way") << WriteHere << ErrorKind::Unwritable << QByteArray() << "cannot be written: ";
#ifndef Q_OS_WIN // written into as they are, made by the command in data
        QTest::newRow("a full device") << WriteNode << ErrorKind::Unwritable << QByteArray("mknod c 1 7") << "cannot be written: No space left on device";
        QTest::newRow("a FIFO no one reads") << WriteNode << ErrorKind::Unwritable << QByteArray("mkfifo") << "cannot be written: nobody reads from the FIFO";
        QTest::newRow("a folder") << WriteNode << ErrorKind::Unwritable << QByteArray(".") << "cannot be written: Is a directory";
        QTest::newRow("over a size limit, as a full disk") << WriteLimited << ErrorKind::Unwritable << QByteArray() << "cannot be written: File too large";
#endif
        QTest::newRow("full") << Told << ErrorKind::NoSpace << QByteArray() << "no space left on the device";
        // clang-format on
    }

    void parseBad()
    {
        auto [path, kind, data, english] =
            fetched<Path, ErrorKind, QByteArray, QString>("path", "kind", "data", "english");

        const QString missing = dir->filePath(u"fehlt/namen.csv"_s);
        const QString list = dir->filePath(u"liste.csv"_s);
        NamesCsv::ReadResult result;
        if (path == ReadMissing)
            result = NamesCsv::readFile(missing);
        else if (path == WriteMissing)
            result.error = NamesCsv::writeFile(missing, {});
        else if (path == WriteHere)
            result.error = NamesCsv::writeData(dir->filePath(u"."_s), {}); // a folder where the file would be
        else if (path == WriteNode) {
            const QString node = dir->filePath(data == "." ? u"."_s : u"node"_s);
            const QStringList made = QString::fromUtf8(data).split(u' ');
            if (data != "." && QProcess::execute(made.first(), QStringList{node} + made.mid(1)) != 0)
                QSKIP("only root may make a device file");
            result.error = NamesCsv::writeFile(node, {});
        } else if (path == WriteLimited && Files::write(list, "alt")) { // a list too small to be written unflushed
#ifndef Q_OS_WIN
            rlimit before{};
            getrlimit(RLIMIT_FSIZE, &before);
            const rlimit small{4, before.rlim_max};
            std::signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &small);
            result.error = NamesCsv::writeFile(list, {});
            setrlimit(RLIMIT_FSIZE, &before);
            QCOMPARE(Files::read(list), QByteArray("alt"));
#endif
        } else if (path == Told)
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

    void storeErrors_data()
    {
        addColumns<StoreError::Kind, QByteArray, QString, QString>("kind", "lock", "english", "german");
        // clang-format off
        QTest::newRow("locked") << StoreError::Kind::Locked << QByteArray("99999\nfremdprog\nfremdrechner\n") << "cannot be written: another window or vesk-dipp holds its lock (fremdprog, 99999, fremdrechner)" << "Die Datei ist gesperrt: Ein anderes Fenster oder vesk-dipp schreibt hinein (fremdprog, 99999, fremdrechner).";
        QTest::newRow("a link") << StoreError::Kind::Link << QByteArray() << "x is a symbolic link: the store does not write through a link and left the link and its target as they are" << "x ist ein symbolischer Link. Die Namen werden nicht durch einen Link geschrieben; der Link und seine Zieldatei bleiben, wie sie sind.";
        QTest::newRow("stalled") << StoreError::Kind::Stalled << QByteArray() << "the folder does not answer; it stalls, as a network folder can" << "Der Ordner antwortet nicht; er hängt, wie es ein Netzwerkordner tun kann.";
        QTest::newRow("the list's own") << StoreError::Kind::List << QByteArray() << "no space left on the device" << "Auf dem Datenträger ist kein Platz mehr.";
        // clang-format on
    }

    void storeErrors()
    {
        auto [kind, lock, english, german] =
            fetched<StoreError::Kind, QByteArray, QString, QString>("kind", "lock", "english", "german");
        const QString list = dir->filePath(u"liste.csv"_s);
        StoreError error = kind == StoreError::Kind::List ? StoreError(NamesCsv::Error{ErrorKind::NoSpace, 0, u"x"_s})
                                                          : StoreError(kind, u"x"_s);
        if (StoreLock held(list); !lock.isEmpty()) { // another computer's, fresh by the store's clock
            const QDateTime now = QDateTime::fromMSecsSinceEpoch(StoreClock::now());
            const bool written = Files::write(list + u".lock"_s, lock) && Store::setFileTime(list + u".lock"_s, now);
            error = written && !held.acquire(0) ? held.error() : StoreError();
        }
        QCOMPARE(error.kind, kind);
        QCOMPARE(error.describe(NamesCsv::Language::English), english);
        QCOMPARE(error.describe(NamesCsv::Language::German), german);
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
        // shown: by a search; all if none given. left: lines without a row, cells beside the names, names refused,
        // names in hidden rows; 0 if not given. told: in the window.
        addColumns<QString, int, QList<int>, Names, QList<qsizetype>, QString>("text", "firstRow", "shown", "names",
                                                                               "left", "told");

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
        auto [text, firstRow, shown, names, left, told] =
            fetched<QString, int, QList<int>, Names, QList<qsizetype>, QString>("text", "firstRow", "shown", "names",
                                                                                "left", "told");
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
        // seen: in the window's table, on a terminal's line, typed for names set.
        addColumns<QString, QStringList>("name", "seen");
        // clang-format off
        QTest::newRow("an override and an isolate") << u"Weiche \u202EEnde\u2069 תחנה"_s << QStringList{u"Weiche ⟨U+202E⟩Ende⟨U+2069⟩ תחנה"_s, uR"(Weiche \u{202E}Ende\u{2069} תחנה)"_s, uR"(Weiche \u{202E}Ende\u{2069} תחנה)"_s};
        QTest::newRow("ESC, line break, tab, C1, DEL") << u"Öl\x1b[2J\nb\tc\u0085d\x7f"_s << QStringList{u"Öl␛[2J\nb␉c⟨U+0085⟩d␡"_s, uR"(Öl\u{1B}[2J\u{A}b\u{9}c\u{85}d\u{7F})"_s, u"\\u{d6}l\\u{1b}[2J\nb\\u{9}c\\u{85}d\\u{7F}"_s};
        QTest::newRow("backslashes") << u"C:\\u{41} \\\x1b \\\\u{ x\\"_s << QStringList{u"C:\\u{41} \\␛ \\\\u{ x\\"_s, uR"(C:\\u{41} \\\u{1B} \\\\u{ x\)"_s, uR"(C:\\u{41} \\\u{1b} \\\\u{ x\)"_s};
        QTest::newRow("no character") << uR"(A😀\u{110000}\u{D800}\u{}\u{0000041}\u{+1}\B)"_s << QStringList{uR"(A😀\u{110000}\u{D800}\u{}\u{0000041}\u{+1}\B)"_s, uR"(A😀\\u{110000}\\u{D800}\\u{}\\u{0000041}\\u{+1}\B)"_s, uR"(\u{41}\u{01f600}\u{110000}\u{D800}\u{}\u{0000041}\u{+1}\\\u{42})"_s};
        // clang-format on
    }

    void shownForms()
    {
        auto [name, seen] = fetched<QString, QStringList>("name", "seen");
        QCOMPARE((QStringList{NameForms::visible(name), NameForms::escaped(name, NameForms::LineBreaks::Escaped)}),
                 seen.first(2));
        QCOMPARE((QStringList{NameForms::unescaped(seen[1]), NameForms::unescaped(seen[2]), NameForms::isolated(name)}),
                 (QStringList{name, name, u"\u2068"_s + seen[0] + u"\u2069"_s}));
    }
};

VESK_GUILESS_TEST_MAIN(TestNames)
#include "tst_names.moc"

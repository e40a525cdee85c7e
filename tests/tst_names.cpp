#include "names/namescsv.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QTest>

using Names = QHash<QString, QString>;
using NamesCsv::ErrorKind;

class TestNames : public QObject
{
    Q_OBJECT

private slots:
    void parseGood_data();
    void parseGood();
    void parseBad_data();
    void parseBad();
    void savedLayoutReadsBack();
    void failedSaveKeepsOldFile();
};

void TestNames::parseGood_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<Names>("names");

    QTest::newRow("semicolon, both forms")
        << QByteArray("Adresse;Name\n12A;Lager\nA3;Tor\n") << Names{{"12A", "Lager"}, {"3A", "Tor"}};
    QTest::newRow("tab, blanks, columns swapped")
        << QByteArray("Name\tAdresse\nSignal\t h5 \n") << Names{{"5H", "Signal"}};
    QTest::newRow("BOM and CRLF") << QByteArray("\xEF\xBB\xBF"
                                                "Adresse;Name\r\n1A;Ölpumpe\r\n")
                                  << Names{{"1A", "Ölpumpe"}};
    QTest::newRow("Windows-1252") << QByteArray("Adresse;Name\r\n1A;Gr\xFC\xDF"
                                                "e\r\n2A;\x80 5\r\n3A;\x84"
                                                "Anf\xFChrung\x93\r\n")
                                  << Names{{"1A", "Grüße"}, {"2A", "€ 5"}, {"3A", "„Anführung“"}};
    QTest::newRow("quoted fields") << QByteArray("Adresse;Name\n1A;\"a;b \"\"c\"\"\"\n\"2A\";\"zwei\r\nZeilen\"\r\n")
                                   << Names{{"1A", "a;b \"c\""}, {"2A", "zwei\nZeilen"}};
    QTest::newRow("doubled CR in quotes")
        << QByteArray("Adresse;Name\n1A;\"a\r\r\nb\"\n2A;\"c\r\rd\"\n") << Names{{"1A", "a\nb"}, {"2A", "c\r\rd"}};
    QTest::newRow("blank line, empty name, no final line end")
        << QByteArray("Adresse;Name\n\n1A;\n2A;x") << Names{{"1A", ""}, {"2A", "x"}};
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
    QTest::addColumn<ErrorKind>("kind");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("detail");

    QTest::newRow("empty") << QByteArray() << ErrorKind::MissingHeader << 1 << "";
    QTest::newRow("no name column") << QByteArray("Adresse;Titel\n1A;x\n") << ErrorKind::MissingHeader << 1 << "";
    QTest::newRow("number 13") << QByteArray("Adresse;Name\n1A;x\n13A;x\n") << ErrorKind::UnknownAddress << 3 << "13A";
    QTest::newRow("letter I") << QByteArray("Adresse;Name\n9I;x\n") << ErrorKind::UnknownAddress << 2 << "9I";
    QTest::newRow("three fields") << QByteArray("Adresse;Name\n1A;x;y\n") << ErrorKind::WrongFieldCount << 2 << "3";
    QTest::newRow("twice") << QByteArray("Adresse;Name\n1A;x\na1;y\n") << ErrorKind::DuplicateAddress << 3 << "1A";
    QTest::newRow("open quote") << QByteArray("Adresse;Name\n1A;\"offen\n2A;x\n") << ErrorKind::UnterminatedQuote << 2
                                << "";
    QTest::newRow("text after quote") << QByteArray("Adresse;Name\n1A;\"zu\"x\n") << ErrorKind::TextAfterQuote << 2
                                      << "";
    QTest::newRow("lines counted inside quotes")
        << QByteArray("Adresse;Name\n1A;\"a\nb\"\n99Z;x\n") << ErrorKind::UnknownAddress << 4 << "99Z";
    QTest::newRow("missing file") << QByteArray() << ErrorKind::Unreadable << 0 << "";
}

void TestNames::parseBad()
{
    QFETCH(QByteArray, data);
    QFETCH(ErrorKind, kind);
    QFETCH(int, line);
    QFETCH(QString, detail);

    const NamesCsv::ReadResult result = kind == ErrorKind::Unreadable
                                            ? NamesCsv::readFile(QStringLiteral("/nonexistent/namen.csv"))
                                            : NamesCsv::parse(data);
    QCOMPARE(result.error.kind, kind);
    QCOMPARE(result.error.line, line);
    QCOMPARE(NamesCsv::hasLine(kind), line > 0);
    if (kind != ErrorKind::Unreadable)
        QCOMPARE(result.error.detail, detail);
    QVERIFY(result.names.isEmpty());
}

void TestNames::savedLayoutReadsBack()
{
    Names names{{"12H", "Ende"}, {"1A", " Anfang "}, {"2A", "a;b,c\t\"d\""}, {"5C", "zwei\nZeilen"}, {"9G", "x\r"}};
    const QByteArray saved = NamesCsv::serialize(names);
    names.insert(QStringLiteral("13A"), QStringLiteral("nie"));
    QCOMPARE(NamesCsv::serialize(names), saved);
    names.remove(QStringLiteral("13A"));
    QCOMPARE(saved, QByteArray("\xEF\xBB\xBF"
                               "Adresse;Name\r\n1A;\" Anfang \"\r\n2A;\"a;b,c\t\"\"d\"\"\"\r\n5C;\"zwei\nZeilen\"\r\n"
                               "9G;\"x\r\"\r\n12H;Ende\r\n"));
    QCOMPARE(NamesCsv::parse(NamesCsv::serialize(names)).names, names);
}

void TestNames::failedSaveKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("namen.csv"));
    QCOMPARE(NamesCsv::writeFile(path, {{"1A", "alt"}}).kind, ErrorKind::None);
    {
        Files::ReadOnlyDir readOnly(dir.path());
        const NamesCsv::Error error = NamesCsv::writeFile(path, {{"1A", "neu"}});
        QCOMPARE(error.kind, ErrorKind::Unwritable);
        QVERIFY(!error.detail.isEmpty());
    }
    QCOMPARE(NamesCsv::readFile(path).names, (Names{{"1A", "alt"}}));
}

QTEST_GUILESS_MAIN(TestNames)
#include "tst_names.moc"

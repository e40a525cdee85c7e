#include "names/namescsv.h"
#include "support/readonlydir.h"

#include <QTemporaryDir>
#include <QTest>

using Names = QHash<QString, QString>;
using NamesCsv::ErrorKind;
Q_DECLARE_METATYPE(ErrorKind)

class TestNamesCsv : public QObject
{
    Q_OBJECT

private slots:
    void parseGood_data();
    void parseGood();
    void parseBad_data();
    void parseBad();
    void roundTrip();
    void writtenLayout();
    void failedSaveKeepsOldFile();
    void missingFileIsUnreadable();
};

void TestNamesCsv::parseGood_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<Names>("names");

    QTest::newRow("semicolon, both forms")
        << QByteArray("Adresse;Name\n12A;Lager\nA3;Tor\n") << Names{{"12A", "Lager"}, {"3A", "Tor"}};
    QTest::newRow("comma, lower case") << QByteArray("adresse,name\n1b,Weiche\n") << Names{{"1B", "Weiche"}};
    QTest::newRow("tab, blanks around address")
        << QByteArray("Adresse\tName\n h5 \tSignal\n") << Names{{"5H", "Signal"}};
    QTest::newRow("columns swapped") << QByteArray("Name;Adresse\nLager;12A\n") << Names{{"12A", "Lager"}};
    QTest::newRow("BOM and CRLF") << QByteArray("\xEF\xBB\xBF"
                                                "Adresse;Name\r\n1A;Ölpumpe\r\n2A;Süd\r\n")
                                  << Names{{"1A", "Ölpumpe"}, {"2A", "Süd"}};
    QTest::newRow("quoted fields") << QByteArray("Adresse;Name\n1A;\"a;b \"\"c\"\"\"\n\"2A\";\"zwei\r\nZeilen\"\r\n")
                                   << Names{{"1A", "a;b \"c\""}, {"2A", "zwei\nZeilen"}};
    QTest::newRow("doubled CR in quotes")
        << QByteArray("Adresse;Name\n1A;\"a\r\r\nb\"\n2A;\"c\r\rd\"\n") << Names{{"1A", "a\nb"}, {"2A", "c\r\rd"}};
    QTest::newRow("empty name") << QByteArray("Adresse;Name\n1A;\n") << Names{{"1A", ""}};
    QTest::newRow("blank line, no final line end") << QByteArray("Adresse;Name\n\n1A;x") << Names{{"1A", "x"}};
    QTest::newRow("header only") << QByteArray("Adresse;Name\r\n") << Names{};
}

void TestNamesCsv::parseGood()
{
    QFETCH(QByteArray, data);
    QFETCH(Names, names);
    const NamesCsv::ReadResult result = NamesCsv::parse(data);
    QVERIFY2(result.ok(), qPrintable(QString::number(int(result.error.kind))));
    QCOMPARE(result.names, names);
}

void TestNamesCsv::parseBad_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<ErrorKind>("kind");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("detail");

    QTest::newRow("empty") << QByteArray() << ErrorKind::MissingHeader << 1 << "";
    QTest::newRow("other header") << QByteArray("Addr;Name\n1A;x\n") << ErrorKind::MissingHeader << 1 << "";
    QTest::newRow("number 13") << QByteArray("Adresse;Name\n1A;x\n13A;x\n") << ErrorKind::UnknownAddress << 3 << "13A";
    QTest::newRow("letter I") << QByteArray("Adresse;Name\nI1;x\n") << ErrorKind::UnknownAddress << 2 << "I1";
    QTest::newRow("number 0") << QByteArray("Adresse;Name\n0A;x\n") << ErrorKind::UnknownAddress << 2 << "0A";
    QTest::newRow("three fields") << QByteArray("Adresse;Name\n1A;x;y\n") << ErrorKind::WrongFieldCount << 2 << "3";
    QTest::newRow("one field") << QByteArray("Adresse;Name\n1A\n") << ErrorKind::WrongFieldCount << 2 << "1";
    QTest::newRow("twice") << QByteArray("Adresse;Name\n1A;x\na1;y\n") << ErrorKind::DuplicateAddress << 3 << "1A";
    QTest::newRow("open quote") << QByteArray("Adresse;Name\n1A;\"offen\n2A;x\n") << ErrorKind::UnterminatedQuote << 2
                                << "";
    QTest::newRow("text after quote") << QByteArray("Adresse;Name\n1A;\"zu\"x\n") << ErrorKind::TextAfterQuote << 2
                                      << "";
    QTest::newRow("lines counted inside quotes")
        << QByteArray("Adresse;Name\n1A;\"a\nb\"\n99Z;x\n") << ErrorKind::UnknownAddress << 4 << "99Z";
    QTest::newRow("not UTF-8") << QByteArray("Adresse;Name\n1A;\xFF\n") << ErrorKind::NotUtf8 << 0 << "";
}

void TestNamesCsv::parseBad()
{
    QFETCH(QByteArray, data);
    QFETCH(ErrorKind, kind);
    QFETCH(int, line);
    QFETCH(QString, detail);

    const NamesCsv::ReadResult result = NamesCsv::parse(data);
    QCOMPARE(result.error.kind, kind);
    QCOMPARE(result.error.line, line);
    QCOMPARE(result.error.detail, detail);
    QVERIFY(result.names.isEmpty());
}

void TestNamesCsv::roundTrip()
{
    const Names names{
        {"1A", "Ölpumpe"}, {"12H", "a;b,c\t\"d\""}, {"5C", "zwei\nZeilen"}, {"7E", " Leerzeichen "}, {"3B", ""},
        {"9G", "x\r"}};
    const NamesCsv::ReadResult result = NamesCsv::parse(NamesCsv::serialize(names));
    QVERIFY(result.ok());
    QCOMPARE(result.names, names);
}

void TestNamesCsv::writtenLayout()
{
    const QByteArray data = NamesCsv::serialize({{"12H", "Ende"}, {"1A", "Anfang"}, {"13A", "nie"}, {"2A", "x;y"}});
    QCOMPARE(data, QByteArray("\xEF\xBB\xBF"
                              "Adresse;Name\r\n1A;Anfang\r\n2A;\"x;y\"\r\n12H;Ende\r\n"));
}

void TestNamesCsv::failedSaveKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("namen.csv"));
    QCOMPARE(NamesCsv::writeFile(path, {{"1A", "alt"}}).kind, ErrorKind::None);
    {
        ReadOnlyDir readOnly(dir.path());
        const NamesCsv::Error error = NamesCsv::writeFile(path, {{"1A", "neu"}});
        QCOMPARE(error.kind, ErrorKind::Unwritable);
        QVERIFY(!error.detail.isEmpty());
    }
    QCOMPARE(NamesCsv::readFile(path).names, (Names{{"1A", "alt"}}));
}

void TestNamesCsv::missingFileIsUnreadable()
{
    const NamesCsv::ReadResult result = NamesCsv::readFile(QStringLiteral("/nonexistent/namen.csv"));
    QCOMPARE(result.error.kind, ErrorKind::Unreadable);
    QVERIFY(!result.error.detail.isEmpty());
}

QTEST_GUILESS_MAIN(TestNamesCsv)
#include "tst_namescsv.moc"

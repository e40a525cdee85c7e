#include "cli/dippcli.h"
#include "support/files.h"
#include "support/pdfreader.h"
#include "support/readonlydir.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runDipp(const QStringList &arguments, const QString &workDir = QDir::currentPath())
{
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(QStringLiteral(VESK_DIPP_PATH), arguments);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestDippCli : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void convert_data();
    void convert();
    void usageErrors_data();
    void usageErrors();
    void helpDocumentsCommands();
    void renderDefaultFile();
    void renderWithNames();
    void renderNamesErrors_data();
    void renderNamesErrors();
    void renderUnwritableKeepsOldFile();

private:
    std::unique_ptr<QTemporaryDir> dir;
};

void TestDippCli::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestDippCli::convert_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("out");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("decode c7") << QStringList{"decode", "c7"} << "7C\t0 2 0 0 2\t+ 0 + + 0\n" << 0;
    QTest::newRow("decode two") << QStringList{"decode", "a1", "I27"}
                                << "1A\t0 0 0 0 0\t+ + + + +\n27I\t2 2 2 2 2\t0 0 0 0 0\n"
                                << 0;
    QTest::newRow("decode blanks") << QStringList{"decode", " 12 b"} << "12B\t1 0 2 0 1\t- + 0 + -\n" << 0;
    QTest::newRow("decode 28") << QStringList{"decode", "28a"} << "28A\t3 0 0 0 0\t? + + + +\n" << 1;
    QTest::newRow("decode K") << QStringList{"decode", "k5", "1A"}
                              << "5K\t0 1 1 3 1\t+ - - ? -\n1A\t0 0 0 0 0\t+ + + + +\n"
                              << 1;
    QTest::newRow("decode minus") << QStringList{"decode", "-5B"} << "1B\t0 0 0 0 1\t+ + + + -\n" << 0;
    QTest::newRow("encode 7C") << QStringList{"encode", "0", "2", "0", "0", "2"} << "7C\n" << 0;
    QTest::newRow("encode 27I") << QStringList{"encode", "2", "2", "2", "2", "2"} << "27I\n" << 0;
}

void TestDippCli::convert()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    QFETCH(int, exitCode);

    const Run run = runDipp(arguments);
    QCOMPARE(run.out, out);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.err.contains(QStringLiteral("cannot be set with the switches")), exitCode == 1);
}

void TestDippCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");

    QTest::newRow("nothing") << QStringList{} << "No command";
    QTest::newRow("unknown command") << QStringList{"frob"} << "'frob'";
    QTest::newRow("decode without text") << QStringList{"decode"} << "decode";
    QTest::newRow("encode too few") << QStringList{"encode", "0", "0"} << "got 2";
    QTest::newRow("encode 3") << QStringList{"encode", "0", "0", "0", "0", "3"} << "'3'";
    QTest::newRow("encode -1") << QStringList{"encode", "0", "-1", "0", "0", "0"} << "'-1'";
    QTest::newRow("encode x") << QStringList{"encode", "0", "0", "x", "0", "0"} << "'x'";
    QTest::newRow("encode 01") << QStringList{"encode", "0", "0", "01", "0", "0"} << "'01'";
    QTest::newRow("render argument") << QStringList{"render", "extra"} << "'extra'";
    QTest::newRow("render unknown option") << QStringList{"render", "--bogus"} << "bogus";
    QTest::newRow("output without render") << QStringList{"--output", "x.pdf", "decode", "7C"} << "--output";
    QTest::newRow("names without value") << QStringList{"render", "--names"} << "names";
}

void TestDippCli::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);

    const Run run = runDipp(arguments, dir->path());
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(named), qPrintable(run.err));
    QVERIFY(run.err.contains(QStringLiteral("Usage:")));
    QVERIFY(QDir(dir->path()).isEmpty());
}

void TestDippCli::helpDocumentsCommands()
{
    const Run run = runDipp({QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    for (const char *word : {"decode TEXT", "encode P0 P1 P2 P3 P4", "render", "--names", "--output", "Exit status"})
        QVERIFY2(run.out.contains(QLatin1String(word)), word);
    QCOMPARE(runDipp({QStringLiteral("--version")}).exitCode, 0);
}

void TestDippCli::renderDefaultFile()
{
    const Run run = runDipp({QStringLiteral("render")}, dir->path());
    const QString expected = QDir(dir->path()).filePath(QStringLiteral("Dippschalter.pdf"));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, expected + u'\n');
    QCOMPARE(PdfReader::info(expected).value(QStringLiteral("Pages")), QStringLiteral("1"));
}

void TestDippCli::renderWithNames()
{
    const QString names = dir->filePath(QStringLiteral("namen.csv"));
    QVERIFY(Files::write(names, "Adresse;Name\r\nA12;Ölpumpe\r\n1H;\"Tor; Süd\"\r\n"));
    const Run run = runDipp({"render", "--names", names, "--output", "tabelle.pdf"}, dir->path());
    QCOMPARE(run.exitCode, 0);
    const QString pdf = dir->filePath(QStringLiteral("tabelle.pdf"));
    QCOMPARE(run.out, pdf + u'\n');
    QStringList words;
    for (const PdfReader::Word &word : PdfReader::words(pdf))
        words.append(word.text);
    QVERIFY(words.contains(QStringLiteral("Ölpumpe")));
    QVERIFY(words.contains(QStringLiteral("Tor;")) && words.contains(QStringLiteral("Süd")));
}

void TestDippCli::renderNamesErrors_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << QByteArray() << "cannot be read";
    QTest::newRow("bad address") << QByteArray("Adresse;Name\n1A;x\n14C;y\n") << "line 3: '14C'";
    QTest::newRow("no header") << QByteArray("1A;x\n") << "line 1: the header";
}

void TestDippCli::renderNamesErrors()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, reason);

    const QString names = dir->filePath(QStringLiteral("namen.csv"));
    if (!contents.isEmpty())
        QVERIFY(Files::write(names, contents));
    const Run run = runDipp({"render", "--names", names}, dir->path());
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(names) && run.err.contains(reason), qPrintable(run.err));
    QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("Dippschalter.pdf"))));
}

void TestDippCli::renderUnwritableKeepsOldFile()
{
    const QString missingDir = dir->filePath(QStringLiteral("nicht/da.pdf"));
    const Run run = runDipp({"render", "--output", missingDir});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(missingDir), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());

    // Run here, not as a child: as root the test turns into an unprivileged user, who
    // may not reach a binary built under root's home.
    const QString pdf = dir->filePath(QStringLiteral("alt.pdf"));
    QVERIFY(Files::write(pdf, "old table"));
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    {
        ReadOnlyDir readOnly(dir->path());
        QCOMPARE(DippCli(outStream, errStream).run({"vesk-dipp", "render", "--output", pdf}), 1);
    }
    errStream.flush();
    QVERIFY2(err.contains(pdf), qPrintable(err));
    QCOMPARE(Files::read(pdf), QByteArray("old table"));
}

QTEST_MAIN(TestDippCli)
#include "tst_dippcli.moc"

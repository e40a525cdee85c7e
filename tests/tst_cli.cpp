#include "support/coretest.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

const QTemporaryDir runtimeDir;

Run runDipp(const QStringList &arguments, const QString &workDir = QDir::currentPath())
{
    QProcess process;
    process.setWorkingDirectory(workDir);
    // Qt warns on stderr where the session has no runtime folder.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("XDG_RUNTIME_DIR")))
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VESK_DIPP_PATH), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void convert_data();
    void convert();
    void usageErrors_data();
    void usageErrors();
    void help();
    void render_data();
    void render();
    void renderTellsHowNamesFit();

private:
    std::unique_ptr<QTemporaryDir> dir;
};

void TestCli::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestCli::convert_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("exitCode");

    const QString unsettable =
        QStringLiteral("warning: %1 cannot be set with the switches (a position is outside 0-2)\n");
    QTest::newRow("decode two") << QStringList{"decode", "c7", " 12 b"}
                                << "7C\t0 2 0 0 2\t+ 0 + + 0\n12B\t1 0 2 0 1\t- + 0 + -\n"
                                << "" << 0;
    QTest::newRow("decode K, then 1A") << QStringList{"decode", "k5", "1A"}
                                       << "5K\t0 1 1 3 1\t+ - - ? -\n1A\t0 0 0 0 0\t+ + + + +\n"
                                       << unsettable.arg("5K") << 1;
    QTest::newRow("decode typos") << QStringList{"decode", "xyz", "c7", "1O"} << "7C\t0 2 0 0 2\t+ 0 + + 0\n"
                                  << "error: 'xyz' is not an address like 7C or C7\n"
                                     "error: '1O' is not an address like 7C or C7\n"
                                  << 1;
    QTest::newRow("encode 7C") << QStringList{"encode", "0", "2", "0", "0", "2"} << "7C\n"
                               << "" << 0;
}

void TestCli::convert()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(int, exitCode);

    const Run run = runDipp(arguments);
    QCOMPARE(run.out, out);
    QCOMPARE(run.err, err);
    QCOMPARE(run.exitCode, exitCode);
}

void TestCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");

    QTest::newRow("nothing") << QStringList{} << "No command";
    QTest::newRow("unknown command") << QStringList{"frob"} << "'frob'";
    QTest::newRow("encode six") << QStringList{"encode", "0", "0", "0", "0", "0", "0"} << "got 6";
    QTest::newRow("encode 3") << QStringList{"encode", "0", "0", "0", "0", "3"} << "'3'";
    QTest::newRow("encode 01") << QStringList{"encode", "0", "0", "01", "0", "0"} << "'01'";
    QTest::newRow("render argument") << QStringList{"render", "extra"} << "'extra'";
    QTest::newRow("render unknown option") << QStringList{"render", "--bogus"} << "bogus";
    QTest::newRow("output without render") << QStringList{"--output", "x.pdf", "decode", "7C"} << "--output";
}

void TestCli::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);

    const Run run = runDipp(arguments, dir->path());
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    const QStringList lines = run.err.split(u'\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines[0].startsWith(QStringLiteral("error: ")) && lines[0].contains(named), qPrintable(run.err));
    QCOMPARE(lines[1], QStringLiteral("Try 'vesk-dipp --help' for more information."));
    QVERIFY(QDir(dir->path()).isEmpty());
}

void TestCli::help()
{
    // Also after a command, which then does nothing.
    QVERIFY(runDipp({QStringLiteral("decode"), QStringLiteral("--help")}).out.count(u'\n') > 20);
    QCOMPARE(runDipp({QStringLiteral("render"), QStringLiteral("--version")}).out, QStringLiteral("vesk-dipp 1.0.0\n"));
}

void TestCli::render_data()
{
    QTest::addColumn<QByteArray>("names"); // empty: no --names
    QTest::addColumn<QString>("output");   // empty: no --output
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // on stdout when it succeeds, else on stderr
    QTest::addColumn<QStringList>("words");

    QTest::newRow("default file") << QByteArray() << "" << 0 << "Dippschalter.pdf\n" << QStringList{"A12"};
    QTest::newRow("names and output") << QByteArray("Adresse;Name\r\nA12;Ölpumpe\r\n1H;\"Tor; Süd\"\r\n")
                                      << "tabelle.pdf" << 0 << "tabelle.pdf\n"
                                      << QStringList{"Ölpumpe", "Tor;", "Süd"};
    QTest::newRow("names in Windows-1252") << QByteArray("Adresse;Name\nA12;Gr\xFC\xDF"
                                                         "e \x80 5\n")
                                           << "" << 0 << "Dippschalter.pdf\n"
                                           << QStringList{"Grüße", "€"};
    QTest::newRow("bad address") << QByteArray("Adresse;Name\n1A;x\n14C;y\n") << "" << 1
                                 << "namen.csv: line 3: '14C' is not one" << QStringList{};
    QTest::newRow("no header") << QByteArray("1A;x\n") << "" << 1 << "namen.csv: line 1: the header" << QStringList{};
    QTest::newRow("missing folder") << QByteArray() << "nicht/da.pdf" << 1 << "cannot write " << QStringList{};
}

void TestCli::render()
{
    QFETCH(QByteArray, names);
    QFETCH(QString, output);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(QStringList, words);

    QStringList arguments{QStringLiteral("render")};
    if (!names.isEmpty()) {
        QVERIFY(Files::write(dir->filePath(QStringLiteral("namen.csv")), names));
        arguments << QStringLiteral("--names") << QStringLiteral("namen.csv");
    }
    if (!output.isEmpty())
        arguments << QStringLiteral("--output") << output;
    const Run run = runDipp(arguments, dir->path());
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((exitCode == 0 ? run.out : run.err).contains(message), qPrintable(run.out + run.err));
    QCOMPARE(run.out.isEmpty(), exitCode != 0);
    if (exitCode != 0) {
        QVERIFY(QDir(dir->path()).entryList({QStringLiteral("*.pdf")}, QDir::Files).isEmpty());
        return;
    }
    // The path printed is absolute, and the file holds the names.
    QCOMPARE(run.out, QDir(dir->path()).filePath(message));
    QStringList found;
    for (const Pdf::Word &word : Pdf::read(run.out.trimmed()).words)
        found.append(word.text);
    for (const QString &word : std::as_const(words))
        QVERIFY2(found.contains(word), qPrintable(word));
}

void TestCli::renderTellsHowNamesFit()
{
    QVERIFY(Files::write(dir->filePath(QStringLiteral("namen.csv")),
                         "Adresse;Name\n1A;Weiche\n3B;Weichenantrieb Straßenbeleuchtung Einfahrt\n5C;"
                             + QByteArray("Ab").repeated(150)));
    const Run check = runDipp({"render", "--check", "--names", "namen.csv"}, dir->path());
    QCOMPARE(check.exitCode, 0);
    QVERIFY2(QRegularExpression(QStringLiteral("^1A\tfits\n3B\tsmaller\t[5-7](\\.5)? pt\n5C\tshortened\n$"))
                 .match(check.out)
                 .hasMatch(),
             qPrintable(check.out));
    QVERIFY(QDir(dir->path()).entryList({QStringLiteral("*.pdf")}).isEmpty());

    const Run render = runDipp({"render", "--names", "namen.csv"}, dir->path());
    QCOMPARE(render.exitCode, 0);
    QCOMPARE(render.err, QStringLiteral("warning: the name of 5C is too long for its cell and is printed shortened\n"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"

#include "support/coretest.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Runs vesk-dipp in a folder that also holds the names the window keeps, with no runtime
// folder set, as in cron jobs and ssh logins.
void runDipp(QProcess &process, const QStringList &arguments, const QString &folder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"XDG_RUNTIME_DIR"_s);
    environment.insert(u"XDG_DATA_HOME"_s, folder);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(VESK_DIPP_PATH), arguments);
    QVERIFY(process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit);
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void readmeTranscript();
    void run_data();
    void run();
};

void TestCli::readmeTranscript()
{
    // The README's transcript, run in a copy of doc/, which it shows as /home/anna/anlage.
    const QString readme = QString::fromUtf8(Files::read(QStringLiteral(VESK_SOURCE_DIR "/README.md")));
    const qsizetype start = readme.indexOf(u"```\n$ vesk-dipp"_s) + 4;
    const QString transcript = readme.mid(start, readme.indexOf(u"```"_s, start) - start);
    QTemporaryDir dir;
    for (const QString &file : {u"namen.csv"_s, u"falsch.csv"_s})
        QVERIFY(QFile::copy(QStringLiteral(VESK_SOURCE_DIR "/doc/") + file, dir.filePath(file)));
    QString session;
    int exitCode = 0;
    for (const QString &line : transcript.split(u'\n')) {
        if (line == u"$ echo $?") {
            session += line + u'\n' + QString::number(exitCode) + u'\n';
        } else if (line.startsWith(u"$ vesk-dipp ")) {
            QProcess process;
            process.setProcessChannelMode(QProcess::MergedChannels);
            runDipp(process, line.mid(12).split(u' '), dir.path());
            exitCode = process.exitCode();
            session += line + u'\n' + QString::fromUtf8(process.readAll()).replace(dir.path(), u"/home/anna/anlage"_s);
        }
    }
    QVERIFY(transcript.count(u"$ ") > 5);
    QCOMPARE(session.split(u'\n'), transcript.split(u'\n'));
}

void TestCli::run_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("names"); // namen.csv, and the names the window keeps
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // patterns; %1 is the working folder
    QTest::addColumn<QString>("err");
    QTest::addColumn<QStringList>("printed"); // words in the PDF written

    const QString usage = u"^error: .*%1.*\nTry 'vesk-dipp --help' for more information.\n$"_s;
    const QByteArray names("Adresse;Name;\r\nA12;Gr\xFC\xDF"
                           "e \x80 5;\r\n");
    // clang-format off
    QTest::newRow("decode K, then 1A") << QStringList{"decode", "k5", " 1 a"} << QByteArray() << 1
                                       << "^5K\t0 1 1 3 1\t\\+ - - \\? -\n1A\t0 0 0 0 0\t\\+ \\+ \\+ \\+ \\+\n$"
                                       << "^warning: 5K cannot be set with the switches \\(a position is outside 0-2\\)\n$"
                                       << QStringList{};
    QTest::newRow("no command") << QStringList{} << QByteArray() << 2 << "^$" << usage.arg("No command") << QStringList{};
    QTest::newRow("option after decode") << QStringList{"decode", "7C", "--check"} << QByteArray() << 2 << "^$"
                                         << usage.arg("'--check'") << QStringList{};
    QTest::newRow("help-all is not offered") << QStringList{"render", "--help-all"} << QByteArray() << 2 << "^$"
                                             << usage.arg("help-all") << QStringList{};
    QTest::newRow("version after a command") << QStringList{"decode", "-v"} << QByteArray() << 0
                                             << "^vesk-dipp 1.0.0\n$" << "^$" << QStringList{};
    QTest::newRow("file, trailing separators, Windows-1252") << QStringList{"render", "--names", "namen.csv", "--output", "t.pdf"}
                                                             << names << 0 << "^%1/t.pdf\n$" << "^$" << QStringList{"Grüße", "€", "H1"};
    QTest::newRow("the window's names") << QStringList{"render"} << names << 0 << "^%1/Dippschalter.pdf\n$" << "^$"
                                        << QStringList{"Grüße"};
    QTest::newRow("check without names") << QStringList{"render", "--check"} << QByteArray() << 0 << "^no names\n$"
                                         << "^$" << QStringList{};
    QTest::newRow("other column") << QStringList{"render", "--names", "namen.csv"} << QByteArray("Adresse;Name;Ort\n")
                                  << 1 << "^$" << "^error: names file namen.csv: line 1: the header has a column 'Ort' besides Adresse and Name\n$"
                                  << QStringList{};
    QTest::newRow("missing folder") << QStringList{"render", "--output", "nicht/da.pdf"} << QByteArray() << 1 << "^$"
                                    << "^error: cannot write %1/nicht/da.pdf: " << QStringList{};
    // clang-format on
}

void TestCli::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, names);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QStringList, printed);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(u"vesk-adressen"_s));
    for (const QString &file : {u"namen.csv"_s, u"vesk-adressen/namen.csv"_s})
        QVERIFY(names.isEmpty() || Files::write(dir.filePath(file), names));
    QProcess process;
    runDipp(process, arguments, dir.path());
    QCOMPARE(process.exitCode(), exitCode);
    const QString printedOut = QString::fromUtf8(process.readAllStandardOutput());
    const QString printedErr = QString::fromUtf8(process.readAllStandardError());
    const QString folder = QRegularExpression::escape(dir.path());
    QVERIFY2(QRegularExpression(out.arg(folder)).match(printedOut).hasMatch(), qPrintable(printedOut));
    QVERIFY2(QRegularExpression(err.arg(folder)).match(printedErr).hasMatch(), qPrintable(printedErr));
    // A PDF only where one is reported, holding the names.
    QCOMPARE(QDir(dir.path()).entryList({u"*.pdf"_s}, QDir::Files).size(), printed.isEmpty() ? 0 : 1);
    QStringList words;
    for (const Pdf::Word &word : Pdf::read(printedOut.trimmed()))
        words.append(word.text);
    for (const QString &word : std::as_const(printed))
        QVERIFY2(words.contains(word), qPrintable(word));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"

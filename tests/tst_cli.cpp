#include "support/coretest.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void run_data();
    void run();
};

void TestCli::run_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("names"); // namen.csv in the working folder, if not empty
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // patterns; %1 is the working folder
    QTest::addColumn<QString>("err");
    QTest::addColumn<QStringList>("printed"); // words in the PDF written

    const QString unsettable = u"warning: 5K cannot be set with the switches \\(a position is outside 0-2\\)\n"_s;
    const QString usage = u"^error: .*%1.*\nTry 'vesk-dipp --help' for more information.\n$"_s;
    const QByteArray longNames =
        "Adresse;Name\n1A;Weiche\n3B;Weichenantrieb Straßenbeleuchtung Einfahrt\n5C;" + QByteArray("Ab").repeated(150);
    // clang-format off
    QTest::newRow("decode") << QStringList{"decode", "c7", " 12 b"} << QByteArray() << 0
                            << "^7C\t0 2 0 0 2\t\\+ 0 \\+ \\+ 0\n12B\t1 0 2 0 1\t- \\+ 0 \\+ -\n$" << "^$" << QStringList{};
    QTest::newRow("decode K, then 1A") << QStringList{"decode", "k5", "1A"} << QByteArray() << 1
                                       << "^5K\t0 1 1 3 1\t\\+ - - \\? -\n1A\t0 0 0 0 0\t\\+ \\+ \\+ \\+ \\+\n$"
                                       << "^" + unsettable + "$" << QStringList{};
    QTest::newRow("decode typos") << QStringList{"decode", "xyz", "c7", "1O"} << QByteArray() << 1 << "^7C\t[^\n]*\n$"
                                  << "^error: 'xyz' is not an address like 7C or C7\n"
                                     "error: '1O' is not an address like 7C or C7\n$" << QStringList{};
    QTest::newRow("encode") << QStringList{"encode", "0", "2", "0", "0", "2"} << QByteArray() << 0 << "^7C\n$" << "^$"
                            << QStringList{};
    QTest::newRow("no command") << QStringList{} << QByteArray() << 2 << "^$" << usage.arg("No command") << QStringList{};
    QTest::newRow("encode six") << QStringList{"encode", "0", "0", "0", "0", "0", "0"} << QByteArray() << 2 << "^$"
                                << usage.arg("got 6") << QStringList{};
    QTest::newRow("render unknown option") << QStringList{"render", "--bogus"} << QByteArray() << 2 << "^$"
                                           << usage.arg("bogus") << QStringList{};
    QTest::newRow("render") << QStringList{"render"} << QByteArray() << 0 << "^%1/Dippschalter.pdf\n$" << "^$"
                            << QStringList{"A12", "H1"};
    QTest::newRow("Windows-1252") << QStringList{"render", "--names", "namen.csv"}
                                  << QByteArray("Adresse;Name\nA12;Gr\xFC\xDF" "e \x80 5\n") << 0
                                  << "^%1/Dippschalter.pdf\n$" << "^$" << QStringList{"Grüße", "€"};
    QTest::newRow("shortened") << QStringList{"render", "--names", "namen.csv"} << longNames << 0
                               << "^%1/Dippschalter.pdf\n$"
                               << "^warning: the name of 5C is too long for its cell and is printed shortened\n$"
                               << QStringList{"Weiche"};
    QTest::newRow("check") << QStringList{"render", "--check", "--names", "namen.csv"} << longNames << 0
                           << "^1A\tfits\n3B\tsmaller\t[5-7](\\.5)? pt\n5C\tshortened\n$" << "^$" << QStringList{};
    QTest::newRow("bad address") << QStringList{"render", "--names", "namen.csv"}
                                 << QByteArray("Adresse;Name\n1A;x\n14C;y\n") << 1 << "^$"
                                 << "^error: names file namen.csv: line 3: '14C' is not one of the addresses A-H 1-12\n$"
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
    QVERIFY(names.isEmpty() || Files::write(dir.filePath(u"namen.csv"_s), names));
    QProcess process;
    process.setWorkingDirectory(dir.path());
    // Where no runtime folder is set (cron, ssh), Qt's own warnings must not reach stderr.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"XDG_RUNTIME_DIR"_s);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VESK_DIPP_PATH), arguments);
    QVERIFY(process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    const QString printedOut = QString::fromUtf8(process.readAllStandardOutput());
    const QString printedErr = QString::fromUtf8(process.readAllStandardError());
    const QString folder = QRegularExpression::escape(dir.path());
    QVERIFY2(QRegularExpression(out.arg(folder)).match(printedOut).hasMatch(), qPrintable(printedOut));
    QVERIFY2(QRegularExpression(err.arg(folder)).match(printedErr).hasMatch(), qPrintable(printedErr));
    // A PDF only where one is reported, holding the names.
    const QStringList pdfs = QDir(dir.path()).entryList({u"*.pdf"_s}, QDir::Files);
    QCOMPARE(pdfs.size(), printed.isEmpty() ? 0 : 1);
    QStringList words;
    for (const Pdf::Word &word : Pdf::read(printedOut.trimmed()))
        words.append(word.text);
    for (const QString &word : std::as_const(printed))
        QVERIFY2(words.contains(word), qPrintable(word));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"

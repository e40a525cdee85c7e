#include "support/clitest.h"
#include "support/storetest.h"

#include <QDeadlineTimer>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/sysmacros.h>
#endif

// The command lines on lists and files: what they print, what they write, and the transcript of doc/commandline.md run.
class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void sessionTranscript()
    {
        // The command line's transcript, run in a copy of doc/, which it shows as /home/anna/anlage.
        const QString document = QString::fromUtf8(Files::read(QStringLiteral(VESK_SOURCE_DIR "/doc/commandline.md")));
        const qsizetype start = document.indexOf(u"```\n$ vesk-dipp"_s) + 4;
        const QString transcript = document.mid(start, document.indexOf(u"```"_s, start) - start);
        QTemporaryDir dir;
        for (const QString &file : {u"namen.csv"_s, u"falsch.csv"_s, u"beispiel-namen.csv"_s})
            QVERIFY(QFile::copy(QStringLiteral(VESK_SOURCE_DIR "/doc/") + file, dir.filePath(file)));
        QString session;
        int exitCode = 0;
        for (const QString &line : transcript.split(u'\n')) {
            if (line == u"$ echo $?") {
                session += line + u'\n' + QString::number(exitCode) + u'\n';
            } else if (line.startsWith(u"$ vesk-")) {
                QProcess process;
                process.setProcessChannelMode(QProcess::MergedChannels);
                QStringList words; // split as a shell does, with "" around a word that has blanks or none
                for (const auto &word : QRegularExpression(u"\"([^\"]*)\"|(\\S+)"_s).globalMatch(line.mid(2)))
                    words.append(word.captured(1) + word.captured(2));
                ::run(process, words, dir.path());
                exitCode = process.exitCode();
                session += line + u'\n' + printed(process.readAll()).replace(dir.path(), u"/home/anna/anlage"_s);
            }
        }
        QVERIFY(transcript.count(u"$ ") > 5 && QFileInfo::exists(dir.filePath(u"Dippschalter.pdf"_s)));
#ifndef Q_OS_WIN // pdftotext runs on Linux: all 96 names of the example on four sheets of 24
        QCOMPARE(Pdf::read(dir.filePath(u"Etiketten.pdf"_s)).count(Pdf::Word{u"page"_s, QRectF(0, 0, 595, 842)}), 4);
#endif
        const QStringList ran = session.split(u'\n');
        const QStringList shown = transcript.split(u'\n');
        for (qsizetype line = 0; line < std::max(ran.size(), shown.size()); ++line) // the first line apart
            QCOMPARE(ran.value(line), shown.value(line));
    }

    void run_data(); // below the class: moc misreads raw strings that hold quotes

    void run()
    {
        auto [arguments, names, exitCode, out, err, stored] =
            fetched<QStringList, QByteArray, int, QString, QString, QByteArray>("arguments", "names", "exitCode", "out",
                                                                                "err", "stored");

        QTemporaryDir dir;
        const QString store = dir.filePath(u"vesk-adressen/namen.csv"_s);
        const QString kept = names == "x" ? QFileInfo(store).path() : store;
        // Written a minute ago: not a list another side may still be writing, which is waited for.
        QVERIFY(names.isEmpty()
                || (QDir().mkpath(QFileInfo(kept).path()) && Files::write(kept, names)
                    && Store::setFileTime(kept, QDateTime::currentDateTime().addSecs(-60))));
        QProcess process;
        const QString redirected =
            arguments.last().startsWith(u'>') ? arguments.takeLast().mid(1).replace(u"%1"_s, dir.path()) : QString();
        QVERIFY(!redirected.startsWith(dir.path()) || Files::write(redirected, "vorher\n"));
        process.setStandardOutputFile(redirected, QIODevice::Append); // as ">>" redirects it; none where empty
        const bool named = arguments.value(0).startsWith(u"vesk-") || arguments.value(0).contains(u'=');
        ::run(process, named ? arguments : QStringList{u"vesk-dipp"_s} + arguments, dir.path());
        QCOMPARE(process.exitCode(), exitCode);
        for (const auto &[pattern, channel] :
             {std::pair{out, QProcess::StandardOutput}, {err, QProcess::StandardError}}) {
            process.setReadChannel(channel); // what went to a file of the folder read from there
            const bool inFile = channel == QProcess::StandardOutput && redirected.startsWith(dir.path());
            const QString text = printed(inFile ? Files::read(redirected) : process.readAll());
            const QString folder = QRegularExpression::escape(dir.path());
            QVERIFY2(QRegularExpression(QString(pattern).replace(u"%1"_s, folder)).match(text).hasMatch(),
                     qPrintable(text));
        }
        // Nothing written, and the stored names left as they were or as the row says.
        QVERIFY(QDir(dir.path()).entryList({u"*.pdf"_s}, QDir::Files).isEmpty());
        QCOMPARE(Files::read(kept), stored.isNull() ? names : stored);
    }

    // Labels and a test sheet in a file, exact and moved 2 mm right and 1 mm down.
    void offsetOnFiles()
    {
#ifdef Q_OS_WIN
        QSKIP("pdftotext, which reads the PDF back, runs on Linux only");
#endif
        QTemporaryDir dir;
        QVERIFY(Files::write(dir.filePath(u"namen.csv"_s), "Adresse;Name\n7C;Pumpe\n"));
        QList<QPointF> places;
        for (const QString &offset : {u"0,0"_s, u"2,1"_s}) {
            QProcess process;
            ::run(process, {u"vesk-dipp"_s, u"labels"_s, u"--names"_s, u"namen.csv"_s, u"--offset"_s, offset},
                  dir.path());
            QCOMPARE(process.exitCode(), 0);
            for (const Pdf::Word &word : Pdf::read(dir.filePath(u"Etiketten.pdf"_s)))
                if (word.text == u"Pumpe")
                    places.append(word.box.topLeft());
            ::run(process, {u"vesk-dipp"_s, u"labels"_s, u"--outlines"_s, u"--offset"_s, offset}, dir.path());
            QCOMPARE(printed(process.readAllStandardOutput()), dir.path() + u"/Testblatt.pdf\n"_s);
        }
        QCOMPARE(places.size(), 2);
        QVERIFY((places[1] - places[0] - QPointF(2, 1) * (72 / 25.4)).manhattanLength() < 0.05);
    }

    void inPlace_data()
    {
        // arguments: %1 is the node written into. node: "fifo", or a character device "major,minor". arrives: how what
        // the FIFO's reader gets starts; no reader where empty. err: a pattern; %1 is the node.
        addColumns<QStringList, QString, QByteArray, QString>("arguments", "node", "arrives", "err");

        const QStringList exporting{u"names"_s, u"export"_s, u"%1"_s};
        const QStringList rendering{u"render"_s, u"--output"_s, u"%1"_s};
        const QStringList labelling{u"labels"_s, u"7C"_s, u"--output"_s, u"%1"_s};
        const QString unread = u"^error: cannot write %1: nobody reads from the FIFO\n$"_s;
        const QString full = u"^error: cannot write %1: No space left on device\n$"_s;
        // clang-format off
        QTest::newRow("export, FIFO unread") << exporting << "fifo" << QByteArray() << unread;
        QTest::newRow("export, FIFO read") << exporting << "fifo" << QByteArray("\xEF\xBB\xBF" "Adresse;Name\r\n") << "^$";
        QTest::newRow("export, full") << exporting << "1,7" << QByteArray() << full;
        QTest::newRow("render, FIFO unread") << rendering << "fifo" << QByteArray() << unread;
        QTest::newRow("render, FIFO read") << rendering << "fifo" << QByteArray("%PDF-") << "^$";
        QTest::newRow("render, null") << rendering << "1,3" << QByteArray() << "^$";
        QTest::newRow("labels, FIFO read") << labelling << "fifo" << QByteArray("%PDF-") << "^$";
        QTest::newRow("labels, full") << labelling << "1,7" << QByteArray() << full;
        // clang-format on
    }

    void inPlace()
    {
        // What is no regular file is written into, never replaced by one.
#ifdef Q_OS_WIN
        QSKIP("no FIFOs or device files to make");
#else
        auto [arguments, node, arrives, err] =
            fetched<QStringList, QString, QByteArray, QString>("arguments", "node", "arrives", "err");

        constexpr int answerMs = 30000;
        constexpr int drainMs = 10;
        QTemporaryDir dir;
        const QString path = dir.filePath(u"node"_s);
        const QByteArray name = QFile::encodeName(path);
        const mode_t type = node == u"fifo" ? S_IFIFO : S_IFCHR;
        const QStringList device = node.split(u',');
        if (::mknod(name.constData(), type | S_IRUSR | S_IWUSR,
                    makedev(device.first().toUInt(), device.last().toUInt()))
            != 0) {
            QCOMPARE(errno, EPERM);
            QSKIP("only root may make a device file");
        }
        // Opened before vesk-dipp opens it, so that it finds a reader, and drained meanwhile.
        const int reader = arrives.isEmpty() ? -1 : ::open(name.constData(), O_RDONLY | O_NONBLOCK);
        QByteArray received;
        const auto drain = [&received, reader] {
            std::array<char, 4096> buffer;
            for (ssize_t got = 0; (got = ::read(reader, buffer.data(), buffer.size())) > 0;)
                received.append(buffer.data(), got);
        };
        QProcess dipp;
        start(dipp, QStringList{u"vesk-dipp"_s} + arguments.replaceInStrings(u"%1"_s, path), dir.path());
        for (const QDeadlineTimer deadline(answerMs);
             reader >= 0 && dipp.state() != QProcess::NotRunning && !deadline.hasExpired();) {
            dipp.waitForFinished(drainMs);
            drain();
        }
        QVERIFY(finished(dipp));
        if (reader >= 0) {
            drain();
            ::close(reader);
        }
        const QString printedErr = printed(dipp.readAllStandardError());
        QVERIFY2(
            QRegularExpression(err.replace(u"%1"_s, QRegularExpression::escape(path))).match(printedErr).hasMatch(),
            qPrintable(printedErr));
        QCOMPARE(dipp.exitCode(), err == u"^$" ? 0 : 1);
        QVERIFY2(received.startsWith(arrives), received.left(arrives.size()).toHex().constData());
        struct stat status = {};
        QVERIFY(::stat(name.constData(), &status) == 0 && (status.st_mode & S_IFMT) == type);
#endif
    }
};

void TestCli::run_data()
{
    // names: the names the window keeps; "x": a file where their folder goes. out: patterns; %1 is the working folder.
    // stored: the names kept afterwards; null: as before.
    addColumns<QStringList, QByteArray, int, QString, QString, QByteArray>("arguments", "names", "exitCode", "out",
                                                                           "err", "stored");

    const QByteArray damaged("Adresse;Name\n99Z;x\n");
    // clang-format off
    QTest::newRow("window's help, short") << QStringList{"vesk-adressen", "-h"} << QByteArray() << 0 << "^Usage: vesk-adressen" << "^$" << QByteArray();
    QTest::newRow("help, the program by name") << QStringList{"--help"} << QByteArray() << 0 << "(?s)^Usage: vesk-dipp \\[options\\] command \\[arguments\\.\\.\\.\\]\nConverts VESK .*\n\nCommands:\n  decode TEXT\\.\\.\\. {11}For each address .*\n  names find TEXT\\.\\.\\. {7}Print each .*\n\nExit status: 0 success, 1 failure, 2 usage error\\.\n\nOptions:\n  -h, --help {8}Print this help and exit\\.\n.*\n  --names <FILE> {4}render, labels, names find: names from .*\n  --outlines {8}labels: write a test sheet .*\n\nArguments:\n  command {11}decode, encode, render, labels or names\\.\n  arguments {9}The command's arguments\\.\n$" << "^$" << QByteArray();
    QTest::newRow("one command's help") << QStringList{"labels", "7C", "--help"} << QByteArray() << 0 << "(?s)^Usage: vesk-dipp labels \\[options\\] \\[ADDRESS\\.\\.\\.\\]\nWrite sheets (?!.*For each address).*\n\nOptions:\n  --names <FILE> +names from .*--format <SHEET>.*--start <N>" << "^$" << QByteArray();
    QTest::newRow("no other command's option") << QStringList{"decode", "-h"} << QByteArray() << 0 << "(?s)^Usage: vesk-dipp decode TEXT\\.\\.\\.\nFor each address .*the exit status is 1\\.\n\\z" << "^$" << QByteArray();
    QTest::newRow("help before --") << QStringList{"decode", "--help", "--", "7C"} << QByteArray() << 0 << "^Usage: vesk-dipp decode TEXT" << "^$" << QByteArray();
    QTest::newRow("a group's help") << QStringList{"names", "--help"} << QByteArray() << 0 << "(?s)^Usage: vesk-dipp names \\[options\\] command \\[arguments\\.\\.\\.\\]\nCommands:\n  names list {15}Print the names .*\n  names set ADDRESS NAME   Store one .*\n {27}the window keeps; .*\n  names find TEXT\\.\\.\\. {7}Print each .*\n {27}exit status 1 if none does\\. Option: --names\\.\n\nOptions:\n  --names <FILE>  names find: names from this CSV file instead of the names the\n {18}window keeps\\.\n$" << "^$" << QByteArray();
    QTest::newRow("options before a group's command") << QStringList{"names", "--names", "x", "find", "-h"} << QByteArray() << 0 << "^Usage: vesk-dipp names find \\[options\\] TEXT\\.\\.\\.\n" << "^$" << QByteArray();
    QTest::newRow("a group command's help") << QStringList{"names", "set", "-h"} << QByteArray() << 0 << "^Usage: vesk-dipp names set ADDRESS NAME\nStore one name \\(address as 12A or A12\\) beside the names\nthe window keeps; an open window shows it at once\\. An\nempty NAME removes the address's name\\.\n\\z" << "^$" << QByteArray();
    QTest::newRow("window's version") << QStringList{"vesk-adressen", "-v"} << QByteArray() << 0 << "^vesk-adressen \\d+\\.\\d+\\.\\d+\n$" << "^$" << QByteArray();
    QTest::newRow("window's argument") << QStringList{"vesk-adressen", "datei.csv"} << QByteArray() << 2 << "^$" << "error: Unexpected argument 'datei.csv'.\nTry 'vesk-adressen --help' for more information.\n$" << QByteArray();
    QTest::newRow("version, short") << QStringList{"-v"} << QByteArray() << 0 << "^vesk-dipp \\d+\\.\\d+\\.\\d+\n$" << "^$" << QByteArray();
    QTest::newRow("version") << QStringList{"names", "--version"} << QByteArray() << 0 << "^vesk-dipp \\d+\\.\\d+\\.\\d+\n$" << "^$" << QByteArray();
    QTest::newRow("no command") << QStringList{"--check"} << QByteArray() << 2 << "^$" << "^error: No command given.\nTry 'vesk-dipp --help' for more information.\n$" << QByteArray();
    QTest::newRow("an unknown option first") << QStringList{"--nix", "decode", "7C"} << QByteArray() << 2 << "^$" << "^error: Unknown option 'nix'.\n" << QByteArray();
    QTest::newRow("an unknown command") << QStringList{"rechne", "7C"} << QByteArray() << 2 << "^$" << "^error: Unknown command 'rechne'.\n" << QByteArray();
    QTest::newRow("an unknown command's help") << QStringList{"bogus", "--help"} << QByteArray() << 2 << "^$" << "^error: Unknown command 'bogus'.\nTry 'vesk-dipp --help' for more information.\n$" << QByteArray();
    QTest::newRow("an unknown command of a group's help") << QStringList{"names", "bogus", "--help"} << QByteArray() << 2 << "^$" << "^error: names takes list, set ADDRESS NAME, import FILE, export FILE or find TEXT\\.\\.\\.\n" << QByteArray();
    QTest::newRow("a group command's arguments") << QStringList{"names", "set", "7C", "a", "b"} << QByteArray() << 2 << "^$" << "^error: names takes list, set ADDRESS NAME, import FILE, export FILE or find TEXT\\.\\.\\.\n" << QByteArray();
    QTest::newRow("window's unknown option") << QStringList{"vesk-adressen", "--foo"} << QByteArray() << 2 << "^$" << "error: Unknown option '--foo'.\nTry 'vesk-adressen --help' for more information.\n$" << QByteArray();
#ifndef Q_OS_WIN
    QTest::newRow("a full disk") << QStringList{"decode", "7C", ">/dev/full"} << QByteArray() << 1 << "^$" << "^error: cannot write to standard output\n$" << QByteArray();
    QTest::newRow("window's help, a full disk") << QStringList{"vesk-adressen", "-h", ">/dev/full"} << QByteArray() << 1 << "^$" << "^$" << QByteArray();
    QTest::newRow("window's version, a full disk") << QStringList{"vesk-adressen", "--version", ">/dev/full"} << QByteArray() << 1 << "^$" << "^$" << QByteArray();
    QTest::newRow("PDF through standard output into its file") << QStringList{"render", "--output", "aus", ">%1/aus"} << QByteArray() << 0 << "(?s)^vorher\n%PDF-1\\.4\n.*%%EOF\n$" << "^$" << QByteArray();
    QTest::newRow("PDF beside standard output's file") << QStringList{"render", "--output", "tabelle", ">%1/aus"} << QByteArray() << 0 << "^vorher\n%1/tabelle\n$" << "^$" << QByteArray();
    QTest::newRow("PDF to standard output, no path after it") << QStringList{"render", "--output", "/dev/stdout"} << QByteArray() << 0 << "(?s)^%PDF-1\\.4\n.*%%EOF\n$" << "^$" << QByteArray();
    QTest::newRow("labels told, written into a device") << QStringList{"labels", "--output", "/dev/null"} << QByteArray("Adresse;Name\n12A;\xEE\x80\x80" + QByteArray(" Wort").repeated(150)) << 0 << "^/dev/null\n$" << "^warning: the name of 12A is too long for its label and is printed shortened\nwarning: the name of 12A has characters that no font here has; they print as empty boxes\n$" << QByteArray();
    // CUPS would print "Q/../R" on Q, as if the instance "../R" of it: refused unasked.
    const QString noService = u"the print service \\(CUPS\\) is not running"_s;
    const QString notAName = u"CUPS names a printer QUEUE or QUEUE/INSTANCE, neither with a blank, a quote, '/', '\\\\', '\\?' or '#'"_s;
    for (const auto &[printer, why] : std::initializer_list<std::pair<const char *, QString>>{{"Q", noService}, {"Q/Kopie", noService}, {"Q/../R", notAName}, {"Q/", notAName}, {"/R", notAName}, {"Q R", notAName}, {"Q#", notAName}, {"Q?", notAName}, {"Q\\R", notAName}, {"Q'", notAName}, {"Q\"", notAName}})
        QTest::addRow("printer %s", printer) << QStringList{"render", "--printer", printer} << QByteArray() << 1 << "^$" << u"^error: cannot print on %1: %2\n$"_s.arg(QRegularExpression::escape(printer), why) << QByteArray();
    // No display: the arguments read as on one, and the window refused with a word, not aborted.
    QTest::newRow("window's unknown option, no display") << QStringList{"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY=", "vesk-adressen", "--bogus"} << QByteArray() << 2 << "^$" << "^(QStandardPaths: [^\n]*\n)?error: Unknown option '--bogus'.\nTry 'vesk-adressen --help' for more information.\n$" << QByteArray();
    QTest::newRow("window, no display") << QStringList{"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY=", "vesk-adressen"} << QByteArray() << 1 << "^$" << "^(QStandardPaths: [^\n]*\n)?error: No display answers to open the window on: DISPLAY is not set, WAYLAND_DISPLAY is not set.\nWithout a window: vesk-dipp --help.\n$" << QByteArray();
    // A display named that does not answer: a stale DISPLAY, ssh without X forwarding.
    QTest::newRow("window's unknown option, a display not answering") << QStringList{"QT_QPA_PLATFORM=", "DISPLAY=:64999", "WAYLAND_DISPLAY=", "XDG_SESSION_TYPE=wayland", "vesk-adressen", "--bogus"} << QByteArray() << 2 << "^$" << "could not connect to display :64999\n(.*\n)*error: Unknown option '--bogus'.\nTry 'vesk-adressen --help' for more information.\n$" << QByteArray();
    QTest::newRow("window, a display asked not answering") << QStringList{"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY=", "vesk-adressen", "-display", ":64999"} << QByteArray() << 1 << "^$" << "could not connect to display :64999\n(.*\n)*error: No display answers to open the window on: -display is ':64999', DISPLAY is not set, WAYLAND_DISPLAY is not set.\nWithout a window: vesk-dipp --help.\n$" << QByteArray();
    QTest::newRow("window, a Wayland session's display not answering") << QStringList{"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY=nowhere", "XDG_SESSION_TYPE=wayland", "vesk-adressen"} << QByteArray() << 1 << "^$" << "\nerror: No display answers to open the window on: DISPLAY is not set, WAYLAND_DISPLAY is 'nowhere'.\nWithout a window: vesk-dipp --help.\n$" << QByteArray();
    QTest::newRow("window's unknown option, offscreen asked") << QStringList{"QT_QPA_PLATFORM=offscreen", "DISPLAY=:64999", "vesk-adressen", "--bogus"} << QByteArray() << 2 << "^$" << "^(QStandardPaths: [^\n]*\n)?error: Unknown option '--bogus'.\n" << QByteArray();
    QTest::newRow("window, Wayland's display not answering") << QStringList{"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY=nowhere", "XDG_SESSION_TYPE=", "vesk-adressen"} << QByteArray() << 1 << "^$" << "\nerror: No display answers to open the window on: DISPLAY is not set, WAYLAND_DISPLAY is 'nowhere'.\nWithout a window: vesk-dipp --help.\n$" << QByteArray();
#endif
    QTest::newRow("not an address") << QStringList{"decode", "7C", "nix"} << QByteArray() << 1 << "^7C\t0 2 0 0 2\t\\+ 0 \\+ \\+ 0\n$" << "^error: 'nix' is not an address like 7C or C7\n$" << QByteArray();
    QTest::newRow("help after --, a text") << QStringList{"decode", "--", "--help"} << QByteArray() << 1 << "^$" << "^error: '--help' is not an address like 7C or C7\n$" << QByteArray();
    QTest::newRow("an option first") << QStringList{"decode", "--check", "7C"} << QByteArray() << 2 << "^$" << "^error: Unknown or misplaced option '--check'.\n" << QByteArray();
    QTest::newRow("not settable") << QStringList{"decode", "28A"} << QByteArray() << 1 << "^28A\t3 0 0 0 0\t\\? \\+ \\+ \\+ \\+\n$" << "^warning: 28A cannot be set with the switches \\(a position is outside 0-2\\)\n$" << QByteArray();
    QTest::newRow("a position too large") << QStringList{"encode", "0", "0", "0", "0", "3"} << QByteArray() << 2 << "^$" << "^error: Bad switch position '3': use 0, 1 or 2.\n" << QByteArray();
    QTest::newRow("not a position") << QStringList{"encode", "0", "2", "0", "0", "02"} << QByteArray() << 2 << "^$" << "^error: Bad switch position '02': use 0, 1 or 2.\n" << QByteArray();
    QTest::newRow("the window's names") << QStringList{"render", "--check"} << QByteArray("Adresse;Name\nA12;Pumpe\n") << 0 << "^12A\tfits\n$" << "^$" << QByteArray();
    QTest::newRow("a character no font has") << QStringList{"render", "--check"} << QByteArray("Adresse;Name\nA12;x\xEE\x80\x80\n") << 0 << "^12A\tfits\tmissing characters\t\uE000\n$" << "^$" << QByteArray();
    QTest::newRow("no names") << QStringList{"render", "--check"} << QByteArray() << 0 << "^no names\n$" << "^$" << QByteArray();
    QTest::newRow("damaged names kept") << QStringList{"render"} << damaged << 1 << "^$" << "^error: stored names %1/vesk-adressen/namen.csv: line 2: '99Z' is not one" << QByteArray();
    QTest::newRow("damaged names listed") << QStringList{"names", "list"} << damaged << 1 << "^$" << "^error: stored names %1/vesk-adressen/namen.csv: line 2: '99Z' is not one of the addresses A-H 1-12\n$" << QByteArray();
    // What the file holds is quoted, but never so that it acts on the terminal (here: erases the line).
    QTest::newRow("damaged UTF-16 listed") << QStringList{"names", "list"} << QByteArray(QStringEncoder(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom)(u"Adresse;Name\n\x00\x1b[2K;x\n"_s)) << 1 << "^$" << "^error: stored names %1/vesk-adressen/namen.csv: line 2: '\\\\u\\{0\\}\\\\u\\{1B\\}\\[2K' is not one of the addresses A-H 1-12\n$" << QByteArray();
    QTest::newRow("damaged names exported") << QStringList{"names", "export", "x.csv"} << damaged << 1 << "^$" << "^error: stored names %1/vesk-adressen/namen.csv: line 2:" << QByteArray();
    QTest::newRow("a name beside damaged names") << QStringList{"names", "set", "1A", "x"} << damaged << 0 << "^$" << "^warning: the stored names could not be read \\(line 2: '99Z' is not one of the addresses A-H 1-12\\) and were set aside as %1/vesk-adressen/namen.csv.defekt-\\d{8}-\\d{6}\n$" << QByteArray("\xEF\xBB\xBF" "Adresse;Name\r\n1A;x\r\n");
    QTest::newRow("a name removed") << QStringList{"names", "set", "a1", ""} << QByteArray("Adresse;Name\n1A;x\n2A;y\n") << 0 << "^$" << "^$" << QByteArray("\xEF\xBB\xBF" "Adresse;Name\r\n2A;y\r\n");
    QTest::newRow("names where their folder goes") << QStringList{"names", "list"} << QByteArray("x") << 1 << "^$" << "^error: stored names %1/vesk-adressen/namen.csv: cannot be read: %1/vesk-adressen is no folder\n$" << QByteArray();
    QTest::newRow("typed text quoted, not acting") << QStringList{"names", "find", "\x1b[31m"} << QByteArray() << 1 << "^$" << u"^no name contains ␛\\[31m\n$"_s << QByteArray();
    QTest::newRow("names found in no list") << QStringList{"names", "find", "--names", "fehlt.csv", "x"} << QByteArray() << 1 << "^$" << "^error: names file fehlt.csv: cannot be read: " << QByteArray();
    QTest::newRow("a name with CR") << QStringList{"names", "set", " 7 c", "a\r\n"} << QByteArray() << 1 << "^$" << "^error: a name cannot hold a carriage return \\(CR\\)" << QByteArray();
    QTest::newRow("a name with ESC") << QStringList{"names", "set", "7C", u"Öl\u0301\x1b[2J"_s} << QByteArray() << 1 << "^$" << "^error: a name cannot hold a control character: U\\+001B at character 3\n$" << QByteArray();
    QTest::newRow("a name turned around") << QStringList{"names", "set", "7C", u"a\\u{2067}b\u202Ec"_s} << QByteArray() << 1 << "^$" << "^error: a name cannot hold a character that overrides the text's direction: U\\+2067 at character 2\n$" << QByteArray();
    QTest::newRow("names listed, hidden characters escaped") << QStringList{"names", "list"} << QByteArray("Adresse;Name\n7C;\"\xC3\x96l\x1b[2J\\u{\nx\"\n8C;a\xE2\x80\xAE" "b\n") << 0 << uR"(^Adresse;Name\n7C;"Öl\\u\{1B\}\[2J\\\\u\{\nx"\n8C;a\\u\{202E\}b\n$)"_s << "^$" << QByteArray();
    QTest::newRow("names found, hidden characters escaped") << QStringList{"names", "find", "\\u{1b}[2", "a"} << QByteArray("Adresse;Name\n7C;\"\xC3\x96l\x1b[2J\\u{\nx\"\n8C;a\xE2\x80\xAE" "b\n") << 0 << uR"(^7C\t0 2 0 0 2\t\+ 0 \+ \+ 0\tÖl\\u\{1B\}\[2J\\\\u\{\\u\{A\}x\n8C\t0 2 1 0 2\t\+ 0 - \+ 0\ta\\u\{202E\}b\n$)"_s << "^$" << QByteArray();
    QTest::newRow("a name set escaped") << QStringList{"names", "set", "7C", uR"(\u{41}\\u{\u{1F600})"_s} << QByteArray("Adresse;Name\n") << 0 << "^$" << "^$" << QByteArray("\xEF\xBB\xBF" "Adresse;Name\r\n7C;A\\u{\xF0\x9F\x98\x80\r\n");
    QTest::newRow("a name too long") << QStringList{"names", "set", "C 7", QString(1001, u'x')} << QByteArray() << 1 << "^$" << "^error: the name has 1001 characters in 1001 UTF-16 code units; a name holds at most 1000" << QByteArray();
    const QByteArray huge = QByteArray("Adresse;Name\n1A;") + QByteArray(NamesCsv::maxListBytes, 'x');
    QTest::newRow("a list too large") << QStringList{"render", "--check"} << huge << 1 << "^$" << u"^error: stored names %1/vesk-adressen/namen.csv: the file has "_s + QString::number(huge.size()) + u" bytes, too large"_s << QByteArray();
    QTest::newRow("labels too small") << QStringList{"labels", "7C", "--format", "avery l4730"} << QByteArray() << 1 << "^$" << "^error: the labels are too small: the address, the switches and one line of name need at least 27\\.1 x 12\\.3 mm; these are 17\\.8 x 10 mm\n$" << QByteArray();
    QTest::newRow("no name to label") << QStringList{"labels"} << QByteArray() << 1 << "^$" << "^error: no address has a name; name the addresses to label, or list them\n$" << QByteArray();
    QTest::newRow("no such size") << QStringList{"labels", "7C", "--format", "70x38"} << QByteArray() << 2 << "^$" << "^error: Unknown label sheet '70x38': use 70x37, 70x36, 63\\.5x38\\.1, 52\\.5x29\\.7, 105x37, or a sheet as --formats lists it\\.\n" << QByteArray();
    QTest::newRow("sheets by maker") << QStringList{"labels", "--formats", "avery", "l7160"} << QByteArray() << 0 << "^Avery L7160\t64x38.1 mm\t3x7\n$" << "^$" << QByteArray();
    QTest::newRow("a sheet by maker") << QStringList{"labels", "--format", " best OFFICE  75753", "--check", "1a"} << QByteArray("Adresse;Name\n1A;x\n") << 0 << "^1A\tfits\n$" << "^$" << QByteArray();
    QTest::newRow("no such sheet") << QStringList{"labels", "--formats", "Zweckform 0000"} << QByteArray() << 1 << "^$" << "^error: no label sheet holds 'Zweckform 0000'\n$" << QByteArray();
    QTest::newRow("labels from label 0") << QStringList{"labels", "7C", "--start", "0"} << QByteArray() << 2 << "^$" << "^error: --start takes a label of the sheet, 1 to 24: '0'.\n" << QByteArray();
    QTest::newRow("labels from no label") << QStringList{"labels", "7C", "--start", "x"} << QByteArray() << 2 << "^$" << "^error: --start takes a label of the sheet, 1 to 24: 'x'.\n" << QByteArray();
    QTest::newRow("labels past the sheet") << QStringList{"labels", "7C", "--start", "25"} << QByteArray() << 2 << "^$" << "^error: --start takes a label of the sheet, 1 to 24: '25'.\n" << QByteArray();
    QTest::newRow("labels of no list") << QStringList{"labels", "7C", "--names", "fehlt.csv"} << QByteArray() << 1 << "^$" << "^error: names file fehlt.csv: cannot be read: " << QByteArray();
    QTest::newRow("a label of no address") << QStringList{"labels", "7C", "13A"} << QByteArray() << 1 << "^$" << "^error: '13A' is not one of the addresses A-H 1-12\n$" << QByteArray();
    QTest::newRow("render's argument") << QStringList{"render", "x"} << QByteArray() << 2 << "^$" << "^error: render takes no arguments: 'x'.\n" << QByteArray();
    // An empty file name would be read as the working folder.
    for (const auto &[empty, what] : std::initializer_list<std::pair<QStringList, const char *>>{{{"render", "--output", ""}, "--output"}, {{"labels", "--names", ""}, "--names"}, {{"names", "find", "--names", "", "x"}, "--names"}, {{"names", "export", ""}, "names export"}, {{"names", "import", ""}, "names import"}})
        QTest::addRow("%s, empty file", qPrintable(empty.join(u' '))) << empty << QByteArray() << 2 << "^$" << u"^error: %1 takes a file name, not an empty one.\nTry 'vesk-dipp --help' for more information.\n$"_s.arg(what) << QByteArray();
    QTest::newRow("an empty printer") << QStringList{"labels", "7C", "--printer", ""} << QByteArray() << 2 << "^$" << "^error: --printer takes a printer's name, not an empty one.\nTry 'vesk-dipp --help' for more information.\n$" << QByteArray();
    QTest::newRow("printer and output") << QStringList{"render", "--printer", "Q", "--output", "x.pdf"} << QByteArray() << 2 << "^$" << "^error: --printer and --output exclude each other: print, or write a file.\n" << QByteArray();
    QTest::newRow("a decimal comma in the offset") << QStringList{"render", "--offset", "1,5,2"} << QByteArray() << 2 << "^$" << "^error: --offset takes X,Y in millimetres, each from -20 to 20, decimals after a point, such as --offset 1\\.5,2: '1,5,2'\\.\n" << QByteArray();
    QTest::newRow("an offset too far") << QStringList{"labels", "7C", "--offset", "0,-21", "--printer", "Q"} << QByteArray() << 2 << "^$" << "^error: --offset takes X,Y" << QByteArray();
    QTest::newRow("outlines of the table") << QStringList{"render", "--outlines"} << QByteArray() << 2 << "^$" << "^error: --outlines goes with labels only.\n" << QByteArray();
    QTest::newRow("outlines and a start") << QStringList{"labels", "--outlines", "--start", "2"} << QByteArray() << 2 << "^$" << "^error: --outlines takes no addresses, --names, --check or --start.\n" << QByteArray();
    QTest::newRow("outlines checked") << QStringList{"labels", "--outlines", "--check"} << QByteArray() << 2 << "^$" << "^error: --outlines takes no addresses, --names, --check or --start.\n" << QByteArray();
    QTest::newRow("outlines of a list") << QStringList{"labels", "--outlines", "--names", "x.csv"} << QByteArray() << 2 << "^$" << "^error: --outlines takes no addresses, --names, --check or --start.\n" << QByteArray();
    QTest::newRow("outlines and addresses") << QStringList{"labels", "7C", "--outlines"} << QByteArray() << 2 << "^$" << "^error: --outlines takes no addresses, --names, --check or --start.\n" << QByteArray();
    QTest::newRow("labels over each other") << QStringList{"labels", "7C", "--format", "Hema Etiketten"} << QByteArray() << 1 << "^$" << "^error: the labels of Hema Etiketten lie over each other\n$" << QByteArray();
    QTest::newRow("a sheet larger than A4") << QStringList{"labels", "--outlines", "--format", "hisago elm024"} << QByteArray() << 1 << "^$" << "^error: the labels of Hisago ELM024 do not fit on an A4 sheet\n$" << QByteArray();
    QTest::newRow("missing folder") << QStringList{"render", "--output", "nicht/da.pdf"} << QByteArray() << 1 << "^$" << "^error: cannot write %1/nicht/da.pdf: " << QByteArray();
    // clang-format on
}

VESK_GUILESS_TEST_MAIN(TestCli)
#include "tst_cli.moc"

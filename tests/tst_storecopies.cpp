#include "store/storecopies.h"
#include "support/storetest.h"

// clang-format off
const Names withTimes{{"1A", "EINS"}, {"2A", "neu"}, {"3A", "Pumpe"}, {"4A", "Licht"}, {"6A", "sechs"}}; // A's and B's made apart, merged
const QByteArray withTimesStored("vesk-adressen-zeiten 1;4ced35f6f194db39\n1A;3000;7684824d0d3a241b\n2A;2000;b1688cbab7e2c8ad\n3A;3000;b1f1ba264a9a34a2\n4A;2000;0d8d541d98f328df\n5A;2000;-\n6A;4000;ed8862db32fe9ba7\nrechner;3000;ANNA-PC\nrechner;4000;BERT\n"); // their times, the same bytes wherever merged
// clang-format on

// A store that failed heals by itself; conflict copies a sync service left are merged, and the window follows them.
class TestStoreCopies : public QObject, private Store::Folder
{
    Q_OBJECT

private slots:
    void init() { newUserFolder({"failedStoreHeals", "linkedStoreHeals", "conflictCopiesMerged"}); }

    void failedStoreHeals()
    {
        QVERIFY(QDir().mkpath(QFileInfo(store()).path()));
        QVERIFY(Files::write(store(), "Adresse;Name\n")); // so that Windows can hold it open
        Store::Restored document(store());
        QSignalSpy reported(&document.store(), &SharedStore::failed);
        for (const QString &name : {u"eins"_s, u"zwei"_s}) { // the second long after the first
            {
                Files::Unreplaceable held(store());
                // A window closed meanwhile tries its last write for 8 s, less what that took, then leaves it.
                const qint64 closing = StoreClock::now(); // its pauses move the clock; a slow machine's tries take time
                NamesDocument(store()).setName(u"2A"_s, name);
                QVERIFY(StoreClock::now() - closing >= 7000);
                StoreClock::setPauses(StoreClock::Pauses::Wait); // this window's failure lasts as long as it does
                document.setName(u"1A"_s, name);
                QTRY_VERIFY(!document.store().error().ok()); // tried, and failed
                QCOMPARE(document.store().pendingCount(), 1);
                // Told as what it is: on Linux the folder is read-only, on Windows the file held open.
                const bool windows = QSysInfo::productType() == u"windows";
                QCOMPARE(document.store().error().list.kind,
                         windows ? ErrorKind::Unreadable : ErrorKind::FolderUnwritable);
            }
            // Stored by itself at the next try, without a new edit; a failure this short is not reported.
            StoreClock::advance(250);
            QTRY_COMPARE(NamesStore::read(store()).names, (Names{{"1A", name}}));
            QTRY_COMPARE(document.store().pendingCount(), 0);
            QCOMPARE(reported.size(), 0);
            StoreClock::setPauses(StoreClock::Pauses::Pass);
        }
        // A store that cannot be opened as a window starts (another program holds it; here a
        // folder stands in its way) is not damaged: it is named, and stays where it is.
        QVERIFY(QFile::remove(store()) && QDir().mkdir(store()));
        {
            NamesDocument starting(store());
            const NamesStore::LoadResult found = Store::restored(starting);
            QCOMPARE(found.error.list.kind, ErrorKind::Unreadable);
            QCOMPARE(found.setAsidePath, QString());
        }
        QVERIFY(QDir().rmdir(store())); // still where it was
    }

    // A link in the list's place is named and left as it is; what is typed meanwhile is stored once it is gone.
    void linkedStoreHeals()
    {
#ifdef Q_OS_WIN
        QSKIP("QFile::link makes shortcuts here, not links");
#else
        QVERIFY(QDir().mkpath(QFileInfo(store()).path()));
        const QString other = store() + u".anderes"_s;
        QVERIFY(Files::write(other, "geheim\n") && QFile::link(other, store()));
        NamesDocument linked(store());
        QCOMPARE(Store::restored(linked).error.kind, StoreError::Kind::Link);
        linked.setName(u"3A"_s, u"drei"_s);
        QTRY_COMPARE(linked.store().error().kind, StoreError::Kind::Link);
        QVERIFY(QFile::remove(store()));
        StoreClock::advance(30000);
        QTRY_COMPARE(NamesStore::read(store()).names, (Names{{"3A", "drei"}}));
        QCOMPARE(Files::read(other), "geheim\n");
#endif
    }

    void conflictCopiesMerged_data()
    {
        // steps: "file=what[@changed]" (A's or B's list or times, or damaged), "+ms". left: in the store's folder.
        // moved: into Konfliktkopien, where the last of these was already.
        addColumns<QStringList, Names, QStringList, QStringList>("steps", "merged", "left", "moved");
        const auto row = [](const char *name, const QStringList &steps, const Names &merged, const QStringList &left,
                            const QStringList &moved) { QTest::newRow(name) << steps << merged << left << moved; };
        const QString list("namen.sync-conflict-20261209-011038-M2B6222.csv");
        const QString times("namen.csv.sync-conflict-20261209-011039-M2B6222.zeiten"); // a second later
        const QString dated("namen (Kopie 2026-12-09).csv");
        const Names unchanged{{"1A", "EINS"}, {"2A", "alt"}, {"3A", "Pumpe"}, {"5A", "fuenf"}};
        const QStringList own{"namen.csv", "namen.csv.zeiten"};
        const QStringList moved{times, "namen.sync-conflict-20261209-011038-M2B6222-2.csv", list};
        // clang-format off
        row("Syncthing", {list + "=B", "+100", times + "=T"}, withTimes, own, moved);
        row("times first", {times + "=T", "+5000", list + "=B"}, withTimes, own, moved);
        row("list and times apart, one a copy", {"namen.csv=B", list + "=A", "+5000", times + "=T"}, withTimes, own, moved);
        row("OneDrive", {"namen-anna-pc.csv=B", "namen-anna-pc.csv.zeiten=T"}, withTimes, own, {"namen-anna-pc.csv", "namen-anna-pc.csv.zeiten", list});
        const Names byChange{{"1A", "eins"}, {"2A", "neu"}, {"3A", "Pumpe"}, {"4A", "Licht"}, {"5A", "fuenf"}, {"6A", "sechs"}};
        row("list alone", {dated + "=B", "+9999", "+1"}, byChange, own, {dated, list});
        row("its times merged on the other computer", {list + "=B", "+5000", "Konfliktkopien/" + times + "=A", "Konfliktkopien/" + times + "=T"}, withTimes, own, moved);
        row("the store's times kept for a list copy to come", {"namen.csv=B", times + "=T"}, {{"1A", "eins"}, {"2A", "neu"}, {"4A", "Licht"}, {"6A", "sechs"}}, own, {"namen.csv.075cd52524d93936.zeiten", times, list});
        row("the store's times a copy's, its own never come", {"namen.csv=B", list + "=A", "+9999", "+1"}, byChange, own, moved.mid(1));
        row("times alone: its erasure stands", {times + "=T", "+9999", "+1"}, {{"1A", "EINS"}, {"2A", "alt"}, {"3A", "Pumpe"}}, own, {times, list});
        row("a guess settled by times moved aside", {"namen.csv=B", "namen.csv.zeiten=G", "Konfliktkopien/" + times + "=T"}, {{"1A", "eins"}, {"2A", "alt"}, {"4A", "Licht"}, {"6A", "sechs"}}, own, {times, list});
        row("times written with an earlier state of the list", {"Konfliktkopien/" + times + "=T", "namen.csv=B@9000", list + "=A", "+9999", "+1"}, byChange, own, moved);
        row("look-alike", {"namen-bert.csv=B", "+1000"}, unchanged, {"namen-bert.csv", "namen.csv", "namen.csv.zeiten"}, {list});
        row("damaged", {list + "=D", dated + "=D", "+1000"}, unchanged, {dated, "namen.csv", "namen.csv.zeiten", list + ".defekt-"}, {list});
        // clang-format on
    }

    // Computer A's store, B's files as a sync service leaves them: per address the later edit stands.
    void conflictCopiesMerged()
    {
        auto [steps, merged, left, moved] =
            fetched<QStringList, Names, QStringList, QStringList>("steps", "merged", "left", "moved");
        const QDir folder(dir->filePath(u"vesk-adressen"_s));
        const QString b = dir->filePath(u"namen.csv"_s); // B's
        QVERIFY(QDir().mkpath(folder.filePath(u"Konfliktkopien"_s))
                && Files::write(folder.filePath(u"Konfliktkopien/"_s + moved.last()), "frueher"));
        // clang-format off
        const StampedNames a{{"1A", {"EINS", 3000}}, {"2A", {"alt", 1000}}, {"3A", {"Pumpe", 3000}}, {"5A", {"fuenf", 100}}};
        const StampedNames bs{{"1A", {"eins", 100}}, {"2A", {"neu", 2000}}, {"4A", {"Licht", 2000}}, {"5A", {{}, 2000}}, {"6A", {"sechs", 4000}}};
        QVERIFY(StoreFile::write(store(), a, {{u"ANNA-PC"_s, 3000}}).kind == StoreFile::write(b, bs, {{u"BERT"_s, 4000}}).kind);
        StampedNames guessed = bs; // B's times, 2A guessed over A's alt
        guessed.insert("2A", {"neu", 5000, true, "alt", 3000, Files::read(StoreFile::timesPath(b)).mid(23, 16)});
        const QHash<QString, QByteArray> content{{"A", Files::read(store())}, {"B", Files::read(b)}, {"T", Files::read(StoreFile::timesPath(b))}, {"D", "Adresse;Name\n99Z;kaputt\n"}, {"G", NamesTimes::serialize(guessed, Files::read(b), {})}};
        const QByteArray aTimes = Files::read(StoreFile::timesPath(store())); // kept whole where no list of theirs is here
        // clang-format on
        StoreCopies copies(store());
        for (const QString &step : steps) {
            const QString file = folder.filePath(step.section(u'=', 0, 0));
            if (step.startsWith(u'+'))
                StoreClock::advance(step.toInt());
            else
                QVERIFY(Files::write(file, content[step.section(u'=', 1).section(u'@', 0, 0)])
                        && Store::setFileTime(file, QDateTime::fromMSecsSinceEpoch(
                                                        step.contains(u'@') ? step.section(u'@', 1).toInt() : 4000)));
            copies.merge();
        }
        QCOMPARE(NamesStore::read(store()).names, merged);
        const auto files = [](const QDir &in) {
            return in.entryList(QDir::Files, QDir::Name)
                .replaceInStrings(QRegularExpression(u"defekt-.*"_s), u"defekt-"_s);
        };
        QCOMPARE(files(folder), left);
        QCOMPARE(files(QDir(folder.filePath(u"Konfliktkopien"_s))), moved);
        QCOMPARE(Files::read(folder.filePath(u"Konfliktkopien/"_s + moved.last())), "frueher"); // never overwritten
        QVERIFY(!moved.first().contains(u"075cd"_s)
                || Files::read(folder.filePath(u"Konfliktkopien/"_s + moved.first())) == aTimes);
        QVERIFY(merged != withTimes || Files::read(StoreFile::timesPath(store())) == withTimesStored);
        for (const QString &name : moved.mid(0, moved.size() - 1)) // the same copies again, which writes nothing
            QVERIFY(QFile::rename(folder.filePath(u"Konfliktkopien/"_s + name),
                                  folder.filePath(QString(name).remove(u"-2"_s))));
        const auto written = StoreFile::identify(store());
        QVERIFY(!StoreCopies(store()).merge().wrote && StoreFile::identify(store()) == written);
    }

    // A window shows merged names at its next look, and tells a name of its own that a later one made apart replaced.
    void windowFollowsCopies()
    {
        NamesDocument a(store());
        NamesDocument b(store()); // following from its restore on
        Store::restored(a);
        QSignalSpy replaced(&a, &NamesDocument::replaced);
        QSignalSpy setAside(&a.store(), &SharedStore::copySetAside);
        QSignalSpy stays(&a.store(), &SharedStore::copiesStay);
        a.setName(u"2A"_s, u"alt"_s);
        QVERIFY(Store::stored(a));
        QVERIFY(Files::read(StoreFile::timesPath(store())).contains(";" + QSysInfo::machineHostName().toUtf8() + '\n'));
        const QDir folder(QFileInfo(store()).path());
        const QString copy = folder.filePath(u"namen (Anna's conflicted copy 2026-12-09).csv"_s);
        QVERIFY(Files::write(folder.filePath(u"Konfliktkopien"_s), "x")); // no folder to move it into: told
        QVERIFY(StoreFile::write(copy, {{"2A", {"neu", StoreClock::now() + 1}}}).ok());
        StoreClock::advance(500);
        QTRY_COMPARE(a.names(), (Names{{"2A", "neu"}}));
        QCOMPARE(replaced.size(), 1);
        QCOMPARE(replaced.first().first().value<NameEntries>(), (NameEntries{{"2A", u"alt"_s}}));
        QTRY_COMPARE(stays.size(), 1);
        QCOMPARE(stays.first().first().value<StoreError>().list.kind, ErrorKind::FolderUnwritable);
        QVERIFY(QFile::remove(folder.filePath(u"Konfliktkopien"_s)) && QFileInfo::exists(copy));
        // A damaged copy a service named is set aside and told; another file stays, looked at again once changed.
        for (const QString &name : {u"namen (Kopie 2026-12-09).csv"_s, u"namen_conflict-20261209-011038.csv"_s,
                                    u"namen.csv_conflict-20261209-011039.zeiten"_s}) // waiting 10 s for its list
            QVERIFY(Files::write(folder.filePath(name), "keine Namensliste"));
        QTRY_COMPARE(setAside.size(), 1);
        // What waits is not looked at again, the lock taken, every watcher of the folder woken, until it may merge.
        const qint64 firstLook = StoreClock::ticks();
        StoreCopies copies(store());
        QTRY_VERIFY((copies.merge(), copies.waitingUntil())); // a window may hold the lock for a moment
        {
            StoreLock held(store());
            QVERIFY(held.acquire(StoreLock::staleMs)); // the windows hold it for moments
            copies.merge();
        }
        const qint64 until = copies.waitingUntil().value_or(0); // 10 s from the first look, however slow
        QVERIFY(until >= firstLook + StoreCopies::timesWaitMs
                && until <= StoreClock::ticks() + StoreCopies::timesWaitMs);
        QCOMPARE(NamesTimes::plain(Store::restored(b).names), a.names());
    }

    // Going away, a window stores even while a list waits for its times: it cannot try again later.
    void lastEditsStoredWhileCopiesWait()
    {
        const QString copy = QFileInfo(store()).dir().filePath(u"namen.sync-conflict-20261209-020000-M2B6222.csv"_s);
        QVERIFY(QDir().mkpath(QFileInfo(store()).path()) && StoreFile::write(store(), {{"1A", {"eins", 1000}}}).ok()
                && Files::write(copy, "Adresse;Name\n8A;acht\n"));
        {
            NamesDocument document(store());
            Store::restored(document);
            QSignalSpy answered(&document.store(), &SharedStore::answered);
            document.setName(u"7A"_s, u"sieben"_s);
            QVERIFY(answered.wait() && document.store().pendingCount() == 1 && !document.store().failing()); // put off
        }
        QCOMPARE(NamesStore::read(store()).names, (Names{{"1A", "eins"}, {"7A", "sieben"}}));
    }
};

VESK_GUILESS_TEST_MAIN(TestStoreCopies)
#include "tst_storecopies.moc"

#include "store/conflictcopy.h"
#include "support/storetest.h"

// The undo of a window's names, the store at its edges and behind links, the names of conflict copies.
class TestNamesStore : public QObject, private Store::Folder
{
    Q_OBJECT

private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }

    void undoRedo_data()
    {
        addColumns<QString, Names>("change", "after");

        QTest::newRow("edit") << "edit" << Names{{"1A", "eins"}, {"2A", "neu"}, {"3A", ""}};
        QTest::newRow("paste past 12H") << "paste" << Names{{"1A", "eins"}, {"2A", "zwei"}, {"3A", ""}, {"12H", "a"}};
        QTest::newRow("load") << "load" << Names{{"5C", "fünf"}};
        QTest::newRow("remove") << "remove" << Names{{"2A", "zwei"}};
        QTest::newRow("clear") << "clear" << Names{};
    }

    void undoRedo()
    {
        auto [change, after] = fetched<QString, Names>("change", "after");

        Store::Restored document(store());
        document.setName(u"1A"_s, u"eins"_s);
        document.setName(u"2A"_s, u"zwei"_s);
        document.setName(u"3A"_s, QString()); // emptied: there, with no name
        const Names before = document.names();
        QVERIFY(document.paste(0, u"\r\n \n\t\n"_s).names.isEmpty());  // no names in it: no change to undo
        const QString list = dir->filePath(u"Grüße Anlage Süd.csv"_s); // a name beyond ASCII
        QVERIFY(Files::write(list, "Adresse;Name\n5C;fünf\n"));
        QSignalSpy shown(&document, &NamesDocument::namesChanged);
        if (change == u"edit")
            document.setName(u"2A"_s, u"neu"_s);
        else if (change == u"paste")
            QCOMPARE(document.paste(95, u"a\r\nc\n"_s).linesWithoutRow, 1);
        else if (change == u"load")
            QCOMPARE(document.load(list).kind, ErrorKind::None);
        else if (change == u"remove")
            document.remove({u"1A"_s, u"3A"_s});
        else if (change == u"clear")
            document.clear();
        else
            QFAIL("no such change");
        for (const Names &expected : {after, before, after}) {
            QCOMPARE(document.names(), expected);
            QTRY_COMPARE(NamesStore::read(store()).names, expected); // stored without being asked
            expected == after ? document.undoStack()->undo() : document.undoStack()->redo();
        }
        QCOMPARE(shown.size(), 4);            // the change, an undo, a redo, an undo
        document.setName(u"1A"_s, QString()); // an emptied name is left out of a saved list
        QCOMPARE(document.saveAs(list).kind, ErrorKind::None);
        QCOMPARE(NamesCsv::readFile(list).names, (Names{{"2A", "zwei"}}));
#ifndef Q_OS_WIN // a device is written into, never replaced by a file; only root may make one
        const QString null = dir->filePath(u"null"_s);
        QVERIFY(QProcess::execute(u"mknod"_s, {null, u"c"_s, u"1"_s, u"3"_s}) != 0
                || document.saveAs(null).kind == ErrorKind::None);
        QVERIFY(!QFileInfo(null).isFile());
#endif
    }

    void storeEdges()
    {
        // A folder where the list or its times go: tried again for a while (ten times 50 ms), then told.
        for (const QString &blocked : {StoreFile::timesPath(store()), store()}) {
            const qint64 start = StoreClock::ticks();
            QVERIFY(QDir().mkpath(blocked));
            const NamesCsv::Error error = StoreFile::write(store(), {{"1A", {u"x"_s, 1}}}).list;
            QCOMPARE(error.kind, ErrorKind::Unwritable);
            QCOMPARE(error.detail, QDir::toNativeSeparators(blocked) + u" is a folder"_s);
            QVERIFY(StoreClock::ticks() - start >= 450 && QDir().rmdir(blocked));
        }
        QCOMPARE(QDir(QFileInfo(store()).path()).entryList(QDir::Files),
                 QStringList{u"namen.csv.zeiten"_s}); // none left
        // Stamped over an hour ahead, it came from a wrong clock: an edit here keeps this side's time, and loses.
        // Its time is told by its name, which the list holds with an apostrophe first.
        const Stamped ahead{u"=vorn"_s, QDateTime::currentMSecsSinceEpoch() + qint64{2} * 3600 * 1000};
        QVERIFY(StoreFile::write(store(), {{"1A", ahead}}).ok());
        Store::Restored document(store());
        document.setName(u"1A"_s, u"hier"_s);
        QVERIFY(Store::stored(document));
        QCOMPARE(document.names().value(u"1A"_s), u"=vorn"_s);
#ifndef Q_OS_WIN // held open on Windows, a lock needs no refresh
        {
            // Held, it is kept fresh once a period, not more often, never as old as one left behind.
            StoreLock held(store());
            QVERIFY(held.acquire(0));
            for (const int periods : {1, 0}) {
                QVERIFY(Store::setFileTime(store() + u".lock"_s, QDateTime::currentDateTime().addSecs(-11)));
                const int looks = held.looks();
                StoreClock::advance(periods == 1 ? 2500 : 0);
                QTRY_VERIFY(held.looks() > looks); // looked after the move: a refresh not due would be done
                QTRY_COMPARE(QFileInfo(store() + u".lock"_s).lastModified().secsTo(QDateTime::currentDateTime()) < 10,
                             periods == 1);
            }
            // A link put in its place, and what it points to, from 2001: the link is refreshed, never its target.
            const QString lock = store() + u".lock"_s;
            const QString target = dir->filePath(u"geheim"_s);
            QVERIFY(Files::write(target, "x") && QProcess::execute(u"ln"_s, {u"-sf"_s, target, lock}) == 0
                    && QProcess::execute(u"touch"_s, {u"-h"_s, u"-d"_s, u"@1000000000"_s, lock, target}) == 0);
            StoreClock::advance(2500);
            struct stat own = {};
            QTRY_VERIFY(::lstat(QFile::encodeName(lock).constData(), &own) == 0 && own.st_mtim.tv_sec > 1000000000);
            QCOMPARE(QFileInfo(target).lastModified().toSecsSinceEpoch(), 1000000000);
        }
        // A lock no one can read yet stalls the store, as a network folder can: told once it lasts.
        QSignalSpy failed(&document.store(), &SharedStore::failed);
        QFile lock(store() + u".lock"_s);
        QCOMPARE(QProcess::execute(u"mkfifo"_s, {lock.fileName()}), 0);
        document.setName(u"2A"_s, u"zwei"_s);
        document.store().storeNow();
        StoreClock::advance(6000); // this late at once, this process was held, not the folder: not told yet
        QCoreApplication::processEvents();
        QCOMPARE(failed.size(), 0);
        StoreClock::advance(3000);
        QTRY_VERIFY(failed.size() == 1 && document.store().error().kind == StoreError::Kind::Stalled);
        QVERIFY(lock.open(QIODevice::WriteOnly) && QFile::remove(lock.fileName())); // read at last, and gone
        lock.close();
        QTRY_VERIFY(!document.store().failing() && document.store().pendingCount() == 0); // stored then
#endif
    }

    void storeLinks_data()
    {
        // linked: the list, its times or its lock, made a link. target: what it points to; "hard": a hard link.
        addColumns<QString, QString, StoreError::Kind>("linked", "target", "kind");
        for (const char *linked : {"", ".zeiten", ".lock"})
            for (const char *target : {"file", "folder", "device", "missing"})
                QTest::addRow("%s to a %s", *linked != 0 ? linked : "list", target)
                    << linked << target << StoreError::Kind::Link;
        QTest::newRow("list, a hard link") << QString() << u"hard"_s << StoreError::Kind::None;
    }

    void storeLinks()
    {
#ifdef Q_OS_WIN
        QSKIP("QFile::link makes shortcuts here, not links");
#else
        auto [linked, target, kind] = fetched<QString, QString, StoreError::Kind>("linked", "target", "kind");
        // The store's folder reached through a link, the user's to choose, is written as any.
        const QString store = dir->filePath(u"daten/vesk-adressen/namen.csv"_s);
        const QString link = store + linked;
        const QString to = dir->filePath(target);
        const QDateTime written = QDateTime::currentDateTime().addSecs(-3600);
        const QByteArray content = target == u"hard" ? "Adresse;Name\n" : "geheim\n"; // a hard link is read as the list
        if (target == u"device" && QProcess::execute(u"mknod"_s, {to, u"c"_s, u"1"_s, u"3"_s}) != 0)
            QSKIP("only root may make a device file");
        QVERIFY(QDir().mkpath(dir->filePath(u"echt/vesk-adressen"_s))
                && QFile::link(dir->filePath(u"echt"_s), dir->filePath(u"daten"_s)));
        QVERIFY(
            target == u"device" || target == u"missing"
            || (target == u"folder" ? QDir().mkdir(to) : Files::write(to, content) && Store::setFileTime(to, written)));
        QVERIFY(target != u"hard" || QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::ExeOther));
        QCOMPARE(QProcess::execute(u"ln"_s, {target == u"hard" ? u"-f"_s : u"-s"_s, to, link}), 0);
        // Read as before a write, a link in place of the list is told, not moved aside; then written under the lock.
        QCOMPARE(NamesStore::load(store).error.kind, linked.isEmpty() ? kind : StoreError::Kind::None);
        QVERIFY(target != u"missing" || !linked.isEmpty()
                || NamesStore::read(store).error.kind == StoreError::Kind::Link);
        StoreLock lock(store);
        const StoreError error = lock.acquire(0) ? StoreFile::write(store, {{"1A", {u"x"_s, 1}}}) : lock.error();
        QCOMPARE(error.kind, kind);
        QCOMPARE(error.detail, kind == StoreError::Kind::Link ? QDir::toNativeSeparators(link) : QString());
        // The link, and what it points to, as they were; a hard link's other name keeps its bytes.
        QCOMPARE(QFileInfo(link).symLinkTarget(), target == u"hard" ? QString() : to);
        QCOMPARE(QFileInfo(to).isFile(), target == u"file" || target == u"hard");
        QVERIFY(!QFileInfo(to).isFile() || (Files::read(to) == content && QFileInfo(to).lastModified() == written));
        QVERIFY(target != u"hard" || QFile::permissions(store).testFlag(QFileDevice::ExeOther)); // as shared
        QCOMPARE(Files::read(store).contains("1A;x\r\n"), kind == StoreError::Kind::None);
        // No times are left without their list where the list was refused.
        QVERIFY(linked == u".zeiten" || QFileInfo::exists(store + u".zeiten"_s) == (kind == StoreError::Kind::None));
#endif
    }

    void conflictCopyNames_data()
    {
        // copy: of which, whose, its date and time; empty: no conflict copy.
        addColumns<QString, QString>("file", "copy");
        const auto row = [](const QString &file, const QString &copy) {
            QTest::newRow(qPrintable(file)) << file << copy;
        };
        // clang-format off
        for (const auto &[list, times, copy] : {
                 std::tuple{"namen.sync-conflict-20261209-011038-M2B6222.csv", "namen.csv.sync-conflict-20261209-011038-M2B6222.zeiten", "Syncthing 2026-12-09 01:10:38"},
                 {"namen (conflicted copy 2026-12-09 011038).csv", "namen.csv (conflicted copy 2026-12-09 011038).zeiten", "Nextcloud 2026-12-09 01:10:38"},
                 {"namen (conflicted copy anna 2026-12-09 011038).csv", "namen.csv (conflicted copy anna 2026-12-09 011038).zeiten", "Nextcloud 2026-12-09 01:10:38"},
                 {"namen_conflict-20261209-011038.csv", "namen.csv_conflict-20261209-011038.zeiten", "Nextcloud 2026-12-09 01:10:38"},
                 {"namen (Anna's conflicted copy 2026-12-09).csv", "namen.csv (Anna's conflicted copy 2026-12-09).zeiten", "Dropbox 2026-12-09"},
                 {"namen (Anna’s conflicted copy 2026-12-09 (1)).csv", "namen.csv (Anna’s conflicted copy 2026-12-09 (1)).zeiten", "Dropbox 2026-12-09"},
                 {"namen (Annas in Konflikt stehende Kopie 2026-12-09).csv", "namen.csv (Annas in Konflikt stehende Kopie 2026-12-09).zeiten", "Dropbox 2026-12-09"},
                 {"namen-ANNA-PC.csv", "namen.csv-anna-pc.zeiten", "OneDrive"}, {"namen-Jürgens-Laptop.csv", "namen.csv-jürgens-laptop.zeiten", "OneDrive"},
                 {"namen (copia in conflitto di Anna 2026-12-09).csv", "namen.csv (copia in conflitto di Anna 2026-12-09).zeiten", "Dated 2026-12-09"}}) {
            row(QString::fromUtf8(list), u"List "_s + copy);
            row(QString::fromUtf8(list) + u".zeiten"_s, u"Times "_s + copy); // or named as the times file
            row(QString::fromUtf8(times), u"Times "_s + copy);
        }
        for (const char *file : {"namen.csv", "namen.csv.zeiten", "namen.csv.lock", "namen-alt.csv", "namen.csv.bak", "namen (1).csv", "namen.sync-conflict-bogus.csv",
                 "dinge.sync-conflict-20261209-011038-M2B6222.csv", "namen.csv.zeiten.zeiten", "namen.sync-conflict-20261309-011038-M2B6222.csv", "namen.csv.defekt-20261209-011038",
                 "namen.csv-BERT.zeiten", "namen.sync-conflict-20261209-011038-M2B6222.zeiten", "namen.csv.sync-conflict-20261209-011038-M2B6222.csv",
                 "namen (conflicted copy 2026-12-09 251038).csv", "namen (Anna's conflicted copy 2026-02-30).csv", "namen (Kopie 2026-12-09) (1).csv"})
            row(QString::fromUtf8(file), QString());
        // clang-format on
    }

    // Told by the name alone; OneDrive's only after a computer recorded as having written the store.
    void conflictCopyNames()
    {
        auto [file, copy] = fetched<QString, QString>("file", "copy");
        const ConflictCopy found = ConflictCopy::classify(u"namen.csv"_s, file, {u"ANNA-PC"_s, u"jürgens-laptop"_s});
        const char *const of[] = {"", "List", "Times"};
        const char *const services[] = {"", "Syncthing", "Nextcloud", "Dropbox", "OneDrive", "Dated"};
        const QString date = found.date.toString(Qt::ISODate) + u' ' + found.time.toString(Qt::ISODate);
        QCOMPARE(u"%1 %2 %3"_s.arg(of[int(found.of)], services[int(found.service)], date).trimmed(), copy);
    }
};

VESK_GUILESS_TEST_MAIN(TestNamesStore)
#include "tst_namesstore.moc"

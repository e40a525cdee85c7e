#include "store/ownedits.h"

#include <QTest>

// This side's edits against later ones stored (times in ms): which stands, and which is told.
class TestOwnEdits : public QObject
{
    Q_OBJECT

private slots:
    void stamped_data()
    {
        QTest::addColumn<int>("shownMs"); // of the name replaced, against an edit made at 5000
        QTest::addColumn<int>("madeMs");
        QTest::newRow("just under an hour ahead") << 3604999 << 3605000;
        QTest::newRow("an hour ahead: a wrong clock") << 3605000 << 5000;
    }
    void stamped()
    {
        QFETCH(int, shownMs);
        QFETCH(int, madeMs);
        QCOMPARE(OwnEdits().add("1A", "ours", {{"1A", {"theirs", shownMs}}}, 5000), (Stamped{"ours", madeMs}));
    }

    void laterStored_data()
    {
        // Ours made at 1000 (handed over and waiting), stored at (0: not) as made at (999: another of ours); theirs
        QTest::addColumn<QList<int>>("ms"); // made at, over a fact made at (0: no guess)
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<bool>("apart");
        QTest::addColumn<QString>("told"); // ours, or empty where not told
        QTest::addColumn<bool>("kept");    // ours, told once more of a later name made apart
        QTest::addColumn<bool>("waits");   // ours, still to be stored
        QTest::newRow("one as old") << QList{0, 0, 1000, 0} << "theirs" << false << "" << true << true;
        QTest::newRow("not stored") << QList{0, 0, 1001, 0} << "theirs" << false << "ours" << false << false;
        QTest::newRow("same name later") << QList{0, 0, 1001, 0} << "ours" << false << "" << false << false;
        QTest::newRow("before stored") << QList{2000, 1000, 1999, 0} << "theirs" << false << "ours" << false << false;
        QTest::newRow("once stored") << QList{2000, 1000, 2000, 0} << "theirs" << false << "" << false << false;
        QTest::newRow("other stored") << QList{2000, 999, 2000, 0} << "theirs" << false << "ours" << false << false;
        QTest::newRow("made apart") << QList{2000, 1000, 2000, 0} << "theirs" << true << "ours" << false << false;
        QTest::newRow("guess over as old") << QList{0, 0, 1001, 1000} << "theirs" << false << "ours" << false << true;
        QTest::newRow("guess over later") << QList{0, 0, 1001, 1001} << "theirs" << false << "ours" << false << false;
    }
    void laterStored()
    {
        QFETCH(QList<int>, ms);
        QFETCH(QString, theirs);
        QFETCH(bool, apart);
        QFETCH(QString, told);
        QFETCH(bool, kept);
        QFETCH(bool, waits);
        OwnEdits own;
        const StampedNames pending{{"1A", own.add("1A", "ours", {}, 1000)}};
        own.stored({{"1A", {"ours", ms[1]}}}, ms[0]);
        const StampedNames now{{"1A", {theirs, ms[2], ms[3] > 0, "under", ms[3]}}};
        QCOMPARE(own.replacedBy(now, apart ? OwnEdits::Made::Apart : OwnEdits::Made::Knowing).value("1A").value_or(""),
                 told);
        QCOMPARE(OwnEdits::unreplaced(pending, now).size(), waits ? 1 : 0);
        QCOMPARE(own.replacedBy({{"1A", {"later", 9000}}}, OwnEdits::Made::Apart).size(), kept ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(TestOwnEdits)
#include "tst_ownedits.moc"

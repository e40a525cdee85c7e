#include "names/ownedits.h"

#include <QTest>

using namespace Qt::StringLiterals;

// This side's edits against later ones stored (times in ms): which stands, and which is told.
class TestOwnEdits : public QObject
{
    Q_OBJECT

private slots:
    void stamped_data()
    {
        QTest::addColumn<int>("shownMs"); // of the name replaced, against an edit made at 5000
        QTest::addColumn<int>("madeMs");
        QTest::newRow("no name before") << 0 << 5000;
        QTest::newRow("an older name") << 4999 << 5000;
        QTest::newRow("a name as old") << 5000 << 5001;
        QTest::newRow("just under an hour ahead") << 3604999 << 3605000;
        QTest::newRow("an hour ahead: a wrong clock") << 3605000 << 5000;
    }
    void stamped()
    {
        QFETCH(int, shownMs);
        QFETCH(int, madeMs);
        OwnEdits own;
        QCOMPARE(own.add(u"1A"_s, u"ours"_s, {{u"1A"_s, {u"theirs"_s, shownMs}}}, 5000), (Stamped{u"ours"_s, madeMs}));
    }

    void replacedBy_data()
    {
        QTest::addColumn<int>("storedMs");   // when ours, made at 1000, was stored; 0: not
        QTest::addColumn<int>("storedAsMs"); // the time of what was stored as ours
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<int>("theirMs");
        QTest::addColumn<bool>("apart");
        QTest::addColumn<QString>("told"); // ours where told, else empty
        QTest::addColumn<bool>("kept");
        QTest::newRow("an older name") << 0 << 0 << "theirs" << 999 << false << "" << true;
        QTest::newRow("one as old") << 0 << 0 << "theirs" << 1000 << false << "" << true;
        QTest::newRow("later, ours not stored") << 0 << 0 << "theirs" << 1001 << false << "ours" << false;
        QTest::newRow("the same name later") << 0 << 0 << "ours" << 1001 << false << "" << false;
        QTest::newRow("made before ours was stored") << 2000 << 1000 << "theirs" << 1999 << false << "ours" << false;
        QTest::newRow("made once ours was stored") << 2000 << 1000 << "theirs" << 2000 << false << "" << false;
        QTest::newRow("another edit of ours stored") << 2000 << 999 << "theirs" << 2000 << false << "ours" << false;
        QTest::newRow("made apart") << 2000 << 1000 << "theirs" << 2000 << true << "ours" << false;
    }
    void replacedBy()
    {
        QFETCH(int, storedMs);
        QFETCH(int, storedAsMs);
        QFETCH(QString, theirs);
        QFETCH(int, theirMs);
        QFETCH(bool, apart);
        QFETCH(QString, told);
        QFETCH(bool, kept);
        OwnEdits own;
        QCOMPARE(own.add(u"1A"_s, u"ours"_s, {}, 1000).madeMs, 1000);
        own.stored({{u"1A"_s, {u"ours"_s, storedAsMs}}}, storedMs);
        const QHash<QString, std::optional<QString>> expected{{u"1A"_s, told}};
        QCOMPARE(
            own.replacedBy({{u"1A"_s, {theirs, theirMs}}}, apart ? OwnEdits::Made::Apart : OwnEdits::Made::Knowing),
            told.isEmpty() ? decltype(expected)() : expected);
        // A later name made apart tells ours once more only while ours is kept.
        QCOMPARE(own.replacedBy({{u"1A"_s, {u"later"_s, 9000}}}, OwnEdits::Made::Apart).size(), kept ? 1 : 0);
    }

    void unreplaced_data()
    {
        QTest::addColumn<int>("storedMs"); // of the name stored, against an edit pending made at 1000
        QTest::addColumn<int>("underMs");  // of the fact under it, where it is a guess
        QTest::addColumn<bool>("kept");
        QTest::newRow("none stored") << 0 << 0 << true;
        QTest::newRow("a fact as old") << 1000 << 0 << true;
        QTest::newRow("a later fact") << 1001 << 0 << false;
        QTest::newRow("a guess over a fact as old") << 1001 << 1000 << true;
        QTest::newRow("a guess over a later fact") << 1001 << 1001 << false;
    }
    void unreplaced()
    {
        QFETCH(int, storedMs);
        QFETCH(int, underMs);
        QFETCH(bool, kept);
        const Stamped edit{u"ours"_s, 1000};
        const StampedNames pending{{u"1A"_s, edit}, {u"2A"_s, edit}};
        const Stamped now{u"theirs"_s, storedMs, underMs > 0, u"under"_s, underMs};
        QCOMPARE(OwnEdits::unreplaced(pending, {{u"1A"_s, now}}), (kept ? pending : StampedNames{{u"2A"_s, edit}}));
    }
};

QTEST_GUILESS_MAIN(TestOwnEdits)
#include "tst_ownedits.moc"

#include "store/ownedits.h"
#include "store/storeretry.h"
#include "support/coretest.h"

// The store's rules as values (ms): which own edit stands against later ones stored and is told; retries.
class TestOwnEdits : public QObject
{
    Q_OBJECT

private slots:
    void stamped_data()
    {
        addColumns<int, int>("shownMs", "madeMs"); // of the name replaced, against an edit made at 5000; made
        QTest::newRow("just under an hour ahead") << 3604999 << 3605000;
        QTest::newRow("an hour ahead: a wrong clock") << 3605000 << 5000;
    }
    void stamped()
    {
        auto [shownMs, madeMs] = fetched<int, int>("shownMs", "madeMs");
        QCOMPARE(OwnEdits().add("1A", "ours", {{"1A", {"theirs", shownMs}}}, 5000), (Stamped{"ours", madeMs}));
    }

    void laterStored_data()
    {
        // ms: ours made at 1000 (handed over and waiting), stored at (0: not) as made at (999: another of ours);
        // theirs made at, over a fact made at (0: no guess). told: ours, or empty where not told; kept: ours, told
        // once more of a later name made apart; waits: ours, still to be stored.
        addColumns<QList<int>, QString, bool, QString, bool, bool>("ms", "theirs", "apart", "told", "kept", "waits");
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
        auto [ms, theirs, apart, told, kept, waits] =
            fetched<QList<int>, QString, bool, QString, bool, bool>("ms", "theirs", "apart", "told", "kept", "waits");
        OwnEdits own;
        const StampedNames pending{{"1A", own.add("1A", "ours", {}, 1000)}};
        own.stored({{"1A", {"ours", ms[1]}}}, ms[0]);
        const StampedNames now{{"1A", {theirs, ms[2], ms[3] > 0, "under", ms[3]}}};
        QCOMPARE(own.replacedBy(now, apart ? OwnEdits::Made::Apart : OwnEdits::Made::Knowing).value("1A").value_or(""),
                 told);
        QCOMPARE(OwnEdits::unreplaced(pending, now).size(), waits ? 1 : 0);
        QCOMPARE(own.replacedBy({{"1A", {"later", 9000}}}, OwnEdits::Made::Apart).size(), kept ? 1 : 0);
    }

    // A window's tries of a failing write, at ms: "-" quiet, "told", or the next delay; "left": a lock not shown alive.
    void retries_data()
    {
        addColumns<QString, QString>("steps", "said");
        QTest::newRow("back-off doubles up to 30 s") << u"delay delay delay delay delay delay delay delay delay"_s
                                                     << u"250 500 1000 2000 4000 8000 16000 30000 30000"_s;
        QTest::newRow("a success starts over") << u"delay delay stored delay"_s << u"250 500 250"_s;
        QTest::newRow("the lock changing hands starts over") << u"delay delay hands:0 delay"_s << u"250 500 250"_s;
        QTest::newRow("told once, after 3 s") << u"try:0 fail:2999 try:2999 fail:3000 fail:9000"_s << u"- told -"_s;
        QTest::newRow("told anew after a success") << u"try:0 fail:3000 stored try:5000 fail:8000"_s << u"told told"_s;
        QTest::newRow("a write put off is no failure")
            << u"try:0 defer try:2000 fail:4999 fail:5000"_s << u"250 - told"_s;
        QTest::newRow("hands changed: failing from then") << u"try:0 hands:2000 fail:4999 fail:5000"_s << u"- told"_s;
        QTest::newRow("another kind told at once, once") << u"once once stored once"_s << u"told - told"_s;
        QTest::newRow("a lock left behind: after 13 s") << u"try:0 left:12999 left:13000"_s << u"- told"_s;
        QTest::newRow("a live holder's lock: after 3 s") << u"try:0 live:2999 live:3000"_s << u"- told"_s;
    }
    void retries()
    {
        QFETCH(QString, steps);
        StoreRetry retry;
        QStringList said;
        for (const QString &step : steps.split(u' ')) {
            const QString verb = step.section(u':', 0, 0);
            const qint64 ms = step.section(u':', 1).toLongLong();
            const bool locked = verb == u"left" || verb == u"live";
            const StoreError error = locked ? StoreError(StoreError::Kind::Locked, {})
                                            : NamesCsv::Error{NamesCsv::ErrorKind::Unwritable, 0, {}};
            const auto by = verb == u"live" ? StoreLock::Holder::Live : StoreLock::Holder::Unknown;
            if (verb == u"delay" || verb == u"defer")
                said.append(QString::number(verb == u"delay" ? retry.nextDelayMs() : retry.deferred()));
            else if (verb == u"fail" || verb == u"once" || locked)
                said.append((verb == u"once" ? retry.tellOnce() : retry.failed(ms, error, by)) ? u"told"_s : u"-"_s);
            else if (verb == u"stored")
                retry.succeeded();
            else if (verb == u"try")
                retry.trying(ms);
            else if (verb == u"hands")
                retry.handsChanged(ms);
            else
                QFAIL(qPrintable(u"no such step: "_s + step));
        }
        QTEST(said.join(u' '), "said");
    }
};

VESK_GUILESS_TEST_MAIN(TestOwnEdits)
#include "tst_ownedits.moc"

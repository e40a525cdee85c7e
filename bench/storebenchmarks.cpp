#include "document/namesdocument.h"
#include "store/storelock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

// Longer than a lock left behind would last, so a live one that is kept fresh is seen not broken.
constexpr int holdMs = 12000;
constexpr int tickMs = 10;
constexpr int editEveryMs = 50;

// The longest an event of a window waits while another side holds the store's lock for 12 s
// and the user goes on typing: ticks of a timer, of which none may come late by much.
void windowWhileLocked(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QString store = QDir(dir.path()).filePath(QStringLiteral("namen.csv"));
    while (state.KeepRunning()) {
        NamesDocument document(store); // the window's names; its boxes would wait for a click
        document.restore();
        StoreLock held(store);
        if (!held.acquire(0)) {
            state.SkipWithError("the lock could not be taken");
            break;
        }
        QElapsedTimer sinceTick;
        qint64 longestGapMs = 0;
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, [&] { longestGapMs = std::max(longestGapMs, sinceTick.restart()); });
        QTimer typing;
        int edits = 0;
        QObject::connect(&typing, &QTimer::timeout,
                         [&] { document.setName(QStringLiteral("7C"), QStringLiteral("Weiche %1").arg(++edits)); });
        QEventLoop loop;
        QTimer::singleShot(holdMs, &loop, &QEventLoop::quit);
        sinceTick.start();
        ticks.start(tickMs);
        typing.start(editEveryMs);
        loop.exec();
        if (document.store().error().kind != StoreError::Kind::Locked) {
            state.SkipWithError("the live lock was not respected");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::milliseconds(longestGapMs)).count());
    }
}
BENCHMARK(windowWhileLocked)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

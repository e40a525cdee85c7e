#include "longestnames.h"

#include "store/namesstore.h"
#include "store/storefile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int probeTimeoutMs = 30000;
constexpr int startsPerWindow = 10; // each start takes tens of milliseconds

// From just before the probe process starts to the end of the frame it reports.
// The probe reports that moment on the steady clock, which all processes share
// (CLOCK_MONOTONIC on Linux, QueryPerformanceCounter on Windows).
void timeStarts(benchmark::State &state, const QString &kind, QProcessEnvironment environment)
{
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    while (state.KeepRunning()) {
        QProcess probe;
        probe.setProcessEnvironment(environment);
        const auto started = std::chrono::steady_clock::now();
        probe.start(QStringLiteral(VESK_STARTUP_PROBE_PATH), {kind});
        bool reported = false;
        const qint64 paintedAt = probe.waitForFinished(probeTimeoutMs) && probe.exitCode() == 0
                                     ? probe.readAllStandardOutput().trimmed().toLongLong(&reported)
                                     : 0;
        if (!reported) {
            state.SkipWithError("the start-up probe did not report a first paint");
            break;
        }
        const std::chrono::steady_clock::time_point painted{std::chrono::nanoseconds(paintedAt)};
        state.SetIterationTime(std::chrono::duration<double>(painted - started).count());
    }
}

// To the first frame painted.
void startup(benchmark::State &state, const QString &kind)
{
    timeStarts(state, kind, QProcessEnvironment::systemEnvironment());
}

// The window with these names stored, in a data folder of its own, until its names table is
// painted with them.
void startWithNames(benchmark::State &state, const Names &names)
{
    const QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(NamesStore::dataHomeVariable), home.path());
    // Where that window keeps its names.
    const QByteArray userHome = qgetenv(NamesStore::dataHomeVariable);
    qputenv(NamesStore::dataHomeVariable, QFile::encodeName(home.path()));
    const QString store = NamesStore::defaultPath();
    if (userHome.isNull())
        qunsetenv(NamesStore::dataHomeVariable);
    else
        qputenv(NamesStore::dataHomeVariable, userHome);

    // With their times, as the window stores them: a list without is read again while it may
    // still be being written.
    StampedNames stamped;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (auto name = names.cbegin(); name != names.cend(); ++name)
        stamped.insert(name.key(), {name.value(), now});
    if (!names.isEmpty() && (!QDir().mkpath(QFileInfo(store).path()) || !StoreFile::write(store, stamped).ok())) {
        state.SkipWithError("the names could not be stored");
        return;
    }
    timeStarts(state, QStringLiteral("names"), environment);
}

void timedStarts(benchmark::internal::Benchmark *benchmark)
{
    benchmark->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(startsPerWindow);
}

BENCHMARK_CAPTURE(startup, window, QStringLiteral("window"))->Apply(timedStarts);
BENCHMARK_CAPTURE(startup, bareWindow, QStringLiteral("bare"))->Apply(timedStarts);
BENCHMARK_CAPTURE(startWithNames, none, Names())->Apply(timedStarts);
BENCHMARK_CAPTURE(startWithNames, longest, longestNames())->Apply(timedStarts);

} // namespace

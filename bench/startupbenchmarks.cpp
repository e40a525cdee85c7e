#include <QProcess>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int probeTimeoutMs = 30000;
constexpr int startsPerWindow = 10; // each start takes tens of milliseconds

// From just before the probe process starts to the end of its first painted frame.
// The probe reports that moment on the steady clock, which all processes share
// (CLOCK_MONOTONIC on Linux, QueryPerformanceCounter on Windows).
void startup(benchmark::State &state, const QString &kind)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
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

void timedStarts(benchmark::internal::Benchmark *benchmark)
{
    benchmark->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(startsPerWindow);
}

BENCHMARK_CAPTURE(startup, window, QStringLiteral("window"))->Apply(timedStarts);
BENCHMARK_CAPTURE(startup, bareWindow, QStringLiteral("bare"))->Apply(timedStarts);

} // namespace

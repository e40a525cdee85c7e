#include "store/storeclock.h"

#include <QDateTime>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

std::atomic<qint64> movedMs{0};
std::atomic<StoreClock::Pauses> pausing{StoreClock::Pauses::Wait};
std::atomic<int> underWay{0};
std::mutex waiting;
std::condition_variable woken; // the clock moved, or a waiter's condition changed

} // namespace

StoreClock &StoreClock::instance()
{
    static StoreClock clock;
    return clock;
}

qint64 StoreClock::now()
{
    return QDateTime::currentMSecsSinceEpoch() + movedMs;
}

qint64 StoreClock::ticks()
{
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count() + movedMs;
}

void StoreClock::pause(int ms)
{
    if (pausing == Pauses::Pass) {
        advance(ms);
        return;
    }
    ++underWay;
    waitUntil(ticks() + ms, {});
    --underWay;
}

bool StoreClock::waitUntil(qint64 until, const std::function<bool()> &stopped)
{
    std::unique_lock<std::mutex> guard(waiting);
    for (qint64 left = until - ticks(); left > 0; left = until - ticks()) {
        if (stopped && stopped())
            return true;
        woken.wait_for(guard, std::chrono::milliseconds(left));
    }
    return stopped && stopped();
}

void StoreClock::wake()
{
    { // so that no waiter misses it between testing its condition and waiting
        const std::scoped_lock guard(waiting);
    }
    woken.notify_all();
}

void StoreClock::drive(QTimer &timer)
{
    connect(&instance(), &StoreClock::advanced, &timer, [&timer](qint64 ms) {
        if (timer.isActive())
            timer.start(int(std::max<qint64>(timer.remainingTime() - ms, 0)));
    });
}

void StoreClock::advance(qint64 ms)
{
    {
        const std::scoped_lock guard(waiting);
        movedMs += ms;
    }
    woken.notify_all();
    emit instance().advanced(ms);
}

void StoreClock::setPauses(Pauses pauses)
{
    pausing = pauses;
}

int StoreClock::pausesUnderWay()
{
    return underWay;
}

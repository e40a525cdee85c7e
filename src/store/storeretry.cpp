#include "store/storeretry.h"

#include "store/storeclock.h"

#include <algorithm>

namespace {

constexpr int lastWritePauseMs = 100;

} // namespace

StoreRetry::Patience StoreRetry::lastWrite(int withinMs)
{
    return {Again::WhileFailing, unbounded, withinMs, lastWritePauseMs};
}

StoreError StoreRetry::repeat(const std::function<StoreError()> &attempt, const Patience &patience)
{
    const qint64 until = StoreClock::ticks() + patience.withinMs;
    for (int tries = 1;; ++tries) {
        StoreError error = attempt();
        const bool again =
            patience.again == Again::WhileFailing ? !error.ok() : error.is(NamesCsv::ErrorKind::Unwritable);
        if (!again || tries == patience.attempts || StoreClock::ticks() >= until)
            return error;
        StoreClock::pause(patience.pauseMs);
    }
}

void StoreRetry::trying(qint64 ticks)
{
    if (!failingSince)
        failingSince = ticks;
}

void StoreRetry::succeeded()
{
    delayMs = firstDelayMs;
    failingSince.reset();
    reported = false;
}

int StoreRetry::deferred()
{
    failingSince.reset();
    return firstDelayMs;
}

void StoreRetry::handsChanged(qint64 ticks)
{
    failingSince = ticks;
    delayMs = firstDelayMs;
}

bool StoreRetry::failed(qint64 ticks, const StoreError &error, StoreLock::Holder holder)
{
    const bool leftBehind = error.kind == StoreError::Kind::Locked && holder == StoreLock::Holder::Unknown;
    const int tellAfterMs = leftBehind ? StoreLock::staleMs + reportAfterMs : reportAfterMs;
    return !reported && failingSince && ticks - *failingSince >= tellAfterMs && tellOnce();
}

int StoreRetry::nextDelayMs()
{
    return std::exchange(delayMs, std::min(2 * delayMs, lastDelayMs));
}

bool StoreRetry::tellOnce()
{
    return !std::exchange(reported, true);
}

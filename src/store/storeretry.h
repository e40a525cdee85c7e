#ifndef STORERETRY_H
#define STORERETRY_H

#include "store/storeerror.h"
#include "store/storelock.h"

#include <functional>
#include <limits>
#include <optional>

// The one place that decides when a failed write of the store is tried again, and when a
// failure has lasted long enough to be told. On the worker's thread a try is repeated at once,
// pausing on the store's clock; a window's write that failed is tried again by its timer, soon
// at first, then less often, so that a failure that heals in a few seconds is not told.
class StoreRetry
{
public:
    // A try is repeated while it fails as again says, at most attempts times and until withinMs
    // have passed, pausing pauseMs in between.
    enum class Again { WhileUnwritable, WhileFailing };
    struct Patience
    {
        Again again;
        int attempts;
        int withinMs;
        int pauseMs;
    };
    static constexpr int unbounded = std::numeric_limits<int>::max();
    // On Windows a file that another side reads for a moment cannot be replaced meanwhile.
    static constexpr Patience replacing{Again::WhileUnwritable, 10, unbounded, 50};
    // The last write of a side that goes away, which cannot be tried later.
    static Patience lastWrite(int withinMs);
    static StoreError repeat(const std::function<StoreError()> &attempt, const Patience &patience);

    // How long a window waits for a try before it tells that the folder stalls, and for a failure to heal.
    static constexpr int reportAfterMs = 3000;

    // A window's try starts at ticks (StoreClock::ticks()); a failure lasts from the first try that failed.
    void trying(qint64 ticks);
    // The try succeeded: a failure after it is a new one.
    void succeeded();
    // The try was put off, no failure: the delay until the next.
    int deferred();
    // The lock changed hands at ticks: others store, which is no failure.
    void handsChanged(qint64 ticks);
    // The try failed for error, at ticks: whether the failure is to be told now, once. A lock whose holder is
    // not shown alive is freed within StoreLock::staleMs, as one left behind.
    bool failed(qint64 ticks, const StoreError &error, StoreLock::Holder holder);
    // The delay until the next try after a failure, longer each time.
    int nextDelayMs();
    // A failure of another kind is to be told at once: whether it was not told yet.
    bool tellOnce();
    bool told() const { return reported; }

private:
    static constexpr int firstDelayMs = 250;
    static constexpr int lastDelayMs = 30000;

    int delayMs = firstDelayMs;
    std::optional<qint64> failingSince;
    bool reported = false;
};

#endif

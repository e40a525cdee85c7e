#ifndef STORECLOCK_H
#define STORECLOCK_H

#include <QObject>

#include <functional>

class QTimer;

// The store's time: the system's clock, which a test moves forward instead of waiting for
// it. Every rule of the store about time (when an edit was made, a list that may still be
// being written, its pauses, retries and timeouts) reads it. Thread-safe.
class StoreClock : public QObject
{
    Q_OBJECT

public:
    // What a pause does: waits, or, in a test of one side alone, moves the clock by itself.
    enum class Pauses { Wait, Pass };

    // Milliseconds since the epoch, for when something was made.
    static qint64 now();
    // Milliseconds on a clock that never goes back, for how long something lasts.
    static qint64 ticks();
    // Waits ms on this clock.
    static void pause(int ms);
    // Waits until ticks() reaches until, or until stopped() holds when woken; true when stopped.
    static bool waitUntil(qint64 until, const std::function<bool()> &stopped);
    // Has every waiter test its condition again.
    static void wake();
    // A running timer times out as much sooner as the clock is moved; one that repeats keeps
    // the shortened interval, so it is started anew at each timeout.
    static void drive(QTimer &timer);

    // For tests.
    static void advance(qint64 ms);
    static void setPauses(Pauses pauses);
    static int pausesUnderWay();

signals:
    void advanced(qint64 ms);

private:
    static StoreClock &instance();
};

#endif

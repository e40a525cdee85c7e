#include "store/sharedstore.h"

#include "store/storeclock.h"
#include "store/storefile.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalBlocker>
#include <QThread>

namespace {

constexpr int reportAfterMs = StoreRetry::reportAfterMs;
constexpr int waitStepMs = 1000;
// How long a side that goes away waits for its last write on a folder that stalls.
constexpr int lastWriteWaitMs = 10000;
constexpr int lastWriteSlackMs = 2000; // for the write that is under way then

StampedNames shownOf(const StampedNames &stored, const StampedNames &inFlight, const StampedNames &pending)
{
    return NamesTimes::merged(NamesTimes::merged(stored, inFlight), pending);
}

} // namespace

SharedStore::SharedStore(QString path, QObject *parent)
    : QObject(parent)
    , path(std::move(path))
    , thread(new QThread)
    , worker(new StoreWorker(this->path))
{
    qRegisterMetaType<NamesStore::LoadResult>();
    qRegisterMetaType<StoreFile::Snapshot>();
    qRegisterMetaType<StoreWorker::Written>();
    qRegisterMetaType<StoreError>();
    worker->moveToThread(thread);
    connect(worker, &StoreWorker::restored, this, &SharedStore::restoredBy);
    connect(worker, &StoreWorker::changed, this, &SharedStore::changedBy);
    connect(worker, &StoreWorker::written, this, &SharedStore::writtenBy);
    connect(worker, &StoreWorker::copySetAside, this, &SharedStore::copySetAside);
    connect(worker, &StoreWorker::copiesStay, this, &SharedStore::copiesStay);
    thread->start();
    retry.setSingleShot(true);
    StoreClock::drive(retry);
    connect(&retry, &QTimer::timeout, this, &SharedStore::storeNow);
    answerWait.setSingleShot(true);
    StoreClock::drive(answerWait);
    connect(&answerWait, &QTimer::timeout, this, &SharedStore::stalled);
}

SharedStore::~SharedStore()
{
    disconnect(worker, nullptr, this, nullptr); // its answers would come to no one
    const StampedNames edits = NamesTimes::merged(inFlight, pending);
    if (storing && !edits.isEmpty())
        QMetaObject::invokeMethod(worker, [target = worker, known = stored, edits] {
            target->writeLast(known, edits, lastWriteWaitMs - lastWriteSlackMs);
        });
    // After what is queued for the worker, which QThread::quit() alone would drop.
    QMetaObject::invokeMethod(worker, &StoreWorker::stop);
    // One stuck in a folder that stalls is left to end with the process.
    if (thread->wait(lastWriteWaitMs)) {
        delete worker;
        delete thread;
    }
}

void SharedStore::restore()
{
    QMetaObject::invokeMethod(worker, &StoreWorker::restore);
}

Names SharedStore::names() const
{
    return NamesTimes::plain(shownOf(stored, inFlight, pending));
}

void SharedStore::put(const NameEntries &entries)
{
    if (entries.isEmpty())
        return;
    const StampedNames shown = shownOf(stored, inFlight, pending);
    const qint64 now = StoreClock::now();
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry)
        pending.insert(entry.key(), own.add(entry.key(), entry.value(), shown, now));
    emit namesChanged(names());
    emit stateChanged();
    retry.start(0); // once the event loop is idle: a burst of changes is one write
}

void SharedStore::storeNow()
{
    if (busy || !storing || pending.isEmpty())
        return;
    busy = true;
    retries.trying(StoreClock::ticks());
    answerWait.start(reportAfterMs);
    answerSince = StoreClock::ticks();
    inFlight = std::exchange(pending, {});
    QMetaObject::invokeMethod(worker,
                              [target = worker, known = stored, edits = inFlight] { target->write(known, edits); });
}

bool SharedStore::waitRestored(int ms)
{
    return waitUntil([this] { return restoredYet; }, ms);
}

bool SharedStore::waitStored(int ms)
{
    storeNow();
    for (int seen = -1; seen != handsChanged;) {
        seen = handsChanged;
        waitUntil(
            [this, seen] {
                return pendingCount() == 0 || handsChanged != seen
                       || (failing() && lastError.kind != StoreError::Kind::Locked);
            },
            ms);
    }
    return pendingCount() == 0;
}

void SharedStore::discardPending()
{
    pending.clear();
    inFlight.clear();
}

// In steps, so that a time this process was held (stopped, as by Ctrl+Z) is not waited: its worker was held too.
bool SharedStore::waitUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer since;
    since.start();
    for (qint64 leftMs = ms; !done() && leftMs > 0;) {
        const qint64 stepMs = std::min<qint64>(leftMs, waitStepMs);
        QEventLoop loop;
        connect(this, &SharedStore::answered, &loop, &QEventLoop::quit);
        QTimer::singleShot(std::chrono::milliseconds(stepMs), &loop, &QEventLoop::quit);
        loop.exec();
        leftMs -= std::min(since.restart(), stepMs);
    }
    return done();
}

void SharedStore::restoredBy(const NamesStore::LoadResult &found)
{
    if (!found.leftInPlace() && !found.ok() && found.setAsidePath.isEmpty()) {
        storing = false; // storing now would overwrite the only copy of what the file holds
        lastError = found.error;
    }
    restoredYet = true;
    take(found.names, found.settled);
    emit restored(found);
    emit stateChanged();
    emit answered();
}

// Another side, or another program, changed the store, or it could be read at last.
void SharedStore::changedBy(const StoreFile::Snapshot &snapshot)
{
    if (!storing)
        return;
    if (!snapshot.ok() || !snapshot.exists) {
        // Damaged, to be set aside, or gone: this side's names are stored anew, as they were made.
        pending = NamesTimes::merged(stored, pending);
        storeNow();
        return;
    }
    if (snapshot.names == stored)
        return;
    take(snapshot.names, snapshot.settled, snapshot.copiesMerged ? OwnEdits::Made::Apart : OwnEdits::Made::Knowing);
    if (!pending.isEmpty())
        retry.start(0); // another side could store: perhaps what made this one fail is gone
}

void SharedStore::writtenBy(const StoreWorker::Written &written)
{
    busy = false;
    answerWait.stop();
    if (written.setAside) {
        storing = !written.setAside->setAsidePath.isEmpty();
        emit setAside(*written.setAside);
    }
    lastError = written.error;
    if (written.deferred) { // no failure: tried again soon
        pending = NamesTimes::merged(inFlight, pending);
        inFlight.clear();
        retry.start(retries.deferred());
    } else if (written.error.ok()) {
        own.stored(std::exchange(inFlight, {}), StoreClock::now());
        retries.succeeded();
        takeSettled(written.names);
        storeNow(); // what was edited meanwhile
    } else {
        pending = NamesTimes::merged(inFlight, pending);
        inFlight.clear();
        lastHolder = written.holder;
        if (locked(StoreLock::Holder::Changing)) { // others store meanwhile: no failure
            ++handsChanged;
            retries.handsChanged(StoreClock::ticks());
        }
        failedAgain();
    }
    emit stateChanged();
    emit answered();
}

void SharedStore::take(const StampedNames &nowStored, bool settled, OwnEdits::Made made)
{
    if (settled) {
        takeSettled(nowStored, made);
        return;
    }
    stored = nowStored;
    emit namesChanged(names());
}

// A later edit from elsewhere replaces this side's; where it was made before this side's was
// stored, its maker could not know this one, which is told.
void SharedStore::takeSettled(const StampedNames &nowStored, OwnEdits::Made made)
{
    stored = nowStored;
    const NameEntries replacedHere = own.replacedBy(stored, made);
    pending = OwnEdits::unreplaced(pending, stored);
    emit namesChanged(names());
    if (!replacedHere.isEmpty())
        emit replaced(replacedHere);
}

// The worker has not answered for a while: the folder stalls, as a network folder can.
void SharedStore::stalled()
{
    // So late that this process was held meanwhile, not the folder: the worker's time begins anew.
    if (StoreClock::ticks() - answerSince >= 2 * qint64{reportAfterMs}) {
        answerSince = StoreClock::ticks();
        answerWait.start(reportAfterMs);
        return;
    }
    if (!retries.tellOnce())
        return;
    lastError = {StoreError::Kind::Stalled, {}};
    emit failed(lastError);
    emit stateChanged();
}

void SharedStore::failedAgain()
{
    if (!storing)
        return;
    if (retries.failed(StoreClock::ticks(), lastError, lastHolder))
        emit failed(lastError);
    retry.start(retries.nextDelayMs());
}

bool SharedStore::locked(StoreLock::Holder holder) const
{
    return lastError.kind == StoreError::Kind::Locked && lastHolder == holder;
}

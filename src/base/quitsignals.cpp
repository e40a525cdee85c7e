#include "base/quitsignals.h"

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array caught{SIGHUP, SIGTERM, SIGINT};
std::array<struct sigaction, caught.size()> previous{};
// Written by the handler, read in the event loop: a handler may do little else safely.
std::array<int, 2> wakeUp{-1, -1};

void handle(int /*number*/)
{
    const int interrupted = errno; // the code the signal interrupted may be about to read it
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeUp[0], &byte, 1);
    errno = interrupted;
}

} // namespace

QuitSignals::QuitSignals(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeUp.data()) != 0)
        return;
    auto *notifier = new QSocketNotifier(wakeUp[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        if (::read(wakeUp[1], &byte, 1) == 1)
            emit received();
    });
    struct sigaction action = {};
    action.sa_handler = handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND; // a second request ends the program at once
    for (std::size_t i = 0; i < caught.size(); ++i) {
        ::sigaction(caught[i], nullptr, &previous[i]);
        if (previous[i].sa_handler != SIG_IGN)
            ::sigaction(caught[i], &action, nullptr);
    }
}

QuitSignals::~QuitSignals()
{
    if (wakeUp[0] < 0)
        return;
    for (std::size_t i = 0; i < caught.size(); ++i)
        ::sigaction(caught[i], &previous[i], nullptr);
    for (int &end : wakeUp) {
        ::close(end);
        end = -1;
    }
}

#else

QuitSignals::QuitSignals(QObject *parent)
    : QObject(parent)
{
}

QuitSignals::~QuitSignals() = default;

#endif

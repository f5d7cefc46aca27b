#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr std::int64_t kSameRequestMs = 1000;

int g_pipe[2] = {-1, -1};
// When the first signal came (monotonic milliseconds), 0 before it.
std::atomic<std::int64_t> g_firstAt{0};
static_assert(std::atomic<std::int64_t>::is_always_lock_free);

std::int64_t NowMs()
{
    timespec now = {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000 + 1; // never 0
}

// Only async-signal-safe calls here.
void OnSignal(int signal)
{
    const int savedErrno = errno;
    const std::int64_t now = NowMs();
    std::int64_t first = 0;
    if (g_firstAt.compare_exchange_strong(first, now)) {
        const unsigned char number = static_cast<unsigned char>(signal);
        [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
    } else if (now - first >= kSameRequestMs) {
        ::signal(signal, SIG_DFL);
        ::raise(signal); // blocked in here; delivered, and fatal, as the handler returns
    }
    errno = savedErrno;
}

} // namespace

void CatchTerminationSignals(std::function<void(int signal)> stop)
{
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [stop = std::move(stop)] {
        unsigned char number = 0;
        if (::read(g_pipe[0], &number, 1) == 1)
            stop(number);
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals)
        sigaddset(&action.sa_mask, signal); // one handler at a time
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace platform

#include "platform/SignalHold.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<unsigned> g_arrived{0};

void Note(int signal)
{
    g_arrived.fetch_or(1u << signal);
}

} // namespace

SignalHold::SignalHold()
{
    g_arrived = 0;
    struct sigaction note {};
    note.sa_handler = Note;
    note.sa_flags = SA_RESTART;
    sigemptyset(&note.sa_mask);
    for (std::size_t i = 0; i < std::size(kHeld); ++i)
        ::sigaction(kHeld[i], &note, &m_old[i]);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, &m_oldFileSize);
}

SignalHold::~SignalHold()
{
    ::sigaction(SIGXFSZ, &m_oldFileSize, nullptr);
    for (std::size_t i = 0; i < std::size(kHeld); ++i)
        ::sigaction(kHeld[i], &m_old[i], nullptr);
    const unsigned arrived = g_arrived.exchange(0);
    for (const int signal : kHeld) {
        if (arrived & (1u << signal))
            ::raise(signal);
    }
}

} // namespace platform

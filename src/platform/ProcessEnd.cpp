#include "platform/ProcessEnd.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

std::atomic<int> g_endSignal{0};

} // namespace

void EndProcess(int status)
{
    // _Exit leaves flushing to the implementation; do it here so that output
    // written before the end is not lost in a buffer.
    std::fflush(nullptr);
    if (const int signal = g_endSignal.load()) {
        std::signal(signal, SIG_DFL);
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, signal);
        pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
        std::raise(signal);
    }
    std::_Exit(status);
}

void EndBySignal(int signal)
{
    g_endSignal = signal;
}

} // namespace platform

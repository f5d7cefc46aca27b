#pragma once

#include <functional>

namespace platform {

// Catches SIGTERM, SIGHUP and SIGINT, the requests to stop that a session
// sends at logout, systemd sends a unit and a terminal sends on Ctrl+C. The
// signal handler itself only writes the signal's number into a pipe; `stop`
// is called with it from this thread's event loop, where any code may run,
// and is expected to end the program.
//
// Signals within a second of the first are the same request (systemd sends
// SIGHUP right behind SIGTERM, a shell passes on the terminal's hangup) and
// are let go. One that comes later, while the program has still not ended,
// ends the process at once by that signal, so a program stuck on its way out
// can still be stopped. Call once, after the application object exists.
void CatchTerminationSignals(std::function<void(int signal)> stop);

} // namespace platform

#pragma once

namespace platform {

// Ends the process at once with the given exit status. Standard output and
// standard error are flushed first; no window close handler, exit handler or
// destructor of a static object runs on the way out, and the operating system
// closes every open file. After EndBySignal the process ends by that signal
// instead.
[[noreturn]] void EndProcess(int status);

// Makes EndProcess end the process by the signal, its default action
// restored, rather than with an exit status: how a program asked to stop by
// that signal ends, so that whoever sent it (a shell, the session, systemd)
// sees the request was obeyed.
void EndBySignal(int signal);

} // namespace platform

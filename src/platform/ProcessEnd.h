#pragma once

namespace platform {

// Ends the process at once with the given exit status. Standard output and
// standard error are flushed first; no window close handler, exit handler or
// destructor of a static object runs on the way out, and the operating system
// closes every open file.
[[noreturn]] void EndProcess(int status);

} // namespace platform

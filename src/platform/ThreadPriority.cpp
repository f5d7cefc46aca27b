#include "platform/ThreadPriority.h"

#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

namespace platform {

void LowerThisThreadPriority()
{
    // On Linux the nice value belongs to the thread named by its id.
    const pid_t thread = ::gettid();
    errno = 0;
    const int now = ::getpriority(PRIO_PROCESS, id_t(thread));
    if (errno != 0)
        return;
    ::setpriority(PRIO_PROCESS, id_t(thread), std::min(now + 10, 19));
}

} // namespace platform

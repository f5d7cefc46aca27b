#include "platform/FileLock.h"

#include "platform/Fd.h"

#include <cerrno>
#include <chrono>
#include <sys/file.h>
#include <thread>

namespace platform {

int LockExclusive(int fd)
{
    using namespace std::chrono;
    // Polled rather than waited for, so a lock held for good cannot hold up
    // the program for good.
    const auto deadline = steady_clock::now() + seconds(5);
    while (RetryInterrupted([fd] { return ::flock(fd, LOCK_EX | LOCK_NB); }) != 0) {
        const int error = errno;
        if (error != EWOULDBLOCK || steady_clock::now() >= deadline)
            return error;
        std::this_thread::sleep_for(milliseconds(10));
    }
    return 0;
}

} // namespace platform

#include "platform/StandardOutput.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

void HoldClosedStandardOutput()
{
    if (::fcntl(STDOUT_FILENO, F_GETFD) != -1 || errno != EBADF)
        return;
    // A read-only descriptor: writes to it fail with EBADF, as on a closed one.
    const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (fd >= 0 && fd != STDOUT_FILENO) {
        ::dup2(fd, STDOUT_FILENO);
        ::close(fd);
    }
}

OutputResult WriteStandardOutput(QByteArrayView bytes)
{
    const char *p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            OutputResult result;
            result.status = errno == EPIPE ? OutputResult::BrokenPipe : OutputResult::Failed;
            result.description = QString::fromLocal8Bit(std::strerror(errno));
            return result;
        }
        p += n;
        left -= n;
    }
    return {};
}

} // namespace platform

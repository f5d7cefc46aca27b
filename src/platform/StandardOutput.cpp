#include "platform/StandardOutput.h"

#include "platform/Fd.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace platform {

OutputResult WriteStandardOutput(QByteArrayView bytes)
{
    const char *p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = RetryInterrupted([&] { return ::write(STDOUT_FILENO, p, size_t(left)); });
        if (n < 0) {
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

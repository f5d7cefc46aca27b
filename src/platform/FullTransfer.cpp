#include "platform/FullTransfer.h"

#include "platform/Fd.h"

#include <cerrno>
#include <unistd.h>

namespace platform {
namespace {

template <typename Data, typename Call>
bool Transfer(Call call, int fd, Data data, qint64 size, off_t offset, int atEnd)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = RetryInterrupted(
            [&] { return call(fd, data + done, size_t(size - done), offset + off_t(done)); });
        if (n <= 0) {
            if (n == 0)
                errno = atEnd;
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

bool ReadAllAt(int fd, char *data, qint64 size, off_t offset)
{
    return Transfer(::pread, fd, data, size, offset, EIO);
}

bool WriteAllAt(int fd, const char *data, qint64 size, off_t offset)
{
    return Transfer(::pwrite, fd, data, size, offset, ENOSPC);
}

} // namespace platform

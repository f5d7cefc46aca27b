#include "platform/FileRead.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

OpenError FromErrno(int code)
{
    switch (code) {
    case ENOENT:
    case ENOTDIR:
        return OpenError::NotFound;
    case EACCES:
    case EPERM:
        return OpenError::PermissionDenied;
    default:
        return OpenError::AccessError;
    }
}

} // namespace

HeadRead ReadFileHead(const QByteArray &nativePath, char *buffer, std::size_t size)
{
    HeadRead result;
    if (nativePath.isEmpty()) {
        result.error = OpenError::NotFound;
        return result;
    }
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        result.error = FromErrno(errno);
        return result;
    }
    // Only regular files are read: a folder, a fifo or a device is an access error.
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        result.error = OpenError::AccessError;
        return result;
    }
    while (result.bytesRead < size) {
        const ssize_t n = ::read(fd, buffer + result.bytesRead, size - result.bytesRead);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            result.error = OpenError::AccessError;
            break;
        }
        if (n == 0)
            break;
        result.bytesRead += std::size_t(n);
    }
    ::close(fd);
    return result;
}

} // namespace platform

#include "platform/FileRead.h"

#include "platform/Fd.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// Reads the head of a file just opened (fd < 0: the open failed) and closes it.
HeadRead ReadOpened(int fd, char *buffer, std::size_t size, bool knownRegular = false)
{
    HeadRead result;
    if (fd < 0) {
        result.error = OpenErrorFromErrno(errno);
        return result;
    }
    // Only regular files are read: a folder, a fifo or a device is an access error.
    struct stat st;
    if (!knownRegular && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        result.error = OpenError::AccessError;
        return result;
    }
    while (result.bytesRead < size) {
        const ssize_t n =
            RetryInterrupted([&] { return ::read(fd, buffer + result.bytesRead, size - result.bytesRead); });
        if (n < 0) {
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

constexpr int kOpenFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;

} // namespace

OpenError OpenErrorFromErrno(int code)
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

HeadRead ReadFileHead(const QByteArray &nativePath, char *buffer, std::size_t size)
{
    if (nativePath.isEmpty())
        return {0, OpenError::NotFound};
    return ReadOpened(::open(nativePath.constData(), kOpenFlags), buffer, size);
}

FolderHandle::~FolderHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FolderHandle &FolderHandle::operator=(FolderHandle &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

HeadRead FolderHandle::readHead(const QByteArray &name, char *buffer, std::size_t size,
                                bool knownRegular) const
{
    if (name.isEmpty() || m_fd < 0)
        return {0, OpenError::NotFound};
    return ReadOpened(::openat(m_fd, name.constData(), kOpenFlags), buffer, size, knownRegular);
}

} // namespace platform

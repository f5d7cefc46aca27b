#include "platform/FileWrite.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

WriteResult Failed(int code)
{
    return {WriteError::Failed, qt_error_string(code)};
}

// A file descriptor closed at the end of its scope.
class Fd {
  public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;

    int get() const { return m_fd; }

  private:
    int m_fd;
};

bool WriteAllAt(int fd, const char *data, qint64 size, off_t offset)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size_t(size - done), offset + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += n;
    }
    return true;
}

bool ReadAllAt(int fd, char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, data + done, size_t(size - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO; // the file shrank meanwhile
            return false;
        }
        done += n;
    }
    return true;
}

// Rewrites the existing file itself: same inode, links, owner and mode. The
// room for a longer content is reserved first, so the old bytes are not
// touched when there is none; the bytes about to be overwritten are kept and
// written back if a write fails after all.
WriteResult WriteInPlace(const QByteArray &native, const QByteArray &bytes)
{
    const Fd fd(::open(native.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        return Failed(errno);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return Failed(errno);
    if (!S_ISREG(st.st_mode))
        return {WriteError::NotRegular, QString()};
    const off_t oldSize = st.st_size;
    const off_t newSize = off_t(bytes.size());
    if (newSize > oldSize && ::fallocate(fd.get(), FALLOC_FL_KEEP_SIZE, 0, newSize) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS)
        return Failed(errno);
    QByteArray old(qsizetype(std::min(oldSize, newSize)), Qt::Uninitialized);
    if (!ReadAllAt(fd.get(), old.data(), old.size()))
        return Failed(errno);
    if (!WriteAllAt(fd.get(), bytes.constData(), bytes.size(), 0) || ::fsync(fd.get()) != 0) {
        const int code = errno;
        WriteAllAt(fd.get(), old.constData(), old.size(), 0);
        ::ftruncate(fd.get(), oldSize);
        ::fsync(fd.get());
        return Failed(code);
    }
    // Shortening needs no room; only now is the old tail given up.
    if (::ftruncate(fd.get(), newSize) != 0)
        return Failed(errno);
    return {};
}

} // namespace

WriteResult ReplaceFile(const QString &path, const QByteArray &bytes)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    const bool exists = ::stat(native.constData(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode))
        return {WriteError::NotRegular, QString()};
    if (exists && (st.st_nlink > 1 || st.st_uid != ::geteuid()))
        return WriteInPlace(native, bytes);

    // Unbuffered, so that a write that does not fit fails here, before the
    // temporary file could replace the target.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (exists) // the folder refuses the temporary file; the file itself may be writable
            return WriteInPlace(native, bytes);
        return {WriteError::Failed, file.errorString()};
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {WriteError::Failed, reason};
    }
    if (!file.commit())
        return {WriteError::Failed, file.errorString()};
    return {};
}

WriteResult AppendToFile(const QString &path, const QByteArray &bytes)
{
    const QByteArray native = QFile::encodeName(path);
    const Fd fd(::open(native.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666));
    if (fd.get() < 0)
        return Failed(errno);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return Failed(errno);
    if (!S_ISREG(st.st_mode))
        return {WriteError::NotRegular, QString()};
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int code = n == 0 ? ENOSPC : errno;
            ::ftruncate(fd.get(), st.st_size); // no half line left behind
            return Failed(code);
        }
        done += n;
    }
    return {};
}

ReadResult ReadSmallFile(const QString &path, qint64 limit)
{
    ReadResult result;
    const Fd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        result.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
        return result;
    }
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        result.status = ReadStatus::Unreadable;
        return result;
    }
    if (st.st_size > limit) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    // The size may have changed since; at most one byte past the limit is read.
    QByteArray bytes(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done > limit) {
                result.status = ReadStatus::TooLarge;
                return result;
            }
            bytes.resize(qsizetype(std::min(limit + 1, done * 2 + 1)));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.status = ReadStatus::Unreadable;
            return result;
        }
        if (n == 0)
            break;
        done += n;
    }
    if (done > limit) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    bytes.truncate(qsizetype(done));
    result.status = ReadStatus::Read;
    result.bytes = std::move(bytes);
    return result;
}

} // namespace platform

#include "platform/SmallFileRead.h"

#include "platform/Fd.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

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
        const ssize_t n = RetryInterrupted(
            [&] { return ::read(fd.get(), bytes.data() + done, size_t(bytes.size() - done)); });
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

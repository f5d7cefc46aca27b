#include "platform/InPlaceRewrite.h"

#include "platform/FileLock.h"
#include "platform/FullTransfer.h"
#include "platform/SignalHold.h"

#include <QByteArray>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// Copies size bytes from the start of source to the start of fd.
bool Copy(int source, int fd, qint64 size)
{
    QByteArray block(qsizetype(std::min<qint64>(size, 1 << 20)), Qt::Uninitialized);
    for (qint64 done = 0; done < size;) {
        const qint64 n = std::min<qint64>(block.size(), size - done);
        if (!ReadAllAt(source, block.data(), n, off_t(done)) ||
            !WriteAllAt(fd, block.constData(), n, off_t(done)))
            return false;
        done += n;
    }
    return true;
}

} // namespace

int RewriteInPlace(int fd, int source, qint64 size)
{
    if (const int error = LockExclusive(fd))
        return error;
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return errno;
    const off_t oldSize = st.st_size;
    if (size > oldSize && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(size)) != 0 && errno != EOPNOTSUPP &&
        errno != ENOSYS)
        return errno;
    QByteArray old(qsizetype(oldSize), Qt::Uninitialized);
    if (!ReadAllAt(fd, old.data(), old.size(), 0))
        return errno;

    const SignalHold hold;
    if (Copy(source, fd, size) && ::ftruncate(fd, off_t(size)) == 0 && ::fsync(fd) == 0)
        return 0;
    const int error = errno;
    WriteAllAt(fd, old.constData(), old.size(), 0);
    ::ftruncate(fd, oldSize);
    ::fsync(fd);
    return error;
}

} // namespace platform

#include "platform/FileMetadata.h"

#include <QByteArray>
#include <QList>
#include <cerrno>
#include <cstdio>
#include <sys/xattr.h>
#include <unistd.h>

namespace platform {
namespace {

// Attributes that change who may do what with the file: losing one is not allowed.
bool Matters(const QByteArray &name)
{
    return name.startsWith("user.") || name.startsWith("system.posix_acl_");
}

// The names of a file's extended attributes; false on a failure other than
// the file system keeping none.
bool Names(const char *path, int fd, QList<QByteArray> *names)
{
    QByteArray list;
    for (;;) {
        const ssize_t size = path ? ::listxattr(path, nullptr, 0) : ::flistxattr(fd, nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP;
        list.resize(size);
        const ssize_t n =
            path ? ::listxattr(path, list.data(), list.size()) : ::flistxattr(fd, list.data(), list.size());
        if (n >= 0) {
            list.truncate(n);
            break;
        }
        if (errno != ERANGE) // grew meanwhile: ask again
            return false;
    }
    for (const QByteArray &name : list.split('\0')) {
        if (!name.isEmpty())
            names->append(name);
    }
    return true;
}

bool Value(const char *path, const QByteArray &name, QByteArray *value)
{
    for (;;) {
        const ssize_t size = ::getxattr(path, name.constData(), nullptr, 0);
        if (size < 0)
            return false;
        value->resize(size);
        const ssize_t n = ::getxattr(path, name.constData(), value->data(), value->size());
        if (n >= 0) {
            value->truncate(n);
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
}

bool CopyAttributes(int old, int to)
{
    // An O_PATH descriptor is read through its entry in /proc.
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", old);
    QList<QByteArray> oldNames;
    QList<QByteArray> newNames;
    if (!Names(path, -1, &oldNames) || !Names(nullptr, to, &newNames))
        return false;
    for (const QByteArray &name : oldNames) {
        QByteArray value;
        const bool copied = Value(path, name, &value) &&
                            ::fsetxattr(to, name.constData(), value.constData(), value.size(), 0) == 0;
        if (!copied && Matters(name))
            return false;
    }
    for (const QByteArray &name : newNames) {
        if (!oldNames.contains(name) && ::fremovexattr(to, name.constData()) != 0 && Matters(name))
            return false;
    }
    return true;
}

} // namespace

bool CopyFileMetadata(int old, const struct stat &oldStat, int to)
{
    constexpr mode_t kModeBits = 07777;
    // The group first: changing it clears the set-ID bits, which come last.
    if (::fchown(to, uid_t(-1), oldStat.st_gid) != 0 || !CopyAttributes(old, to) ||
        ::fchmod(to, oldStat.st_mode & kModeBits) != 0)
        return false;
    // The system drops a set-group-ID bit it does not allow, without failing.
    struct stat st;
    return ::fstat(to, &st) == 0 && st.st_gid == oldStat.st_gid &&
           (st.st_mode & kModeBits) == (oldStat.st_mode & kModeBits);
}

} // namespace platform

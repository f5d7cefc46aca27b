#include "platform/WriteTarget.h"

#include <QList>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

// The kernel's limit on symbolic links in one lookup.
constexpr int kMaxLinks = 40;

TargetResult Refused(WriteError error, int code = 0)
{
    TargetResult result;
    result.error = error;
    result.code = code;
    return result;
}

// The components of a path, in order. A path that ends in "/" names a
// folder: it ends in "." then.
QList<QByteArray> Components(const QByteArray &path)
{
    QList<QByteArray> parts;
    for (const QByteArray &part : path.split('/')) {
        if (!part.isEmpty() && part != ".")
            parts.append(part);
    }
    if (path.endsWith('/') || path.endsWith("/.") || path == ".")
        parts.append(".");
    return parts;
}

QByteArray ReadLink(int linkFd, int *error)
{
    QByteArray text(256, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::readlinkat(linkFd, "", text.data(), size_t(text.size()));
        if (n < 0) {
            *error = errno;
            return {};
        }
        if (n < text.size()) {
            text.truncate(n);
            return text;
        }
        text.resize(text.size() * 2);
    }
}

} // namespace

bool IsForeignInSharedFolder(const struct stat &folder, const struct stat &entry)
{
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return shared && entry.st_uid != ::geteuid() && entry.st_uid != folder.st_uid;
}

TargetResult FindWriteTarget(const QByteArray &path)
{
    if (path.isEmpty())
        return Refused(WriteError::Failed, ENOENT);
    // Every component is looked up on its own, no link left to the kernel,
    // so the rule for shared folders holds for each link on the way.
    QList<QByteArray> parts = Components(path);
    Fd folder(::open(path.startsWith('/') ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    int links = 0;
    while (folder.valid()) {
        if (parts.isEmpty()) // the path was "/"
            return Refused(WriteError::NotRegular);
        const QByteArray name = parts.takeFirst();
        const bool last = parts.isEmpty();
        if (last && (name == "." || name == ".."))
            return Refused(WriteError::NotRegular);
        struct stat folderStat;
        if (::fstat(folder.get(), &folderStat) != 0)
            break;
        // A folder on the way is opened as one, which mounts it where it is an
        // automount point; a link there is opened itself.
        const int flags = O_PATH | O_NOFOLLOW | O_CLOEXEC;
        Fd entry(::openat(folder.get(), name.constData(), flags | (last ? 0 : O_DIRECTORY)));
        if (!entry.valid() && !last && errno == ENOTDIR)
            entry.reset(::openat(folder.get(), name.constData(), flags));
        struct stat st {};
        if (!entry.valid() && !(last && errno == ENOENT))
            break;
        if (entry.valid() && ::fstat(entry.get(), &st) != 0)
            break;
        if (S_ISLNK(st.st_mode)) {
            if (IsForeignInSharedFolder(folderStat, st))
                return Refused(WriteError::ForeignLink);
            if (++links > kMaxLinks)
                return Refused(WriteError::Failed, ELOOP);
            int error = 0;
            const QByteArray text = ReadLink(entry.get(), &error);
            if (error != 0)
                return Refused(WriteError::Failed, error);
            parts = Components(text) + parts;
            if (text.startsWith('/'))
                folder.reset(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
            continue;
        }
        if (!last) {
            if (!S_ISDIR(st.st_mode)) {
                errno = ENOTDIR;
                break;
            }
            folder = std::move(entry);
            continue;
        }
        if (entry.valid() && !S_ISREG(st.st_mode))
            return Refused(WriteError::NotRegular);
        if (entry.valid() && IsForeignInSharedFolder(folderStat, st))
            return Refused(WriteError::ForeignFile);
        TargetResult result;
        result.target.folder = std::move(folder);
        result.target.folderStat = folderStat;
        result.target.name = name;
        result.target.file = std::move(entry);
        result.target.fileStat = st;
        return result;
    }
    return Refused(WriteError::Failed, errno);
}

Fd OpenTargetForWriting(const WriteTarget &target, int flags, int *error)
{
    Fd fd(::openat(target.folder.get(), target.name.constData(),
                   flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st;
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0) {
        *error = errno;
        return Fd();
    }
    if (st.st_dev != target.fileStat.st_dev || st.st_ino != target.fileStat.st_ino) {
        *error = EAGAIN; // replaced meanwhile: not the file that was checked
        return Fd();
    }
    return fd;
}

} // namespace platform

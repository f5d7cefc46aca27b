#include "platform/ProgramFolder.h"

#include "platform/FileNames.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

QByteArray ExecutableFolder()
{
    // The link names the executable by its bytes, links resolved.
    QByteArray path;
    for (qsizetype size = 256; size <= (1 << 20); size *= 2) {
        QByteArray buffer(size, '\0');
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), std::size_t(size));
        if (length < 0)
            return {};
        if (length < size) {
            path = buffer.left(length);
            break;
        }
    }
    const qsizetype slash = path.lastIndexOf(kSeparator);
    if (!path.startsWith(kSeparator) || slash < 0)
        return {};
    return path.left(slash + 1);
}

bool PathExists(const QByteArray &path)
{
    struct stat info;
    return ::stat(path.constData(), &info) == 0;
}

bool FolderWritable(const QByteArray &folder)
{
    return ::access(folder.constData(), W_OK | X_OK) == 0;
}

QByteArray ResolvedPath(const QByteArray &path)
{
    char *resolved = ::realpath(path.constData(), nullptr);
    if (!resolved)
        return path;
    QByteArray result(resolved);
    std::free(resolved);
    return result;
}

bool MakeUserFolder(const QByteArray &folder)
{
    if (folder.isEmpty())
        return false;
    // Each missing folder from the top down.
    for (qsizetype i = 1; i <= folder.size(); ++i) {
        if (i < folder.size() && folder[i] != kSeparator)
            continue;
        const QByteArray part = folder.left(i);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info;
    return ::stat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace platform

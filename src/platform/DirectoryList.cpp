#include "platform/DirectoryList.h"

#include "platform/FileNames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace platform {
namespace {

// Whether the entry is a folder; links are followed, so a link to a folder is
// searched like one.
bool IsFolder(DIR *dir, const dirent *entry)
{
    if (entry->d_type == DT_DIR)
        return true;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
        return false;
    struct stat st;
    return ::fstatat(::dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

struct Keyed {
    QString key;
    DirEntry entry;
};

bool KeyedLess(const Keyed &a, const Keyed &b)
{
    // One comparison of the keys, not two.
    if (const int order = QString::compare(a.key, b.key))
        return order < 0;
    return a.entry.name < b.entry.name;
}

} // namespace

QString DirectorySortKey(const QByteArray &name)
{
    // Most names are ASCII: upper-cased byte by byte, without a decoder.
    if (std::all_of(name.begin(), name.end(), [](char c) { return uchar(c) < 0x80; })) {
        QString key(name.size(), Qt::Uninitialized);
        QChar *out = key.data();
        for (const char c : name)
            *out++ = QLatin1Char(c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c);
        return key;
    }
    QString key = DisplayFileName(name);
    for (QChar &c : key)
        c = c.toUpper();
    return key;
}

DirListing ListDirectory(const QByteArray &folder)
{
    DirListing listing;
    DIR *dir = folder.isEmpty() ? nullptr : ::opendir(folder.constData());
    if (!dir) {
        listing.error = folder.isEmpty() ? OpenError::NotFound : OpenErrorFromErrno(errno);
        return listing;
    }
    std::vector<Keyed> keyed;
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry)
            break;
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        QByteArray bytes(name);
        QString key = DirectorySortKey(bytes);
        keyed.push_back({std::move(key), {std::move(bytes), IsFolder(dir, entry), entry->d_type == DT_REG}});
    }
    const int readError = errno;
    listing.folder = FolderHandle(readError == 0 ? ::fcntl(::dirfd(dir), F_DUPFD_CLOEXEC, 0) : -1);
    ::closedir(dir);
    if (readError != 0) {
        listing.error = OpenErrorFromErrno(readError);
        return listing;
    }
    std::sort(keyed.begin(), keyed.end(), KeyedLess);
    listing.entries.reserve(qsizetype(keyed.size()));
    for (Keyed &item : keyed)
        listing.entries.append(std::move(item.entry));
    return listing;
}

} // namespace platform

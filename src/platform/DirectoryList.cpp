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
    if (a.key != b.key)
        return a.key < b.key;
    return a.entry.name < b.entry.name;
}

// How many entries are read, sorted or merged between two progress calls.
constexpr std::size_t kProgressStep = 2048;

// Sorts by KeyedLess in steps of about kProgressStep entries, calling progress
// between them: runs of that size are sorted, then merged pairwise. The order
// is total, so the result is the one a single sort gives.
void SortInSteps(std::vector<Keyed> &items, const std::function<void()> &progress)
{
    const std::size_t n = items.size();
    if (n <= kProgressStep || !progress) {
        std::sort(items.begin(), items.end(), KeyedLess);
        return;
    }
    for (std::size_t i = 0; i < n; i += kProgressStep) {
        std::sort(items.begin() + std::ptrdiff_t(i),
                  items.begin() + std::ptrdiff_t(std::min(n, i + kProgressStep)), KeyedLess);
        progress();
    }
    std::vector<Keyed> merged(n);
    std::size_t sinceProgress = 0;
    for (std::size_t width = kProgressStep; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = std::min(n, lo + width), hi = std::min(n, lo + 2 * width);
            std::size_t a = lo, b = mid, out = lo;
            while (out < hi) {
                if (b == hi || (a < mid && !KeyedLess(items[b], items[a])))
                    merged[out++] = std::move(items[a++]);
                else
                    merged[out++] = std::move(items[b++]);
                if (++sinceProgress == kProgressStep) {
                    sinceProgress = 0;
                    progress();
                }
            }
        }
        items.swap(merged);
    }
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

DirListing ListDirectory(const QByteArray &folder, const std::function<void()> &progress)
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
        if (progress && keyed.size() % kProgressStep == 0)
            progress();
    }
    const int readError = errno;
    listing.folder = FolderHandle(readError == 0 ? ::fcntl(::dirfd(dir), F_DUPFD_CLOEXEC, 0) : -1);
    ::closedir(dir);
    if (readError != 0) {
        listing.error = OpenErrorFromErrno(readError);
        return listing;
    }
    SortInSteps(keyed, progress);
    listing.entries.reserve(qsizetype(keyed.size()));
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        listing.entries.append(std::move(keyed[i].entry));
        keyed[i].key = QString(); // freed here, in steps, rather than all at the end
        if (progress && (i + 1) % kProgressStep == 0)
            progress();
    }
    return listing;
}

} // namespace platform

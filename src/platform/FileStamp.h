#pragma once

#include <QByteArray>
#include <cstdint>

namespace platform {

// What tells one version of a file from another: which file the name leads
// to, its size and the times of its last changes. Two stamps of a file that
// was written or replaced in between differ.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0, inode = 0;
    std::int64_t size = 0, modifiedNs = 0, changedNs = 0;

    bool operator==(const FileStamp &) const = default;
};

// The stamp of the file the bytes name (symbolic links followed); one that
// does not exist when it cannot be looked at.
FileStamp StampFile(const QByteArray &nativePath);

} // namespace platform

#pragma once

#include <QByteArray>
#include <cstddef>

// Reading the head of a file, read-only, by the exact bytes of its name.
namespace platform {

enum class OpenError {
    None,
    NotFound,         // no such file, or a path component missing
    PermissionDenied, // not allowed to read it
    AccessError,      // a folder, or anything else that cannot be opened and read
};

struct HeadRead {
    std::size_t bytesRead = 0;
    OpenError error = OpenError::None;
};

// Opens the file read-only and reads at most size bytes from offset 0 into
// buffer; bytes past size are never read. The file is never created or changed.
HeadRead ReadFileHead(const QByteArray &nativePath, char *buffer, std::size_t size);

} // namespace platform

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

// The open error for an errno value of a failed open or listing.
OpenError OpenErrorFromErrno(int code);

struct HeadRead {
    std::size_t bytesRead = 0;
    OpenError error = OpenError::None;
};

// Opens the file read-only and reads at most size bytes from offset 0 into
// buffer; bytes past size are never read. The file is never created or changed.
HeadRead ReadFileHead(const QByteArray &nativePath, char *buffer, std::size_t size);

// An open folder whose files are read by name, so the path is not walked again
// for every file of a folder search.
class FolderHandle {
  public:
    FolderHandle() = default;
    explicit FolderHandle(int fd) : m_fd(fd) {}
    ~FolderHandle();
    FolderHandle(FolderHandle &&other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    FolderHandle &operator=(FolderHandle &&other) noexcept;
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;

    bool isOpen() const { return m_fd >= 0; }

    // As ReadFileHead, for the file called name in this folder. When the
    // listing already said it is a regular file, the check is not repeated.
    HeadRead readHead(const QByteArray &name, char *buffer, std::size_t size,
                      bool knownRegular = false) const;

  private:
    int m_fd = -1;
};

} // namespace platform

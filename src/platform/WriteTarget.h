#pragma once

#include "platform/Fd.h"

#include <QByteArray>
#include <sys/stat.h>

// Finding the file a write goes to, once, by the rules the kernel applies to
// shared folders (protected_symlinks, protected_regular), whatever the
// system's own settings.
namespace platform {

enum class WriteError {
    None,
    NotRegular,  // the target exists and is no regular file (a fifo, a device, a folder)
    ForeignLink, // another user's symbolic link in a shared folder
    ForeignFile, // another user's file in a shared folder
    ReadOnly,    // the file's mode forbids writing (where the caller asked to keep that)
    Failed,      // a system call failed: see code
};

// The file at the end of a path. The folder holding it is held open, so
// everything that follows acts on what was found here and never looks the
// path up again.
struct WriteTarget {
    Fd folder; // the folder holding the file (symbolic links followed)
    struct stat folderStat {};
    QByteArray name; // the file's name in that folder
    Fd file;         // the existing regular file (O_PATH); invalid when there is none
    struct stat fileStat {};

    bool exists() const { return file.valid(); }
};

struct TargetResult {
    WriteError error = WriteError::None;
    int code = 0; // errno for Failed
    WriteTarget target;
};

// Resolves path, one component at a time. Symbolic links are followed (at
// most 40 in all, as the kernel allows, else ELOOP) except another user's
// link in a sticky world-writable folder not owned by that user; an existing
// file in such a folder is refused likewise unless it is the caller's or the
// folder owner's. A target that exists and is no regular file is refused.
TargetResult FindWriteTarget(const QByteArray &path);

// True when the target is in a sticky world-writable folder and belongs to
// neither the caller nor the folder's owner.
bool IsForeignInSharedFolder(const struct stat &folder, const struct stat &entry);

// Opens the existing target again for reading and writing, without
// following links, and checks it is still the same file.
Fd OpenTargetForWriting(const WriteTarget &target, int flags, int *error);

} // namespace platform

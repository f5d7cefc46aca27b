#pragma once

#include <QByteArray>
#include <QString>

// Writing whole files and appending to them so that a failure (a full disk, a
// special file, no permission) never leaves less than there was.
namespace platform {

enum class WriteError {
    None,
    NotRegular, // the target exists and is no regular file (a fifo, a device, a folder)
    Failed,     // could not be opened, written or replaced: see reason
};

struct WriteResult {
    WriteError error = WriteError::None;
    QString reason; // the system's description of the failure

    bool failed() const { return error != WriteError::None; }
};

// Makes bytes the whole content of the file at path, creating it when missing.
// A symbolic link is followed and judged by what it points to; a target that
// exists and is no regular file is refused.
//
// Normally the bytes go to a temporary file beside the target that replaces
// it only when everything was written (the target's permissions are kept).
// The existing file is written in place instead when its folder does not let
// a temporary file be made there, and when it has more than one hard link or
// belongs to another user, so the links and the owner stay as they were. In
// place, the room for the new bytes is reserved first and the overwritten
// bytes are put back when a write fails.
//
// Every write is checked before anything is replaced: on failure the old file
// is unchanged, byte for byte.
WriteResult ReplaceFile(const QString &path, const QByteArray &bytes);

// Appends bytes to the file at path, created when missing. Only a regular file
// is written; the file is opened without waiting, so a fifo never blocks. A
// write that fails partway is cut off again, leaving the file as it was.
WriteResult AppendToFile(const QString &path, const QByteArray &bytes);

enum class ReadStatus {
    Read,
    Missing,    // no file of that name
    TooLarge,   // more than the limit
    Unreadable, // not a regular file, no permission, a read error
};

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    QByteArray bytes;
};

// Reads the whole file when it is a regular file of at most limit bytes,
// opened without waiting (a fifo is refused, never waited for).
ReadResult ReadSmallFile(const QString &path, qint64 limit);

} // namespace platform

#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

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

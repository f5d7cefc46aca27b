#pragma once

#include <QByteArrayView>
#include <QString>

// Writing a command-line tool's output to the standard output descriptor,
// with every failure seen (a full disk, a closed descriptor, a reader that
// went away).
namespace platform {

struct OutputResult {
    enum Status { Written, BrokenPipe, Failed };
    Status status = Written;
    QString description; // the system's text for a failure, e.g. "No space left on device"

    bool ok() const { return status == Written; }
};

// Writes all the bytes to standard output, resuming after interruptions and
// partial writes.
OutputResult WriteStandardOutput(QByteArrayView bytes);

} // namespace platform

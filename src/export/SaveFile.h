#pragma once

#include "platform/FileWrite.h"
#include "support/Failure.h"

#include <QByteArray>
#include <QString>

// Writes the whole file at once (platform::ReplaceFile): a failed save, a full
// disk included, never leaves an existing file empty or half written. A
// read-only file, a target that is no regular file (a fifo, a device, also
// behind a symbolic link), another user's link or file in a shared folder are
// refused. On failure the description names the reason.
Failure WriteSaveFile(const QString &path, const QByteArray &bytes);

// The failure a save reports for the outcome of a write.
Failure SaveFailure(const platform::WriteResult &written);

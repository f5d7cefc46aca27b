#pragma once

#include "support/Failure.h"

#include <QByteArray>
#include <QString>

// Writes the whole file at once (platform::ReplaceFile): a failed save, a full
// disk included, never leaves an existing file empty or half written. A
// read-only file and a target that is no regular file (a fifo, a device,
// also behind a symbolic link) are refused. On failure the description names
// the reason.
Failure WriteSaveFile(const QString &path, const QByteArray &bytes);

#pragma once

#include "support/Failure.h"

#include <QByteArray>
#include <QString>

// Writes the whole file at once: the bytes go to a temporary file beside the
// target, which replaces the target only when everything was written, so a
// failed save never leaves an existing file empty or half written.
// On failure the description names the reason.
Failure WriteSaveFile(const QString &path, const QByteArray &bytes);

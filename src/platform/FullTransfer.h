#pragma once

#include <QtGlobal>
#include <sys/types.h>

namespace platform {

// Reads or writes all of size bytes at offset, resuming after interruptions
// and short transfers. False with errno set when a call fails: the error of
// the call that failed, also after a short transfer (running out of data
// reads as EIO, a write that takes nothing as ENOSPC).
bool ReadAllAt(int fd, char *data, qint64 size, off_t offset);
bool WriteAllAt(int fd, const char *data, qint64 size, off_t offset);

} // namespace platform

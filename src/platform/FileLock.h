#pragma once

namespace platform {

// Takes an exclusive lock (flock) on an open file, waiting up to five seconds
// for another holder to let go. 0, or the error number (EWOULDBLOCK when the
// other holder kept it).
int LockExclusive(int fd);

} // namespace platform

#pragma once

#include <QtGlobal>

namespace platform {

// Makes the first size bytes of source the whole content of the regular file
// open for reading and writing on fd, keeping the file itself (its links,
// owner and everything else). The file is locked for the whole rewrite, so a
// second rewrite waits (up to five seconds) and never mixes with this one;
// room for a longer content is reserved first; the old content is kept in
// memory and written back, with its length, when anything fails after the
// first byte. Signals that would end the program wait until the file is
// whole again. 0, or the error number of the first failure.
int RewriteInPlace(int fd, int source, qint64 size);

} // namespace platform

#include "platform/StandardStreams.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

void OpenClosedStandardStreams()
{
    const int modes[] = {O_RDONLY, O_RDONLY, O_WRONLY};
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free descriptor is the one just found closed, as those
        // below it are open by now.
        const int opened = ::open("/dev/null", modes[fd]);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

} // namespace platform

#include "platform/ProcessEnd.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void EndProcess(int status)
{
    // _Exit leaves flushing to the implementation; do it here so that output
    // written before the end is not lost in a buffer.
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace platform

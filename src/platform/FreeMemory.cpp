#include "platform/FreeMemory.h"

// A C library header first: it is what defines __GLIBC__.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void ReleaseFreeMemory()
{
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

void ShareMemoryPoolWithThreads()
{
#if defined(__GLIBC__)
    ::mallopt(M_ARENA_MAX, 1);
#endif
}

} // namespace platform

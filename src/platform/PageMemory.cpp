#include "platform/PageMemory.h"

#include <sys/mman.h>

namespace platform {

void *MapPages(std::size_t size)
{
    void *pages = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return pages == MAP_FAILED ? nullptr : pages;
}

void UnmapPages(void *pages, std::size_t size)
{
    if (pages)
        ::munmap(pages, size);
}

} // namespace platform

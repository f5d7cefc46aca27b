#pragma once

#include <cstddef>

// Memory taken from the system in whole pages and given back to it as soon
// as it is freed, whatever the allocator would keep for reuse: for large
// blocks whose memory should not outlive them.
namespace platform {

// size bytes, zero-filled; nullptr when the system has none.
void *MapPages(std::size_t size);

// Gives back what MapPages returned, of the same size.
void UnmapPages(void *pages, std::size_t size);

} // namespace platform

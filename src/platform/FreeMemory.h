#pragma once

namespace platform {

// Gives the memory freed so far back to the system where the allocator keeps
// it for reuse, so a large search that has been replaced or finished does not
// leave the process holding its high-water mark.
void ReleaseFreeMemory();

} // namespace platform

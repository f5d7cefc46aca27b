#pragma once

namespace platform {

// Gives the memory freed so far back to the system where the allocator keeps
// it for reuse, so a large search that has been replaced or finished does not
// leave the process holding its high-water mark.
void ReleaseFreeMemory();

// Makes threads started from now on allocate from the same pool as the rest
// of the program, rather than from pools of their own: memory one thread
// frees then serves another's next allocation. A folder's listing, made on
// the listing thread and freed by the search as it goes, thus makes room for
// the search's records, and whatever is left over can be given back.
void ShareMemoryPoolWithThreads();

} // namespace platform

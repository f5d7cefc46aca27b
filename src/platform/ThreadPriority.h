#pragma once

namespace platform {

// Lowers the calling thread's scheduling priority by a few steps (never
// raises it), so that a thread the user waits on gets a core before helpers
// that mostly wait on the disk anyway. Best effort: nothing happens where
// the system does not allow it.
void LowerThisThreadPriority();

} // namespace platform

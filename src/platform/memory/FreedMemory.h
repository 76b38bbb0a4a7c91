#pragma once
// Handing memory the program freed back to the system.

namespace keyloom::platform {

// Returns the allocator's free memory to the system where it can: pages
// inside freed blocks, on every thread's heap. The allocator keeps what the
// start-up freed (decoded pictures, parsed files) for later allocations that
// a settled program does not make; this costs a walk over the heaps, so it
// is for moments after a burst of work, not for every free.
void returnFreedMemory();

}  // namespace keyloom::platform

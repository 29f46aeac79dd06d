#pragma once
// The C library's heap.
namespace quillon::platform {

// Gives the heap's free pages back to the system. The C library keeps what a large job freed
// for later use, and one very large job would leave the process that much larger for good.
void GiveBackFreeMemory();

}  // namespace quillon::platform

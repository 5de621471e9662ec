// A replacement of the global operator new/delete for the string tests: every block carries its requested
// size, so a test can read the exact size of a string's block, count live blocks, and make an allocation
// fail on purpose.
#pragma once

#include <cstddef>

namespace counting {

// The size requested for a block from operator new; 0 for a pointer that is not the start of such a block.
size_t BlockSize(const void* block);
// Blocks allocated and not yet released, by anyone in the process.
long LiveBlocks();
// The allocation after the next `skip` ones throws std::bad_alloc (once).
void FailAllocationAfter(int skip);

} // namespace counting

// Test hook of the movable-memory layer: lets the tests make allocations fail on purpose, to check
// that every operation that allocates leaves its image intact when memory runs out.
#pragma once

#include "lamina/wintypes.h"

namespace lamina {
namespace platform {

// After `n` more successful allocations, every GlobalAlloc fails until reset with a negative n.
void FailAllocationsAfter(long n);

// Shrinks the locked block at `address` to `bytes` (at most its size), keeping its first `bytes`
// bytes, its lock and its address, which it returns.
void* ShrinkLockedBlock(void* address, SIZE_T bytes);

}  // namespace platform
}  // namespace lamina

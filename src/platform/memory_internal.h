// Test hook of the movable-memory layer: lets the tests make allocations fail on purpose, to check
// that every operation that allocates leaves its image intact when memory runs out.
#pragma once

namespace lamina {
namespace platform {

// After `n` more successful allocations, every GlobalAlloc fails until reset with a negative n.
void FailAllocationsAfter(long n);

}  // namespace platform
}  // namespace lamina

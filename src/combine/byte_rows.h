// Runs of bytes combined with a second run, byte by byte, for the whole-row fast paths of the
// arithmetic and logic operations: an 8-bit row is a run of indices, a 24-bit row a run of
// channel bytes, a 32-bit row the same with every fourth byte (alpha) left as it is.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lamina {
namespace combine {
namespace detail {

enum class ByteOp {
  kAdd,       // min(a + b, cap)
  kSubtract,  // max(a - b, 0)
  kMultiply,  // min(a * b, cap)
  kAverage,   // (a + b) / 2, rounded down
  kMaximum,
  kMinimum,
  kNot,  // ~a (b is not read)
  kAnd,
  kOr,
  kXor,
  kNand,    // ~(a & b)
  kNor,     // ~(a | b)
  kAndNot,  // a & ~b (1-bit subtraction)
  kOrNot,   // a | ~b (1-bit set difference)
};

// a[i] = op(a[i], b[i]) for i in [0, n). With `keepFourth`, the bytes at i % 4 == 3 keep their
// value (n is then a multiple of 4). Vector code where the processor has it, else a plain loop
// with the same bytes.
void CombineBytes(ByteOp op, std::uint8_t cap, std::uint8_t* a, const std::uint8_t* b,
                  std::size_t n, bool keepFourth);

// The plain loop alone, for the tests' comparison and for short runs.
void CombineBytesPlain(ByteOp op, std::uint8_t cap, std::uint8_t* a, const std::uint8_t* b,
                       std::size_t n, bool keepFourth);

// The number of i in [0, n) where a[i] != b[i], or, with `step` 3 or 4, the number of pixels
// (groups of `step` bytes) whose first three bytes differ somewhere.
std::int64_t CountDifferences(const std::uint8_t* a, const std::uint8_t* b, std::size_t pixels,
                              int step);

}  // namespace detail
}  // namespace combine
}  // namespace lamina

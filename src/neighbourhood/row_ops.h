// Whole-row operations on bytes for the neighbourhood filters: one plain loop each, compiled twice,
// once for the baseline processor and once with AVX2 (chosen at run time, core/cpu.h), so both
// give the same bytes by construction and the tests can run either.
#pragma once

#include <cstdint>

namespace lamina {
namespace neighbourhood {
namespace detail {

// a[i] = min(a[i] + b[i], limit), limit at most 255.
void SumLimited(std::uint8_t* a, const std::uint8_t* b, int n, unsigned limit);
// a[i] = max(a[i], b[i]).
void Largest(std::uint8_t* a, const std::uint8_t* b, int n);

// The extremes of every size-wide run of `size` rows, for columns x0 ... x0 + n - 1 of rows whose
// column 0 is at rows[j]: the column extremes of the rows first (colLo, colHi hold n + size - 1),
// then along the row. Either output may be null when it is not wanted.
void WindowExtremes(const std::uint8_t* const* rows, int size, int x0, int n, std::uint8_t* lo,
                    std::uint8_t* hi, std::uint8_t* colLo, std::uint8_t* colHi);

// The median of each 3 x 3 window: the three values of every column put in order, then the median
// of the largest of the lows, the median of the middles and the smallest of the highs.
void Median3(const std::uint8_t* const* rows, int x0, int n, std::uint8_t* out,
             std::uint8_t* scratch /* 3 x (n + 2) */);

// The median of each 5 x 5 window: every column sorted once, every two neighbouring columns
// merged once, and per pixel a network that merges those with the fifth column only as far as
// the median needs (Batcher's odd-even merges with every comparison that cannot reach the median
// left out). `scratch` holds 15 x (n + 4) bytes.
void Median5(const std::uint8_t* const* rows, int x0, int n, std::uint8_t* out,
             std::uint8_t* scratch);
// The same without vector instructions, for the tests' comparison.
void Median5Plain(const std::uint8_t* const* rows, int x0, int n, std::uint8_t* out,
                  std::uint8_t* scratch);

}  // namespace detail
}  // namespace neighbourhood
}  // namespace lamina

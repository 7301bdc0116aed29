// Carrying pixels from an image into a new, zero-filled one: what crop, interlace and de-interlace
// share. A pixel is carried as its value (the index, or blue, green and red), so a carried 32-bit
// pixel arrives with its fourth byte 0, and the bits after the last pixel of a new row stay 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/pixel_access.h"

namespace lamina {
namespace carry {

// Copies `nbits` bits starting at bit `from` of `src` (most significant bit first) to the start of
// `dst`; the bits after them in the last byte written become 0. Reads no byte of `src` that holds none of the copied bits.
inline void CopyBits(std::uint8_t* dst, const std::uint8_t* src, std::size_t from,
                     std::size_t nbits) {
  if (nbits == 0) return;
  const std::uint8_t* s = src + from / 8;
  const unsigned shift = static_cast<unsigned>(from % 8);
  const std::size_t outBytes = (nbits + 7) / 8;
  if (shift == 0) {
    std::memcpy(dst, s, outBytes);
  } else {
    const std::size_t inBytes = (shift + nbits + 7) / 8;
    for (std::size_t i = 0; i < outBytes; ++i) {
      unsigned b = static_cast<unsigned>(s[i]) << shift;
      if (i + 1 < inBytes) b |= static_cast<unsigned>(s[i + 1]) >> (8 - shift);
      dst[i] = static_cast<std::uint8_t>(b);
    }
  }
  const unsigned tail = static_cast<unsigned>(nbits % 8);
  if (tail != 0) dst[outBytes - 1] &= static_cast<std::uint8_t>(0xFF00u >> tail);
}

// Copies `count` pixels from column `x` of a source row to column 0 of a new row of depth B.
template <int B>
inline void CopyRun(std::uint8_t* dst, const std::uint8_t* src, int x, int count) {
  const std::size_t n = static_cast<std::size_t>(count);
  const std::size_t at = static_cast<std::size_t>(x);
  if constexpr (B == 1 || B == 4) {
    CopyBits(dst, src, at * B, n * B);
  } else if constexpr (B == 8) {
    std::memcpy(dst, src + at, n);
  } else if constexpr (B == 24) {
    std::memcpy(dst, src + 3 * at, 3 * n);
  } else {
    static_assert(B == 32, "a supported depth");
    const std::uint32_t colour = ColourBytesMask();
    const std::uint8_t* s = src + 4 * at;
    for (std::size_t i = 0; i < n; ++i) {
      std::uint32_t p;
      std::memcpy(&p, s + 4 * i, 4);
      p &= colour;
      std::memcpy(dst + 4 * i, &p, 4);
    }
  }
}

// Copies `count` pixels of a source row, taking every `step`-th from column `x`, to the columns
// `to`, `to + every`, ... of a new row.
template <int B>
inline void CopySpread(std::uint8_t* dst, int to, int every, const std::uint8_t* src, int x,
                       int step, int count) {
  const std::ptrdiff_t t = to, e = every, f = x, s = step;
  if constexpr (B == 8) {
    for (std::ptrdiff_t i = 0; i < count; ++i) dst[t + i * e] = src[f + i * s];
  } else if constexpr (B == 24) {
    for (std::ptrdiff_t i = 0; i < count; ++i)
      std::memcpy(dst + 3 * (t + i * e), src + 3 * (f + i * s), 3);
  } else if constexpr (B == 32) {
    const std::uint32_t colour = ColourBytesMask();
    for (std::ptrdiff_t i = 0; i < count; ++i) {
      std::uint32_t p;
      std::memcpy(&p, src + 4 * (f + i * s), 4);
      p &= colour;
      std::memcpy(dst + 4 * (t + i * e), &p, 4);
    }
  } else {
    for (int i = 0; i < count; ++i) Px<B>::Set(dst, to + i * every, Px<B>::Get(src, x + i * step));
  }
}

}  // namespace carry
}  // namespace lamina

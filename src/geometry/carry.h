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

// The palette a new image of depth `bpp` takes from `source`: the entries the source holds, and
// for the rest (a short palette, or none at all) the data constructor's own entries (i, i, i, 0).
// Never reads past the source's palette. `out` holds 256 entries.
inline void PaletteFrom(const ImageView& source, int bpp, RGBQUAD* out) {
  const int n = static_cast<int>(Levels(bpp) <= 256 ? Levels(bpp) : 0);
  for (int i = 0; i < n; ++i) {
    if (i < source.paletteEntries) {
      out[i] = source.palette[i];
    } else {
      const BYTE g = static_cast<BYTE>(i);
      out[i] = RGBQUAD{g, g, g, 0};
    }
  }
}

// Copies `nbits` bits starting at bit `from` of `src` (most significant bit first) to the start of
// `dst`, whose bytes are zero. Reads no byte of `src` that holds none of the copied bits.
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
    const std::uint8_t* s = src + 4 * at;
    for (std::size_t i = 0; i < n; ++i) {
      dst[4 * i] = s[4 * i];
      dst[4 * i + 1] = s[4 * i + 1];
      dst[4 * i + 2] = s[4 * i + 2];
    }
  }
}

// Copies `count` pixels of a source row, taking every `step`-th from column `x`, to the columns
// `to`, `to + every`, ... of a new row.
template <int B>
inline void CopySpread(std::uint8_t* dst, int to, int every, const std::uint8_t* src, int x,
                       int step, int count) {
  for (int i = 0; i < count; ++i) Px<B>::Set(dst, to + i * every, Px<B>::Get(src, x + i * step));
}

}  // namespace carry
}  // namespace lamina

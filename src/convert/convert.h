// The conversion family's operations as plain functions, for the operations of other families that
// are defined through them (the public members forward here). Each returns the member's code.
//
// Also the rules of the conversion to two levels, for an operation that builds a two-level image
// straight from its own pixels instead of converting an intermediate one.
#pragma once

#include <cstdint>

#include "CLamina.h"
#include "core/pixel_access.h"

namespace lamina {
namespace convert {

int ChangeColorDepth(CLamina& img, int depthIndex);
int ColorToGray(CLamina& img, int method);

// The palette of a two-level image: black, then white.
const RGBQUAD* TwoLevelPalette();

// A colour becomes white in two levels when the integer mean of its channels reaches 128.
inline bool IsLight(unsigned blue, unsigned green, unsigned red) {
  return (red + green + blue) / 3 >= 128;
}

// Writes a new 1 or 4-bit row (zero beforehand) from value(x) for x = 0 .. width - 1, a whole
// byte at a time: at 1 bit any non-zero value sets the pixel, at 4 bits the low nibble is kept, as
// fnIMG_SetPixel stores them. The bits after the last pixel stay zero.
template <int T, class Value>
void PackRow(std::uint8_t* d, int width, Value&& value) {
  static_assert(T == 1 || T == 4, "sub-byte targets");
  constexpr int kPerByte = 8 / T;
  // Values are gathered a chunk at a time and then packed with fixed shifts: two plain loops
  // that the compiler keeps simple.
  constexpr int kChunk = 256;
  std::uint8_t v[kChunk];
  int x = 0;
  std::uint8_t* out = d;
  while (width - x >= kChunk) {
    for (int k = 0; k < kChunk; ++k) {
      if constexpr (T == 1)
        v[k] = value(x + k) != 0 ? 1 : 0;
      else
        v[k] = static_cast<std::uint8_t>(value(x + k) & 0x0Fu);
    }
    for (int i = 0; i < kChunk / kPerByte; ++i) {
      const std::uint8_t* q = v + i * kPerByte;
      if constexpr (T == 1)
        out[i] = static_cast<std::uint8_t>((q[0] << 7) | (q[1] << 6) | (q[2] << 5) | (q[3] << 4) |
                                           (q[4] << 3) | (q[5] << 2) | (q[6] << 1) | q[7]);
      else
        out[i] = static_cast<std::uint8_t>((q[0] << 4) | q[1]);
    }
    x += kChunk;
    out += kChunk / kPerByte;
  }
  for (; x < width; ++x) Px<T>::Set(d, x, value(x));
}

}  // namespace convert
}  // namespace lamina

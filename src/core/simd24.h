// Vector helpers for rows of 24-bit pixels on x86, shared by the depth conversion, colour to gray
// and the channel split: sixteen pixels (48 bytes, three registers) are split into one register of
// blue, one of green and one of red with byte shuffles, and a register of sixteen gray bytes is
// spread back to 48 bytes. Callers ask core/cpu.h before they use them.
#pragma once

#include "core/cpu.h"

#ifdef LAMINA_X86

#include <cstdint>

namespace lamina {
namespace simd24 {

struct Tables {
  alignas(16) std::uint8_t gather[3][3][16];  // [channel][input register][lane]
  alignas(16) std::uint8_t spread[3][16];     // [output register][lane]
  Tables() {
    for (int c = 0; c < 3; ++c)
      for (int reg = 0; reg < 3; ++reg)
        for (int j = 0; j < 16; ++j) {
          const int at = 3 * j + c - 16 * reg;
          gather[c][reg][j] = (at >= 0 && at < 16) ? static_cast<std::uint8_t>(at) : 0x80;
        }
    for (int reg = 0; reg < 3; ++reg)
      for (int k = 0; k < 16; ++k) spread[reg][k] = static_cast<std::uint8_t>((16 * reg + k) / 3);
  }
};

inline const Tables& TheTables() {
  static const Tables t;
  return t;
}

// Channel c (0 blue, 1 green, 2 red) of the sixteen pixels in v0, v1, v2.
__attribute__((target("ssse3"))) inline __m128i Channel(const Tables& t, int c, __m128i v0,
                                                        __m128i v1, __m128i v2) {
  const auto* g = reinterpret_cast<const __m128i*>(t.gather[c]);
  return _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(v0, _mm_load_si128(g)),
                                   _mm_shuffle_epi8(v1, _mm_load_si128(g + 1))),
                      _mm_shuffle_epi8(v2, _mm_load_si128(g + 2)));
}

struct Planes {
  __m128i blue, green, red;
};

// The blue, green and red bytes of the sixteen 24-bit pixels (48 bytes) at p.
__attribute__((target("ssse3"))) inline Planes LoadPlanes(const Tables& t, const std::uint8_t* p) {
  const auto* q = reinterpret_cast<const __m128i*>(p);
  const __m128i v0 = _mm_loadu_si128(q), v1 = _mm_loadu_si128(q + 1), v2 = _mm_loadu_si128(q + 2);
  return Planes{Channel(t, 0, v0, v1, v2), Channel(t, 1, v0, v1, v2), Channel(t, 2, v0, v1, v2)};
}

// Writes each of the sixteen bytes of `gray` three times: sixteen gray 24-bit pixels.
__attribute__((target("ssse3"))) inline void StoreSpread(const Tables& t, std::uint8_t* p,
                                                         __m128i gray) {
  auto* q = reinterpret_cast<__m128i*>(p);
  const auto* s = reinterpret_cast<const __m128i*>(t.spread);
  _mm_storeu_si128(q, _mm_shuffle_epi8(gray, _mm_load_si128(s)));
  _mm_storeu_si128(q + 1, _mm_shuffle_epi8(gray, _mm_load_si128(s + 1)));
  _mm_storeu_si128(q + 2, _mm_shuffle_epi8(gray, _mm_load_si128(s + 2)));
}

}  // namespace simd24
}  // namespace lamina

#endif

// fnIMG_Flip: mirrors the picture in place, left-right (mode 0) or top-bottom (mode 1).
//
// Only pixel bits move. Row padding, the unused bits of the last byte of a 1 or 4-bit row and the
// fourth byte of every 32-bit pixel stay where they are, exactly as exchanging the pixels one pair
// at a time would leave them. The exceptions are 8 and 16 bits top-bottom, where whole rows
// (padding included) change places. Result codes: geometry/codes.h (flip). Nothing is allocated,
// so nothing can fail half-way.
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/cpu.h"
#include "core/pixel_access.h"
#include "geometry/codes.h"
#include "geometry/geometry.h"

using lamina::BlockAccess;
using lamina::ImageView;

namespace {

using u8 = std::uint8_t;

u8 ReverseBits(u8 b) {
  b = static_cast<u8>(((b & 0xF0u) >> 4) | ((b & 0x0Fu) << 4));
  b = static_cast<u8>(((b & 0xCCu) >> 2) | ((b & 0x33u) << 2));
  b = static_cast<u8>(((b & 0xAAu) >> 1) | ((b & 0x55u) << 1));
  return b;
}

struct BitReverseTable {
  u8 t[256];
  BitReverseTable() {
    for (int i = 0; i < 256; ++i) t[i] = ReverseBits(static_cast<u8>(i));
  }
  static const BitReverseTable& Get() {
    static const BitReverseTable table;
    return table;
  }
};

u8 SwapNibbles(u8 b) { return static_cast<u8>((b << 4) | (b >> 4)); }

std::uint64_t Load64(const u8* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}
void Store64(u8* p, std::uint64_t v) { std::memcpy(p, &v, 8); }
std::uint32_t Load32(const u8* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
void Store32(u8* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

// ---- Left-right ------------------------------------------------------------------------------

// Reverses n bytes in place, eight at a time from both ends.
void ReverseBytes(u8* row, std::size_t n) {
  u8* lo = row;
  u8* hi = row + n;
  while (hi - lo >= 16) {
    const std::uint64_t a = Load64(lo);
    const std::uint64_t b = Load64(hi - 8);
    Store64(lo, __builtin_bswap64(b));
    Store64(hi - 8, __builtin_bswap64(a));
    lo += 8;
    hi -= 8;
  }
  while (hi - lo >= 2) {
    --hi;
    const u8 t = *lo;
    *lo = *hi;
    *hi = t;
    ++lo;
  }
}

// 1 bit: reversing the row's bytes and the bits of each byte mirrors the used bytes as a whole;
// when the width does not fill the last byte the pixels then sit `pad` bits too far right, so the
// row is shifted back and the padding bits of the last byte are restored.
void MirrorRow1(u8* row, int width, const BitReverseTable& rev) {
  const std::size_t n = (static_cast<std::size_t>(width) + 7) / 8;
  const unsigned pad = static_cast<unsigned>(n * 8 - static_cast<std::size_t>(width));
  const u8 last = row[n - 1];
  ReverseBytes(row, n);
  for (std::size_t i = 0; i < n; ++i) row[i] = rev.t[row[i]];
  if (pad == 0) return;
  for (std::size_t i = 0; i + 1 < n; ++i)
    row[i] = static_cast<u8>((row[i] << pad) | (row[i + 1] >> (8 - pad)));
  const u8 padMask = static_cast<u8>((1u << pad) - 1u);
  row[n - 1] = static_cast<u8>((row[n - 1] << pad) | (last & padMask));
}

// 4 bits: the same with nibbles; an odd width leaves a padding nibble to restore.
void MirrorRow4(u8* row, int width) {
  const std::size_t n = (static_cast<std::size_t>(width) + 1) / 2;
  const bool odd = (width & 1) != 0;
  const u8 last = row[n - 1];
  ReverseBytes(row, n);
  for (std::size_t i = 0; i < n; ++i) row[i] = SwapNibbles(row[i]);
  if (!odd) return;
  for (std::size_t i = 0; i + 1 < n; ++i)
    row[i] = static_cast<u8>((row[i] << 4) | (row[i + 1] >> 4));
  row[n - 1] = static_cast<u8>((row[n - 1] << 4) | (last & 0x0Fu));
}

void MirrorRow16(u8* row, int width) {
  u8* lo = row;
  u8* hi = row + 2 * static_cast<std::size_t>(width) - 2;
  for (; lo < hi; lo += 2, hi -= 2) {
    u8 t[2];
    std::memcpy(t, lo, 2);
    std::memcpy(lo, hi, 2);
    std::memcpy(hi, t, 2);
  }
}

#ifdef LAMINA_X86
// Sixteen 24-bit pixels (48 bytes, three registers) in reverse order: for each output register,
// the bytes it takes from each input register.
struct Reverse48 {
  alignas(16) u8 mask[3][3][16];  // [output register][input register][lane]
  Reverse48() {
    for (int out = 0; out < 3; ++out)
      for (int in = 0; in < 3; ++in)
        for (int i = 0; i < 16; ++i) {
          const int j = 16 * out + i;
          const int from = 45 - 3 * (j / 3) + j % 3;
          mask[out][in][i] = from / 16 == in ? static_cast<u8>(from % 16) : 0x80;
        }
  }
};

__attribute__((target("ssse3"))) inline void Reverse48Store(const Reverse48& t, u8* dst, __m128i v0,
                                                            __m128i v1, __m128i v2) {
  auto* q = reinterpret_cast<__m128i*>(dst);
  for (int out = 0; out < 3; ++out) {
    const auto* m = reinterpret_cast<const __m128i*>(t.mask[out]);
    const __m128i r = _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(v0, _mm_load_si128(m)),
                                                _mm_shuffle_epi8(v1, _mm_load_si128(m + 1))),
                                   _mm_shuffle_epi8(v2, _mm_load_si128(m + 2)));
    _mm_storeu_si128(q + out, r);
  }
}

// Exchanges blocks of sixteen pixels from both ends while they do not meet; returns how many
// bytes were done at each end.
__attribute__((target("ssse3"))) std::size_t MirrorBlocks24(u8* row, std::size_t bytes) {
  static const Reverse48 t;
  u8* lo = row;
  u8* end = row + bytes;
  while (end - lo >= 96) {
    const auto* a = reinterpret_cast<const __m128i*>(lo);
    const auto* b = reinterpret_cast<const __m128i*>(end - 48);
    const __m128i a0 = _mm_loadu_si128(a), a1 = _mm_loadu_si128(a + 1), a2 = _mm_loadu_si128(a + 2);
    const __m128i b0 = _mm_loadu_si128(b), b1 = _mm_loadu_si128(b + 1), b2 = _mm_loadu_si128(b + 2);
    Reverse48Store(t, lo, b0, b1, b2);
    Reverse48Store(t, end - 48, a0, a1, a2);
    lo += 48;
    end -= 48;
  }
  return static_cast<std::size_t>(lo - row);
}

#endif  // LAMINA_X86

void MirrorRow24(u8* row, int width) {
  const std::size_t bytes = 3 * static_cast<std::size_t>(width);
  std::size_t done = 0;
#ifdef LAMINA_X86
  if (lamina::cpu::HaveSsse3()) done = MirrorBlocks24(row, bytes);
#endif
  u8* lo = row + done;
  u8* hi = row + bytes - done - 3;
  for (; lo < hi; lo += 3, hi -= 3) {
    const u8 b0 = lo[0], b1 = lo[1], b2 = lo[2];
    lo[0] = hi[0];
    lo[1] = hi[1];
    lo[2] = hi[2];
    hi[0] = b0;
    hi[1] = b1;
    hi[2] = b2;
  }
}

// 32 bits: blue, green and red change places, each pixel's fourth byte stays.
void MirrorRow32(u8* row, int width, std::uint32_t colour) {
  u8* lo = row;
  u8* hi = row + 4 * static_cast<std::size_t>(width) - 4;
  for (; lo < hi; lo += 4, hi -= 4) {
    const std::uint32_t a = Load32(lo);
    const std::uint32_t b = Load32(hi);
    Store32(lo, (b & colour) | (a & ~colour));
    Store32(hi, (a & colour) | (b & ~colour));
  }
}

// ---- Top-bottom ------------------------------------------------------------------------------

// Exchanges n bytes of two distinct rows through a small buffer that stays in the first-level
// cache.
void SwapBytes(u8* a, u8* b, std::size_t n) {
  u8 tmp[2048];
  while (n > 0) {
    const std::size_t k = n < sizeof tmp ? n : sizeof tmp;
    std::memcpy(tmp, a, k);
    std::memcpy(a, b, k);
    std::memcpy(b, tmp, k);
    a += k;
    b += k;
    n -= k;
  }
}

// Exchanges the bits of two bytes that `mask` selects; the others stay.
void SwapMasked(u8* a, u8* b, u8 mask) {
  const u8 x = static_cast<u8>((*a ^ *b) & mask);
  *a = static_cast<u8>(*a ^ x);
  *b = static_cast<u8>(*b ^ x);
}

void SwapRows32(u8* __restrict a, u8* __restrict b, int width, std::uint32_t colour) {
  for (int x = 0; x < width; ++x) {
    const std::uint32_t pa = Load32(a + 4 * x);
    const std::uint32_t pb = Load32(b + 4 * x);
    const std::uint32_t d = (pa ^ pb) & colour;
    Store32(a + 4 * x, pa ^ d);
    Store32(b + 4 * x, pb ^ d);
  }
}

// The depths the flip accepts: those with pixel access, and 16 bits (rows of 2-byte pixels).
void FlipLeftRight(const ImageView& v) {
  if (v.bpp == 16) {
    for (int y = v.height - 1; y >= 0; --y) MirrorRow16(v.Row(y), v.width);
    return;
  }
  lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    const std::uint32_t colour = lamina::ColourBytesMask();
    for (int y = v.height - 1; y >= 0; --y) {
      u8* row = v.Row(y);
      if constexpr (B == 1)
        MirrorRow1(row, v.width, BitReverseTable::Get());
      else if constexpr (B == 4)
        MirrorRow4(row, v.width);
      else if constexpr (B == 8)
        ReverseBytes(row, static_cast<std::size_t>(v.width));
      else if constexpr (B == 24)
        MirrorRow24(row, v.width);
      else
        MirrorRow32(row, v.width, colour);
    }
  });
}

void FlipTopBottom(const ImageView& v) {
  const std::size_t w = static_cast<std::size_t>(v.width);
  if (v.bpp == 8 || v.bpp == 16) {
    // Whole rows, padding included, change places.
    for (int r = 0; r < v.height / 2; ++r)
      SwapBytes(v.Row(r), v.Row(v.height - 1 - r), static_cast<std::size_t>(v.stride));
    return;
  }
  lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    const std::uint32_t colour = lamina::ColourBytesMask();
    for (int r = 0; r < v.height / 2; ++r) {
      u8* a = v.Row(r);
      u8* b = v.Row(v.height - 1 - r);
      if constexpr (B == 1) {
        SwapBytes(a, b, w / 8);
        if (w % 8 != 0) SwapMasked(a + w / 8, b + w / 8, static_cast<u8>(0xFF00u >> (w % 8)));
      } else if constexpr (B == 4) {
        SwapBytes(a, b, w / 2);
        if (w % 2 != 0) SwapMasked(a + w / 2, b + w / 2, 0xF0u);
      } else if constexpr (B == 24) {
        SwapBytes(a, b, 3 * w);
      } else if constexpr (B == 32) {
        SwapRows32(a, b, v.width, colour);
      }
    }
  });
}

}  // namespace

namespace lamina {
namespace geometry {

int Flip(CLamina& img, int mode) {
  if (static_cast<unsigned>(mode) > 1u) return codes::flip::kMode;
  const ImageView v = BlockAccess::View(img);
  if (!lamina::InMask(lamina::kLoadableDepthMask, v.bpp)) return codes::flip::kDepth;
  if (v.width <= 0 || v.height <= 0) return 0;
  if (mode == 0) {
    FlipLeftRight(v);
  } else {
    FlipTopBottom(v);
    // Moving pixels through the checked accessors leaves their stride behind in the cache field.
    if (v.bpp != 8 && v.bpp != 16 && v.height >= 2) lamina::BlockAccess::CachedStride(img) = v.stride;
  }
  return 0;
}

}  // namespace geometry
}  // namespace lamina

int CLamina::fnIMG_Flip(int mode) { return lamina::geometry::Flip(*this, mode); }

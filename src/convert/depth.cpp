// fnIMG_ChangeColorDepth: converts the image in place to 1, 4, 8, 24 or 32 bits (index 0 to 4).
//
// Colours are never mapped onto a chosen palette. A colour image is only reduced to two levels (by
// the mean of red, green and blue against 128) or promoted; 4 and 8-bit targets are reached only
// from gray images, by rescaling gray levels onto a fixed gray palette; from 1 bit the index is
// rescaled whatever its palette colours are. Where a reduction does not apply the image is left
// as it was (a colour 32-bit image asked for 4 or 8 bits ends as its 24-bit copy) and the result
// is still 0.
//
// The new image is built as the data constructor builds it (biClrUsed = biClrImportant = levels,
// zero resolutions, zero padding, fourth bytes 0 at 32 bits) and keeps the image's file name.
// Result codes: convert/codes.h (change_color_depth); without memory the image is left as it was.
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "convert/codes.h"
#include "convert/convert.h"
#include "core/block_access.h"
#include "core/image_builder.h"
#include "core/palette.h"
#include "core/pixel_access.h"
#include "core/simd24.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::NewImage;
using lamina::Px;
namespace codes = lamina::codes;

namespace {

using u8 = std::uint8_t;

void GrayPalette(RGBQUAD* p, int entries, int step) {
  for (int i = 0; i < entries; ++i) {
    const BYTE g = static_cast<BYTE>(i * step);
    p[i] = RGBQUAD{g, g, g, 0};
  }
}

// The fixed palette of a palette target: two levels, or the 16 or 256-level gray ramp; none for
// 24 and 32 bits.
const RGBQUAD* FixedPalette(int bpp) {
  static const struct Tables {
    RGBQUAD two[2], gray16[16], gray256[256];
    Tables() {
      two[0] = RGBQUAD{0, 0, 0, 0};
      two[1] = RGBQUAD{255, 255, 255, 0};
      GrayPalette(gray16, 16, 17);
      GrayPalette(gray256, 256, 1);
    }
  } tables;
  switch (bpp) {
    case 1:
      return tables.two;
    case 4:
      return tables.gray16;
    case 8:
      return tables.gray256;
    default:
      return nullptr;
  }
}

using lamina::convert::IsLight;
using lamina::convert::PackRow;

// Fills a palette target from a palette source through a table over the source indices.
template <int S, int T>
void MapIndicesInto(const ImageView& src, const ImageView& dst, const u8* map) {
  for (int y = src.height - 1; y >= 0; --y) {
    const u8* s = src.Row(y);
    u8* d = dst.Row(y);
    if constexpr (T == 8) {
      for (int x = 0; x < src.width; ++x) d[x] = map[Px<S>::Get(s, x)];
    } else {
      PackRow<T>(d, src.width, [&](int x) { return std::uint32_t{map[Px<S>::Get(s, x)]}; });
    }
  }
}

#ifdef LAMINA_X86
// Eight 8-bit pixels per step: their colours looked up, packed to 24 bytes and written with two
// 16-byte stores whose last four bytes are zero and land on pixels still to come. Stops while at
// least ten pixels remain, so no store reaches past the row's pixels. (Table reads are plain loads:
// vector gathers are slower than them on many processors.)
__attribute__((target("avx2"))) int ExpandRow8To24Avx2(const u8* s, u8* d, int w,
                                                       const u8 (*colours)[4]) {
  const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0,
                                        1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  const auto Pair = [colours](u8 a, u8 b) {
    std::uint32_t lo, hi;
    std::memcpy(&lo, colours[a], 4);
    std::memcpy(&hi, colours[b], 4);
    return static_cast<long long>(lo | (std::uint64_t{hi} << 32));
  };
  int x = 0;
  for (; x + 10 <= w; x += 8) {
    const u8* p = s + x;
    const __m256i c =
        _mm256_set_epi64x(Pair(p[6], p[7]), Pair(p[4], p[5]), Pair(p[2], p[3]), Pair(p[0], p[1]));
    const __m256i packed = _mm256_shuffle_epi8(c, pack);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 3 * x), _mm256_castsi256_si128(packed));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 3 * x + 12),
                     _mm256_extracti128_si256(packed, 1));
  }
  return x;
}

// With the gray ramp palette (entry i = (i, i, i)) every index is its own gray level, and sixteen
// pixels become 48 bytes by one shuffle per output register.
__attribute__((target("ssse3"))) int SpreadRow8To24Ssse3(const u8* s, u8* d, int w) {
  const lamina::simd24::Tables& t = lamina::simd24::TheTables();
  int x = 0;
  for (; x + 16 <= w; x += 16)
    lamina::simd24::StoreSpread(t, d + 3 * x,
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + x)));
  return x;
}
#endif

// Copies the colours of a palette source into a 24 or 32-bit target: each pixel gets its palette
// entry (black for an index the palette does not hold, as fnIMG_GetRGBPixel reports it).
template <int S, int T>
void PaletteToTrueColour(const ImageView& src, const ImageView& dst) {
  // Blue, green, red and a zero fourth byte per index, stored four bytes at a time.
  alignas(16) u8 colours[256][4];
  for (std::uint32_t i = 0; i < 256; ++i) {
    const RGBQUAD e = src.Entry(i);
    colours[i][0] = e.rgbBlue;
    colours[i][1] = e.rgbGreen;
    colours[i][2] = e.rgbRed;
    colours[i][3] = 0;
  }
  bool rampPalette = true;
  for (int i = 0; i < 256; ++i)
    rampPalette = rampPalette && colours[i][0] == i && colours[i][1] == i && colours[i][2] == i;
  (void)rampPalette;
  const int w = src.width;
  for (int y = src.height - 1; y >= 0; --y) {
    const u8* s = src.Row(y);
    u8* d = dst.Row(y);
    if constexpr (T == 32) {
      for (int x = 0; x < w; ++x) std::memcpy(d + 4 * x, colours[Px<S>::Get(s, x)], 4);
    } else {
      // Each pixel writes four bytes and the next one overwrites the fourth; the last pixel
      // writes exactly three, so the padding stays zero and nothing lands past the row.
      int x = 0;
#ifdef LAMINA_X86
      if (S == 8 && rampPalette && lamina::cpu::HaveSsse3())
        x = SpreadRow8To24Ssse3(s, d, w);
      else if (S == 8 && lamina::cpu::HaveAvx2())
        x = ExpandRow8To24Avx2(s, d, w, colours);
#endif
      for (; x + 1 < w; ++x) std::memcpy(d + 3 * x, colours[Px<S>::Get(s, x)], 4);
      if (w > 0) std::memcpy(d + 3 * (w - 1), colours[Px<S>::Get(s, w - 1)], 3);
    }
  }
}

// 24 <-> 32 bits: blue, green and red carried over; a new 32-bit pixel's fourth byte stays 0.
template <int S, int T>
void TrueToTrueColour(const ImageView& src, const ImageView& dst) {
  const int w = src.width;
  for (int y = src.height - 1; y >= 0; --y) {
    const u8* s = src.Row(y);
    u8* d = dst.Row(y);
    if constexpr (S == 24) {
      // Four bytes read per pixel (the fourth is the next pixel's or padding, and is cleared);
      // the last pixel reads exactly three, as it may end the block.
      for (int x = 0; x + 1 < w; ++x) {
        u8 p[4];
        std::memcpy(p, s + 3 * x, 4);
        p[3] = 0;
        std::memcpy(d + 4 * x, p, 4);
      }
      if (w > 0) {
        std::memcpy(d + 4 * (w - 1), s + 3 * (w - 1), 3);
        d[4 * (w - 1) + 3] = 0;
      }
    } else {
      for (int x = 0; x + 1 < w; ++x) std::memcpy(d + 3 * x, s + 4 * x, 4);
      if (w > 0) std::memcpy(d + 3 * (w - 1), s + 4 * (w - 1), 3);
    }
  }
}

// Two levels from a 24 or 32-bit source.
template <int S>
void ThresholdTrueColour(const ImageView& src, const ImageView& dst) {
  constexpr int kBytes = S / 8;
  for (int y = src.height - 1; y >= 0; --y) {
    const u8* p = src.Row(y);
    u8* d = dst.Row(y);
    PackRow<1>(d, src.width, [p](int x) {
      const u8* q = p + static_cast<std::ptrdiff_t>(x) * kBytes;
      return IsLight(q[0], q[1], q[2]) ? 1u : 0u;
    });
  }
}

#ifdef LAMINA_X86
// Sixteen 24-bit pixels per step: their red bytes to `dst`, and in `colour` a trace of any pixel
// whose blue, green and red differ. Returns the pixels done.
__attribute__((target("ssse3"))) int RedOfGrayRow24Ssse3(const u8* p, u8* dst, int count,
                                                         unsigned* colour) {
  const lamina::simd24::Tables& t = lamina::simd24::TheTables();
  __m128i differ = _mm_setzero_si128();
  int x = 0;
  for (; x + 16 <= count; x += 16, p += 48) {
    const lamina::simd24::Planes planes = lamina::simd24::LoadPlanes(t, p);
    const __m128i b = planes.blue, g = planes.green, r = planes.red;
    differ = _mm_or_si128(differ, _mm_or_si128(_mm_xor_si128(b, g), _mm_xor_si128(b, r)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x), r);
  }
  if (_mm_movemask_epi8(_mm_cmpeq_epi8(differ, _mm_setzero_si128())) != 0xFFFF) *colour |= 1u;
  return x;
}
#endif

// A 24 or 32-bit gray image onto the 16 or 256-level gray palette, from its red channel. Stops at
// the first row that holds a colour pixel and returns false; the target is then discarded.
template <int S, int T>
bool GrayTrueColourToPalette(const ImageView& src, const ImageView& dst) {
  constexpr int kBytes = S / 8;
  for (int y = src.height - 1; y >= 0; --y) {
    const u8* p = src.Row(y);
    u8* d = dst.Row(y);
    unsigned colour = 0;
    if constexpr (T == 8 && S == 24) {
      int x = 0;
#ifdef LAMINA_X86
      if (lamina::cpu::HaveSsse3()) x = RedOfGrayRow24Ssse3(p, d, src.width, &colour);
#endif
      for (; x < src.width; ++x) {
        const u8 b = p[3 * x], g = p[3 * x + 1], r = p[3 * x + 2];
        colour |= static_cast<unsigned>((b ^ g) | (b ^ r));
        d[x] = r;
      }
    } else if constexpr (T == 8 && S == 32) {
      for (int x = 0; x < src.width; ++x) {
        const u8 b = p[4 * x], g = p[4 * x + 1], r = p[4 * x + 2];
        colour |= static_cast<unsigned>((b ^ g) | (b ^ r));
        d[x] = r;
      }
    } else {
      for (int x = 0; x < src.width; ++x, p += kBytes) {
        colour |= static_cast<unsigned>((p[0] ^ p[1]) | (p[0] ^ p[2]));
        Px<4>::Set(d, x, p[2] >> 4);
      }
    }
    if (colour != 0) return false;
  }
  return true;
}

int PromoteToTrueColour(CLamina& self, const ImageView& v, int to) {
  // Every pixel byte of a 24 or 32-bit target is written below (the fourth byte too), so its
  // block is not zero-filled first: that would be a whole extra pass over the larger image.
  NewImage t(v.width, v.height, to, nullptr, lamina::NewRows::kPixelsWritten);
  if (!t.Ok()) return codes::change_color_depth::kNoMemory;
  const ImageView d = t.View();
  lamina::DispatchDepth(v.bpp, [&](auto s) {
    constexpr int S = decltype(s)::value;
    if constexpr (S <= 8) {
      lamina::DispatchDepth<lamina::kTrueColourDepthMask>(
          to, [&](auto t) { PaletteToTrueColour<S, decltype(t)::value>(v, d); });
    } else {
      TrueToTrueColour<S, S == 24 ? 32 : 24>(v, d);  // the other true-colour depth
    }
  });
  t.InstallInto(self);
  return 0;
}

// A palette source onto a palette target through a per-index table.
int ConvertIndices(CLamina& self, const ImageView& v, int to, const u8* map) {
  NewImage t(v.width, v.height, to, FixedPalette(to));
  if (!t.Ok()) return codes::change_color_depth::kNoMemory;
  const ImageView d = t.View();
  lamina::DispatchDepth<lamina::kPaletteDepthMask>(v.bpp, [&](auto s) {
    lamina::DispatchDepth<lamina::kPaletteDepthMask>(
        to, [&](auto t) { MapIndicesInto<decltype(s)::value, decltype(t)::value>(v, d, map); });
  });
  t.InstallInto(self);
  return 0;
}

int ThresholdTrueColourImage(CLamina& self, const ImageView& v) {
  NewImage t(v.width, v.height, 1, FixedPalette(1));
  if (!t.Ok()) return codes::change_color_depth::kNoMemory;
  lamina::DispatchDepth<lamina::kTrueColourDepthMask>(
      v.bpp, [&](auto s) { ThresholdTrueColour<decltype(s)::value>(v, t.View()); });
  t.InstallInto(self);
  return 0;
}

// 24 or 32 bits to 4 or 8: gray images go onto the gray palette; a colour 24-bit image stays as it
// is, a colour 32-bit one becomes its 24-bit copy.
int ReduceTrueColour(CLamina& self, const ImageView& v, int to) {
  {
    // The gray test runs while the new image is filled, so a colour image is usually found out
    // half-way. Without memory for the new image a colour 24-bit image is still "done": it is
    // left as it is, as it would have been.
    NewImage t(v.width, v.height, to, FixedPalette(to));
    if (!t.Ok())
      return v.bpp == 24 && !lamina::IsGray(v) ? 0 : int{codes::change_color_depth::kNoMemory};
    const ImageView d = t.View();
    bool gray = false;
    lamina::DispatchDepth<lamina::kTrueColourDepthMask>(v.bpp, [&](auto s) {
      constexpr std::uint64_t kGrayTargets = lamina::DepthBit(4) | lamina::DepthBit(8);
      lamina::DispatchDepth<kGrayTargets>(to, [&](auto t) {
        gray = GrayTrueColourToPalette<decltype(s)::value, decltype(t)::value>(v, d);
      });
    });
    if (gray) {
      t.InstallInto(self);
      return 0;
    }
  }
  if (v.bpp == 24) return 0;
  return PromoteToTrueColour(self, v, 24);
}

}  // namespace

namespace lamina {
namespace convert {

const RGBQUAD* TwoLevelPalette() { return FixedPalette(1); }

int ChangeColorDepth(CLamina& img, int depthIndex) {
  static const int kDepths[5] = {1, 4, 8, 24, 32};
  if (static_cast<unsigned>(depthIndex) > 4u) return codes::change_color_depth::kIndex;
  const ImageView v = BlockAccess::View(img);
  if (!lamina::IsSupportedDepth(v.bpp)) return codes::change_color_depth::kDepth;
  const int from = v.bpp;
  const int to = kDepths[depthIndex];
  if (from == to) return 0;

  if (to >= 24) return PromoteToTrueColour(img, v, to);
  if (from >= 24) {
    if (to == 1) return ThresholdTrueColourImage(img, v);
    return ReduceTrueColour(img, v, to);
  }

  // Palette source, palette target: a table from each source index to its new index.
  u8 map[256] = {};
  if (to == 1) {
    // Two levels from each index's palette colour.
    for (std::uint32_t i = 0; i < 256; ++i) {
      const RGBQUAD e = v.Entry(i);
      map[i] = IsLight(e.rgbBlue, e.rgbGreen, e.rgbRed) ? 1 : 0;
    }
  } else if (from == 1) {
    // The index is rescaled, the palette's colours play no part.
    map[1] = to == 4 ? 15 : 255;
  } else if (from == 4) {  // to 8
    if (!lamina::IsGray(v)) return PromoteToTrueColour(img, v, 24);
    for (int i = 0; i < 16; ++i) map[i] = static_cast<u8>(i * 255 / 15);
  } else {  // 8 to 4
    if (!lamina::IsGray(v)) return 0;
    for (int i = 0; i < 256; ++i) map[i] = static_cast<u8>(i >> 4);
  }
  return ConvertIndices(img, v, to, map);
}

}  // namespace convert
}  // namespace lamina

int CLamina::fnIMG_ChangeColorDepth(int depthIndex) {
  return lamina::convert::ChangeColorDepth(*this, depthIndex);
}

// fnIMG_ColorToGray: turns the image into a gray one of the same depth, in place, by a weighted
// sum of red, green and blue in single precision.
//
// 24 and 32 bits: every pixel becomes (g, g, g) with g the truncated sum; the fourth byte of a
// 32-bit pixel stays. 4 and 8 bits: every pixel is re-indexed from its entry's sum onto a gray ramp
// of the palette's n entries, then the palette becomes that ramp. 1 bit: only the palette entries
// are grayed. Result codes: convert/codes.h (color_to_gray).
//
// The sums are part of the result: each product is rounded to single precision and they are added
// in the stated order, (blue * Wb + green * Wg) + red * Wr for pixels and
// (green * Wg + blue * Wb) + red * Wr for palette entries. The vector paths compute exactly the
// same single-precision operations, lane by lane.
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "convert/codes.h"
#include "convert/convert.h"
#include "core/block_access.h"
#include "core/byte_table.h"
#include "core/cpu.h"
#include "core/palette.h"
#include "core/pixel_access.h"
#include "core/simd24.h"

using lamina::BlockAccess;
using lamina::ImageView;

namespace {

using u8 = std::uint8_t;

struct Weights {
  float red, green, blue;
};

Weights WeightsOf(int method) {
  if (method == 0) return Weights{0.299f, 0.587f, 0.114f};
  const float third = 1.0f / 3.0f;  // 0.33333334f
  return Weights{third, third, third};
}

// The gray level of a pixel of a 24 or 32-bit image.
u8 PixelGray(unsigned blue, unsigned green, unsigned red, const Weights& w) {
  const float s = (static_cast<float>(blue) * w.blue + static_cast<float>(green) * w.green) +
                  static_cast<float>(red) * w.red;
  return static_cast<u8>(static_cast<int>(s));  // s lies in [0, 255]: truncation is in range
}

// The weighted sum of a palette entry, whose terms come in another order than a pixel's.
float EntrySum(const RGBQUAD& e, const Weights& w) {
  return (static_cast<float>(e.rgbGreen) * w.green + static_cast<float>(e.rgbBlue) * w.blue) +
         static_cast<float>(e.rgbRed) * w.red;
}

// The plain loop: the reference every vector path below is tested against.
template <int Bytes>
void GrayRowPlain(u8* p, int count, const Weights& w) {
  for (int x = 0; x < count; ++x, p += Bytes) {
    const u8 g = PixelGray(p[0], p[1], p[2], w);
    p[0] = g;
    p[1] = g;
    p[2] = g;
  }
}

#ifdef LAMINA_X86
namespace simd24 = lamina::simd24;

// Four lanes of (b * Wb + g * Wg) + r * Wr, truncated.
inline __m128i SumLanes(__m128i b, __m128i g, __m128i r, __m128 wb, __m128 wg, __m128 wr) {
  const __m128 s =
      _mm_add_ps(_mm_add_ps(_mm_mul_ps(_mm_cvtepi32_ps(b), wb), _mm_mul_ps(_mm_cvtepi32_ps(g), wg)),
                 _mm_mul_ps(_mm_cvtepi32_ps(r), wr));
  return _mm_cvttps_epi32(s);
}

// 32 bits, four pixels per step with SSE2: the fourth bytes are kept.
__attribute__((target("sse2"))) int GrayRow32Sse2(u8* p, int count, const Weights& w) {
  const __m128 wb = _mm_set1_ps(w.blue), wg = _mm_set1_ps(w.green), wr = _mm_set1_ps(w.red);
  const __m128i low = _mm_set1_epi32(0xFF);
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  int x = 0;
  for (; x + 4 <= count; x += 4, p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i b = _mm_and_si128(v, low);
    const __m128i g = _mm_and_si128(_mm_srli_epi32(v, 8), low);
    const __m128i r = _mm_and_si128(_mm_srli_epi32(v, 16), low);
    const __m128i y = SumLanes(b, g, r, wb, wg, wr);
    const __m128i grey = _mm_or_si128(_mm_or_si128(y, _mm_slli_epi32(y, 8)), _mm_slli_epi32(y, 16));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_or_si128(grey, _mm_and_si128(v, alpha)));
  }
  return x;
}

// 24 bits, sixteen pixels per step; needs SSSE3 for the byte shuffles.
__attribute__((target("ssse3"))) int GrayRow24Ssse3(u8* p, int count, const Weights& w) {
  const simd24::Tables& t = simd24::TheTables();
  const __m128 wb = _mm_set1_ps(w.blue), wg = _mm_set1_ps(w.green), wr = _mm_set1_ps(w.red);
  const __m128i zero = _mm_setzero_si128();
  int x = 0;
  for (; x + 16 <= count; x += 16, p += 48) {
    const simd24::Planes planes = simd24::LoadPlanes(t, p);
    const __m128i b = planes.blue, g = planes.green, r = planes.red;
    const __m128i bl = _mm_unpacklo_epi8(b, zero), bh = _mm_unpackhi_epi8(b, zero);
    const __m128i gl = _mm_unpacklo_epi8(g, zero), gh = _mm_unpackhi_epi8(g, zero);
    const __m128i rl = _mm_unpacklo_epi8(r, zero), rh = _mm_unpackhi_epi8(r, zero);
    const __m128i y0 = SumLanes(_mm_unpacklo_epi16(bl, zero), _mm_unpacklo_epi16(gl, zero),
                                _mm_unpacklo_epi16(rl, zero), wb, wg, wr);
    const __m128i y1 = SumLanes(_mm_unpackhi_epi16(bl, zero), _mm_unpackhi_epi16(gl, zero),
                                _mm_unpackhi_epi16(rl, zero), wb, wg, wr);
    const __m128i y2 = SumLanes(_mm_unpacklo_epi16(bh, zero), _mm_unpacklo_epi16(gh, zero),
                                _mm_unpacklo_epi16(rh, zero), wb, wg, wr);
    const __m128i y3 = SumLanes(_mm_unpackhi_epi16(bh, zero), _mm_unpackhi_epi16(gh, zero),
                                _mm_unpackhi_epi16(rh, zero), wb, wg, wr);
    simd24::StoreSpread(t, p, _mm_packus_epi16(_mm_packs_epi32(y0, y1), _mm_packs_epi32(y2, y3)));
  }
  return x;
}

// Eight lanes of the same sum, from eight bytes of each channel.
__attribute__((target("avx2"))) inline __m256i SumLanes8(__m128i b, __m128i g, __m128i r, __m256 wb,
                                                         __m256 wg, __m256 wr) {
  const __m256 fb = _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(b));
  const __m256 fg = _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(g));
  const __m256 fr = _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(r));
  const __m256 s = _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(fb, wb), _mm256_mul_ps(fg, wg)),
                                 _mm256_mul_ps(fr, wr));
  return _mm256_cvttps_epi32(s);
}

// The same from eight 32-bit lanes of each channel.
__attribute__((target("avx2"))) inline __m256i SumWords8(__m256 wb, __m256 wg, __m256 wr, __m256i b,
                                                         __m256i g, __m256i r) {
  const __m256 s = _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(_mm256_cvtepi32_ps(b), wb),
                                               _mm256_mul_ps(_mm256_cvtepi32_ps(g), wg)),
                                 _mm256_mul_ps(_mm256_cvtepi32_ps(r), wr));
  return _mm256_cvttps_epi32(s);
}

// A 16-byte shuffle table in both halves of a 256-bit register.
__attribute__((target("avx2"))) inline __m256i BothHalves(const std::uint8_t* table) {
  return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(table)));
}

__attribute__((target("avx2"))) inline __m128i PackBytes(__m256i lo, __m256i hi) {
  const __m128i a = _mm_packs_epi32(_mm256_castsi256_si128(lo), _mm256_extracti128_si256(lo, 1));
  const __m128i b = _mm_packs_epi32(_mm256_castsi256_si128(hi), _mm256_extracti128_si256(hi, 1));
  return _mm_packus_epi16(a, b);
}

// 24 bits with eight float lanes: the same operations, half the arithmetic instructions.
__attribute__((target("avx2"))) int GrayRow24Avx2(u8* p, int count, const Weights& w) {
  const simd24::Tables& t = simd24::TheTables();
  const __m256 wb = _mm256_set1_ps(w.blue), wg = _mm256_set1_ps(w.green),
               wr = _mm256_set1_ps(w.red);
  int x = 0;
  // Thirty-two pixels per step: two groups of sixteen side by side, one in each 128-bit half, so
  // the in-half byte shuffles and the unpacking and packing (which undo each other's order) serve
  // both at once.
  const __m256i zero = _mm256_setzero_si256();
  __m256i gather[3][3], spread[3];
  for (int c = 0; c < 3; ++c) {
    for (int reg = 0; reg < 3; ++reg) gather[c][reg] = BothHalves(t.gather[c][reg]);
    spread[c] = BothHalves(t.spread[c]);
  }
  for (; x + 32 <= count; x += 32, p += 96) {
    const auto* q = reinterpret_cast<const __m128i*>(p);
    const __m256i v0 = _mm256_loadu2_m128i(q + 3, q);
    const __m256i v1 = _mm256_loadu2_m128i(q + 4, q + 1);
    const __m256i v2 = _mm256_loadu2_m128i(q + 5, q + 2);
    __m256i ch[3];
    for (int c = 0; c < 3; ++c)
      ch[c] = _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(v0, gather[c][0]),
                                              _mm256_shuffle_epi8(v1, gather[c][1])),
                              _mm256_shuffle_epi8(v2, gather[c][2]));
    __m256i y[4];
    __m256i lo16[3], hi16[3];
    for (int c = 0; c < 3; ++c) {
      lo16[c] = _mm256_unpacklo_epi8(ch[c], zero);
      hi16[c] = _mm256_unpackhi_epi8(ch[c], zero);
    }
    y[0] = SumWords8(wb, wg, wr, _mm256_unpacklo_epi16(lo16[0], zero),
                     _mm256_unpacklo_epi16(lo16[1], zero), _mm256_unpacklo_epi16(lo16[2], zero));
    y[1] = SumWords8(wb, wg, wr, _mm256_unpackhi_epi16(lo16[0], zero),
                     _mm256_unpackhi_epi16(lo16[1], zero), _mm256_unpackhi_epi16(lo16[2], zero));
    y[2] = SumWords8(wb, wg, wr, _mm256_unpacklo_epi16(hi16[0], zero),
                     _mm256_unpacklo_epi16(hi16[1], zero), _mm256_unpacklo_epi16(hi16[2], zero));
    y[3] = SumWords8(wb, wg, wr, _mm256_unpackhi_epi16(hi16[0], zero),
                     _mm256_unpackhi_epi16(hi16[1], zero), _mm256_unpackhi_epi16(hi16[2], zero));
    const __m256i gray =
        _mm256_packus_epi16(_mm256_packs_epi32(y[0], y[1]), _mm256_packs_epi32(y[2], y[3]));
    auto* o = reinterpret_cast<__m128i*>(p);
    for (int k = 0; k < 3; ++k) {
      const __m256i out = _mm256_shuffle_epi8(gray, spread[k]);
      _mm256_storeu2_m128i(o + 3 + k, o + k, out);
    }
  }
  for (; x + 16 <= count; x += 16, p += 48) {
    const simd24::Planes planes = simd24::LoadPlanes(t, p);
    const __m128i b = planes.blue, g = planes.green, r = planes.red;
    const __m256i lo = SumLanes8(b, g, r, wb, wg, wr);
    const __m256i hi =
        SumLanes8(_mm_srli_si128(b, 8), _mm_srli_si128(g, 8), _mm_srli_si128(r, 8), wb, wg, wr);
    simd24::StoreSpread(t, p, PackBytes(lo, hi));
  }
  return x;
}

// 32 bits with eight lanes; the fourth bytes are kept.
__attribute__((target("avx2"))) int GrayRow32Avx2(u8* p, int count, const Weights& w) {
  const __m256 wb = _mm256_set1_ps(w.blue), wg = _mm256_set1_ps(w.green),
               wr = _mm256_set1_ps(w.red);
  const __m256i low = _mm256_set1_epi32(0xFF);
  const __m256i alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  int x = 0;
  for (; x + 8 <= count; x += 8, p += 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256 b = _mm256_cvtepi32_ps(_mm256_and_si256(v, low));
    const __m256 g = _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(v, 8), low));
    const __m256 r = _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(v, 16), low));
    const __m256 s = _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(b, wb), _mm256_mul_ps(g, wg)),
                                   _mm256_mul_ps(r, wr));
    const __m256i y = _mm256_cvttps_epi32(s);
    const __m256i grey =
        _mm256_or_si256(_mm256_or_si256(y, _mm256_slli_epi32(y, 8)), _mm256_slli_epi32(y, 16));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p),
                        _mm256_or_si256(grey, _mm256_and_si256(v, alpha)));
  }
  return x;
}
#endif  // LAMINA_X86

// One 24 or 32-bit row: the widest path the processor has, then the plain loop for the rest.
template <int B>
void GrayRow(u8* row, int count, const Weights& w) {
  int done = 0;
#ifdef LAMINA_X86
  if constexpr (B == 24) {
    if (lamina::cpu::HaveAvx2())
      done = GrayRow24Avx2(row, count, w);
    else if (lamina::cpu::HaveSsse3())
      done = GrayRow24Ssse3(row, count, w);
  } else {
    if (lamina::cpu::HaveAvx2())
      done = GrayRow32Avx2(row, count, w);
    else if (lamina::cpu::HaveSse2())
      done = GrayRow32Sse2(row, count, w);
  }
#endif
  GrayRowPlain<B / 8>(row + (B / 8) * static_cast<std::ptrdiff_t>(done), count - done, w);
}

// 4 and 8 bits: the new index of every old one. n is the number of entries the palette holds; the
// gray ramp it becomes has n levels, and even white gives n - 1 at most.
void IndexMap(const ImageView& v, const Weights& w, u8* map) {
  const int n = v.paletteEntries;
  const float top = static_cast<float>(n - 1);
  for (std::uint32_t i = 0; i < 256; ++i) {
    if (n <= 1) {
      map[i] = 0;
      continue;
    }
    const float s = EntrySum(v.Entry(i), w);
    map[i] = static_cast<u8>(static_cast<int>(s * top / 255.0f));
  }
}

}  // namespace

namespace lamina {
namespace convert {

int ColorToGray(CLamina& img, int method) {
  const ImageView v = BlockAccess::View(img);
  if (!lamina::IsSupportedDepth(v.bpp)) return codes::color_to_gray::kDepth;
  if (method != 0 && method != 1) return codes::color_to_gray::kMethod;
  const Weights w = WeightsOf(method);

  if (v.bpp == 1) {
    for (int i = 0; i < v.paletteEntries; ++i) {
      RGBQUAD& e = v.palette[i];
      const u8 g = static_cast<u8>(static_cast<int>(EntrySum(e, w)));
      e.rgbBlue = g;
      e.rgbGreen = g;
      e.rgbRed = g;
    }
    return 0;
  }

  if (v.bpp <= 8) {
    // Every pixel is mapped from the palette as it was; the palette becomes the ramp afterwards.
    u8 map[256];
    IndexMap(v, w, map);
    lamina::MapIndices(v, map);
    lamina::SetGrayRamp(v);
  } else {
    lamina::DispatchDepth<lamina::kTrueColourDepthMask>(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      for (int y = v.height - 1; y >= 0; --y) GrayRow<B>(v.Row(y), v.width, w);
    });
  }
  BlockAccess::NoteStride(img, v);
  return 0;
}

}  // namespace convert
}  // namespace lamina

int CLamina::fnIMG_ColorToGray(int method) { return lamina::convert::ColorToGray(*this, method); }

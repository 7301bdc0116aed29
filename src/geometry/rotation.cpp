// fnIMG_Rotation, both forms: turning the picture about its centre in the plane (inverse mapping,
// nearest pixel by fnRound), and tilting it about its vertical and horizontal axes first (forward
// mapping, truncation) before turning it in the plane.
//
// Both build a new image of the image's depth and palette whose pixels start at 0, write every
// pixel of it (a copied pixel carries only its value, so 32-bit pixels come out with their fourth
// byte 0; background pixels take the colour's palette index, or all ones when the palette lacks
// it), and install it in place of the old block; the image keeps its name. Result 0; 1 for an
// angle below -360, above 360 or not a number; 2 for a depth other than 1, 4, 8, 24, 32; 3 for a
// size mode other than 0 or 1; 4 when the new image cannot be allocated (the image is left as it
// was; the three-angle form builds both of its images before installing either).
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/cpu.h"
#include "core/image_builder.h"
#include "core/numeric.h"
#include "core/pixel_access.h"
#include "geometry/canvas.h"
#include "geometry/codes.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::NewImage;

namespace {

namespace rc = lamina::codes::rotation;
using u8 = std::uint8_t;

constexpr double kPi = 3.141592653589793;

bool AngleInRange(double a) { return a >= -360.0 && a <= 360.0; }  // false for NaN too

// fnRound for |a| < 2^30: the floor taken by truncation and a correction, then the same
// comparison of the fraction with one half. Gives exactly numeric::fnRound's result.
inline int RoundSmall(double a) {
  int t = static_cast<int>(a);
  double f = t;
  if (f > a) {
    --t;
    f -= 1.0;
  }
  return a - f > 0.5 ? t + 1 : t;
}

// ---- Plane rotation ----------------------------------------------------------------------------

// The terms of the inverse mapping that depend on the column alone, and the halves.
struct PlaneTerms {
  const double* uc;  // u x c for each destination column
  const double* us;  // u x s
  double halfW;      // W/2 and H/2 of the source, integer halves
  double halfH;
  bool small;  // every coordinate below 2^30 in magnitude: RoundSmall is exact
};

// Source rows and columns for destination columns [0, n) of a row with v x c = vc, v x s = vs:
// sy = fnRound(H/2 - (v c + u s)), sx = fnRound(u c - v s + W/2), in that order of operations.
void RowCoordsPlain(const PlaneTerms& t, int from, int n, double vc, double vs, int* sx, int* sy) {
  for (int i = 0; i < n; ++i) {
    const double a = t.halfH - (vc + t.us[from + i]);
    const double b = t.uc[from + i] - vs + t.halfW;
    sy[i] = t.small ? RoundSmall(a) : lamina::numeric::fnRound(a);
    sx[i] = t.small ? RoundSmall(b) : lamina::numeric::fnRound(b);
  }
}

// Where the source pixels lie, for 24 and 32 bits: the byte offset of source pixel (sx, sy)
// from the first stored row, or -1 where it falls outside the source.
struct SourceGeometry {
  int width, height, stride, bytes;
};

void RowOffsetsPlain(const PlaneTerms& t, const SourceGeometry& g, int from, int n, double vc,
                     double vs, int* offsets) {
  int sx[64], sy[64];
  for (int done = 0; done < n; done += 64) {
    const int k = std::min(64, n - done);
    RowCoordsPlain(t, from + done, k, vc, vs, sx, sy);
    for (int i = 0; i < k; ++i) {
      const bool inside = static_cast<unsigned>(sx[i]) < static_cast<unsigned>(g.width) &&
                          static_cast<unsigned>(sy[i]) < static_cast<unsigned>(g.height);
      // Inside, the offset lies within the rows, which fit an int.
      offsets[done + i] = inside ? static_cast<int>(std::int64_t{g.height - 1 - sy[i]} * g.stride +
                                                    std::int64_t{sx[i]} * g.bytes)
                                 : -1;
    }
  }
}

#ifdef LAMINA_X86
// fnRound of four doubles: the floor, plus 1 where the fraction is above one half.
__attribute__((target("avx2"))) inline __m128i Round4(__m256d a) {
  const __m256d f = _mm256_floor_pd(a);
  const __m256d up = _mm256_cmp_pd(_mm256_sub_pd(a, f), _mm256_set1_pd(0.5), _CMP_GT_OQ);
  return _mm256_cvttpd_epi32(_mm256_add_pd(f, _mm256_and_pd(up, _mm256_set1_pd(1.0))));
}

// Four columns at a time; the same operations in the same order, so the same doubles. Only when
// every coordinate is small (PlaneTerms::small), so that the conversions are exact.
__attribute__((target("avx2"))) void RowCoordsAvx2(const PlaneTerms& t, int from, int n, double vc,
                                                   double vs, int* sx, int* sy) {
  const __m256d kvc = _mm256_set1_pd(vc), kvs = _mm256_set1_pd(vs);
  const __m256d kh = _mm256_set1_pd(t.halfH), kw = _mm256_set1_pd(t.halfW);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m256d a = _mm256_sub_pd(kh, _mm256_add_pd(kvc, _mm256_loadu_pd(t.us + from + i)));
    const __m256d b = _mm256_add_pd(_mm256_sub_pd(_mm256_loadu_pd(t.uc + from + i), kvs), kw);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sy + i), Round4(a));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sx + i), Round4(b));
  }
  RowCoordsPlain(t, from + i, n - i, vc, vs, sx + i, sy + i);
}

__attribute__((target("avx2"))) void RowOffsetsAvx2(const PlaneTerms& t, const SourceGeometry& g,
                                                    int from, int n, double vc, double vs,
                                                    int* offsets) {
  const __m256d kvc = _mm256_set1_pd(vc), kvs = _mm256_set1_pd(vs);
  const __m256d kh = _mm256_set1_pd(t.halfH), kw = _mm256_set1_pd(t.halfW);
  const __m128i minus1 = _mm_set1_epi32(-1), width = _mm_set1_epi32(g.width);
  const __m128i height = _mm_set1_epi32(g.height), top = _mm_set1_epi32(g.height - 1);
  const __m128i stride = _mm_set1_epi32(g.stride), bytes = _mm_set1_epi32(g.bytes);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m256d a = _mm256_sub_pd(kh, _mm256_add_pd(kvc, _mm256_loadu_pd(t.us + from + i)));
    const __m256d b = _mm256_add_pd(_mm256_sub_pd(_mm256_loadu_pd(t.uc + from + i), kvs), kw);
    const __m128i y = Round4(a), x = Round4(b);
    const __m128i inside =
        _mm_and_si128(_mm_and_si128(_mm_cmpgt_epi32(x, minus1), _mm_cmpgt_epi32(width, x)),
                      _mm_and_si128(_mm_cmpgt_epi32(y, minus1), _mm_cmpgt_epi32(height, y)));
    // Wrapping products in the lanes outside are masked away.
    const __m128i offset =
        _mm_add_epi32(_mm_mullo_epi32(_mm_sub_epi32(top, y), stride), _mm_mullo_epi32(x, bytes));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(offsets + i),
                     _mm_or_si128(_mm_and_si128(inside, offset), _mm_andnot_si128(inside, minus1)));
  }
  RowOffsetsPlain(t, g, from + i, n - i, vc, vs, offsets + i);
}
#endif

// Writes destination pixels [from, from + n) of a 24 or 32-bit `row` from the source pixels at
// `offsets` from `bits`, or the background where the offset is -1.
template <int B>
void GatherBytes(u8* row, int rowWidth, int from, int n, const int* offsets, const u8* bits,
                 std::uint32_t bg) {
  u8* q = row + static_cast<std::size_t>(from) * (B / 8);
  for (int i = 0; i < n; ++i, q += B / 8) {
    const int at = offsets[i];
    if constexpr (B == 24) {
      // Four bytes ending with the pixel's red: the byte before a pixel always lies in the block
      // (the header or the row below precede the rows), the byte after the last one may not.
      std::uint32_t p = bg;
      if (at >= 0) {
        std::memcpy(&p, bits + at - 1, 4);
        p >>= 8;
      }
      // Four bytes written, the fourth overwritten by the next pixel; the row's last pixel (whose
      // fourth byte would be padding, or the next row) gets its three.
      if (from + i + 1 < rowWidth)
        std::memcpy(q, &p, 4);
      else
        lamina::Px<24>::Set(q, 0, p);
    } else {
      // The new pixel's fourth byte is 0, as writing only its value into a zeroed pixel leaves it.
      const std::uint32_t p = at >= 0 ? lamina::Px<32>::Get(bits + at, 0) : bg;
      std::memcpy(q, &p, 4);
    }
  }
}

// The same for 1, 4 and 8 bits, from the source rows and columns. (At 8 bits the offsets cost more
// to work out than the row table costs to read.)
template <int B>
void GatherPixels(u8* row, int from, int n, const int* sx, const int* sy, u8* const* srcRows,
                  unsigned width, unsigned height, std::uint32_t bg) {
  for (int i = 0; i < n; ++i) {
    const unsigned x = static_cast<unsigned>(sx[i]), y = static_cast<unsigned>(sy[i]);
    const bool inside = x < width && y < height;
    if constexpr (B == 8)
      row[from + i] = inside ? srcRows[y][x] : static_cast<u8>(bg);
    else
      lamina::Px<B>::Set(row, from + i,
                         inside ? lamina::Px<B>::Get(srcRows[y], static_cast<int>(x)) : bg);
  }
}

// The size of the plane rotation's result: the image's own, or the bounding box of the turned
// picture from the rounded projections of its sides. 64-bit: the box of a huge image may not fit
// an int, and the builder then refuses it.
void PlaneSize(int mode, const ImageView& v, double c, double s, std::int64_t& w, std::int64_t& h) {
  if (mode == 1) {
    w = v.width;
    h = v.height;
    return;
  }
  using lamina::numeric::fnRound;
  const std::int64_t wc = fnRound(v.width * c), hs = fnRound(v.height * s);
  const std::int64_t hc = fnRound(v.height * c), ws = fnRound(v.width * s);
  auto abs64 = [](std::int64_t a) { return a < 0 ? -a : a; };
  w = std::max(abs64(wc + hs), abs64(wc - hs));
  h = std::max(abs64(hc + ws), abs64(hc - ws));
}

// The plane rotation of `src` by `angle` degrees into a new image; not Ok() when memory is short.
NewImage PlaneRotation(const ImageView& src, int mode, double angle, unsigned long background) {
  const double theta = angle / 180 * kPi;
  const double s = std::sin(theta), c = std::cos(theta);
  std::int64_t w64, h64;
  PlaneSize(mode, src, c, s, w64, h64);
  if (w64 > INT_MAX || h64 > INT_MAX) return NewImage::Raw(0, 0, false);
  const int w = static_cast<int>(w64), h = static_cast<int>(h64);
  const std::uint32_t bg = lamina::canvas::BackgroundValue(src, lamina::canvas::Quad(background));
  RGBQUAD palette[256];
  lamina::PaletteFrom(src, src.bpp, palette);
  // Whole-byte pixels are all written below; sub-byte ones are set bit by bit into zeroed rows.
  NewImage out(w, h, src.bpp, palette,
               src.bpp >= 8 ? lamina::NewRows::kPixelsWritten : lamina::NewRows::kZero);
  if (!out.Ok() || w == 0 || h == 0) return out;

  auto uc = lamina::canvas::TryArray<double>(static_cast<std::size_t>(w));
  auto us = lamina::canvas::TryArray<double>(static_cast<std::size_t>(w));
  auto srcRows = lamina::canvas::TryArray<u8*>(static_cast<std::size_t>(src.height));
  // Coordinates for up to kChunk columns at a time: a row of a 4096-pixel picture in one go (in
  // smaller pieces the loops' start-up shows), and still in the first-level cache.
  constexpr int kChunk = 4096;
  auto coords = lamina::canvas::TryArray<int>(2 * kChunk);
  if (!uc || !us || !srcRows || !coords) return NewImage::Raw(0, 0, false);
  for (int x = 0; x < w; ++x) {
    const double u = x - w / 2;
    uc[x] = u * c;
    us[x] = u * s;
  }
  for (int y = 0; y < src.height; ++y) srcRows[y] = src.Row(y);
  PlaneTerms terms{uc.get(), us.get(), static_cast<double>(src.width / 2),
                   static_cast<double>(src.height / 2), false};
  const std::int64_t bound = std::int64_t{src.width} + src.height + w + h;
  terms.small = bound < (std::int64_t{1} << 30);
#ifdef LAMINA_X86
  const bool avx2 = terms.small && lamina::cpu::HaveAvx2();
#endif

  const ImageView dst = out.View();
  lamina::DispatchDepth(src.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    int* sx = coords.get();
    int* sy = coords.get() + kChunk;
    const SourceGeometry g{src.width, src.height, src.stride, B / 8};
    for (int y = h - 1; y >= 0; --y) {
      const double v = h / 2 - y;
      const double vc = v * c, vs = v * s;
      u8* row = dst.Row(y);
      for (int from = 0; from < w; from += kChunk) {
        const int n = std::min(kChunk, w - from);
        if constexpr (B > 8) {
#ifdef LAMINA_X86
          if (avx2)
            RowOffsetsAvx2(terms, g, from, n, vc, vs, sx);
          else
#endif
            RowOffsetsPlain(terms, g, from, n, vc, vs, sx);
          GatherBytes<B>(row, w, from, n, sx, src.bits, bg);
        } else {
#ifdef LAMINA_X86
          if (avx2)
            RowCoordsAvx2(terms, from, n, vc, vs, sx, sy);
          else
#endif
            RowCoordsPlain(terms, from, n, vc, vs, sx, sy);
          GatherPixels<B>(row, from, n, sx, sy, srcRows.get(), static_cast<unsigned>(src.width),
                          static_cast<unsigned>(src.height), bg);
        }
      }
    }
  });
  return out;
}

// ---- Tilt --------------------------------------------------------------------------------------

// The forward mapping of the tilt into a new image of the same size: every pixel first the
// background, then each source pixel, rows from the top and columns from the left, written where
// its truncated destination falls inside (a later pixel wins).
NewImage Tilt(const ImageView& src, double first, double second, unsigned long background) {
  const double alpha = first / 180 * kPi, beta = second / 180 * kPi;
  const double s1 = std::sin(alpha), c1 = std::cos(alpha);
  const double s2 = std::sin(beta), c2 = std::cos(beta);
  const int w = src.width, h = src.height;
  const std::uint32_t bg = lamina::canvas::BackgroundValue(src, lamina::canvas::Quad(background));
  RGBQUAD palette[256];
  lamina::PaletteFrom(src, src.bpp, palette);
  NewImage out(w, h, src.bpp, palette);
  if (!out.Ok() || w == 0 || h == 0) return out;

  // Per column: the destination column (-1 when it falls outside) and (x - W/2) x s1 x s2.
  auto dxOf = lamina::canvas::TryArray<int>(static_cast<std::size_t>(w));
  auto colTerm = lamina::canvas::TryArray<double>(static_cast<std::size_t>(w));
  if (!dxOf || !colTerm) return NewImage::Raw(0, 0, false);
  const double halfW = w / 2, halfH = h / 2;
  for (int x = 0; x < w; ++x) {
    const double u = x - w / 2;
    const double dx = u * c1 + halfW;
    // Truncation toward zero lands inside exactly when -1 < dx < W.
    dxOf[x] = dx > -1.0 && dx < w ? static_cast<int>(dx) : -1;
    colTerm[x] = u * s1 * s2;
  }
  const ImageView dst = out.View();
  lamina::DispatchDepth(src.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    lamina::canvas::FillPixels<B>(dst, bg);
    for (int y = 0; y < h; ++y) {
      const double rowTerm = static_cast<double>(y - h / 2) * c2;
      const u8* srow = src.Row(y);
      for (int x = 0; x < w; ++x) {
        const double dy = rowTerm + colTerm[x] + halfH;
        if (dxOf[x] < 0 || !(dy > -1.0 && dy < h)) continue;
        lamina::Px<B>::Set(dst.Row(static_cast<int>(dy)), dxOf[x], lamina::Px<B>::Get(srow, x));
      }
    }
  });
  return out;
}

}  // namespace

namespace lamina {
namespace geometry {

int Rotation(CLamina& img, int sizeMode, double angle, unsigned long background) {
  if (!AngleInRange(angle)) return rc::kAngle;
  const ImageView v = BlockAccess::View(img);
  if (!IsSupportedDepth(v.bpp)) return rc::kDepth;
  if (static_cast<unsigned>(sizeMode) > 1u) return rc::kMode;
  NewImage out = PlaneRotation(v, sizeMode, angle, background);
  if (!out.Ok()) return rc::kNoMemory;
  out.InstallInto(img);
  return 0;
}

int Rotation(CLamina& img, int sizeMode, double first, double second, double third,
             unsigned long background) {
  if (!AngleInRange(first) || !AngleInRange(second) || !AngleInRange(third)) return rc::kAngle;
  const ImageView v = BlockAccess::View(img);
  if (!IsSupportedDepth(v.bpp)) return rc::kDepth;
  if (static_cast<unsigned>(sizeMode) > 1u) return rc::kMode;
  NewImage tilted = Tilt(v, first, second, background);
  if (!tilted.Ok()) return rc::kNoMemory;
  if (third == 0.0) {
    tilted.InstallInto(img);
    return 0;
  }
  // The plane rotation works on the tilted image as it would once installed: its palette (which
  // may hold more entries than a short source palette) is the one searched for the background.
  NewImage turned = PlaneRotation(tilted.View(), sizeMode, third, background);
  if (!turned.Ok()) return rc::kNoMemory;
  turned.InstallInto(img);
  return 0;
}

}  // namespace geometry
}  // namespace lamina

int CLamina::fnIMG_Rotation(int sizeMode, double angle, unsigned long background) {
  return lamina::geometry::Rotation(*this, sizeMode, angle, background);
}

int CLamina::fnIMG_Rotation(int sizeMode, double angleY, double angleX, double angle,
                            unsigned long background) {
  return lamina::geometry::Rotation(*this, sizeMode, angleY, angleX, angle, background);
}

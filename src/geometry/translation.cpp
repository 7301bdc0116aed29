// fnIMG_Translation by pixels and by a physical length, fnIMG_CalcularDesplazamientos and
// fnIMG_TransfPixel.
//
// The move by pixels builds the result (enlarged by |dx| x |dy| in mode 0, the same size in mode 1)
// row by row: one row of background is made once and copied where the picture does not reach, and
// the picture's run of each row is carried over as values beside it, so every pixel is written
// once. The bytes are those of the described per-pixel procedure: a new image from the data
// constructor with the image's palette, every pixel set to the background, then every source pixel
// set at its new place (a 32-bit pixel's fourth byte therefore 0).
//
// A length becomes pixels through the display the picture is shown on (core/display.h): the
// whole centimetres of its size, in single precision, truncated.
#include "geometry/translation.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "core/block_access.h"
#include "core/image_builder.h"
#include "core/pixel_access.h"
#include "geometry/carry.h"
#include "geometry/codes.h"

using lamina::BlockAccess;
using lamina::ImageView;

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kInchesPerCm = 0.393700787401575;

// Copies `nbits` bits from bit `s` of `src` to bit `d` of `dst` (most significant bit first),
// leaving dst's other bits. Reads only bytes of `src` that hold copied bits.
void CopyFewBits(std::uint8_t* dst, std::size_t d, const std::uint8_t* src, std::size_t s,
                 std::size_t nbits) {
  while (nbits > 0) {
    const unsigned dOff = static_cast<unsigned>(d % 8), sOff = static_cast<unsigned>(s % 8);
    const unsigned take = static_cast<unsigned>(nbits < 8 - dOff ? nbits : 8 - dOff);
    unsigned window = static_cast<unsigned>(src[s / 8]) << 8;
    if (sOff + take > 8) window |= src[s / 8 + 1];
    const unsigned bits = (window >> (16 - sOff - take)) & ((1u << take) - 1u);
    const unsigned shift = 8 - dOff - take;
    const unsigned mask = ((1u << take) - 1u) << shift;
    dst[d / 8] = static_cast<std::uint8_t>((dst[d / 8] & ~mask) | (bits << shift));
    d += take;
    s += take;
    nbits -= take;
  }
}

// The same for a long run: bit by bit up to a whole destination byte, then whole destination
// bytes each made of two source bytes at a fixed shift, then the last bits.
void CopyBitsAt(std::uint8_t* dst, std::size_t d, const std::uint8_t* src, std::size_t s,
                std::size_t nbits) {
  const std::size_t head = std::min(nbits, (8 - d % 8) % 8);
  CopyFewBits(dst, d, src, s, head);
  d += head;
  s += head;
  nbits -= head;
  const std::size_t whole = nbits / 8;
  std::uint8_t* out = dst + d / 8;
  const std::uint8_t* in = src + s / 8;
  const unsigned shift = static_cast<unsigned>(s % 8);
  if (shift == 0) {
    std::memcpy(out, in, whole);
  } else {
    // Byte i takes the last 8 - shift bits of in[i] and the first shift bits of in[i + 1]; both
    // hold copied bits. Eight bytes at a time as one big-endian word where the machine allows.
    std::size_t i = 0;
#if defined(__GNUC__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    for (; i + 8 <= whole; i += 8) {
      std::uint64_t w;
      std::memcpy(&w, in + i, 8);
      w = (__builtin_bswap64(w) << shift) | (in[i + 8] >> (8 - shift));
      w = __builtin_bswap64(w);
      std::memcpy(out + i, &w, 8);
    }
#endif
    for (; i < whole; ++i)
      out[i] = static_cast<std::uint8_t>((in[i] << shift) | (in[i + 1] >> (8 - shift)));
  }
  CopyFewBits(dst, d + 8 * whole, src, s + 8 * whole, nbits - 8 * whole);
}

// Pixels along one axis for a length in centimetres on a display of `resolution` pixels and
// `sizeMM` millimetres. A display that reports less than a whole centimetre gives 0 (rather than
// dividing by zero); false when the count does not fit in an int.
bool PixelsAlong(int resolution, int sizeMM, float length, int* out) {
  const int cm = sizeMM / 10;
  if (cm == 0) {
    *out = 0;
    return true;
  }
  const float p = static_cast<float>(resolution) * length / static_cast<float>(cm);
  if (!(p > -2147483648.0f && p < 2147483648.0f)) return false;
  *out = static_cast<int>(p);
  return true;
}

// The length of the move in centimetres and in inches.
void Lengths(int distance, float angle, CLamina::InfoDesplazamientotag* r) {
  r->fDesplazamiento = static_cast<float>(std::sin(angle / 180.0 * kPi) * distance);
  r->fDesplazamientoPulgadas = static_cast<float>(r->fDesplazamiento * kInchesPerCm);
}

}  // namespace

namespace lamina {
namespace geometry {

int Translation(CLamina& img, int mode, int dx, int dy, unsigned long background) {
  namespace rc = lamina::codes::translation;
  const ImageView v = BlockAccess::View(img);
  if (!IsSupportedDepth(v.bpp)) return rc::kDepth;
  if (static_cast<unsigned>(mode) > 1u) return rc::kMode;

  using I = std::int64_t;
  const I width = mode == 0 ? v.width + std::llabs(dx) : v.width;
  const I height = mode == 0 ? v.height + std::llabs(dy) : v.height;
  const I paletteBytes = v.bpp <= 8 ? 4 * Levels(v.bpp) : 0;
  if (width > INT_MAX || height > INT_MAX ||
      (height != 0 && Stride64(width, v.bpp) > (INT_MAX - 40 - paletteBytes) / height))
    return rc::kTooLarge;

  RGBQUAD palette[256];
  PaletteFrom(v, v.bpp, palette);
  NewImage out(static_cast<int>(width), static_cast<int>(height), v.bpp,
               v.bpp <= 8 ? palette : nullptr, NewRows::kPixelsWritten);
  if (!out.Ok()) return rc::kNoMemory;
  const ImageView r = out.View();
  const std::size_t stride = static_cast<std::size_t>(r.stride);
  std::unique_ptr<std::uint8_t[]> pattern(new (std::nothrow) std::uint8_t[stride + 1]());
  if (!pattern) return rc::kNoMemory;

  // The background as a pixel value: the first palette entry of its colour (the all-ones index
  // when there is none), or the colour itself.
  const BYTE red = static_cast<BYTE>(background), green = static_cast<BYTE>(background >> 8),
             blue = static_cast<BYTE>(background >> 16);
  std::uint32_t fill = 0xFFFFFFFFu;
  if (v.bpp <= 8) {
    for (int i = 0; i < v.paletteEntries; ++i) {
      const RGBQUAD& e = v.palette[i];
      if (e.rgbRed == red && e.rgbGreen == green && e.rgbBlue == blue) {
        fill = static_cast<std::uint32_t>(i);
        break;
      }
    }
  } else {
    fill = blue | (std::uint32_t{green} << 8) | (std::uint32_t{red} << 16);
  }

  const I offX = mode == 0 ? (dx > 0 ? dx : 0) : dx;
  const I offY = mode == 0 ? (dy > 0 ? dy : 0) : dy;
  // Columns of the result that the picture covers, and the first source column among them.
  const I left = offX > 0 ? offX : 0;
  const I right = offX + v.width < width ? offX + v.width : width;
  const int run = right > left ? static_cast<int>(right - left) : 0;
  const int srcX = static_cast<int>(left - offX);

  DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    // One row of background, padding 0; the fourth byte of a 32-bit pixel 0.
    for (int x = 0; x < r.width; ++x) Px<B>::Set(pattern.get(), x, fill);
    const std::size_t leftBytes = static_cast<std::size_t>(left) * B / 8;
    const std::size_t runBytes = static_cast<std::size_t>(run) * B / 8;
    for (int y = r.height - 1; y >= 0; --y) {
      std::uint8_t* row = r.Row(y);
      const I sy = y - offY;
      if (run == 0 || sy < 0 || sy >= v.height) {
        std::memcpy(row, pattern.get(), stride);
        continue;
      }
      const std::uint8_t* src = v.Row(static_cast<int>(sy));
      if constexpr (B < 8) {
        std::memcpy(row, pattern.get(), stride);
        CopyBitsAt(row, static_cast<std::size_t>(left) * B, src, static_cast<std::size_t>(srcX) * B,
                   static_cast<std::size_t>(run) * B);
      } else {
        std::memcpy(row, pattern.get(), leftBytes);
        carry::CopyRun<B>(row + leftBytes, src, srcX, run);
        std::memcpy(row + leftBytes + runBytes, pattern.get() + leftBytes + runBytes,
                    stride - leftBytes - runBytes);
      }
    }
  });
  out.InstallInto(img);
  return 0;
}

int TranslationByLength(CLamina& img, int mode, int distance, float angle, float direction,
                        unsigned long background, CLamina::InfoDesplazamientotag* info,
                        const display::DisplayFacts& facts) {
  namespace rc = lamina::codes::translation_length;
  if (!IsSupportedDepth(BlockAccess::View(img).bpp)) return rc::kDepth;
  if (static_cast<unsigned>(mode) > 1u) return rc::kMode;
  if (!(angle >= 0.0f && angle <= 80.0f)) return rc::kAngle;
  if (!(direction >= 0.0f && direction <= 360.0f)) return rc::kDirection;
  if (info == nullptr) return rc::kNoRecord;

  CLamina::InfoDesplazamientotag r = *info;
  Lengths(distance, angle, &r);
  // The primary display, or with several monitors the one nearest to the point 500 pixels right
  // of the primary's right edge and 200 above its bottom edge.
  const display::MonitorArea& primary = facts.monitors[0];
  const display::MonitorArea& shown =
      facts.count > 1 ? display::Nearest(facts, std::int64_t{primary.width} + 500,
                                         std::int64_t{primary.height} - 200)
                      : primary;
  const float turned = direction - 90.0f;
  const double phi = turned / 180.0 * kPi;
  r.fDesplazamientoX = static_cast<float>(std::cos(phi) * r.fDesplazamiento);
  r.fDesplazamientoY = static_cast<float>(std::sin(phi) * r.fDesplazamiento);
  if (direction == 0.0f || direction == 180.0f || direction == 360.0f) r.fDesplazamientoX = 0.0f;
  if (direction == 270.0f) r.fDesplazamientoY = 0.0f;
  if (!PixelsAlong(shown.width, shown.widthMM, r.fDesplazamientoX, &r.nPixelesX) ||
      !PixelsAlong(shown.height, shown.heightMM, r.fDesplazamientoY, &r.nPixelesY))
    return rc::kTooLarge;

  const int moved = Translation(img, mode, r.nPixelesX, r.nPixelesY, background);
  if (moved == lamina::codes::translation::kTooLarge) return rc::kTooLarge;
  if (moved != 0) return rc::kNoMemory;
  *info = r;
  return 0;
}

int CalcularDesplazamientos(int distance, float angle, int monitor,
                            CLamina::InfoDesplazamientotag* info,
                            const display::DisplayFacts& facts) {
  namespace rc = lamina::codes::calcular_desplazamientos;
  if (distance < 0) return rc::kDistance;
  if (!(angle >= 0.0f && angle <= 60.0f)) return rc::kAngle;
  if (info == nullptr) return rc::kNoRecord;

  CLamina::InfoDesplazamientotag r = *info;
  Lengths(distance, angle, &r);
  const CLamina::InfoMonitorestag m = display::Report(facts);
  bool fits = true;
  if (monitor == 0) {
    fits = PixelsAlong(m.nResolucionX1, m.nTamanoX1, r.fDesplazamiento, &r.nPixelesX) &&
           PixelsAlong(m.nResolucionY1, m.nTamanoY1, r.fDesplazamiento, &r.nPixelesY);
  } else if (monitor == 1 && m.nMonitores >= 2) {
    fits = PixelsAlong(m.nResolucionX2, m.nTamanoX2, r.fDesplazamiento, &r.nPixelesX) &&
           PixelsAlong(m.nResolucionY2, m.nTamanoY2, r.fDesplazamiento, &r.nPixelesY);
  }
  if (!fits) return rc::kTooLarge;
  *info = r;
  return 0;
}

}  // namespace geometry
}  // namespace lamina

int CLamina::fnIMG_Translation(int mode, int dx, int dy, unsigned long background) {
  return lamina::geometry::Translation(*this, mode, dx, dy, background);
}

int CLamina::fnIMG_Translation(int mode, int distance, float angle, float direction,
                               unsigned long background, InfoDesplazamientotag* info) {
  return lamina::geometry::TranslationByLength(*this, mode, distance, angle, direction, background,
                                               info, lamina::display::ReadFacts());
}

int CLamina::fnIMG_CalcularDesplazamientos(int distance, float angle, int monitor,
                                           InfoDesplazamientotag* info) {
  return lamina::geometry::CalcularDesplazamientos(distance, angle, monitor, info,
                                                   lamina::display::ReadFacts());
}

int CLamina::fnIMG_TransfPixel(float u, float v, float& uOut, float& vOut) {
  if (u == 0.0f && v == 0.0f) {
    uOut = 0.0f;
    vOut = 0.0f;
    return 1;
  }
  const float r = std::sqrt(u * u + v * v);
  const float k = std::fabs(u) > std::fabs(v) ? std::fabs(r / u) : std::fabs(r / v);
  uOut = k * u;
  vOut = k * v;
  return 1;
}

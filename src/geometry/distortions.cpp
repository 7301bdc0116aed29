// The distortion effects: ellipse, undulation, spiral, inclination, mosaic and hoover (emboss,
// which filters, lives in emboss.cpp).
//
// They read and write pixel values (palette indices, or blue + green x 256 + red x 65536), so the
// fourth byte of a 32-bit pixel and the row padding keep their bytes; only the spiral, which
// resamples through the functional mapping, writes them (as 0). The ellipse, undulation and
// inclination write into a copy of the image (background-filled for the last two: the colour's
// palette index, all ones when the palette lacks it) that then takes the image's place as an
// assigned copy would (a compact block, the name kept); the mosaic and the hoover work in place.
// Each checks its arguments in a fixed order and, when it needs memory it cannot get, returns its
// last code with the image left as it was.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/image_builder.h"
#include "core/numeric.h"
#include "core/pixel_access.h"
#include "geometry/canvas.h"
#include "geometry/codes.h"
#include "geometry/mapping.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::NewImage;

namespace {

using u8 = std::uint8_t;
namespace codes = lamina::codes;

// A truncated coordinate lands inside [0, n) exactly when -1 < c < n (NaN never does).
inline bool LandsInside(double c, int n) { return c > -1.0 && c < n; }
inline bool LandsInside(float c, int n) { return c > -1.0f && c < static_cast<float>(n); }

// A copy of the image with every pixel set to the background, as filling it pixel by pixel with
// the colour (24, 32 bits) or its palette index (1, 4, 8 bits) leaves it.
NewImage BackgroundCopy(const ImageView& v, unsigned long background) {
  NewImage copy = lamina::canvas::CompactCopy(v);
  if (!copy.Ok()) return copy;
  const std::uint32_t bg = lamina::canvas::BackgroundValue(v, lamina::canvas::Quad(background));
  const ImageView c = copy.View();
  lamina::DispatchDepth(c.bpp,
                        [&](auto d) { lamina::canvas::FillPixels<decltype(d)::value>(c, bg); });
  return copy;
}

// The copy takes the image's place; the image keeps its name, and the stride the pixel setters
// would have noted.
void Install(NewImage& copy, CLamina& img) {
  copy.InstallInto(img);
  BlockAccess::NoteStride(img, BlockAccess::View(img));
}

// The disc-to-square map: the point keeps its direction and moves out until its larger
// coordinate equals its distance from the centre; single precision throughout.
inline void DiscToSquare(float u, float v, float& uOut, float& vOut) {
  if (u == 0.0f && v == 0.0f) {
    uOut = 0.0f;
    vOut = 0.0f;
    return;
  }
  const float r = std::sqrt(u * u + v * v);
  const float k = std::fabs(u) > std::fabs(v) ? std::fabs(r / u) : std::fabs(r / v);
  uOut = k * u;
  vOut = k * v;
}

// Draws a value 0 ... 32767 from the C library's generator, folding a wider range onto it.
int Draw() { return static_cast<int>(static_cast<unsigned>(std::rand()) % 32768u); }

}  // namespace

namespace lamina {
namespace geometry {

int Ellipse(CLamina& img) {
  const ImageView v = BlockAccess::View(img);
  if (!IsSupportedDepth(v.bpp)) return codes::ellipse::kDepth;
  NewImage copy = canvas::CompactCopy(v);
  if (!copy.Ok()) return codes::ellipse::kNoMemory;
  const int w = v.width, h = v.height;
  auto us = canvas::TryArray<float>(static_cast<std::size_t>(w));
  if (!us) return codes::ellipse::kNoMemory;
  if (w > 0 && h > 0) {
    const float cx = static_cast<float>(w * 0.5), cy = static_cast<float>(h * 0.5);
    const float ratio = static_cast<float>(h) / static_cast<float>(w);
    // Points outside the picture get the highest colour number: the last palette entry, or white.
    const std::uint32_t outside = static_cast<std::uint32_t>(ColourCount(*v.header) - 1);
    for (int x = 0; x < w; ++x) us[x] = (static_cast<float>(x) - cx) * ratio;
    const ImageView dst = copy.View();
    DispatchDepth(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      for (int y = h - 1; y >= 0; --y) {
        const float vy = static_cast<float>(y) - cy;
        u8* row = dst.Row(y);
        for (int x = 0; x < w; ++x) {
          float u2, v2;
          DiscToSquare(us[x], vy, u2, v2);
          const float sx = u2 / ratio + cx, sy = v2 + cy;
          const bool inside = LandsInside(sx, w) && LandsInside(sy, h);
          Px<B>::Set(
              row, x,
              inside ? Px<B>::Get(v.Row(static_cast<int>(sy)), static_cast<int>(sx)) : outside);
        }
      }
    });
  }
  Install(copy, img);
  return 0;
}

int Undulation(CLamina& img, int amplitude, int wavelength, int direction,
               unsigned long background) {
  if (static_cast<unsigned>(direction) > 1u) return codes::undulation::kDirection;
  const ImageView v = BlockAccess::View(img);
  if (!IsSupportedDepth(v.bpp)) return codes::undulation::kDepth;
  NewImage copy = BackgroundCopy(v, background);
  auto offsets = canvas::TryArray<double>(static_cast<std::size_t>(v.width));
  if (!copy.Ok() || !offsets) return codes::undulation::kNoMemory;
  // A wavelength of 0 makes every offset not a number (x / 0 is infinite or not a number, and so
  // is its sine): nothing lands anywhere and the image is all background.
  if (wavelength != 0) {
    for (int x = 0; x < v.width; ++x)
      offsets[x] = (std::sin(static_cast<double>(x) / wavelength) + 1.0) * amplitude;
    const ImageView dst = copy.View();
    DispatchDepth(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      // Within a column, rows from the top (down) or the bottom (up): a later row wins where two
      // land together.
      const int first = direction == 0 ? 0 : v.height - 1, step = direction == 0 ? 1 : -1;
      for (int y = first; y >= 0 && y < v.height; y += step) {
        const u8* src = v.Row(y);
        for (int x = 0; x < v.width; ++x) {
          const double to = direction == 0 ? y + offsets[x] : y - offsets[x];
          if (LandsInside(to, v.height))
            Px<B>::Set(dst.Row(static_cast<int>(to)), x, Px<B>::Get(src, x));
        }
      }
    });
  }
  Install(copy, img);
  return 0;
}

int Spiral(CLamina& img, double twist, int radius) {
  const ImageView v = BlockAccess::View(img);
  if (!IsSupportedDepth(v.bpp)) return codes::spiral::kDepth;
  if (!std::isfinite(twist)) return codes::spiral::kTwist;
  // No pixel lies within a radius of 0 or less: nothing turns (and (R - d) / R never divides by 0).
  if (radius <= 0) return 0;
  const int cx = v.width / 2, cy = v.height / 2;
  const double maxTurn = twist * 0.02741556778080377;
  const double r = radius;
  // Both coordinates of a pixel come from one angle: the column function, asked first, works it
  // out and the row function, asked next for the same pixel, takes its half.
  int sourceRow = 0;
  auto column = [&](int x, int y) {
    const double dx = x - cx, dy = y - cy;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d > r) {
      sourceRow = y;
      return x;
    }
    const double theta = (r - d) / r * maxTurn;
    const double c = std::cos(theta), s = std::sin(theta);
    sourceRow = numeric::SafeTrunc(s * dx + c * dy + cy);
    return numeric::SafeTrunc(c * dx - s * dy + cx);
  };
  auto row = [&](int, int) { return sourceRow; };
  if (!mapping::Transform(img, column, row)) return codes::spiral::kNoMemory;
  return 0;
}

int Inclination(CLamina& img, int kind, double amount, unsigned long background) {
  const ImageView v = BlockAccess::View(img);
  if (!IsSupportedDepth(v.bpp)) return codes::inclination::kDepth;
  if (static_cast<unsigned>(kind) > 9u) return codes::inclination::kKind;
  if (!(amount >= 0.0 && amount <= 100.0)) return codes::inclination::kAmount;
  NewImage copy = BackgroundCopy(v, background);
  if (!copy.Ok()) return codes::inclination::kNoMemory;
  const double k = kind <= 3 ? amount / 50 : amount / 100;
  const ImageView dst = copy.View();
  DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    auto carry = [&](int x, int y) {
      const double kx = k * x, ky = k * y;
      double tx = x, ty = y;
      switch (kind) {
        case 0:
          tx = x + ky;
          break;
        case 1:
          tx = x - ky;
          break;
        case 2:
          ty = y + kx;
          break;
        case 3:
          ty = y - kx;
          break;
        case 4:
          tx = x - ky;
          ty = y - kx;
          break;
        case 5:
          ty = y - ky;
          break;
        case 6:
          tx = x - ky;
          ty = y - ky;
          break;
        case 7:
          tx = x - kx;
          break;
        case 8:
          tx = x - kx;
          ty = y - kx;
          break;
        default:
          tx = x + ky;
          ty = y + kx;
          break;
      }
      if (LandsInside(tx, v.width) && LandsInside(ty, v.height))
        Px<B>::Set(dst.Row(static_cast<int>(ty)), static_cast<int>(tx), Px<B>::Get(v.Row(y), x));
    };
    // Pixels are taken column by column from the left, each column from the top, and a later
    // pixel wins. Where a kind keeps the row (0, 1, 7) two pixels can only meet within a row, and
    // where it keeps the column (2, 3, 5) only within a column; row by row from the top, each from
    // the left, meets them in the same order, and reads the picture the way it is stored.
    const bool rowWise = kind <= 3 || kind == 5 || kind == 7;
    if (rowWise) {
      for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) carry(x, y);
    } else {
      for (int x = 0; x < v.width; ++x)
        for (int y = 0; y < v.height; ++y) carry(x, y);
    }
  });
  Install(copy, img);
  return 0;
}

int Hoover(CLamina& img, int mode, int x, int y, int passes) {
  if (static_cast<unsigned>(mode) > 1u) return codes::hoover::kMode;
  const ImageView v = BlockAccess::View(img);
  if (x < 0 || y < 0 || x >= v.width || y >= v.height) return codes::hoover::kPoint;
  if (passes < 1) return codes::hoover::kPasses;
  if (!IsSupportedDepth(v.bpp)) return codes::hoover::kDepth;
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  const double cx = x, cy = y;
  DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    for (int pass = 0; pass < passes; ++pass)
      for (int sample = 0; sample < 50000; ++sample) {
        const double angle = (Draw() & 0x7FFF) * 6.28318 * 3.0517578125e-5;
        const int r = Draw() % v.width;
        const double c = std::cos(angle), s = std::sin(angle);
        const double px = c * r + cx, py = s * r + cy;
        if (!LandsInside(px, v.width) || !LandsInside(py, v.height)) continue;
        const double qx = c * (r - 1) + cx, qy = s * (r - 1) + cy;
        const bool qInside = LandsInside(qx, v.width) && LandsInside(qy, v.height);
        u8* pRow = v.Row(static_cast<int>(py));
        if (mode == 0) {
          if (qInside)
            Px<B>::Set(v.Row(static_cast<int>(qy)), static_cast<int>(qx),
                       Px<B>::Get(pRow, static_cast<int>(px)));
        } else {
          // A point outside reads as all ones.
          Px<B>::Set(pRow, static_cast<int>(px),
                     qInside ? Px<B>::Get(v.Row(static_cast<int>(qy)), static_cast<int>(qx))
                             : 0xFFFFFFFFu);
        }
      }
  });
  BlockAccess::NoteStride(img, v);
  return 0;
}

}  // namespace geometry
}  // namespace lamina

int CLamina::fnIMG_Ellipse() { return lamina::geometry::Ellipse(*this); }

int CLamina::fnIMG_Undulation(int amplitude, int wavelength, int direction,
                              unsigned long background) {
  return lamina::geometry::Undulation(*this, amplitude, wavelength, direction, background);
}

int CLamina::fnIMG_Spiral(double twist, int radius) {
  return lamina::geometry::Spiral(*this, twist, radius);
}

int CLamina::fnIMG_Inclination(int kind, double amount, unsigned long background) {
  return lamina::geometry::Inclination(*this, kind, amount, background);
}

int CLamina::fnIMG_Hoover(int mode, int x, int y, int passes) {
  return lamina::geometry::Hoover(*this, mode, x, y, passes);
}

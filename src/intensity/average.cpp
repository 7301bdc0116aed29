// Mean colour of one row, one column or the whole image. Sums are 64-bit, so even a 16-megapixel
// white image averages to 255 instead of overflowing.
#include <cstdint>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"
#include "intensity/codes.h"
#include "intensity/intensity.h"
#include "intensity/level_tables.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::Px;
namespace codes = lamina::codes;

namespace {

struct Sums {
  std::uint64_t index = 0, red = 0, green = 0, blue = 0;
  std::uint64_t count = 0;

  void AddPalette(const ImageView& v, std::uint32_t i, std::uint64_t n = 1) {
    const RGBQUAD e = v.Entry(i);
    index += i * n;
    red += e.rgbRed * n;
    green += e.rgbGreen * n;
    blue += e.rgbBlue * n;
    count += n;
  }
  void AddColour(const std::uint8_t* p) {
    blue += p[0];
    green += p[1];
    red += p[2];
    ++count;
  }
};

// Writes the mean colour (the fourth byte is left) and returns the mean index; an empty row,
// column or image has no mean, and gives black and 0 rather than a division by zero.
int Finish(const Sums& s, RGBQUAD* out, bool withIndex) {
  const std::uint64_t n = s.count;
  if (out != nullptr) {
    out->rgbRed = static_cast<BYTE>(n != 0 ? s.red / n : 0);
    out->rgbGreen = static_cast<BYTE>(n != 0 ? s.green / n : 0);
    out->rgbBlue = static_cast<BYTE>(n != 0 ? s.blue / n : 0);
  }
  if (!withIndex || n == 0) return 0;
  return static_cast<int>(s.index / n);
}

int Refuse(RGBQUAD* out) {
  if (out != nullptr) out->rgbRed = out->rgbGreen = out->rgbBlue = 0;
  return codes::average::kDepth;
}

}  // namespace

// The mean of row y: returns the mean index of a palette image (0 for true colour) and fills the
// mean colour. An unsupported depth sets the colour to black.
int CLamina::fnIMG_AverageRow(int y, RGBQUAD* mean) {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsSupportedDepth(v.bpp)) return Refuse(mean);
  if (y < 0 || y >= v.height) return codes::average::kOutside;
  Sums s;
  lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    const std::uint8_t* row = v.Row(y);
    for (int x = 0; x < v.width; ++x) {
      if constexpr (B <= 8)
        s.AddPalette(v, Px<B>::Get(row, x));
      else
        s.AddColour(row + static_cast<std::ptrdiff_t>(x) * (B / 8));
    }
  });
  lamina::intensity::NoteStride(*this, v);
  return Finish(s, mean, v.bpp <= 8);
}

// The mean of column x, as fnIMG_AverageRow.
int CLamina::fnIMG_AverageColumn(int x, RGBQUAD* mean) {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsSupportedDepth(v.bpp)) return Refuse(mean);
  if (x < 0 || x >= v.width) return codes::average::kOutside;
  Sums s;
  lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    for (int y = v.height - 1; y >= 0; --y) {
      const std::uint8_t* row = v.Row(y);
      if constexpr (B <= 8)
        s.AddPalette(v, Px<B>::Get(row, x));
      else
        s.AddColour(row + static_cast<std::ptrdiff_t>(x) * (B / 8));
    }
  });
  lamina::intensity::NoteStride(*this, v);
  return Finish(s, mean, v.bpp <= 8);
}

// The mean of the whole image. Palette images return the mean index; true-colour images return the
// mean of the packed values blue + green * 256 + red * 65536, summed in 64 bits.
namespace lamina {
namespace intensity {

int AverageImg(CLamina& img, RGBQUAD* mean) {
  const ImageView v = BlockAccess::View(img);
  if (!lamina::IsSupportedDepth(v.bpp)) return Refuse(mean);
  Sums s;
  if (v.bpp <= 8) {
    std::uint64_t counts[256];
    CountLevels(v, 0, counts);
    for (std::uint32_t i = 0; i < 256; ++i)
      if (counts[i] != 0) s.AddPalette(v, i, counts[i]);
    NoteStride(img, v);
    return Finish(s, mean, true);
  }
  const int bytes = v.bpp / 8;
  for (int y = v.height - 1; y >= 0; --y) {
    const std::uint8_t* p = v.Row(y);
    std::uint64_t b = 0, g = 0, r = 0;
    for (int x = 0; x < v.width; ++x, p += bytes) {
      b += p[0];
      g += p[1];
      r += p[2];
    }
    s.blue += b;
    s.green += g;
    s.red += r;
  }
  s.count = v.width > 0 && v.height > 0
                ? static_cast<std::uint64_t>(v.width) * static_cast<std::uint64_t>(v.height)
                : 0;
  // The packed value is linear in the channels, so its sum follows from theirs.
  s.index = s.blue + 256 * s.green + 65536 * s.red;
  NoteStride(img, v);
  return Finish(s, mean, true);
}

}  // namespace intensity
}  // namespace lamina

int CLamina::fnIMG_AverageImg(RGBQUAD* mean) { return lamina::intensity::AverageImg(*this, mean); }

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
// Result 0; 1 index above 4 (negative ones too); 2 unsupported depth; 3 the new image cannot be
// allocated, the image left as it was.
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::Px;

namespace {

using u8 = std::uint8_t;

void TwoLevelPalette(RGBQUAD* p) {
  p[0] = RGBQUAD{0, 0, 0, 0};
  p[1] = RGBQUAD{255, 255, 255, 0};
}

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
      TwoLevelPalette(two);
      GrayPalette(gray16, 16, 17);
      GrayPalette(gray256, 256, 1);
    }
  } tables;
  switch (bpp) {
    case 1: return tables.two;
    case 4: return tables.gray16;
    case 8: return tables.gray256;
    default: return nullptr;
  }
}

// A black-or-white decision on a colour: white when the integer mean of its channels reaches 128.
bool IsLight(unsigned blue, unsigned green, unsigned red) { return (red + green + blue) / 3 >= 128; }

// The new image under construction; it becomes this image's only when it is complete.
class Target {
 public:
  Target(const ImageView& src, int bpp)
      : image_(nullptr, FixedPalette(bpp), src.width, src.height, bpp) {}

  bool Ok() const { return BlockAccess::HasBlock(image_); }
  ImageView View() { return BlockAccess::View(image_); }
  void InstallInto(CLamina& self) {
    BlockAccess::Name(image_) = BlockAccess::Name(self);
    BlockAccess::TakeOver(self, image_);
  }

 private:
  CLamina image_;
};

// Fills a palette target from a palette source through a table over the source indices.
template <int S, int T>
void MapIndices(const ImageView& src, const ImageView& dst, const u8* map) {
  for (int y = 0; y < src.height; ++y) {
    const u8* s = src.Row(y);
    u8* d = dst.Row(y);
    if constexpr (T == 8) {
      for (int x = 0; x < src.width; ++x) d[x] = map[Px<S>::Get(s, x)];
    } else {
      for (int x = 0; x < src.width; ++x) {
        const std::uint32_t value = map[Px<S>::Get(s, x)];
        if (T == 4 || value != 0) Px<T>::Set(d, x, value);  // new rows start at zero
      }
    }
  }
}

// Copies the colours of a palette source into a 24 or 32-bit target: each pixel gets its palette
// entry (black for an index the palette does not hold, as fnIMG_GetRGBPixel reports it).
template <int S, int T>
void PaletteToTrueColour(const ImageView& src, const ImageView& dst) {
  std::uint32_t packed[256];
  for (std::uint32_t i = 0; i < 256; ++i) {
    const RGBQUAD e = src.Entry(i);
    packed[i] = std::uint32_t{e.rgbBlue} | (std::uint32_t{e.rgbGreen} << 8) |
                (std::uint32_t{e.rgbRed} << 16);
  }
  constexpr int kBytes = T / 8;
  for (int y = 0; y < src.height; ++y) {
    const u8* s = src.Row(y);
    u8* d = dst.Row(y);
    if constexpr (S == 8 && T == 24) {
      // Four bytes per pixel are written and the next pixel overwrites the fourth; the last pixel
      // writes exactly three, so the padding stays zero and nothing lands past the row.
      const int w = src.width;
      for (int x = 0; x + 1 < w; ++x) {
        const std::uint32_t v = packed[s[x]];
        const u8 bytes[4] = {static_cast<u8>(v), static_cast<u8>(v >> 8),
                             static_cast<u8>(v >> 16), 0};
        std::memcpy(d + 3 * x, bytes, 4);
      }
      if (w > 0) Px<24>::Set(d, w - 1, packed[s[w - 1]]);
    } else {
      for (int x = 0; x < src.width; ++x) Px<T>::Set(d, x, packed[Px<S>::Get(s, x)]);
    }
    (void)kBytes;
  }
}

// 24 <-> 32 bits: blue, green and red carried over; a new 32-bit pixel's fourth byte stays 0.
template <int S, int T>
void TrueToTrueColour(const ImageView& src, const ImageView& dst) {
  for (int y = 0; y < src.height; ++y) {
    const u8* s = src.Row(y);
    u8* d = dst.Row(y);
    for (int x = 0; x < src.width; ++x) {
      const u8* p = s + static_cast<std::ptrdiff_t>(x) * (S / 8);
      u8* q = d + static_cast<std::ptrdiff_t>(x) * (T / 8);
      q[0] = p[0];
      q[1] = p[1];
      q[2] = p[2];
    }
  }
}

// Two levels from a 24 or 32-bit source.
template <int S>
void ThresholdTrueColour(const ImageView& src, const ImageView& dst) {
  constexpr int kBytes = S / 8;
  for (int y = 0; y < src.height; ++y) {
    const u8* p = src.Row(y);
    u8* d = dst.Row(y);
    for (int x = 0; x < src.width; ++x, p += kBytes)
      if (IsLight(p[0], p[1], p[2])) Px<1>::Set(d, x, 1);
  }
}

// A 24 or 32-bit gray image onto the 16 or 256-level gray palette, from its red channel. Stops at
// the first row that holds a colour pixel and returns false; the target is then discarded.
template <int S, int T>
bool GrayTrueColourToPalette(const ImageView& src, const ImageView& dst) {
  constexpr int kBytes = S / 8;
  for (int y = 0; y < src.height; ++y) {
    const u8* p = src.Row(y);
    u8* d = dst.Row(y);
    unsigned colour = 0;
    if constexpr (T == 8 && S == 24) {
      for (int x = 0; x < src.width; ++x) {
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
  Target t(v, to);
  if (!t.Ok()) return 3;
  const ImageView d = t.View();
  lamina::DispatchDepth(v.bpp, [&](auto s) {
    constexpr int S = decltype(s)::value;
    if constexpr (S <= 8) {
      if (to == 24)
        PaletteToTrueColour<S, 24>(v, d);
      else
        PaletteToTrueColour<S, 32>(v, d);
    } else if constexpr (S == 24) {
      TrueToTrueColour<24, 32>(v, d);
    } else {
      TrueToTrueColour<32, 24>(v, d);
    }
  });
  t.InstallInto(self);
  return 0;
}

// A palette source onto a palette target through a per-index table.
int ConvertIndices(CLamina& self, const ImageView& v, int to, const u8* map) {
  Target t(v, to);
  if (!t.Ok()) return 3;
  const ImageView d = t.View();
  lamina::DispatchDepth(v.bpp, [&](auto s) {
    constexpr int S = decltype(s)::value;
    if constexpr (S <= 8) {
      if (to == 1)
        MapIndices<S, 1>(v, d, map);
      else if (to == 4)
        MapIndices<S, 4>(v, d, map);
      else
        MapIndices<S, 8>(v, d, map);
    }
  });
  t.InstallInto(self);
  return 0;
}

int ThresholdTrueColourImage(CLamina& self, const ImageView& v) {
  Target t(v, 1);
  if (!t.Ok()) return 3;
  if (v.bpp == 24)
    ThresholdTrueColour<24>(v, t.View());
  else
    ThresholdTrueColour<32>(v, t.View());
  t.InstallInto(self);
  return 0;
}

// 24 or 32 bits to 4 or 8: gray images go onto the gray palette; a colour 24-bit image stays as it
// is, a colour 32-bit one becomes its 24-bit copy.
int ReduceTrueColour(CLamina& self, const ImageView& v, int to) {
  bool gray = false;
  {
    Target t(v, to);
    if (!t.Ok()) return 3;
    const ImageView d = t.View();
    if (v.bpp == 24)
      gray = to == 8 ? GrayTrueColourToPalette<24, 8>(v, d) : GrayTrueColourToPalette<24, 4>(v, d);
    else
      gray = to == 8 ? GrayTrueColourToPalette<32, 8>(v, d) : GrayTrueColourToPalette<32, 4>(v, d);
    if (gray) {
      t.InstallInto(self);
      return 0;
    }
  }
  if (v.bpp == 24) return 0;
  return PromoteToTrueColour(self, v, 24);
}

}  // namespace

int CLamina::fnIMG_ChangeColorDepth(int depthIndex) {
  static const int kDepths[5] = {1, 4, 8, 24, 32};
  if (static_cast<unsigned>(depthIndex) > 4u) return 1;
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsSupportedDepth(v.bpp)) return 2;
  const int from = v.bpp;
  const int to = kDepths[depthIndex];
  if (from == to) return 0;

  if (to >= 24) return PromoteToTrueColour(*this, v, to);
  if (from >= 24) {
    if (to == 1) return ThresholdTrueColourImage(*this, v);
    return ReduceTrueColour(*this, v, to);
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
    if (fnIMG_IsGray() == 0) return PromoteToTrueColour(*this, v, 24);
    for (int i = 0; i < 16; ++i) map[i] = static_cast<u8>(i * 255 / 15);
  } else {  // 8 to 4
    if (fnIMG_IsGray() == 0) return 0;
    for (int i = 0; i < 256; ++i) map[i] = static_cast<u8>(i >> 4);
  }
  return ConvertIndices(*this, v, to, map);
}

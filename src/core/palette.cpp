// Palette access, gray ramps, the gray test and the pseudo-colour map.
#include "core/palette.h"

#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/codes.h"
#include "core/pixel_access.h"

using lamina::BlockAccess;
using lamina::ImageView;

int CLamina::fnIMG_GetPalette(RGBQUAD* palette) {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsPaletteDepth(v.bpp)) return lamina::codes::palette::kDepth;
  if (palette != nullptr && v.paletteEntries > 0)
    std::memcpy(palette, v.palette, static_cast<std::size_t>(v.paletteEntries) * 4);
  return 0;
}

int CLamina::fnIMG_SetPalette(const RGBQUAD* palette) {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsPaletteDepth(v.bpp)) return lamina::codes::palette::kDepth;
  lamina::SetPalette(v, palette);
  return 0;
}

int CLamina::fnIMG_GetPaletteSize() {
  const BITMAPINFOHEADER& h = BlockAccess::Header(*this);
  if (!lamina::IsPaletteDepth(h.biBitCount)) return lamina::codes::get_palette_size::kDepth;
  return static_cast<int>(4 * lamina::ColourCount(h));
}

int CLamina::fnIMG_GetPaletteIndex(RGBQUAD colour) {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsPaletteDepth(v.bpp)) return lamina::codes::get_palette_index::kDepth;
  for (int i = 0; i < v.paletteEntries; ++i) {
    const RGBQUAD& e = v.palette[i];
    if (e.rgbRed == colour.rgbRed && e.rgbGreen == colour.rgbGreen && e.rgbBlue == colour.rgbBlue)
      return i;
  }
  return lamina::codes::get_palette_index::kNoMatch;
}

int CLamina::fnIMG_SetGrayPalette() {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsPaletteDepth(v.bpp)) return lamina::codes::palette::kDepth;
  lamina::SetGrayRamp(v);
  return 0;
}

int CLamina::fnIMG_IsGray() { return lamina::IsGray(BlockAccess::View(*this)) ? 1 : 0; }

namespace lamina {

namespace {

// Stops at the first colour pixel; a gray image is read to its end.
template <int Bytes>
bool AllPixelsGray(const ImageView& v) {
  for (int y = v.height - 1; y >= 0; --y) {
    const std::uint8_t* p = v.Row(y);
    for (int x = 0; x < v.width; ++x, p += Bytes)
      if (p[0] != p[1] || p[0] != p[2]) return false;
  }
  return true;
}

}  // namespace

void SetPalette(const ImageView& v, const RGBQUAD* entries) {
  if (entries != nullptr && v.paletteEntries > 0)
    std::memmove(v.palette, entries, static_cast<std::size_t>(v.paletteEntries) * 4);
}

void SetGrayRamp(const ImageView& v) {
  const int n = v.paletteEntries;
  if (n <= 0) return;
  // A one-entry palette has no step; its single entry takes the ramp's first value, black.
  const int step = n > 1 ? 255 / (n - 1) : 0;
  for (int i = 0; i < n; ++i) {
    const BYTE g = static_cast<BYTE>(i * step);
    v.palette[i].rgbBlue = g;
    v.palette[i].rgbGreen = g;
    v.palette[i].rgbRed = g;
  }
}

bool IsGray(const ImageView& v) {
  if (IsPaletteDepth(v.bpp)) {
    for (int i = 0; i < v.paletteEntries; ++i) {
      const RGBQUAD& e = v.palette[i];
      if (e.rgbBlue != e.rgbGreen || e.rgbBlue != e.rgbRed) return false;
    }
    return true;
  }
  // 16 bits and images without a block have no colours to judge by.
  bool gray = false;
  DispatchDepth<kTrueColourDepthMask>(
      v.bpp, [&](auto d) { gray = AllPixelsGray<decltype(d)::value / 8>(v); });
  return gray;
}

}  // namespace lamina

namespace {
struct PseudoColourMap {
  BYTE red[256], green[256], blue[256];
  PseudoColourMap() {
    for (int v = 0; v < 256; ++v) {
      red[v] = static_cast<BYTE>(v < 128 ? 254 - 2 * v : 0);
      green[v] = static_cast<BYTE>(v < 128 ? 2 * v : 511 - 2 * v);
      blue[v] = static_cast<BYTE>(v < 128 ? 0 : 2 * v - 256);
    }
  }
  void Apply(BYTE& b, BYTE& g, BYTE& r) const {
    b = blue[b];
    g = green[g];
    r = red[r];
  }
};
}  // namespace

int CLamina::fnIMG_PseudoColor() {
  static const PseudoColourMap map;
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsSupportedDepth(v.bpp)) return lamina::codes::pseudo_color::kDepth;
  if (v.bpp <= 8) {
    for (int i = 0; i < v.paletteEntries; ++i)
      map.Apply(v.palette[i].rgbBlue, v.palette[i].rgbGreen, v.palette[i].rgbRed);
    return 0;
  }
  const int bytes = v.bpp / 8;
  for (int y = v.height - 1; y >= 0; --y) {
    std::uint8_t* p = v.Row(y);
    for (int x = 0; x < v.width; ++x, p += bytes) map.Apply(p[0], p[1], p[2]);
  }
  m_nAnchoAlineado = v.stride;
  return 0;
}

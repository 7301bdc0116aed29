// Small images for the intensity tests, built from literal rows written top-down, and a snapshot
// of a whole image block for "a failure leaves the image untouched" checks.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "CLamina.h"

namespace intensity_test {

using Rows = std::vector<std::vector<std::uint32_t>>;

inline std::vector<RGBQUAD> GrayRamp(int n) {
  std::vector<RGBQUAD> p(static_cast<std::size_t>(n));
  const int step = n > 1 ? 255 / (n - 1) : 0;
  for (int i = 0; i < n; ++i) {
    const BYTE g = static_cast<BYTE>(i * step);
    p[static_cast<std::size_t>(i)] = RGBQUAD{g, g, g, 0};
  }
  return p;
}

// An image whose pixel (x, y) is rows[y][x]: a palette index at 1, 4 and 8 bits (gray ramp palette
// unless one is given), blue + green * 256 + red * 65536 at 24 and 32 bits. Row padding is filled
// with 0xA5 so that tests see any write into it.
inline CLamina Make(int bpp, const Rows& rows, const std::vector<RGBQUAD>& palette = {}) {
  const int height = static_cast<int>(rows.size());
  const int width = height > 0 ? static_cast<int>(rows[0].size()) : 0;
  std::vector<RGBQUAD> pal = palette;
  if (bpp <= 8 && pal.empty()) pal = GrayRamp(1 << bpp);
  if (bpp <= 8) pal.resize(static_cast<std::size_t>(1) << bpp);
  CLamina img(nullptr, bpp <= 8 ? pal.data() : nullptr, width, height, bpp);
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  std::memset(p.lpBits, 0xA5, p.lpbmih->biSizeImage);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      img.fnIMG_SetPixel(x, y, rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
  return img;
}

inline std::uint32_t Rgb(int red, int green, int blue) {
  return static_cast<std::uint32_t>(blue) | (static_cast<std::uint32_t>(green) << 8) |
         (static_cast<std::uint32_t>(red) << 16);
}

// The pixels read back top-down through the public accessor.
inline Rows Pixels(CLamina& img) {
  Rows r(static_cast<std::size_t>(img.fnIMG_GetRows()));
  for (int y = 0; y < img.fnIMG_GetRows(); ++y)
    for (int x = 0; x < img.fnIMG_GetColumns(); ++x)
      r[static_cast<std::size_t>(y)].push_back(img.fnIMG_GetPixel(x, y));
  return r;
}

inline RGBQUAD Colour(CLamina& img, int x, int y) {
  RGBQUAD c{};
  img.fnIMG_GetRGBPixel(x, y, &c);
  return c;
}

inline RGBQUAD Entry(CLamina& img, int i) { return img.fnIMG_GetPointers().lpPalette[i]; }

// Everything an operation could change: the block's bytes (header, palette, rows, padding), the
// name and the cached stride.
struct Snapshot {
  std::vector<std::uint8_t> block;
  CString name;
  explicit Snapshot(CLamina& img) {
    const CLamina::Punteros p = img.fnIMG_GetPointers();
    const std::size_t end = static_cast<std::size_t>(p.lpBits - p.lpDib) + p.lpbmih->biSizeImage;
    block.assign(p.lpDib, p.lpDib + end);
    name = img.fnIMG_GetFileName() + L"." + img.fnIMG_GetFileExt();
  }
  bool operator==(const Snapshot& o) const { return block == o.block && name == o.name; }
};

inline bool Same(CLamina& a, const Snapshot& s) { return Snapshot(a) == s; }

// Sets the alpha byte of every 32-bit pixel, so tests can check it survives.
inline void FillAlpha(CLamina& img, unsigned char a) { img.fnIMG_SetAlfa(a); }

}  // namespace intensity_test

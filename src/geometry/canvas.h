// What the rotations, the scotoma zoom and the distortion effects share: the background colour as
// a pixel value, the working copy an effect writes into, and tables that report a lack of memory
// instead of throwing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "core/image_builder.h"
#include "core/pixel_access.h"

namespace lamina {
namespace canvas {

// A packed colour (red in bits 0-7, green 8-15, blue 16-23) as the RGBQUAD the geometric
// operations fill with; bits 24-31 are ignored and the reserved byte is 0.
inline RGBQUAD Quad(unsigned long rgb) {
  return RGBQUAD{static_cast<BYTE>(rgb >> 16), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb),
                 0};
}

// The first palette entry whose blue, green and red equal the colour's, or -1.
inline int PaletteIndex(const ImageView& v, RGBQUAD c) {
  for (int i = 0; i < v.paletteEntries; ++i) {
    const RGBQUAD& e = v.palette[i];
    if (e.rgbRed == c.rgbRed && e.rgbGreen == c.rgbGreen && e.rgbBlue == c.rgbBlue) return i;
  }
  return -1;
}

// The value a background pixel is written with through Px<B>::Set: at 1, 4 and 8 bits the
// palette index of the colour (-1, all ones, when the palette lacks it; Set cuts it to the depth),
// at 24 and 32 bits the colour's blue, green and red, which is what writing the RGBQUAD stores.
inline std::uint32_t BackgroundValue(const ImageView& v, RGBQUAD c) {
  if (v.bpp <= 8) return static_cast<std::uint32_t>(PaletteIndex(v, c));
  return std::uint32_t{c.rgbBlue} | (std::uint32_t{c.rgbGreen} << 8) |
         (std::uint32_t{c.rgbRed} << 16);
}

// The size of the block assigning the image to another object gives: a 40-byte header, the
// palette the image holds, then biSizeImage bytes of rows.
inline std::size_t CompactBytes(const ImageView& v) {
  return 40 + 4 * static_cast<std::size_t>(v.paletteEntries) + v.header->biSizeImage;
}

// Writes that block's contents into `copy` (CompactBytes(v) bytes).
inline void WriteCompact(const ImageView& v, std::uint8_t* copy) {
  const std::size_t paletteBytes = 4 * static_cast<std::size_t>(v.paletteEntries);
  std::memcpy(copy, v.header, 40);
  if (paletteBytes > 0) std::memcpy(copy + 40, v.palette, paletteBytes);
  std::memcpy(copy + 40 + paletteBytes, v.bits, v.header->biSizeImage);
}

// The copy assignment makes of the image. Not Ok() when memory is short.
inline NewImage CompactCopy(const ImageView& v) {
  const std::size_t paletteBytes = 4 * static_cast<std::size_t>(v.paletteEntries);
  NewImage copy = NewImage::Raw(CompactBytes(v), 40 + paletteBytes, false);
  if (copy.Ok()) WriteCompact(v, copy.Block());
  return copy;
}

// Every pixel of depth B set to `value` as the pixel setter stores it: padding, the unused bits of
// a 1 or 4-bit row and the fourth byte of 32-bit pixels keep their bytes.
template <int B>
void FillPixels(const ImageView& v, std::uint32_t value) {
  for (int y = v.height - 1; y >= 0; --y) {
    std::uint8_t* row = v.Row(y);
    if constexpr (B == 8) {
      std::memset(row, static_cast<int>(value & 0xFFu), static_cast<std::size_t>(v.width));
    } else {
      for (int x = 0; x < v.width; ++x) Px<B>::Set(row, x, value);
    }
  }
}

// An array of n values, or null when memory is short (never an exception out of the library).
template <class T>
std::unique_ptr<T[]> TryArray(std::size_t n) {
  return std::unique_ptr<T[]>(new (std::nothrow) T[n == 0 ? 1 : n]);
}

}  // namespace canvas
}  // namespace lamina

// Resampling by coordinate functions: the work of `transformation`, as a template so that the
// spiral effect runs the same loop with its own functions inlined. For each destination pixel,
// rows from the top and columns from the left, the column function and then the row function are
// asked for the source pixel, which is read from the image as it was before the call; the result
// is built aside and copied over the pixel rows at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"
#include "geometry/canvas.h"

namespace lamina {
namespace mapping {

// Source pixels outside the image give black at 24 and 32 bits and the all-ones index at 1, 4 and
// 8 bits. Everything the sampling does not produce is 0: the row padding, the bits after the last
// pixel of a 1 or 4-bit row, the fourth byte of 32-bit pixels and any bytes biSizeImage counts past
// the rows. On a depth without pixel access (16 bits) the functions are still asked for every pixel
// and the pixels are left as they were. Returns false, with the image unchanged, when there is no
// memory for the result; true otherwise. An exception from a function leaves the image unchanged.
template <class FX, class FY>
bool Transform(CLamina& img, FX&& sourceColumn, FY&& sourceRow) {
  const ImageView v = BlockAccess::View(img);
  if (v.width <= 0 || v.height <= 0) return true;
  if (!IsSupportedDepth(v.bpp)) {
    for (int y = 0; y < v.height; ++y)
      for (int x = 0; x < v.width; ++x) {
        (void)sourceColumn(x, y);
        (void)sourceRow(x, y);
      }
    return true;
  }
  const std::size_t stride = static_cast<std::size_t>(v.stride);
  const std::size_t rowsBytes = stride * static_cast<std::size_t>(v.height);
  auto result = canvas::TryArray<std::uint8_t>(rowsBytes);
  if (!result) return false;
  const unsigned width = static_cast<unsigned>(v.width), height = static_cast<unsigned>(v.height);
  DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    for (int y = 0; y < v.height; ++y) {
      std::uint8_t* row = result.get() + stride * static_cast<std::size_t>(v.height - 1 - y);
      if constexpr (B < 8) {
        std::memset(row, 0, stride);
      } else {
        const std::size_t used = static_cast<std::size_t>(v.width) * (B / 8);
        std::memset(row + used, 0, stride - used);
      }
      for (int x = 0; x < v.width; ++x) {
        const int sx = sourceColumn(x, y);
        const int sy = sourceRow(x, y);
        const bool inside = static_cast<unsigned>(sx) < width && static_cast<unsigned>(sy) < height;
        if constexpr (B <= 8) {
          // The low byte of the index, or 255 outside, stored cut to the depth.
          Px<B>::Set(row, x, inside ? Px<B>::Get(v.Row(sy), sx) & 0xFFu : 0xFFu);
        } else if constexpr (B == 24) {
          Px<24>::Set(row, x, inside ? Px<24>::Get(v.Row(sy), sx) : 0u);
        } else {
          const std::uint32_t p = inside ? Px<32>::Get(v.Row(sy), sx) : 0u;
          std::memcpy(row + 4 * static_cast<std::size_t>(x), &p, 4);
        }
      }
    }
  });
  std::memcpy(v.bits, result.get(), rowsBytes);
  if (v.header->biSizeImage > rowsBytes)
    std::memset(v.bits + rowsBytes, 0, v.header->biSizeImage - rowsBytes);
  BlockAccess::NoteStride(img, v);
  return true;
}

}  // namespace mapping
}  // namespace lamina

// fnIMG_Crop: keeps the inclusive rectangle (x1, y1)-(x2, y2), rows counted from the top.
//
// The result is a new image of the same depth with the image's own palette and the data
// constructor's header (biClrUsed = levels, zero resolutions), whose pixels are carried over as
// values; the image keeps its file name. The rectangle must lie inside the image with x1 < x2 and
// y1 < y2 (so the smallest crop is 2 x 2). Result codes: geometry/codes.h (crop); without memory
// the image is left as it was.
#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/image_builder.h"
#include "core/pixel_access.h"
#include "geometry/carry.h"
#include "geometry/codes.h"
#include "geometry/geometry.h"

using lamina::BlockAccess;
using lamina::ImageView;
namespace codes = lamina::codes;

namespace {

// The crop done inside the image's own block, when the result's block is a prefix of it: whole-byte
// depths, a compact block whose palette already has the result's entry count. Every kept row moves
// down to its new place (a new row never starts after its old one, so moving rows in storage order
// never overwrites a row still to be moved); the header becomes the data constructor's, the padding
// and the fourth byte of 32-bit pixels 0, and the block is cut to its new size. The bytes are those
// a new image would have, without allocating and filling a second block.
bool CropInPlace(CLamina& img, const ImageView& v, int x1, int y1, int width, int height) {
  if (v.bpp < 8) return false;
  const std::int64_t entries = lamina::Levels(v.bpp) <= 256 ? lamina::Levels(v.bpp) : 0;
  std::uint8_t* block = BlockAccess::Block(img);
  const std::size_t bitsOffset = 40 + 4 * static_cast<std::size_t>(entries);
  if (v.paletteEntries != entries || v.bits != block + bitsOffset) return false;
  const std::size_t bytesPerPixel = static_cast<std::size_t>(v.bpp / 8);
  const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
  const std::size_t stride = static_cast<std::size_t>(lamina::Stride64(width, v.bpp));
  const std::size_t offset = static_cast<std::size_t>(x1) * bytesPerPixel;
  // Stored (bottom-up) index of the lowest kept row.
  const std::size_t firstRow = static_cast<std::size_t>(v.height - 1 - (y1 + height - 1));
  for (std::size_t k = 0; k < static_cast<std::size_t>(height); ++k) {
    std::uint8_t* dst = v.bits + k * stride;
    const std::uint8_t* src = v.bits + (firstRow + k) * static_cast<std::size_t>(v.stride) + offset;
    if (v.bpp == 32) {
      // Blue, green and red move, the fourth byte becomes 0. Copying forwards a word at a time is
      // safe although the rows may overlap: a row never moves to a higher address.
      std::size_t i = 0;
      for (; i + 8 <= rowBytes; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, src + i, 8);
        w &= 0x00FFFFFF00FFFFFFull;
        std::memcpy(dst + i, &w, 8);
      }
      for (; i < rowBytes; ++i) dst[i] = (i & 3) == 3 ? 0 : src[i];
    } else {
      std::memmove(dst, src, rowBytes);
    }
    std::memset(dst + rowBytes, 0, stride - rowBytes);
  }
  const BITMAPINFOHEADER h = lamina::ConstructorHeader(width, height, v.bpp);
  std::memcpy(block, &h, sizeof h);
  BlockAccess::Shrink(img, bitsOffset + h.biSizeImage);
  BlockAccess::CachedStride(img) = static_cast<int>(stride);
  return true;
}

}  // namespace

namespace lamina {
namespace geometry {

int Crop(CLamina& img, int x1, int y1, int x2, int y2) {
  const ImageView v = BlockAccess::View(img);
  if (!(x1 >= 0 && y1 >= 0 && x1 < x2 && y1 < y2 && x2 < v.width && y2 < v.height))
    return codes::crop::kRectangle;
  if (!lamina::IsSupportedDepth(v.bpp)) return codes::crop::kDepth;

  // x2 - x1 + 1 cannot overflow: both lie in [0, width).
  const int width = x2 - x1 + 1;
  const int height = y2 - y1 + 1;
  if (CropInPlace(img, v, x1, y1, width, height)) return 0;
  RGBQUAD palette[256];
  lamina::PaletteFrom(v, v.bpp, palette);
  // Every pixel of the new image is carried over below (32-bit pixels with their fourth byte 0),
  // so the builder clears only what follows them.
  lamina::NewImage out(width, height, v.bpp, palette, lamina::NewRows::kPixelsWritten);
  if (!out.Ok()) return codes::crop::kNoMemory;
  const ImageView r = out.View();
  lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    for (int y = height - 1; y >= 0; --y) lamina::carry::CopyRun<B>(r.Row(y), v.Row(y1 + y), x1, width);
  });
  // The image keeps its name; the rest is what assigning the new image would leave.
  out.InstallInto(img);
  return 0;
}

}  // namespace geometry
}  // namespace lamina

int CLamina::fnIMG_Crop(int x1, int y1, int x2, int y2) {
  return lamina::geometry::Crop(*this, x1, y1, x2, y2);
}

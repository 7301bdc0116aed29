// fnIMG_Crop: keeps the inclusive rectangle (x1, y1)-(x2, y2), rows counted from the top.
//
// The result is a new image of the same depth with the image's own palette and the data
// constructor's header (biClrUsed = levels, zero resolutions), whose pixels are carried over as
// values; the image keeps its file name. Result 0; 1 when the rectangle is not inside the image
// with x1 < x2 and y1 < y2 (so the smallest crop is 2 x 2); 2 for an unsupported depth; 3 when the
// new image cannot be allocated (the image is left as it was).
#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"
#include "geometry/carry.h"

using lamina::BlockAccess;
using lamina::ImageView;

int CLamina::fnIMG_Crop(int x1, int y1, int x2, int y2) {
  const ImageView v = BlockAccess::View(*this);
  if (!(x1 >= 0 && y1 >= 0 && x1 < x2 && y1 < y2 && x2 < v.width && y2 < v.height)) return 1;
  if (!lamina::IsSupportedDepth(v.bpp)) return 2;

  // x2 - x1 + 1 cannot overflow: both lie in [0, width).
  const int width = x2 - x1 + 1;
  const int height = y2 - y1 + 1;
  RGBQUAD palette[256];
  lamina::carry::PaletteFrom(v, v.bpp, palette);
  // At 8, 24 and 32 bits every byte of a kept row is written below (the fourth byte of a 32-bit
  // pixel as 0, the padding as 0), so the new block need not be zero-filled first; at 1 and 4 bits
  // pixels are merged into bytes and the block starts zeroed, as the data constructor makes it.
  const bool wholeBytes = v.bpp >= 8;
  std::uint8_t* block =
      BlockAccess::NewCompact(width, height, v.bpp, v.bpp <= 8 ? palette : nullptr, !wholeBytes);
  if (block == nullptr) return 3;
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block);
  const std::size_t bitsOffset = 40 + 4 * static_cast<std::size_t>(lamina::PaletteEntries(*header));
  const ImageView r = lamina::MakeView(
      header, v.bpp <= 8 ? reinterpret_cast<RGBQUAD*>(block + 40) : nullptr, block + bitsOffset);
  const std::size_t rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(v.bpp / 8);
  lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    for (int y = height - 1; y >= 0; --y) {
      std::uint8_t* row = r.Row(y);
      lamina::carry::CopyRun<B>(row, v.Row(y1 + y), x1, width);
      if (wholeBytes) std::memset(row + rowBytes, 0, static_cast<std::size_t>(r.stride) - rowBytes);
    }
  });
  // The image keeps its name; the rest is what assigning the new image would leave.
  BlockAccess::Adopt(*this, block, bitsOffset);
  m_nAnchoAlineado = r.stride;
  return 0;
}

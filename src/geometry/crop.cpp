// fnIMG_Crop: keeps the inclusive rectangle (x1, y1)-(x2, y2), rows counted from the top.
//
// The result is a new image of the same depth with the image's own palette and the data
// constructor's header (biClrUsed = levels, zero resolutions), whose pixels are carried over as
// values; the image keeps its file name. Result 0; 1 when the rectangle is not inside the image
// with x1 < x2 and y1 < y2 (so the smallest crop is 2 x 2); 2 for an unsupported depth; 3 when the
// new image cannot be allocated (the image is left as it was).
#include <cstring>

#include <emmintrin.h>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"
#include "geometry/carry.h"

using lamina::BlockAccess;
using lamina::ImageView;

namespace {

// Copies n bytes, storing around the cache: a crop's new rows are not read again here, and writing
// them through the cache would first read every destination line in.
void StreamCopy(std::uint8_t* dst, const std::uint8_t* src, std::size_t n) {
  std::size_t i = 0;
  while (i < n && (reinterpret_cast<std::uintptr_t>(dst + i) & 15u) != 0) {
    dst[i] = src[i];
    ++i;
  }
  for (; i + 16 <= n; i += 16)
    _mm_stream_si128(reinterpret_cast<__m128i*>(dst + i),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)));
  for (; i < n; ++i) dst[i] = src[i];
}

}  // namespace

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
    // Large crops at 8 and 24 bits go around the cache; the rest copies pixel runs.
    constexpr bool kContiguous = B == 8 || B == 24;
    const bool stream = kContiguous && rowBytes * static_cast<std::size_t>(height) >= (1u << 22);
    for (int y = height - 1; y >= 0; --y) {
      std::uint8_t* row = r.Row(y);
      if (stream)
        StreamCopy(row, v.Row(y1 + y) + static_cast<std::size_t>(x1) * (B / 8), rowBytes);
      else
        lamina::carry::CopyRun<B>(row, v.Row(y1 + y), x1, width);
      if (wholeBytes) std::memset(row + rowBytes, 0, static_cast<std::size_t>(r.stride) - rowBytes);
    }
  });
  _mm_sfence();  // the streamed rows are in memory before the block changes hands
  // The image keeps its name; the rest is what assigning the new image would leave.
  BlockAccess::Adopt(*this, block, bitsOffset);
  m_nAnchoAlineado = r.stride;
  return 0;
}

// fnIMG_Crop: keeps the inclusive rectangle (x1, y1)-(x2, y2), rows counted from the top.
//
// The result is a new image of the same depth with the image's own palette and the data
// constructor's header (biClrUsed = levels, zero resolutions), whose pixels are carried over as
// values; the image keeps its file name. Result 0; 1 when the rectangle is not inside the image
// with x1 < x2 and y1 < y2 (so the smallest crop is 2 x 2); 2 for an unsupported depth; 3 when the
// new image cannot be allocated (the image is left as it was).
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
  CLamina result(nullptr, v.bpp <= 8 ? palette : nullptr, width, height, v.bpp);
  if (!BlockAccess::HasBlock(result)) return 3;

  const ImageView r = BlockAccess::View(result);
  lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    for (int y = 0; y < height; ++y) lamina::carry::CopyRun<B>(r.Row(y), v.Row(y1 + y), x1, width);
  });
  BlockAccess::Name(result) = m_strFileName;
  BlockAccess::TakeOver(*this, result);
  return 0;
}

// fnIMG_Emboss: a relief look for palette images of 4 and 8 bits. Each pixel from row 1 and column
// d on becomes its index plus half the colour count minus the index of the pixel d columns to its
// left in a 5 x 5 mean-filtered copy (filter 19, mapping 0, border 2), limited to 0 ... n - 1; row
// 0 and the first d columns keep their indices. The result takes the image's place as an assigned
// copy would (a compact block, the name kept). Result 0; 2 for a depth other than 4 or 8 (checked
// first); 1 for a distance other than 1, 3 or 5; 3 when the copies cannot be allocated (the image
// is left as it was).
#include <cstdint>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/image_builder.h"
#include "core/pixel_access.h"
#include "geometry/canvas.h"
#include "geometry/codes.h"
#include "neighbourhood/neighbourhood.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::NewImage;

namespace lamina {
namespace geometry {

int Emboss(CLamina& img, int distance) {
  namespace ec = codes::emboss;
  const ImageView v = BlockAccess::View(img);
  if (v.bpp != 4 && v.bpp != 8) return ec::kDepth;
  if (distance != 1 && distance != 3 && distance != 5) return ec::kDistance;

  const std::int64_t n = ColourCount(*v.header);
  const std::int64_t half = n / 2;
  // The filtered copy, in an object of its own for the filter to work on.
  CLamina filtered(nullptr, nullptr, 0, 0, 0);
  NewImage copy = canvas::CompactCopy(v);
  if (!copy.Ok()) return ec::kNoMemory;
  copy.InstallInto(filtered);
  // The filter's arguments are valid at 4 and 8 bits: only a lack of memory can refuse them.
  if (neighbourhood::Filters(filtered, 19, 0, 2) != 0) return ec::kNoMemory;
  NewImage out = canvas::CompactCopy(v);
  if (!out.Ok()) return ec::kNoMemory;

  const ImageView a = BlockAccess::View(filtered);
  const ImageView b = out.View();
  DispatchDepth<DepthBit(4) | DepthBit(8)>(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    for (int y = 1; y < v.height && y < a.height; ++y) {
      const std::uint8_t* src = v.Row(y);
      const std::uint8_t* left = a.Row(y);
      std::uint8_t* dst = b.Row(y);
      for (int x = distance; x < v.width && x - distance < a.width; ++x) {
        const std::int64_t f = Px<B>::Get(left, x - distance) & 0xFFu;
        std::int64_t value = static_cast<std::int64_t>(Px<B>::Get(src, x) & 0xFFu) + half - f;
        value = value < 0 ? 0 : (value > n - 1 ? n - 1 : value);
        Px<B>::Set(dst, x, static_cast<std::uint32_t>(value));
      }
    }
  });
  out.InstallInto(img);
  BlockAccess::NoteStride(img, BlockAccess::View(img));
  return 0;
}

}  // namespace geometry
}  // namespace lamina

int CLamina::fnIMG_Emboss(int distance) { return lamina::geometry::Emboss(*this, distance); }

// mapBitmap and transformation: changing the image through caller-supplied functions of the
// pixel position instead of pixel loops.
//
// mapBitmap sets every pixel, rows from the top and columns from the left, to what the function
// returns for it, right after asking: blue, green and red at 24 and 32 bits (the fourth byte
// stays), the red byte as the index at 1, 4 and 8 bits (cut to the depth). On a 16-bit image the
// function is asked for every pixel and nothing is written. An empty function object throws
// std::bad_function_call as soon as it is asked, which happens only when the image has pixels.
//
// transformation resamples the image by inverse mapping (geometry/mapping.h): true when done,
// false when there was no memory for the result, in which case the image is unchanged.
#include "geometry/mapping.h"

#include <functional>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"

using lamina::BlockAccess;
using lamina::ImageView;

void CLamina::mapBitmap(std::function<RGBQUAD(int, int)> colourAt) {
  const ImageView v = BlockAccess::View(*this);
  if (v.width <= 0 || v.height <= 0) return;
  const bool written = lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    for (int y = 0; y < v.height; ++y) {
      std::uint8_t* row = v.Row(y);
      for (int x = 0; x < v.width; ++x) {
        const RGBQUAD q = colourAt(x, y);
        if constexpr (B <= 8)
          lamina::Px<B>::Set(row, x, q.rgbRed);
        else
          lamina::Px<B>::SetRGB(row, x, q);
      }
    }
  });
  if (written) {
    BlockAccess::NoteStride(*this, v);
    return;
  }
  for (int y = 0; y < v.height; ++y)
    for (int x = 0; x < v.width; ++x) (void)colourAt(x, y);
}

bool CLamina::transformation(std::function<int(int, int)> sourceColumn,
                             std::function<int(int, int)> sourceRow) {
  return lamina::mapping::Transform(*this, sourceColumn, sourceRow);
}

// fnIMG_Scaling: nearest-neighbour resizing by two factors (unit 0) or to a width and height in
// pixels (unit 1), anchored at the bottom-left pixel.
//
// Rows are counted from the bottom, as they lie in the block: destination row r takes source row
// min(fnRound(r / fy), H - 1) and destination column c source column min(fnRound(c / fx), W - 1),
// each quotient formed in single precision. The result has the image's depth and palette, the data
// constructor's header and the image's name; 32-bit pixels carry their blue, green and red with a
// fourth byte 0, and the row padding is 0. Result 0; 1 for a value below 0 or not a finite number;
// 2 for a unit other than 0 or 1; 3 for a 16-bit image or an object without an image (the data
// constructor cannot build their result); 4 when the result would not fit in memory or in the
// header's 32-bit fields. A refused call leaves the image as it was.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/image_builder.h"
#include "core/numeric.h"
#include "core/pixel_access.h"
#include "geometry/canvas.h"
#include "geometry/codes.h"
#include "geometry/geometry.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::NewImage;

namespace {

namespace sc = lamina::codes::scaling;
using u8 = std::uint8_t;

// Source index of each destination index: min(fnRound(i / f), last), the quotient in single
// precision and rounded as a double.
void SourceIndices(int* out, int n, float f, int last) {
  for (int i = 0; i < n; ++i) {
    const int q = lamina::numeric::fnRound(static_cast<double>(static_cast<float>(i) / f));
    out[i] = q < last ? q : last;
  }
}

// One destination row from the source row `src` by the column table.
template <int B>
void ScaleRow(u8* dst, const u8* src, const int* cols, int n) {
  if constexpr (B == 8) {
    for (int c = 0; c < n; ++c) dst[c] = src[cols[c]];
  } else if constexpr (B == 24) {
    for (int c = 0; c < n; ++c) {
      const u8* p = src + 3 * static_cast<std::size_t>(cols[c]);
      u8* q = dst + 3 * static_cast<std::size_t>(c);
      q[0] = p[0];
      q[1] = p[1];
      q[2] = p[2];
    }
  } else if constexpr (B == 32) {
    // Blue, green and red; the fourth byte 0.
    for (int c = 0; c < n; ++c) {
      const std::uint32_t p = lamina::Px<32>::Get(src, cols[c]);
      std::memcpy(dst + 4 * static_cast<std::size_t>(c), &p, 4);
    }
  } else {
    for (int c = 0; c < n; ++c) lamina::Px<B>::Set(dst, c, lamina::Px<B>::Get(src, cols[c]));
  }
}

}  // namespace

namespace lamina {
namespace geometry {

int Scaling(CLamina& img, float horizontal, float vertical, int unit) {
  // Written so that NaN fails too; an infinite value is no size either.
  if (!(horizontal >= 0.0f) || !(vertical >= 0.0f) || std::isinf(horizontal) ||
      std::isinf(vertical))
    return sc::kValue;
  if (unit != 0 && unit != 1) return sc::kUnit;
  const ImageView v = BlockAccess::View(img);
  if (!IsSupportedDepth(v.bpp)) return sc::kDepth;

  float fx = horizontal, fy = vertical;
  if (unit == 1) {
    // An image 0 pixels wide (or high) stays so whatever the factor: never divide by its 0.
    fx = v.width > 0 ? horizontal / static_cast<float>(v.width) : 0.0f;
    fy = v.height > 0 ? vertical / static_cast<float>(v.height) : 0.0f;
  }
  const int newWidth = numeric::fnRound(static_cast<double>(static_cast<float>(v.width) * fx));
  const int newHeight = numeric::fnRound(static_cast<double>(static_cast<float>(v.height) * fy));
  RGBQUAD palette[256];
  PaletteFrom(v, v.bpp, palette);
  // Whole-byte pixels are all written below; sub-byte ones are set bit by bit into zeroed rows.
  NewImage out(newWidth, newHeight, v.bpp, palette,
               v.bpp >= 8 ? NewRows::kPixelsWritten : NewRows::kZero);
  if (!out.Ok()) return sc::kTooLarge;
  if (newWidth > 0 && newHeight > 0) {
    // A width above 0 needs W >= 1 and fx > 0, so every quotient is a number.
    auto cols = canvas::TryArray<int>(static_cast<std::size_t>(newWidth));
    auto rows = canvas::TryArray<int>(static_cast<std::size_t>(newHeight));
    if (!cols || !rows) return sc::kTooLarge;
    SourceIndices(cols.get(), newWidth, fx, v.width - 1);
    SourceIndices(rows.get(), newHeight, fy, v.height - 1);
    const ImageView dst = out.View();
    const std::size_t stride = static_cast<std::size_t>(dst.stride);
    DispatchDepth(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      // Row r from the bottom is stored r strides into the rows. Enlarging repeats source rows: a
      // row equal to the one below it is copied whole.
      for (int r = 0; r < newHeight; ++r) {
        u8* row = dst.bits + stride * static_cast<std::size_t>(r);
        if (r > 0 && rows[r] == rows[r - 1]) {
          std::memcpy(row, row - stride, stride);
          continue;
        }
        const u8* src =
            v.bits + static_cast<std::size_t>(v.stride) * static_cast<std::size_t>(rows[r]);
        ScaleRow<B>(row, src, cols.get(), newWidth);
      }
    });
  }
  out.InstallInto(img);
  return 0;
}

}  // namespace geometry
}  // namespace lamina

int CLamina::fnIMG_Scaling(float horizontal, float vertical, int unit) {
  return lamina::geometry::Scaling(*this, horizontal, vertical, unit);
}

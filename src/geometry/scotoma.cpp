// fnIMG_ScotomaZoom: opens a band through a point of the picture, down the picture at a column
// (orientation 0) or across it at a row (orientation 1). The two sides move apart, pushed outward
// (room 0: what crosses the border is lost) or squeezed into the room left by resampling (room 1:
// nothing is lost), and the band is painted with a colour (fill 0) or with the split line repeated
// (fill 1).
//
// Orientation 0 changes only the rows of the stretch (from `nearReach` rows above the point to
// `farReach` rows below it). Its moves carry whole pixels, all bytes of a 32-bit pixel included; at
// 1 and 4 bits they carry the pixels bit by bit. Orientation 1 moves whole rows with the picture
// turned upside down (flip mode 1) around the moves, so that they run in top-down order: since the
// flip carries only pixel bits (and whole rows at 8 bits), what lies beside the pixels in a row
// (padding, the fourth bytes of 32-bit pixels) follows the rows as turning, moving and turning back
// leaves it. The squeezed sides are crops of the image resampled by the scaling, whose 32-bit
// pixels carry a fourth byte 0; the squeezed result takes the place of the image as an assigned
// copy would (a compact block).
//
// Result 0; 1 orientation neither 0 nor 1; 2 the band or the reach leaves the image, or a width or
// reach is negative; 3 room neither 0 nor 1; 4 fill neither 0 nor 1; 5 depth not 1, 4, 8, 24, 32;
// 6 not enough memory for the copies (the image is left as it was).
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/image_builder.h"
#include "core/pixel_access.h"
#include "geometry/canvas.h"
#include "geometry/codes.h"
#include "geometry/geometry.h"
#include "lamina/memory.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::NewImage;

namespace {

namespace sz = lamina::codes::scotoma;
using u8 = std::uint8_t;

// Moves n pixels of depth B from column `from` of `src` to column `to` of `dst`; the rows may be
// the same row, with the ranges overlapping.
template <int B>
void MovePixels(u8* dst, int to, const u8* src, int from, int n) {
  if (n <= 0) return;
  if constexpr (B >= 8) {
    constexpr std::size_t kBytes = B / 8;
    std::memmove(dst + kBytes * static_cast<std::size_t>(to),
                 src + kBytes * static_cast<std::size_t>(from),
                 kBytes * static_cast<std::size_t>(n));
  } else if (dst == src && to > from) {
    for (int i = n - 1; i >= 0; --i)
      lamina::Px<B>::Set(dst, to + i, lamina::Px<B>::Get(src, from + i));
  } else {
    for (int i = 0; i < n; ++i) lamina::Px<B>::Set(dst, to + i, lamina::Px<B>::Get(src, from + i));
  }
}

// A side for the squeeze: the image cropped to the rectangle, or the whole image where the crop
// refuses a rectangle one pixel wide or high, resampled to `width` x `height`. False when memory
// is short.
bool Side(const ImageView& v, int x1, int y1, int x2, int y2, int width, int height,
          CLamina& side) {
  NewImage copy = lamina::canvas::CompactCopy(v);
  if (!copy.Ok()) return false;
  copy.InstallInto(side);
  if (lamina::geometry::Crop(side, x1, y1, x2, y2) == 3) return false;
  return lamina::geometry::Scaling(side, static_cast<float>(width), static_cast<float>(height),
                                   1) == 0;
}

bool IsCompact(const ImageView& v) {
  const u8* block = reinterpret_cast<const u8*>(v.header);
  return v.bits == block + 40 + 4 * static_cast<std::size_t>(v.paletteEntries) &&
         GlobalSize(GlobalHandle(block)) == lamina::canvas::CompactBytes(v);
}

struct Band {
  int orientation, x, y, nearWidth, farWidth, top, bottom;
};

// Orientation 0, rows of the stretch: columns 0 .. x - nearWidth - 1 take the pixels from
// nearWidth on, columns x + farWidth .. W - 1 the pixels from x on.
template <int B>
void PushColumns(const ImageView& v, const Band& b) {
  for (int r = b.top; r <= b.bottom; ++r) {
    u8* row = v.Row(r);
    MovePixels<B>(row, 0, row, b.nearWidth, b.x - b.nearWidth);
    MovePixels<B>(row, b.x + b.farWidth, row, b.x, v.width - b.x - b.farWidth);
  }
}

// Orientation 1 on the turned image: stored rows 0 .. y - nearWidth - 1 take the rows from
// nearWidth on, stored rows y + farWidth .. H - 1 the rows from y on.
void PushRows(const ImageView& v, const Band& b) {
  const std::size_t stride = static_cast<std::size_t>(v.stride);
  u8* bits = v.bits;
  std::memmove(bits, bits + stride * static_cast<std::size_t>(b.nearWidth),
               stride * static_cast<std::size_t>(b.y - b.nearWidth));
  std::memmove(bits + stride * static_cast<std::size_t>(b.y + b.farWidth),
               bits + stride * static_cast<std::size_t>(b.y),
               stride * static_cast<std::size_t>(v.height - b.y - b.farWidth));
}

// Orientation 0, rows of the stretch: the left side into columns 0 .. x - nearWidth - 1 and the
// right side into columns x + farWidth .. W - 1, row r from row r - top of each side.
template <int B>
void SqueezeColumns(const ImageView& v, const Band& b, const ImageView& left,
                    const ImageView& right) {
  for (int r = b.top; r <= b.bottom; ++r) {
    u8* row = v.Row(r);
    const int k = r - b.top;
    if (k < left.height)
      MovePixels<B>(row, 0, left.Row(k), 0, std::min(b.x - b.nearWidth, left.width));
    if (k < right.height)
      MovePixels<B>(row, b.x + b.farWidth, right.Row(k), 0,
                    std::min(v.width - b.x - b.farWidth, right.width));
  }
}

// Orientation 1 on the turned image and the turned sides: stored rows 0 .. y - nearWidth - 1 from
// the upper side, stored rows y + farWidth .. H - 1 from the lower side, whole rows.
void SqueezeRows(const ImageView& v, const Band& b, const ImageView& upper,
                 const ImageView& lower) {
  const std::size_t stride = static_cast<std::size_t>(v.stride);
  auto copyRows = [&](int to, const ImageView& side, int count) {
    count = std::min(count, side.height);
    const std::size_t bytes = std::min(stride, static_cast<std::size_t>(side.stride));
    for (int k = 0; k < count; ++k)
      std::memcpy(v.bits + stride * static_cast<std::size_t>(to + k),
                  side.bits + static_cast<std::size_t>(side.stride) * static_cast<std::size_t>(k),
                  bytes);
  };
  copyRows(0, upper, b.y - b.nearWidth);
  copyRows(b.y + b.farWidth, lower, v.height - b.y - b.farWidth);
}

// The band painted with `value`, or with the split line as it was (`split`: the column x of the
// stretch's rows, or the row y).
template <int B>
void FillBand(const ImageView& v, const Band& b, bool repeat, std::uint32_t value,
              const std::uint32_t* split) {
  if (b.orientation == 0) {
    for (int r = b.top; r <= b.bottom; ++r) {
      u8* row = v.Row(r);
      const std::uint32_t p = repeat ? split[r - b.top] : value;
      for (int c = b.x - b.nearWidth; c < b.x + b.farWidth; ++c) lamina::Px<B>::Set(row, c, p);
    }
  } else {
    for (int r = b.y - b.nearWidth; r < b.y + b.farWidth; ++r) {
      u8* row = v.Row(r);
      for (int c = 0; c < v.width; ++c) lamina::Px<B>::Set(row, c, repeat ? split[c] : value);
    }
  }
}

}  // namespace

namespace lamina {
namespace geometry {

int ScotomaZoom(CLamina& img, int orientation, int x, int y, int nearWidth, int farWidth,
                int farReach, int nearReach, int room, int fill, unsigned long colour) {
  if (static_cast<unsigned>(orientation) > 1u) return sz::kOrientation;
  const ImageView v = BlockAccess::View(img);
  {
    // 64-bit: no sum or difference of the arguments can overflow.
    const std::int64_t across = orientation == 0 ? x : y, along = orientation == 0 ? y : x;
    const std::int64_t span = orientation == 0 ? v.width : v.height;
    const std::int64_t length = orientation == 0 ? v.height : v.width;
    if (nearWidth < 0 || farWidth < 0 || farReach < 0 || nearReach < 0 || across - nearWidth < 0 ||
        across + farWidth > span - 1 || along - nearReach < 0 || along + farReach > length - 1)
      return sz::kGeometry;
  }
  if (static_cast<unsigned>(room) > 1u) return sz::kRoom;
  if (static_cast<unsigned>(fill) > 1u) return sz::kFill;
  if (!IsSupportedDepth(v.bpp)) return sz::kDepth;

  const Band b{orientation,
               x,
               y,
               nearWidth,
               farWidth,
               orientation == 0 ? y - nearReach : 0,
               orientation == 0 ? y + farReach : v.height - 1};
  const std::uint32_t paint = canvas::BackgroundValue(v, canvas::Quad(colour));
  // The split line as it is before anything moves.
  auto split = canvas::TryArray<std::uint32_t>(
      static_cast<std::size_t>(orientation == 0 ? b.bottom - b.top + 1 : v.width));
  if (!split) return sz::kNoMemory;
  if (fill == 1) {
    DispatchDepth(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      if (orientation == 0)
        for (int r = b.top; r <= b.bottom; ++r) split[r - b.top] = Px<B>::Get(v.Row(r), x);
      else
        for (int c = 0; c < v.width; ++c) split[c] = Px<B>::Get(v.Row(y), c);
    });
  }

  if (room == 0) {
    if (orientation == 0) {
      DispatchDepth(v.bpp, [&](auto d) { PushColumns<decltype(d)::value>(v, b); });
    } else {
      Flip(img, 1);
      PushRows(v, b);
      Flip(img, 1);
    }
  } else {
    // Everything that needs memory comes first, so that a shortage leaves the image untouched.
    // Two holders without a block of their own until their copies arrive.
    CLamina near(nullptr, nullptr, 0, 0, 0), far(nullptr, nullptr, 0, 0, 0);
    const bool sides =
        orientation == 0
            ? Side(v, 0, b.top, x - 1, b.bottom, x - nearWidth, b.bottom - b.top + 1, near) &&
                  Side(v, x, b.top, v.width - 1, b.bottom, v.width - x - farWidth,
                       b.bottom - b.top + 1, far)
            : Side(v, 0, 0, v.width - 1, y - 1, v.width, y - nearWidth, near) &&
                  Side(v, 0, y, v.width - 1, v.height - 1, v.width, v.height - y - farWidth, far);
    if (!sides) return sz::kNoMemory;
    NewImage compact = IsCompact(v) ? NewImage::Raw(0, 0, false)
                                    : NewImage::Raw(canvas::CompactBytes(v),
                                                    40 + 4 * std::size_t(v.paletteEntries), false);
    if (!IsCompact(v) && !compact.Ok()) return sz::kNoMemory;
    if (orientation == 0) {
      const ImageView left = BlockAccess::View(near), right = BlockAccess::View(far);
      DispatchDepth(v.bpp, [&](auto d) { SqueezeColumns<decltype(d)::value>(v, b, left, right); });
    } else {
      Flip(near, 1);
      Flip(far, 1);
      Flip(img, 1);
      SqueezeRows(v, b, BlockAccess::View(near), BlockAccess::View(far));
      Flip(img, 1);
    }
    DispatchDepth(
        v.bpp, [&](auto d) { FillBand<decltype(d)::value>(v, b, fill == 1, paint, split.get()); });
    // The result replaces the image as an assigned copy: in a compact block.
    if (compact.Ok()) {
      canvas::WriteCompact(v, compact.Block());
      compact.InstallInto(img);
    }
    BlockAccess::NoteStride(img, BlockAccess::View(img));
    return 0;
  }
  DispatchDepth(v.bpp,
                [&](auto d) { FillBand<decltype(d)::value>(v, b, fill == 1, paint, split.get()); });
  BlockAccess::NoteStride(img, v);
  return 0;
}

}  // namespace geometry
}  // namespace lamina

int CLamina::fnIMG_ScotomaZoom(int orientation, int x, int y, int nearWidth, int farWidth,
                               int farReach, int nearReach, int room, int fill,
                               unsigned long colour) {
  return lamina::geometry::ScotomaZoom(*this, orientation, x, y, nearWidth, farWidth, farReach,
                                       nearReach, room, fill, colour);
}

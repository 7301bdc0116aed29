// fnIMG_Interlace builds the image from two others by alternating their rows (mode 0) or columns
// (mode 1); fnIMG_DeInterlace keeps every second row or column of the image.
//
// Both make a new image with the data constructor's header and carry pixels over as values, so a
// 32-bit result has its fourth bytes 0. An interlaced image takes its palette from this object
// (entries it cannot supply get the constructor's (i, i, i, 0)) and the constructor's default name;
// a de-interlaced image keeps its palette and its name.
#include <climits>
#include <cstdint>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/image_builder.h"
#include "core/pixel_access.h"
#include "geometry/carry.h"
#include "geometry/codes.h"

using lamina::BlockAccess;
using lamina::ImageView;
namespace codes = lamina::codes;
namespace carry = lamina::carry;

namespace {

// Rows: A's and B's rows alternate while both have rows; the taller one's surplus follows.
template <int B>
void InterlaceRows(const ImageView& out, const ImageView& a, const ImageView& b) {
  const int common = a.height < b.height ? a.height : b.height;
  for (int k = 0; k < common; ++k) {
    carry::CopyRun<B>(out.Row(2 * k), a.Row(k), 0, a.width);
    carry::CopyRun<B>(out.Row(2 * k + 1), b.Row(k), 0, a.width);
  }
  for (int k = common; k < a.height; ++k)
    carry::CopyRun<B>(out.Row(common + k), a.Row(k), 0, a.width);
  for (int k = common; k < b.height; ++k)
    carry::CopyRun<B>(out.Row(common + k), b.Row(k), 0, a.width);
}

// Columns: the same across each row.
template <int B>
void InterlaceColumns(const ImageView& out, const ImageView& a, const ImageView& b) {
  const int common = a.width < b.width ? a.width : b.width;
  for (int y = a.height - 1; y >= 0; --y) {
    std::uint8_t* row = out.Row(y);
    const std::uint8_t* ra = a.Row(y);
    const std::uint8_t* rb = b.Row(y);
    if constexpr (B == 8) {
      // One pass writing each pair: the compiler interleaves whole vectors, where two strided
      // passes wrote every other byte of the row twice over.
      for (int i = 0; i < common; ++i) {
        row[2 * i] = ra[i];
        row[2 * i + 1] = rb[i];
      }
    } else {
      carry::CopySpread<B>(row, 0, 2, ra, 0, 1, common);
      carry::CopySpread<B>(row, 1, 2, rb, 0, 1, common);
    }
    carry::CopySpread<B>(row, 2 * common, 1, ra, common, 1, a.width - common);
    carry::CopySpread<B>(row, 2 * common, 1, rb, common, 1, b.width - common);
  }
}

}  // namespace

// Result codes: geometry/codes.h (interlace); the depths of A, B and this object are checked, and
// a result that cannot be allocated (too large, or memory short) leaves the object as it was.
int CLamina::fnIMG_Interlace(int mode, CLamina* first, CLamina* second) {
  if (static_cast<unsigned>(mode) > 1u) return codes::interlace::kMode;
  if (first == nullptr || second == nullptr) return codes::interlace::kNullImage;
  const ImageView a = BlockAccess::View(*first);
  const ImageView b = BlockAccess::View(*second);
  const ImageView self = BlockAccess::View(*this);
  if (!lamina::IsSupportedDepth(a.bpp) || !lamina::IsSupportedDepth(b.bpp) ||
      !lamina::IsSupportedDepth(self.bpp))
    return codes::interlace::kDepth;
  if (a.bpp != b.bpp) return codes::interlace::kDepthsDiffer;
  if (mode == 0 && a.width != b.width) return codes::interlace::kWidthsDiffer;
  if (mode == 1 && a.height != b.height) return codes::interlace::kHeightsDiffer;

  const std::int64_t width = mode == 0 ? a.width : std::int64_t{a.width} + b.width;
  const std::int64_t height = mode == 0 ? std::int64_t{a.height} + b.height : a.height;
  if (width > INT_MAX || height > INT_MAX) return codes::interlace::kNoMemory;
  RGBQUAD palette[256];
  lamina::PaletteFrom(self, a.bpp, palette);
  lamina::NewImage result(static_cast<int>(width), static_cast<int>(height), a.bpp, palette);
  if (!result.Ok()) return codes::interlace::kNoMemory;

  const ImageView out = result.View();
  lamina::DispatchDepth(a.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    if (mode == 0)
      InterlaceRows<B>(out, a, b);
    else
      InterlaceColumns<B>(out, a, b);
  });
  // The result has the name the data constructor gives a new image.
  result.InstallInto(*this, CString(lamina::kDefaultImageName));
  return 0;
}

// Result codes: geometry/codes.h (de_interlace); without memory the image is left as it was.
int CLamina::fnIMG_DeInterlace(int mode, int field) {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsSupportedDepth(v.bpp)) return codes::de_interlace::kDepth;
  if (static_cast<unsigned>(mode) > 1u) return codes::de_interlace::kMode;
  if (field != 1 && field != 2) return codes::de_interlace::kField;

  // Field 1 keeps the even rows or columns counted from 0 (one more when the count is odd), field
  // 2 the odd ones.
  const int first = field - 1;
  const int kept = mode == 0 ? (v.height / 2 + (field == 1 ? v.height % 2 : 0))
                             : (v.width / 2 + (field == 1 ? v.width % 2 : 0));
  const int width = mode == 0 ? v.width : kept;
  const int height = mode == 0 ? kept : v.height;
  RGBQUAD palette[256];
  lamina::PaletteFrom(v, v.bpp, palette);
  lamina::NewImage result(width, height, v.bpp, palette);
  if (!result.Ok()) return codes::de_interlace::kNoMemory;

  const ImageView out = result.View();
  lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    if (mode == 0) {
      for (int y = height - 1; y >= 0; --y)
        carry::CopyRun<B>(out.Row(y), v.Row(2 * y + first), 0, width);
    } else {
      for (int y = height - 1; y >= 0; --y)
        carry::CopySpread<B>(out.Row(y), 0, 1, v.Row(y), first, 2, width);
    }
  });
  result.InstallInto(*this);
  return 0;
}

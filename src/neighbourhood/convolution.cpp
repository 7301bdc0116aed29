// fnIMG_Convolution and the engine behind every linear filter.
//
// The route the interface defines pads a larger copy of the image (with the value 255, or with five
// shifted copies of itself), convolves a copy of that, and crops the padding away. Here the working
// values (the index, or the red byte) are read once, row by row, into a ring of extended rows that
// already holds the padding (core/bordered_rows.h), 32-bit sums are formed over row pointers, and
// each result row is mapped and written once. The bytes are those of that route:
// - border 0 works on the image's block made compact, as the copy-and-assign leaves it;
// - borders 1 and 2 leave the image the crop makes: the data constructor's header, the palette
//   extended by the constructor's ramp, the fourth byte of 32-bit pixels 0.
// Where that route goes wrong this keeps to what it means: an image one pixel wide or high
// keeps its size under borders 1 and 2 (the crop would refuse and leave it enlarged), pad pixels
// no shifted copy covers hold 0 (the new image's zero bytes), the image keeps its name, and sums
// that leave 32 bits wrap as two's complement.
#include <algorithm>
#include <climits>
#include <new>
#include <optional>
#include <vector>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/bordered_rows.h"
#include "core/pixel_access.h"
#include "neighbourhood/codes.h"
#include "neighbourhood/engine.h"
#include "neighbourhood/kernel_rows.h"
#include "neighbourhood/neighbourhood.h"
#include "neighbourhood/results.h"
#include "neighbourhood/row_ops.h"

namespace lamina {
namespace neighbourhood {
namespace detail {
namespace {

// What fnIMG_SetPixel keeps of a palette image's value.
std::uint8_t KeptIndex(int bpp, std::int64_t v) {
  return static_cast<std::uint8_t>(bpp == 4 ? (v & 15) : (v & 255));
}

// The pixels a border-0 pass leaves unfiltered, after the filtered ones are written: a gradient
// pair adds each to itself (the plain addition of the two copies), a compass turns a colour pixel
// into the gray of its red byte (the accumulator receives the working value), a palette frame
// stays as it is.
void FinishFrame(const ImageView& v, Combine how, std::int64_t top, int x0, int x1, int y0,
                 int y1) {
  const bool any = x0 < x1 && y0 < y1;
  for (int y = 0; y < v.height; ++y) {
    std::uint8_t* row = v.Row(y);
    const bool inside = any && y >= y0 && y < y1;
    for (int x = 0; x < v.width; ++x) {
      if (inside && x == x0) x = x1;
      if (x >= v.width) break;
      if (v.bpp <= 8) {
        if (how != Combine::kSaturatingSum) continue;
        const std::int64_t a = v.bpp == 4 ? Px<4>::Get(row, x) : Px<8>::Get(row, x);
        const std::uint8_t k = KeptIndex(v.bpp, std::min(2 * a, top));
        if (v.bpp == 4)
          Px<4>::Set(row, x, k);
        else
          Px<8>::Set(row, x, k);
        continue;
      }
      std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * (v.bpp / 8);
      if (how == Combine::kSaturatingSum) {
        for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(std::min(2 * p[c], 255));
      } else {
        p[0] = p[1] = p[2];
      }
    }
  }
}

}  // namespace

bool RunKernels(CLamina& img, const int* const* kernels, int count, int size, int divisor,
                int mapping, int border, Combine how) {
  const ImageView original = BlockAccess::View(img);
  const int width = original.width, height = original.height, bpp = original.bpp;
  if (width <= 0 || height <= 0) return true;
  const int r = size >= 2 ? size / 2 : 0;
  const int after = size >= 1 ? size - 1 - r : 0;  // the window's reach right and down
  if (border != 0 && (std::int64_t{width} + 2 * std::int64_t{r} > INT_MAX ||
                      std::int64_t{height} + 2 * std::int64_t{r} > INT_MAX))
    return false;
  // The computed pixels: with border 0 those whose window lies inside (x from r to width - r - 1),
  // with a pad all of them.
  int x0 = 0, x1 = width, y0 = 0, y1 = height;
  if (border == 0) {
    x0 = y0 = r;
    x1 = width - r;
    y1 = height - r;
  }
  const bool any = x0 < x1 && y0 < y1;
  const int n = any ? x1 - x0 : 0;
  // A compass writes into a copy of the image as it was, whatever the border; so does any filter
  // with border 0. Otherwise the result is the padded-and-cropped fresh image.
  const bool fresh = border != 0 && how != Combine::kMaximum;
  const Border rule =
      border == 0 ? Border::kFrame : (border == 1 ? Border::kConstant : Border::kShifted);
  // The pad value 255 as its working value: index 15 at 4 bits (the setter keeps the low
  // nibble), 255 at 8 bits, and the red byte 0 of blue 255, green 0, red 0 at 24 and 32 bits.
  const std::uint8_t outside = border == 1 ? (bpp == 4 ? 15 : (bpp == 8 ? 255 : 0)) : 0;
  const Margins margins{r, after, r, after};
  const int ceiling = bpp == 4 ? 15 : 255;

  try {
    std::optional<Compacted> compact;
    std::optional<FreshTarget> target;
    ImageView source = original, out = original;
    if (fresh) {
      target.emplace(img);
      if (!target->Ok()) return false;
      out = target->View();
    } else {
      compact.emplace(img);
      if (!compact->Ok()) return false;
      source = out = compact->View();
    }
    std::vector<KernelRows> sums;
    std::vector<Mapping> maps;
    sums.reserve(static_cast<std::size_t>(count));
    maps.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
      sums.emplace_back(kernels[k], size);
      sums.back().Reserve(n);
      maps.emplace_back(mapping, divisor, ceiling, sums.back().bound());
    }
    const bool stretch = mapping == 0 && any;
    std::optional<BorderedRows> first;
    if (stretch) {
      first.emplace(source, 2, rule, margins, outside, r);
      if (!first->Ok()) return false;
    }
    BorderedRows rows(source, 2, rule, margins, outside, r);
    if (!rows.Ok()) return false;
    std::vector<std::int32_t> s(static_cast<std::size_t>(n) + 1);
    std::vector<std::uint8_t> u(static_cast<std::size_t>(n) + 1), result(u), pending(u);

    // Nothing can fail from here on.
    if (compact) compact->Install(img);

    if (stretch) {
      // The stretch needs the extremes of every sum first (both start at 0).
      std::vector<std::int32_t> lo(static_cast<std::size_t>(count), 0), hi(lo);
      for (int y = y0; y < y1; ++y) {
        const std::uint8_t* const* w = first->Window(y);
        for (int k = 0; k < count; ++k) {
          sums[k].Sums(w, x0, n, s.data());
          Extremes(s.data(), n, lo[k], hi[k]);
        }
      }
      for (int k = 0; k < count; ++k) maps[k].SetExtremes(lo[k], hi[k]);
    }

    // A pair's sum is limited as the plain addition limits it: by the image's colour count less
    // one at 4 and 8 bits (after a padded pass the fresh header's), by 255 per channel.
    // (The image's own header is read through `out`: the block `original` saw may be gone.)
    std::int64_t top = 255;
    if (bpp <= 8) top = fresh ? Levels(bpp) - 1 : ColourCount(*out.header) - 1;

    for (int y = y0; any && y < y1; ++y) {
      const std::uint8_t* const* w = rows.Window(y);
      for (int k = 0; k < count; ++k) {
        std::uint8_t* dst = (how == Combine::kOne || k == 0) ? result.data() : u.data();
        const int done = sums[k].MappedWords(w, x0, n, maps[k], dst);
        if (done < n) {
          sums[k].Sums(w, x0 + done, n - done, s.data());
          maps[k].Map(s.data(), n - done, dst + done);
        }
        if (k == 0 || how == Combine::kOne) continue;
        if (how == Combine::kMaximum) {
          Largest(result.data(), u.data(), n);
        } else if (top >= 0 && top <= 255) {
          SumLimited(result.data(), u.data(), n, static_cast<unsigned>(top));
        } else {
          for (int i = 0; i < n; ++i)
            result[i] = KeptIndex(bpp, std::min<std::int64_t>(result[i] + u[i], top));
        }
      }
      // A result row goes back one row late: with an even window the shifted pad of the next
      // extended row still reads the image row above it.
      if (y > y0) WriteValues(out.Row(y - 1), bpp, x0, n, pending.data(), fresh);
      pending.swap(result);
    }
    if (any) WriteValues(out.Row(y1 - 1), bpp, x0, n, pending.data(), fresh);
    if (!fresh && how != Combine::kOne) FinishFrame(out, how, top, x0, x1, y0, y1);
    if (fresh)
      target->Finish(img);
    else
      BlockAccess::NoteStride(img, out);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace detail

int Convolution(CLamina& img, int* kernel, int size, int divisor, int mapping, int border) {
  namespace rc = codes::convolution;
  const ImageView v = BlockAccess::View(img);
  if (!InMask(kLevelDepthMask, v.bpp)) return rc::kDepth;
  if (divisor == 0) return rc::kDivisor;
  if (static_cast<unsigned>(mapping) > 2u) return rc::kMapping;
  if (static_cast<unsigned>(border) > 2u) return rc::kBorder;
  if (kernel == nullptr && size >= 1) return rc::kNoKernel;
  const int* kernels[] = {kernel};
  if (!detail::RunKernels(img, kernels, 1, size, divisor, mapping, border, detail::Combine::kOne))
    return rc::kNoMemory;
  return 0;
}

}  // namespace neighbourhood
}  // namespace lamina

int CLamina::fnIMG_Convolution(int* kernel, int size, int divisor, int mapping, int border) {
  return lamina::neighbourhood::Convolution(*this, kernel, size, divisor, mapping, border);
}

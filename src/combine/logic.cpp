// fnIMG_Logic, fnIMG_SetOps and fnIMG_GetDifferentPixels: bitwise and set-like combinations of the
// pixel values as fnIMG_GetPixel reads them (indices, or 24-bit colours), written back as
// fnIMG_SetPixel keeps them (the depth's low bits; at 1 bit any non-zero value sets the pixel; the
// fourth byte of a 32-bit pixel unchanged), and a count of differing values.
//
// Two images of one depth combine whole rows byte by byte (a bitwise operation on packed pixels is
// the operation on each pixel); other pairs go pixel by pixel.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "CLamina.h"
#include "combine/byte_rows.h"
#include "combine/codes.h"
#include "combine/combine.h"
#include "core/block_access.h"
#include "core/codes.h"
#include "core/pixel_access.h"
#include "geometry/geometry.h"
#include "intensity/intensity.h"

namespace lamina {
namespace combine {
namespace {

using detail::ByteOp;

// The value fnIMG_GetPixel gives for pixel x of a row of `v`: its depth sentinel for a depth it
// refuses.
template <int S>
std::uint32_t ValueOf(const std::uint8_t* row, int x) {
  if constexpr (S == 0)
    return static_cast<std::uint32_t>(codes::get_pixel::kDepth.value);
  else
    return Px<S>::Get(row, x);
}

// Calls f(Depth<S>) for the second image's depth, or f(Depth<0>) when the accessors refuse it.
template <class F>
void DispatchSecond(int bpp, F&& f) {
  if (!DispatchDepth(bpp, f)) f(Depth<0>{});
}

// The value a logic operation writes into an image of depth B, before the setter keeps its bits.
template <int B>
std::uint32_t LogicValue(int op, std::uint32_t a, std::uint32_t b) {
  if constexpr (B == 1) {
    // Each step masked to the lowest bit, except the exclusive or, masked to a byte.
    switch (op) {
      case 0:
        return (~a) & 1u;
      case 1:
        return (a & b) & 1u;
      case 2:
        return (a | b) & 1u;
      case 3:
        return (a ^ b) & 255u;
      case 4:
        return (~((a & b) & 1u)) & 1u;
      default:
        return (~((a | b) & 1u)) & 1u;
    }
  } else {
    // Not-and and not-or write the and (or) first and then negate what was stored; the stored
    // value keeps the low bits the negation keeps as well, so one negation gives the same bits.
    switch (op) {
      case 0:
        return ~a;
      case 1:
        return a & b;
      case 2:
        return a | b;
      case 3:
        return a ^ b;
      case 4:
        return ~(a & b);
      default:
        return ~(a | b);
    }
  }
}

ByteOp LogicOp(int op) {
  static const ByteOp ops[] = {ByteOp::kNot, ByteOp::kAnd,  ByteOp::kOr,
                               ByteOp::kXor, ByteOp::kNand, ByteOp::kNor};
  return ops[op];
}

// Whole bytes of a row for two images of one depth: the packed pixels of 1 and 4 bits that fill
// their bytes, the bytes of the others (the fourth byte of 32-bit pixels kept); the columns left
// over go pixel by pixel. Returns the first column not done.
int SameDepthRow(ByteOp op, int bpp, std::uint8_t* a, const std::uint8_t* b, int w) {
  const int perByte = bpp < 8 ? 8 / bpp : 1;
  const int bytesPerPixel = bpp >= 8 ? bpp / 8 : 1;
  const int pixels = bpp < 8 ? (w / perByte) * perByte : w;
  const std::size_t bytes =
      bpp < 8 ? static_cast<std::size_t>(w / perByte) : static_cast<std::size_t>(w) * bytesPerPixel;
  detail::CombineBytes(op, 255, a, b, bytes, bpp == 32);
  return pixels;
}

}  // namespace

int Logic(CLamina& img, int operation, CLamina* second) {
  namespace rc = codes::logic;
  if (static_cast<unsigned>(operation) > 5u) return rc::kOperation;
  if (operation != 0 && second == nullptr) return rc::kNoSecond;
  const ImageView v = BlockAccess::View(img);
  // An image the pixel accessors refuse is left as it is.
  if (!IsSupportedDepth(v.bpp)) return 0;
  const ImageView s = operation == 0 ? v : BlockAccess::View(*second);
  const int w = operation == 0 ? v.width : std::min(v.width, s.width);
  const int h = operation == 0 ? v.height : std::min(v.height, s.height);
  if (w <= 0 || h <= 0) return 0;
  const bool whole = operation == 0 || s.bpp == v.bpp;
  DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    const int secondBpp = operation == 0 ? B : s.bpp;
    DispatchSecond(secondBpp, [&](auto e) {
      constexpr int S = decltype(e)::value;
      for (int y = h - 1; y >= 0; --y) {
        std::uint8_t* ra = v.Row(y);
        const std::uint8_t* rb = operation == 0 ? ra : s.Row(y);
        int x = whole ? SameDepthRow(LogicOp(operation), B, ra, rb, w) : 0;
        for (; x < w; ++x) {
          const std::uint32_t a = Px<B>::Get(ra, x);
          const std::uint32_t b = operation == 0 ? 0u : ValueOf<S>(rb, x);
          Px<B>::Set(ra, x, LogicValue<B>(operation, a, b));
        }
      }
    });
  });
  if (operation != 0 && IsSupportedDepth(s.bpp)) BlockAccess::NoteStride(*second, s);
  BlockAccess::NoteStride(img, v);
  return 0;
}

int SetOps(CLamina& img, int operation, CLamina* second) {
  namespace rc = codes::set_ops;
  if (static_cast<unsigned>(operation) > 4u) return rc::kOperation;
  const ImageView v = BlockAccess::View(img);
  if (v.header == nullptr || ColourCount(*v.header) != 2) return rc::kColours;
  if (operation == 0) {
    intensity::Negative(img);
    return 0;
  }
  if (operation == 1) {
    // A turn by 180 degrees: top-bottom, then left-right.
    geometry::Flip(img, 1);
    geometry::Flip(img, 0);
    return 0;
  }
  if (second == nullptr) return rc::kNoSecond;
  const ImageView s = BlockAccess::View(*second);
  if (s.header == nullptr || ColourCount(*s.header) != 2) return rc::kColours;
  if (!IsSupportedDepth(v.bpp)) return 0;  // the setter refuses every pixel
  const int w = std::min(v.width, s.width), h = std::min(v.height, s.height);
  if (w <= 0 || h <= 0) return 0;
  // Two 1-bit images: union, intersection and difference are and, or and a or not b on whole
  // bytes of eight pixels; the last partial byte goes pixel by pixel.
  int whole = 0;
  if (v.bpp == 1 && s.bpp == 1) {
    static const ByteOp ops[] = {ByteOp::kAnd, ByteOp::kOr, ByteOp::kOrNot};
    whole = w / 8 * 8;
    for (int y = h - 1; y >= 0; --y)
      detail::CombineBytes(ops[operation - 2], 255, v.Row(y), s.Row(y),
                           static_cast<std::size_t>(w / 8), false);
  }
  DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    DispatchSecond(s.bpp, [&](auto e) {
      constexpr int S = decltype(e)::value;
      for (int y = h - 1; y >= 0; --y) {
        std::uint8_t* ra = v.Row(y);
        const std::uint8_t* rb = s.Row(y);
        for (int x = whole; x < w; ++x) {
          // The low bytes of the two values.
          const std::uint32_t a = Px<B>::Get(ra, x) & 255u, b = ValueOf<S>(rb, x) & 255u;
          std::uint32_t value = 1;
          if (operation == 2) value = (a != 0 && b != 0) ? 1 : 0;
          if (operation == 3) value = (a != 0 || b != 0) ? 1 : 0;
          if (operation == 4) value = (a == 0 && b == 1) ? 0 : 1;
          Px<B>::Set(ra, x, value);
        }
      }
    });
  });
  if (IsSupportedDepth(s.bpp)) BlockAccess::NoteStride(*second, s);
  BlockAccess::NoteStride(img, v);
  return 0;
}

int GetDifferentPixels(CLamina& img, CLamina* second) {
  namespace rc = codes::different_pixels;
  if (second == nullptr) return rc::kRefused;
  const ImageView v = BlockAccess::View(img);
  const ImageView s = BlockAccess::View(*second);
  if (!IsSupportedDepth(v.bpp) || !IsSupportedDepth(s.bpp)) return rc::kRefused;
  const int w = std::min(v.width, s.width), h = std::min(v.height, s.height);
  if (w <= 0 || h <= 0) return 0;
  std::int64_t count = 0;
  if (v.bpp == s.bpp && v.bpp >= 8) {
    const int step = v.bpp / 8;
    for (int y = h - 1; y >= 0; --y)
      count += detail::CountDifferences(v.Row(y), s.Row(y), static_cast<std::size_t>(w), step);
  } else {
    DispatchDepth(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      DispatchDepth(s.bpp, [&](auto e) {
        constexpr int S = decltype(e)::value;
        for (int y = h - 1; y >= 0; --y) {
          const std::uint8_t* ra = v.Row(y);
          const std::uint8_t* rb = s.Row(y);
          for (int x = 0; x < w; ++x) count += Px<B>::Get(ra, x) != Px<S>::Get(rb, x);
        }
      });
    });
  }
  BlockAccess::NoteStride(*second, s);
  BlockAccess::NoteStride(img, v);
  // More differing pixels than an int holds (1-bit images past 2^31 pixels) report the largest.
  return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}

}  // namespace combine
}  // namespace lamina

int CLamina::fnIMG_Logic(int operation, CLamina* second) {
  return lamina::combine::Logic(*this, operation, second);
}

int CLamina::fnIMG_SetOps(int operation, CLamina* second) {
  return lamina::combine::SetOps(*this, operation, second);
}

int CLamina::fnIMG_GetDifferentPixels(CLamina* second) {
  return lamina::combine::GetDifferentPixels(*this, second);
}

// fnIMG_Arithmetic (plain and weighted) and fnIMG_Insert: a second image combined into or copied
// onto the image, pixel by pixel. Palette images (1, 4, 8 bits) work on their indices without
// looking at the palettes; 24 and 32-bit images on blue, green and red, the fourth byte of a
// 32-bit pixel never changing. A 24-bit image may meet a 32-bit one; other depths must match.
//
// Every result is a function of the pair (a, b) of values alone, so a call either runs a vector
// loop over whole rows (the saturating operations at the common depths) or looks results up in a
// table of all pairs computed once with exactly the stated arithmetic (division, weights).
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "CLamina.h"
#include "combine/byte_rows.h"
#include "combine/codes.h"
#include "combine/combine.h"
#include "core/block_access.h"
#include "core/numeric.h"
#include "core/pixel_access.h"

namespace lamina {
namespace combine {
namespace {

using detail::ByteOp;

// A zero divisor counts as 0.2, the double 0.2 turned into a float.
const float kZeroDivisor = static_cast<float>(0.2);

// The limit of a palette image's results: its colour count less one.
std::int64_t TopIndex(const ImageView& v) { return ColourCount(*v.header) - 1; }

// What fnIMG_SetPixel keeps of a non-negative value at depth B: 1 bit is set by any non-zero
// value, 4 bits keep the low nibble, the others the low byte (true-colour results never exceed
// 255, being limited per channel).
template <int B>
std::uint8_t Kept(std::int64_t value) {
  if constexpr (B == 1) return value != 0 ? 1 : 0;
  if constexpr (B == 4) return static_cast<std::uint8_t>(value & 15);
  return static_cast<std::uint8_t>(value & 255);
}

int CeilToInt(float q) { return numeric::TruncToInt(std::ceil(q)); }

// The plain form: a and b limited by `top` (maxV of a palette image, 255 for a channel).
std::int64_t PlainValue(int op, int a, int b, std::int64_t top) {
  switch (op) {
    case 0:
      return a + b > top ? top : a + b;
    case 1:
      return a > b ? a - b : 0;
    case 2:
      return std::int64_t{a} * b > top ? top : std::int64_t{a} * b;
    case 3: {
      const float q = static_cast<float>(a) / (b == 0 ? kZeroDivisor : static_cast<float>(b));
      return q > static_cast<float>(top) ? top : CeilToInt(q);
    }
    case 4:
      return (a + b) / 2;
    case 5:
      return b > a ? b : a;
    default:
      return b < a ? b : a;
  }
}

// The weighted form on palette indices. A value that is not a number (an infinite product times
// a zero weight, 0 / 0) truncates to 0.
std::int64_t WeightedIndex(int op, int a, int b, float wA, float wB, std::int64_t top) {
  const float fa = static_cast<float>(a), fb = static_cast<float>(b);
  const float fTop = static_cast<float>(top);
  auto limited = [&](float v) -> std::int64_t {
    return v > fTop ? top : std::int64_t{numeric::TruncToInt(v)};
  };
  switch (op) {
    case 0:
      return limited(fa * wA + fb * wB);
    case 1: {
      const float v = fa * wA - fb * wB;
      return v < 0.0f ? 0 : limited(v);
    }
    case 2:
      return limited(fa * wA * fb * wB);
    case 3: {
      const float v = (fa * wA) / ((b == 0 ? kZeroDivisor : fb) * wB);
      return v > fTop ? top : std::int64_t{CeilToInt(v)};
    }
    case 4:
      return limited((fa * wA + fb * wB) * 0.5f);
    case 5:
    case 6: {
      const float wa = fa * wA, wb = fb * wB;
      const bool take = op == 5 ? wb > wa : wb < wa;
      if (!take) return a;
      const std::int64_t t = numeric::TruncToInt(wb);
      return t > top ? top : t;
    }
  }
  return a;
}

// The weighted form on one channel byte.
int WeightedChannel(int op, int a, int b, float wA, float wB) {
  const float fa = static_cast<float>(a), fb = static_cast<float>(b);
  auto upTo255 = [](float v) { return v > 255.0f ? 255.0f : v; };
  switch (op) {
    case 0:
      return numeric::TruncToInt(upTo255(fa * wA + fb * wB));
    case 1: {
      const float v = fa * wA - fb * wB;
      return v < 0.0f ? 0 : numeric::TruncToInt(upTo255(v));
    }
    case 2:
      return numeric::TruncToInt(upTo255(fa * wA * fb * wB));
    case 3:
      return CeilToInt(upTo255((fa * wA) / (b == 0 ? kZeroDivisor : fb) * wB));
    case 4:
      return numeric::TruncToInt(upTo255((fa * wA + fb * wB) * 0.5f));
    default: {
      const int A = numeric::TruncToInt(upTo255(fa * wA));
      const int B = numeric::TruncToInt(upTo255(fb * wB));
      return op == 5 ? (A > B ? A : B) : (A < B ? A : B);
    }
  }
}

// The kept result for every pair of values below `levels`, computed once when the call looks up
// more results than the table holds; otherwise (or when memory is short) each result is computed
// where it is needed.
template <class F>
class PairResults {
 public:
  PairResults(F f, int levels, std::int64_t lookups) : f_(f), levels_(levels) {
    const std::int64_t size = std::int64_t{levels} * levels;
    if (lookups <= size) return;
    table_.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(size)]);
    if (!table_) return;
    for (int a = 0; a < levels; ++a)
      for (int b = 0; b < levels; ++b) table_[static_cast<std::size_t>(a * levels + b)] = f_(a, b);
  }
  std::uint8_t operator()(unsigned a, unsigned b) const {
    return table_ ? table_[a * static_cast<unsigned>(levels_) + b]
                  : f_(static_cast<int>(a), static_cast<int>(b));
  }

 private:
  F f_;
  int levels_;
  std::unique_ptr<std::uint8_t[]> table_;
};

template <class F>
PairResults<F> MakePairResults(F f, int levels, std::int64_t lookups) {
  return PairResults<F>(f, levels, lookups);
}

ByteOp VectorOp(int op) {
  static const ByteOp ops[] = {ByteOp::kAdd,     ByteOp::kSubtract, ByteOp::kMultiply, ByteOp::kAdd,
                               ByteOp::kAverage, ByteOp::kMaximum,  ByteOp::kMinimum};
  return ops[op];
}

// Combines pixel (tx, ty) of `v` with pixel (c, r) of `s` for every c < columns, r < rows whose
// target lies inside `v`, rows from the top and each row from the left, reading each source pixel
// just before its target is written (so a second image that is the image itself is read as the
// stated order leaves it). `pixel(targetRow, tx, sourceRow, c)` does one pixel.
template <class Pixel>
void ForPlacedPixels(const ImageView& v, const ImageView& s, int x, int y, int columns, int rows,
                     Pixel pixel) {
  for (int r = 0; r < rows && y + r < v.height; ++r) {
    std::uint8_t* target = v.Row(y + r);
    const std::uint8_t* source = s.Row(r);
    for (int c = 0; c < columns && x + c < v.width; ++c) pixel(target, x + c, source, c);
  }
}

// The three channel bytes of a true-colour pixel.
inline std::uint8_t* ChannelsAt(std::uint8_t* row, int x, int bpp) {
  return row + static_cast<std::ptrdiff_t>(x) * (bpp / 8);
}
inline const std::uint8_t* ChannelsAt(const std::uint8_t* row, int x, int bpp) {
  return row + static_cast<std::ptrdiff_t>(x) * (bpp / 8);
}

// The plain form over the common area: whole rows through the vector loop where the operation
// saturates at a byte, else by the table of pairs.
void PlainCombine(const ImageView& v, const ImageView& s, int op, int w, int h) {
  const std::int64_t lookups = std::int64_t{w} * h * (v.bpp > 8 ? 3 : 1);
  if (v.bpp <= 8) {
    const std::int64_t top = TopIndex(v);
    const bool vector = v.bpp == 8 && op != 3 && top >= 0 && top <= 255;
    if (vector) {
      for (int y = h - 1; y >= 0; --y)
        detail::CombineBytes(VectorOp(op), static_cast<std::uint8_t>(top), v.Row(y), s.Row(y),
                             static_cast<std::size_t>(w), false);
      return;
    }
    // Two-colour 1-bit images (maxV 1): every operation is a bitwise one on whole bytes of eight
    // pixels (add and maximum or, multiply, average and minimum and, subtract a and not b, and
    // division leaves a: a / 0.2 is limited to 1), the last partial byte pixel by pixel below.
    int whole = 0;
    if (v.bpp == 1 && top == 1) {
      static const ByteOp ops[] = {ByteOp::kOr,  ByteOp::kAndNot, ByteOp::kAnd, ByteOp::kAnd,
                                   ByteOp::kAnd, ByteOp::kOr,     ByteOp::kAnd};
      whole = w / 8 * 8;
      if (op != 3)
        for (int y = h - 1; y >= 0; --y)
          detail::CombineBytes(ops[op], 255, v.Row(y), s.Row(y), static_cast<std::size_t>(w / 8),
                               false);
    }
    DispatchDepth<kPaletteDepthMask>(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      const auto result = MakePairResults(
          [&](int a, int b) { return Kept<B>(PlainValue(op, a, b, top)); }, 1 << B, lookups);
      for (int y = h - 1; y >= 0; --y) {
        std::uint8_t* ra = v.Row(y);
        const std::uint8_t* rb = s.Row(y);
        for (int x = whole; x < w; ++x)
          Px<B>::Set(ra, x, result(Px<B>::Get(ra, x), Px<B>::Get(rb, x)));
      }
    });
    return;
  }
  if (v.bpp == s.bpp && op != 3) {
    const std::size_t bytes = static_cast<std::size_t>(w) * (v.bpp / 8);
    for (int y = h - 1; y >= 0; --y)
      detail::CombineBytes(VectorOp(op), 255, v.Row(y), s.Row(y), bytes, v.bpp == 32);
    return;
  }
  const auto result = MakePairResults(
      [&](int a, int b) { return static_cast<std::uint8_t>(PlainValue(op, a, b, 255)); }, 256,
      lookups);
  for (int y = h - 1; y >= 0; --y) {
    std::uint8_t* ra = v.Row(y);
    const std::uint8_t* rb = s.Row(y);
    for (int x = 0; x < w; ++x) {
      std::uint8_t* pa = ChannelsAt(ra, x, v.bpp);
      const std::uint8_t* pb = ChannelsAt(rb, x, s.bpp);
      for (int c = 0; c < 3; ++c) pa[c] = result(pa[c], pb[c]);
    }
  }
}

}  // namespace

int Arithmetic(CLamina& img, int operation, CLamina* second) {
  namespace rc = codes::arithmetic;
  if (static_cast<unsigned>(operation) > 6u) return rc::kOperation;
  const ImageView v = BlockAccess::View(img);
  if (!IsSupportedDepth(v.bpp)) return rc::kDepth;
  if (second == nullptr) return rc::kNoSecond;
  const ImageView s = BlockAccess::View(*second);
  if (!IsSupportedDepth(s.bpp)) return rc::kDepth;
  if (v.bpp != s.bpp && (v.bpp < 24 || s.bpp < 24)) return rc::kDepthsDiffer;
  const int w = v.width < s.width ? v.width : s.width;
  const int h = v.height < s.height ? v.height : s.height;
  if (w <= 0 || h <= 0) return 0;
  PlainCombine(v, s, operation, w, h);
  BlockAccess::NoteStride(*second, s);
  BlockAccess::NoteStride(img, v);
  return 0;
}

int Arithmetic(CLamina& img, int operation, CLamina* second, float weightA, float weightB, int x,
               int y) {
  namespace rc = codes::weighted_arithmetic;
  if (static_cast<unsigned>(operation) > 6u) return rc::kOperation;
  const ImageView v = BlockAccess::View(img);
  if (!IsSupportedDepth(v.bpp)) return rc::kDepth;
  if (second == nullptr) return rc::kNoSecond;
  const ImageView s = BlockAccess::View(*second);
  if (!IsSupportedDepth(s.bpp)) return rc::kDepth;
  // A weight that is not a finite number would make every result undefined: it is refused like a
  // negative one.
  if (!(std::isfinite(weightA) && !(weightA < 0.0f))) return rc::kWeight;
  if (!(std::isfinite(weightB) && !(weightB < 0.0f))) return rc::kWeight;
  if (x < 0 || y < 0 || x > v.width - 1 || y > v.height - 1) return rc::kPosition;
  if (v.bpp != s.bpp && (v.bpp < 24 || s.bpp < 24)) return rc::kDepthsDiffer;

  const int columns = v.width < s.width ? v.width : s.width;
  const int rows = v.height < s.height ? v.height : s.height;
  if (columns <= 0 || rows <= 0) return 0;
  const std::int64_t lookups = std::int64_t{columns} * rows * (v.bpp > 8 ? 3 : 1);
  if (v.bpp <= 8) {
    const std::int64_t top = TopIndex(v);
    DispatchDepth<kPaletteDepthMask>(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      const auto result = MakePairResults(
          [&](int a, int b) {
            return Kept<B>(WeightedIndex(operation, a, b, weightA, weightB, top));
          },
          1 << B, lookups);
      ForPlacedPixels(v, s, x, y, columns, rows,
                      [&](std::uint8_t* target, int tx, const std::uint8_t* source, int c) {
                        Px<B>::Set(target, tx,
                                   result(Px<B>::Get(target, tx), Px<B>::Get(source, c)));
                      });
    });
  } else {
    const auto result = MakePairResults(
        [&](int a, int b) {
          return static_cast<std::uint8_t>(WeightedChannel(operation, a, b, weightA, weightB));
        },
        256, lookups);
    ForPlacedPixels(v, s, x, y, columns, rows,
                    [&](std::uint8_t* target, int tx, const std::uint8_t* source, int c) {
                      std::uint8_t* pa = ChannelsAt(target, tx, v.bpp);
                      const std::uint8_t* pb = ChannelsAt(source, c, s.bpp);
                      const std::uint8_t b0 = pb[0], b1 = pb[1], b2 = pb[2];
                      pa[0] = result(pa[0], b0);
                      pa[1] = result(pa[1], b1);
                      pa[2] = result(pa[2], b2);
                    });
  }
  BlockAccess::NoteStride(*second, s);
  BlockAccess::NoteStride(img, v);
  return 0;
}

int Insert(CLamina& img, CLamina* second, int x, int y) {
  namespace rc = codes::insert;
  const ImageView v = BlockAccess::View(img);
  if (!IsSupportedDepth(v.bpp)) return rc::kDepth;
  if (second == nullptr) return rc::kNoSecond;
  const ImageView s = BlockAccess::View(*second);
  if (!IsSupportedDepth(s.bpp)) return rc::kDepth;
  if (v.bpp != s.bpp && (v.bpp < 24 || s.bpp < 24)) return rc::kDepthsDiffer;
  if (x < 0 || y < 0) return rc::kNegative;
  if (y >= v.height || x >= v.width) return rc::kBeyond;
  if (s.width <= 0 || s.height <= 0) return 0;

  const bool itself = second == &img;
  const int columns = s.width < v.width - x ? s.width : v.width - x;
  if (!itself && (v.bpp == 8 || (v.bpp == 24 && s.bpp == 24))) {
    // Whole runs of bytes: indices, or blue-green-red triples.
    const std::size_t bytes = static_cast<std::size_t>(columns) * (v.bpp / 8);
    for (int r = 0; r < s.height && y + r < v.height; ++r)
      std::memcpy(ChannelsAt(v.Row(y + r), x, v.bpp), s.Row(r), bytes);
  } else if (v.bpp <= 8) {
    DispatchDepth<kPaletteDepthMask>(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      ForPlacedPixels(v, s, x, y, s.width, s.height,
                      [](std::uint8_t* target, int tx, const std::uint8_t* source, int c) {
                        Px<B>::Set(target, tx, Px<B>::Get(source, c));
                      });
    });
  } else {
    ForPlacedPixels(v, s, x, y, s.width, s.height,
                    [&](std::uint8_t* target, int tx, const std::uint8_t* source, int c) {
                      std::uint8_t* pa = ChannelsAt(target, tx, v.bpp);
                      const std::uint8_t* pb = ChannelsAt(source, c, s.bpp);
                      const std::uint8_t b0 = pb[0], b1 = pb[1], b2 = pb[2];
                      pa[0] = b0;
                      pa[1] = b1;
                      pa[2] = b2;
                    });
  }
  BlockAccess::NoteStride(*second, s);
  BlockAccess::NoteStride(img, v);
  return 0;
}

}  // namespace combine
}  // namespace lamina

int CLamina::fnIMG_Arithmetic(int operation, CLamina* second) {
  return lamina::combine::Arithmetic(*this, operation, second);
}

int CLamina::fnIMG_Arithmetic(int operation, CLamina* second, float weightA, float weightB, int x,
                              int y) {
  return lamina::combine::Arithmetic(*this, operation, second, weightA, weightB, x, y);
}

int CLamina::fnIMG_Insert(CLamina* second, int x, int y) {
  return lamina::combine::Insert(*this, second, x, y);
}

// The order and mean filters: for every pixel whose n x n window lies inside the image, one value
// from the window's working values (the index, or the red byte); the frame of width n / 2 keeps
// its pixels. Results are written back into the image's compact block, row by row, once the rows
// they read have been taken into the ring of working values.
#include "neighbourhood/order.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <vector>

#include "core/block_access.h"
#include "core/bordered_rows.h"
#include "core/numeric.h"
#include "core/pixel_access.h"
#include "neighbourhood/results.h"
#include "neighbourhood/row_ops.h"

namespace lamina {
namespace neighbourhood {
namespace detail {
namespace {

enum class Order { kMedian, kMaximum, kMinimum, kMidpoint, kExtreme, kGeometric, kHarmonic };

struct OrderFilterKind {
  Order order;
  int size;
};

OrderFilterKind KindOf(int filter) {
  switch (filter) {
    case 22:
      return {Order::kMedian, 3};
    case 23:
      return {Order::kMedian, 5};
    case 24:
      return {Order::kMedian, 7};
    case 25:
      return {Order::kMedian, 9};
    case 66:
      return {Order::kMaximum, 3};
    case 67:
      return {Order::kMinimum, 3};
    case 68:
      return {Order::kMidpoint, 3};
    case 70:
      return {Order::kExtreme, 3};
    case 71:
      return {Order::kExtreme, 5};
    case 72:
      return {Order::kExtreme, 7};
    case 73:
      return {Order::kExtreme, 9};
    case 74:
      return {Order::kGeometric, 3};
    case 75:
      return {Order::kGeometric, 5};
    case 76:
      return {Order::kHarmonic, 3};
    default:
      return {Order::kHarmonic, 5};
  }
}

// The value at position n^2 / 2 of the window's values in ascending order (7 x 7, 9 x 9): a count
// of each value, slid along the row one column out and one in, with the median and the number of
// values below it carried from pixel to pixel.
void MedianRow(const std::uint8_t* const* w, int size, int x0, int n, std::uint8_t* out) {
  const int r = size / 2, half = size * size / 2;
  int count[256] = {};
  for (int j = 0; j < size; ++j)
    for (int t = 0; t < size; ++t) ++count[w[j][x0 - r + t]];
  int median = 0, below = 0;  // below: how many values are smaller than median
  for (int i = 0; i < n; ++i) {
    if (i > 0) {
      const int leaving = x0 + i - r - 1, entering = x0 + i + r;
      for (int j = 0; j < size; ++j) {
        const int a = w[j][leaving], b = w[j][entering];
        --count[a];
        if (a < median) --below;
        ++count[b];
        if (b < median) ++below;
      }
    }
    while (below > half) below -= count[--median];
    while (below + count[median] <= half) below += count[median++];
    out[i] = static_cast<std::uint8_t>(median);
  }
}

// Geometric mean: the product in double precision from 1.0 in window order, raised to 1 / N
// computed in single precision; the truncated result's low 8 bits. The products of a row are
// formed side by side, each in its own window order.
void GeometricRow(const std::uint8_t* const* w, int size, int x0, int n, double* product,
                  std::uint8_t* out) {
  const int r = size / 2;
  for (int i = 0; i < n; ++i) product[i] = 1.0;
  for (int j = 0; j < size; ++j)
    for (int t = 0; t < size; ++t) {
      const std::uint8_t* p = w[j] + x0 - r + t;
      for (int i = 0; i < n; ++i) product[i] *= static_cast<double>(p[i]);
    }
  const double exponent = static_cast<double>(1.0f / static_cast<float>(size * size));
  for (int i = 0; i < n; ++i)
    out[i] = static_cast<std::uint8_t>(numeric::SafeTrunc(std::pow(product[i], exponent)) & 0xFF);
}

// Harmonic mean in single precision: N over the sum of 1 / value in window order (1 / 0 is
// infinite and makes the result 0); the truncated result's low 8 bits.
void HarmonicRow(const std::uint8_t* const* w, int size, int x0, int n, float* sum,
                 std::uint8_t* out) {
  static const struct Reciprocals {
    float v[256];
    Reciprocals() {
      v[0] = std::numeric_limits<float>::infinity();
      for (int i = 1; i < 256; ++i) v[i] = 1.0f / static_cast<float>(i);
    }
  } reciprocal;
  const int r = size / 2;
  for (int i = 0; i < n; ++i) sum[i] = 0.0f;
  for (int j = 0; j < size; ++j)
    for (int t = 0; t < size; ++t) {
      const std::uint8_t* p = w[j] + x0 - r + t;
      for (int i = 0; i < n; ++i) sum[i] += reciprocal.v[p[i]];
    }
  const float count = static_cast<float>(size * size);
  for (int i = 0; i < n; ++i)
    out[i] = static_cast<std::uint8_t>(numeric::TruncToInt(count / sum[i]) & 0xFF);
}

}  // namespace

bool OrderFilter(CLamina& img, int filter) {
  const OrderFilterKind kind = KindOf(filter);
  const int size = kind.size, r = size / 2;
  try {
    Compacted compact(img);
    if (!compact.Ok()) return false;
    const ImageView v = compact.View();
    const int n = v.width - 2 * r;
    const bool any = n > 0 && v.height > 2 * r;
    if (!any) {
      compact.Install(img);
      return true;
    }
    BorderedRows rows(v, 2, Border::kFrame, Margins::Square(r));
    if (!rows.Ok()) return false;
    const std::size_t m = static_cast<std::size_t>(n) + size;
    std::vector<std::uint8_t> out(m), lo(15 * m), hi(m), colLo(m), colHi(m);
    std::vector<double> product(kind.order == Order::kGeometric ? m : 0);
    std::vector<float> sum(kind.order == Order::kHarmonic ? m : 0);
    compact.Install(img);

    for (int y = r; y < v.height - r; ++y) {
      const std::uint8_t* const* w = rows.Window(y);
      // At 8 bits the values are the pixels: they go straight into the row, whose old values
      // are in the ring by now.
      std::uint8_t* target = v.bpp == 8 ? v.Row(y) + r : out.data();
      switch (kind.order) {
        case Order::kMedian:
          if (size == 3)
            Median3(w, r, n, target, lo.data());
          else if (size == 5)
            Median5(w, r, n, target, lo.data());
          else
            MedianRow(w, size, r, n, target);
          break;
        case Order::kGeometric:
          GeometricRow(w, size, r, n, product.data(), target);
          break;
        case Order::kHarmonic:
          HarmonicRow(w, size, r, n, sum.data(), target);
          break;
        case Order::kMaximum:
          WindowExtremes(w, size, r, n, nullptr, target, colLo.data(), colHi.data());
          break;
        case Order::kMinimum:
          WindowExtremes(w, size, r, n, target, nullptr, colLo.data(), colHi.data());
          break;
        case Order::kMidpoint:
          WindowExtremes(w, size, r, n, lo.data(), hi.data(), colLo.data(), colHi.data());
          for (int i = 0; i < n; ++i) target[i] = static_cast<std::uint8_t>((lo[i] + hi[i]) / 2);
          break;
        case Order::kExtreme: {
          WindowExtremes(w, size, r, n, lo.data(), hi.data(), colLo.data(), colHi.data());
          // The extreme farther from the centre value; the maximum when both are as far.
          const std::uint8_t* centre = w[r] + r;
          for (int i = 0; i < n; ++i) {
            const int a = lo[i], b = hi[i], c = centre[i];
            target[i] = static_cast<std::uint8_t>((b - c) < (c - a) ? a : b);
          }
          break;
        }
      }
      if (v.bpp != 8) WriteValues(v.Row(y), v.bpp, r, n, out.data(), false);
    }
    BlockAccess::NoteStride(img, v);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace detail
}  // namespace neighbourhood
}  // namespace lamina

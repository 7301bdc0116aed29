// fnIMG_Mosaic: every block of bh x bw pixels takes the mean of its pixel values. The last block
// row and the last block column take the rows and columns left over, so the blocks cover the
// image.
//
// The mean is the single-precision sum of the block's values (rows from the top, columns from the
// left), divided by the pixel count in single precision and truncated; true-colour pixels are
// averaged as whole 24-bit values. Where every partial sum is a whole number no larger than 2^24 a
// float holds it exactly, so blocks of palette indices small enough for that are summed as
// integers in any order, with the same result. The fourth byte of 32-bit pixels and the row
// padding keep their bytes. Result 0; 1 for bh < 1, bh > H/2, bw < 1 or bw > W/2; 2 for a depth
// other than 1, 4, 8, 24 or 32 (a 16-bit image, or an object without an image), which the data
// constructor could not build working blocks for; 3 when the row tables cannot be allocated.
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"
#include "geometry/canvas.h"
#include "geometry/codes.h"

using lamina::BlockAccess;
using lamina::ImageView;

namespace {

namespace mc = lamina::codes::mosaic;
using u8 = std::uint8_t;

constexpr std::int64_t kExactFloat = std::int64_t{1} << 24;

// Sums of the block row's columns as integers: sums[x] += value of (x, y) for each row.
template <int B>
void AddColumns(const u8* row, int width, std::uint32_t* sums) {
  if constexpr (B == 8) {
    for (int x = 0; x < width; ++x) sums[x] += row[x];
  } else {
    for (int x = 0; x < width; ++x) sums[x] += lamina::Px<B>::Get(row, x);
  }
}

// One row of the pattern the block row is painted with: the means, each over its block's columns.
template <int B>
void PaintRow(u8* row, int width, const u8* pattern) {
  if constexpr (B == 8 || B == 24) {
    std::memcpy(row, pattern, static_cast<std::size_t>(width) * (B / 8));
  } else if constexpr (B == 32) {
    // Blue, green and red from the pattern, the fourth byte kept.
    for (int x = 0; x < width; ++x) {
      std::uint32_t p, q;
      std::memcpy(&p, row + 4 * static_cast<std::size_t>(x), 4);
      std::memcpy(&q, pattern + 4 * static_cast<std::size_t>(x), 4);
      p = (p & 0xFF000000u) | q;
      std::memcpy(row + 4 * static_cast<std::size_t>(x), &p, 4);
    }
  } else {
    // Whole bytes at once; the pixels of a last, partial byte one by one, keeping its unused bits.
    const int whole = width * B / 8;
    std::memcpy(row, pattern, static_cast<std::size_t>(whole));
    for (int x = whole * 8 / B; x < width; ++x)
      lamina::Px<B>::Set(row, x, lamina::Px<B>::Get(pattern, x));
  }
}

}  // namespace

namespace lamina {
namespace geometry {

int Mosaic(CLamina& img, int blockHeight, int blockWidth) {
  const ImageView v = BlockAccess::View(img);
  if (blockHeight < 1 || blockHeight > v.height / 2 || blockWidth < 1 || blockWidth > v.width / 2)
    return mc::kBlock;
  if (!IsSupportedDepth(v.bpp)) return mc::kDepth;

  const int w = v.width, h = v.height;
  const int blockRows = h / blockHeight, blockColumns = w / blockWidth;
  const int lastWidth = blockWidth + w % blockWidth;
  auto columnSums = canvas::TryArray<std::uint32_t>(static_cast<std::size_t>(w));
  auto floatSums = canvas::TryArray<float>(static_cast<std::size_t>(blockColumns));
  auto pattern = canvas::TryArray<u8>(static_cast<std::size_t>(v.stride));
  if (!columnSums || !floatSums || !pattern) return mc::kNoMemory;
  std::memset(pattern.get(), 0, static_cast<std::size_t>(v.stride));

  DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    constexpr std::int64_t kTop = B <= 8 ? (std::int64_t{1} << B) - 1 : 0xFFFFFF;
    for (int i = 0; i < blockRows; ++i) {
      const int top = i * blockHeight;
      const int rows = i == blockRows - 1 ? h - top : blockHeight;
      auto meanOf = [&](float sum, int columns) {
        const float count = static_cast<float>(std::int64_t{rows} * columns);
        return static_cast<std::uint32_t>(sum / count);
      };
      if (std::int64_t{rows} * lastWidth * kTop <= kExactFloat) {
        // Every partial sum of every block is a whole number within a float's exact range.
        std::memset(columnSums.get(), 0, sizeof(std::uint32_t) * static_cast<std::size_t>(w));
        for (int y = top; y < top + rows; ++y) AddColumns<B>(v.Row(y), w, columnSums.get());
        for (int j = 0; j < blockColumns; ++j) {
          const int left = j * blockWidth;
          const int columns = j == blockColumns - 1 ? w - left : blockWidth;
          std::uint32_t sum = 0;
          for (int x = left; x < left + columns; ++x) sum += columnSums[x];
          const std::uint32_t mean = meanOf(static_cast<float>(sum), columns);
          for (int x = left; x < left + columns; ++x) Px<B>::Set(pattern.get(), x, mean);
        }
      } else {
        // In the defining order: each block's values one by one, rows from the top, columns from
        // the left. The blocks are independent, so the columns of a row are taken for all blocks
        // of the row at once.
        for (int j = 0; j < blockColumns; ++j) floatSums[j] = 0.0f;
        for (int y = top; y < top + rows; ++y) {
          const u8* row = v.Row(y);
          for (int c = 0; c < blockWidth; ++c)
            for (int j = 0; j < blockColumns; ++j)
              floatSums[j] += static_cast<float>(Px<B>::Get(row, j * blockWidth + c));
          for (int x = blockColumns * blockWidth; x < w; ++x)
            floatSums[blockColumns - 1] += static_cast<float>(Px<B>::Get(row, x));
        }
        for (int j = 0; j < blockColumns; ++j) {
          const int left = j * blockWidth;
          const int columns = j == blockColumns - 1 ? w - left : blockWidth;
          const std::uint32_t mean = meanOf(floatSums[j], columns);
          for (int x = left; x < left + columns; ++x) Px<B>::Set(pattern.get(), x, mean);
        }
      }
      for (int y = top; y < top + rows; ++y) PaintRow<B>(v.Row(y), w, pattern.get());
    }
  });
  BlockAccess::NoteStride(img, v);
  return 0;
}

}  // namespace geometry
}  // namespace lamina

int CLamina::fnIMG_Mosaic(int blockHeight, int blockWidth) {
  return lamina::geometry::Mosaic(*this, blockHeight, blockWidth);
}

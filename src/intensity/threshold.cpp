// Thresholds: proposing one (mean, iterative class means, valley between two peaks), applying one
// globally, and thresholding an 8-bit image block by block with per-block levels.
#include <cstdint>
#include <cstring>
#include <vector>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/cpu.h"
#include "core/pixel_access.h"
#include "intensity/codes.h"
#include "intensity/intensity.h"
#include "intensity/level_tables.h"

using lamina::BlockAccess;
using lamina::ImageView;
using namespace lamina::intensity;
namespace codes = lamina::codes;

namespace {

// Iterative class means over a histogram of values: below T and above T form two classes (values
// equal to T belong to neither), and the next T is the midpoint of their means, until T repeats.
// A pass that finds a class empty has no mean to offer and ends the passes with the current T.
int IterativeMeans(const std::uint64_t counts[256], int start, int* passes) {
  int t = start;
  int made = 0;
  for (;;) {
    ++made;
    std::uint64_t nLow = 0, sumLow = 0, nHigh = 0, sumHigh = 0;
    for (int k = 0; k < 256; ++k) {
      if (k < t) {
        nLow += counts[k];
        sumLow += counts[k] * static_cast<std::uint64_t>(k);
      } else if (k > t) {
        nHigh += counts[k];
        sumHigh += counts[k] * static_cast<std::uint64_t>(k);
      }
    }
    if (nLow == 0 || nHigh == 0) break;
    const int next = static_cast<int>((sumLow / nLow + sumHigh / nHigh) / 2);
    if (next == t) break;
    t = next;
  }
  *passes = made;
  return t;
}

// dst[i] = src[i] < t ? below : above (src and dst may be the same bytes): the plain loop, which
// the vector path is tested against.
void ThresholdPlain(const std::uint8_t* src, std::uint8_t* dst, std::size_t n, std::uint8_t t,
                    std::uint8_t below, std::uint8_t above) {
  for (std::size_t i = 0; i < n; ++i) dst[i] = src[i] < t ? below : above;
}

#ifdef LAMINA_X86
// Thirty-two bytes per step: the unsigned comparison as a signed one with both sides moved by 128,
// then a blend. Returns the bytes done.
__attribute__((target("avx2"))) std::size_t ThresholdAvx2(const std::uint8_t* src,
                                                          std::uint8_t* dst, std::size_t n,
                                                          std::uint8_t t, std::uint8_t below,
                                                          std::uint8_t above) {
  const __m256i bias = _mm256_set1_epi8(static_cast<char>(0x80));
  const __m256i limit = _mm256_set1_epi8(static_cast<char>(t ^ 0x80u));
  const __m256i low = _mm256_set1_epi8(static_cast<char>(below));
  const __m256i high = _mm256_set1_epi8(static_cast<char>(above));
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i less = _mm256_cmpgt_epi8(limit, _mm256_xor_si256(v, bias));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_blendv_epi8(high, low, less));
  }
  return i;
}
#endif

// The widest path the processor has, then the plain loop for the rest.
void ThresholdBytes(const std::uint8_t* src, std::uint8_t* dst, std::size_t n, std::uint8_t t,
                    std::uint8_t below, std::uint8_t above) {
  std::size_t done = 0;
#ifdef LAMINA_X86
  if (lamina::cpu::HaveAvx2()) done = ThresholdAvx2(src, dst, n, t, below, above);
#endif
  ThresholdPlain(src + done, dst + done, n - done, t, below, above);
}

// The low three bytes of each 32-bit pixel from `colour`, the alpha byte from the row itself.
void KeepAlpha(std::uint8_t* row, const std::uint8_t* colour, std::size_t pixels) {
  for (std::size_t x = 0; x < pixels; ++x) {
    std::uint32_t a, c;
    std::memcpy(&a, row + 4 * x, 4);
    std::memcpy(&c, colour + 4 * x, 4);
    a = (a & 0xFF000000u) | (c & 0x00FFFFFFu);
    std::memcpy(row + 4 * x, &a, 4);
  }
}

}  // namespace

// Method 0: the mean (index, or the mean blue of a true-colour image); 1: iterative class means,
// writing the number of passes to *second; 2: the least populated level between the mode and the
// second peak, writing that peak to *second. *second is written only on success.
int CLamina::fnIMG_FindThreshold(int method, int* second) {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::InMask(lamina::kLevelDepthMask, v.bpp)) return codes::find_threshold::kDepth;
  if (static_cast<unsigned>(method) > 2u) return codes::find_threshold::kMethod;

  if (method == 0 || method == 1) {
    RGBQUAD mean{};
    const int index = lamina::intensity::AverageImg(*this, &mean);
    // Its only failure is the depth, refused above already.
    if (index < 0) return codes::find_threshold::kDepth;
    const int start = v.bpp <= 8 ? index : mean.rgbBlue;
    if (method == 0) return start;
    // The class values are the index, or the red byte of a true-colour pixel.
    std::uint64_t counts[256];
    CountLevels(v, 2, counts);
    int passes = 0;
    const int t = IterativeMeans(counts, start, &passes);
    if (second != nullptr) *second = passes;
    return t;
  }

  std::uint64_t columns[4][256];
  CountHistogram(v, columns);
  NoteStride(*this, v);
  const std::uint64_t* count = columns[0];
  // The first peak is the mode (ties to the lowest level).
  int p1 = 0;
  for (int k = 1; k < 256; ++k)
    if (count[k] > count[p1]) p1 = k;
  // The second peak weighs each level's count by its squared distance from the first; in 64 bits
  // (255^2 times a count) it cannot overflow for any image a block can hold.
  const int n = v.bpp == 4 ? 16 : 256;
  int p2 = 0;
  std::uint64_t best = 0;
  for (int k = 0; k < n; ++k) {
    const std::uint64_t dist = static_cast<std::uint64_t>((k - p1) * (k - p1));
    const std::uint64_t score = dist * count[k];
    if (score > best) {
      best = score;
      p2 = k;
    }
  }
  if (second != nullptr) *second = p2;
  const int lo = p1 < p2 ? p1 : p2;
  const int hi = p1 < p2 ? p2 : p1;
  if (lo + 1 >= hi) return lo;
  int valley = lo;
  for (int k = lo + 1; k < hi; ++k)
    if (count[k] < count[valley]) valley = k;
  return valley;
}

// Indices (or each colour byte) below t become `below`, the others `above`.
int CLamina::fnIMG_Thresholding(unsigned char threshold, unsigned char below, unsigned char above) {
  const ImageView v = BlockAccess::View(*this);
  const std::int64_t colours = lamina::ColourCount(BlockAccess::Header(*this));
  if (threshold >= colours) return codes::thresholding::kThreshold;
  if (!lamina::InMask(lamina::kLevelDepthMask, v.bpp)) return codes::thresholding::kDepth;
  if (below > colours - 1 || above > colours - 1) return codes::thresholding::kLevels;
  if (v.width > 0 && v.height > 0) {
    lamina::DispatchDepth<lamina::kLevelDepthMask>(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      if constexpr (B == 4) {
        LevelTable t;
        for (int level = 0; level < 256; ++level) t[level] = level < threshold ? below : above;
        MapIndices<4>(v, t);
      } else {
        const std::size_t n = static_cast<std::size_t>(v.width) * (B / 8);
        if constexpr (B == 32) {
          // Every byte is thresholded aside, then blue, green and red are taken over while each
          // pixel keeps its alpha.
          std::vector<std::uint8_t> scratch(n);
          for (int y = v.height - 1; y >= 0; --y) {
            std::uint8_t* p = v.Row(y);
            ThresholdBytes(p, scratch.data(), n, threshold, below, above);
            KeepAlpha(p, scratch.data(), static_cast<std::size_t>(v.width));
          }
        } else {
          // At 8 and 24 bits the pixel bytes of a row are contiguous and all take part.
          for (int y = v.height - 1; y >= 0; --y)
            ThresholdBytes(v.Row(y), v.Row(y), n, threshold, below, above);
        }
      }
    });
  }
  NoteStride(*this, v);
  return 0;
}

// Thresholds each block of the grid (bh x bw, the last block row and column taking the remainder)
// by its own threshold and output levels. The grid starts at the top-left of the picture; the rows
// are walked through their top-down addresses, so the image is never mirrored.
int CLamina::fnIMG_AdaptiveLocalThresholding(int blockHeight, int blockWidth, int threshold,
                                             int output) {
  const ImageView v = BlockAccess::View(*this);
  namespace adaptive = codes::adaptive_local_thresholding;
  if (v.bpp != 8) return adaptive::kDepth;
  if (blockHeight < 1 || blockHeight > v.height || blockWidth < 1 || blockWidth > v.width)
    return adaptive::kBlockSize;
  if (static_cast<unsigned>(output) > 3u) return adaptive::kOutput;

  std::uint64_t counts[256];
  CountLevels(v, 0, counts);
  int minIndex = 0, maxIndex = 0;
  for (int k = 0; k < 256; ++k)
    if (counts[k] > 0) {
      minIndex = k;
      break;
    }
  for (int k = 255; k >= 0; --k)
    if (counts[k] > 0) {
      maxIndex = k;
      break;
    }

  const int blockRows = v.height / blockHeight;
  const int blockCols = v.width / blockWidth;
  for (int by = 0; by < blockRows; ++by) {
    const int y0 = by * blockHeight;
    const int h = by == blockRows - 1 ? blockHeight + v.height % blockHeight : blockHeight;
    for (int bx = 0; bx < blockCols; ++bx) {
      const int x0 = bx * blockWidth;
      const int w = bx == blockCols - 1 ? blockWidth + v.width % blockWidth : blockWidth;
      std::uint64_t sum = 0;
      unsigned smallest = 255, largest = 0;
      for (int y = y0; y < y0 + h; ++y) {
        const std::uint8_t* p = v.Row(y) + x0;
        std::uint64_t rowSum = 0;
        for (int x = 0; x < w; ++x) {
          const unsigned b = p[x];
          rowSum += b;
          smallest = b < smallest ? b : smallest;
          largest = b > largest ? b : largest;
        }
        sum += rowSum;
      }
      unsigned t;
      switch (threshold) {
        case -1:
          t = static_cast<unsigned>(
              sum / (static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h)));
          break;
        case -2:
          t = largest;
          break;
        case -3:
          t = static_cast<unsigned>(maxIndex);
          break;
        default:
          t = static_cast<unsigned>(threshold) & 0xFFu;
          break;
      }
      std::uint8_t lower, upper;
      switch (output) {
        case 0:
          lower = static_cast<std::uint8_t>(smallest), upper = static_cast<std::uint8_t>(largest);
          break;
        case 1:
          lower = 0, upper = static_cast<std::uint8_t>(largest);
          break;
        case 2:
          lower = static_cast<std::uint8_t>(minIndex), upper = static_cast<std::uint8_t>(maxIndex);
          break;
        default:
          lower = 0, upper = 255;
          break;
      }
      for (int y = y0; y < y0 + h; ++y) {
        std::uint8_t* p = v.Row(y) + x0;
        for (int x = 0; x < w; ++x) p[x] = p[x] >= t ? upper : lower;
      }
    }
  }
  NoteStride(*this, v);
  return 0;
}

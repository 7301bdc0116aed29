// Histograms and their summary: four histograms at once (index or intensity, red, green, blue),
// optionally scaled for display, and the lowest, highest and most frequent level of each.
#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"
#include "intensity/codes.h"
#include "intensity/intensity.h"
#include "intensity/level_tables.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::Px;

namespace lamina {
namespace intensity {
namespace {

// Counts of the pixel indices of a palette image, 2^B levels. Whole bytes are counted into a
// byte histogram first (four interleaved copies, so that runs of equal bytes do not stall on one
// counter) and split into their pixels afterwards; a trailing partial byte is counted per pixel.
template <int B>
void CountIndices(const ImageView& v, std::uint64_t counts[256]) {
  // 32-bit counters keep the four copies within 4 KiB; they are folded into the 64-bit totals
  // before any of them could wrap.
  std::uint32_t h[4][256] = {};
  std::uint64_t bytes[256] = {};
  auto fold = [&]() {
    for (int b = 0; b < 256; ++b) {
      bytes[b] += std::uint64_t{h[0][b]} + h[1][b] + h[2][b] + h[3][b];
      h[0][b] = h[1][b] = h[2][b] = h[3][b] = 0;
    }
  };
  constexpr int kPerByte = 8 / B;
  const int whole = v.width / kPerByte;
  std::uint64_t sinceFold = 0;
  for (int y = v.height - 1; y >= 0; --y) {
    if (sinceFold + static_cast<std::uint64_t>(whole) > 0xFFFFFFFFull) {
      fold();
      sinceFold = 0;
    }
    sinceFold += static_cast<std::uint64_t>(whole);
    const std::uint8_t* row = v.Row(y);
    int i = 0;
    for (; i + 4 <= whole; i += 4) {
      ++h[0][row[i]];
      ++h[1][row[i + 1]];
      ++h[2][row[i + 2]];
      ++h[3][row[i + 3]];
    }
    for (; i < whole; ++i) ++h[0][row[i]];
    for (int x = whole * kPerByte; x < v.width; ++x) ++counts[Px<B>::Get(row, x)];
  }
  fold();
  for (unsigned b = 0; b < 256; ++b) {
    const std::uint64_t n = bytes[b];
    if (n == 0) continue;
    if constexpr (B == 8) {
      counts[b] += n;
    } else {
      constexpr unsigned kMask = (1u << B) - 1u;
      for (int k = 0; k < kPerByte; ++k) counts[(b >> (8 - B * (k + 1))) & kMask] += n;
    }
  }
}

template <int B>
void CountTrueColour(const ImageView& v, std::uint64_t columns[4][256]) {
  constexpr int Bytes = B / 8;
  // (r + g + b) / 3 for every possible sum, so the intensity costs one load per pixel.
  std::uint8_t third[766];
  for (int s = 0; s < 766; ++s) third[s] = static_cast<std::uint8_t>(s / 3);
  // Even and odd pixels count into separate copies, so neighbouring equal colours do not wait on
  // one another's increments; 32-bit copies are folded before they could wrap.
  std::uint32_t h[2][4][256] = {};
  auto fold = [&]() {
    for (int c = 0; c < 4; ++c)
      for (int k = 0; k < 256; ++k) {
        columns[c][k] += std::uint64_t{h[0][c][k]} + h[1][c][k];
        h[0][c][k] = h[1][c][k] = 0;
      }
  };
  std::uint64_t sinceFold = 0;
  auto add = [&](std::uint32_t(&t)[4][256], const std::uint8_t* p) {
    const unsigned b = p[0], g = p[1], r = p[2];
    ++t[0][third[r + g + b]];
    ++t[1][r];
    ++t[2][g];
    ++t[3][b];
  };
  for (int y = v.height - 1; y >= 0; --y) {
    if (sinceFold + static_cast<std::uint64_t>(v.width) > 0xFFFFFFFFull) {
      fold();
      sinceFold = 0;
    }
    sinceFold += static_cast<std::uint64_t>(v.width);
    const std::uint8_t* p = v.Row(y);
    int x = 0;
    for (; x + 2 <= v.width; x += 2, p += 2 * Bytes) {
      add(h[0], p);
      add(h[1], p + Bytes);
    }
    if (x < v.width) add(h[0], p);
  }
  fold();
}

}  // namespace

void CountLevels(const ImageView& v, int channel, std::uint64_t counts[256]) {
  std::memset(counts, 0, 256 * sizeof(std::uint64_t));
  if (v.width <= 0 || v.height <= 0) return;
  lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    if constexpr (B <= 8) {
      CountIndices<B>(v, counts);
    } else {
      constexpr int kBytes = B / 8;
      std::uint64_t h[2][256] = {};
      for (int y = v.height - 1; y >= 0; --y) {
        const std::uint8_t* p = v.Row(y) + channel;
        int x = 0;
        for (; x + 2 <= v.width; x += 2, p += 2 * kBytes) {
          ++h[0][p[0]];
          ++h[1][p[kBytes]];
        }
        if (x < v.width) ++h[0][p[0]];
      }
      for (int k = 0; k < 256; ++k) counts[k] = h[0][k] + h[1][k];
    }
  });
}

void CountHistogram(const ImageView& v, std::uint64_t columns[4][256]) {
  std::memset(columns, 0, 4 * 256 * sizeof(std::uint64_t));
  if (v.width <= 0 || v.height <= 0) return;
  lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    if constexpr (B <= 8) {
      CountIndices<B>(v, columns[0]);
      // Every pixel of index i counts at its palette entry's red, green and blue levels.
      for (unsigned i = 0; i < 256; ++i) {
        const std::uint64_t n = columns[0][i];
        if (n == 0) continue;
        const RGBQUAD e = v.Entry(i);
        columns[1][e.rgbRed] += n;
        columns[2][e.rgbGreen] += n;
        columns[3][e.rgbBlue] += n;
      }
    } else {
      CountTrueColour<B>(v, columns);
    }
  });
}

// Fills the caller's 256 x 4 table (I, R, G, B per level). With maxHeight >= 1 each column is
// scaled so that its largest count becomes maxHeight, in single precision; the intensity column
// of a true-colour image keeps its raw counts. An unsupported depth leaves the table untouched.
int GetHistogram(CLamina& img, int* table, int maxHeight) {
  const ImageView v = BlockAccess::View(img);
  if (!lamina::IsSupportedDepth(v.bpp)) return codes::histogram::kDepth;
  if (table == nullptr) return codes::histogram::kNoOutput;
  std::uint64_t columns[4][256];
  CountHistogram(v, columns);
  NoteStride(img, v);
  for (int k = 0; k < 256; ++k)
    for (int c = 0; c < 4; ++c) table[4 * k + c] = CountToInt(columns[c][k]);
  if (maxHeight <= 0) return 0;
  const float h = static_cast<float>(maxHeight);
  for (int c = (v.bpp < 24 ? 0 : 1); c < 4; ++c) {
    int largest = 0;
    for (int k = 0; k < 256; ++k)
      if (table[4 * k + c] > largest) largest = table[4 * k + c];
    // A column without counts (an image without pixels) stays all zero rather than 0 / 0.
    if (largest == 0) continue;
    const float m = static_cast<float>(largest);
    for (int k = 0; k < 256; ++k) {
      int& n = table[4 * k + c];
      n = TruncToInt(static_cast<float>(n) / m * h);
    }
  }
  return 0;
}

// For each of the four columns: the lowest and the highest level present with their counts, and
// the most frequent level (ties to the lowest) with its count. An unsupported depth leaves the
// record untouched.
int GetInfoHistogram(CLamina& img, CLamina::InformacionHistograma* info) {
  const ImageView v = BlockAccess::View(img);
  if (!lamina::IsSupportedDepth(v.bpp)) return codes::histogram::kDepth;
  if (info == nullptr) return codes::histogram::kNoOutput;
  std::uint64_t columns[4][256];
  CountHistogram(v, columns);
  NoteStride(img, v);
  int mins[8] = {}, maxs[8] = {}, modes[8] = {};
  for (int c = 0; c < 4; ++c) {
    int best = 0;
    std::uint64_t bestCount = 0;
    for (int k = 0; k < 256; ++k)
      if (columns[c][k] > bestCount) {
        best = k;
        bestCount = columns[c][k];
      }
    modes[2 * c] = best;
    modes[2 * c + 1] = CountToInt(bestCount);
    for (int k = 0; k < 256; ++k)
      if (columns[c][k] > 0) {
        mins[2 * c] = k;
        mins[2 * c + 1] = CountToInt(columns[c][k]);
        break;
      }
    for (int k = 255; k >= 0; --k)
      if (columns[c][k] > 0) {
        maxs[2 * c] = k;
        maxs[2 * c + 1] = CountToInt(columns[c][k]);
        break;
      }
  }
  CLamina::InformacionHistograma r{};
  r.nMinI = mins[0], r.nFrecMinI = mins[1], r.nMinR = mins[2], r.nFrecMinR = mins[3];
  r.nMinG = mins[4], r.nFrecMinG = mins[5], r.nMinB = mins[6], r.nFrecMinB = mins[7];
  r.nMaxI = maxs[0], r.nFrecMaxI = maxs[1], r.nMaxR = maxs[2], r.nFrecMaxR = maxs[3];
  r.nMaxG = maxs[4], r.nFrecMaxG = maxs[5], r.nMaxB = maxs[6], r.nFrecMaxB = maxs[7];
  r.nModaI = modes[0], r.nFrecModaI = modes[1], r.nModaR = modes[2], r.nFrecModaR = modes[3];
  r.nModaG = modes[4], r.nFrecModaG = modes[5], r.nModaB = modes[6], r.nFrecModaB = modes[7];
  *info = r;
  return 0;
}

}  // namespace intensity
}  // namespace lamina

int CLamina::fnIMG_GetHistogram(int* table, int maxHeight) {
  return lamina::intensity::GetHistogram(*this, table, maxHeight);
}

int CLamina::fnIMG_GetInfoHistogram(CLamina::InformacionHistograma* info) {
  return lamina::intensity::GetInfoHistogram(*this, info);
}

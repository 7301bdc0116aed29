// The Fourier display: refusals, a comparison with a plain DFT at every width, the fast display
// against the exact one, and the transform bit for bit against the textbook loop order.
#include <cmath>
#include <complex>
#include <cstring>
#include <optional>
#include <random>
#include <vector>

#include "core/cpu.h"
#include "frequency/fourier.h"
#include "support/pictures.h"

namespace {

using namespace lamina_test;

// fnIMG_Fourier is protected: a caller derives to reach it.
struct Transformer : CLamina {
  using CLamina::fnIMG_Fourier;
};

// The transform as the textbook loop runs it: bit reversal by swaps, then each stage with j outer
// and the butterflies of one twiddle inner, the twiddle advanced by one multiplication.
void TextbookOrder(std::vector<_complex>& d, int m) {
  const std::size_t n = std::size_t{1} << m;
  std::size_t j = 0;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (i < j) std::swap(d[i], d[j]);
    std::size_t k = n / 2;
    while (k <= j) {
      j -= k;
      k /= 2;
    }
    j += k;
  }
  for (int s = 1; s <= m; ++s) {
    const std::size_t le = std::size_t{1} << s, h = le / 2;
    const double theta = 3.14159265 / h, wr = std::cos(theta), wi = -std::sin(theta);
    double ur = 1, ui = 0;
    for (std::size_t jj = 0; jj < h; ++jj) {
      for (std::size_t p = jj; p < n; p += le) {
        const double tr = d[p + h].x * ur - d[p + h].y * ui;
        const double ti = d[p + h].x * ui + d[p + h].y * ur;
        d[p + h] = {d[p].x - tr, d[p].y - ti};
        d[p] = {d[p].x + tr, d[p].y + ti};
      }
      const double nr = ur * wr - ui * wi;
      ui = ur * wi + ui * wr;
      ur = nr;
    }
  }
}

TEST(Fourier, SameBitsAsTheTextbookOrder) {
  struct Case {
    int m, blockBits, groupBits;
    bool starved;  // no memory for working arrays: the transform runs in place
  };
  // Default cutting, then small blocks and groups so that several groups, several panel rows
  // and uneven groups occur on arrays the textbook loop checks quickly.
  const Case cases[] = {{0, 12, 12, 0},  {1, 12, 12, 0},  {2, 12, 12, 0},  {5, 12, 12, 0},
                        {12, 12, 12, 0}, {13, 12, 12, 0}, {17, 12, 12, 0}, {9, 3, 2, 0},
                        {11, 4, 3, 0},   {10, 2, 5, 0},   {14, 5, 4, 0},   {8, 0, 1, 0},
                        {10, 4, 6, 0},   {12, 3, 9, 0},   {10, 12, 12, 1}};
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> value(-300.0, 300.0);
  for (const Case& c : cases)
    for (int widest : {0, 2}) {
      lamina::cpu::g_widest = widest;
      lamina::frequency::g_blocking = {c.blockBits, c.groupBits};
      std::vector<_complex> data(std::size_t{1} << c.m);
      for (auto& z : data) z = {value(rng), (rng() % 3 == 0) ? 0.0 : value(rng)};
      std::vector<_complex> expected = data;
      TextbookOrder(expected, c.m);
      {
        std::optional<FailingAllocations> none;
        if (c.starved) none.emplace();
        Transformer().fnIMG_Fourier(data.data(), c.m);
      }
      EXPECT_EQ(std::memcmp(data.data(), expected.data(), data.size() * sizeof(_complex)), 0)
          << "m " << c.m << " blocks " << c.blockBits << " groups " << c.groupBits << " set "
          << widest;
      // An m it cannot hold, or no array, is ignored.
      Transformer().fnIMG_Fourier(data.data(), widest == 0 ? -1 : 31);
      Transformer().fnIMG_Fourier(nullptr, 3);
      EXPECT_EQ(std::memcmp(data.data(), expected.data(), data.size() * sizeof(_complex)), 0);
    }
  lamina::cpu::g_widest = 3;
  lamina::frequency::g_blocking = {};
}

TEST(FFT, RefusesWithTheImageUntouched) {
  struct Refusal {
    const char* what;
    CLamina img;
    int mode, code;
    bool starved;
  };
  Refusal cases[] = {
      {"12 x 8 is not a power of two", Random(8, 12, 8, 1), 0, 1, false},
      {"size before depth", Random(24, 12, 8, 2), 0, 1, false},
      {"24 bits", Random(24, 16, 8, 3), 0, 2, false},
      {"4 bits", Random(4, 16, 8, 4), 0, 2, false},
      {"no image", CLamina(nullptr, nullptr, 1, 1, 16), 0, 2, false},
      {"mode 2", Random(8, 16, 8, 5), 2, 3, false},
      {"mode -1", Random(8, 16, 8, 6), -1, 3, false},
      {"no memory", Random(8, 64, 32, 7), 0, 4, true},
      {"no pixels: nothing to show", CLamina(nullptr, nullptr, 0, 4, 8), 0, 0, false},
  };
  for (Refusal& c : cases) {
    const Snapshot before = Snap(c.img);
    std::optional<FailingAllocations> none;
    if (c.starved) none.emplace();
    EXPECT_EQ(c.img.fnIMG_FFT(c.mode), c.code) << c.what;
    EXPECT_EQ(Snap(c.img), before) << c.what;
  }
}

// A picture of one kind: 0 random, 1 one bright pixel (every magnitude equal), 2 a checkerboard,
// 3 flat (only X[0] is not 0), 4 all zero.
Rows Picture(int w, int h, int kind, std::mt19937& rng) {
  Rows rows(h, std::vector<std::uint32_t>(w));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      rows[y][x] = kind == 0   ? rng() % 256
                   : kind == 1 ? (x == w / 2 && y == h / 3 ? 200 : 0)
                   : kind == 2 ? ((x + y) % 2) * 255
                   : kind == 3 ? 77
                               : 0;
  return rows;
}

TEST(FFT, FastDisplayGivesTheExactBytes) {
  // The vector path finds the top level by squares and the bytes by an approximate logarithm,
  // falling back on the exact one near a level's edge: many equal magnitudes take the fallbacks.
  std::mt19937 rng(3);
  for (int kind = 0; kind < 4; ++kind) {
    const int mode = kind % 2;
    CLamina fast = FromRows(8, Picture(kind == 0 ? 256 : 64, 128, kind, rng)), exact = fast;
    ASSERT_EQ(fast.fnIMG_FFT(mode), 0);
    lamina::cpu::g_widest = 0;
    ASSERT_EQ(exact.fnIMG_FFT(mode), 0);
    lamina::cpu::g_widest = 3;
    EXPECT_EQ(PixelsOf(fast), PixelsOf(exact)) << "picture " << kind;
  }
}

// The display of an independent transform: a plain DFT in long double of the samples taken row by
// row from the bottom stored row. Returns each sample's unscaled log magnitude.
std::vector<long double> PlainLogMagnitudes(const std::vector<double>& x) {
  const std::size_t n = x.size();
  std::vector<long double> out(n);
  const long double pi = 3.141592653589793238462643383279503L;
  for (std::size_t k = 0; k < n; ++k) {
    std::complex<long double> sum = 0;
    for (std::size_t t = 0; t < n; ++t)
      sum += static_cast<long double>(x[t]) *
             std::polar(1.0L, -2 * pi * static_cast<long double>((t * k) % n) / n);
    out[k] = std::log10(std::abs(sum) + 1);
  }
  return out;
}

TEST(FFT, MatchesAPlainTransform) {
  struct Case {
    int width, height, mode, kind, colours;
  };
  // Widths 1 and 2 have rows shorter than their stride: samples are taken row x width + column,
  // the padding is never read or written. The largest magnitude shows as the top level (255, or
  // 15 with 16 colours); an all-zero picture stays all zero.
  const Case cases[] = {{16, 8, 0, 0, 256},  {16, 8, 1, 0, 256}, {4, 4, 1, 0, 256},
                        {32, 16, 0, 2, 256}, {1, 8, 0, 0, 256},  {2, 4, 1, 0, 256},
                        {1, 1, 0, 0, 256},   {2, 1, 0, 3, 256},  {8, 64, 1, 1, 256},
                        {16, 8, 0, 3, 16},   {16, 8, 1, 0, 16},  {8, 8, 0, 4, 256}};
  std::mt19937 rng(11);
  for (const Case& c : cases) {
    const Rows rows = Picture(c.width, c.height, c.kind, rng);
    std::vector<double> samples;
    for (int y = c.height - 1; y >= 0; --y)
      for (int x = 0; x < c.width; ++x) {
        const bool odd = c.mode == 1 && (x + c.height - 1 - y) % 2 == 1;
        samples.push_back(odd ? -double(rows[y][x]) : double(rows[y][x]));
      }
    const std::vector<long double> logs = PlainLogMagnitudes(samples);
    const long double top = *std::max_element(logs.begin(), logs.end());
    for (int widest : {0, 3}) {
      lamina::cpu::g_widest = widest;
      CLamina img = c.colours == 256 ? Marked(8, rows) : Raw(8, c.width, c.height, GrayRamp(16));
      for (int y = 0; c.colours != 256 && y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) img.fnIMG_SetPixel(x, y, rows[y][x]);
      ASSERT_EQ(img.fnIMG_FFT(c.mode), 0);
      EXPECT_TRUE(c.colours != 256 || PaddingKept(img));
      for (std::size_t k = 0; k < samples.size(); ++k) {
        const int x = int(k % c.width), y = c.height - 1 - int(k / c.width);
        const long double scaled = top > 0 ? logs[k] * c.colours / top : 0;
        const double expected = double(std::min<long double>(std::floor(scaled), c.colours - 1));
        // Two transforms agree to about 1e-12: only a value that close to a level's edge may land
        // on either side of it.
        EXPECT_NEAR(img.fnIMG_GetPixel(x, y), expected,
                    std::fabs(scaled - std::round(scaled)) > 1e-9 ? 0.0 : 1.0)
            << c.width << " x " << c.height << " mode " << c.mode << " kind " << c.kind
            << " sample " << k << " set " << widest;
      }
    }
  }
  lamina::cpu::g_widest = 3;
}

}  // namespace

// The Fourier display: refusals, the stated pictures, tiny widths, a comparison with a plain DFT,
// and the transform itself bit for bit against the textbook loop order.
#include <cmath>
#include <complex>
#include <cstring>
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
  };
  // Default cutting, then small blocks and groups so that several groups, several panel rows
  // and uneven groups occur on arrays the textbook loop checks quickly.
  const Case cases[] = {{0, 12, 12},  {1, 12, 12},  {2, 12, 12}, {5, 12, 12}, {12, 12, 12},
                        {13, 12, 12}, {17, 12, 12}, {9, 3, 2},   {11, 4, 3},  {10, 2, 5},
                        {14, 5, 4},   {8, 0, 1},    {10, 4, 6},  {12, 3, 9}};
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
      Transformer().fnIMG_Fourier(data.data(), c.m);
      EXPECT_EQ(std::memcmp(data.data(), expected.data(), data.size() * sizeof(_complex)), 0)
          << "m " << c.m << " blocks " << c.blockBits << " groups " << c.groupBits << " set "
          << widest;
    }
  lamina::cpu::g_widest = 3;
  lamina::frequency::g_blocking = {};
  // Without memory for its working arrays it still transforms, in place.
  std::vector<_complex> data(1024), expected;
  for (auto& z : data) z = {value(rng), value(rng)};
  expected = data;
  TextbookOrder(expected, 10);
  {
    FailingAllocations none;
    Transformer().fnIMG_Fourier(data.data(), 10);
  }
  EXPECT_EQ(std::memcmp(data.data(), expected.data(), data.size() * sizeof(_complex)), 0);
  // An m it cannot hold, or no array, is ignored.
  std::vector<_complex> kept = data;
  Transformer().fnIMG_Fourier(data.data(), -1);
  Transformer().fnIMG_Fourier(data.data(), 31);
  Transformer().fnIMG_Fourier(nullptr, 3);
  EXPECT_EQ(std::memcmp(data.data(), kept.data(), data.size() * sizeof(_complex)), 0);
}

TEST(FFT, RefusesWithTheImageUntouched) {
  struct Refusal {
    const char* what;
    CLamina img;
    int mode, code;
  };
  Refusal cases[] = {
      {"12 x 8 is not a power of two", Random(8, 12, 8, 1), 0, 1},
      {"size before depth", Random(24, 12, 8, 2), 0, 1},
      {"24 bits", Random(24, 16, 8, 3), 0, 2},
      {"4 bits", Random(4, 16, 8, 4), 0, 2},
      {"no image", CLamina(nullptr, nullptr, 1, 1, 16), 0, 2},
      {"mode 2", Random(8, 16, 8, 5), 2, 3},
      {"mode -1", Random(8, 16, 8, 6), -1, 3},
  };
  for (Refusal& c : cases) {
    const Snapshot before = Snap(c.img);
    EXPECT_EQ(c.img.fnIMG_FFT(c.mode), c.code) << c.what;
    EXPECT_EQ(Snap(c.img), before) << c.what;
  }
  // An 8-bit image without pixels has nothing to show.
  CLamina empty(nullptr, nullptr, 0, 4, 8);
  const Snapshot emptyBefore = Snap(empty);
  EXPECT_EQ(empty.fnIMG_FFT(0), 0);
  EXPECT_EQ(Snap(empty), emptyBefore);
  CLamina img = Random(8, 64, 32, 7);
  const Snapshot before = Snap(img);
  {
    FailingAllocations none;
    EXPECT_EQ(img.fnIMG_FFT(0), 4);
  }
  EXPECT_EQ(Snap(img), before);
}

TEST(FFT, FlatPicturesShowOnlyTheirMean) {
  // All zero stays all zero (no magnitude to scale by). A constant level has only X[0]: the first
  // stored sample (bottom-left) gets the top level, which with a 16-entry palette is 15.
  CLamina zero = Marked(8, Rows(8, std::vector<std::uint32_t>(16, 0)));
  EXPECT_EQ(zero.fnIMG_FFT(0), 0);
  EXPECT_EQ(PixelsOf(zero), Rows(8, std::vector<std::uint32_t>(16, 0)));
  for (int entries : {256, 16}) {
    CLamina flat = entries == 256 ? Marked(8, Rows(8, std::vector<std::uint32_t>(16, 77)))
                                  : Raw(8, 16, 8, GrayRamp(16));
    if (entries == 16)
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) flat.fnIMG_SetPixel(x, y, 77);
    EXPECT_EQ(flat.fnIMG_FFT(0), 0);
    Rows expected(8, std::vector<std::uint32_t>(16, 0));
    expected[7][0] = entries - 1;
    EXPECT_EQ(PixelsOf(flat), expected) << entries;
  }
}

TEST(FFT, FastDisplayGivesTheExactBytes) {
  // The vector path finds the top level by squares and the bytes by an approximate logarithm;
  // pictures with many equal magnitudes (an impulse: all equal; a checkerboard; a flat image
  // whose other magnitudes are rounding noise) take its exact fallbacks.
  std::mt19937 rng(3);
  auto picture = [&](int w, int h, int kind) {
    Rows rows(h, std::vector<std::uint32_t>(w));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        rows[y][x] = kind == 0   ? rng() % 256
                     : kind == 1 ? (x == 3 && y == 5 ? 200 : 0)
                     : kind == 2 ? ((x + y) % 2) * 255
                     : kind == 3 ? 9
                                 : (x * 7 + y * 3) % 256;
    return FromRows(8, rows);
  };
  for (int kind = 0; kind < 5; ++kind)
    for (int mode : {0, 1}) {
      CLamina fast = picture(kind == 0 ? 256 : 64, 128, kind), exact = fast;
      ASSERT_EQ(fast.fnIMG_FFT(mode), 0);
      lamina::cpu::g_widest = 0;
      ASSERT_EQ(exact.fnIMG_FFT(mode), 0);
      lamina::cpu::g_widest = 3;
      EXPECT_EQ(PixelsOf(fast), PixelsOf(exact)) << "picture " << kind << " mode " << mode;
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
    int width, height, mode;
  };
  // Widths 1 and 2 have rows shorter than their stride: samples are taken row x width + column,
  // the padding is never read or written.
  const Case cases[] = {{16, 8, 0}, {16, 8, 1}, {4, 4, 1}, {32, 16, 0}, {1, 8, 0},
                        {2, 4, 1},  {1, 1, 0},  {2, 1, 0}, {8, 64, 1}};
  std::mt19937 rng(11);
  for (const Case& c : cases) {
    Rows rows(c.height, std::vector<std::uint32_t>(c.width));
    for (auto& row : rows)
      for (auto& p : row) p = rng() % 256;
    CLamina img = Marked(8, rows);
    std::vector<double> samples;
    for (int y = c.height - 1; y >= 0; --y)
      for (int x = 0; x < c.width; ++x) {
        const int storedRow = c.height - 1 - y;
        const bool odd = c.mode == 1 && (x + storedRow) % 2 == 1;
        samples.push_back(odd ? -double(rows[y][x]) : double(rows[y][x]));
      }
    const std::vector<long double> logs = PlainLogMagnitudes(samples);
    long double top = 0;
    for (long double l : logs) top = std::max(top, l);
    ASSERT_EQ(img.fnIMG_FFT(c.mode), 0);
    EXPECT_TRUE(PaddingKept(img));
    for (std::size_t k = 0; k < samples.size(); ++k) {
      const int x = static_cast<int>(k % c.width), y = c.height - 1 - static_cast<int>(k / c.width);
      const long double scaled = top > 0 ? logs[k] * 256 / top : 0;
      const long double expected = std::min<long double>(std::floor(scaled), 255);
      const std::uint32_t got = img.fnIMG_GetPixel(x, y);
      // Two transforms agree to about 1e-12; only a value that close to a whole level may land
      // on either side of it.
      if (std::fabs(scaled - std::round(scaled)) > 1e-9)
        EXPECT_EQ(got, static_cast<std::uint32_t>(expected))
            << c.width << " x " << c.height << " mode " << c.mode << " sample " << k;
      else
        EXPECT_NEAR(got, static_cast<double>(expected), 1.0);
    }
  }
}

}  // namespace

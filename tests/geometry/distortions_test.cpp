// The distortion effects: ellipse, undulation, spiral, inclination, mosaic, hoover, emboss.
#include <algorithm>
#include <cmath>
#include <functional>

#include "support/pictures.h"

using namespace lamina_test;

namespace {

constexpr unsigned long kWhite = 0xFFFFFF;

// A w x h picture whose pixel (x, y) is 10 y + x + 1.
Rows Grid(int w, int h) {
  Rows r(h, std::vector<std::uint32_t>(w));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) r[y][x] = 10 * y + x + 1;
  return r;
}

TEST(Ellipse, SqueezesThePictureIntoTheInscribedEllipse) {
  // On a 10 x 10 picture the corners fall outside and get the highest colour number; the centre
  // and the middle of an edge stay; (1, 1) comes from a source column of -0.66, which truncates
  // to 0 and so lies inside.
  CLamina img = Marked(8, Grid(10, 10));
  ASSERT_EQ(img.fnIMG_Ellipse(), 0);
  const Rows out = PixelsOf(img);
  EXPECT_EQ(out[0][0], 255u);
  EXPECT_EQ(out[9][9], 255u);
  EXPECT_EQ(out[5][5], 56u);
  EXPECT_EQ(out[5][0], 51u);
  EXPECT_EQ(out[1][1], 1u);
  EXPECT_TRUE(PaddingKept(img));
  // True colour: white outside, and the fourth bytes stay.
  CLamina rgb = Marked(32, Grid(10, 10));
  ASSERT_EQ(rgb.fnIMG_Ellipse(), 0);
  EXPECT_EQ(rgb.fnIMG_GetPixel(9, 0), 0xFFFFFFu);
  EXPECT_EQ(rgb.fnIMG_GetPixel(5, 5), 56u);
  EXPECT_TRUE(AlphaKept(rgb));
}

TEST(Undulation, ShiftsColumnsAlongTheWave) {
  // A wavelength of 1 and an amplitude of 1 give the columns offsets 1, 1 + sin 1 = 1.84 and
  // 1 + sin 2 = 1.91. Down, every column moves one row (y + offset truncates to y + 1). Up, column
  // 0 moves one row; in the others rows 3 and 2 land on rows 1 and 0, and then row 1, at -0.84,
  // truncates to row 0 too and wins, being taken later (rows go from the bottom up).
  const Rows in = Grid(3, 4);
  const std::vector<std::uint32_t> bg(3, 255);
  struct Case {
    const char* what;
    int amplitude, wavelength, direction;
    Rows out;
  } cases[] = {
      {"down", 1, 1, 0, {bg, in[0], in[1], in[2]}},
      {"up", 1, 1, 1, {{11, 12, 13}, {21, 32, 33}, {31, 255, 255}, bg}},
      {"amplitude 0 keeps the picture", 0, 7, 0, in},
      {"wavelength 0 leaves only background", 3, 0, 1, {bg, bg, bg, bg}},
  };
  for (const Case& k : cases) {
    CLamina img = Marked(8, in);
    ASSERT_EQ(img.fnIMG_Undulation(k.amplitude, k.wavelength, k.direction, kWhite), 0) << k.what;
    EXPECT_EQ(PixelsOf(img), k.out) << k.what;
    EXPECT_TRUE(PaddingKept(img)) << k.what;
  }
}

TEST(Spiral, TurnsOnlyWithinTheRadius) {
  unsigned seed = 2400;
  for (int bpp : {1, 4, 8, 24, 32}) {
    CLamina src = Random(bpp, 15, 11, ++seed);
    // No twist: every pixel where it was.
    CLamina still = src;
    ASSERT_EQ(still.fnIMG_Spiral(0.0, 50), 0);
    EXPECT_EQ(PixelsOf(still), PixelsOf(src)) << bpp;
    // A strong twist within 4 pixels of the centre (7, 5): the pixels farther away stay.
    CLamina twisted = src;
    ASSERT_EQ(twisted.fnIMG_Spiral(300.0, 4), 0);
    int moved = 0;
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 15; ++x) {
        const bool far = (x - 7) * (x - 7) + (y - 5) * (y - 5) > 16;
        if (far) {
          EXPECT_EQ(twisted.fnIMG_GetPixel(x, y), src.fnIMG_GetPixel(x, y)) << x << y;
        }
        moved += twisted.fnIMG_GetPixel(x, y) != src.fnIMG_GetPixel(x, y);
      }
    EXPECT_GT(moved, 0) << bpp;
    // A radius of 0 or less turns nothing and leaves every byte.
    CLamina none = src;
    ASSERT_EQ(none.fnIMG_Spiral(300.0, 0), 0);
    EXPECT_EQ(Snap(none), Snap(src));
  }
}

TEST(Inclination, ShearsAndCollapsesColumnByColumn) {
  const std::uint32_t a = 1, b = 2, c = 3, d = 4, e = 5, f = 6, K = 255;
  struct Case {
    int kind;
    double amount;
    Rows in, out;
    const char* what;
  } cases[] = {
      {0, 50, {{a, b, c}, {d, e, f}}, {{a, b, c}, {K, d, e}}, "0: rows right by their number"},
      {3, 50, {{a, b}, {c, d}}, {{a, d}, {c, K}}, "3: columns up by their number"},
      {9, 100, {{a, b}, {c, d}}, {{a, K}, {K, b}}, "9: columns in turn, so b lands on c"},
      {7, 100, {{a, b, c}, {d, e, f}}, {{c, K, K}, {f, K, K}}, "7: onto column 0, the last wins"},
      {5, 100, {{a, b, c}, {d, e, f}}, {{d, e, f}, {K, K, K}}, "5: onto row 0, the bottom wins"},
  };
  for (const Case& k : cases) {
    CLamina img = FromRows(8, k.in);
    ASSERT_EQ(img.fnIMG_Inclination(k.kind, k.amount, kWhite), 0) << k.what;
    EXPECT_EQ(PixelsOf(img), k.out) << k.what;
  }
  for (int kind = 0; kind <= 9; ++kind) {
    CLamina img = Random(24, 9, 7, 2500 + kind);
    const Rows before = PixelsOf(img);
    ASSERT_EQ(img.fnIMG_Inclination(kind, 0.0, kWhite), 0);
    EXPECT_EQ(PixelsOf(img), before) << kind;
  }
}

// The plain mosaic: each block's values summed one by one in single precision, rows from the top.
void ReferenceMosaic(CLamina& img, int bh, int bw) {
  const int w = img.fnIMG_GetColumns(), h = img.fnIMG_GetRows();
  for (int by = 0; by < h / bh; ++by)
    for (int bx = 0; bx < w / bw; ++bx) {
      const int y0 = by * bh, x0 = bx * bw;
      const int y1 = by == h / bh - 1 ? h : y0 + bh, x1 = bx == w / bw - 1 ? w : x0 + bw;
      float sum = 0;
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) sum += static_cast<float>(img.fnIMG_GetPixel(x, y));
      const auto mean = static_cast<std::uint32_t>(sum / static_cast<float>((y1 - y0) * (x1 - x0)));
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) img.fnIMG_SetPixel(x, y, mean);
    }
}

TEST(Mosaic, SumsTrueColourInFloatsRowsFirst) {
  // 16777214 + 6 + 7 + 3 sums to 16777232 in floats taken rows first (16777230 exactly, 16777228
  // taken column by column): the mean is 4194308. The fourth bytes stay.
  CLamina rgb = Marked(32, {{0xFFFFFE, 6, 0, 0}, {7, 3, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}});
  ASSERT_EQ(rgb.fnIMG_Mosaic(2, 2), 0);
  EXPECT_EQ(rgb.fnIMG_GetPixel(1, 1), 4194308u);
  EXPECT_TRUE(AlphaKept(rgb));
}

// Block sizes that leave 0 to 6 rows and columns over for the last blocks.
TEST(Mosaic, AgreesWithThePlainSumOnRandomPicturesOfEveryDepth) {
  unsigned seed = 2600;
  const int sizes[][2] = {{1, 1}, {2, 3}, {4, 5}, {7, 6}};
  for (int bpp : {1, 4, 8, 24, 32})
    for (const auto& s : sizes) {
      CLamina fast = Random(bpp, 29, 17, ++seed);
      CLamina plain = fast;
      ASSERT_EQ(fast.fnIMG_Mosaic(s[0], s[1]), 0);
      ReferenceMosaic(plain, s[0], s[1]);
      EXPECT_EQ(Snap(fast), Snap(plain)) << bpp << " bits, blocks " << s[0] << " x " << s[1];
    }
  // Blocks large enough that 8-bit sums leave a float's exact range (above 2^24).
  CLamina fast = Random(8, 600, 600, 7);
  CLamina plain = fast;
  ASSERT_EQ(fast.fnIMG_Mosaic(300, 300), 0);
  ReferenceMosaic(plain, 300, 300);
  EXPECT_EQ(Snap(fast), Snap(plain));
}

TEST(Hoover, MovesOnlyValuesThePictureHas) {
  // Both modes copy pixels onto pixels along rays from the point (a read beyond the picture would
  // give all ones); the point may lie on the border.
  for (int mode : {0, 1}) {
    CLamina img = FromRows(8, Grid(9, 9));
    ASSERT_EQ(img.fnIMG_Hoover(mode, mode == 0 ? 4 : 0, 4, 2), 0);
    int changed = 0;
    const Rows out = PixelsOf(img), in = Grid(9, 9);
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 9; ++x) {
        const std::uint32_t v = out[y][x];
        EXPECT_TRUE((v >= 1 && v <= 89 && v % 10 != 0) || v == 255) << v;
        changed += v != in[y][x];
      }
    EXPECT_GT(changed, 0) << mode;
  }
}

TEST(Distortions, RefuseInCheckOrderAndLeaveTheImage) {
  using Op = std::function<int(CLamina&)>;
  struct Case {
    const char* what;
    bool sixteen;
    Op op;
    int code;
  } cases[] = {
      {"ellipse: depth", true, [](CLamina& i) { return i.fnIMG_Ellipse(); }, 1},
      {"undulation: direction", true, [](CLamina& i) { return i.fnIMG_Undulation(1, 1, 2, 0); }, 1},
      {"undulation: depth", true, [](CLamina& i) { return i.fnIMG_Undulation(1, 1, 1, 0); }, 2},
      {"spiral: depth", true, [](CLamina& i) { return i.fnIMG_Spiral(NAN, 0); }, 1},
      {"spiral: twist not a number", false, [](CLamina& i) { return i.fnIMG_Spiral(NAN, 0); }, 2},
      {"spiral: infinite twist", false, [](CLamina& i) { return i.fnIMG_Spiral(INFINITY, 5); }, 2},
      {"inclination: depth", true, [](CLamina& i) { return i.fnIMG_Inclination(10, -1, 0); }, 1},
      {"inclination: kind", false, [](CLamina& i) { return i.fnIMG_Inclination(-1, -1, 0); }, 2},
      {"inclination: amount", false, [](CLamina& i) { return i.fnIMG_Inclination(0, NAN, 0); }, 3},
      {"mosaic: block above half", true, [](CLamina& i) { return i.fnIMG_Mosaic(3, 1); }, 1},
      {"mosaic: 16 bits", true, [](CLamina& i) { return i.fnIMG_Mosaic(2, 2); }, 2},
      {"emboss: depth first", true, [](CLamina& i) { return i.fnIMG_Emboss(2); }, 2},
      {"emboss: distance", false, [](CLamina& i) { return i.fnIMG_Emboss(2); }, 1},
      {"hoover: mode", true, [](CLamina& i) { return i.fnIMG_Hoover(2, -1, 0, 0); }, 1},
      {"hoover: point", true, [](CLamina& i) { return i.fnIMG_Hoover(1, 4, 0, 0); }, 2},
      {"hoover: passes", true, [](CLamina& i) { return i.fnIMG_Hoover(1, 3, 3, 0); }, 3},
      {"hoover: depth", true, [](CLamina& i) { return i.fnIMG_Hoover(1, 3, 3, 1); }, 4},
  };
  const Rows pixels = Grid(4, 4);
  for (const Case& k : cases) {
    CLamina img = k.sixteen ? Sixteen(pixels) : FromRows(8, pixels);
    const Snapshot before = Snap(img);
    EXPECT_EQ(k.op(img), k.code) << k.what;
    EXPECT_EQ(Snap(img), before) << k.what;
  }
  CLamina img = Random(24, 8, 8, 9);
  const Snapshot before = Snap(img);
  {
    FailingAllocations fail;
    EXPECT_EQ(img.fnIMG_Ellipse(), 2);
    EXPECT_EQ(img.fnIMG_Undulation(2, 5, 0, 0), 3);
    EXPECT_EQ(img.fnIMG_Inclination(1, 5, 0), 4);
  }
  EXPECT_EQ(Snap(img), before);
  CLamina gray = Random(8, 9, 9, 4);
  const Snapshot grayBefore = Snap(gray);
  {
    FailingAllocations fail;
    EXPECT_EQ(gray.fnIMG_Emboss(3), 3);
  }
  EXPECT_EQ(Snap(gray), grayBefore);
}

// The plain emboss through the public members: the 5 x 5 mean of a copy, then each pixel from row
// 1 and column d on (row 0 and the first d columns keep their values).
void ReferenceEmboss(CLamina& img, int d) {
  CLamina filtered = img;
  filtered.fnIMG_Filters(19, 0, 2);
  CLamina out = img;
  const int n = img.fnIMG_GetColorsUsed();
  for (int y = 1; y < img.fnIMG_GetRows(); ++y)
    for (int x = d; x < img.fnIMG_GetColumns(); ++x) {
      const int v = static_cast<int>(img.fnIMG_GetPixel(x, y) & 255) + n / 2 -
                    static_cast<int>(filtered.fnIMG_GetPixel(x - d, y) & 255);
      out.fnIMG_SetPixel(x, y, static_cast<unsigned>(std::clamp(v, 0, n - 1)));
    }
  img = out;
}

TEST(Emboss, AgreesWithThePlainRouteThroughTheFilter) {
  unsigned seed = 2700;
  for (int bpp : {4, 8})
    for (int d : {1, 3, 5}) {
      CLamina fast = Random(bpp, 23, 9, ++seed);
      CLamina plain = fast;
      ASSERT_EQ(fast.fnIMG_Emboss(d), 0);
      ReferenceEmboss(plain, d);
      EXPECT_EQ(Snap(fast), Snap(plain)) << bpp << " bits, distance " << d;
    }
}

}  // namespace

// fnIMG_EqualizeHistogram: the three roundings, gray results on true colour, the two-level case,
// colour models on pixels and palettes, bins kept inside small tables, result codes.
#include <array>

#include "support/pictures.h"

namespace {

using namespace lamina_test;

struct Case {
  const char* what;
  int bpp;
  Rows before;
  int model, rounding;
  Rows after;
};

const Case kCases[] = {
    {"half and half, rounded", 8, {{0, 255}, {255, 0}}, 0, 0, {{128, 255}, {255, 128}}},
    {"half and half, down", 8, {{0, 255}, {255, 0}}, 0, 1, {{127, 255}, {255, 127}}},
    // 2/7 + 4/7 + 1/7 sums to a hair above 1 in float; its ceiling times 255 would be 256.
    {"top never wraps", 8, {{0, 0, 128, 128, 128, 128, 255}}, 0, 2,
     {{73, 73, 219, 219, 219, 219, 255}}},
    {"one bit, 0.75 rounds up", 1, {{0, 0, 0, 1}}, 0, 0, {{1, 1, 1, 1}}},
    {"four bits, odd width", 4, {{0, 0, 15}}, 0, 1, {{10, 10, 15}}},
    // True colour comes back gray from its red byte; the fourth byte stays.
    {"32 bits gray", 32, {{Rgb(10, 200, 30), Rgb(250, 1, 2)}}, 0, 0,
     {{Rgb(128, 128, 128), Rgb(255, 255, 255)}}},
    // V 100 takes 0.5 * 255 + 0.5 = 128, V 200 the top 255.5; hue and saturation stay.
    {"HSV", 24, {{Rgb(100, 50, 0), Rgb(200, 100, 0)}}, 3, 0,
     {{Rgb(128, 64, 0), Rgb(255, 128, 0)}}},
    // Red's X (105) is the higher of two X bins, blue's Z the higher of two Z bins: each reaches
    // the top of its own table.
    {"XYZ", 24, {{Rgb(255, 0, 0), Rgb(0, 0, 255)}}, 8, 0,
     {{Rgb(255, 237, 109), Rgb(79, 127, 255)}}},
    {"CMYK keeps black", 24, {{Rgb(200, 100, 50), 0}}, 1, 0, {{0, 0}}},
    // Inks 155 and 55 become 255 and 128; black stays 155 and 55.
    {"CMYK whole inks", 24, {{Rgb(100, 100, 100), Rgb(200, 200, 200)}}, 1, 0,
     {{0, Rgb(99, 99, 99)}}},
};

TEST(Equalize, PixelsPaddingAndFourthBytes) {
  for (const Case& c : kCases) {
    CLamina img = Marked(c.bpp, c.before);
    ASSERT_EQ(img.fnIMG_EqualizeHistogram(c.model, c.rounding), 0) << c.what;
    EXPECT_EQ(PixelsOf(img), c.after) << c.what;
    EXPECT_TRUE(PaddingKept(img)) << c.what;
    EXPECT_TRUE(AlphaKept(img)) << c.what;
  }
}

TEST(Equalize, ResultCodesInOrderAndNothingChanged) {
  CLamina img = Marked(8, {{1, 2}});
  const Snapshot s = Snap(img);
  CLamina none(nullptr, nullptr, 2, 1, 16);
  EXPECT_EQ(none.fnIMG_EqualizeHistogram(0, 0), 1);
  EXPECT_EQ(none.fnIMG_EqualizeHistogram(11, 9), 1);
  for (const auto& [model, rounding, code] :
       {std::array<int, 3>{0, 3, 3}, {0, -1, 3}, {11, 0, 2}, {-1, 0, 2}, {11, 7, 2}})
    EXPECT_EQ(img.fnIMG_EqualizeHistogram(model, rounding), code) << model << " " << rounding;
  EXPECT_EQ(Snap(img), s);
  EXPECT_EQ(img.fnIMG_EqualizeHistogram(5, 7), 0);  // the rounding is not looked at
  CLamina empty(nullptr, nullptr, 0, 3, 8);  // no pixels: nothing to equalize
  const Snapshot e = Snap(empty);
  for (int model = 0; model <= 10; ++model) EXPECT_EQ(empty.fnIMG_EqualizeHistogram(model, 0), 0);
  EXPECT_EQ(Snap(empty), e);
}

TEST(Equalize, SmallPalettesKeepBinsInsideTheirTables) {
  CLamina img = Marked(1, {{0, 1}}, {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}});
  ASSERT_EQ(img.fnIMG_EqualizeHistogram(2, 0), 0);
  // Intensity 255 is limited to the top bin; the two-bin table then gives 1.0 and 1.5.
  EXPECT_EQ(Entry(img, 0).rgbRed, 1);
  EXPECT_EQ(Entry(img, 1).rgbRed, 2);
  for (int model = 1; model <= 10; ++model) {
    CLamina nib = Marked(4, {{0, 5, 15}});
    ASSERT_EQ(nib.fnIMG_EqualizeHistogram(model, 0), 0);
    EXPECT_EQ(PixelsOf(nib), (Rows{{0, 5, 15}}));
  }
  // White's Y (255) would fall in bin 278 of a 256-bin YCbCr table: it is kept in the last bin.
  std::vector<RGBQUAD> pal(256, RGBQUAD{255, 255, 255, 0});
  pal[0] = RGBQUAD{0, 0, 0, 0};
  CLamina y = Marked(8, {{0, 1}}, pal);
  ASSERT_EQ(y.fnIMG_EqualizeHistogram(7, 0), 0);
  EXPECT_EQ(PixelsOf(y), (Rows{{0, 1}}));
  // Read back at trunc(Y), so black takes bin 0's 128 (Y 125.9) and white the top's 255.5.
  EXPECT_EQ(Entry(y, 1).rgbGreen, 235);
  EXPECT_EQ(Entry(y, 0).rgbGreen, 125);
}

TEST(Equalize, ManyColoursThroughTheMemoMatchAPaletteOfTheSame) {
  // Selector 0 aside, a palette entry and a pixel of the same colour are remapped alike when the
  // histograms agree: one pixel per colour in both forms.
  std::vector<RGBQUAD> pal(256);
  Rows rows(1), idx(1);
  for (int i = 0; i < 256; ++i) {
    pal[i] = RGBQUAD{BYTE(i * 5), BYTE(i), BYTE(255 - i), 7};  // the reserved byte ends 0
    rows[0].push_back(Rgb(255 - i, i, i * 5 & 255));
    idx[0].push_back(i);
  }
  for (int model : {2, 3, 4, 5, 6, 8, 9, 10}) {
    CLamina p = Marked(8, idx, pal), t = Marked(24, rows);
    ASSERT_EQ(p.fnIMG_EqualizeHistogram(model, 0), 0);
    ASSERT_EQ(t.fnIMG_EqualizeHistogram(model, 0), 0);
    EXPECT_EQ(PixelsOf(p), idx) << model;  // a palette model changes entries, not indices
    for (int i = 0; i < 256; ++i) {
      ASSERT_TRUE(Same(Entry(p, i), Colour(t, i, 0))) << model << " " << i;
    }
  }
}

}  // namespace

// fnIMG_EqualizeHistogram: the three roundings, gray results on true colour, the two-level case,
// colour models on pixels and palettes, bins kept inside small tables, result codes.
#include <gtest/gtest.h>

#include "support/pictures.h"

namespace {

using namespace lamina_test;

TEST(Equalize, HalfBlackHalfWhiteInEachRounding) {
  const std::uint32_t expected0[3] = {128, 127, 128};
  for (int mode = 0; mode < 3; ++mode) {
    CLamina img = Marked(8, {{0, 255}, {255, 0}});
    ASSERT_EQ(img.fnIMG_EqualizeHistogram(0, mode), 0);
    EXPECT_EQ(PixelsOf(img), (Rows{{expected0[mode], 255}, {255, expected0[mode]}})) << mode;
  }
}

TEST(Equalize, TopLevelNeverWrapsToBlack) {
  // 2/7 + 4/7 + 1/7 sums to a hair above 1 in float; its ceiling times 255 would be 256.
  CLamina img = Marked(8, {{0, 0, 128, 128, 128, 128, 255}});
  ASSERT_EQ(img.fnIMG_EqualizeHistogram(0, 2), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{73, 73, 219, 219, 219, 219, 255}}));
}

TEST(Equalize, TrueColourComesBackGrayFromItsRedByte) {
  CLamina img = Marked(32, {{Rgb(10, 200, 30), Rgb(250, 1, 2)}});
  img.fnIMG_SetAlfa(static_cast<unsigned char>(66));
  ASSERT_EQ(img.fnIMG_EqualizeHistogram(0, 0), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(128, 128, 128), Rgb(255, 255, 255)}}));
  EXPECT_EQ(img.fnIMG_GetAlfa(1, 0), 66);
}

TEST(Equalize, OneBitHasTwoLevels) {
  CLamina img = Marked(1, {{0, 0, 0, 1}});
  ASSERT_EQ(img.fnIMG_EqualizeHistogram(0, 0), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{1, 1, 1, 1}}));  // 0.75 rounds up
  CLamina down = Marked(1, {{0, 0, 0, 1}});
  ASSERT_EQ(down.fnIMG_EqualizeHistogram(0, 1), 0);
  EXPECT_EQ(PixelsOf(down), (Rows{{0, 0, 0, 1}}));
}

TEST(Equalize, FourBitsKeepTheOddNibbleOfPadding) {
  CLamina img = Marked(4, {{0, 0, 15}});
  ASSERT_EQ(img.fnIMG_EqualizeHistogram(0, 1), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{10, 10, 15}}));
  EXPECT_EQ(img.fnIMG_GetPointers().lpBits[1] & 0x0F, 0x05);
}

TEST(Equalize, ResultCodesInOrderAndNothingChanged) {
  CLamina img = Marked(8, {{1, 2}});
  const Snapshot s = Snap(img);
  CLamina none(nullptr, nullptr, 2, 1, 16);
  EXPECT_EQ(none.fnIMG_EqualizeHistogram(0, 0), 1);
  EXPECT_EQ(none.fnIMG_EqualizeHistogram(11, 9), 1);
  EXPECT_EQ(img.fnIMG_EqualizeHistogram(0, 3), 3);
  EXPECT_EQ(img.fnIMG_EqualizeHistogram(0, -1), 3);
  EXPECT_EQ(img.fnIMG_EqualizeHistogram(11, 0), 2);
  EXPECT_EQ(img.fnIMG_EqualizeHistogram(-1, 0), 2);
  EXPECT_EQ(img.fnIMG_EqualizeHistogram(11, 7), 2);
  EXPECT_EQ(Snap(img), s);
  EXPECT_EQ(img.fnIMG_EqualizeHistogram(5, 7), 0);  // the rounding is not looked at
}

TEST(Equalize, ImageWithoutPixelsStaysAsItIs) {
  CLamina empty(nullptr, nullptr, 0, 3, 8);
  const Snapshot s = Snap(empty);
  for (int model = 0; model <= 10; ++model) EXPECT_EQ(empty.fnIMG_EqualizeHistogram(model, 0), 0);
  EXPECT_EQ(Snap(empty), s);
}

TEST(Equalize, HsvRemapsValueAndKeepsHue) {
  CLamina img = Marked(24, {{Rgb(100, 50, 0), Rgb(200, 100, 0)}});
  ASSERT_EQ(img.fnIMG_EqualizeHistogram(3, 0), 0);
  // V 100 takes 0.5 * 255 + 0.5 = 128, V 200 the top 255.5; hue and saturation stay.
  EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(128, 64, 0), Rgb(255, 128, 0)}}));
}

TEST(Equalize, XyzChannelsHaveTablesOfTheirOwn) {
  CLamina img = Marked(24, {{Rgb(255, 0, 0), Rgb(0, 0, 255)}});
  ASSERT_EQ(img.fnIMG_EqualizeHistogram(8, 0), 0);
  // Red's X (105) is the higher of two X bins, blue's Z the higher of two Z bins: each reaches
  // the top of its own table.
  EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(255, 237, 109), Rgb(79, 127, 255)}}));
}

TEST(Equalize, TrueColourCmykKeepsBlackAndWholeInks) {
  CLamina img = Marked(24, {{Rgb(200, 100, 50), Rgb(0, 0, 0)}});
  ASSERT_EQ(img.fnIMG_EqualizeHistogram(1, 0), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(0, 0, 0), Rgb(0, 0, 0)}}));
  CLamina grey = Marked(24, {{Rgb(100, 100, 100), Rgb(200, 200, 200)}});
  ASSERT_EQ(grey.fnIMG_EqualizeHistogram(1, 0), 0);
  // Inks 155 and 55 become 255 and 128; black stays 155 and 55.
  EXPECT_EQ(PixelsOf(grey), (Rows{{Rgb(0, 0, 0), Rgb(99, 99, 99)}}));
}

TEST(Equalize, PaletteModelsGiveANewPaletteAndKeepIndices) {
  std::vector<RGBQUAD> pal(256, RGBQUAD{0, 0, 0, 0});
  pal[3] = RGBQUAD{50, 100, 200, 7};
  pal[9] = RGBQUAD{128, 128, 128, 7};
  for (int model = 1; model <= 10; ++model) {
    CLamina img = Marked(8, {{3, 9, 9}}, pal);
    ASSERT_EQ(img.fnIMG_EqualizeHistogram(model, 0), 0);
    EXPECT_EQ(PixelsOf(img), (Rows{{3, 9, 9}}));
    EXPECT_EQ(Entry(img, 3).rgbReserved, 0);
  }
  CLamina img = Marked(8, {{3, 9, 9}}, pal);
  ASSERT_EQ(img.fnIMG_EqualizeHistogram(2, 0), 0);  // intensity 116 and 128
  const RGBQUAD e = Entry(img, 9);
  EXPECT_EQ(e.rgbRed, 255);
  EXPECT_EQ(e.rgbBlue, 255);
}

TEST(Equalize, SmallPalettesKeepBinsInsideTheirTables) {
  std::vector<RGBQUAD> bw = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  CLamina img = Marked(1, {{0, 1}}, bw);
  ASSERT_EQ(img.fnIMG_EqualizeHistogram(2, 0), 0);
  // Intensity 255 is limited to the top bin; the two-bin table then gives 1.0 and 1.5.
  EXPECT_EQ(Entry(img, 0).rgbRed, 1);
  EXPECT_EQ(Entry(img, 1).rgbRed, 2);
  for (int model = 1; model <= 10; ++model) {
    CLamina nib = Marked(4, {{0, 5, 15}});
    ASSERT_EQ(nib.fnIMG_EqualizeHistogram(model, 0), 0);
    EXPECT_EQ(PixelsOf(nib), (Rows{{0, 5, 15}}));
  }
}

TEST(Equalize, YCbCrPaletteBinsFollowTheStudioRange) {
  // White's Y (255) would fall in bin 278 of a 256-bin table: it is kept in the last bin.
  std::vector<RGBQUAD> pal(256, RGBQUAD{255, 255, 255, 0});
  pal[0] = RGBQUAD{0, 0, 0, 0};
  CLamina img = Marked(8, {{0, 1}}, pal);
  ASSERT_EQ(img.fnIMG_EqualizeHistogram(7, 0), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 1}}));
  // Read back at trunc(Y), so black takes bin 0's 128 (Y 125.9) and white the top's 255.5.
  EXPECT_EQ(Entry(img, 1).rgbGreen, 235);
  EXPECT_EQ(Entry(img, 0).rgbGreen, 125);
}

TEST(Equalize, ManyColoursThroughTheMemoMatchAPaletteOfTheSame) {
  // Selector 0 aside, a palette entry and a pixel of the same colour are remapped alike when the
  // histograms agree: one pixel per colour in both forms.
  std::vector<RGBQUAD> pal(256);
  Rows rows(1), idx(1);
  for (int i = 0; i < 256; ++i) {
    pal[i] = RGBQUAD{BYTE(i * 5), BYTE(i), BYTE(255 - i), 0};
    rows[0].push_back(Rgb(255 - i, i, i * 5 & 255));
    idx[0].push_back(i);
  }
  for (int model : {2, 3, 4, 5, 6, 8, 9, 10}) {
    CLamina p = Marked(8, idx, pal), t = Marked(24, rows);
    ASSERT_EQ(p.fnIMG_EqualizeHistogram(model, 0), 0);
    ASSERT_EQ(t.fnIMG_EqualizeHistogram(model, 0), 0);
    for (int i = 0; i < 256; ++i) {
      const RGBQUAD e = Entry(p, i), c = Colour(t, i, 0);
      ASSERT_EQ(e.rgbRed, c.rgbRed) << model << " " << i;
      ASSERT_EQ(e.rgbGreen, c.rgbGreen) << model << " " << i;
      ASSERT_EQ(e.rgbBlue, c.rgbBlue) << model << " " << i;
    }
  }
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "test_images.h"

using namespace intensity_test;

namespace {
std::vector<RGBQUAD> ColourPalette() {
  std::vector<RGBQUAD> p(256);
  for (int i = 0; i < 256; ++i)
    p[static_cast<std::size_t>(i)] = RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i / 2), 0};
  return p;
}
void ExpectEntry(CLamina& img, int i, int blue, int green, int red) {
  const RGBQUAD e = Entry(img, i);
  EXPECT_EQ(e.rgbBlue, blue) << "entry " << i;
  EXPECT_EQ(e.rgbGreen, green) << "entry " << i;
  EXPECT_EQ(e.rgbRed, red) << "entry " << i;
}
void ExpectColour(CLamina& img, int x, int y, int red, int green, int blue) {
  const RGBQUAD c = Colour(img, x, y);
  EXPECT_EQ(c.rgbRed, red) << x << "," << y;
  EXPECT_EQ(c.rgbGreen, green) << x << "," << y;
  EXPECT_EQ(c.rgbBlue, blue) << x << "," << y;
}
}  // namespace

// ---- Balance -------------------------------------------------------------------------------

TEST(Balance, ClampsTrueColourChannels) {
  CLamina img = Make(32, {{Rgb(10, 20, 200), Rgb(250, 5, 0)}});
  FillAlpha(img, 9);
  ASSERT_EQ(img.fnIMG_Balance(0, -50, 50), 0);
  ExpectColour(img, 0, 0, 10, 0, 255);
  ExpectColour(img, 1, 0, 250, 0, 127);
  EXPECT_EQ(img.fnIMG_GetAlfa(0, 0), 9);
  EXPECT_EQ(img.fnIMG_GetAlfa(1, 0), 9);
}

TEST(Balance, ChangesOnlyThePaletteOfPaletteImages) {
  CLamina img = Make(8, {{0, 128, 255}});
  const Rows before = Pixels(img);
  ASSERT_EQ(img.fnIMG_Balance(1, 0, -100), 0);
  EXPECT_EQ(Pixels(img), before);
  ExpectEntry(img, 128, 0, 128, 130);
  ExpectEntry(img, 255, 0, 255, 255);
}

TEST(Balance, ChecksPercentagesBeforeDepth) {
  CLamina one = Make(1, {{1, 0}});
  const Snapshot s(one);
  EXPECT_EQ(one.fnIMG_Balance(0, 101, 0), 1);
  EXPECT_EQ(one.fnIMG_Balance(0, 0, 0), 2);
  EXPECT_TRUE(Same(one, s));
}

// ---- Brightness ------------------------------------------------------------------------------

TEST(Brightness, MovesGrayIndicesAndTruncatesTheOffset) {
  CLamina img = Make(8, {{0, 100, 254, 255}});
  ASSERT_EQ(img.fnIMG_Brightness(1), 0);
  EXPECT_EQ(Pixels(img), (Rows{{2, 102, 255, 255}}));
  ASSERT_EQ(img.fnIMG_Brightness(-100), 0);
  EXPECT_EQ(Pixels(img), (Rows{{0, 0, 0, 0}}));
}

TEST(Brightness, SmallStepOnFourBitGrayChangesNothing) {
  CLamina img = Make(4, {{0, 5, 15}});
  const Snapshot s(img);
  EXPECT_EQ(img.fnIMG_Brightness(6), 0);
  EXPECT_TRUE(Same(img, s));
  ASSERT_EQ(img.fnIMG_Brightness(7), 0);  // 15 * 7 / 100 = 1
  EXPECT_EQ(Pixels(img), (Rows{{1, 6, 15}}));
}

TEST(Brightness, ShortGrayPaletteLimitsTheIndex) {
  CLamina img = Make(8, {{0, 50, 99}});
  img.fnIMG_GetPointers().lpbmih->biClrUsed = 100;
  ASSERT_EQ(img.fnIMG_Brightness(100), 0);
  EXPECT_EQ(Pixels(img), (Rows{{99, 99, 99}}));
}

TEST(Brightness, ColourPaletteMovesEntriesNotPixels) {
  CLamina img = Make(8, {{3, 7}}, ColourPalette());
  const Rows before = Pixels(img);
  ASSERT_EQ(img.fnIMG_Brightness(50), 0);  // +127
  EXPECT_EQ(Pixels(img), before);
  ExpectEntry(img, 3, 130, 255, 128);
}

TEST(Brightness, TrueColourExtremesAndPadding) {
  // Width 3 at 24 bits: 3 padding bytes per row, filled with 0xA5.
  CLamina img = Make(24, {{Rgb(1, 2, 3), Rgb(200, 100, 0), Rgb(255, 255, 255)}});
  ASSERT_EQ(img.fnIMG_Brightness(100), 0);
  for (int x = 0; x < 3; ++x) ExpectColour(img, x, 0, 255, 255, 255);
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  EXPECT_EQ(p.lpBits[9], 0xA5);
  EXPECT_EQ(p.lpBits[11], 0xA5);
  ASSERT_EQ(img.fnIMG_Brightness(-100), 0);
  for (int x = 0; x < 3; ++x) ExpectColour(img, x, 0, 0, 0, 0);
}

TEST(Brightness, RefusalsLeaveTheImage) {
  CLamina img = Make(1, {{1}});
  const Snapshot s(img);
  EXPECT_EQ(img.fnIMG_Brightness(-101), 1);
  EXPECT_EQ(img.fnIMG_Brightness(10), 2);
  EXPECT_TRUE(Same(img, s));
}

// ---- Gamma -----------------------------------------------------------------------------------

TEST(Gamma, KnownLevels) {
  CLamina img = Make(8, {{0, 64, 128, 255}});
  ASSERT_EQ(img.fnIMG_Gamma(1.0f), 0);
  EXPECT_EQ(Pixels(img), (Rows{{0, 64, 128, 255}}));
  ASSERT_EQ(img.fnIMG_Gamma(2.0f), 0);
  EXPECT_EQ(Pixels(img)[0][1], 127u);
  EXPECT_EQ(Pixels(img)[0][3], 255u);
}

TEST(Gamma, ZeroSendsEveryLevelBelowTheTopToZero) {
  CLamina img = Make(8, {{0, 1, 254, 255}});
  ASSERT_EQ(img.fnIMG_Gamma(0.0f), 0);
  EXPECT_EQ(Pixels(img), (Rows{{0, 0, 0, 255}}));
  CLamina four = Make(4, {{0, 14, 15}});
  ASSERT_EQ(four.fnIMG_Gamma(0.0f), 0);
  EXPECT_EQ(Pixels(four), (Rows{{0, 0, 15}}));
  CLamina rgb = Make(24, {{Rgb(255, 254, 0)}});
  ASSERT_EQ(rgb.fnIMG_Gamma(0.0f), 0);
  ExpectColour(rgb, 0, 0, 255, 0, 0);
}

TEST(Gamma, InfiniteGammaLiftsEverythingToTheTop) {
  CLamina img = Make(8, {{0, 77}});
  ASSERT_EQ(img.fnIMG_Gamma(std::numeric_limits<float>::infinity()), 0);
  EXPECT_EQ(Pixels(img), (Rows{{255, 255}}));
}

TEST(Gamma, NegativeOrNaNIsRefused) {
  CLamina img = Make(8, {{10}});
  const Snapshot s(img);
  EXPECT_EQ(img.fnIMG_Gamma(-0.5f), 1);
  EXPECT_EQ(img.fnIMG_Gamma(std::nanf("")), 1);
  EXPECT_TRUE(Same(img, s));
  CLamina one = Make(1, {{1}});
  EXPECT_EQ(one.fnIMG_Gamma(1.0f), 2);
}

TEST(Gamma, ColourPaletteGoesThroughEntries) {
  CLamina img = Make(8, {{2}}, ColourPalette());
  ASSERT_EQ(img.fnIMG_Gamma(2.0f), 0);
  EXPECT_EQ(Pixels(img), (Rows{{2}}));
  ExpectEntry(img, 64, 127, 220, 90);  // blue 64, green 191, red 32
}

// ---- Gray levels -----------------------------------------------------------------------------

TEST(GrayLevels, TwoAndFourLevels) {
  CLamina img = Make(8, {{0, 127, 128, 255}});
  ASSERT_EQ(img.fnIMG_ChangeGrayLevelsNumber(2), 0);
  EXPECT_EQ(Pixels(img), (Rows{{64, 64, 192, 192}}));
  CLamina four = Make(8, {{0, 70, 130, 255}});
  ASSERT_EQ(four.fnIMG_ChangeGrayLevelsNumber(4), 0);
  EXPECT_EQ(Pixels(four), (Rows{{32, 96, 160, 224}}));
}

TEST(GrayLevels, TopBandNeverWrapsToDark) {
  CLamina img = Make(8, {{254, 255, 170}});
  ASSERT_EQ(img.fnIMG_ChangeGrayLevelsNumber(3), 0);  // step 85
  EXPECT_EQ(Pixels(img), (Rows{{212, 255, 212}}));
  CLamina rgb = Make(24, {{Rgb(255, 255, 255), Rgb(3, 3, 3)}});
  ASSERT_EQ(rgb.fnIMG_ChangeGrayLevelsNumber(70), 0);  // step 3
  ExpectColour(rgb, 0, 0, 255, 255, 255);
  ExpectColour(rgb, 1, 0, 4, 4, 4);
}

TEST(GrayLevels, OrderOfChecks) {
  CLamina colour = Make(24, {{Rgb(1, 2, 3)}});
  const Snapshot s(colour);
  EXPECT_EQ(colour.fnIMG_ChangeGrayLevelsNumber(129), 1);
  EXPECT_EQ(colour.fnIMG_ChangeGrayLevelsNumber(4), 3);
  EXPECT_TRUE(Same(colour, s));
  CLamina four = Make(4, {{1}});
  EXPECT_EQ(four.fnIMG_ChangeGrayLevelsNumber(1), 1);
  EXPECT_EQ(four.fnIMG_ChangeGrayLevelsNumber(4), 2);
}

TEST(GrayLevels, KeepsAlpha) {
  CLamina img = Make(32, {{Rgb(200, 200, 200)}});
  FillAlpha(img, 33);
  ASSERT_EQ(img.fnIMG_ChangeGrayLevelsNumber(2), 0);
  ExpectColour(img, 0, 0, 192, 192, 192);
  EXPECT_EQ(img.fnIMG_GetAlfa(0, 0), 33);
}

// ---- Negative --------------------------------------------------------------------------------

TEST(Negative, GrayIndicesWithinTheColoursUsed) {
  CLamina img = Make(8, {{0, 15, 3}});
  img.fnIMG_GetPointers().lpbmih->biClrUsed = 16;
  ASSERT_EQ(img.fnIMG_Negative(), 0);
  EXPECT_EQ(Pixels(img), (Rows{{15, 0, 12}}));
}

TEST(Negative, OneBitOddWidthKeepsPaddingBits) {
  CLamina img = Make(1, {{1, 0, 1}});
  ASSERT_EQ(img.fnIMG_Negative(), 0);
  EXPECT_EQ(Pixels(img), (Rows{{0, 1, 0}}));
  // 0xA5 padding: the five low bits of the row's first byte and the three other bytes stay.
  const std::uint8_t* bits = img.fnIMG_GetPointers().lpBits;
  EXPECT_EQ(bits[0] & 0x1F, 0xA5 & 0x1F);
  EXPECT_EQ(bits[1], 0xA5);
  EXPECT_EQ(bits[3], 0xA5);
}

TEST(Negative, FourBitOddWidthKeepsTheUnusedNibble) {
  CLamina img = Make(4, {{1, 2, 3}});
  ASSERT_EQ(img.fnIMG_Negative(), 0);
  EXPECT_EQ(Pixels(img), (Rows{{14, 13, 12}}));
  EXPECT_EQ(img.fnIMG_GetPointers().lpBits[1] & 0x0F, 0x05);
}

TEST(Negative, ColourPaletteComplementsEntries) {
  CLamina img = Make(8, {{9}}, ColourPalette());
  ASSERT_EQ(img.fnIMG_Negative(), 0);
  EXPECT_EQ(Pixels(img), (Rows{{9}}));
  ExpectEntry(img, 9, 246, 9, 251);
}

TEST(Negative, AllFlagsOnTrueColourIsIdentity) {
  CLamina img = Make(32, {{Rgb(1, 2, 3), Rgb(250, 128, 0)}});
  FillAlpha(img, 200);
  const Snapshot s(img);
  ASSERT_EQ(img.fnIMG_Negative(CLamina::CualesRGB{1, 1, 1, 1}), 0);
  EXPECT_TRUE(Same(img, s));
  ASSERT_EQ(img.fnIMG_Negative(CLamina::CualesRGB{0, 1, 0, 0}), 0);
  ExpectColour(img, 0, 0, 254, 2, 3);
  EXPECT_EQ(img.fnIMG_GetAlfa(0, 0), 200);
}

TEST(Negative, RedFlagOnGrayPaletteColoursIt) {
  CLamina img = Make(8, {{5}});
  ASSERT_EQ(img.fnIMG_Negative(CLamina::CualesRGB{0, 1, 0, 0}), 0);
  EXPECT_EQ(Pixels(img), (Rows{{5}}));
  ExpectEntry(img, 5, 5, 5, 250);
  EXPECT_EQ(img.fnIMG_IsGray(), 0);
}

TEST(Negative, GrayFlagThenBlueOnGrayPalette) {
  CLamina img = Make(8, {{5}});
  ASSERT_EQ(img.fnIMG_Negative(CLamina::CualesRGB{1, 0, 0, 1}), 0);
  EXPECT_EQ(Pixels(img), (Rows{{250}}));  // index inverted first
  ExpectEntry(img, 250, 5, 250, 250);     // then every entry's blue
}

TEST(Negative, UnsupportedDepth) {
  CLamina img = Make(8, {{5}});
  img.fnIMG_GetPointers().lpbmih->biBitCount = 16;
  const Snapshot s(img);
  EXPECT_EQ(img.fnIMG_Negative(), 1);
  EXPECT_EQ(img.fnIMG_Negative(CLamina::CualesRGB{1, 1, 1, 1}), 1);
  EXPECT_TRUE(Same(img, s));
}

// ---- Slicing ---------------------------------------------------------------------------------

TEST(Slicing, KeepOrReplaceOutsideTheBand) {
  CLamina img = Make(8, {{99, 100, 150, 151}});
  ASSERT_EQ(img.fnIMG_GrayLevelSlicing(1, 100, 150, 255, 0), 0);
  EXPECT_EQ(Pixels(img), (Rows{{99, 255, 255, 151}}));
  CLamina zero = Make(8, {{99, 100, 150, 151}});
  ASSERT_EQ(zero.fnIMG_GrayLevelSlicing(0, 100, 150, 255, 7), 0);
  EXPECT_EQ(Pixels(zero), (Rows{{7, 255, 255, 7}}));
}

TEST(Slicing, TrueColourBytesOneByOne) {
  CLamina img = Make(24, {{Rgb(120, 10, 200)}});
  ASSERT_EQ(img.fnIMG_GrayLevelSlicing(0, 100, 150, 255, 0), 0);
  ExpectColour(img, 0, 0, 255, 0, 0);
}

TEST(Slicing, OrderOfChecks) {
  CLamina four = Make(4, {{1}});
  const Snapshot s(four);
  EXPECT_EQ(four.fnIMG_GrayLevelSlicing(2, 0, 16, 1, 0), 2);
  EXPECT_EQ(four.fnIMG_GrayLevelSlicing(-1, 0, 3, 1, 0), 2);
  EXPECT_EQ(four.fnIMG_GrayLevelSlicing(0, 0, 16, 1, 0), 3);
  EXPECT_EQ(four.fnIMG_GrayLevelSlicing(0, 5, 4, 1, 0), 3);
  EXPECT_EQ(four.fnIMG_GrayLevelSlicing(0, 0, 15, 16, 0), 4);
  EXPECT_EQ(four.fnIMG_GrayLevelSlicing(0, 0, 15, 1, -1), 5);
  EXPECT_TRUE(Same(four, s));
  CLamina one = Make(1, {{1}});
  EXPECT_EQ(one.fnIMG_GrayLevelSlicing(5, -1, 300, 1, 0), 1);
}

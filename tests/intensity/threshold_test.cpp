#include <gtest/gtest.h>

#include <vector>

#include "test_images.h"

using namespace intensity_test;

namespace {
std::vector<std::uint32_t> Repeat(std::uint32_t v, int n) {
  return std::vector<std::uint32_t>(static_cast<std::size_t>(n), v);
}
}  // namespace

// ---- FindThreshold ---------------------------------------------------------------------------

TEST(FindThreshold, MeanMethodWritesNothing) {
  CLamina img = Make(8, {{10, 20, 31}});
  int out = -99;
  EXPECT_EQ(img.fnIMG_FindThreshold(0, &out), 20);
  EXPECT_EQ(out, -99);
  // True colour: the mean blue.
  CLamina rgb = Make(24, {{Rgb(255, 0, 10), Rgb(255, 0, 21)}});
  EXPECT_EQ(rgb.fnIMG_FindThreshold(0, &out), 15);
}

TEST(FindThreshold, IterativeMeansOnTwoLevels) {
  CLamina img = Make(8, {{50, 50, 200, 200}});
  int passes = 0;
  EXPECT_EQ(img.fnIMG_FindThreshold(1, &passes), 125);
  EXPECT_EQ(passes, 1);
}

TEST(FindThreshold, IterativeMeansMoves) {
  // Mean 36: classes {0, 0, 0, 10} and {40 x 5, 150} give 2 and 58, so 30; the same classes
  // again give 30. Two passes.
  CLamina img = Make(8, {{0, 0, 0, 10, 150}, {40, 40, 40, 40, 40}});
  int passes = 0;
  EXPECT_EQ(img.fnIMG_FindThreshold(1, &passes), 30);
  EXPECT_EQ(passes, 2);
}

TEST(FindThreshold, IterativeMeansEndsWhenAClassIsEmpty) {
  CLamina single = Make(8, {{77, 77}, {77, 77}});
  int passes = 0;
  EXPECT_EQ(single.fnIMG_FindThreshold(1, &passes), 77);
  EXPECT_EQ(passes, 1);
  // Mean truncates to the lowest level: nothing lies below it.
  CLamina low = Make(8, {{3, 3, 3, 4}});
  EXPECT_EQ(low.fnIMG_FindThreshold(1, &passes), 3);
  EXPECT_EQ(passes, 1);
}

TEST(FindThreshold, IterativeMeansUsesRedOfTrueColour) {
  // Blue mean 100 starts; red values 10 and 250 form the classes.
  CLamina img = Make(32, {{Rgb(10, 0, 100), Rgb(250, 0, 100)}});
  int passes = 0;
  EXPECT_EQ(img.fnIMG_FindThreshold(1, &passes), 130);
  EXPECT_EQ(passes, 2);
}

TEST(FindThreshold, TwoPeaksValley) {
  // Level 10: 1000 pixels, 30: 10 pixels, 200: 500 pixels.
  Rows rows;
  for (int i = 0; i < 100; ++i) rows.push_back(Repeat(10, 10));
  for (int i = 0; i < 50; ++i) rows.push_back(Repeat(200, 10));
  rows.push_back(Repeat(30, 10));
  CLamina img = Make(8, rows);
  int peak = -1;
  EXPECT_EQ(img.fnIMG_FindThreshold(2, &peak), 11);
  EXPECT_EQ(peak, 200);
}

TEST(FindThreshold, TwoPeaksOnOneLevel) {
  CLamina img = Make(8, {{90, 90}});
  int peak = -1;
  EXPECT_EQ(img.fnIMG_FindThreshold(2, &peak), 0);
  EXPECT_EQ(peak, 0);
}

TEST(FindThreshold, TwoPeaksAdjacentReturnsTheLower) {
  CLamina img = Make(4, {{6, 6, 6, 7}});
  int peak = -1;
  EXPECT_EQ(img.fnIMG_FindThreshold(2, &peak), 6);
  EXPECT_EQ(peak, 7);
}

TEST(FindThreshold, Refusals) {
  CLamina img = Make(8, {{1}});
  int out = 5;
  EXPECT_EQ(img.fnIMG_FindThreshold(3, &out), -2);
  EXPECT_EQ(img.fnIMG_FindThreshold(-1, &out), -2);
  EXPECT_EQ(out, 5);
  CLamina one = Make(1, {{1}});
  EXPECT_EQ(one.fnIMG_FindThreshold(0, &out), -1);
  EXPECT_EQ(one.fnIMG_FindThreshold(7, &out), -1);
  EXPECT_EQ(out, 5);
}

TEST(FindThreshold, LargeWhiteImageHasNoOverflow) {
  // 4096 x 2100 at 255: class sums beyond 2^31.
  CLamina img(nullptr, nullptr, 4096, 2100, 8);
  img.fnIMG_Initialize(255u);
  img.fnIMG_SetPixel(0, 0, 0);
  int passes = 0;
  EXPECT_EQ(img.fnIMG_FindThreshold(0, &passes), 254);
  EXPECT_EQ(img.fnIMG_FindThreshold(1, &passes), 127);
}

// ---- Thresholding ----------------------------------------------------------------------------

TEST(Thresholding, FourBitIndices) {
  CLamina img = Make(4, {{0, 7, 8, 15, 3}});
  ASSERT_EQ(img.fnIMG_Thresholding(8, 0, 15), 0);
  EXPECT_EQ(Pixels(img), (Rows{{0, 0, 15, 15, 0}}));
  EXPECT_EQ(img.fnIMG_GetPointers().lpBits[2] & 0x0F, 0x05);  // unused nibble
}

TEST(Thresholding, TrueColourBytesAlone) {
  CLamina img = Make(32, {{Rgb(200, 100, 128)}});
  FillAlpha(img, 1);
  ASSERT_EQ(img.fnIMG_Thresholding(128, 0, 255), 0);
  const RGBQUAD c = Colour(img, 0, 0);
  EXPECT_EQ(c.rgbRed, 255);
  EXPECT_EQ(c.rgbGreen, 0);
  EXPECT_EQ(c.rgbBlue, 255);
  EXPECT_EQ(img.fnIMG_GetAlfa(0, 0), 1);
}

TEST(Thresholding, OrderOfChecks) {
  CLamina img = Make(4, {{3}});
  const Snapshot s(img);
  EXPECT_EQ(img.fnIMG_Thresholding(16, 0, 15), 1);
  EXPECT_EQ(img.fnIMG_Thresholding(8, 0, 16), 3);
  EXPECT_TRUE(Same(img, s));
  CLamina one = Make(1, {{1}});
  EXPECT_EQ(one.fnIMG_Thresholding(2, 0, 0), 1);  // t tested before the depth
  EXPECT_EQ(one.fnIMG_Thresholding(1, 0, 0), 2);
}

// ---- Adaptive thresholding -------------------------------------------------------------------

TEST(AdaptiveThreshold, WholeImageBlockIsAGlobalMeanThreshold) {
  CLamina img = Make(8, {{10, 20, 30}, {40, 50, 60}});
  ASSERT_EQ(img.fnIMG_AdaptiveLocalThresholding(2, 3, -1, 3), 0);
  EXPECT_EQ(Pixels(img), (Rows{{0, 0, 0}, {255, 255, 255}}));  // mean 35
}

TEST(AdaptiveThreshold, LastBlocksTakeTheRemainder) {
  // 5 x 5, blocks 2 x 2: block rows of 2 and 3, block columns of 2 and 3. Each block holds its
  // own level pattern; threshold at the block mean, output its min and max.
  CLamina img = Make(8, {{0, 2, 10, 10, 40},
                         {2, 2, 10, 10, 10},
                         {5, 5, 100, 100, 100},
                         {5, 5, 100, 100, 100},
                         {9, 5, 100, 100, 255}});
  ASSERT_EQ(img.fnIMG_AdaptiveLocalThresholding(2, 2, -1, 0), 0);
  EXPECT_EQ(Pixels(img), (Rows{{0, 2, 10, 10, 40},
                               {2, 2, 10, 10, 10},
                               {9, 9, 100, 100, 100},
                               {9, 9, 100, 100, 100},
                               {9, 9, 100, 100, 255}}));
  // Top-left mean 1: 0 -> 0, 2 -> 2 (its max). Top-right (3 wide, 2 high) mean 15: 40 -> 40, 10s
  // -> 10 (min). Bottom-left (2 wide, 3 high) mean 5: every pixel reaches it and takes the max, 9.
  // Bottom-right mean 117: 255 -> 255, 100s -> 100.
  CLamina again = Make(8, {{0, 2, 10, 10, 40},
                           {2, 2, 10, 10, 10},
                           {5, 5, 100, 100, 100},
                           {5, 5, 100, 100, 100},
                           {9, 5, 100, 100, 255}});
  ASSERT_EQ(again.fnIMG_AdaptiveLocalThresholding(2, 2, -1, 3), 0);
  EXPECT_EQ(Pixels(again), (Rows{{0, 255, 0, 0, 255},
                                 {255, 255, 0, 0, 0},
                                 {255, 255, 0, 0, 0},
                                 {255, 255, 0, 0, 0},
                                 {255, 255, 0, 0, 255}}));
}

TEST(AdaptiveThreshold, SelectorsAndOutputs) {
  // s = -2: only the block maximum reaches the upper level; m = 1: lower is 0.
  CLamina img = Make(8, {{3, 9, 9, 4}});
  ASSERT_EQ(img.fnIMG_AdaptiveLocalThresholding(1, 4, -2, 1), 0);
  EXPECT_EQ(Pixels(img), (Rows{{0, 9, 9, 0}}));
  // s = -3: the image's highest index; m = 2: the image's lowest and highest index.
  CLamina two = Make(8, {{3, 9}, {5, 20}});
  ASSERT_EQ(two.fnIMG_AdaptiveLocalThresholding(1, 2, -3, 2), 0);
  EXPECT_EQ(Pixels(two), (Rows{{3, 3}, {3, 20}}));
  // A fixed threshold keeps its low 8 bits: 300 is 44.
  CLamina fixed = Make(8, {{43, 44, 45}});
  ASSERT_EQ(fixed.fnIMG_AdaptiveLocalThresholding(1, 1, 300, 3), 0);
  EXPECT_EQ(Pixels(fixed), (Rows{{0, 255, 255}}));
}

TEST(AdaptiveThreshold, BlocksStartAtTheTopOfThePicture) {
  // 5 rows in blocks of 2: rows 0-1 and rows 2-4 counted from the top. Counted from the bottom
  // the blocks would be rows 3-4 and 0-2, with other means.
  CLamina img = Make(8, {{10}, {20}, {100}, {110}, {120}});
  ASSERT_EQ(img.fnIMG_AdaptiveLocalThresholding(2, 1, -1, 3), 0);
  EXPECT_EQ(Pixels(img), (Rows{{0}, {255}, {0}, {255}, {255}}));
  CLamina padded = Make(8, {{10, 20, 30}});
  ASSERT_EQ(padded.fnIMG_AdaptiveLocalThresholding(1, 1, 0, 3), 0);
  EXPECT_EQ(Pixels(padded), (Rows{{255, 255, 255}}));
  EXPECT_EQ(padded.fnIMG_GetPointers().lpBits[3], 0xA5);
}

TEST(AdaptiveThreshold, OrderOfChecks) {
  CLamina rgb = Make(24, {{Rgb(1, 1, 1)}});
  EXPECT_EQ(rgb.fnIMG_AdaptiveLocalThresholding(0, 0, -1, 9), 2);
  CLamina img = Make(8, {{1, 2}, {3, 4}});
  const Snapshot s(img);
  EXPECT_EQ(img.fnIMG_AdaptiveLocalThresholding(3, 1, -1, 9), 1);
  EXPECT_EQ(img.fnIMG_AdaptiveLocalThresholding(1, 0, -1, 0), 1);
  EXPECT_EQ(img.fnIMG_AdaptiveLocalThresholding(1, 1, -1, 4), 3);
  EXPECT_EQ(img.fnIMG_AdaptiveLocalThresholding(1, 1, -1, -1), 3);
  EXPECT_TRUE(Same(img, s));
}

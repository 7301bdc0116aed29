// Thresholds: finding one by three methods, applying one, and adaptive thresholds by blocks.
#include "support/pictures.h"

using namespace lamina_test;

namespace {
std::vector<std::uint32_t> Repeat(std::uint32_t v, int n) {
  return std::vector<std::uint32_t>(static_cast<std::size_t>(n), v);
}
}  // namespace

// ---- FindThreshold ---------------------------------------------------------------------------

TEST(FindThreshold, EachMethodOnKnownHistograms) {
  Rows valley;  // level 10: 1000 pixels, 30: 10 pixels, 200: 500 pixels
  for (int i = 0; i < 151; ++i) valley.push_back(Repeat(i < 100 ? 10 : i < 150 ? 200 : 30, 10));
  const struct {
    const char* what;
    int bpp;
    Rows rows;
    int method, threshold, second;  // second: passes (1), the other peak (2), untouched (0)
  } cases[] = {
      {"mean", 8, {{10, 20, 31}}, 0, 20, -99},
      {"mean blue of true colour", 24, {{Rgb(255, 0, 10), Rgb(255, 0, 21)}}, 0, 15, -99},
      {"iterative on two levels", 8, {{50, 50, 200, 200}}, 1, 125, 1},
      // Mean 36: classes {0, 0, 0, 10} and {40 x 5, 150} give 2 and 58, so 30; again 30.
      {"iterative moves", 8, {{0, 0, 0, 10, 150}, {40, 40, 40, 40, 40}}, 1, 30, 2},
      {"iterative ends at an empty class", 8, {{77, 77}, {77, 77}}, 1, 77, 1},
      {"iterative: nothing below the truncated mean", 8, {{3, 3, 3, 4}}, 1, 3, 1},
      // Blue mean 100 starts; red values 10 and 250 form the classes.
      {"iterative on the red of true colour", 32, {{Rgb(10, 0, 100), Rgb(250, 0, 100)}}, 1, 130, 2},
      {"two peaks valley", 8, valley, 2, 11, 200},
      {"two peaks on one level", 8, {{90, 90}}, 2, 0, 0},
      {"two adjacent peaks give the lower", 4, {{6, 6, 6, 7}}, 2, 6, 7},
  };
  for (const auto& c : cases) {
    CLamina img = Marked(c.bpp, c.rows);
    int second = -99;
    EXPECT_EQ(img.fnIMG_FindThreshold(c.method, &second), c.threshold) << c.what;
    EXPECT_EQ(second, c.second) << c.what;
  }
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

TEST(Thresholding, IndicesAndTrueColourBytesAloneKeepingPaddingAndFourthBytes) {
  CLamina four = Marked(4, {{0, 7, 8, 15, 3}});  // an unused nibble after the fifth
  ASSERT_EQ(four.fnIMG_Thresholding(8, 0, 15), 0);
  EXPECT_EQ(PixelsOf(four), (Rows{{0, 0, 15, 15, 0}}));
  CLamina rgb = Marked(32, {{Rgb(200, 100, 128)}});
  ASSERT_EQ(rgb.fnIMG_Thresholding(128, 0, 255), 0);
  EXPECT_EQ(PixelsOf(rgb), (Rows{{Rgb(255, 0, 255)}}));
  for (CLamina* img : {&four, &rgb}) EXPECT_TRUE(PaddingKept(*img) && AlphaKept(*img));
}

// ---- Adaptive thresholding -------------------------------------------------------------------

TEST(AdaptiveThreshold, LastBlocksTakeTheRemainder) {
  // 5 x 5, blocks 2 x 2: block rows of 2 and 3, block columns of 2 and 3. Each block holds its
  // own level pattern; threshold at the block mean, output its min and max.
  const Rows picture = {{0, 2, 10, 10, 40},
                        {2, 2, 10, 10, 10},
                        {5, 5, 100, 100, 100},
                        {5, 5, 100, 100, 100},
                        {9, 5, 100, 100, 255}};
  CLamina img = Marked(8, picture);
  ASSERT_EQ(img.fnIMG_AdaptiveLocalThresholding(2, 2, -1, 0), 0);
  // Top-left mean 1: 0 -> 0, 2 -> 2 (its max). Top-right (3 wide, 2 high) mean 15: 40 -> 40, 10s
  // -> 10 (min). Bottom-left (2 wide, 3 high) mean 5: every pixel reaches it and takes the max, 9.
  // Bottom-right mean 117: 255 -> 255, 100s -> 100.
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 2, 10, 10, 40},
                               {2, 2, 10, 10, 10},
                               {9, 9, 100, 100, 100},
                               {9, 9, 100, 100, 100},
                               {9, 9, 100, 100, 255}}));
}

TEST(AdaptiveThreshold, SelectorsAndOutputs) {
  // s = -2: only the block maximum reaches the upper level; m = 1: lower is 0.
  CLamina img = Marked(8, {{3, 9, 9, 4}});
  ASSERT_EQ(img.fnIMG_AdaptiveLocalThresholding(1, 4, -2, 1), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 9, 9, 0}}));
  // s = -3: the image's highest index; m = 2: the image's lowest and highest index.
  CLamina two = Marked(8, {{3, 9}, {5, 20}});
  ASSERT_EQ(two.fnIMG_AdaptiveLocalThresholding(1, 2, -3, 2), 0);
  EXPECT_EQ(PixelsOf(two), (Rows{{3, 3}, {3, 20}}));
  // A fixed threshold keeps its low 8 bits: 300 is 44.
  CLamina fixed = Marked(8, {{43, 44, 45}});
  ASSERT_EQ(fixed.fnIMG_AdaptiveLocalThresholding(1, 1, 300, 3), 0);
  EXPECT_EQ(PixelsOf(fixed), (Rows{{0, 255, 255}}));
}

TEST(AdaptiveThreshold, BlocksStartAtTheTopOfThePicture) {
  // 5 rows in blocks of 2: rows 0-1 and rows 2-4 counted from the top. Counted from the bottom
  // the blocks would be rows 3-4 and 0-2, with other means.
  CLamina img = Marked(8, {{10}, {20}, {100}, {110}, {120}});
  ASSERT_EQ(img.fnIMG_AdaptiveLocalThresholding(2, 1, -1, 3), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{0}, {255}, {0}, {255}, {255}}));
  CLamina padded = Marked(8, {{10, 20, 30}});
  ASSERT_EQ(padded.fnIMG_AdaptiveLocalThresholding(1, 1, 0, 3), 0);
  EXPECT_EQ(PixelsOf(padded), (Rows{{255, 255, 255}}));
  EXPECT_TRUE(PaddingKept(padded));
}

// fnIMG_GrayScaleLinealTransform: a band of levels stretched onto another.
#include "support/pictures.h"

using namespace lamina_test;

namespace {
const CLamina::CualesRGB kGray{1, 0, 0, 0};
}

TEST(LinearTransform, StretchesTheBandAndLeavesTheRest) {
  CLamina img = Marked(8, {{49, 50, 75, 100, 101}});
  ASSERT_EQ(img.fnIMG_GrayScaleLinealTransform(50, 100, 0, 255, kGray), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{49, 0, 127, 255, 101}}));
}

TEST(LinearTransform, IdentityAndConstantBands) {
  CLamina img = Marked(8, {{0, 1, 128, 255}});
  ASSERT_EQ(img.fnIMG_GrayScaleLinealTransform(0, 255, 0, 255, kGray), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 1, 128, 255}}));
  ASSERT_EQ(img.fnIMG_GrayScaleLinealTransform(0, 255, 100, 100, kGray), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{100, 100, 100, 100}}));
}

TEST(LinearTransform, OneLevelBandGoesToTheStartOfTheOutput) {
  CLamina img = Marked(8, {{39, 40, 41}});
  ASSERT_EQ(img.fnIMG_GrayScaleLinealTransform(40, 40, 200, 250, kGray), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{39, 200, 41}}));
  CLamina rgb = Marked(24, {{Rgb(40, 40, 7)}});
  ASSERT_EQ(rgb.fnIMG_GrayScaleLinealTransform(40, 40, 9, 9, CLamina::CualesRGB{0, 1, 1, 1}), 0);
  const RGBQUAD c = Colour(rgb, 0, 0);
  EXPECT_EQ(c.rgbRed, 9);
  EXPECT_EQ(c.rgbGreen, 9);
  EXPECT_EQ(c.rgbBlue, 7);
}

TEST(LinearTransform, FourBitIndexStopsAtFifteen) {
  // d = 16 is allowed on a 16-colour image; the index form cannot hold 16.
  CLamina img = Marked(4, {{0, 8, 15, 3}});
  ASSERT_EQ(img.fnIMG_GrayScaleLinealTransform(0, 15, 0, 16, kGray), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 8, 15, 3}}));  // 16/15*15 = 16 -> 15; 16/15*8 = 8.53 -> 8
  EXPECT_EQ(img.fnIMG_GetPointers().lpBits[1] & 0x0F, 3);
  EXPECT_EQ(img.fnIMG_GetPointers().lpBits[2], 0xA5);  // row padding
}

TEST(LinearTransform, PaletteFlagsChangeEntriesNotPixels) {
  CLamina img = Marked(8, {{3, 200}});
  ASSERT_EQ(img.fnIMG_GrayScaleLinealTransform(100, 255, 0, 155, CLamina::CualesRGB{0, 0, 0, 1}),
            0);
  EXPECT_EQ(PixelsOf(img), (Rows{{3, 200}}));
  const RGBQUAD e = Entry(img, 255);
  EXPECT_EQ(e.rgbBlue, 155);
  EXPECT_EQ(e.rgbGreen, 255);
  EXPECT_EQ(Entry(img, 99).rgbBlue, 99);
  EXPECT_EQ(Entry(img, 100).rgbBlue, 0);
}

TEST(LinearTransform, TrueColourGrayFollowsRedThenChannels) {
  CLamina img = Marked(32, {{Rgb(60, 200, 10), Rgb(30, 200, 10)}});
  img.fnIMG_SetAlfa(static_cast<unsigned char>(123));
  // 50..100 -> 0..100: f(60) = 20.
  ASSERT_EQ(img.fnIMG_GrayScaleLinealTransform(50, 100, 0, 100, kGray), 0);
  RGBQUAD c = Colour(img, 0, 0);
  EXPECT_EQ(c.rgbRed, 20);
  EXPECT_EQ(c.rgbGreen, 20);
  EXPECT_EQ(c.rgbBlue, 20);
  c = Colour(img, 1, 0);
  EXPECT_EQ(c.rgbRed, 30);
  EXPECT_EQ(c.rgbGreen, 200);
  EXPECT_EQ(c.rgbBlue, 10);
  EXPECT_EQ(img.fnIMG_GetAlfa(0, 0), 123);

  // With red as well, red goes through the band again after gray: 60 -> 20 -> stays (outside).
  CLamina both = Marked(24, {{Rgb(60, 1, 1)}});
  ASSERT_EQ(both.fnIMG_GrayScaleLinealTransform(0, 100, 0, 50, CLamina::CualesRGB{1, 1, 0, 0}), 0);
  c = Colour(both, 0, 0);
  EXPECT_EQ(c.rgbRed, 15);  // 60 -> 30 -> 15
  EXPECT_EQ(c.rgbGreen, 30);
}

TEST(LinearTransform, OrderOfChecksAndLimits) {
  CLamina img = Marked(8, {{1, 2}});
  const Snapshot s = Snap(img);
  EXPECT_EQ(img.fnIMG_GrayScaleLinealTransform(5, 4, 9, 1, kGray), 2);
  EXPECT_EQ(img.fnIMG_GrayScaleLinealTransform(4, 5, 9, 1, kGray), 3);
  EXPECT_EQ(img.fnIMG_GrayScaleLinealTransform(0, 256, 0, 255, kGray), 4);
  EXPECT_EQ(img.fnIMG_GrayScaleLinealTransform(-1, 5, 0, 255, kGray), 4);
  EXPECT_EQ(img.fnIMG_GrayScaleLinealTransform(0, 5, -1, 255, kGray), 4);
  EXPECT_EQ(Snap(img), s);
  CLamina four = Marked(4, {{1}});
  EXPECT_EQ(four.fnIMG_GrayScaleLinealTransform(0, 16, 0, 15, kGray), 0);
  EXPECT_EQ(four.fnIMG_GrayScaleLinealTransform(0, 17, 0, 15, kGray), 4);
  CLamina one = Marked(1, {{1}});
  EXPECT_EQ(one.fnIMG_GrayScaleLinealTransform(5, 4, 3, 2, kGray), 1);
  EXPECT_EQ(img.fnIMG_GrayScaleLinealTransform(0, 5, 0, 5, CLamina::CualesRGB{0, 0, 0, 0}), 0);
  EXPECT_EQ(Snap(img), s);
}

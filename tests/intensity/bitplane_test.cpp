#include <gtest/gtest.h>

#include "test_images.h"

using namespace intensity_test;

namespace {
CLamina::CualesPlanosBits Planes(std::initializer_list<int> on, int value = 1) {
  CLamina::CualesPlanosBits p{};
  int* f = reinterpret_cast<int*>(&p);
  for (int plane : on) f[23 - plane] = value;
  return p;
}
}  // namespace

TEST(BitPlane, HighestPlaneOfAGrayImage) {
  CLamina img = Make(8, {{0, 127, 128, 255}, {200, 1, 129, 64}});
  ASSERT_EQ(img.fnIMG_BitPlane(7), 0);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 1);
  EXPECT_EQ(Pixels(img), (Rows{{0, 0, 1, 1}, {1, 0, 1, 0}}));
  EXPECT_EQ(Entry(img, 1).rgbRed, 255);
  EXPECT_EQ(Entry(img, 0).rgbRed, 0);
}

TEST(BitPlane, LowestRedBitOfTrueColour) {
  CLamina img = Make(32, {{Rgb(1, 0, 0), Rgb(2, 255, 255), Rgb(3, 0, 0)}});
  ASSERT_EQ(img.fnIMG_BitPlane(16), 0);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 1);
  EXPECT_EQ(Pixels(img), (Rows{{1, 0, 1}}));
}

TEST(BitPlane, FourBitPlane) {
  CLamina img = Make(4, {{0, 2, 3, 15, 13}});
  ASSERT_EQ(img.fnIMG_BitPlane(1), 0);
  EXPECT_EQ(Pixels(img), (Rows{{0, 1, 1, 1, 0}}));
}

TEST(BitPlane, PlaneOutsideTheDepth) {
  CLamina img = Make(8, {{1}});
  const Snapshot s(img);
  EXPECT_EQ(img.fnIMG_BitPlane(8), 1);
  EXPECT_EQ(img.fnIMG_BitPlane(-1), 1);
  EXPECT_TRUE(Same(img, s));
  CLamina one = Make(1, {{1, 0}});
  EXPECT_EQ(one.fnIMG_BitPlane(1), 1);
  EXPECT_EQ(one.fnIMG_BitPlane(0), 0);
  EXPECT_EQ(Pixels(one), (Rows{{1, 0}}));
  CLamina rgb = Make(24, {{1}});
  EXPECT_EQ(rgb.fnIMG_BitPlane(24), 1);
}

TEST(BitPlane, SixteenBitsChangesNothing) {
  CLamina img = Make(8, {{1}});
  img.fnIMG_GetPointers().lpbmih->biBitCount = 16;
  const Snapshot s(img);
  EXPECT_EQ(img.fnIMG_BitPlane(15), 0);
  EXPECT_EQ(img.fnIMG_BitPlane(16), 1);
  img.fnIMG_GetPointers().lpbmih->biBitCount = 2;
  EXPECT_EQ(img.fnIMG_BitPlane(40), 0);
  img.fnIMG_GetPointers().lpbmih->biBitCount = 16;
  EXPECT_TRUE(Same(img, s));
}

TEST(BitPlaneErase, ClearsOnlyFieldsEqualToOne) {
  CLamina img = Make(8, {{255, 3, 128}});
  ASSERT_EQ(img.fnIMG_BitPlaneErase(Planes({0})), 0);
  EXPECT_EQ(Pixels(img), (Rows{{254, 2, 128}}));
  ASSERT_EQ(img.fnIMG_BitPlaneErase(Planes({7, 1}, 2)), 0);
  EXPECT_EQ(Pixels(img), (Rows{{254, 2, 128}}));
  ASSERT_EQ(img.fnIMG_BitPlaneErase(Planes({7, 1})), 0);
  EXPECT_EQ(Pixels(img), (Rows{{124, 0, 0}}));
}

TEST(BitPlaneErase, FourBitsIgnoresHigherPlanes) {
  CLamina img = Make(4, {{15, 9, 6}});
  ASSERT_EQ(img.fnIMG_BitPlaneErase(Planes({23, 10, 5, 4})), 0);
  EXPECT_EQ(Pixels(img), (Rows{{15, 9, 6}}));
  ASSERT_EQ(img.fnIMG_BitPlaneErase(Planes({3})), 0);
  EXPECT_EQ(Pixels(img), (Rows{{7, 1, 6}}));
  EXPECT_EQ(img.fnIMG_GetPointers().lpBits[1] & 0x0F, 0x05);
}

TEST(BitPlaneErase, TrueColourPlanesByChannelKeepAlpha) {
  CLamina img = Make(32, {{Rgb(255, 255, 255)}});
  FillAlpha(img, 255);
  ASSERT_EQ(img.fnIMG_BitPlaneErase(Planes({0, 15, 23})), 0);
  const RGBQUAD c = Colour(img, 0, 0);
  EXPECT_EQ(c.rgbBlue, 254);
  EXPECT_EQ(c.rgbGreen, 127);
  EXPECT_EQ(c.rgbRed, 127);
  EXPECT_EQ(img.fnIMG_GetAlfa(0, 0), 255);
}

TEST(BitPlaneErase, UnsupportedDepthStillSucceeds) {
  CLamina img = Make(8, {{7}});
  img.fnIMG_GetPointers().lpbmih->biBitCount = 16;
  const Snapshot s(img);
  EXPECT_EQ(img.fnIMG_BitPlaneErase(Planes({0, 1, 2})), 0);
  EXPECT_TRUE(Same(img, s));
}

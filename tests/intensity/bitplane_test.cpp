// Bit planes: one plane kept as a 1-bit image, or chosen planes cleared.
#include "support/pictures.h"

using namespace lamina_test;

namespace {
CLamina::CualesPlanosBits Planes(std::initializer_list<int> on, int value = 1) {
  CLamina::CualesPlanosBits p{};
  int* f = reinterpret_cast<int*>(&p);
  for (int plane : on) f[23 - plane] = value;
  return p;
}
}  // namespace

TEST(BitPlane, HighestPlaneOfAGrayImage) {
  CLamina img = Marked(8, {{0, 127, 128, 255}, {200, 1, 129, 64}});
  ASSERT_EQ(img.fnIMG_BitPlane(7), 0);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 1);
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 0, 1, 1}, {1, 0, 1, 0}}));
  EXPECT_EQ(Entry(img, 1).rgbRed, 255);
  EXPECT_EQ(Entry(img, 0).rgbRed, 0);
}

TEST(BitPlane, LowestRedBitOfTrueColour) {
  CLamina img = Marked(32, {{Rgb(1, 0, 0), Rgb(2, 255, 255), Rgb(3, 0, 0)}});
  ASSERT_EQ(img.fnIMG_BitPlane(16), 0);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 1);
  EXPECT_EQ(PixelsOf(img), (Rows{{1, 0, 1}}));
}

TEST(BitPlane, FourBitPlane) {
  CLamina img = Marked(4, {{0, 2, 3, 15, 13}});
  ASSERT_EQ(img.fnIMG_BitPlane(1), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 1, 1, 1, 0}}));
}

TEST(BitPlane, PlaneOutsideTheDepth) {
  CLamina img = Marked(8, {{1}});
  const Snapshot s = Snap(img);
  EXPECT_EQ(img.fnIMG_BitPlane(8), 1);
  EXPECT_EQ(img.fnIMG_BitPlane(-1), 1);
  EXPECT_EQ(Snap(img), s);
  CLamina one = Marked(1, {{1, 0}});
  EXPECT_EQ(one.fnIMG_BitPlane(1), 1);
  EXPECT_EQ(one.fnIMG_BitPlane(0), 0);
  EXPECT_EQ(PixelsOf(one), (Rows{{1, 0}}));
  CLamina rgb = Marked(24, {{1}});
  EXPECT_EQ(rgb.fnIMG_BitPlane(24), 1);
  // Other depths: planes 0 to 15 give 0 and change nothing.
  img.fnIMG_GetPointers().lpbmih->biBitCount = 16;
  const Snapshot s16 = Snap(img);
  EXPECT_EQ(img.fnIMG_BitPlane(15), 0);
  EXPECT_EQ(img.fnIMG_BitPlane(16), 1);
  img.fnIMG_GetPointers().lpbmih->biBitCount = 2;
  EXPECT_EQ(img.fnIMG_BitPlane(40), 0);
  img.fnIMG_GetPointers().lpbmih->biBitCount = 16;
  EXPECT_EQ(Snap(img), s16);
}

TEST(BitPlaneErase, ClearsOnlyFieldsEqualToOne) {
  CLamina img = Marked(8, {{255, 3, 128}});
  ASSERT_EQ(img.fnIMG_BitPlaneErase(Planes({0})), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{254, 2, 128}}));
  ASSERT_EQ(img.fnIMG_BitPlaneErase(Planes({7, 1}, 2)), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{254, 2, 128}}));
  ASSERT_EQ(img.fnIMG_BitPlaneErase(Planes({7, 1})), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{124, 0, 0}}));
}

TEST(BitPlaneErase, FourBitsIgnoresHigherPlanes) {
  CLamina img = Marked(4, {{15, 9, 6}});
  ASSERT_EQ(img.fnIMG_BitPlaneErase(Planes({23, 10, 5, 4})), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{15, 9, 6}}));
  ASSERT_EQ(img.fnIMG_BitPlaneErase(Planes({3})), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{7, 1, 6}}));
  EXPECT_EQ(img.fnIMG_GetPointers().lpBits[1] & 0x0F, 0x05);
}

TEST(BitPlaneErase, TrueColourPlanesByChannelKeepAlpha) {
  CLamina img = Marked(32, {{Rgb(255, 255, 255)}});
  img.fnIMG_SetAlfa(static_cast<unsigned char>(255));
  ASSERT_EQ(img.fnIMG_BitPlaneErase(Planes({0, 15, 23})), 0);
  const RGBQUAD c = Colour(img, 0, 0);
  EXPECT_EQ(c.rgbBlue, 254);
  EXPECT_EQ(c.rgbGreen, 127);
  EXPECT_EQ(c.rgbRed, 127);
  EXPECT_EQ(img.fnIMG_GetAlfa(0, 0), 255);
}

TEST(BitPlaneErase, UnsupportedDepthStillSucceeds) {
  CLamina img = Marked(8, {{7}});
  img.fnIMG_GetPointers().lpbmih->biBitCount = 16;
  const Snapshot s = Snap(img);
  EXPECT_EQ(img.fnIMG_BitPlaneErase(Planes({0, 1, 2})), 0);
  EXPECT_EQ(Snap(img), s);
}

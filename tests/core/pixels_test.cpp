// Pixel access: where each depth keeps a pixel, which check comes first, and the 32-bit fourth
// byte that only the alpha calls touch.
#include "support/files.h"

using namespace lamina_test;

TEST(Pixels, PointIsCheckedBeforeDepth) {
  CLamina img(nullptr, nullptr, 4, 4, 8);
  img.fnIMG_GetPointers().lpbmih->biBitCount = 16;  // as a 16-bit BMP would be
  EXPECT_EQ(img.fnIMG_GetPixel(-1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(img.fnIMG_GetPixel(0, 0), 0xFFFFFFFEu);
  EXPECT_EQ(img.fnIMG_SetPixel(4, 0, 1), 1);
  EXPECT_EQ(img.fnIMG_SetPixel(0, 0, 1), 2);
  RGBQUAD c = Quad(9, 9, 9, 9);
  EXPECT_EQ(img.fnIMG_GetRGBPixel(0, 4, &c), 1);
  EXPECT_EQ(img.fnIMG_GetRGBPixel(0, 0, &c), 2);
  EXPECT_TRUE(Same(c, Quad(9, 9, 9, 9)));
  EXPECT_EQ(img.fnIMG_SetRGBPixel(0, 0, c), 2);
  EXPECT_EQ(img.fnIMG_GetAlfa(0, 0), 254);
}

TEST(Pixels, SubBytePixelsAreTakenFromTheHighBitsOfTheTopRow) {
  CLamina bits(nullptr, nullptr, 9, 2, 1);
  EXPECT_EQ(bits.fnIMG_SetPixel(0, 0, 7), 0);  // only the low bit counts
  bits.fnIMG_SetPixel(8, 0, 1);
  EXPECT_EQ(StoredRow(bits, 0), (Bytes{0x80, 0x80, 0, 0}));  // top row stored last
  bits.fnIMG_SetPixel(0, 0, 0);
  EXPECT_EQ(StoredRow(bits, 0), (Bytes{0, 0x80, 0, 0}));
  CLamina nibbles(nullptr, nullptr, 3, 2, 4);
  nibbles.fnIMG_SetPixel(0, 0, 31);
  nibbles.fnIMG_SetPixel(1, 0, 2);
  EXPECT_EQ(StoredRow(nibbles, 0), (Bytes{0xF2, 0, 0, 0}));
  nibbles.fnIMG_SetPixel(0, 0, 0);  // the other nibble of the byte stays
  EXPECT_EQ(StoredRow(nibbles, 0), (Bytes{0x02, 0, 0, 0}));
  EXPECT_EQ(PixelsOf(nibbles)[0], (std::vector<std::uint32_t>{0, 2, 0}));
}

TEST(Pixels, TrueColourValueIsBlueInTheLowByteAndAlphaIsLeftAlone) {
  CLamina rgb(nullptr, nullptr, 4, 1, 24);  // 12 bytes a row: no padding
  EXPECT_EQ(rgb.fnIMG_SetPixel(3, 0, 0xAB030201u), 0);
  EXPECT_EQ(StoredRow(rgb, 0), (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3}));
  EXPECT_TRUE(Same(Colour(rgb, 3, 0), Quad(1, 2, 3, 0)));
  EXPECT_EQ(rgb.fnIMG_GetPixel(3, 0), 0x030201u);
  CLamina img(nullptr, nullptr, 2, 2, 32);
  img.fnIMG_SetAlfa(static_cast<unsigned char>(200));
  img.fnIMG_SetPixel(1, 1, 0xFFFFFFFFu);
  img.fnIMG_SetRGBPixel(0, 1, Quad(1, 2, 3, 99));
  EXPECT_TRUE(Same(Colour(img, 1, 1), Quad(255, 255, 255, 0)));
  EXPECT_EQ(img.fnIMG_GetPixel(1, 1), 0xFFFFFFu);
  EXPECT_EQ(img.fnIMG_GetAlfa(1, 1) + img.fnIMG_GetAlfa(0, 1), 400);
}

TEST(Pixels, PaletteImagesChangeColourThroughTheirPaletteEntry) {
  CLamina img = FromRows(8, {{5, 1}, {2, 5}});
  EXPECT_TRUE(Same(Colour(img, 0, 1), Quad(2, 2, 2)));
  EXPECT_EQ(img.fnIMG_SetRGBPixel(0, 0, Quad(10, 20, 30, 40)), 0);
  EXPECT_TRUE(Same(Colour(img, 1, 1), Quad(10, 20, 30, 40)));  // the other index 5, reserved too
  EXPECT_EQ(PixelsOf(img), (Rows{{5, 1}, {2, 5}}));
}

TEST(Pixels, IndexBeyondAShortPaletteReadsBlackAndWritesNothing) {
  CLamina img = FromRows(8, {{200, 3}});
  img.fnIMG_GetPointers().lpbmih->biClrUsed = 16;  // a file may say so
  const Snapshot before = Snap(img);
  RGBQUAD c = Quad(1, 1, 1, 1);
  EXPECT_EQ(img.fnIMG_GetRGBPixel(0, 0, &c), 0);
  EXPECT_TRUE(Same(c, Quad(0, 0, 0, 0)));
  EXPECT_EQ(img.fnIMG_SetRGBPixel(0, 0, Quad(9, 9, 9)), 0);
  EXPECT_EQ(Snap(img), before);
}

TEST(Pixels, AlphaChecksAndModes) {
  CLamina eight(nullptr, nullptr, 2, 2, 8);
  EXPECT_EQ(eight.fnIMG_SetAlfa(0, 0, 0), 1);
  EXPECT_EQ(eight.fnIMG_SetAlfa(static_cast<unsigned char>(3)), 1);
  EXPECT_EQ(eight.fnIMG_SetAlfa(2), 1);
  CLamina img(nullptr, nullptr, 2, 1, 32);
  EXPECT_EQ(img.fnIMG_SetAlfa(5, 0, 0), 2);  // depth first, then the point
  EXPECT_EQ(img.fnIMG_GetAlfa(5, 0), 255);
  img.fnIMG_SetRGBPixel(0, 0, Quad(10, 20, 31));
  const auto alphas = [&img] {
    return std::vector<int>{img.fnIMG_GetAlfa(0, 0), img.fnIMG_GetAlfa(1, 0)};
  };
  EXPECT_EQ(img.fnIMG_SetAlfa(3), 0);  // mode 3: the green byte
  EXPECT_EQ(alphas(), (std::vector<int>{20, 0}));
  EXPECT_EQ(img.fnIMG_SetAlfa(2), 0);  // mode 2: the alpha inverted
  EXPECT_EQ(alphas(), (std::vector<int>{235, 255}));
  img.fnIMG_SetAlfa(1, 0, 5);
  EXPECT_EQ(img.fnIMG_SetAlfa(0), 0);  // an int mode other than 2 or 3 changes nothing
  EXPECT_EQ(alphas(), (std::vector<int>{235, 5}));
  EXPECT_EQ(img.fnIMG_SetAlfa(static_cast<unsigned char>(0)), 0);
  EXPECT_EQ(alphas(), (std::vector<int>{0, 0}));
}

TEST(Pixels, PackedColoursHaveRedInTheLowByte) {
  CLamina img;
  const RGBQUAD c = img.fnIMG_RGBToRGBQUAD(48u | (32u << 8) | (16u << 16) | (255u << 24));
  EXPECT_TRUE(Same(c, Quad(16, 32, 48, 0)));
  EXPECT_EQ(img.fnIMG_RGBQUADToRGB(Quad(16, 32, 48, 77)), 48u | (32u << 8) | (16u << 16));
}

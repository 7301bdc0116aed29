#include "support/pictures.h"

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

TEST(Pixels, OneBitPixelZeroIsTheTopBitOfTheTopRow) {
  CLamina img(nullptr, nullptr, 9, 2, 1);
  EXPECT_EQ(img.fnIMG_SetPixel(0, 0, 7), 0);
  EXPECT_EQ(img.fnIMG_GetPixel(0, 0), 1u);
  img.fnIMG_SetPixel(8, 0, 1);
  const unsigned char* top = img.fnIMG_GetPointers().lpBits + 4;  // stride 4, top row stored last
  EXPECT_EQ(top[0], 0x80);
  EXPECT_EQ(top[1], 0x80);
  img.fnIMG_SetPixel(0, 0, 0);
  EXPECT_EQ(top[0], 0x00);
  EXPECT_EQ(img.fnIMG_GetPixel(8, 0), 1u);
}

TEST(Pixels, FourBitEvenColumnIsTheHighNibble) {
  CLamina img(nullptr, nullptr, 3, 2, 4);
  img.fnIMG_SetPixel(0, 0, 31);
  img.fnIMG_SetPixel(1, 0, 2);
  const unsigned char* top = img.fnIMG_GetPointers().lpBits + 4;
  EXPECT_EQ(top[0], 0xF2);
  EXPECT_EQ(img.fnIMG_GetPixel(0, 0), 15u);
  EXPECT_EQ(img.fnIMG_GetPixel(1, 0), 2u);
  img.fnIMG_SetPixel(0, 0, 0);  // the other nibble of the byte stays
  EXPECT_EQ(top[0], 0x02);
}

TEST(Pixels, TrueColourValueIsBlueInTheLowByte) {
  CLamina img(nullptr, nullptr, 4, 1, 24);  // 12 bytes a row: no padding
  EXPECT_EQ(img.fnIMG_SetPixel(3, 0, 0xAB030201u), 0);
  const unsigned char* bits = img.fnIMG_GetPointers().lpBits;
  EXPECT_EQ(std::vector<int>(bits, bits + 12),
            (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3}));
  RGBQUAD c;
  EXPECT_EQ(img.fnIMG_GetRGBPixel(3, 0, &c), 0);
  EXPECT_TRUE(Same(c, Quad(1, 2, 3, 0)));
  EXPECT_EQ(img.fnIMG_RGBQUADToRGB(c), 3u + 2u * 256 + 1u * 65536);
  EXPECT_EQ(img.fnIMG_GetPixel(3, 0), 0x030201u);
}

TEST(Pixels, ThirtyTwoBitAlphaIsNeverReadOrWrittenByPixelCalls) {
  CLamina img(nullptr, nullptr, 2, 2, 32);
  img.fnIMG_SetAlfa(static_cast<unsigned char>(200));
  img.fnIMG_SetPixel(1, 1, 0xFFFFFFFFu);
  img.fnIMG_SetRGBPixel(0, 1, Quad(1, 2, 3, 99));
  RGBQUAD c;
  img.fnIMG_GetRGBPixel(1, 1, &c);
  EXPECT_TRUE(Same(c, Quad(255, 255, 255, 0)));
  EXPECT_EQ(img.fnIMG_GetPixel(1, 1), 0xFFFFFFu);
  EXPECT_EQ(img.fnIMG_GetAlfa(1, 1), 200);
  EXPECT_EQ(img.fnIMG_GetAlfa(0, 1), 200);
}

TEST(Pixels, PaletteImagesChangeColourThroughTheirPaletteEntry) {
  CLamina img = FromRows(8, {{5, 1}, {2, 5}});
  RGBQUAD before;
  img.fnIMG_GetRGBPixel(0, 1, &before);
  EXPECT_TRUE(Same(before, Quad(2, 2, 2)));
  EXPECT_EQ(img.fnIMG_SetRGBPixel(0, 0, Quad(10, 20, 30, 40)), 0);
  RGBQUAD other;
  img.fnIMG_GetRGBPixel(1, 1, &other);  // the other pixel with index 5
  EXPECT_TRUE(Same(other, Quad(10, 20, 30, 40)));  // reserved byte included
  EXPECT_EQ(img.fnIMG_GetPixel(0, 0), 5u);
  EXPECT_EQ(img.fnIMG_GetPixel(1, 1), 5u);
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

// Mean row, column and image values, as indices and as colours.
#include "support/pictures.h"

using namespace lamina_test;

TEST(Average, RowOfAGrayImage) {
  CLamina img = Marked(8, {{0, 255}, {10, 10}});
  RGBQUAD c{1, 2, 3, 99};
  EXPECT_EQ(img.fnIMG_AverageRow(0, &c), 127);
  EXPECT_EQ(c.rgbRed, 127);
  EXPECT_EQ(c.rgbGreen, 127);
  EXPECT_EQ(c.rgbBlue, 127);
  EXPECT_EQ(c.rgbReserved, 99);
  EXPECT_EQ(img.fnIMG_AverageColumn(1, &c), 132);
}

TEST(Average, PaletteColoursAndIndicesDiffer) {
  std::vector<RGBQUAD> pal(16, RGBQUAD{0, 0, 0, 0});
  pal[1] = RGBQUAD{200, 0, 100, 0};
  pal[3] = RGBQUAD{0, 50, 0, 0};
  CLamina img = Marked(4, {{1, 3, 3}});  // odd width: the unused nibble (5) must not count
  img.fnIMG_SetPalette(pal.data());
  RGBQUAD c{};
  EXPECT_EQ(img.fnIMG_AverageRow(0, &c), 2);  // 7 / 3
  EXPECT_EQ(c.rgbRed, 33);
  EXPECT_EQ(c.rgbGreen, 33);
  EXPECT_EQ(c.rgbBlue, 66);
  EXPECT_EQ(img.fnIMG_AverageImg(&c), 2);
  EXPECT_EQ(c.rgbBlue, 66);
}

TEST(Average, TrueColourRowAndColumnReturnZero) {
  CLamina img = Marked(32, {{Rgb(255, 0, 0), Rgb(255, 0, 0)}, {Rgb(255, 0, 0), Rgb(255, 0, 0)}});
  img.fnIMG_SetAlfa(static_cast<unsigned char>(250));
  RGBQUAD c{};
  EXPECT_EQ(img.fnIMG_AverageRow(1, &c), 0);
  EXPECT_EQ(c.rgbRed, 255);
  EXPECT_EQ(img.fnIMG_AverageColumn(0, &c), 0);
  EXPECT_EQ(c.rgbGreen, 0);
  EXPECT_EQ(c.rgbBlue, 0);
}

TEST(Average, ImageOfTrueColourReturnsTheMeanPackedValue) {
  CLamina img = Marked(24, {{Rgb(255, 0, 0), Rgb(255, 0, 0)}});
  RGBQUAD c{};
  EXPECT_EQ(img.fnIMG_AverageImg(&c), 0xFF0000);
  EXPECT_EQ(c.rgbRed, 255);
  EXPECT_EQ(c.rgbGreen, 0);
  EXPECT_EQ(c.rgbBlue, 0);
  CLamina mixed = Marked(24, {{Rgb(0, 0, 0), Rgb(1, 2, 3)}});
  // (0 + 3 + 2 * 256 + 1 * 65536) / 2
  EXPECT_EQ(mixed.fnIMG_AverageImg(&c), 33025);
}

TEST(Average, SixteenMegapixelWhiteAveragesTo255) {
  CLamina img(nullptr, nullptr, 4096, 4096, 24);
  std::memset(img.fnIMG_GetPointers().lpBits, 255, img.fnIMG_GetBitmapSize());
  RGBQUAD c{};
  EXPECT_EQ(img.fnIMG_AverageImg(&c), 0xFFFFFF);
  EXPECT_EQ(c.rgbRed, 255);
  EXPECT_EQ(c.rgbBlue, 255);
  CLamina gray(nullptr, nullptr, 4096, 4096, 8);
  std::memset(gray.fnIMG_GetPointers().lpBits, 255, gray.fnIMG_GetBitmapSize());
  EXPECT_EQ(gray.fnIMG_AverageImg(&c), 255);
  EXPECT_EQ(c.rgbGreen, 255);
}

TEST(Average, Refusals) {
  CLamina img = Marked(8, {{1, 2}});
  RGBQUAD c{9, 9, 9, 9};
  EXPECT_EQ(img.fnIMG_AverageRow(1, &c), -2);
  EXPECT_EQ(img.fnIMG_AverageRow(-1, &c), -2);
  EXPECT_EQ(img.fnIMG_AverageColumn(2, &c), -2);
  EXPECT_EQ(c.rgbRed, 9);
  img.fnIMG_GetPointers().lpbmih->biBitCount = 16;
  EXPECT_EQ(img.fnIMG_AverageRow(5, &c), -1);  // depth before the row
  EXPECT_EQ(c.rgbRed, 0);
  EXPECT_EQ(c.rgbGreen, 0);
  EXPECT_EQ(c.rgbBlue, 0);
  EXPECT_EQ(c.rgbReserved, 9);
  c = RGBQUAD{9, 9, 9, 9};
  EXPECT_EQ(img.fnIMG_AverageImg(&c), -1);
  EXPECT_EQ(c.rgbBlue, 0);
}

TEST(Average, ImageWithoutPixelsIsBlack) {
  CLamina img(nullptr, nullptr, 0, 3, 8);
  RGBQUAD c{9, 9, 9, 9};
  EXPECT_EQ(img.fnIMG_AverageImg(&c), 0);
  EXPECT_EQ(c.rgbRed, 0);
  EXPECT_EQ(img.fnIMG_AverageColumn(0, &c), -2);
  c = RGBQUAD{9, 9, 9, 9};
  EXPECT_EQ(img.fnIMG_AverageRow(0, &c), 0);
  EXPECT_EQ(c.rgbGreen, 0);
}

// Mean row, column and image values, as indices and as colours.
#include <array>

#include "support/pictures.h"

using namespace lamina_test;

namespace {
// The result, then blue, green, red and reserved of the colour, which starts as 9s.
using Five = std::array<int, 5>;
Five Of(int result, const RGBQUAD& c) {
  return {result, c.rgbBlue, c.rgbGreen, c.rgbRed, c.rgbReserved};
}
Five Row(CLamina& img, int y) {
  RGBQUAD c{9, 9, 9, 9};
  const int r = img.fnIMG_AverageRow(y, &c);
  return Of(r, c);
}
Five Column(CLamina& img, int x) {
  RGBQUAD c{9, 9, 9, 9};
  const int r = img.fnIMG_AverageColumn(x, &c);
  return Of(r, c);
}
Five Whole(CLamina& img) {
  RGBQUAD c{9, 9, 9, 9};
  const int r = img.fnIMG_AverageImg(&c);
  return Of(r, c);
}
}  // namespace

TEST(Average, PaletteImagesGiveTheMeanIndexAndTheMeanColour) {
  CLamina gray = Marked(8, {{0, 255}, {10, 10}});
  EXPECT_EQ(Row(gray, 0), (Five{127, 127, 127, 127, 9}));  // the reserved byte is left alone
  EXPECT_EQ(Column(gray, 1), (Five{132, 132, 132, 132, 9}));
  std::vector<RGBQUAD> pal(16, RGBQUAD{0, 0, 0, 0});
  pal[1] = RGBQUAD{200, 0, 100, 0};
  pal[3] = RGBQUAD{0, 50, 0, 0};
  CLamina four = Marked(4, {{1, 3, 3}}, pal);  // odd width: the unused nibble (5) must not count
  EXPECT_EQ(Row(four, 0), (Five{2, 66, 33, 33, 9}));  // index 7 / 3
  EXPECT_EQ(Whole(four), (Five{2, 66, 33, 33, 9}));
}

TEST(Average, TrueColourRowsAndColumnsReturnZeroAndImagesThePackedMean) {
  const std::uint32_t red = Rgb(255, 0, 0);
  CLamina img = Marked(32, {{red, red}, {red, red}});
  img.fnIMG_SetAlfa(static_cast<unsigned char>(250));
  EXPECT_EQ(Row(img, 1), (Five{0, 0, 0, 255, 9}));
  EXPECT_EQ(Column(img, 0), (Five{0, 0, 0, 255, 9}));
  EXPECT_EQ(Whole(img), (Five{0xFF0000, 0, 0, 255, 9}));
  CLamina mixed = Marked(24, {{Rgb(0, 0, 0), Rgb(1, 2, 3)}});
  EXPECT_EQ(Whole(mixed)[0], 33025);  // (0 + 3 + 2 * 256 + 1 * 65536) / 2
}

TEST(Average, SixteenMegapixelWhiteAveragesTo255) {
  CLamina img(nullptr, nullptr, 4096, 4096, 24);
  std::memset(img.fnIMG_GetPointers().lpBits, 255, img.fnIMG_GetBitmapSize());
  EXPECT_EQ(Whole(img), (Five{0xFFFFFF, 255, 255, 255, 9}));
}

TEST(Average, RefusalsAndImagesWithoutPixels) {
  CLamina img = Marked(8, {{1, 2}});
  EXPECT_EQ(Row(img, 1), (Five{-2, 9, 9, 9, 9}));
  EXPECT_EQ(Row(img, -1), (Five{-2, 9, 9, 9, 9}));
  EXPECT_EQ(Column(img, 2), (Five{-2, 9, 9, 9, 9}));
  img.fnIMG_GetPointers().lpbmih->biBitCount = 16;
  EXPECT_EQ(Row(img, 5), (Five{-1, 0, 0, 0, 9}));  // depth before the row
  EXPECT_EQ(Whole(img), (Five{-1, 0, 0, 0, 9}));
  CLamina empty(nullptr, nullptr, 0, 3, 8);
  EXPECT_EQ(Whole(empty), (Five{0, 0, 0, 0, 9}));
  EXPECT_EQ(Column(empty, 0), (Five{-2, 9, 9, 9, 9}));
  EXPECT_EQ(Row(empty, 0), (Five{0, 0, 0, 0, 9}));
}

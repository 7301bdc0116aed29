// fnIMG_ColorToGray: weighted sums of red, green and blue, methods 0 and 1.
#include "core/cpu.h"
#include "support/pictures.h"

using namespace lamina_test;

namespace {
std::uint32_t Gray(int v) { return Rgb(v, v, v); }
}  // namespace

TEST(ColorToGray, ChecksTheDepthBeforeTheMethod) {
  CLamina sixteen = Sixteen({{1, 2}});
  EXPECT_EQ(sixteen.fnIMG_ColorToGray(0), 1);
  EXPECT_EQ(sixteen.fnIMG_ColorToGray(2), 1);
  CLamina img = FromRows(24, {{Rgb(10, 20, 30)}});
  const Snapshot before = Snap(img);
  EXPECT_EQ(img.fnIMG_ColorToGray(2), 2);
  EXPECT_EQ(img.fnIMG_ColorToGray(-1), 2);
  EXPECT_EQ(Snap(img), before);
}

TEST(ColorToGray, WeighsTheChannelsByMethodKeepingFourthBytesAndPadding) {
  // Blue 10, green 20, red 30; five pixels so that the last one goes the single-pixel way.
  const Rows colours = {{Rgb(30, 20, 10), Rgb(255, 255, 255), Rgb(0, 0, 255), Rgb(30, 20, 10),
                         Rgb(30, 20, 10)}};
  const std::uint32_t luma[] = {Gray(21), Gray(255), Gray(29), Gray(21), Gray(21)};
  const std::uint32_t mean[] = {Gray(20), Gray(255), Gray(85), Gray(20), Gray(20)};
  for (int bpp : {24, 32})
    for (int method = 0; method < 2; ++method) {
      CLamina img = FromRows(bpp, colours);
      for (int x = 0; bpp == 32 && x < 5; ++x) img.fnIMG_SetAlfa(x, 0, 100 + x);
      RowBytes(img, 0)[15] = 0xEE;  // padding at 24 bits, a fourth byte at 32
      EXPECT_EQ(img.fnIMG_ColorToGray(method), 0);
      for (int x = 0; x < 5; ++x) EXPECT_EQ(img.fnIMG_GetPixel(x, 0), (method ? mean : luma)[x]);
      EXPECT_EQ(RowBytes(img, 0)[15], 0xEE) << bpp;
      for (int x = 0; bpp == 32 && x < 5; ++x)
        EXPECT_EQ(img.fnIMG_GetAlfa(x, 0), x == 3 ? 0xEE : 100 + x);
    }
}

TEST(ColorToGray, KeepsEveryGrayLevelWithBothMethods) {
  // 256 pixels in a row: the long runs take the vector path at 24 and 32 bits.
  for (int bpp : {8, 24, 32})
    for (int method = 0; method < 2; ++method) {
      Rows rows(1);
      for (int v = 0; v < 256; ++v) rows[0].push_back(bpp == 8 ? 255 - v : Gray(v));
      CLamina img = FromRows(bpp, rows);
      EXPECT_EQ(img.fnIMG_ColorToGray(method), 0);
      EXPECT_EQ(PixelsOf(img), rows) << bpp << " " << method;
    }
}

TEST(ColorToGray, ReindexesFourBitPixelsOntoTheGrayRamp) {
  // Entry 1 white, entry 2 gives s = 128, entry 3 the colour (blue 10, green 20, red 30).
  CLamina img =
      FromRows(4, {{1, 2, 3}, {0, 2, 1}},
               {Quad(0, 0, 0), Quad(255, 255, 255), Quad(128, 128, 128), Quad(10, 20, 30)});
  RowBytes(img, 0)[1] |= 0x09;  // the padding nibble after an odd row
  EXPECT_EQ(img.fnIMG_ColorToGray(0), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{15, 7, 1}, {0, 7, 15}}));
  EXPECT_EQ(RowBytes(img, 0)[1] & 0x0F, 0x09);
  EXPECT_EQ(Packed(PaletteOf(img)), Packed(GrayRamp(16)));
}

TEST(ColorToGray, MapsPixelsFromThePaletteAsItWasAndKeepsReservedBytes) {
  // Two entries change under the same pass; the pixels follow the original colours.
  CLamina img =
      FromRows(8, {{0, 1, 2}}, {Quad(0, 0, 255, 9), Quad(255, 0, 0, 8), Quad(0, 255, 0, 7)});
  EXPECT_EQ(img.fnIMG_ColorToGray(0), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{76, 29, 149}}));
  EXPECT_TRUE(Same(Entry(img, 0), Quad(0, 0, 0, 9)));
  EXPECT_TRUE(Same(Entry(img, 2), Quad(2, 2, 2, 7)));
  // At 1 bit only the palette turns gray.
  CLamina bits = FromRows(1, {{1, 0, 1}}, {Quad(0, 0, 255, 5), Quad(255, 255, 255, 6)});
  const Snapshot before = Snap(bits);
  EXPECT_EQ(bits.fnIMG_ColorToGray(0), 0);
  EXPECT_TRUE(Same(Entry(bits, 0), Quad(76, 76, 76, 5)));
  EXPECT_TRUE(Same(Entry(bits, 1), Quad(255, 255, 255, 6)));
  const Snapshot after = Snap(bits);
  EXPECT_TRUE(std::equal(after.block.begin() + after.bits, after.block.end(),
                         before.block.begin() + before.bits));
}

TEST(ColorToGray, WhiteTakesTheLastIndexOfEveryPaletteLength) {
  for (int n = 2; n <= 256; ++n) {
    std::vector<RGBQUAD> entries(n, Quad(0, 0, 0));
    entries[n - 1] = entries[0] = Quad(255, 255, 255);
    CLamina img = WithShortPalette(8, 2, 1, entries);
    img.fnIMG_SetPixel(1, 0, static_cast<unsigned>(n - 1));
    for (int method = 0; method < 2; ++method) {
      CLamina copy = img;
      ASSERT_EQ(copy.fnIMG_ColorToGray(method), 0);
      EXPECT_EQ(copy.fnIMG_GetPixel(0, 0), static_cast<unsigned>(n - 1)) << n;
      EXPECT_EQ(copy.fnIMG_GetPixel(1, 0), static_cast<unsigned>(n - 1)) << n;
      EXPECT_EQ(PaletteOf(copy)[n - 1].rgbRed, (n - 1) * (255 / (n - 1))) << n;
    }
  }
  // An index beyond the short palette counts as black.
  CLamina img = WithShortPalette(8, 2, 1, {Quad(255, 255, 255), Quad(255, 255, 255)});
  img.fnIMG_SetPixel(1, 0, 200);
  EXPECT_EQ(img.fnIMG_ColorToGray(0), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{1, 0}}));
}

TEST(ColorToGray, EveryInstructionSetAgreesWithSinglePixels) {
  // An odd width: vector steps and a tail. Each pixel comes out as the same pixel alone would,
  // and the fourth bytes stay.
  for (int bpp : {24, 32})
    for (int method = 0; method < 2; ++method)
      for (int widest = 0; widest <= 2; ++widest) {
        lamina::cpu::g_widest = widest;
        CLamina original = Random(bpp, 37, 2, 500 + bpp + method), img = original;
        ASSERT_EQ(img.fnIMG_ColorToGray(method), 0);
        for (int y = 0; y < 2; ++y)
          for (int x = 0; x < 37; ++x) {
            CLamina one = FromRows(bpp, {{original.fnIMG_GetPixel(x, y)}});
            one.fnIMG_ColorToGray(method);
            ASSERT_EQ(img.fnIMG_GetPixel(x, y), one.fnIMG_GetPixel(0, 0)) << bpp << " " << x;
            ASSERT_EQ(img.fnIMG_GetAlfa(x, y), original.fnIMG_GetAlfa(x, y));
          }
      }
  lamina::cpu::g_widest = 2;
}

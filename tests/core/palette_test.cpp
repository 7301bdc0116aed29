#include "support/pictures.h"

using namespace lamina_test;

TEST(Palette, CopyOutAndInByEntryCount) {
  CLamina img(nullptr, nullptr, 2, 2, 4);
  RGBQUAD out[17];
  out[16] = Quad(7, 7, 7, 7);
  EXPECT_EQ(img.fnIMG_GetPalette(out), 0);
  EXPECT_TRUE(Same(out[15], Quad(15, 15, 15)));
  EXPECT_TRUE(Same(out[16], Quad(7, 7, 7, 7)));  // only 16 entries copied
  RGBQUAD in[16];
  for (int i = 0; i < 16; ++i) in[i] = Quad(i, 2 * i, 3 * i, 1);
  EXPECT_EQ(img.fnIMG_SetPalette(in), 0);
  EXPECT_TRUE(Same(img.fnIMG_GetPointers().lpPalette[5], Quad(5, 10, 15, 1)));
  CLamina rgb(nullptr, nullptr, 2, 2, 24);
  EXPECT_EQ(rgb.fnIMG_GetPalette(out), 1);
  EXPECT_EQ(rgb.fnIMG_SetPalette(in), 1);
  EXPECT_EQ(rgb.fnIMG_GetPaletteSize(), -1);
  EXPECT_EQ(CLamina().fnIMG_GetPaletteSize(), 1024);
}

TEST(Palette, IndexSearchIgnoresReservedAndPrefersTheLowest) {
  CLamina img;
  EXPECT_EQ(img.fnIMG_GetPaletteIndex(Quad(7, 7, 7, 99)), 7);
  EXPECT_EQ(img.fnIMG_GetPaletteIndex(Quad(7, 7, 8)), -1);
  img.fnIMG_GetPointers().lpPalette[3] = Quad(9, 9, 9);
  EXPECT_EQ(img.fnIMG_GetPaletteIndex(Quad(9, 9, 9)), 3);
  CLamina rgb(nullptr, nullptr, 1, 1, 32);
  EXPECT_EQ(rgb.fnIMG_GetPaletteIndex(Quad(0, 0, 0)), -2);
  // A short palette is searched only as far as it goes.
  img.fnIMG_GetPointers().lpbmih->biClrUsed = 4;
  EXPECT_EQ(img.fnIMG_GetPaletteIndex(Quad(100, 100, 100)), -1);
}

TEST(Palette, GrayRampStepsByDepthAndKeepsReserved) {
  CLamina bw(nullptr, nullptr, 1, 1, 1);
  bw.fnIMG_GetPointers().lpPalette[1].rgbReserved = 42;
  EXPECT_EQ(bw.fnIMG_SetGrayPalette(), 0);
  EXPECT_EQ(Packed(PaletteOf(bw)), Packed({Quad(0, 0, 0), Quad(255, 255, 255, 42)}));
  CLamina four(nullptr, nullptr, 1, 1, 4);
  four.fnIMG_SetGrayPalette();
  EXPECT_EQ(Packed(PaletteOf(four)), Packed(GrayRamp(16)));  // steps of 17
  CLamina shortPal(nullptr, nullptr, 1, 1, 8);
  shortPal.fnIMG_GetPointers().lpbmih->biClrUsed = 100;
  shortPal.fnIMG_GetPointers().lpPalette[100] = Quad(1, 2, 3);
  shortPal.fnIMG_SetGrayPalette();
  EXPECT_TRUE(Same(shortPal.fnIMG_GetPointers().lpPalette[99], Quad(198, 198, 198)));
  EXPECT_TRUE(Same(shortPal.fnIMG_GetPointers().lpPalette[100], Quad(1, 2, 3)));
  EXPECT_EQ(CLamina(nullptr, nullptr, 1, 1, 24).fnIMG_SetGrayPalette(), 1);
}

TEST(Palette, GrayRampOfASingleEntryIsBlackWithoutDividingByZero) {
  CLamina img;
  img.fnIMG_GetPointers().lpPalette[0] = Quad(5, 6, 7, 8);
  img.fnIMG_GetPointers().lpbmih->biClrUsed = 1;
  EXPECT_EQ(img.fnIMG_SetGrayPalette(), 0);
  EXPECT_EQ(Packed(PaletteOf(img)), Packed({Quad(0, 0, 0, 8)}));
  EXPECT_TRUE(Same(img.fnIMG_GetPointers().lpPalette[1], Quad(1, 1, 1)));  // past the palette
}

TEST(Palette, GrayTestLooksAtEntriesOrPixels) {
  CLamina img = FromRows(8, {{0, 1}});
  EXPECT_EQ(img.fnIMG_IsGray(), 1);
  img.fnIMG_GetPointers().lpPalette[255] = Quad(0, 0, 255);  // no pixel uses it
  EXPECT_EQ(img.fnIMG_IsGray(), 0);
  CLamina rgb = FromRows(32, {{0x101010, 0x7F7F7F}});
  rgb.fnIMG_SetAlfa(static_cast<unsigned char>(9));  // alpha plays no part
  EXPECT_EQ(rgb.fnIMG_IsGray(), 1);
  rgb.fnIMG_SetPixel(1, 0, 0x7F7F7E);
  EXPECT_EQ(rgb.fnIMG_IsGray(), 0);
  EXPECT_EQ(CLamina(nullptr, nullptr, 0, 0, 24).fnIMG_IsGray(), 1);
}

TEST(Palette, PseudoColourRunsFromRedThroughGreenToBlue) {
  CLamina img;
  EXPECT_EQ(img.fnIMG_PseudoColor(), 0);
  const RGBQUAD* pal = img.fnIMG_GetPointers().lpPalette;
  EXPECT_EQ(Packed({pal[0], pal[128], pal[255]}),
            Packed({Quad(0, 0, 254), Quad(0, 255, 0), Quad(254, 1, 0)}));
  CLamina rgba = FromRows(32, {{0x00C80A}});  // blue 10, green 200, red 0
  rgba.fnIMG_SetAlfa(static_cast<unsigned char>(77));
  rgba.fnIMG_PseudoColor();
  EXPECT_TRUE(
      Same(Colour(rgba, 0, 0), Quad(0, 111, 254)));  // each channel mapped from its own value
  EXPECT_EQ(rgba.fnIMG_GetAlfa(0, 0), 77);
  CLamina sixteen(nullptr, nullptr, 1, 1, 8);
  sixteen.fnIMG_GetPointers().lpbmih->biBitCount = 16;
  const Snapshot before = Snap(sixteen);
  EXPECT_EQ(sixteen.fnIMG_PseudoColor(), 1);
  EXPECT_EQ(Snap(sixteen), before);
}

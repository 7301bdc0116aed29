// fnIMG_ColorToGray: weighted sums of red, green and blue, methods 0 and 1.
#include <gtest/gtest.h>

#include "../support/convert_pictures.h"
#include "convert/simd24.h"

using pictures::FromRows;
using pictures::PixelsOf;
using pictures::Quad;
using pictures::Rgb;
using pictures::RowBytes;
using pictures::Rows;
using pictures::SameQuad;
using pictures::Snap;

namespace {
std::uint32_t Gray(int v) { return Rgb(v, v, v); }
}  // namespace

TEST(ColorToGray, ChecksTheDepthBeforeTheMethod) {
  CLamina sixteen = pictures::Sixteen({{1, 2}});
  EXPECT_EQ(sixteen.fnIMG_ColorToGray(0), 1);
  EXPECT_EQ(sixteen.fnIMG_ColorToGray(2), 1);
  CLamina img = FromRows(24, {{Rgb(10, 20, 30)}});
  const auto before = Snap(img);
  EXPECT_EQ(img.fnIMG_ColorToGray(2), 2);
  EXPECT_EQ(img.fnIMG_ColorToGray(-1), 2);
  EXPECT_TRUE(Snap(img) == before);
}

TEST(ColorToGray, WeighsTheChannelsByMethod) {
  // Blue 10, green 20, red 30.
  CLamina luma = FromRows(24, {{Rgb(30, 20, 10), Rgb(255, 255, 255), Rgb(0, 0, 255)}});
  CLamina mean = luma;
  EXPECT_EQ(luma.fnIMG_ColorToGray(0), 0);
  EXPECT_EQ(PixelsOf(luma), (Rows{{Gray(21), Gray(255), Gray(29)}}));
  EXPECT_EQ(mean.fnIMG_ColorToGray(1), 0);
  EXPECT_EQ(PixelsOf(mean), (Rows{{Gray(20), Gray(255), Gray(85)}}));
}

TEST(ColorToGray, KeepsEveryGrayLevelWithBothMethods) {
  // 256 pixels in a row: the long runs take the vector path at 24 and 32 bits.
  for (int bpp : {24, 32})
    for (int method = 0; method < 2; ++method) {
      Rows rows(1);
      for (int v = 0; v < 256; ++v) rows[0].push_back(Gray(v));
      CLamina img = FromRows(bpp, rows);
      EXPECT_EQ(img.fnIMG_ColorToGray(method), 0);
      EXPECT_EQ(PixelsOf(img), rows) << bpp << " " << method;
    }
}

TEST(ColorToGray, KeepsTheFourthByteAndThePadding) {
  CLamina rgba =
      FromRows(32, {{Rgb(30, 20, 10), Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9), Rgb(30, 20, 10)}});
  for (int x = 0; x < 5; ++x) rgba.fnIMG_SetAlfa(x, 0, static_cast<unsigned char>(100 + x));
  EXPECT_EQ(rgba.fnIMG_ColorToGray(0), 0);
  EXPECT_EQ(rgba.fnIMG_GetPixel(0, 0), Gray(21));
  EXPECT_EQ(rgba.fnIMG_GetPixel(4, 0), Gray(21));
  for (int x = 0; x < 5; ++x) EXPECT_EQ(rgba.fnIMG_GetAlfa(x, 0), 100 + x);

  CLamina rgb = FromRows(24, {{Rgb(30, 20, 10)}, {Rgb(30, 20, 10)}});
  RowBytes(rgb, 0)[3] = 0xEE;
  EXPECT_EQ(rgb.fnIMG_ColorToGray(0), 0);
  EXPECT_EQ(RowBytes(rgb, 0)[3], 0xEE);
  EXPECT_EQ(PixelsOf(rgb), (Rows{{Gray(21)}, {Gray(21)}}));
}

TEST(ColorToGray, LongRowsAgreeWithSinglePixels) {
  // A pixel's gray level does not depend on its neighbours: every pixel of a wide random row
  // (handled sixteen or four at a time) must match the same colour converted alone.
  for (int bpp : {24, 32}) {
    CLamina wide = pictures::Random(bpp, 83, 3, 1234 + bpp);
    CLamina original = wide;
    ASSERT_EQ(wide.fnIMG_ColorToGray(0), 0);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 83; ++x) {
        CLamina one = FromRows(bpp, {{original.fnIMG_GetPixel(x, y)}});
        one.fnIMG_ColorToGray(0);
        ASSERT_EQ(wide.fnIMG_GetPixel(x, y), one.fnIMG_GetPixel(0, 0)) << bpp << " " << x;
        ASSERT_EQ(wide.fnIMG_GetAlfa(x, y), original.fnIMG_GetAlfa(x, y));
      }
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
  const auto palette = pictures::PaletteOf(img);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(palette[i].rgbRed, 17 * i);
    EXPECT_EQ(palette[i].rgbBlue, 17 * i);
  }
}

TEST(ColorToGray, MapsEightBitGrayEntriesOntoThemselves) {
  Rows rows(1);
  for (int v = 0; v < 256; ++v) rows[0].push_back(255 - v);
  CLamina img = FromRows(8, rows);
  EXPECT_EQ(img.fnIMG_ColorToGray(0), 0);
  EXPECT_EQ(PixelsOf(img), rows);
  CLamina mean = FromRows(8, rows);
  EXPECT_EQ(mean.fnIMG_ColorToGray(1), 0);
  EXPECT_EQ(PixelsOf(mean), rows);
}

TEST(ColorToGray, MapsPixelsFromThePaletteAsItWasAndKeepsReservedBytes) {
  // Two entries change under the same pass; the pixels follow the original colours.
  CLamina img =
      FromRows(8, {{0, 1, 2}}, {Quad(0, 0, 255, 9), Quad(255, 0, 0, 8), Quad(0, 255, 0, 7)});
  EXPECT_EQ(img.fnIMG_ColorToGray(0), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{76, 29, 149}}));
  const auto palette = pictures::PaletteOf(img);
  EXPECT_TRUE(SameQuad(palette[0], Quad(0, 0, 0, 9)));
  EXPECT_TRUE(SameQuad(palette[2], Quad(2, 2, 2, 7)));
}

TEST(ColorToGray, WhiteTakesTheLastIndexOfEveryPaletteLength) {
  for (int n = 2; n <= 256; ++n) {
    std::vector<RGBQUAD> entries(n, Quad(0, 0, 0));
    entries[n - 1] = Quad(255, 255, 255);
    entries[0] = Quad(255, 255, 255);
    CLamina img = pictures::WithShortPalette(8, 2, 1, entries);
    img.fnIMG_SetPixel(1, 0, static_cast<unsigned>(n - 1));
    for (int method = 0; method < 2; ++method) {
      CLamina copy = img;
      ASSERT_EQ(copy.fnIMG_ColorToGray(method), 0);
      EXPECT_EQ(copy.fnIMG_GetPixel(0, 0), static_cast<unsigned>(n - 1)) << n;
      EXPECT_EQ(copy.fnIMG_GetPixel(1, 0), static_cast<unsigned>(n - 1)) << n;
      EXPECT_EQ(pictures::PaletteOf(copy)[n - 1].rgbRed, (n - 1) * (255 / (n - 1))) << n;
    }
  }
}

TEST(ColorToGray, AnIndexBeyondAShortPaletteCountsAsBlack) {
  CLamina img = pictures::WithShortPalette(8, 2, 1, {Quad(255, 255, 255), Quad(255, 255, 255)});
  img.fnIMG_SetPixel(1, 0, 200);
  EXPECT_EQ(img.fnIMG_ColorToGray(0), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{1, 0}}));
}

TEST(ColorToGray, OneBitGraysOnlyThePalette) {
  CLamina img = FromRows(1, {{1, 0, 1}}, {Quad(0, 0, 255, 5), Quad(255, 255, 255, 6)});
  const auto before = Snap(img);
  EXPECT_EQ(img.fnIMG_ColorToGray(0), 0);
  const auto palette = pictures::PaletteOf(img);
  EXPECT_TRUE(SameQuad(palette[0], Quad(76, 76, 76, 5)));
  EXPECT_TRUE(SameQuad(palette[1], Quad(255, 255, 255, 6)));
  EXPECT_EQ(Snap(img).bits, before.bits);
  EXPECT_EQ(Snap(img).header, before.header);
}

TEST(ColorToGray, EveryInstructionSetGivesTheSameGrays) {
  // The vector paths against the plain one, on widths around the 4, 8 and 16-pixel steps.
  for (int bpp : {24, 32})
    for (int method = 0; method < 2; ++method)
      for (int width = 1; width <= 40; width += 3) {
        const CLamina original = pictures::Random(bpp, width, 2, 500 + width + bpp + method);
        pictures::Snapshot expected;
        for (int widest = 0; widest <= 2; ++widest) {
          lamina::simd24::g_widest = widest;
          CLamina img = original;
          img.fnIMG_ColorToGray(method);
          if (widest == 0)
            expected = Snap(img);
          else
            EXPECT_TRUE(Snap(img) == expected) << bpp << " " << width << " " << widest;
        }
        lamina::simd24::g_widest = 2;
      }
}

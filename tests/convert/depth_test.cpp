// fnIMG_ChangeColorDepth: conversion between 1, 4, 8, 24 and 32 bits (indices 0 to 4).
#include <gtest/gtest.h>

#include "../support/convert_pictures.h"
#include "convert/simd24.h"
#include "platform/memory_internal.h"

using pictures::FromRows;
using pictures::PixelsOf;
using pictures::Quad;
using pictures::Rgb;
using pictures::RowBytes;
using pictures::Rows;
using pictures::SameQuad;
using pictures::Snap;

namespace {
constexpr int k1 = 0, k4 = 1, k8 = 2, k24 = 3, k32 = 4;
const RGBQUAD kRed = Quad(0, 0, 255);
const RGBQUAD kBlue = Quad(255, 0, 0);

RGBQUAD ColourAt(CLamina& img, int x, int y) {
  RGBQUAD c{};
  img.fnIMG_GetRGBPixel(x, y, &c);
  return c;
}
}  // namespace

TEST(ChangeColorDepth, ChecksTheIndexBeforeTheDepth) {
  CLamina sixteen = pictures::Sixteen({{1, 2}});
  const auto before16 = Snap(sixteen);
  EXPECT_EQ(sixteen.fnIMG_ChangeColorDepth(5), 1);
  EXPECT_EQ(sixteen.fnIMG_ChangeColorDepth(-1), 1);
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(sixteen.fnIMG_ChangeColorDepth(i), 2);
  EXPECT_TRUE(Snap(sixteen) == before16);
  CLamina img;
  const auto before = Snap(img);
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(5), 1);
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(-1), 1);
  EXPECT_TRUE(Snap(img) == before);
}

TEST(ChangeColorDepth, ItsOwnDepthChangesNothing) {
  const int depths[] = {1, 4, 8, 24, 32};
  const int index[] = {k1, k4, k8, k24, k32};
  for (int i = 0; i < 5; ++i) {
    CLamina img = pictures::Random(depths[i], 5, 3, 40 + i);
    img.fnIMG_GetPointers().lpbmih->biXPelsPerMeter = 99;
    const auto before = Snap(img);
    EXPECT_EQ(img.fnIMG_ChangeColorDepth(index[i]), 0);
    EXPECT_TRUE(Snap(img) == before) << depths[i];
  }
}

TEST(ChangeColorDepth, ThresholdsTheMeanOfTheChannelsAt128) {
  CLamina img = FromRows(
      24, {{Rgb(130, 150, 100), Rgb(130, 160, 100), Rgb(128, 128, 128), Rgb(127, 128, 128)}});
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k1), 0);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 1);
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 1, 1, 0}}));
  const auto palette = pictures::PaletteOf(img);
  ASSERT_EQ(palette.size(), 2u);
  EXPECT_TRUE(SameQuad(palette[0], Quad(0, 0, 0)));
  EXPECT_TRUE(SameQuad(palette[1], Quad(255, 255, 255)));
}

TEST(ChangeColorDepth, ThresholdsPaletteImagesByTheirEntriesColours) {
  CLamina img = FromRows(8, {{0, 1, 2}}, {Quad(200, 200, 200), Quad(0, 0, 255), Quad(0, 255, 255)});
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k1), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{1, 0, 1}}));
}

TEST(ChangeColorDepth, ThirtyTwoBitsToOneBitIgnoresTheFourthByte) {
  CLamina img = FromRows(32, {{Rgb(200, 200, 200), Rgb(10, 10, 10)}});
  img.fnIMG_SetAlfa(0, 0, 0);
  img.fnIMG_SetAlfa(1, 0, 255);
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k1), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{1, 0}}));
}

TEST(ChangeColorDepth, OneBitRescalesTheIndexWhateverThePaletteSays) {
  CLamina img = FromRows(1, {{0, 1, 1}, {1, 0, 0}}, {kRed, kBlue});
  CLamina four = img;
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k8), 0);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 8);
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 255, 255}, {255, 0, 0}}));
  EXPECT_TRUE(SameQuad(ColourAt(img, 0, 0), Quad(0, 0, 0)));
  EXPECT_TRUE(SameQuad(ColourAt(img, 1, 0), Quad(255, 255, 255)));
  EXPECT_EQ(four.fnIMG_ChangeColorDepth(k4), 0);
  EXPECT_EQ(PixelsOf(four), (Rows{{0, 15, 15}, {15, 0, 0}}));
  EXPECT_TRUE(SameQuad(pictures::PaletteOf(four)[1], Quad(17, 17, 17)));
}

TEST(ChangeColorDepth, CopyingToTrueColourKeepsThePaletteColours) {
  CLamina img = FromRows(1, {{0, 1, 1}, {1, 0, 0}}, {kRed, kBlue});
  CLamina thirtyTwo = img;
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k24), 0);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 24);
  EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(0, 0, 255)},
                                 {Rgb(0, 0, 255), Rgb(255, 0, 0), Rgb(255, 0, 0)}}));
  EXPECT_EQ(thirtyTwo.fnIMG_ChangeColorDepth(k32), 0);
  EXPECT_EQ(PixelsOf(thirtyTwo), PixelsOf(img));
  EXPECT_EQ(thirtyTwo.fnIMG_GetAlfa(1, 1), 0);
}

TEST(ChangeColorDepth, EightBitsToTwentyFourLeavesThePaddingZero) {
  // Width 3: nine bytes of pixels and three of padding per row; the last pixel of the top row
  // ends three bytes before the block does.
  CLamina img = FromRows(8, {{1, 2, 3}, {4, 5, 6}}, {Quad(0, 0, 0), Quad(10, 11, 12)});
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k24), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(12, 11, 10), Rgb(2, 2, 2), Rgb(3, 3, 3)},
                                 {Rgb(4, 4, 4), Rgb(5, 5, 5), Rgb(6, 6, 6)}}));
  for (int y = 0; y < 2; ++y)
    for (int i = 9; i < 12; ++i) EXPECT_EQ(RowBytes(img, y)[i], 0) << y << " " << i;
}

TEST(ChangeColorDepth, IndicesBeyondAShortPaletteBecomeBlack) {
  CLamina img = pictures::WithShortPalette(8, 2, 1, {Quad(1, 2, 3), Quad(4, 5, 6)});
  img.fnIMG_SetPixel(0, 0, 1);
  img.fnIMG_SetPixel(1, 0, 200);
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k24), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(6, 5, 4), 0}}));
}

TEST(ChangeColorDepth, GrayEightBitsToFourShiftsTheIndex) {
  CLamina img = FromRows(8, {{255, 16, 15, 0}});
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k4), 0);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 4);
  EXPECT_EQ(PixelsOf(img), (Rows{{15, 1, 0, 0}}));
  EXPECT_TRUE(SameQuad(ColourAt(img, 0, 0), Quad(255, 255, 255)));
}

TEST(ChangeColorDepth, GrayFourBitsToEightScalesTheIndex) {
  CLamina img = FromRows(4, {{3, 15, 0}}, {});
  img.fnIMG_SetGrayPalette();
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k8), 0);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 8);
  EXPECT_EQ(PixelsOf(img), (Rows{{51, 255, 0}}));
}

TEST(ChangeColorDepth, ColourPaletteImagesAreNotReducedOnAPalette) {
  // 8 to 4 bits: left as it was.
  CLamina eight = FromRows(8, {{1, 2}}, {Quad(0, 0, 0), Quad(0, 0, 255)});
  const auto before = Snap(eight);
  EXPECT_EQ(eight.fnIMG_ChangeColorDepth(k4), 0);
  EXPECT_TRUE(Snap(eight) == before);
  // 4 to 8 bits: becomes 24 bits instead.
  CLamina four = FromRows(4, {{1, 2}}, {Quad(0, 0, 0), Quad(0, 0, 255)});
  EXPECT_EQ(four.fnIMG_ChangeColorDepth(k8), 0);
  EXPECT_EQ(four.fnIMG_GetColorDepth(), 24);
  EXPECT_EQ(PixelsOf(four), (Rows{{Rgb(255, 0, 0), Rgb(2, 2, 2)}}));
}

TEST(ChangeColorDepth, GrayTrueColourGoesOntoTheGrayPaletteByItsRed) {
  CLamina img = FromRows(24, {{Rgb(0, 0, 0), Rgb(100, 100, 100), Rgb(255, 255, 255)}});
  CLamina four = img;
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k8), 0);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 8);
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 100, 255}}));
  EXPECT_EQ(four.fnIMG_ChangeColorDepth(k4), 0);
  EXPECT_EQ(PixelsOf(four), (Rows{{0, 6, 15}}));
}

TEST(ChangeColorDepth, ColourTwentyFourBitsAreNotReducedOnAPalette) {
  CLamina img = FromRows(24, {{Rgb(10, 10, 10), Rgb(10, 10, 11)}});
  const auto before = Snap(img);
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k8), 0);
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k4), 0);
  EXPECT_TRUE(Snap(img) == before);
}

TEST(ChangeColorDepth, ColourThirtyTwoBitsAskedForEightEndAtTwentyFour) {
  CLamina img = FromRows(32, {{Rgb(1, 2, 3), Rgb(4, 5, 6)}});
  img.fnIMG_SetAlfa(static_cast<unsigned char>(50));
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k8), 0);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 24);
  EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(1, 2, 3), Rgb(4, 5, 6)}}));
}

TEST(ChangeColorDepth, GrayThirtyTwoBitsAskedForFourGoOntoTheGrayPalette) {
  CLamina img = FromRows(32, {{Rgb(32, 32, 32), Rgb(255, 255, 255)}});
  img.fnIMG_SetAlfa(0, 0, 7);  // the fourth byte does not make a pixel coloured
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k4), 0);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 4);
  EXPECT_EQ(PixelsOf(img), (Rows{{2, 15}}));
}

TEST(ChangeColorDepth, ThirtyTwoBitsRoundTripThroughTwentyFour) {
  CLamina img = pictures::Random(24, 5, 3, 7);
  // Random padding would not survive a new image; start from one the constructor made.
  CLamina start = img;
  start.fnIMG_ChangeColorDepth(k32);
  start.fnIMG_ChangeColorDepth(k24);
  const auto reference = Snap(start);
  EXPECT_EQ(start.fnIMG_ChangeColorDepth(k32), 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(start.fnIMG_GetAlfa(x, y), 0);
  EXPECT_EQ(start.fnIMG_ChangeColorDepth(k24), 0);
  EXPECT_TRUE(Snap(start) == reference);
  EXPECT_EQ(PixelsOf(start), PixelsOf(img));
}

TEST(ChangeColorDepth, TheNewImageKeepsTheNameAndTakesTheConstructorsHeader) {
  CLamina img = FromRows(8, {{1, 2}});
  img.fnIMG_SetFileName(L"scan.bmp");
  BITMAPINFOHEADER* h = img.fnIMG_GetPointers().lpbmih;
  h->biXPelsPerMeter = 2835;
  h->biYPelsPerMeter = 2835;
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k32), 0);
  const BITMAPINFOHEADER after = img.fnIMG_GetBitmapInfoHeader();
  EXPECT_EQ(pictures::NameOf(img), L"scan.bmp");
  EXPECT_EQ(after.biXPelsPerMeter, 0);
  EXPECT_EQ(after.biYPelsPerMeter, 0);
  EXPECT_EQ(after.biClrUsed, 16777216u);
  EXPECT_EQ(after.biClrImportant, 16777216u);
  EXPECT_EQ(after.biSizeImage, 8u);
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k1), 0);
  EXPECT_EQ(img.fnIMG_GetBitmapInfoHeader().biClrUsed, 2u);
  EXPECT_EQ(pictures::NameOf(img), L"scan.bmp");
}

TEST(ChangeColorDepth, LeavesTheImageUntouchedWhenMemoryRunsOut) {
  const int depths[] = {1, 4, 8, 24, 32};
  for (int bpp : depths)
    for (int index = 0; index <= 4; ++index) {
      CLamina img = FromRows(bpp, {{0, 0}, {0, 0}});  // gray, so every rule builds a new image
      const auto before = Snap(img);
      lamina::platform::FailAllocationsAfter(0);
      const int result = img.fnIMG_ChangeColorDepth(index);
      lamina::platform::FailAllocationsAfter(-1);
      const bool same = (bpp == 1 && index == k1) || (bpp == 4 && index == k4) ||
                        (bpp == 8 && index == k8) || (bpp == 24 && index == k24) ||
                        (bpp == 32 && index == k32);
      EXPECT_EQ(result, same ? 0 : 3) << bpp << " " << index;
      EXPECT_TRUE(Snap(img) == before) << bpp << " " << index;
    }
  // A colour 24-bit image asked for 8 bits is left as it is, memory or not.
  CLamina rgb = FromRows(24, {{Rgb(1, 2, 3)}});
  const auto rgbBefore = Snap(rgb);
  lamina::platform::FailAllocationsAfter(0);
  const int rgbResult = rgb.fnIMG_ChangeColorDepth(k8);
  lamina::platform::FailAllocationsAfter(-1);
  EXPECT_EQ(rgbResult, 0);
  EXPECT_TRUE(Snap(rgb) == rgbBefore);
  // A colour 32-bit image asked for 8 bits needs a second image, its 24-bit copy.
  CLamina colour = FromRows(32, {{Rgb(1, 2, 3)}});
  const auto before = Snap(colour);
  lamina::platform::FailAllocationsAfter(1);
  const int result = colour.fnIMG_ChangeColorDepth(k8);
  lamina::platform::FailAllocationsAfter(-1);
  EXPECT_EQ(result, 3);
  EXPECT_TRUE(Snap(colour) == before);
}

TEST(ChangeColorDepth, EveryInstructionSetGivesTheSameImages) {
  for (int width = 1; width <= 45; width += 2) {
    // 8 -> 24 through a random colour palette.
    const CLamina eight = pictures::Random(8, width, 2, 900 + width);
    // 24 -> 8 of a gray picture, and of the same picture with one coloured pixel.
    CLamina gray = pictures::Random(8, width, 2, 950 + width);
    gray.fnIMG_SetGrayPalette();
    gray.fnIMG_ChangeColorDepth(k24);
    CLamina tinted = gray;
    tinted.fnIMG_SetPixel(width - 1 - width / 3, 1, Rgb(1, 2, 2));
    // 8 -> 24 with the gray ramp palette, where each index is its own gray.
    CLamina ramp = eight;
    ramp.fnIMG_SetGrayPalette();
    pictures::Snapshot expected[4];
    for (int widest = 0; widest <= 2; ++widest) {
      lamina::simd24::g_widest = widest;
      CLamina results[4] = {eight, gray, tinted, ramp};
      results[0].fnIMG_ChangeColorDepth(k24);
      results[1].fnIMG_ChangeColorDepth(k8);
      results[2].fnIMG_ChangeColorDepth(k8);
      results[3].fnIMG_ChangeColorDepth(k24);
      for (int i = 0; i < 4; ++i) {
        if (widest == 0)
          expected[i] = Snap(results[i]);
        else
          EXPECT_TRUE(Snap(results[i]) == expected[i]) << width << " " << widest << " " << i;
      }
    }
    lamina::simd24::g_widest = 2;
    CLamina check = tinted;
    EXPECT_EQ(check.fnIMG_ChangeColorDepth(k8), 0);
    EXPECT_EQ(check.fnIMG_GetColorDepth(), 24) << width;
  }
}

TEST(ChangeColorDepth, WideRowsAgreeWithSinglePixels) {
  // Rows long enough to be packed a byte at a time, with a tail pixel by pixel: every pixel must
  // come out as the same pixel converted alone.
  struct Case {
    int bpp, index;
    bool grayPalette;
  };
  const Case cases[] = {{8, k1, false}, {8, k4, true},  {24, k1, false}, {32, k1, false},
                        {1, k4, false}, {4, k1, false}, {4, k8, true},   {24, k4, true}};
  unsigned seed = 70;
  for (const Case& c : cases) {
    CLamina wide = pictures::Random(c.bpp, 300 + 7, 2, ++seed);
    if (c.grayPalette && c.bpp <= 8) wide.fnIMG_SetGrayPalette();
    if (c.grayPalette && c.bpp == 24) {
      for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 307; ++x) {
          const int v = static_cast<int>(wide.fnIMG_GetPixel(x, y) & 255);
          wide.fnIMG_SetPixel(x, y, Rgb(v, v, v));
        }
    }
    CLamina original = wide;
    std::vector<RGBQUAD> palette(256);
    if (c.bpp <= 8) original.fnIMG_GetPalette(palette.data());
    ASSERT_EQ(wide.fnIMG_ChangeColorDepth(c.index), 0);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 307; ++x) {
        CLamina one(nullptr, c.bpp <= 8 ? palette.data() : nullptr, 1, 1, c.bpp);
        one.fnIMG_SetPixel(0, 0, original.fnIMG_GetPixel(x, y));
        one.fnIMG_ChangeColorDepth(c.index);
        ASSERT_EQ(wide.fnIMG_GetPixel(x, y), one.fnIMG_GetPixel(0, 0))
            << c.bpp << " to index " << c.index << " at " << x;
      }
  }
}

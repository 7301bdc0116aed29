// fnIMG_ChangeColorDepth: conversion between 1, 4, 8, 24 and 32 bits (indices 0 to 4).
#include "core/cpu.h"
#include "support/pictures.h"

using namespace lamina_test;

namespace {
constexpr int k1 = 0, k4 = 1, k8 = 2, k24 = 3, k32 = 4;
const RGBQUAD kRed = Quad(0, 0, 255), kBlue = Quad(255, 0, 0);

struct Conversion {
  const char* what;
  int bpp;
  Rows rows;
  std::vector<RGBQUAD> palette;
  int alpha;  // fourth byte of every 32-bit pixel
  int index;
  int depthAfter;  // 0: the image must stay byte for byte as it was
  Rows after;
};
void PrintTo(const Conversion& c, std::ostream* os) { *os << c.what; }

const Rows kOneBit = {{0, 1, 1}, {1, 0, 0}};
const Rows kOneBitAsColour = {{Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(0, 0, 255)},
                              {Rgb(0, 0, 255), Rgb(255, 0, 0), Rgb(255, 0, 0)}};
const Rows kGrayRgb = {{0, Rgb(100, 100, 100), Rgb(255, 255, 255)}};
const Rows kTinted = {{Rgb(10, 10, 10), Rgb(10, 10, 11)}};

const Conversion kConversions[] = {
    {"24 to 1 thresholds the channel mean at 128", 24,
     {{Rgb(130, 150, 100), Rgb(130, 160, 100), Rgb(128, 128, 128), Rgb(127, 128, 128)}}, {}, 0,
     k1, 1, {{0, 1, 1, 0}}},
    {"8 to 1 thresholds the entries' colours", 8, {{0, 1, 2}},
     {Quad(200, 200, 200), Quad(0, 0, 255), Quad(0, 255, 255)}, 0, k1, 1, {{1, 0, 1}}},
    {"32 to 1 leaves the fourth byte out of the mean", 32,
     {{Rgb(200, 200, 200), Rgb(100, 100, 100)}}, {}, 255, k1, 1, {{1, 0}}},
    {"1 to 8 rescales the index whatever the palette says", 1, kOneBit, {kRed, kBlue}, 0, k8, 8,
     {{0, 255, 255}, {255, 0, 0}}},
    {"1 to 24 copies the palette colours", 1, kOneBit, {kRed, kBlue}, 0, k24, 24, kOneBitAsColour},
    {"8 to 24", 8, {{1, 2, 3}, {4, 5, 6}}, {Quad(0, 0, 0), Quad(10, 11, 12)}, 0, k24, 24,
     {{Rgb(12, 11, 10), Rgb(2, 2, 2), Rgb(3, 3, 3)}, {Rgb(4, 4, 4), Rgb(5, 5, 5), Rgb(6, 6, 6)}}},
    {"gray 8 to 4 shifts the index", 8, {{255, 16, 15, 0}}, {}, 0, k4, 4, {{15, 1, 0, 0}}},
    {"gray 4 to 8 scales the index", 4, {{3, 15, 0}}, GrayRamp(16), 0, k8, 8, {{51, 255, 0}}},
    {"colour 8 to 4 is not reduced", 8, {{1, 2}}, {Quad(0, 0, 0), Quad(0, 0, 255)}, 0, k4, 0, {}},
    {"colour 4 to 8 becomes 24", 4, {{1, 2}}, {Quad(0, 0, 0), Quad(0, 0, 255)}, 0, k8, 24,
     {{Rgb(255, 0, 0), Rgb(2, 2, 2)}}},
    {"gray 24 to 8 by its red", 24, kGrayRgb, {}, 0, k8, 8, {{0, 100, 255}}},
    {"gray 24 to 4 by its red", 24, kGrayRgb, {}, 0, k4, 4, {{0, 6, 15}}},
    {"colour 24 to 8 is not reduced", 24, kTinted, {}, 0, k8, 0, {}},
    {"colour 32 to 8 ends at 24", 32, {{Rgb(1, 2, 3), Rgb(4, 5, 6)}}, {}, 50, k8, 24,
     {{Rgb(1, 2, 3), Rgb(4, 5, 6)}}},
    {"gray 32 to 4: the fourth byte does not make it colour", 32,
     {{Rgb(32, 32, 32), Rgb(255, 255, 255)}}, {}, 7, k4, 4, {{2, 15}}},
};

class DepthConversion : public ::testing::TestWithParam<Conversion> {};

TEST_P(DepthConversion, GivesExactPixelsOnAGrayPaletteOrZeroPadding) {
  const Conversion& c = GetParam();
  CLamina img = FromRows(c.bpp, c.rows, c.palette);
  if (c.bpp == 32) img.fnIMG_SetAlfa(static_cast<unsigned char>(c.alpha));
  const Snapshot before = Snap(img);
  ASSERT_EQ(img.fnIMG_ChangeColorDepth(c.index), 0);
  if (c.depthAfter == 0) {
    EXPECT_EQ(Snap(img), before);
    return;
  }
  EXPECT_EQ(img.fnIMG_GetColorDepth(), c.depthAfter);
  EXPECT_EQ(PixelsOf(img), c.after);
  if (c.depthAfter <= 8) {
    EXPECT_EQ(Packed(PaletteOf(img)), Packed(GrayRamp(1 << c.depthAfter)));
    return;
  }
  const int used = c.depthAfter / 8 * img.fnIMG_GetColumns();
  for (int y = 0; y < img.fnIMG_GetRows(); ++y) {
    for (int i = used; i < lamina::Stride64(img.fnIMG_GetColumns(), c.depthAfter); ++i)
      EXPECT_EQ(RowBytes(img, y)[i], 0) << "padding " << i;
    for (int x = 0; c.depthAfter == 32 && x < img.fnIMG_GetColumns(); ++x)
      EXPECT_EQ(img.fnIMG_GetAlfa(x, y), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DepthConversion, ::testing::ValuesIn(kConversions), CaseName());

}  // namespace

TEST(ChangeColorDepth, ChecksTheIndexBeforeTheDepthAndItsOwnDepthChangesNothing) {
  CLamina sixteen = Sixteen({{1, 2}});
  const Snapshot before16 = Snap(sixteen);
  EXPECT_EQ(sixteen.fnIMG_ChangeColorDepth(5), 1);
  EXPECT_EQ(sixteen.fnIMG_ChangeColorDepth(-1), 1);
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(sixteen.fnIMG_ChangeColorDepth(i), 2);
  EXPECT_EQ(Snap(sixteen), before16);
  const int depths[] = {1, 4, 8, 24, 32};
  for (int i = 0; i < 5; ++i) {
    CLamina img = Random(depths[i], 5, 3, 40 + i);
    img.fnIMG_GetPointers().lpbmih->biXPelsPerMeter = 99;
    const Snapshot before = Snap(img);
    EXPECT_EQ(img.fnIMG_ChangeColorDepth(5), 1);
    EXPECT_EQ(img.fnIMG_ChangeColorDepth(i), 0);
    EXPECT_EQ(Snap(img), before) << depths[i];
  }
}

TEST(ChangeColorDepth, IndicesBeyondAShortPaletteBecomeBlackAndTheNameStays) {
  CLamina img = WithShortPalette(8, 2, 1, {Quad(1, 2, 3), Quad(4, 5, 6)});
  img.fnIMG_SetPixel(0, 0, 1);
  img.fnIMG_SetPixel(1, 0, 200);
  img.fnIMG_SetFileName(L"scan.bmp");
  EXPECT_EQ(img.fnIMG_ChangeColorDepth(k24), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(6, 5, 4), 0}}));
  EXPECT_EQ(NameOf(img), "scan.bmp");
}

TEST(ChangeColorDepth, EveryPathAgreesWithSinglePixelsOnEveryInstructionSet) {
  // An odd width: vector steps, bytes packed whole and a tail, each pixel converted as if alone.
  const struct {
    int bpp, index;
    bool gray;
  } cases[] = {{8, k24, false}, {8, k24, true}, {24, k8, true}, {8, k1, false},
               {32, k1, false},  {1, k4, false}, {24, k4, true}};
  unsigned seed = 70;
  for (const auto& c : cases)
    for (int widest = 0; widest <= 2; ++widest) {
      lamina::cpu::g_widest = widest;
      CLamina wide = Random(c.bpp, 307, 2, ++seed);
      if (c.gray && c.bpp <= 8) wide.fnIMG_SetGrayPalette();
      for (int y = 0; c.gray && c.bpp == 24 && y < 2; ++y)
        for (int x = 0; x < 307; ++x)
          wide.fnIMG_SetPixel(x, y, 0x010101u * (wide.fnIMG_GetPixel(x, y) & 255));
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
              << c.bpp << " to index " << c.index << " at " << x << " on set " << widest;
        }
    }
  lamina::cpu::g_widest = 2;
  // One coloured pixel keeps a gray-looking 24-bit image from becoming 8 bits.
  CLamina tinted = FromRows(24, Rows(2, std::vector<std::uint32_t>(37, Rgb(9, 9, 9))));
  tinted.fnIMG_SetPixel(24, 1, Rgb(1, 2, 2));
  const Snapshot before = Snap(tinted);
  EXPECT_EQ(tinted.fnIMG_ChangeColorDepth(k8), 0);
  EXPECT_EQ(Snap(tinted), before);
}

// Histograms (index and colour columns, scaled or not) and their summaries.
#include "support/pictures.h"

using namespace lamina_test;

namespace {
int At(const std::vector<int>& t, int level, int column) {
  return t[static_cast<std::size_t>(4 * level + column)];
}
constexpr int I = 0, R = 1, G = 2, B = 3;
}  // namespace

TEST(Histogram, CountsIndicesAndPaletteColoursOf8Bits) {
  // Indices 1 and 2 share one colour: their pixels add up at that colour's levels.
  std::vector<RGBQUAD> pal(256, RGBQUAD{0, 0, 0, 0});
  pal[1] = RGBQUAD{30, 20, 10, 0};  // blue, green, red
  pal[2] = RGBQUAD{30, 20, 10, 0};
  pal[3] = RGBQUAD{200, 100, 50, 0};
  CLamina img = Marked(8, {{1, 2, 3}, {3, 1, 0}}, pal);
  std::vector<int> t(1024, -7);
  ASSERT_EQ(img.fnIMG_GetHistogram(t.data(), 0), 0);
  EXPECT_EQ(At(t, 0, I), 1);
  EXPECT_EQ(At(t, 1, I), 2);
  EXPECT_EQ(At(t, 2, I), 1);
  EXPECT_EQ(At(t, 3, I), 2);
  EXPECT_EQ(At(t, 10, R), 3);
  EXPECT_EQ(At(t, 20, G), 3);
  EXPECT_EQ(At(t, 30, B), 3);
  EXPECT_EQ(At(t, 50, R), 2);
  EXPECT_EQ(At(t, 0, R), 1);  // index 0 is black
  long total = 0;
  for (int k = 0; k < 256; ++k) total += At(t, k, B);
  EXPECT_EQ(total, 6);
}

TEST(Histogram, SubByteDepthsCountOnlyRealPixels) {
  // Odd widths: the padding bits and the unused nibble (0xA5 filled) must not be counted.
  CLamina one = Marked(1, {{1, 0, 1}, {1, 1, 1}});
  std::vector<int> t(1024);
  ASSERT_EQ(one.fnIMG_GetHistogram(t.data(), 0), 0);
  EXPECT_EQ(At(t, 0, I), 1);
  EXPECT_EQ(At(t, 1, I), 5);
  EXPECT_EQ(At(t, 255, R), 5);  // the two-level gray ramp: white
  CLamina wide = Marked(1, {std::vector<std::uint32_t>(19, 1), std::vector<std::uint32_t>(19, 0)});
  ASSERT_EQ(wide.fnIMG_GetHistogram(t.data(), 0), 0);
  EXPECT_EQ(At(t, 1, I), 19);
  EXPECT_EQ(At(t, 0, I), 19);

  CLamina four = Marked(4, {{15, 3, 3, 7, 0}});
  ASSERT_EQ(four.fnIMG_GetHistogram(t.data(), 0), 0);
  EXPECT_EQ(At(t, 15, I), 1);
  EXPECT_EQ(At(t, 3, I), 2);
  EXPECT_EQ(At(t, 7, I), 1);
  EXPECT_EQ(At(t, 0, I), 1);
  EXPECT_EQ(At(t, 51, G), 2);  // entry 3 of the 16-level ramp
  EXPECT_EQ(At(t, 5, I) + At(t, 10, I), 0);
}

TEST(Histogram, TrueColourIntensityTruncatesAndIgnoresAlpha) {
  for (int bpp : {24, 32}) {
    CLamina img = Marked(bpp, {{Rgb(255, 255, 254), Rgb(1, 2, 3)}});
    if (bpp == 32) img.fnIMG_SetAlfa(static_cast<unsigned char>(77));
    std::vector<int> t(1024);
    ASSERT_EQ(img.fnIMG_GetHistogram(t.data(), 0), 0);
    EXPECT_EQ(At(t, 254, I), 1) << bpp;
    EXPECT_EQ(At(t, 2, I), 1);
    EXPECT_EQ(At(t, 255, R), 1);
    EXPECT_EQ(At(t, 254, B), 1);
    EXPECT_EQ(At(t, 3, B), 1);
    EXPECT_EQ(At(t, 77, I) + At(t, 77, R), 0);
  }
}

TEST(Histogram, ScalesColumnsInSinglePrecision) {
  // Red: level 10 three times, level 20 once. Scaled to 100: 100 and 33.
  CLamina img = Marked(24, {{Rgb(10, 0, 0), Rgb(10, 0, 0), Rgb(10, 0, 0), Rgb(20, 0, 0)}});
  std::vector<int> t(1024);
  ASSERT_EQ(img.fnIMG_GetHistogram(t.data(), 100), 0);
  EXPECT_EQ(At(t, 10, R), 100);
  EXPECT_EQ(At(t, 20, R), 33);
  EXPECT_EQ(At(t, 0, G), 100);
  EXPECT_EQ(At(t, 0, B), 100);
  // The intensity column of a true-colour image keeps raw counts.
  EXPECT_EQ(At(t, 3, I), 3);
  EXPECT_EQ(At(t, 6, I), 1);

  CLamina gray = Marked(8, {{10, 10, 10, 20}});
  ASSERT_EQ(gray.fnIMG_GetHistogram(t.data(), 100), 0);
  EXPECT_EQ(At(t, 10, I), 100);
  EXPECT_EQ(At(t, 20, I), 33);
  EXPECT_EQ(At(t, 10, R), 100);
}

TEST(Histogram, SingleFloatScalingOfLargeCounts) {
  // 7 of 9: 7/9 = 0.7777778f, times 1000 = 777.7778f -> 777.
  CLamina img = Marked(8, {{1, 1, 1, 1, 1, 1, 1, 2, 2}, {0, 0, 0, 0, 0, 0, 0, 0, 0}});
  std::vector<int> t(1024);
  ASSERT_EQ(img.fnIMG_GetHistogram(t.data(), 1000), 0);
  EXPECT_EQ(At(t, 0, I), 1000);
  EXPECT_EQ(At(t, 1, I), 777);
  EXPECT_EQ(At(t, 2, I), 222);
  // A huge height saturates instead of overflowing the int conversion.
  ASSERT_EQ(img.fnIMG_GetHistogram(t.data(), 2147483647), 0);
  EXPECT_EQ(At(t, 0, I), 2147483647);
}

TEST(Histogram, UnsupportedDepthLeavesTableAlone) {
  CLamina none(nullptr, nullptr, 4, 4, 16);  // no block: reads as depth 0
  std::vector<int> t(1024, 42);
  EXPECT_EQ(none.fnIMG_GetHistogram(t.data(), 0), 1);
  EXPECT_EQ(t, std::vector<int>(1024, 42));
  CLamina img = Marked(8, {{1}});
  img.fnIMG_GetPointers().lpbmih->biBitCount = 16;
  EXPECT_EQ(img.fnIMG_GetHistogram(t.data(), 10), 1);
  EXPECT_EQ(t, std::vector<int>(1024, 42));
  CLamina::InformacionHistograma info;
  std::memset(&info, 0x11, sizeof info);
  EXPECT_EQ(img.fnIMG_GetInfoHistogram(&info), 1);
  EXPECT_EQ(info.nMinI, 0x11111111);
  EXPECT_EQ(info.nFrecModaB, 0x11111111);
}

TEST(HistogramInfo, ModeTiesGoToTheLowestLevel) {
  CLamina img = Marked(8, {{20, 10, 20, 10, 30}});
  CLamina::InformacionHistograma info;
  ASSERT_EQ(img.fnIMG_GetInfoHistogram(&info), 0);
  EXPECT_EQ(info.nModaI, 10);
  EXPECT_EQ(info.nFrecModaI, 2);
  EXPECT_EQ(info.nMinI, 10);
  EXPECT_EQ(info.nFrecMinI, 2);
  EXPECT_EQ(info.nMaxI, 30);
  EXPECT_EQ(info.nFrecMaxI, 1);
}

TEST(HistogramInfo, SingleColourFillsEveryColumnAlike) {
  CLamina img = Marked(24, {{Rgb(90, 60, 30), Rgb(90, 60, 30)}, {Rgb(90, 60, 30), Rgb(90, 60, 30)}});
  CLamina::InformacionHistograma info;
  ASSERT_EQ(img.fnIMG_GetInfoHistogram(&info), 0);
  EXPECT_EQ(info.nMinR, 90);
  EXPECT_EQ(info.nMaxR, 90);
  EXPECT_EQ(info.nModaR, 90);
  EXPECT_EQ(info.nMinG, 60);
  EXPECT_EQ(info.nModaB, 30);
  EXPECT_EQ(info.nMaxI, 60);
  EXPECT_EQ(info.nFrecMinI, 4);
  EXPECT_EQ(info.nFrecMaxB, 4);
  EXPECT_EQ(info.nFrecModaG, 4);
}

TEST(HistogramInfo, PaletteImagesReportIndices) {
  // A reversed ramp: index 0 is white. The I column speaks of indices, R of colours.
  std::vector<RGBQUAD> pal(256);
  for (int i = 0; i < 256; ++i)
    pal[static_cast<std::size_t>(i)] = RGBQUAD{BYTE(255 - i), BYTE(255 - i), BYTE(255 - i), 0};
  CLamina img = Marked(8, {{0, 5}});
  img.fnIMG_SetPalette(pal.data());
  CLamina::InformacionHistograma info;
  ASSERT_EQ(img.fnIMG_GetInfoHistogram(&info), 0);
  EXPECT_EQ(info.nMinI, 0);
  EXPECT_EQ(info.nMaxI, 5);
  EXPECT_EQ(info.nMinR, 250);
  EXPECT_EQ(info.nMaxR, 255);
}

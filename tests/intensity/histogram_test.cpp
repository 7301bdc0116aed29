// Histograms (index and colour columns, scaled or not) and their summaries.
#include <array>

#include "support/pictures.h"

using namespace lamina_test;

namespace {
constexpr int I = 0, R = 1, G = 2, B = 3;
struct Count {
  int level, column, count;
};

// Runs the histogram at `scale` and checks the given cells. Unscaled, every column must also add
// up to the pixel count, so a padding bit or byte counted anywhere shows.
void ExpectCounts(CLamina& img, int scale, std::initializer_list<Count> counts) {
  std::vector<int> t(1024, -7);
  ASSERT_EQ(img.fnIMG_GetHistogram(t.data(), scale), 0);
  for (int column = 0; column < 4 && scale == 0; ++column) {
    long total = 0;
    for (int level = 0; level < 256; ++level) total += t[4 * level + column];
    EXPECT_EQ(total, long{img.fnIMG_GetColumns()} * img.fnIMG_GetRows()) << "column " << column;
  }
  for (const Count& c : counts)
    EXPECT_EQ(t[4 * c.level + c.column], c.count) << "level " << c.level << " column " << c.column;
}

using Info = std::array<int, 24>;  // min, frequency of the min, per I R G B; then max; then mode
Info InfoOf(CLamina& img) {
  CLamina::InformacionHistograma info;
  EXPECT_EQ(img.fnIMG_GetInfoHistogram(&info), 0);
  Info out;
  std::memcpy(out.data(), &info, sizeof info);
  return out;
}
}  // namespace

TEST(Histogram, CountsIndicesAndPaletteColoursOf8Bits) {
  // Indices 1 and 2 share one colour: their pixels add up at that colour's levels; 0 is black.
  std::vector<RGBQUAD> pal(256, RGBQUAD{0, 0, 0, 0});
  pal[1] = pal[2] = RGBQUAD{30, 20, 10, 0};  // blue, green, red
  pal[3] = RGBQUAD{200, 100, 50, 0};
  CLamina img = Marked(8, {{1, 2, 3}, {3, 1, 0}}, pal);
  ExpectCounts(img, 0, {{0, I, 1}, {1, I, 2}, {2, I, 1}, {3, I, 2}, {4, I, 0}, {0, R, 1},
                        {10, R, 3}, {50, R, 2}, {20, G, 3}, {30, B, 3}, {200, B, 2}});
}

TEST(Histogram, SubByteDepthsCountOnlyRealPixels) {
  // Odd widths: the padding bits and the unused nibble (0xA5 filled) must not be counted.
  CLamina one = Marked(1, {{1, 0, 1}, {1, 1, 1}});
  ExpectCounts(one, 0, {{0, I, 1}, {1, I, 5}, {255, R, 5}, {0, R, 1}});  // white on the ramp
  CLamina four = Marked(4, {{15, 3, 3, 7, 0}});
  ExpectCounts(four, 0,
               {{15, I, 1}, {3, I, 2}, {7, I, 1}, {0, I, 1}, {51, G, 2}, {5, I, 0}, {10, I, 0}});
}

TEST(Histogram, TrueColourIntensityTruncatesAndIgnoresAlpha) {
  for (int bpp : {24, 32}) {
    CLamina img = Marked(bpp, {{Rgb(255, 255, 254), Rgb(1, 2, 3)}});
    if (bpp == 32) img.fnIMG_SetAlfa(static_cast<unsigned char>(77));
    ExpectCounts(img, 0, {{254, I, 1}, {2, I, 1}, {255, R, 1}, {254, B, 1}, {3, B, 1},
                          {77, I, 0}, {77, R, 0}});
  }
}

TEST(Histogram, ScalesColumnsInSinglePrecision) {
  // Red: level 10 three times, level 20 once. Scaled to 100: 100 and 33. The intensity column of a
  // true-colour image keeps raw counts.
  CLamina img = Marked(24, {{Rgb(10, 0, 0), Rgb(10, 0, 0), Rgb(10, 0, 0), Rgb(20, 0, 0)}});
  ExpectCounts(img, 100,
               {{10, R, 100}, {20, R, 33}, {0, G, 100}, {0, B, 100}, {3, I, 3}, {6, I, 1}});
  CLamina gray = Marked(8, {{10, 10, 10, 20}});
  ExpectCounts(gray, 100, {{10, I, 100}, {20, I, 33}, {10, R, 100}});
  // 7 of 9: 7/9 = 0.7777778f, times 1000 = 777.7778f -> 777.
  CLamina nine = Marked(8, {{1, 1, 1, 1, 1, 1, 1, 2, 2}, {0, 0, 0, 0, 0, 0, 0, 0, 0}});
  ExpectCounts(nine, 1000, {{0, I, 1000}, {1, I, 777}, {2, I, 222}, {3, I, 0}});
  // A huge height saturates instead of overflowing the int conversion.
  ExpectCounts(nine, 2147483647, {{0, I, 2147483647}});
}

TEST(Histogram, UnsupportedDepthLeavesTableAndSummaryAlone) {
  std::vector<int> t(1024, 42);
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

TEST(Histogram, NullOutputsAreRefusedAfterTheDepth) {
  CLamina img = Marked(8, {{1}});
  const Snapshot before = Snap(img);
  EXPECT_EQ(img.fnIMG_GetHistogram(nullptr, 0), 2);
  EXPECT_EQ(img.fnIMG_GetHistogram(nullptr, 100), 2);
  EXPECT_EQ(img.fnIMG_GetInfoHistogram(nullptr), 2);
  EXPECT_EQ(Snap(img), before);
  img.fnIMG_GetPointers().lpbmih->biBitCount = 16;  // the depth is told first
  EXPECT_EQ(img.fnIMG_GetHistogram(nullptr, 0), 1);
  EXPECT_EQ(img.fnIMG_GetInfoHistogram(nullptr), 1);
}

TEST(HistogramInfo, MinimaMaximaAndModesWithTiesToTheLowestLevel) {
  CLamina gray = Marked(8, {{20, 10, 20, 10, 30}});
  EXPECT_EQ(InfoOf(gray), (Info{10, 2, 10, 2, 10, 2, 10, 2,     // minima: I R G B
                                30, 1, 30, 1, 30, 1, 30, 1,     // maxima
                                10, 2, 10, 2, 10, 2, 10, 2}));  // modes
  // A reversed ramp, index 0 white: the I column speaks of indices, the others of colours.
  std::vector<RGBQUAD> pal(256);
  for (int i = 0; i < 256; ++i) pal[i] = Quad(255 - i, 255 - i, 255 - i);
  CLamina reversed = Marked(8, {{0, 5}}, pal);
  EXPECT_EQ(InfoOf(reversed), (Info{0, 1, 250, 1, 250, 1, 250, 1,  //
                                    5, 1, 255, 1, 255, 1, 255, 1,  //
                                    0, 1, 250, 1, 250, 1, 250, 1}));
}

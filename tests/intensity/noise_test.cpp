// fnIMG_AddNoise: random draws, so bounds rather than values.
#include "support/pictures.h"

using namespace lamina_test;

namespace {
Rows Flat(int width, int height, std::uint32_t v) {
  return Rows(static_cast<std::size_t>(height),
              std::vector<std::uint32_t>(static_cast<std::size_t>(width), v));
}
}  // namespace

TEST(Noise, EveryPixelMovesWithinTheBoundsAndTheRange) {
  Rows rows = Flat(40, 30, 128);
  rows[0][0] = 0;
  rows[0][1] = 255;
  rows[1][0] = 5;
  CLamina img = Marked(8, rows);
  ASSERT_EQ(img.fnIMG_AddNoise(0, 1, -10, 10, 0, 255, 1), 0);
  const Rows after = PixelsOf(img);
  bool changed = false;
  for (std::size_t y = 0; y < rows.size(); ++y)
    for (std::size_t x = 0; x < rows[y].size(); ++x) {
      const int before = static_cast<int>(rows[y][x]);
      const int now = static_cast<int>(after[y][x]);
      EXPECT_GE(now, before - 10 < 0 ? 0 : before - 10);
      EXPECT_LE(now, before + 10 > 255 ? 255 : before + 10);
      changed = changed || now != before;
    }
  EXPECT_TRUE(changed);
  EXPECT_EQ(img.fnIMG_GetPointers().lpbmih->biBitCount, 8);
}

TEST(Noise, UpperBoundIsNeverReachedWithinTheRange) {
  // u < 1, so the amount stays below hi unless rounding lifts it; the level is never above v + hi.
  CLamina img = Marked(8, Flat(64, 64, 100));
  ASSERT_EQ(img.fnIMG_AddNoise(0, 1, 0, 1, 100, 100, 1), 0);
  for (const auto& row : PixelsOf(img))
    for (std::uint32_t v : row) {
      EXPECT_GE(v, 100u);
      EXPECT_LE(v, 101u);
    }
}

TEST(Noise, BandSelectionLeavesOtherLevelsAlone) {
  Rows rows = Flat(20, 20, 200);
  for (int x = 0; x < 20; ++x) rows[5][static_cast<std::size_t>(x)] = 10;
  CLamina img = Marked(8, rows);
  ASSERT_EQ(img.fnIMG_AddNoise(1, 1, -5, 5, 10, 50, 1), 0);
  const Rows after = PixelsOf(img);
  for (std::size_t y = 0; y < 20; ++y)
    for (std::size_t x = 0; x < 20; ++x) {
      if (y == 5) {
        EXPECT_GE(after[y][x], 5u);
        EXPECT_LE(after[y][x], 15u);
      } else {
        EXPECT_EQ(after[y][x], 200u);
      }
    }
}

namespace {
// Pixels of a 30 x 30 picture of (200, 10, 60) that `count` sampled draws turned gray; checks the
// alpha of every pixel and that gray pixels lie within `spread` of the red level.
int Grayed(int count, int spread) {
  CLamina img = Marked(32, Flat(30, 30, Rgb(200, 10, 60)));
  img.fnIMG_SetAlfa(static_cast<unsigned char>(42));
  EXPECT_EQ(img.fnIMG_AddNoise(0, 0, -3, 3, 90, 90, count), 0);
  int grayed = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) {
      const RGBQUAD c = Colour(img, x, y);
      EXPECT_EQ(img.fnIMG_GetAlfa(x, y), 42);
      if (c.rgbRed == 200 && c.rgbGreen == 10 && c.rgbBlue == 60) continue;
      ++grayed;
      EXPECT_EQ(c.rgbRed, c.rgbGreen);
      EXPECT_EQ(c.rgbRed, c.rgbBlue);
      EXPECT_GE(c.rgbRed, 200 - spread);
      EXPECT_LE(c.rgbRed, 200 + spread);
    }
  return grayed;
}
}  // namespace

TEST(Noise, SampleTurnsAtMostNPixelsGrayNearTheirRed) {
  EXPECT_EQ(Grayed(1, 3), 1);
  // A pixel drawn again moves on from its new gray level, so the spread grows with the draws.
  const int grayed = Grayed(25, 3 * 25);
  EXPECT_GE(grayed, 1);
  EXPECT_LE(grayed, 25);
}

TEST(Noise, SubByteDepthsStayInTheirRange) {
  CLamina one = Marked(1, Flat(13, 7, 1));
  ASSERT_EQ(one.fnIMG_AddNoise(0, 1, -1, 1, 1, 1, 1), 0);
  for (const auto& row : PixelsOf(one))
    for (std::uint32_t v : row) EXPECT_LE(v, 1u);
  EXPECT_EQ(one.fnIMG_GetPointers().lpBits[2], 0xA5);  // padding of the bottom row
  CLamina four = Marked(4, Flat(5, 9, 15));
  ASSERT_EQ(four.fnIMG_AddNoise(0, 1, -15, 15, 15, 15, 1), 0);
  for (const auto& row : PixelsOf(four))
    for (std::uint32_t v : row) EXPECT_LE(v, 15u);
  EXPECT_EQ(four.fnIMG_GetPointers().lpBits[2] & 0x0F, 0x05);
}

TEST(Noise, OrderOfChecks) {
  CLamina img = Marked(8, {{10, 20}, {30, 40}});
  const Snapshot s = Snap(img);
  EXPECT_EQ(img.fnIMG_AddNoise(2, 9, 5, 5, 0, 0, 0), 2);
  EXPECT_EQ(img.fnIMG_AddNoise(0, -1, 5, 5, 0, 0, 0), 3);
  EXPECT_EQ(img.fnIMG_AddNoise(0, 0, 5, 5, 0, 0, 0), 4);
  EXPECT_EQ(img.fnIMG_AddNoise(0, 0, -256, 5, 0, 0, 0), 4);
  EXPECT_EQ(img.fnIMG_AddNoise(0, 0, -5, 256, 0, 0, 0), 4);
  EXPECT_EQ(img.fnIMG_AddNoise(0, 0, -5, 5, 9, 40, 0), 5);   // below the lowest index
  EXPECT_EQ(img.fnIMG_AddNoise(0, 0, -5, 5, 10, 41, 0), 5);  // above the highest
  EXPECT_EQ(img.fnIMG_AddNoise(0, 0, -5, 5, 30, 20, 0), 5);
  EXPECT_EQ(img.fnIMG_AddNoise(0, 0, -5, 5, 10, 40, 0), 6);
  EXPECT_EQ(img.fnIMG_AddNoise(0, 1, -5, 5, 10, 40, 5), 6);
  EXPECT_EQ(Snap(img), s);
  CLamina four = Marked(4, {{1}});
  EXPECT_EQ(four.fnIMG_AddNoise(0, 0, 0, 16, 1, 1, 1), 4);
  img.fnIMG_GetPointers().lpbmih->biBitCount = 16;
  EXPECT_EQ(img.fnIMG_AddNoise(5, 5, 5, 5, 5, 5, 5), 1);
}

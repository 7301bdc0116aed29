// fnIMG_AddNoise: random draws, so bounds rather than values; padding and fourth bytes never move.
#include <algorithm>

#include "support/pictures.h"

using namespace lamina_test;

namespace {
Rows Flat(int width, int height, std::uint32_t v) {
  return Rows(static_cast<std::size_t>(height),
              std::vector<std::uint32_t>(static_cast<std::size_t>(width), v));
}

// Adds noise to every pixel (selection 0, scope 1) and checks each level stays within [lo, hi] of
// where it was and inside the depth, and that some pixel moved.
void WithinBounds(int bpp, Rows rows, int lo, int hi) {
  CLamina img = Marked(bpp, rows);
  const int top = (1 << bpp) - 1;
  std::uint32_t least = 255, most = 0;  // the band must lie within the levels present
  for (const auto& row : rows)
    for (std::uint32_t v : row) least = std::min(least, v), most = std::max(most, v);
  EXPECT_EQ(img.fnIMG_AddNoise(0, 1, lo, hi, int(least), int(most), 1), 0);
  EXPECT_TRUE(PaddingKept(img)) << bpp;
  const Rows after = PixelsOf(img);
  bool changed = false;
  for (std::size_t y = 0; y < rows.size(); ++y)
    for (std::size_t x = 0; x < rows[y].size(); ++x) {
      const int before = static_cast<int>(rows[y][x]), now = static_cast<int>(after[y][x]);
      EXPECT_GE(now, std::max(0, before + lo)) << x << "," << y;
      EXPECT_LE(now, std::min(top, before + hi)) << x << "," << y;
      changed = changed || now != before;
    }
  EXPECT_TRUE(changed) << bpp;
}
}  // namespace

TEST(Noise, EveryPixelMovesWithinTheBoundsAndTheDepth) {
  Rows rows = Flat(41, 30, 128);  // 3 bytes of padding a row
  rows[0][0] = 0;
  rows[0][1] = 255;
  WithinBounds(8, rows, -10, 10);
  WithinBounds(1, Flat(13, 7, 1), -1, 1);
  WithinBounds(4, Flat(5, 9, 15), -15, 15);
}

TEST(Noise, BandSelectionLeavesOtherLevelsAlone) {
  Rows rows = Flat(20, 20, 200);
  for (auto& v : rows[5]) v = 10;
  CLamina img = Marked(8, rows);
  ASSERT_EQ(img.fnIMG_AddNoise(1, 1, -5, 5, 10, 50, 1), 0);
  const Rows after = PixelsOf(img);
  for (std::size_t y = 0; y < 20; ++y)
    for (std::size_t x = 0; x < 20; ++x) {
      EXPECT_GE(after[y][x], y == 5 ? 5u : 200u);
      EXPECT_LE(after[y][x], y == 5 ? 15u : 200u);
    }
}

TEST(Noise, SampleTurnsAtMostNPixelsGrayNearTheirRed) {
  // 25 sampled draws; a pixel drawn again moves on from its new gray level.
  CLamina img = Marked(32, Flat(30, 30, Rgb(200, 10, 60)));
  EXPECT_EQ(img.fnIMG_AddNoise(0, 0, -3, 3, 90, 90, 25), 0);
  EXPECT_TRUE(AlphaKept(img));
  int grayed = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) {
      const RGBQUAD c = Colour(img, x, y);
      if (Same(c, Quad(60, 10, 200))) continue;
      ++grayed;
      EXPECT_TRUE(c.rgbRed == c.rgbGreen && c.rgbRed == c.rgbBlue) << x << "," << y;
      EXPECT_LE(std::abs(c.rgbRed - 200), 3 * 25);
    }
  EXPECT_GE(grayed, 1);
  EXPECT_LE(grayed, 25);
}

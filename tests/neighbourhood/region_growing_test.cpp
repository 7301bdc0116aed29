// Region growing: refusals, pictures by hand, random pictures against the growth run literally
// (two queues, marks, a distance limit per generation), and a 16-megapixel flat image.
#include <cstdlib>
#include <deque>
#include <optional>
#include <random>

#include "support/pictures.h"

namespace {

using namespace lamina_test;

TEST(RegionGrowing, RefusesWithTheImageUntouched) {
  struct Refusal {
    const char* what;
    int bpp, x, y, distance, percent, code;
    bool starved;
  };
  const Refusal cases[] = {
      {"1 bit", 1, 0, 0, 0, 0, 1, false},
      {"depth before seed", 1, 9, 0, 0, 0, 1, false},
      {"16 bits", 16, 0, 0, 0, 0, 1, false},
      {"seed at the width", 8, 6, 0, 0, 0, 2, false},
      {"seed above", 24, 0, -1, 0, 0, 2, false},
      {"seed first", 8, 0, 5, 2, 0, 2, false},
      {"distance 2", 4, 0, 0, 2, 0, 3, false},
      {"distance -1", 32, 0, 0, -1, 2, 3, false},
      {"percent 2", 8, 0, 0, 1, 2, 4, false},
      {"percent -1", 8, 0, 0, 0, -1, 4, false},
      {"no memory, spans", 8, 3, 3, 1, 0, 5, true},
      {"no memory, generations", 24, 3, 3, 0, 1, 5, true},
  };
  for (const Refusal& c : cases) {
    CLamina img =
        c.bpp == 16 ? Sixteen(Rows(5, std::vector<std::uint32_t>(6, 7))) : Random(c.bpp, 6, 5, 3);
    const Snapshot before = Snap(img);
    std::optional<FailingAllocations> none;
    if (c.starved) none.emplace();
    EXPECT_EQ(img.fnIMG_RegionGrowing(c.x, c.y, c.distance, c.percent, 255, 0), c.code) << c.what;
    EXPECT_EQ(Snap(img), before) << c.what;
  }
}

TEST(RegionGrowing, PicturesByHand) {
  struct Case {
    const char* what;
    int bpp, x, y, distance, percent, tolerance;
    unsigned long fill;
    Rows before, after;
  };
  const std::uint32_t r9 = Rgb(9, 1, 2), r7 = Rgb(7, 200, 100), r12 = Rgb(12, 1, 2);
  const std::uint32_t g = Rgb(0x33, 0x33, 0x33);
  const Rows corner = {{0, 9, 9}, {9, 0, 9}};
  const Case cases[] = {
      {"flat, tolerance 0", 8, 2, 1, 0, 0, 0, 9, Rows(3, {5, 5, 5, 5}), Rows(3, {9, 9, 9, 9})},
      {"the seed alone", 8, 1, 1, 1, 0, 0, 0, {{1, 2, 3}, {4, 5, 6}}, {{1, 2, 3}, {4, 0, 6}}},
      // A pixel touching the region only by a corner at the edge of the growth is too far by
      // city-block distance then, and nothing brings it back; the chessboard takes it.
      {"city-block misses a corner", 8, 0, 0, 0, 0, 0, 4, corner, {{4, 9, 9}, {9, 0, 9}}},
      {"chessboard takes it", 8, 0, 0, 1, 0, 0, 4, corner, {{4, 9, 9}, {9, 4, 9}}},
      // Red decides; green and blue may differ; the region is painted gray.
      {"24 bits by red",
       24,
       0,
       0,
       1,
       0,
       2,
       0x2233,
       {{r9, r7, r9}, {Rgb(9, 0, 0), r9, r12}},
       {{g, g, g}, {g, g, r12}}},
      {"4 bits, fill's low bits",
       4,
       0,
       0,
       1,
       0,
       0,
       0x1F,
       {{3, 3, 3}, {3, 8, 3}},
       {{15, 15, 15}, {15, 8, 15}}},
      // Percent: 200 of a range of 255 is 510, whose low 8 bits are 254: 0 and 254 are in, 255
      // is out.
      {"percent 200 wraps",
       8,
       0,
       0,
       1,
       1,
       200,
       7,
       {{0, 254, 255}, {255, 254, 0}},
       {{7, 7, 255}, {255, 7, 7}}},
  };
  for (const Case& c : cases) {
    CLamina img = Marked(c.bpp, c.before);
    const std::vector<RGBQUAD> palette = PaletteOf(img);
    EXPECT_EQ(img.fnIMG_RegionGrowing(c.x, c.y, c.distance, c.percent, BYTE(c.tolerance), c.fill),
              0)
        << c.what;
    EXPECT_EQ(PixelsOf(img), c.after) << c.what;
    EXPECT_EQ(Packed(PaletteOf(img)), Packed(palette)) << c.what;
    EXPECT_TRUE(PaddingKept(img) && AlphaKept(img)) << c.what;
  }
}

// The growth run literally: two queues of points, one mark per pixel, values read and painted
// through the public accessors.
void ReferenceGrowth(CLamina& img, int sx, int sy, int distance, int percent, int tolerance,
                     unsigned long fill) {
  const int w = img.fnIMG_GetColumns(), h = img.fnIMG_GetRows();
  const bool trueColour = img.fnIMG_GetColorDepth() >= 24;
  auto value = [&](int x, int y) {
    const std::uint32_t p = img.fnIMG_GetPixel(x, y);
    return int(trueColour ? (p >> 16) & 255 : p);
  };
  int limit = tolerance;
  if (percent == 1) {
    CLamina::InformacionHistograma info{};
    img.fnIMG_GetInfoHistogram(&info);
    limit = (tolerance * (info.nMaxI - info.nMinI) / 100) & 255;
  }
  const int seed = value(sx, sy);
  std::vector<int> marks(std::size_t(w) * h, 0);
  std::deque<std::pair<int, int>> current{{sx, sy}}, next;
  marks[std::size_t(sy) * w + sx] = 1;
  for (int d = 1; !current.empty(); ++d) {
    while (!current.empty()) {
      const auto [px, py] = current.front();
      current.pop_front();
      if (trueColour) {
        const BYTE f = BYTE(fill & 255);
        img.fnIMG_SetRGBPixel(px, py, RGBQUAD{f, f, f, 0});
      } else {
        img.fnIMG_SetPixel(px, py, std::uint32_t(fill));
      }
      for (int ny = py - 1; ny <= py + 1; ++ny)
        for (int nx = px - 1; nx <= px + 1; ++nx) {
          if (nx < 0 || ny < 0 || nx >= w || ny >= h || marks[std::size_t(ny) * w + nx]) continue;
          const int dx = std::abs(nx - sx), dy = std::abs(ny - sy);
          const int far = distance == 0 ? dx + dy : std::max(dx, dy);
          if (far <= d && std::abs(value(nx, ny) - seed) <= limit) {
            next.emplace_back(nx, ny);
            marks[std::size_t(ny) * w + nx] = 1;
          }
        }
    }
    std::swap(current, next);
  }
}

TEST(RegionGrowing, RandomPicturesMatchTheLiteralGrowth) {
  std::mt19937 rng(23);
  const int depths[] = {4, 8, 24, 32};
  for (int round = 0; round < 96; ++round) {
    const int bpp = depths[round % 4], w = 5 + int(rng() % 100), h = 3 + int(rng() % 40);
    // Few levels, so that regions have ragged edges and diagonal-only contacts.
    Rows rows(h, std::vector<std::uint32_t>(w));
    for (auto& row : rows)
      for (auto& p : row) {
        const std::uint32_t level = (rng() % 4) * (bpp == 4 ? 3 : 40);
        p = bpp >= 24 ? Rgb(int(level), int(rng() % 256), int(rng() % 256)) : level;
      }
    CLamina img = Marked(bpp, rows), expected = img;
    const int x = int(rng() % w), y = int(rng() % h), distance = int(rng() % 2);
    const int percent = int(rng() % 2), tolerance = percent ? int(rng() % 120) : int(rng() % 50);
    const unsigned long fill = rng();
    ReferenceGrowth(expected, x, y, distance, percent, tolerance, fill);
    ASSERT_EQ(img.fnIMG_RegionGrowing(x, y, distance, percent, (unsigned char)tolerance, fill), 0);
    EXPECT_EQ(PixelsOf(img), PixelsOf(expected))
        << bpp << " bits " << w << " x " << h << " seed " << x << "," << y << " distance "
        << distance << " percent " << percent << " tolerance " << tolerance;
    EXPECT_TRUE(PaddingKept(img) && AlphaKept(img));
  }
}

TEST(RegionGrowing, SixteenMegapixelFlatImageInLinearTime) {
  // Every pixel joins; both metrics finish in one pass over the map and a queue as long as the
  // front of the growth.
  for (int distance : {0, 1}) {
    CLamina img(nullptr, nullptr, 4096, 4096, 8);
    ASSERT_EQ(img.fnIMG_RegionGrowing(1000, 3000, distance, 0, 0, 77), 0);
    const CLamina::Punteros p = img.fnIMG_GetPointers();
    std::size_t painted = 0;
    for (std::size_t i = 0; i < p.lpbmih->biSizeImage; ++i) painted += p.lpBits[i] == 77;
    EXPECT_EQ(painted, std::size_t{4096} * 4096) << distance;
  }
}

}  // namespace

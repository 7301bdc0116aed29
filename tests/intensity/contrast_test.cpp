// fnIMG_NonLinearContrast: stated curve values per depth, the cube-root exponent, k = 0, colour
// models on pixels and palettes, what stays (alpha, padding, indices), and the result codes.
#include <cmath>

#include "support/pictures.h"

namespace {

using namespace lamina_test;

constexpr std::uint32_t G(int v) { return std::uint32_t(v) * 0x010101u; }  // true-colour gray

struct Case {
  int bpp, model, curve;
  float k;
  std::vector<std::uint32_t> before, after;
};

const Case kCases[] = {
    {8, 0, 0, 0.5f, {128, 255, 0}, {64, 255, 0}},
    {32, 0, 0, 0.5f, {Rgb(128, 255, 0), Rgb(2, 3, 4)}, {Rgb(64, 255, 0), 0}},
    {24, 0, 1, 0.5f, {G(128), G(255)}, {G(32), G(255)}},
    {4, 0, 2, 0.5f, {15, 1, 15}, {15, 3, 15}},  // the fourth nibble is padding
    {8, 0, 4, 0.5f, {0, 15, 255}, {0, 127, 255}},
    // The cube-root exponent sits just below a third.
    {24, 0, 3, 0.0f, {G(255), G(0), G(1)}, {G(254), G(0), G(40)}},
    {8, 0, 3, 0.0f, {255, 8}, {254, 80}},
    // Sine and tangent S curves; at k = 1 the tangent is nearly a step (tan(a / 2) is about 2e10).
    {24, 0, 5, 1.0f, {G(0), G(255), G(128)}, {G(0), G(255), G(128)}},
    {8, 0, 5, 1.0f, {255, 0}, {254, 0}},  // the half level is 127
    {24, 0, 6, 1.0f, {G(0), G(64), G(128), G(255)}, {G(0), G(127), G(127), G(255)}},
    {24, 0, 5, 0.5f, {G(64), G(200)}, {G(58), G(205)}},
    {24, 0, 6, 0.5f, {G(64), G(200)}, {G(74), G(188)}},
    // At k = 0 both S curves are the identity (their limit), in a colour model too.
    {8, 0, 6, 0.0f, {0, 3, 128, 255}, {0, 3, 128, 255}},
    {24, 3, 5, 0.0f, {Rgb(200, 100, 50)}, {Rgb(200, 100, 50)}},
    // HSV: V 128 becomes 64.25 and the colour keeps its ratios.
    {24, 3, 0, 0.5f, {Rgb(128, 64, 32), Rgb(255, 0, 0)}, {Rgb(64, 32, 16), Rgb(255, 0, 0)}},
};

TEST(NonLinearContrast, CurvesAtTheirStatedPointsKeepPaddingAndFourthBytes) {
  for (const Case& c : kCases) {
    CLamina img = Marked(c.bpp, {c.before});
    ASSERT_EQ(img.fnIMG_NonLinearContrast(c.model, c.curve, c.k), 0);
    EXPECT_EQ(PixelsOf(img)[0], c.after)
        << c.bpp << " bits, model " << c.model << " curve " << c.curve;
    EXPECT_TRUE(PaddingKept(img)) << c.bpp << " " << c.curve;
    EXPECT_TRUE(AlphaKept(img)) << c.bpp << " " << c.curve;
  }
}

TEST(NonLinearContrast, ColourModelsOnPalettesChangeEntriesOnly) {
  std::vector<RGBQUAD> pal(256, RGBQUAD{0, 0, 0, 0});
  pal[1] = RGBQUAD{50, 100, 200, 0};
  pal[2] = RGBQUAD{128, 128, 128, 0};
  CLamina img = Marked(8, {{1, 2, 1}}, pal);
  ASSERT_EQ(img.fnIMG_NonLinearContrast(3, 0, 0.5f), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{1, 2, 1}}));
  EXPECT_TRUE(Same(Entry(img, 2), Quad(64, 64, 64)));  // 128 * 128 / 255 = 64.25, rounded
  EXPECT_EQ(Entry(img, 1).rgbRed, 157);                // V 200 becomes 156.86
  EXPECT_EQ(Entry(img, 1).rgbGreen, 78);
}

TEST(NonLinearContrast, TrueColourModelsMatchTheirEntryForm) {
  // The same colours as palette entries (8 bits, L = 255) and as pixels must come out alike.
  std::vector<RGBQUAD> pal(256, RGBQUAD{0, 0, 0, 0});
  Rows rows(1);
  for (int i = 0; i < 256; ++i) {
    pal[i] = RGBQUAD{BYTE(i * 7), BYTE(255 - i), BYTE(i * 3), 0};
    rows[0].push_back(Rgb(i * 3 & 255, 255 - i, i * 7 & 255));
  }
  for (int model = 1; model <= 10; ++model) {
    CLamina p = Marked(8, {{0}}, pal), t = Marked(24, rows);
    ASSERT_EQ(p.fnIMG_NonLinearContrast(model, 5, 0.6f), 0);
    ASSERT_EQ(t.fnIMG_NonLinearContrast(model, 5, 0.6f), 0);
    for (int i = 0; i < 256; ++i)
      ASSERT_TRUE(Same(Entry(p, i), Colour(t, i, 0))) << model << " " << i;
  }
}

}  // namespace

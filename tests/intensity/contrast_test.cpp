// fnIMG_NonLinearContrast: stated curve values per depth, the cube-root exponent, k = 0, colour
// models on pixels and palettes, what stays (alpha, padding, indices), and the result codes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "support/pictures.h"

namespace {

using namespace lamina_test;

// The value a level takes on a one-row image of the given depth.
std::vector<std::uint32_t> Curve(int bpp, std::vector<std::uint32_t> levels, int curve, float k) {
  for (auto& v : levels) v = bpp > 8 ? Rgb(v, v, v) : v;
  CLamina img = Marked(bpp, {levels});
  EXPECT_EQ(img.fnIMG_NonLinearContrast(0, curve, k), 0);
  std::vector<std::uint32_t> out = PixelsOf(img)[0];
  for (auto& v : out) v = bpp > 8 ? (v & 0xFF) : v;
  return out;
}

using L = std::vector<std::uint32_t>;

TEST(NonLinearContrast, LevelCurvesAtTheirStatedPoints) {
  EXPECT_EQ(Curve(8, {128, 255, 0}, 0, 0.5f), (L{64, 255, 0}));
  EXPECT_EQ(Curve(24, {128, 255}, 1, 0.5f), (L{32, 255}));
  EXPECT_EQ(Curve(4, {1, 15}, 2, 0.5f), (L{3, 15}));
  EXPECT_EQ(Curve(8, {0, 15, 255}, 4, 0.5f), (L{0, 127, 255}));
  EXPECT_EQ(Curve(32, {0, 15, 255}, 4, 0.5f), (L{0, 127, 255}));
}

TEST(NonLinearContrast, CubeRootExponentSitsJustBelowAThird) {
  EXPECT_EQ(Curve(24, {255, 0, 1}, 3, 0.0f), (L{254, 0, 40}));
  EXPECT_EQ(Curve(8, {255, 8}, 3, 0.0f), (L{254, 80}));
}

TEST(NonLinearContrast, SineAndTangentSCurves) {
  EXPECT_EQ(Curve(24, {0, 255, 128}, 5, 1.0f), (L{0, 255, 128}));
  EXPECT_EQ(Curve(8, {255, 0}, 5, 1.0f), (L{254, 0}));  // the half level is 127
  // At k = 1 the tangent curve is nearly a step: tan(a / 2) is about 2e10.
  EXPECT_EQ(Curve(24, {0, 64, 128, 255}, 6, 1.0f), (L{0, 127, 127, 255}));
  EXPECT_EQ(Curve(24, {64, 200}, 5, 0.5f), (L{58, 205}));
  EXPECT_EQ(Curve(24, {64, 200}, 6, 0.5f), (L{74, 188}));
}

TEST(NonLinearContrast, SCurvesAtKZeroAreTheIdentity) {
  EXPECT_EQ(Curve(24, {0, 3, 128, 255}, 5, 0.0f), (L{0, 3, 128, 255}));
  EXPECT_EQ(Curve(8, {0, 3, 128, 255}, 6, 0.0f), (L{0, 3, 128, 255}));
  CLamina img = Marked(24, {{Rgb(200, 100, 50)}});
  ASSERT_EQ(img.fnIMG_NonLinearContrast(3, 5, 0.0f), 0);
  EXPECT_EQ(PixelsOf(img)[0][0], Rgb(200, 100, 50));
}

TEST(NonLinearContrast, CurvesZeroToFourIgnoreK) {
  for (int curve = 0; curve <= 4; ++curve)
    EXPECT_EQ(Curve(8, {7, 99, 200}, curve, 0.0f), Curve(8, {7, 99, 200}, curve, 1.0f));
}

TEST(NonLinearContrast, KeepsAlphaPaddingAndOddNibble) {
  CLamina img = Marked(32, {{Rgb(128, 255, 0), Rgb(2, 3, 4)}});
  img.fnIMG_SetAlfa(static_cast<unsigned char>(77));
  ASSERT_EQ(img.fnIMG_NonLinearContrast(0, 0, 0.5f), 0);
  EXPECT_EQ(PixelsOf(img)[0][0], Rgb(64, 255, 0));
  EXPECT_EQ(img.fnIMG_GetAlfa(0, 0), 77);
  EXPECT_EQ(img.fnIMG_GetAlfa(1, 0), 77);
  CLamina odd = Marked(24, {{Rgb(128, 128, 128)}});  // 3 bytes of pixel, 1 of padding
  ASSERT_EQ(odd.fnIMG_NonLinearContrast(0, 0, 0.5f), 0);
  EXPECT_EQ(odd.fnIMG_GetPointers().lpBits[3], 0xA5);
  CLamina nib = Marked(4, {{15, 1, 15}});  // the fourth nibble is padding
  ASSERT_EQ(nib.fnIMG_NonLinearContrast(0, 2, 0.5f), 0);
  EXPECT_EQ(PixelsOf(nib), (Rows{{15, 3, 15}}));
  EXPECT_EQ(nib.fnIMG_GetPointers().lpBits[1] & 0x0F, 0x05);
}

TEST(NonLinearContrast, HsvValueSquaredKeepsHueAndSaturation) {
  CLamina img = Marked(24, {{Rgb(128, 64, 32), Rgb(255, 0, 0)}});
  ASSERT_EQ(img.fnIMG_NonLinearContrast(3, 0, 0.5f), 0);
  // V 128 becomes 64.25: the colour keeps its ratios.
  EXPECT_EQ(PixelsOf(img)[0][0], Rgb(64, 32, 16));
  EXPECT_EQ(PixelsOf(img)[0][1], Rgb(255, 0, 0));
}

TEST(NonLinearContrast, ColourModelsOnPalettesChangeEntriesOnly) {
  std::vector<RGBQUAD> pal(256, RGBQUAD{0, 0, 0, 0});
  pal[1] = RGBQUAD{50, 100, 200, 0};
  pal[2] = RGBQUAD{128, 128, 128, 0};
  CLamina img = Marked(8, {{1, 2, 1}}, pal);
  ASSERT_EQ(img.fnIMG_NonLinearContrast(3, 0, 0.5f), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{1, 2, 1}}));
  const RGBQUAD e = Entry(img, 2);
  EXPECT_EQ(e.rgbRed, 64);  // 128 * 128 / 255 = 64.25, rounded
  EXPECT_EQ(e.rgbBlue, 64);
  const RGBQUAD b = Entry(img, 1);
  EXPECT_EQ(b.rgbRed, 157);  // V 200 becomes 156.86
  EXPECT_EQ(b.rgbGreen, 78);
  // Every model runs on every entry without touching the indices.
  for (int model = 1; model <= 10; ++model)
    for (int curve = 0; curve <= 6; ++curve) {
      CLamina p = Marked(4, {{1, 2, 3}});
      ASSERT_EQ(p.fnIMG_NonLinearContrast(model, curve, 0.7f), 0);
      EXPECT_EQ(PixelsOf(p), (Rows{{1, 2, 3}}));
    }
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
    for (int i = 0; i < 256; ++i) {
      const RGBQUAD e = Entry(p, i), c = Colour(t, i, 0);
      ASSERT_EQ(e.rgbRed, c.rgbRed) << model << " " << i;
      ASSERT_EQ(e.rgbGreen, c.rgbGreen) << model << " " << i;
      ASSERT_EQ(e.rgbBlue, c.rgbBlue) << model << " " << i;
    }
  }
}

TEST(NonLinearContrast, ResultCodesInOrderAndNothingChanged) {
  CLamina img = Marked(8, {{1, 2}});
  const Snapshot s = Snap(img);
  CLamina bits = Marked(1, {{1, 0}});
  EXPECT_EQ(bits.fnIMG_NonLinearContrast(0, 0, 0.5f), 1);
  EXPECT_EQ(bits.fnIMG_NonLinearContrast(11, 9, 2.0f), 1);
  EXPECT_EQ(img.fnIMG_NonLinearContrast(11, 9, 1.5f), 2);
  EXPECT_EQ(img.fnIMG_NonLinearContrast(0, 0, -0.01f), 2);
  EXPECT_EQ(img.fnIMG_NonLinearContrast(0, 0, NAN), 2);
  EXPECT_EQ(img.fnIMG_NonLinearContrast(11, 7, 0.5f), 3);
  EXPECT_EQ(img.fnIMG_NonLinearContrast(0, -1, 0.5f), 3);
  EXPECT_EQ(img.fnIMG_NonLinearContrast(11, 0, 0.5f), 4);
  EXPECT_EQ(img.fnIMG_NonLinearContrast(-1, 0, 0.5f), 4);
  EXPECT_EQ(Snap(img), s);
}

}  // namespace

// fnIMG_Split: channel values per model and depth, the outputs' palettes, the alpha channel, the
// order of the checks, and outputs left untouched on failure.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <functional>

#include "support/pictures.h"

namespace {

using namespace lamina_test;

struct Outs {
  CLamina a, b, c, d;
  Outs(int w, int h) : a(nullptr, nullptr, w, h, 8), b(a), c(a), d(a) {}
};

struct Case {
  const char* what;
  int bpp;
  std::vector<std::uint32_t> pixels;
  std::vector<RGBQUAD> palette;  // empty: the gray ramp
  int model;
  std::vector<std::uint32_t> out[4];  // empty: not looked at
};

const std::uint32_t kRed = Rgb(255, 0, 0), kWhite = Rgb(255, 255, 255);
const std::vector<RGBQUAD> kFive = {Quad(0, 0, 0), {}, {}, Quad(30, 20, 10), Quad(60, 50, 40)};

const Case kCases[] = {
    {"RGB of pure red", 24, {kRed, kRed}, {}, 0, {{255, 255}, {0, 0}, {0, 0}, {}}},
    {"1 bit gives the index, not the palette colour", 1, {0, 1, 1},
     {Quad(0, 0, 90), Quad(0, 0, 250)}, 0, {{}, {0, 255, 255}, {}, {}}},
    {"8 bits through the palette", 8, {3, 4, 3}, kFive, 0, {{10, 40, 10}, {}, {30, 60, 30}, {}}},
    {"CMYK of black and white", 24, {0, kWhite, Rgb(200, 100, 50)}, {}, 1,
     {{0, 0, 55}, {}, {0, 0, 205}, {255, 0, 55}}},
    {"hue of gray is 170 in HSL", 8, {0, 90, 200}, {}, 4, {{170, 170, 170}, {}, {}, {}}},
    {"black's HSV hue is the last step", 32, {0, Rgb(9, 9, 9)}, {}, 3, {{254, 0}, {}, {}, {}}},
    // Q of green is -5.3, truncated to -5.
    {"saturated YIQ wraps to its low byte", 24, {kRed, Rgb(0, 255, 0)}, {}, 5,
     {{}, {279 - 256, 58}, {181, 256 - 5}, {}}},
    // The library's L* scale; a* of -0.003 truncates to 0.
    {"Lab of white", 24, {kWhite}, {}, 9, {{142}, {0}, {7}, {}}},
};

TEST(Split, ChannelValuesAndWholeGrayRampsInTheOutputs) {
  for (const Case& c : kCases) {
    CLamina img = Marked(c.bpp, {c.pixels}, c.palette);
    const int w = static_cast<int>(c.pixels.size());
    const CLamina first(nullptr, nullptr, w, 1, 8);
    CLamina out[4] = {first, first, first, first};
    for (CLamina& o : out) o.fnIMG_GetPointers().lpPalette[7].rgbReserved = 9;
    CLamina* fourth = c.model <= 1 ? &out[3] : nullptr;
    ASSERT_EQ(img.fnIMG_Split(c.model, &out[0], &out[1], &out[2], fourth), 0) << c.what;
    for (int k = 0; k < 4; ++k) {
      if (!c.out[k].empty()) {
        EXPECT_EQ(PixelsOf(out[k])[0], c.out[k]) << c.what << ", output " << k;
      }
      // Model 0 writes the ramp whole; the others keep reserved bytes, as the gray palette does.
      std::vector<RGBQUAD> ramp = PaletteOf(out[k]);
      for (int i = 0; i < 256 && k < 3; ++i) {
        if (c.model != 0 && i == 7) {
          EXPECT_EQ(ramp[i].rgbReserved, 9) << c.what;
          ramp[i].rgbReserved = 0;
        }
        ASSERT_TRUE(Same(ramp[i], Quad(i, i, i))) << c.what << ", output " << k << ", entry " << i;
      }
    }
  }
}

TEST(Split, AnOutputMayBeTheImageItself) {
  CLamina pal = Marked(8, {{3, 4}}, kFive);
  CLamina g(nullptr, nullptr, 2, 1, 8), b(g);
  ASSERT_EQ(pal.fnIMG_Split(0, &pal, &g, &b, &pal), 0);
  EXPECT_EQ(PixelsOf(pal), (Rows{{10, 40}}));
  EXPECT_EQ(PixelsOf(g), (Rows{{20, 50}}));
  EXPECT_EQ(PixelsOf(b), (Rows{{30, 60}}));
}

// Many colours, so that the memo of the costly models is filled, overwritten and hit.
TEST(Split, EveryModelMatchesItsSingleColourConversion) {
  const int w = 97, h = 61;
  Rows rows(h);
  std::uint32_t s = 7;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      s = s * 1103515245u + 12345u;
      rows[y].push_back((x + y) % 5 == 0 ? Rgb(x, y, 3) : (s >> 8) & 0xFFFFFF);
    }
  Outs o(w, h);
  const auto low = [](float v) { return static_cast<std::uint32_t>(static_cast<int>(v)) & 255u; };
  // The single conversion of each model 2 to 10: every record is three floats.
  using Three = std::array<float, 3>;
  const auto three = [](const auto& record) {
    Three t;
    std::memcpy(t.data(), &record, sizeof t);
    return t;
  };
  const std::function<Three(CLamina&, RGBQUAD)> single[] = {
      [&](CLamina& i, RGBQUAD c) { return three(i.fnIMG_RGBToHSI(c, 1)); },
      [&](CLamina& i, RGBQUAD c) { return three(i.fnIMG_RGBToHSV(c, 1)); },
      [&](CLamina& i, RGBQUAD c) { return three(i.fnIMG_RGBToHSL(c, 1)); },
      [&](CLamina& i, RGBQUAD c) { return three(i.fnIMG_RGBToYIQ(c, 1)); },
      [&](CLamina& i, RGBQUAD c) { return three(i.fnIMG_RGBToYUV(c, 1)); },
      [&](CLamina& i, RGBQUAD c) { return three(i.fnIMG_RGBToYCbCr(c, 1)); },
      [&](CLamina& i, RGBQUAD c) { return three(i.fnIMG_RGBToXYZ(c, 1)); },
      [&](CLamina& i, RGBQUAD c) { return three(i.fnIMG_RGBToLAB(c, 1)); },
      [&](CLamina& i, RGBQUAD c) { return three(i.fnIMG_RGBToLUV(c, 1)); },
  };
  for (int bpp : {24, 32})
    for (int model = 2; model <= 10; ++model) {
      CLamina img = Marked(bpp, rows);
      ASSERT_EQ(img.fnIMG_Split(model, &o.a, &o.b, &o.c, nullptr), 0);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const Three f = single[model - 2](img, Colour(img, x, y));
          ASSERT_EQ((std::vector<std::uint32_t>{o.a.fnIMG_GetPixel(x, y), o.b.fnIMG_GetPixel(x, y),
                                                o.c.fnIMG_GetPixel(x, y)}),
                    (std::vector<std::uint32_t>{low(f[0]), low(f[1]), low(f[2])}))
              << bpp << " bits, model " << model << " at " << x << "," << y;
        }
    }
}

TEST(Split, ChecksComeInOrderAndChangeNothing) {
  CLamina img = Marked(24, {{Rgb(9, 9, 9), Rgb(1, 2, 3)}});
  Outs o(2, 1);
  CLamina wide(nullptr, nullptr, 3, 1, 8), deep(nullptr, nullptr, 2, 1, 24),
      none(nullptr, nullptr, 2, 1, 16);
  const Snapshot a = Snap(o.a), d = Snap(o.d), self = Snap(img);
  EXPECT_EQ(none.fnIMG_Split(0, &o.a, &o.b, &o.c, &o.d), 1);
  EXPECT_EQ(img.fnIMG_Split(11, &o.a, &o.b, nullptr, &o.d), 2);
  EXPECT_EQ(img.fnIMG_Split(1, &o.a, &o.b, &o.c, nullptr), 2);
  EXPECT_EQ(img.fnIMG_Split(11, &o.a, &wide, &deep, nullptr), 3);
  EXPECT_EQ(img.fnIMG_Split(1, &o.a, &o.b, &o.c, &wide), 3);
  EXPECT_EQ(img.fnIMG_Split(0, &o.a, &o.b, &o.c, &none), 0);     // fourth unchecked for RGB
  EXPECT_EQ(img.fnIMG_Split(2, &o.a, &o.b, &none, nullptr), 3);  // no block: not its size
  EXPECT_EQ(img.fnIMG_Split(11, &o.a, &deep, &o.c, nullptr), 4);
  o.a = CLamina(nullptr, nullptr, 2, 1, 8);
  const Snapshot a2 = Snap(o.a);
  EXPECT_EQ(img.fnIMG_Split(11, &o.a, &o.b, &o.c, &o.d), 5);
  EXPECT_EQ(Snap(o.a), a2);
  EXPECT_EQ(Snap(o.d), d);
  EXPECT_EQ(Snap(img), self);
  EXPECT_EQ(img.fnIMG_Split(2, &o.a, &o.b, &o.c, nullptr), 0);  // fourth not needed
}

TEST(Split, WideRowsGiveEveryChannelAndAlphaToTheFourth) {
  // 37 wide: two blocks of sixteen and a tail; every stored byte random, fourth bytes included.
  for (int bpp : {24, 32}) {
    CLamina img = Random(bpp, 37, 2, 60 + bpp);
    const Snapshot before = Snap(img);
    Outs o(37, 2);
    CLamina alpha24(nullptr, nullptr, 1, 1, 24);  // its size is not checked at 24 bits
    ASSERT_EQ(img.fnIMG_Split(0, &o.a, &o.b, &o.c, bpp == 32 ? &o.d : &alpha24), 0);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 37; ++x) {
        const RGBQUAD c = Colour(img, x, y);
        ASSERT_EQ((std::vector<unsigned>{o.a.fnIMG_GetPixel(x, y), o.b.fnIMG_GetPixel(x, y),
                                         o.c.fnIMG_GetPixel(x, y)}),
                  (std::vector<unsigned>{c.rgbRed, c.rgbGreen, c.rgbBlue}));
        if (bpp == 32) {
          ASSERT_EQ(o.d.fnIMG_GetPixel(x, y), unsigned(img.fnIMG_GetAlfa(x, y)));
        }
      }
    EXPECT_EQ(Snap(img), before);
  }
}

}  // namespace

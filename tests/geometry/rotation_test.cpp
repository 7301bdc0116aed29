// fnIMG_Rotation, both forms: turning in the plane and tilting about the axes first.
#include <cmath>

#include "core/cpu.h"
#include "support/pictures.h"

using namespace lamina_test;

namespace {

constexpr unsigned long kRed = 0x0000FF;  // packed: red in the low byte

TEST(Rotation, SmallPicturesTurnAsDrawn) {
  // Letters as indices on an 8-bit image whose palette lacks red: the background is 255.
  const std::uint32_t a = 1, b = 2, c = 3, d = 4, e = 5, f = 6, g = 7, h = 8, i = 9, B = 255;
  struct Case {
    const char* what;
    Rows in;
    int mode;
    double angle;
    Rows out;
  } cases[] = {
      {"3x3 by 90 keeping the size",
       {{a, b, c}, {d, e, f}, {g, h, i}},
       1,
       90,
       {{g, d, a}, {h, e, b}, {i, f, c}}},
      {"4x2 by 90 enlarged: the top row is lost",
       {{a, b, c, d}, {e, f, g, h}},
       0,
       90,
       {{B, e}, {B, f}, {B, g}, {B, h}}},
      {"odd sizes by 180 mirror exactly",
       {{a, b, c}, {d, e, f}, {g, h, i}},
       0,
       180,
       {{i, h, g}, {f, e, d}, {c, b, a}}},
      {"an even width by 180 leaves the left column",
       {{a, b}, {c, d}, {e, f}},
       1,
       180,
       {{B, f}, {B, d}, {B, b}}},
      {"an angle of 0 keeps every pixel", {{a, b}, {c, d}}, 0, 0, {{a, b}, {c, d}}},
      {"-360 is accepted and is no turn", {{a, b}, {c, d}}, 1, -360, {{a, b}, {c, d}}},
  };
  for (const Case& k : cases) {
    CLamina img = FromRows(8, k.in);
    ASSERT_EQ(img.fnIMG_Rotation(k.mode, k.angle, kRed), 0) << k.what;
    EXPECT_EQ(PixelsOf(img), k.out) << k.what;
  }
}

TEST(Rotation, BackgroundIsTheColoursIndexOrAllOnes) {
  // Red is entry 2 of the palette: the background is 2. At 4 bits without red it is 15; at 24 bits
  // the packed colour's red lands in the pixel's red byte.
  CLamina pal = FromRows(8, {{1, 1}, {1, 1}}, {Quad(0, 0, 0), Quad(9, 9, 9), Quad(0, 0, 255)});
  ASSERT_EQ(pal.fnIMG_Rotation(1, 180, kRed), 0);
  EXPECT_EQ(PixelsOf(pal), (Rows{{2, 2}, {2, 1}}));
  CLamina four = FromRows(4, {{1, 1}, {1, 1}});
  ASSERT_EQ(four.fnIMG_Rotation(1, 180, kRed), 0);
  EXPECT_EQ(PixelsOf(four), (Rows{{15, 15}, {15, 1}}));
  CLamina rgb = FromRows(24, {{1, 1}, {1, 1}});
  ASSERT_EQ(rgb.fnIMG_Rotation(1, 180, 0x332211), 0);
  EXPECT_EQ(PixelsOf(rgb),
            (Rows{{Rgb(0x11, 0x22, 0x33), Rgb(0x11, 0x22, 0x33)}, {Rgb(0x11, 0x22, 0x33), 1}}));
}

// Quarter turns of odd-sized pictures are exact: compared with a plain transpose and reversal, on
// random pictures of every depth, for the whole block (palette, 32-bit fourth bytes 0, padding 0).
TEST(Rotation, QuarterTurnsOfOddPicturesAreTransposesAndReversals) {
  unsigned seed = 1300;
  for (int widest : {2, 0})
    for (int bpp : {1, 4, 8, 24, 32})
      for (double angle : {90.0, 180.0, 270.0, -90.0, 360.0}) {
        lamina::cpu::g_widest = widest;
        CLamina img = Random(bpp, 13, 7, ++seed);
        CLamina src = img;
        const int w = 13, h = 7;
        const bool quarter = std::fmod(std::fabs(angle), 180.0) == 90.0;
        CLamina expected = Drawn(img, quarter ? h : w, quarter ? w : h, [&](int x, int y) {
          if (angle == 90) return src.fnIMG_GetPixel(y, h - 1 - x);
          if (angle == 180) return src.fnIMG_GetPixel(w - 1 - x, h - 1 - y);
          if (angle == 360) return src.fnIMG_GetPixel(x, y);
          return src.fnIMG_GetPixel(w - 1 - y, x);  // 270 and -90
        });
        ASSERT_EQ(img.fnIMG_Rotation(0, angle, kRed), 0);
        EXPECT_EQ(Snap(img), Snap(expected)) << bpp << " bits by " << angle << " widest " << widest;
      }
  lamina::cpu::g_widest = 2;
}

TEST(Rotation, VectorAndPlainCoordinatesAgreeAtAnyAngle) {
  unsigned seed = 1400;
  for (int bpp : {1, 8, 24, 32})
    for (double angle : {30.0, -17.5, 123.456, 333.0})
      for (int mode : {0, 1}) {
        CLamina fast = Random(bpp, 37, 23, ++seed);
        CLamina plain = fast;
        ASSERT_EQ(fast.fnIMG_Rotation(mode, angle, 0x808080), 0);
        lamina::cpu::g_widest = 0;
        ASSERT_EQ(plain.fnIMG_Rotation(mode, angle, 0x808080), 0);
        lamina::cpu::g_widest = 2;
        EXPECT_EQ(Snap(fast), Snap(plain)) << bpp << " bits by " << angle << " mode " << mode;
      }
}

TEST(Rotation, TiltsMirrorOddPicturesAndThenTurn) {
  // 180 about the vertical axis mirrors left-right, about the horizontal axis top-bottom (compared
  // with plain reversals); the third angle then turns the tilted picture in the plane.
  unsigned seed = 1500;
  for (int bpp : {1, 4, 8, 24, 32}) {
    CLamina src = Random(bpp, 9, 5, ++seed);
    struct Case {
      double first, second, third;
      int (*x)(int, int);
      int (*y)(int, int);
    } cases[] = {
        {180, 0, 0, [](int x, int) { return 8 - x; }, [](int, int y) { return y; }},
        {0, -180, 0, [](int x, int) { return x; }, [](int, int y) { return 4 - y; }},
        {180, 0, 180, [](int x, int) { return x; }, [](int, int y) { return 4 - y; }},
        {0, 0, 0, [](int x, int) { return x; }, [](int, int y) { return y; }},
    };
    for (const Case& k : cases) {
      CLamina img = src;
      CLamina expected =
          Drawn(src, 9, 5, [&](int x, int y) { return src.fnIMG_GetPixel(k.x(x, y), k.y(x, y)); });
      ASSERT_EQ(img.fnIMG_Rotation(1, k.first, k.second, k.third, kRed), 0);
      EXPECT_EQ(Snap(img), Snap(expected)) << bpp << " bits " << k.first << " " << k.second;
    }
  }
  // An even height tilted by 180 loses its top row (2 x (H/2) - y lands below the picture for
  // y = 0), which then keeps the background.
  CLamina img = FromRows(8, {{1}, {2}, {3}, {4}});
  ASSERT_EQ(img.fnIMG_Rotation(0, 0, 180, 0, kRed), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{255}, {4}, {3}, {2}}));
}

TEST(Rotation, RefusesInCheckOrderAndLeavesTheImage) {
  struct Case {
    const char* what;
    int bpp;
    int (*op)(CLamina&);
    int code;
  } cases[] = {
      {"angle above 360", 16, [](CLamina& i) { return i.fnIMG_Rotation(9, 360.5, 0); }, 1},
      {"angle not a number", 8, [](CLamina& i) { return i.fnIMG_Rotation(0, NAN, 0); }, 1},
      {"third angle not a number", 8, [](CLamina& i) { return i.fnIMG_Rotation(0, 0, 0, NAN, 0); },
       1},
      {"second angle below -360", 16, [](CLamina& i) { return i.fnIMG_Rotation(9, 0, -361, 0, 0); },
       1},
      {"depth", 16, [](CLamina& i) { return i.fnIMG_Rotation(9, 10, 0); }, 2},
      {"mode", 8, [](CLamina& i) { return i.fnIMG_Rotation(2, 10, 0); }, 3},
      {"negative mode", 8, [](CLamina& i) { return i.fnIMG_Rotation(-1, 1, 2, 3, 0); }, 3},
  };
  for (const Case& k : cases) {
    CLamina img = k.bpp == 16 ? Sixteen({{1, 2}, {3, 4}}) : FromRows(8, {{1, 2}, {3, 4}});
    const Snapshot before = Snap(img);
    EXPECT_EQ(k.op(img), k.code) << k.what;
    EXPECT_EQ(Snap(img), before) << k.what;
  }
  // A turned image that cannot be allocated leaves the image as it was.
  CLamina img = Random(24, 30, 20, 7);
  const Snapshot before = Snap(img);
  {
    FailingAllocations fail;
    EXPECT_EQ(img.fnIMG_Rotation(0, 45, 0), 4);
    EXPECT_EQ(img.fnIMG_Rotation(0, 10, 10, 10, 0), 4);
  }
  EXPECT_EQ(Snap(img), before);
}

}  // namespace

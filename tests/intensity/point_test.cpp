// Point operations: balance, brightness, gamma, gray levels, negative and slicing. Exact levels per
// depth from one driver, which also sees that no padding bit and no fourth byte moves.
#include <cmath>
#include <functional>
#include <limits>

#include "support/pictures.h"

using namespace lamina_test;

namespace {

std::vector<RGBQUAD> ColourPalette() {
  std::vector<RGBQUAD> p(256);
  for (int i = 0; i < 256; ++i) p[i] = Quad(i, 255 - i, i / 2);
  return p;
}

struct Point {
  const char* what;
  int bpp;
  Rows before;
  std::function<int(CLamina&)> op;
  Rows after;
};

const Point kPoints[] = {
    {"brightness moves gray indices, offset truncated", 8, {{0, 100, 254, 255}},
     [](CLamina& i) { return i.fnIMG_Brightness(1); }, {{2, 102, 255, 255}}},
    {"brightness 6 on 4 bits is below one level", 4, {{0, 5, 15}},
     [](CLamina& i) { return i.fnIMG_Brightness(6); }, {{0, 5, 15}}},
    {"brightness 7 on 4 bits is one level", 4, {{0, 5, 15}},
     [](CLamina& i) { return i.fnIMG_Brightness(7); }, {{1, 6, 15}}},
    {"brightness 100 on true colour", 24, {{Rgb(1, 2, 3), Rgb(200, 100, 0), Rgb(255, 255, 255)}},
     [](CLamina& i) { return i.fnIMG_Brightness(100); }, {{0xFFFFFF, 0xFFFFFF, 0xFFFFFF}}},
    {"gamma 0 keeps only the top", 8, {{0, 1, 254, 255}},
     [](CLamina& i) { return i.fnIMG_Gamma(0.0f); }, {{0, 0, 0, 255}}},
    {"gamma 0 on true colour", 24, {{Rgb(255, 254, 0)}},
     [](CLamina& i) { return i.fnIMG_Gamma(0.0f); }, {{Rgb(255, 0, 0)}}},
    {"infinite gamma lifts everything", 8, {{0, 77}},
     [](CLamina& i) { return i.fnIMG_Gamma(std::numeric_limits<float>::infinity()); },
     {{255, 255}}},
    {"two gray levels", 8, {{0, 127, 128, 255}},
     [](CLamina& i) { return i.fnIMG_ChangeGrayLevelsNumber(2); }, {{64, 64, 192, 192}}},
    {"three gray levels: the top never wraps to dark", 8, {{254, 255, 170}},
     [](CLamina& i) { return i.fnIMG_ChangeGrayLevelsNumber(3); }, {{212, 255, 212}}},
    {"seventy gray levels on true colour", 24, {{Rgb(255, 255, 255), Rgb(3, 3, 3)}},
     [](CLamina& i) { return i.fnIMG_ChangeGrayLevelsNumber(70); },
     {{Rgb(255, 255, 255), Rgb(4, 4, 4)}}},
    {"two gray levels keep alpha", 32, {{Rgb(200, 200, 200)}},
     [](CLamina& i) { return i.fnIMG_ChangeGrayLevelsNumber(2); }, {{Rgb(192, 192, 192)}}},
    {"negative at 1 bit", 1, {{1, 0, 1}}, [](CLamina& i) { return i.fnIMG_Negative(); },
     {{0, 1, 0}}},
    {"negative within the colours used", 8, {{0, 15, 3}},
     [](CLamina& i) {
       i.fnIMG_GetPointers().lpbmih->biClrUsed = 16;
       return i.fnIMG_Negative();
     },
     {{15, 0, 12}}},
    {"negative of red only", 32, {{Rgb(1, 2, 3), Rgb(250, 128, 0)}},
     [](CLamina& i) { return i.fnIMG_Negative(CLamina::CualesRGB{0, 1, 0, 0}); },
     {{Rgb(254, 2, 3), Rgb(5, 128, 0)}}},
    {"negative of gray then of every channel is the identity", 32, {{Rgb(1, 2, 3)}},
     [](CLamina& i) { return i.fnIMG_Negative(CLamina::CualesRGB{1, 1, 1, 1}); },
     {{Rgb(1, 2, 3)}}},
    {"slicing keeps the outside", 8, {{99, 100, 150, 151}},
     [](CLamina& i) { return i.fnIMG_GrayLevelSlicing(1, 100, 150, 255, 0); },
     {{99, 255, 255, 151}}},
    {"slicing replaces the outside", 8, {{99, 100, 150, 151}},
     [](CLamina& i) { return i.fnIMG_GrayLevelSlicing(0, 100, 150, 255, 7); },
     {{7, 255, 255, 7}}},
    {"balance clamps the channels", 32, {{Rgb(10, 20, 200), Rgb(250, 5, 0)}},
     [](CLamina& i) { return i.fnIMG_Balance(0, -50, 50); },
     {{Rgb(10, 0, 255), Rgb(250, 0, 127)}}},
};

void PrintTo(const Point& p, std::ostream* os) { *os << p.what; }

class PointOperation : public ::testing::TestWithParam<Point> {};

TEST_P(PointOperation, GivesExactLevelsAndKeepsPaddingAndFourthBytes) {
  const Point& p = GetParam();
  CLamina img = Marked(p.bpp, p.before);
  if (p.bpp == 32) img.fnIMG_SetAlfa(static_cast<unsigned char>(9));
  ASSERT_EQ(p.op(img), 0);
  EXPECT_EQ(PixelsOf(img), p.after);
  EXPECT_TRUE(PaddingKept(img));
  for (int x = 0; p.bpp == 32 && x < img.fnIMG_GetColumns(); ++x)
    EXPECT_EQ(img.fnIMG_GetAlfa(x, 0), 9);
}

INSTANTIATE_TEST_SUITE_P(Cases, PointOperation, ::testing::ValuesIn(kPoints), CaseName());

void ExpectEntry(CLamina& img, int i, int blue, int green, int red) {
  EXPECT_TRUE(Same(Entry(img, i), Quad(blue, green, red))) << "entry " << i;
}

}  // namespace

TEST(PointOperation, ColourPalettesChangeEntriesNotIndices) {
  CLamina img = Marked(8, {{0, 128, 255}});
  ASSERT_EQ(img.fnIMG_Balance(1, 0, -100), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 128, 255}}));
  ExpectEntry(img, 128, 0, 128, 130);
  ExpectEntry(img, 255, 0, 255, 255);
  CLamina gamma = Marked(8, {{2}}, ColourPalette());
  ASSERT_EQ(gamma.fnIMG_Gamma(2.0f), 0);
  EXPECT_EQ(PixelsOf(gamma), (Rows{{2}}));
  ExpectEntry(gamma, 64, 127, 220, 90);  // blue 64, green 191, red 32
  // A red flag on a gray palette colours it; the gray flag inverts the index first.
  CLamina red = Marked(8, {{5}});
  ASSERT_EQ(red.fnIMG_Negative(CLamina::CualesRGB{0, 1, 0, 0}), 0);
  EXPECT_EQ(PixelsOf(red), (Rows{{5}}));
  ExpectEntry(red, 5, 5, 5, 250);
  EXPECT_EQ(red.fnIMG_IsGray(), 0);
  CLamina blue = Marked(8, {{5}});
  ASSERT_EQ(blue.fnIMG_Negative(CLamina::CualesRGB{1, 0, 0, 1}), 0);
  EXPECT_EQ(PixelsOf(blue), (Rows{{250}}));
  ExpectEntry(blue, 250, 5, 250, 250);
}

TEST(PointOperation, GammaTwoAndAShortGrayPalette) {
  CLamina img = Marked(8, {{0, 64, 128, 255}});
  ASSERT_EQ(img.fnIMG_Gamma(2.0f), 0);
  EXPECT_EQ(PixelsOf(img)[0][1], 127u);
  EXPECT_EQ(PixelsOf(img)[0][3], 255u);
  CLamina shortGray = Marked(8, {{0, 50, 99}});
  shortGray.fnIMG_GetPointers().lpbmih->biClrUsed = 100;
  ASSERT_EQ(shortGray.fnIMG_Brightness(100), 0);
  EXPECT_EQ(PixelsOf(shortGray), (Rows{{99, 99, 99}}));
}

// fnIMG_GrayScaleLinealTransform: a band of levels stretched onto another.
#include "support/pictures.h"

using namespace lamina_test;

namespace {
const CLamina::CualesRGB kGray{1, 0, 0, 0};
constexpr std::uint32_t G(int v) { return std::uint32_t(v) * 0x010101u; }

struct Case {
  int bpp;
  std::vector<std::uint32_t> before;
  int a, b, c, d;
  CLamina::CualesRGB channels;
  std::vector<std::uint32_t> after;
};

const Case kCases[] = {
    {8, {49, 50, 75, 100, 101}, 50, 100, 0, 255, kGray, {49, 0, 127, 255, 101}},  // the rest stays
    {8, {0, 1, 128, 255}, 0, 255, 0, 255, kGray, {0, 1, 128, 255}},
    {8, {0, 1, 128, 255}, 0, 255, 100, 100, kGray, {100, 100, 100, 100}},
    // A one-level band goes to the start of the output instead of dividing by zero.
    {8, {39, 40, 41}, 40, 40, 200, 250, kGray, {39, 200, 41}},
    {24, {Rgb(40, 40, 7)}, 40, 40, 9, 9, {0, 1, 1, 1}, {Rgb(9, 9, 7)}},
    // d = 16 is allowed on a 16-colour image; the index cannot hold 16: 16/15*15 -> 15, 8.53 -> 8.
    {4, {0, 8, 15, 3}, 0, 15, 0, 16, kGray, {0, 8, 15, 3}},
    // True colour: gray follows red (f(60) = 20) and writes all three; the fourth byte stays.
    {32, {Rgb(60, 200, 10), Rgb(30, 200, 10)}, 50, 100, 0, 100, kGray, {G(20), Rgb(30, 200, 10)}},
    // With red as well, red goes through the band again after gray: 60 -> 30 -> 15.
    {24, {Rgb(60, 1, 1)}, 0, 100, 0, 50, {1, 1, 0, 0}, {Rgb(15, 30, 30)}},
};
}  // namespace

TEST(LinearTransform, StretchesTheBandKeepingPaddingAndFourthBytes) {
  for (const Case& c : kCases) {
    CLamina img = Marked(c.bpp, {c.before});
    ASSERT_EQ(img.fnIMG_GrayScaleLinealTransform(c.a, c.b, c.c, c.d, c.channels), 0);
    EXPECT_EQ(PixelsOf(img)[0], c.after)
        << c.bpp << ": " << c.a << ".." << c.b << " to " << c.c << ".." << c.d;
    EXPECT_TRUE(PaddingKept(img)) << c.bpp;
    EXPECT_TRUE(AlphaKept(img)) << c.bpp;
  }
}

TEST(LinearTransform, PaletteFlagsChangeEntriesNotPixels) {
  CLamina img = Marked(8, {{3, 200}});
  ASSERT_EQ(img.fnIMG_GrayScaleLinealTransform(100, 255, 0, 155, CLamina::CualesRGB{0, 0, 0, 1}),
            0);
  EXPECT_EQ(PixelsOf(img), (Rows{{3, 200}}));
  EXPECT_TRUE(Same(Entry(img, 255), Quad(155, 255, 255)));
  EXPECT_EQ(Entry(img, 99).rgbBlue, 99);
  EXPECT_EQ(Entry(img, 100).rgbBlue, 0);
}

TEST(LinearTransform, NoChannelsOrTheFullFourBitRangeAreAccepted) {
  CLamina img = Marked(8, {{1, 2}});
  const Snapshot s = Snap(img);
  EXPECT_EQ(img.fnIMG_GrayScaleLinealTransform(0, 5, 0, 5, CLamina::CualesRGB{0, 0, 0, 0}), 0);
  EXPECT_EQ(Snap(img), s);
  CLamina four = Marked(4, {{1}});
  EXPECT_EQ(four.fnIMG_GrayScaleLinealTransform(0, 16, 0, 15, kGray), 0);  // b may be 16
}

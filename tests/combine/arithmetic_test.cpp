// fnIMG_Arithmetic (both forms) and fnIMG_Insert: stated results, refusals, the vector rows against
// the plain ones, and the weighted form at unit weights against the plain form.
#include <cmath>
#include <functional>
#include <limits>

#include "core/cpu.h"
#include "support/pictures.h"

namespace {

using namespace lamina_test;
using Op = std::function<int(CLamina&, CLamina*)>;

struct Refusal {
  const char* what;
  int bpp, secondBpp;  // 16: an image whose header says 16 bits, as a 16-bit file loads
  bool noSecond;
  Op op;
  int code;
};
void PrintTo(const Refusal& r, std::ostream* os) { *os << r.what; }

Op Plain(int op) {
  return [op](CLamina& i, CLamina* s) { return i.fnIMG_Arithmetic(op, s); };
}
Op Weighted(int op, float wa, float wb, int x, int y) {
  return [=](CLamina& i, CLamina* s) { return i.fnIMG_Arithmetic(op, s, wa, wb, x, y); };
}
Op InsertAt(int x, int y) {
  return [=](CLamina& i, CLamina* s) { return i.fnIMG_Insert(s, x, y); };
}
const float kInf = std::numeric_limits<float>::infinity();

const Refusal kRefusals[] = {
    {"plain: operation first", 16, 16, true, Plain(7), 1},
    {"plain: negative operation", 8, 8, false, Plain(-1), 1},
    {"plain: depth before second", 16, 8, true, Plain(0), 2},
    {"plain: no second", 8, 8, true, Plain(0), 4},
    {"plain: second depth", 8, 16, false, Plain(0), 2},
    {"plain: 8 with 24", 8, 24, false, Plain(0), 3},
    {"weighted: no second", 8, 8, true, Weighted(0, 1, 1, 0, 0), 6},
    {"weighted: weight before position", 8, 8, false, Weighted(0, -1, 1, 9, 9), 4},
    {"weighted: second weight", 8, 8, false, Weighted(0, 1, -0.5f, 0, 0), 4},
    {"weighted: weight not a number", 24, 24, false, Weighted(0, NAN, 1, 0, 0), 4},
    {"weighted: infinite weight", 24, 24, false, Weighted(0, 1, kInf, 0, 0), 4},
    {"weighted: position before depths", 8, 24, false, Weighted(0, 1, 1, 3, 0), 5},
    {"weighted: 24 with 4", 24, 4, false, Weighted(0, 1, 1, 0, 0), 3},
    {"insert: depth", 16, 8, false, InsertAt(0, 0), 1},
    {"insert: no second", 8, 8, true, InsertAt(0, 0), 5},
    {"insert: depths before place", 1, 8, false, InsertAt(-1, 0), 2},
    {"insert: negative", 8, 8, false, InsertAt(0, -1), 3},
    {"insert: beyond", 8, 8, false, InsertAt(3, 0), 4},
};

class ArithmeticRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(ArithmeticRefusal, ReturnsItsCodeAndChangesNothing) {
  const Refusal& r = GetParam();
  auto make = [](int bpp) {
    CLamina img = Random(bpp == 16 ? 8 : bpp, 3, 2, 7u);
    if (bpp == 16) img.fnIMG_GetPointers().lpbmih->biBitCount = 16;
    return img;
  };
  CLamina img = make(r.bpp), second = make(r.secondBpp);
  const Snapshot before = Snap(img), secondBefore = Snap(second);
  EXPECT_EQ(r.op(img, r.noSecond ? nullptr : &second), r.code);
  EXPECT_EQ(Snap(img), before);
  EXPECT_EQ(Snap(second), secondBefore);
}
INSTANTIATE_TEST_SUITE_P(Codes, ArithmeticRefusal, ::testing::ValuesIn(kRefusals), CaseName());

struct Case {
  const char* what;
  int bpp;
  Rows a, b;
  std::vector<RGBQUAD> palette;  // non-empty: the image's whole palette (biClrUsed)
  Op op;
  Rows expected;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

const Rows kA = {{0, 3, 200, 60}, {40, 255, 7, 1}};
const Rows kB = {{0, 4, 100, 0}, {0, 255, 2, 9}};

const Case kCases[] = {
    {"add limits at 255", 8, kA, kB, {}, Plain(0), {{0, 7, 255, 60}, {40, 255, 9, 10}}},
    {"add limits at a short palette",
     8,
     kA,
     kB,
     std::vector<RGBQUAD>(16),
     Plain(0),
     {{0, 7, 15, 15}, {15, 15, 9, 10}}},
    {"add of 1 bit is or", 1, {{0, 1, 0, 1}}, {{0, 0, 1, 1}}, {}, Plain(0), {{0, 1, 1, 1}}},
    {"subtract stops at 0", 8, kA, kB, {}, Plain(1), {{0, 0, 100, 60}, {40, 0, 5, 0}}},
    {"multiply limits", 8, kA, kB, {}, Plain(2), {{0, 12, 255, 0}, {0, 255, 14, 9}}},
    {"divide rounds up and by 0 is by 0.2",
     8,
     kA,
     kB,
     {},
     Plain(3),
     {{0, 1, 2, 255}, {200, 1, 4, 1}}},
    {"average rounds down", 8, kA, kB, {}, Plain(4), {{0, 3, 150, 30}, {20, 255, 4, 5}}},
    {"maximum", 4, {{3, 9}}, {{5, 2}}, {}, Plain(5), {{5, 9}}},
    {"minimum", 4, {{3, 9}}, {{5, 2}}, {}, Plain(6), {{3, 2}}},
    {"colour divide limits per channel",
     24,
     {{Rgb(60, 40, 9)}},
     {{Rgb(0, 0, 2)}},
     {},
     Plain(3),
     {{Rgb(255, 200, 5)}}},
    {"weighted area from the position",
     8,
     {{1, 1, 1}, {1, 1, 1}},
     {{10, 20, 30}, {40, 50, 60}},
     {},
     Weighted(0, 1, 1, 1, 1),
     {{1, 1, 1}, {1, 11, 21}}},
    {"weighted add truncates", 8, {{10}}, {{7}}, {}, Weighted(0, 0.5f, 0.75f, 0, 0), {{10}}},
    {"weighted subtract stops at 0", 8, {{10}}, {{7}}, {}, Weighted(1, 1, 2, 0, 0), {{0}}},
    {"weighted index division divides by the weighted b",
     8,
     {{10}},
     {{4}},
     {},
     Weighted(3, 1, 2, 0, 0),
     {{2}}},
    {"weighted channel division multiplies by wB",
     24,
     {{Rgb(10, 10, 10)}},
     {{Rgb(4, 4, 0)}},
     {},
     Weighted(3, 1, 2, 0, 0),
     {{Rgb(5, 5, 100)}}},
    {"weighted index maximum keeps the unweighted a",
     8,
     {{100}},
     {{50}},
     {},
     Weighted(5, 2, 1, 0, 0),
     {{100}}},
    {"weighted channel maximum writes the weighted A",
     24,
     {{Rgb(100, 100, 100)}},
     {{Rgb(50, 50, 50)}},
     {},
     Weighted(5, 2, 1, 0, 0),
     {{Rgb(200, 200, 200)}}},
    {"weighted index minimum takes the weighted b",
     8,
     {{100}},
     {{50}},
     {},
     Weighted(6, 1, 1.5f, 0, 0),
     {{75}}},
    {"weighted zero over zero weight is 0", 8, {{0}}, {{0}}, {}, Weighted(3, 1, 0, 0, 0), {{0}}},
    {"insert copies what fits",
     8,
     {{1, 2, 3}, {4, 5, 6}},
     {{7, 8}, {9, 10}},
     {},
     InsertAt(2, 1),
     {{1, 2, 3}, {4, 5, 7}}},
    {"insert of 1 bit",
     1,
     {{0, 0, 0, 0, 0, 0, 0, 0, 0}},
     {{1, 1, 0, 1}},
     {},
     InsertAt(6, 0),
     {{0, 0, 0, 0, 0, 0, 1, 1, 0}}},
};

class ArithmeticCase : public ::testing::TestWithParam<Case> {};

TEST_P(ArithmeticCase, GivesTheStatedPixels) {
  const Case& c = GetParam();
  CLamina img = c.palette.empty() ? Marked(c.bpp, c.a) : WithShortPalette(c.bpp, 4, 2, c.palette);
  if (!c.palette.empty())
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 4; ++x) img.fnIMG_SetPixel(x, y, c.a[y][x]);
  CLamina second = Marked(c.bpp, c.b);
  const auto palette = PaletteOf(img);
  const Snapshot secondBefore = Snap(second);
  ASSERT_EQ(c.op(img, &second), 0);
  EXPECT_EQ(PixelsOf(img), c.expected);
  EXPECT_EQ(Packed(PaletteOf(img)), Packed(palette));
  EXPECT_TRUE(c.palette.empty() ? PaddingKept(img) : true);
  EXPECT_EQ(Snap(second), secondBefore);
}
INSTANTIATE_TEST_SUITE_P(Stated, ArithmeticCase, ::testing::ValuesIn(kCases), CaseName());

TEST(Arithmetic, TrueColourMixesTwentyFourAndThirtyTwoBitsAndKeepsTheFourthByte) {
  for (int op = 0; op <= 6; ++op)
    for (auto depths : {std::pair{24, 32}, std::pair{32, 24}, std::pair{32, 32}}) {
      CLamina img = Marked(depths.first, {{Rgb(10, 200, 3), Rgb(0, 0, 0)}});
      CLamina second = Marked(depths.second, {{Rgb(5, 100, 0), Rgb(1, 2, 3)}, {0, 0}});
      CLamina same = Marked(24, {{Rgb(10, 200, 3), Rgb(0, 0, 0)}});
      CLamina same2 = Marked(24, {{Rgb(5, 100, 0), Rgb(1, 2, 3)}});
      ASSERT_EQ(img.fnIMG_Arithmetic(op, &second), 0);
      ASSERT_EQ(same.fnIMG_Arithmetic(op, &same2), 0);
      EXPECT_EQ(PixelsOf(img), PixelsOf(same)) << "operation " << op;
      EXPECT_TRUE(AlphaKept(img) && PaddingKept(img));
    }
}

TEST(Arithmetic, AnImageWithItselfFollowsTheStatedOrder) {
  CLamina img = FromRows(8, {{1, 2, 3, 4}});
  ASSERT_EQ(img.fnIMG_Arithmetic(1, &img), 0);  // same place: a - a
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 0, 0, 0}}));
  img = FromRows(8, {{1, 2, 3, 4}});
  ASSERT_EQ(img.fnIMG_Insert(&img, 1, 0), 0);  // each copy reads the pixel just written
  EXPECT_EQ(PixelsOf(img), (Rows{{1, 1, 1, 1}}));
  img = FromRows(8, {{1, 2, 3, 4}});
  ASSERT_EQ(img.fnIMG_Arithmetic(0, &img, 1, 1, 1, 0), 0);  // 2+1, 3+3, 4+6
  EXPECT_EQ(PixelsOf(img), (Rows{{1, 3, 6, 10}}));
}

// The vector rows against the plain loop, and the plain form against the weighted form at unit
// weights (which goes through the table of pairs), on random images of odd sizes.
TEST(Arithmetic, VectorRowsAndTheWeightedFormAgreeWithThePlainLoops) {
  unsigned seed = 50;
  for (int bpp : {1, 4, 8, 24, 32})
    for (int op = 0; op <= 6; ++op) {
      CLamina base = Random(bpp, 71, 5, ++seed);
      CLamina second = Random(bpp == 32 ? 32 : bpp, 69, 6, ++seed);
      CLamina fast = base, plain = base, weighted = base;
      ASSERT_EQ(fast.fnIMG_Arithmetic(op, &second), 0);
      lamina::cpu::g_widest = 0;
      ASSERT_EQ(plain.fnIMG_Arithmetic(op, &second), 0);
      lamina::cpu::g_widest = 2;
      ASSERT_EQ(weighted.fnIMG_Arithmetic(op, &second, 1.0f, 1.0f, 0, 0), 0);
      EXPECT_EQ(Snap(fast), Snap(plain)) << bpp << " bits, operation " << op;
      EXPECT_EQ(Snap(fast), Snap(weighted)) << bpp << " bits, operation " << op;
    }
}

}  // namespace

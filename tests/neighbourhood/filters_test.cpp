// fnIMG_Filters and fnIMG_Convolution against the plain reference of filter_reference.h on random
// images, with the vector paths and without them, and the stated cases a reference shares with the
// code (orientation, window placement, extremes, frame, gray, palette, divisors).
#include "core/cpu.h"
#include "neighbourhood/filter_reference.h"
#include "support/pictures.h"

namespace {

using namespace lamina_test;

// Where two snapshots first differ, for the failure message.
std::string FirstDifference(const Snapshot& a, const Snapshot& b) {
  if (a.name != b.name) return "name " + a.name + " / " + b.name;
  if (a.block.size() != b.block.size())
    return "block size " + std::to_string(a.block.size()) + " / " + std::to_string(b.block.size());
  for (std::size_t i = 0; i < a.block.size(); ++i)
    if (a.block[i] != b.block[i])
      return "byte " + std::to_string(i) + ": " + std::to_string(a.block[i]) + " / " +
             std::to_string(b.block[i]);
  return "pointers";
}

bool InTable(int n) { return n >= 0 && n <= 77 && n != 38 && n != 39 && n != 69; }

// Every filter at every accepted depth, border and mapping, on an odd-sized image and on one too
// small for most windows (where the shifted pad leaves points no copy covers).
TEST(Filters, EveryFilterMatchesTheReference) {
  const int sizes[][2] = {{15, 13}, {3, 1}};
  for (int widest : {2, 0}) {
    lamina::cpu::g_widest = widest;
    unsigned seed = 100;
    for (int number = 0; number <= 77; ++number) {
      if (!InTable(number)) continue;
      for (int bpp : {4, 8, 24, 32})
        for (const auto& s : sizes)
          for (int border = 0; border < 3; ++border)
            for (int mapping = 0; mapping < 3; ++mapping) {
              CLamina img = Random(bpp, s[0], s[1], ++seed);
              img.fnIMG_SetFileName(CString(L"named.bmp"));
              CLamina expected = ReferenceFilter(img, number, mapping, border);
              ASSERT_EQ(img.fnIMG_Filters(number, mapping, border), 0);
              ASSERT_TRUE(Snap(img) == Snap(expected))
                  << FirstDifference(Snap(img), Snap(expected)) << ", filter " << number << ", "
                  << bpp << " bits, " << s[0] << "x" << s[1] << ", border " << border
                  << ", mapping " << mapping << ", widest " << widest;
            }
    }
  }
  lamina::cpu::g_widest = 2;
}

// Wider rows than the random comparison, so the vector loops and their tails both run, with and
// without the vector code; the medians also on pictures of two values, full of ties.
TEST(Filters, WideRowsMatchTheReference) {
  for (int widest : {2, 0}) {
    lamina::cpu::g_widest = widest;
    unsigned seed = 900;
    for (int number : {19, 26, 43, 50, 56, 63, 65, 22, 23, 24, 66, 67, 68, 71})
      for (int bpp : {8, 24, 32})
        for (int border : {0, 1}) {
          CLamina img = Random(bpp, 149, 12, ++seed);
          if (number >= 22 && number <= 24 && border == 1)
            for (int y = 0; y < 12; ++y)
              for (int x = 0; x < 149; ++x)
                img.fnIMG_SetPixel(x, y, (img.fnIMG_GetPixel(x, y) & 0x10101) * 200);
          // The order filters check the mapping but do not use it.
          const bool order = (number >= 22 && number <= 25) || number >= 66;
          for (int mapping = order ? 1 : 0; mapping < 3; ++mapping) {
            CLamina filtered = img;
            CLamina expected = ReferenceFilter(img, number, mapping, border);
            ASSERT_EQ(filtered.fnIMG_Filters(number, mapping, border), 0);
            EXPECT_TRUE(Snap(filtered) == Snap(expected))
                << FirstDifference(Snap(filtered), Snap(expected)) << ", filter " << number << ", "
                << bpp << " bits, border " << border << ", mapping " << mapping << ", widest "
                << widest;
            if (order) break;
          }
        }
  }
  lamina::cpu::g_widest = 2;
}

TEST(Filters, OneBitImagesAndNumbersOutsideTheTableAreRefused) {
  CLamina one = Random(1, 9, 9, 1u);
  const Snapshot oneBefore = Snap(one);
  EXPECT_EQ(one.fnIMG_Filters(26, 1, 1), 1);
  EXPECT_EQ(Snap(one), oneBefore);
  CLamina img = Random(8, 9, 9, 2u);
  const Snapshot before = Snap(img);
  for (int number : {-1, 38, 39, 69, 78}) EXPECT_EQ(img.fnIMG_Filters(number, 1, 1), 2) << number;
  EXPECT_EQ(img.fnIMG_Filters(26, 3, 1), 3);
  EXPECT_EQ(img.fnIMG_Filters(26, -1, 1), 3);
  EXPECT_EQ(img.fnIMG_Filters(26, 1, 3), 4);
  EXPECT_EQ(img.fnIMG_Filters(69, 3, 3), 2);  // the number is checked first
  EXPECT_EQ(Snap(img), before);
}

struct Stated {
  const char* what;
  int filter, mapping, border;
  Rows in, out;
};
void PrintTo(const Stated& s, std::ostream* os) { *os << s.what; }

const Stated kStated[] = {
    // Dark above, bright below: the horizontal-edge kernel (-1 -2 -1 on top) answers +; upside
    // down it would answer - and clip to 0.
    {"kernel rows apply top first",
     52,
     1,
     0,
     {{0, 0, 0}, {0, 0, 0}, {10, 10, 10}},
     {{0, 0, 0}, {0, 40, 0}, {10, 10, 10}}},
    // The 2 x 2 window of x reaches one column and row up and left: 1 x v(x-1, y-1) - v(x, y).
    {"even window reaches up and left",
     42,
     2,
     0,
     {{9, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 5, 0}, {0, 0, 0, 0}},
     {{9, 0, 0, 0}, {0, 9, 0, 0}, {0, 0, 5, 0}, {0, 0, 0, 0}}},
    // All sums positive: the stretch still starts at 0, so 100 maps to 255 and 50 to 127.
    {"stretch starts from zero",
     16,
     0,
     0,
     {{100, 100, 100, 50}, {100, 100, 100, 50}, {100, 100, 100, 50}},
     {{100, 100, 100, 50}, {100, 255, 211, 50}, {100, 100, 100, 50}}},
    {"filter 29 divides by 115",
     29,
     1,
     0,
     Rows(5, std::vector<std::uint32_t>(5, 100)),
     {{100, 100, 100, 100, 100},
      {100, 100, 100, 100, 100},
      {100, 100, 138, 100, 100},
      {100, 100, 100, 100, 100},
      {100, 100, 100, 100, 100}}},
    {"mean and sharpening keep a flat area",
     6,
     1,
     0,
     {{7, 7, 7}, {7, 7, 7}, {7, 7, 7}},
     {{7, 7, 7}, {7, 7, 7}, {7, 7, 7}}},
    {"median of 5 zeros and 4 maxima is 0",
     22,
     1,
     0,
     {{0, 0, 0}, {0, 0, 255}, {255, 255, 255}},
     {{0, 0, 0}, {0, 0, 255}, {255, 255, 255}}},
    {"median of 4 zeros and 5 maxima is the maximum",
     22,
     1,
     0,
     {{0, 0, 0}, {0, 255, 255}, {255, 255, 255}},
     {{0, 0, 0}, {0, 255, 255}, {255, 255, 255}}},
    {"extreme value farther from the centre",
     70,
     1,
     0,
     {{10, 200, 10}, {10, 150, 10}, {10, 10, 10}},
     {{10, 200, 10}, {10, 10, 10}, {10, 10, 10}}},
    {"extreme value at equal distance is the maximum",
     70,
     1,
     0,
     {{10, 200, 10}, {10, 105, 10}, {10, 10, 10}},
     {{10, 200, 10}, {10, 200, 10}, {10, 10, 10}}},
    {"harmonic mean with a zero is 0",
     76,
     1,
     0,
     {{9, 9, 9}, {9, 9, 9}, {9, 9, 0}},
     {{9, 9, 9}, {9, 0, 9}, {9, 9, 0}}},
    {"geometric mean of 5 x 5 falls just short of the level",
     75,
     1,
     0,
     Rows(5, std::vector<std::uint32_t>(5, 100)),
     {Rows(5, std::vector<std::uint32_t>(5, 100))[0],
      {100, 100, 100, 100, 100},
      {100, 100, 99, 100, 100},
      {100, 100, 100, 100, 100},
      {100, 100, 100, 100, 100}}},
    {"a pair adds its frame to itself",
     50,
     1,
     0,
     {{100, 100, 100}, {100, 100, 100}, {100, 200, 100}},
     {{200, 200, 200}, {200, 200, 200}, {200, 255, 200}}},
};

class FilterCase : public ::testing::TestWithParam<Stated> {};

TEST_P(FilterCase, GivesTheStatedIndices) {
  const Stated& s = GetParam();
  std::vector<RGBQUAD> colours(256);
  for (int i = 0; i < 256; ++i) colours[i] = Quad(i, 255 - i, i / 3, 9);
  CLamina img = FromRows(8, s.in, colours);
  ASSERT_EQ(img.fnIMG_Filters(s.filter, s.mapping, s.border), 0);
  EXPECT_EQ(PixelsOf(img), s.out);
  EXPECT_EQ(Packed(PaletteOf(img)), Packed(colours));  // indices change, never the palette
}
INSTANTIATE_TEST_SUITE_P(Stated, FilterCase, ::testing::ValuesIn(kStated), CaseName());

TEST(Filters, ColourComesBackGrayFromRedAndTheFrameKeepsItsColours) {
  CLamina img = Marked(24, Rows(4, std::vector<std::uint32_t>(5, Rgb(90, 30, 200))));
  img.fnIMG_SetPixel(2, 2, Rgb(0, 255, 255));
  ASSERT_EQ(img.fnIMG_Filters(16, 1, 0), 0);
  EXPECT_EQ(img.fnIMG_GetPixel(1, 1), Rgb(80, 80, 80));  // (8 x 90 + 0) / 9
  EXPECT_EQ(img.fnIMG_GetPixel(2, 2), Rgb(80, 80, 80));
  EXPECT_EQ(img.fnIMG_GetPixel(0, 0), Rgb(90, 30, 200));
  EXPECT_EQ(img.fnIMG_GetPixel(4, 3), Rgb(90, 30, 200));
  EXPECT_TRUE(PaddingKept(img));
}

TEST(Filters, PadsKeepTheSizeOfImagesOnePixelWideOrHigh) {
  for (int border : {1, 2})
    for (auto size : {std::pair{1, 6}, std::pair{6, 1}, std::pair{1, 1}}) {
      CLamina img = Random(8, size.first, size.second, 5u);
      ASSERT_EQ(img.fnIMG_Filters(26, 1, border), 0);
      EXPECT_EQ(img.fnIMG_GetColumns(), size.first);
      EXPECT_EQ(img.fnIMG_GetRows(), size.second);
    }
}

}  // namespace

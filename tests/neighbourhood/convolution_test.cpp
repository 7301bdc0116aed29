// fnIMG_Convolution with the caller's kernels: refusals, the empty kernel, sums that leave 32 bits,
// negative divisors, kernels of every size (the vector paths and the plain loop), and blocks that
// are not compact.
#include <climits>
#include <random>

#include "core/cpu.h"
#include "neighbourhood/filter_reference.h"
#include "support/pictures.h"

namespace {

using namespace lamina_test;

TEST(Convolution, RefusesInTheStatedOrderAndChangesNothing) {
  int k[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
  CLamina one = Random(1, 5, 5, 1u);
  EXPECT_EQ(one.fnIMG_Convolution(k, 3, 0, 9, 9), 1);
  CLamina img = Random(24, 5, 5, 2u);
  const Snapshot before = Snap(img);
  EXPECT_EQ(img.fnIMG_Convolution(k, 3, 0, 9, 9), 2);
  EXPECT_EQ(img.fnIMG_Convolution(k, 3, 1, -1, 9), 3);
  EXPECT_EQ(img.fnIMG_Convolution(k, 3, 1, 1, 3), 4);
  EXPECT_EQ(img.fnIMG_Convolution(nullptr, 1, 1, 1, 0), 5);  // new: a size asks for a kernel
  EXPECT_EQ(Snap(img), before);
  EXPECT_EQ(img.fnIMG_Convolution(nullptr, 0, 1, 1, 1), 0);  // the empty kernel needs none
  EXPECT_EQ(PixelsOf(img), Rows(5, std::vector<std::uint32_t>(5, 0)));
}

TEST(Convolution, SumsWrapAtThirtyTwoBits) {
  struct Case {
    int coefficient, divisor, mapping;
    std::uint32_t value, expected;
  } cases[] = {
      {INT_MAX, 1, 1, 2, 0},                              // 2^32 - 2 wraps to -2
      {INT_MAX, 1, 2, 2, 2},    {INT_MAX, 1, 1, 3, 255},  // 3 x (2^31 - 1) wraps to 2^31 - 3
      {INT_MIN, -1, 2, 1, 255},                           // -2^31 / -1 wraps back to -2^31
      {INT_MIN, -1, 1, 1, 0},   {2, 1, 1, 200, 255},      // the stated doubling, clipped
      {-3, -2, 1, 9, 13},                                 // -27 / -2
  };
  for (const Case& c : cases) {
    CLamina img = FromRows(8, {{c.value}});
    int k[1] = {c.coefficient};
    ASSERT_EQ(img.fnIMG_Convolution(k, 1, c.divisor, c.mapping, 0), 0);
    EXPECT_EQ(img.fnIMG_GetPixel(0, 0), c.expected) << c.coefficient << " x " << c.value;
  }
}

// Random kernels of sizes 1 to 12 (even ones included), small and large coefficients, every
// border and mapping, with and without the vector paths.
TEST(Convolution, CallerKernelsMatchTheReference) {
  std::mt19937 rng(5);
  for (int widest : {2, 0}) {
    lamina::cpu::g_widest = widest;
    for (int size = 1; size <= 12; ++size)
      for (int range : {3, 40000, 1 << 24}) {
        std::vector<int> k(static_cast<std::size_t>(size * size));
        for (int& c : k) c = static_cast<int>(rng() % (2u * range + 1)) - range;
        // A separable kernel as well: the column factor times the row factor.
        std::vector<int> separable(k.size());
        for (int j = 0; j < size; ++j)
          for (int i = 0; i < size; ++i)
            separable[j * size + i] = ((j * 7) % 5 - 2) * ((i * 3) % 7 - 3) * (range == 3 ? 1 : 50);
        for (const auto& kernel : {k, separable})
          for (int bpp : {4, 24})
            for (int border = 0; border < 3; ++border)
              for (int mapping = 0; mapping < 3; ++mapping) {
                const int divisor = mapping == 0 ? -7 : (range == 3 ? 1 : 97);
                CLamina img = Random(bpp, 37, 17, rng());
                CLamina expected =
                    ReferenceConvolution(img, kernel, size, divisor, mapping, border);
                std::vector<int> copy = kernel;
                ASSERT_EQ(img.fnIMG_Convolution(copy.data(), size, divisor, mapping, border), 0);
                ASSERT_TRUE(Snap(img) == Snap(expected))
                    << "size " << size << ", range " << range << ", " << bpp << " bits, border "
                    << border << ", mapping " << mapping << ", widest " << widest;
              }
      }
  }
  lamina::cpu::g_widest = 2;
}

TEST(Convolution, ABlockWithGapsEndsCompactOrIsLeftAloneWhenMemoryIsShort) {
  // A block with bytes after the rows, as a file may leave: the result is what assigning the
  // filtered copy back leaves, and a failed allocation changes nothing.
  CLamina img = Raw(8, 6, 5, std::vector<RGBQUAD>(256, Quad(1, 2, 3)), 16);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) img.fnIMG_SetPixel(x, y, x * 40 + y);
  int k[9] = {0, 0, 0, 0, 2, 0, 0, 0, 0};
  const Snapshot before = Snap(img);
  {
    FailingAllocations none;
    EXPECT_EQ(img.fnIMG_Convolution(k, 3, 1, 1, 0), 6);
    EXPECT_EQ(img.fnIMG_Filters(22, 1, 0), 5);
  }
  EXPECT_EQ(Snap(img), before);
  CLamina copy = img;
  CLamina expected = ReferenceConvolution(copy, std::vector<int>(k, k + 9), 3, 1, 1, 0);
  ASSERT_EQ(img.fnIMG_Convolution(k, 3, 1, 1, 0), 0);
  EXPECT_TRUE(Snap(img) == Snap(expected));
}

}  // namespace

// fnIMG_Logic, fnIMG_SetOps and fnIMG_GetDifferentPixels: stated cases, mixed depths, refusals,
// and whole-row byte paths against the pixel loop.
#include "core/cpu.h"
#include "support/pictures.h"

namespace {

using namespace lamina_test;

TEST(Logic, StatedValuesOnOneDepth) {
  struct Case {
    int op;
    Rows expected;
  } cases[] = {{0, {{255, 0, 240, 90}}}, {1, {{0, 0, 15, 1}}},        {2, {{3, 255, 15, 167}}},
               {3, {{3, 255, 0, 166}}},  {4, {{255, 255, 240, 254}}}, {5, {{252, 0, 240, 88}}}};
  for (const Case& c : cases) {
    CLamina img = Marked(8, {{0, 255, 15, 165}});
    CLamina second = Marked(8, {{3, 0, 15, 3}});
    ASSERT_EQ(img.fnIMG_Logic(c.op, &second), 0);
    EXPECT_EQ(PixelsOf(img), c.expected) << "operation " << c.op;
  }
  CLamina img = Marked(32, {{Rgb(1, 2, 3), Rgb(250, 0, 128)}});
  ASSERT_EQ(img.fnIMG_Logic(0, nullptr), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(254, 253, 252), Rgb(5, 255, 127)}}));
  EXPECT_TRUE(AlphaKept(img) && PaddingKept(img));
  ASSERT_EQ(img.fnIMG_Logic(3, &img), 0);  // with itself
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 0}}));
}

TEST(Logic, MixedDepthsCombineTheValuesTheAccessorsRead) {
  // A 1-bit image: the exclusive or looks at the low byte, the others at the lowest bit.
  CLamina one = Marked(1, {{1, 1, 0, 1}});
  CLamina eight = Marked(8, {{0x11, 2, 2, 3}});
  ASSERT_EQ(one.fnIMG_Logic(3, &eight), 0);
  EXPECT_EQ(PixelsOf(one), (Rows{{1, 1, 1, 1}}));
  one = Marked(1, {{1, 1, 0, 1}});
  ASSERT_EQ(one.fnIMG_Logic(1, &eight), 0);
  EXPECT_EQ(PixelsOf(one), (Rows{{1, 0, 0, 1}}));
  one = Marked(1, {{1, 1, 0, 1}});
  ASSERT_EQ(one.fnIMG_Logic(4, &eight), 0);
  EXPECT_EQ(PixelsOf(one), (Rows{{0, 1, 1, 0}}));
  // A 4-bit image keeps the low nibble of its and with a colour.
  CLamina four = Marked(4, {{15, 7, 9}});
  CLamina colour = Marked(24, {{Rgb(0, 0, 0x1A), Rgb(255, 255, 0xF3), Rgb(9, 9, 9)}});
  ASSERT_EQ(four.fnIMG_Logic(1, &colour), 0);
  EXPECT_EQ(PixelsOf(four), (Rows{{10, 3, 9}}));
  EXPECT_TRUE(PaddingKept(four));
  // A 16-bit second image reads as 0xFFFFFFFE; a 16-bit image is left alone.
  CLamina eightAgain = Marked(8, {{0x11, 0xFF}});
  CLamina sixteen = Sixteen({{0, 0}});
  ASSERT_EQ(eightAgain.fnIMG_Logic(1, &sixteen), 0);
  EXPECT_EQ(PixelsOf(eightAgain), (Rows{{0x10, 0xFE}}));
  const Snapshot before = Snap(sixteen);
  EXPECT_EQ(sixteen.fnIMG_Logic(0, nullptr), 0);
  EXPECT_EQ(Snap(sixteen), before);
  // Only the common top-left area changes.
  CLamina big = Marked(8, {{1, 1, 1}, {1, 1, 1}});
  CLamina small = Marked(8, {{0, 0}});
  ASSERT_EQ(big.fnIMG_Logic(1, &small), 0);
  EXPECT_EQ(PixelsOf(big), (Rows{{0, 0, 1}, {1, 1, 1}}));
}

TEST(Logic, RefusalsAndMissingSecondImages) {
  CLamina img = Random(8, 5, 3, 3u);
  const Snapshot before = Snap(img);
  EXPECT_EQ(img.fnIMG_Logic(6, nullptr), 1);
  EXPECT_EQ(img.fnIMG_Logic(-1, &img), 1);
  for (int op = 1; op <= 5; ++op) EXPECT_EQ(img.fnIMG_Logic(op, nullptr), 2) << op;
  EXPECT_EQ(img.fnIMG_SetOps(5, nullptr), 1);
  EXPECT_EQ(img.fnIMG_SetOps(0, nullptr), 2);  // 256 colours
  EXPECT_EQ(img.fnIMG_GetDifferentPixels(nullptr), -1);
  CLamina sixteen = Sixteen({{1}});
  EXPECT_EQ(img.fnIMG_GetDifferentPixels(&sixteen), -1);
  EXPECT_EQ(Snap(img), before);
  CLamina two = Raw(8, 3, 1, {Quad(0, 0, 0), Quad(255, 255, 255)});
  const Snapshot twoBefore = Snap(two);
  for (int op = 2; op <= 4; ++op) EXPECT_EQ(two.fnIMG_SetOps(op, nullptr), 3) << op;
  EXPECT_EQ(two.fnIMG_SetOps(2, &img), 2);  // the second image's colours
  EXPECT_EQ(Snap(two), twoBefore);
}

TEST(SetOps, TwoColourImagesAsSets) {
  // biClrUsed 2 makes an 8-bit image a two-colour one.
  auto make = [](const Rows& rows) {
    CLamina img = Raw(8, 4, 1, {Quad(0, 0, 0), Quad(255, 255, 255)});
    for (int x = 0; x < 4; ++x) img.fnIMG_SetPixel(x, 0, rows[0][x]);
    return img;
  };
  const Rows a = {{0, 0, 1, 1}}, b = {{0, 1, 0, 1}};
  const Rows expected[] = {{{0, 0, 0, 1}}, {{0, 1, 1, 1}}, {{1, 0, 1, 1}}};
  for (int op = 2; op <= 4; ++op) {
    CLamina img = make(a), second = make(b);
    ASSERT_EQ(img.fnIMG_SetOps(op, &second), 0);
    EXPECT_EQ(PixelsOf(img), expected[op - 2]) << op;
  }
  // Two 1-bit images combine whole bytes; against an 8-bit two-colour second image with the same
  // values, which goes pixel by pixel.
  for (int op = 2; op <= 4; ++op) {
    CLamina img = Random(1, 75, 3, 40u + op), second = Random(1, 75, 3, 50u + op);
    CLamina eight = Raw(8, 75, 3, {Quad(0, 0, 0), Quad(255, 255, 255)}), pixelwise = img;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 75; ++x) eight.fnIMG_SetPixel(x, y, second.fnIMG_GetPixel(x, y));
    ASSERT_EQ(img.fnIMG_SetOps(op, &second), 0);
    ASSERT_EQ(pixelwise.fnIMG_SetOps(op, &eight), 0);
    EXPECT_EQ(Snap(img), Snap(pixelwise)) << op;
  }
  // Complement and reflection are the negative and the two flips.
  CLamina one = Random(1, 13, 5, 8u);
  for (int op = 0; op <= 1; ++op) {
    CLamina img = one, expected = one;
    ASSERT_EQ(img.fnIMG_SetOps(op, nullptr), 0);
    if (op == 0) {
      expected.fnIMG_Negative();
    } else {
      expected.fnIMG_Flip(1);
      expected.fnIMG_Flip(0);
    }
    EXPECT_EQ(Snap(img), Snap(expected)) << op;
  }
}

TEST(GetDifferentPixels, CountsTheCommonAreaAsTheValuesRead) {
  CLamina a = Random(24, 9, 4, 1u);
  CLamina b = a;
  EXPECT_EQ(a.fnIMG_GetDifferentPixels(&b), 0);
  b.fnIMG_SetPixel(8, 3, b.fnIMG_GetPixel(8, 3) ^ 0x010000);
  b.fnIMG_SetAlfa(0, 0, 7);  // 24 bits: no alpha to differ
  EXPECT_EQ(a.fnIMG_GetDifferentPixels(&b), 1);
  CLamina wide = Marked(8, {{1, 2, 3, 4}});
  CLamina narrow = Marked(8, {{1, 0, 3}, {5, 5, 5}});
  EXPECT_EQ(wide.fnIMG_GetDifferentPixels(&narrow), 1);
  CLamina index = Marked(8, {{5, 7}});
  CLamina colour = Marked(32, {{5, Rgb(0, 0, 7) | 0}});
  EXPECT_EQ(index.fnIMG_GetDifferentPixels(&colour), 0);  // index 5 against the colour 5
}

// Whole-row byte paths: the vector code against the plain loop at every depth, and a 24-bit
// second image against the same colours at 32 bits, which goes pixel by pixel.
TEST(Logic, RowPathsAgreeWithThePixelLoop) {
  unsigned seed = 20;
  for (int bpp : {1, 4, 8, 24, 32})
    for (int op = 0; op <= 5; ++op) {
      CLamina base = Random(bpp, 75, 4, ++seed);
      CLamina second = Random(bpp, 70, 5, ++seed);
      CLamina fast = base, plain = base;
      ASSERT_EQ(fast.fnIMG_Logic(op, &second), 0);
      lamina::cpu::g_widest = 0;
      ASSERT_EQ(plain.fnIMG_Logic(op, &second), 0);
      lamina::cpu::g_widest = 2;
      EXPECT_EQ(Snap(fast), Snap(plain)) << bpp << " bits, operation " << op;
      EXPECT_EQ(fast.fnIMG_GetDifferentPixels(&plain), 0);
      if (bpp != 24) continue;
      CLamina wide(nullptr, nullptr, 70, 5, 32), pixelwise = base;
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 70; ++x) wide.fnIMG_SetPixel(x, y, second.fnIMG_GetPixel(x, y));
      ASSERT_EQ(pixelwise.fnIMG_Logic(op, &wide), 0);
      EXPECT_EQ(Snap(fast), Snap(pixelwise)) << "operation " << op;
    }
}

}  // namespace

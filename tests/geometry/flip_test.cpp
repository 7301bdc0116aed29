// fnIMG_Flip: mirrors left-right (mode 0) and top-bottom (mode 1).
#include "support/pictures.h"

using namespace lamina_test;

namespace {

// Exchanging pixels one pair at a time through the public accessors: the reference every fast
// path must agree with, padding included. At 8 bits top-bottom whole rows move, so the padding
// goes with its row; elsewhere it stays where it is.
void ReferenceFlip(CLamina& img, int mode) {
  const int w = img.fnIMG_GetColumns(), h = img.fnIMG_GetRows();
  if (mode == 0) {
    for (int y = 0; y < h; ++y)
      for (int i = 0; i < w / 2; ++i) {
        const unsigned a = img.fnIMG_GetPixel(i, y), b = img.fnIMG_GetPixel(w - 1 - i, y);
        img.fnIMG_SetPixel(i, y, b);
        img.fnIMG_SetPixel(w - 1 - i, y, a);
      }
    return;
  }
  const int stride = static_cast<int>(lamina::Stride64(w, img.fnIMG_GetColorDepth()));
  for (int r = 0; r < h / 2; ++r) {
    if (img.fnIMG_GetColorDepth() == 8) {
      std::swap_ranges(RowBytes(img, r), RowBytes(img, r) + stride, RowBytes(img, h - 1 - r));
      continue;
    }
    for (int x = 0; x < w; ++x) {
      const unsigned a = img.fnIMG_GetPixel(x, r), b = img.fnIMG_GetPixel(x, h - 1 - r);
      img.fnIMG_SetPixel(x, r, b);
      img.fnIMG_SetPixel(x, h - 1 - r, a);
    }
  }
}

}  // namespace

TEST(Flip, ChecksModeBeforeDepth) {
  CLamina none(nullptr, nullptr, 4, 4, 16);  // no block: depth 0
  EXPECT_EQ(none.fnIMG_Flip(2), 1);
  EXPECT_EQ(none.fnIMG_Flip(0), 2);
  CLamina img = FromRows(8, {{1, 2}, {3, 4}});
  const Snapshot before = Snap(img);
  EXPECT_EQ(img.fnIMG_Flip(2), 1);
  EXPECT_EQ(Snap(img), before);
  CLamina empty(nullptr, nullptr, 3, 0, 8);  // no rows is fine
  EXPECT_EQ(empty.fnIMG_Flip(0), 0);
  EXPECT_EQ(empty.fnIMG_Flip(1), 0);
}

TEST(Flip, MirrorsSixteenBitImagesInBothModes) {
  CLamina img = Sixteen({{0x0102, 0x0304, 0x0506}, {0x0708, 0x090A, 0x0B0C}});
  const auto pixels = [&img] {
    Rows r(2, std::vector<std::uint32_t>(3));
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) r[y][x] = Pixel16(img, x, y);
    return r;
  };
  EXPECT_EQ(img.fnIMG_Flip(0), 0);
  EXPECT_EQ(pixels(), (Rows{{0x0506, 0x0304, 0x0102}, {0x0B0C, 0x090A, 0x0708}}));
  RowBytes(img, 0)[6] = 0xAA;  // padding goes with its row
  EXPECT_EQ(img.fnIMG_Flip(1), 0);
  EXPECT_EQ(pixels(), (Rows{{0x0B0C, 0x090A, 0x0708}, {0x0506, 0x0304, 0x0102}}));
  EXPECT_EQ(RowBytes(img, 1)[6], 0xAA);
}

TEST(Flip, AgreesWithPairwiseExchangeOnRandomImages) {
  // Random padding bits and bytes: every fast path must keep or move them as the reference does.
  const int sizes[][2] = {{1, 1}, {67, 9}};
  unsigned seed = 1;
  for (int bpp : {1, 4, 8, 24, 32})
    for (const auto& s : sizes)
      for (int mode = 0; mode < 2; ++mode) {
        CLamina fast = Random(bpp, s[0], s[1], ++seed);
        CLamina slow = fast;
        ASSERT_EQ(fast.fnIMG_Flip(mode), 0);
        ReferenceFlip(slow, mode);
        EXPECT_EQ(Snap(fast), Snap(slow))
            << "depth " << bpp << " size " << s[0] << "x" << s[1] << " mode " << mode;
      }
}

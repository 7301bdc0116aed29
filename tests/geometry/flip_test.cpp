// fnIMG_Flip: mirrors left-right (mode 0) and top-bottom (mode 1).
#include <gtest/gtest.h>

#include "../support/convert_pictures.h"

using pictures::FromRows;
using pictures::PixelsOf;
using pictures::Rgb;
using pictures::RowBytes;
using pictures::Rows;
using pictures::Snap;

namespace {

// Exchanging pixels one pair at a time through the public accessors: the reference every fast
// path must agree with. At 8 bits top-bottom whole rows move, so the padding goes with its row.
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
      std::uint8_t* a = RowBytes(img, r);
      std::uint8_t* b = RowBytes(img, h - 1 - r);
      for (int i = 0; i < stride; ++i) std::swap(a[i], b[i]);
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
  EXPECT_EQ(none.fnIMG_Flip(-1), 1);
  EXPECT_EQ(none.fnIMG_Flip(0), 2);
  CLamina img = FromRows(8, {{1, 2}, {3, 4}});
  const auto before = Snap(img);
  EXPECT_EQ(img.fnIMG_Flip(2), 1);
  EXPECT_EQ(img.fnIMG_Flip(-7), 1);
  EXPECT_TRUE(Snap(img) == before);
}

TEST(Flip, MirrorsOddWidthLeftRight) {
  CLamina img = FromRows(8, {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}});
  EXPECT_EQ(img.fnIMG_Flip(0), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{5, 4, 3, 2, 1}, {10, 9, 8, 7, 6}}));
}

TEST(Flip, MirrorsRowsTopBottom) {
  CLamina img = FromRows(24, {{Rgb(1, 2, 3), Rgb(4, 5, 6)},
                              {Rgb(7, 8, 9), Rgb(10, 11, 12)},
                              {Rgb(13, 14, 15), Rgb(16, 17, 18)}});
  EXPECT_EQ(img.fnIMG_Flip(1), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(13, 14, 15), Rgb(16, 17, 18)},
                                 {Rgb(7, 8, 9), Rgb(10, 11, 12)},
                                 {Rgb(1, 2, 3), Rgb(4, 5, 6)}}));
}

TEST(Flip, ExchangesTheMiddlePairThatSharesAByteAtFourBits) {
  CLamina img = FromRows(4, {{1, 2, 3, 4, 5, 6}});
  img.fnIMG_Flip(0);
  EXPECT_EQ(PixelsOf(img), (Rows{{6, 5, 4, 3, 2, 1}}));
  // High nibble first: pixels 0 and 1 of the row are 6 and 5.
  EXPECT_EQ(RowBytes(img, 0)[0], 0x65);
  EXPECT_EQ(RowBytes(img, 0)[1], 0x43);
  EXPECT_EQ(RowBytes(img, 0)[2], 0x21);
}

TEST(Flip, KeepsThePaddingNibbleOfAnOddFourBitRow) {
  CLamina img = FromRows(4, {{1, 2, 3}});
  RowBytes(img, 0)[1] |= 0x0A;  // the nibble after the last pixel
  img.fnIMG_Flip(0);
  EXPECT_EQ(RowBytes(img, 0)[0], 0x32);
  EXPECT_EQ(RowBytes(img, 0)[1], 0x1A);
}

TEST(Flip, ExchangesTheMiddlePairThatSharesAByteAtOneBit) {
  // Width 12: pixels 5 and 6 share the first byte; the four padding bits of the second byte stay.
  CLamina img = FromRows(1, {{1, 1, 0, 0, 0, 1, 0, 0, 1, 0, 1, 1}});
  RowBytes(img, 0)[1] |= 0x05;
  img.fnIMG_Flip(0);
  EXPECT_EQ(PixelsOf(img), (Rows{{1, 1, 0, 1, 0, 0, 1, 0, 0, 0, 1, 1}}));
  EXPECT_EQ(RowBytes(img, 0)[0], 0xD2);
  EXPECT_EQ(RowBytes(img, 0)[1], 0x35);
}

TEST(Flip, MirrorsAOneBitRowWhoseWidthSplitsAByte) {
  CLamina img = FromRows(1, {{1, 0, 0, 0, 0, 0, 0, 0, 0, 1}, {0, 1, 1, 0, 0, 0, 0, 0, 0, 0}});
  img.fnIMG_Flip(0);
  EXPECT_EQ(PixelsOf(img), (Rows{{1, 0, 0, 0, 0, 0, 0, 0, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 1, 1, 0}}));
  img.fnIMG_Flip(1);
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 0, 0, 0, 0, 0, 0, 1, 1, 0}, {1, 0, 0, 0, 0, 0, 0, 0, 0, 1}}));
}

TEST(Flip, KeepsTheFourthByteOfThirtyTwoBitPixelsInBothModes) {
  CLamina img = FromRows(32, {{Rgb(1, 2, 3), Rgb(4, 5, 6)}, {Rgb(7, 8, 9), Rgb(10, 11, 12)}});
  img.fnIMG_SetAlfa(0, 0, 10);
  img.fnIMG_SetAlfa(1, 0, 20);
  img.fnIMG_SetAlfa(0, 1, 30);
  img.fnIMG_SetAlfa(1, 1, 40);
  img.fnIMG_Flip(0);
  EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(4, 5, 6), Rgb(1, 2, 3)}, {Rgb(10, 11, 12), Rgb(7, 8, 9)}}));
  EXPECT_EQ(img.fnIMG_GetAlfa(0, 0), 10);
  EXPECT_EQ(img.fnIMG_GetAlfa(1, 0), 20);
  img.fnIMG_Flip(1);
  EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(10, 11, 12), Rgb(7, 8, 9)}, {Rgb(4, 5, 6), Rgb(1, 2, 3)}}));
  EXPECT_EQ(img.fnIMG_GetAlfa(0, 0), 10);
  EXPECT_EQ(img.fnIMG_GetAlfa(1, 0), 20);
  EXPECT_EQ(img.fnIMG_GetAlfa(0, 1), 30);
  EXPECT_EQ(img.fnIMG_GetAlfa(1, 1), 40);
}

TEST(Flip, TopBottomKeepsTheRowPaddingInPlaceAtTwentyFourBits) {
  // Width 1: three bytes of pixel, one of padding per row.
  CLamina img = FromRows(24, {{Rgb(1, 1, 1)}, {Rgb(2, 2, 2)}});
  RowBytes(img, 0)[3] = 0xAA;
  RowBytes(img, 1)[3] = 0xBB;
  img.fnIMG_Flip(1);
  EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(2, 2, 2)}, {Rgb(1, 1, 1)}}));
  EXPECT_EQ(RowBytes(img, 0)[3], 0xAA);
  EXPECT_EQ(RowBytes(img, 1)[3], 0xBB);
}

TEST(Flip, TopBottomMovesWholeRowsWithTheirPaddingAtEightBits) {
  CLamina img = FromRows(8, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  RowBytes(img, 0)[3] = 0xAA;
  RowBytes(img, 1)[3] = 0xCC;
  RowBytes(img, 2)[3] = 0xBB;
  img.fnIMG_Flip(1);
  EXPECT_EQ(PixelsOf(img), (Rows{{7, 8, 9}, {4, 5, 6}, {1, 2, 3}}));
  EXPECT_EQ(RowBytes(img, 0)[3], 0xBB);
  EXPECT_EQ(RowBytes(img, 1)[3], 0xCC);
  EXPECT_EQ(RowBytes(img, 2)[3], 0xAA);
}

TEST(Flip, MirrorsSixteenBitImagesInBothModes) {
  CLamina img = pictures::Sixteen({{0x0102, 0x0304, 0x0506}, {0x0708, 0x090A, 0x0B0C}});
  EXPECT_EQ(img.fnIMG_Flip(0), 0);
  EXPECT_EQ(pictures::Pixel16(img, 0, 0), 0x0506u);
  EXPECT_EQ(pictures::Pixel16(img, 1, 0), 0x0304u);
  EXPECT_EQ(pictures::Pixel16(img, 2, 0), 0x0102u);
  EXPECT_EQ(pictures::Pixel16(img, 0, 1), 0x0B0Cu);
  EXPECT_EQ(img.fnIMG_Flip(1), 0);
  EXPECT_EQ(pictures::Pixel16(img, 0, 0), 0x0B0Cu);
  EXPECT_EQ(pictures::Pixel16(img, 2, 0), 0x0708u);
  EXPECT_EQ(pictures::Pixel16(img, 0, 1), 0x0506u);
  EXPECT_EQ(pictures::Pixel16(img, 2, 1), 0x0102u);
}

TEST(Flip, TwiceRestoresAndBothModesTurnHalfAround) {
  CLamina img = FromRows(4, {{1, 2, 3}, {4, 5, 6}});
  const auto before = Snap(img);
  img.fnIMG_Flip(0);
  img.fnIMG_Flip(0);
  EXPECT_TRUE(Snap(img) == before);
  img.fnIMG_Flip(1);
  img.fnIMG_Flip(0);
  EXPECT_EQ(PixelsOf(img), (Rows{{6, 5, 4}, {3, 2, 1}}));
}

TEST(Flip, ChangesNothingButPixels) {
  CLamina img = FromRows(8, {{1, 2}, {3, 4}}, {pictures::Quad(9, 8, 7, 6)});
  img.fnIMG_SetFileName(L"a.bmp");
  const auto before = Snap(img);
  img.fnIMG_Flip(1);
  const auto after = Snap(img);
  EXPECT_EQ(after.header, before.header);
  EXPECT_EQ(after.palette, before.palette);
  EXPECT_EQ(after.name, before.name);
}

TEST(Flip, AcceptsAnImageWithoutRows) {
  CLamina img(nullptr, nullptr, 3, 0, 8);
  EXPECT_EQ(img.fnIMG_Flip(0), 0);
  EXPECT_EQ(img.fnIMG_Flip(1), 0);
}

TEST(Flip, AgreesWithPairwiseExchangeOnRandomImages) {
  const int depths[] = {1, 4, 8, 24, 32};
  const int sizes[][2] = {{1, 1}, {7, 3}, {13, 5}, {31, 4}, {33, 7}, {67, 9}, {250, 3}};
  unsigned seed = 1;
  for (int bpp : depths)
    for (const auto& s : sizes)
      for (int mode = 0; mode < 2; ++mode) {
        CLamina fast = pictures::Random(bpp, s[0], s[1], ++seed);
        CLamina slow = fast;
        ASSERT_EQ(fast.fnIMG_Flip(mode), 0);
        ReferenceFlip(slow, mode);
        EXPECT_TRUE(Snap(fast) == Snap(slow))
            << "depth " << bpp << " size " << s[0] << "x" << s[1] << " mode " << mode;
      }
}

// fnIMG_Interlace and fnIMG_DeInterlace: alternating rows or columns of two images, and keeping
// every second row or column of one.
#include <gtest/gtest.h>

#include "../support/convert_pictures.h"
#include "platform/memory_internal.h"

using pictures::FromRows;
using pictures::PixelsOf;
using pictures::Quad;
using pictures::Rgb;
using pictures::RowBytes;
using pictures::Rows;
using pictures::Snap;

// ---- Interlace -------------------------------------------------------------------------------

TEST(Interlace, ChecksInTheirOrder) {
  CLamina self;
  CLamina a8 = FromRows(8, {{1, 2}});
  CLamina b8 = FromRows(8, {{3, 4}, {5, 6}});
  CLamina b8wide = FromRows(8, {{3, 4, 5}});
  CLamina b24 = FromRows(24, {{1, 2}});
  CLamina none(nullptr, nullptr, 2, 1, 16);
  CLamina sixteen = pictures::Sixteen({{1, 2}});
  const auto before = Snap(self);
  EXPECT_EQ(self.fnIMG_Interlace(2, nullptr, nullptr), 1);
  EXPECT_EQ(self.fnIMG_Interlace(-1, &a8, &b8), 1);
  EXPECT_EQ(self.fnIMG_Interlace(0, nullptr, &b8), 2);
  EXPECT_EQ(self.fnIMG_Interlace(1, &a8, nullptr), 2);
  EXPECT_EQ(self.fnIMG_Interlace(0, &sixteen, &b24), 3);
  EXPECT_EQ(self.fnIMG_Interlace(0, &a8, &none), 3);
  EXPECT_EQ(none.fnIMG_Interlace(0, &a8, &b8), 3);  // the object's own depth counts too
  EXPECT_EQ(self.fnIMG_Interlace(0, &a8, &b24), 4);
  EXPECT_EQ(self.fnIMG_Interlace(0, &a8, &b8wide), 5);
  EXPECT_EQ(self.fnIMG_Interlace(1, &a8, &b8), 6);
  EXPECT_TRUE(Snap(self) == before);
  EXPECT_EQ(self.fnIMG_Interlace(1, &a8, &b8wide), 0);  // columns: widths may differ
  EXPECT_EQ(self.fnIMG_Interlace(0, &a8, &b8), 0);      // rows: heights may differ
}

TEST(Interlace, AlternatesRowsAndAppendsTheTallerImagesRest) {
  CLamina self;
  CLamina a = FromRows(8, {{1, 1}, {2, 2}, {3, 3}});
  CLamina b = FromRows(8, {{7, 7}, {8, 8}});
  EXPECT_EQ(self.fnIMG_Interlace(0, &a, &b), 0);
  EXPECT_EQ(PixelsOf(self), (Rows{{1, 1}, {7, 7}, {2, 2}, {8, 8}, {3, 3}}));
  EXPECT_EQ(self.fnIMG_Interlace(0, &b, &a), 0);
  EXPECT_EQ(PixelsOf(self), (Rows{{7, 7}, {1, 1}, {8, 8}, {2, 2}, {3, 3}}));
}

TEST(Interlace, AlternatesColumnsAndAppendsTheWiderImagesRest) {
  CLamina self;
  CLamina a = FromRows(4, {{1, 2}, {3, 4}});
  CLamina b = FromRows(4, {{9, 10, 11, 12}, {13, 14, 15, 5}});
  EXPECT_EQ(self.fnIMG_Interlace(1, &a, &b), 0);
  EXPECT_EQ(PixelsOf(self), (Rows{{1, 9, 2, 10, 11, 12}, {3, 13, 4, 14, 15, 5}}));
}

TEST(Interlace, ZeroesTheUnusedBitsOfOneBitRows) {
  CLamina self;
  CLamina a = FromRows(1, {{1, 0, 1, 1, 1, 1, 1, 1, 0, 1}});
  CLamina b = FromRows(1, {{0, 1, 1, 1, 1, 1, 1, 1, 1, 1}});
  RowBytes(a, 0)[1] |= 0x3F;  // junk in the padding bits of the sources
  RowBytes(b, 0)[1] |= 0x3F;
  EXPECT_EQ(self.fnIMG_Interlace(0, &a, &b), 0);
  EXPECT_EQ(PixelsOf(self), (Rows{{1, 0, 1, 1, 1, 1, 1, 1, 0, 1}, {0, 1, 1, 1, 1, 1, 1, 1, 1, 1}}));
  EXPECT_EQ(RowBytes(self, 0)[1], 0x40);
  EXPECT_EQ(RowBytes(self, 1)[1], 0xC0);
}

TEST(Interlace, TakesThePaletteFromTheObjectNotFromTheSources) {
  CLamina self = FromRows(8, {{0}}, {Quad(1, 2, 3), Quad(4, 5, 6), Quad(7, 8, 9)});
  CLamina a = FromRows(1, {{0, 1}}, {Quad(100, 100, 100), Quad(200, 200, 200)});
  CLamina b = FromRows(1, {{1, 0}}, {Quad(100, 100, 100), Quad(200, 200, 200)});
  EXPECT_EQ(self.fnIMG_Interlace(0, &a, &b), 0);
  const auto palette = pictures::PaletteOf(self);
  ASSERT_EQ(palette.size(), 2u);
  EXPECT_TRUE(pictures::SameQuad(palette[0], Quad(1, 2, 3)));
  EXPECT_TRUE(pictures::SameQuad(palette[1], Quad(4, 5, 6)));
}

TEST(Interlace, GivesTheConstructorsEntriesWhereTheObjectHasNone) {
  CLamina self = FromRows(24, {{0}});
  CLamina a = FromRows(4, {{3}}, {Quad(50, 50, 50)});
  CLamina b = FromRows(4, {{5}});
  EXPECT_EQ(self.fnIMG_Interlace(0, &a, &b), 0);
  const auto palette = pictures::PaletteOf(self);
  ASSERT_EQ(palette.size(), 16u);
  EXPECT_TRUE(pictures::SameQuad(palette[0], Quad(0, 0, 0)));
  EXPECT_TRUE(pictures::SameQuad(palette[15], Quad(15, 15, 15)));

  CLamina small = FromRows(1, {{0}}, {Quad(9, 9, 9, 9), Quad(8, 8, 8, 8)});
  CLamina a8 = FromRows(8, {{3}});
  CLamina b8 = FromRows(8, {{4}});
  EXPECT_EQ(small.fnIMG_Interlace(0, &a8, &b8), 0);
  const auto wide = pictures::PaletteOf(small);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_TRUE(pictures::SameQuad(wide[0], Quad(9, 9, 9, 9)));
  EXPECT_TRUE(pictures::SameQuad(wide[1], Quad(8, 8, 8, 8)));
  EXPECT_TRUE(pictures::SameQuad(wide[2], Quad(2, 2, 2)));
  EXPECT_TRUE(pictures::SameQuad(wide[200], Quad(200, 200, 200)));
}

TEST(Interlace, NamesTheResultLikeANewImageAndClearsFourthBytes) {
  CLamina self;
  self.fnIMG_SetFileName(L"mine.bmp");
  CLamina a = FromRows(32, {{Rgb(1, 2, 3)}});
  CLamina b = FromRows(32, {{Rgb(4, 5, 6)}});
  a.fnIMG_SetAlfa(static_cast<unsigned char>(99));
  b.fnIMG_SetAlfa(static_cast<unsigned char>(99));
  EXPECT_EQ(self.fnIMG_Interlace(1, &a, &b), 0);
  EXPECT_EQ(pictures::NameOf(self), L"SIN_NOMBRE.RAW");
  EXPECT_EQ(PixelsOf(self), (Rows{{Rgb(1, 2, 3), Rgb(4, 5, 6)}}));
  EXPECT_EQ(self.fnIMG_GetAlfa(0, 0), 0);
  EXPECT_EQ(self.fnIMG_GetAlfa(1, 0), 0);
}

TEST(Interlace, MayUseTheObjectItselfAsASource) {
  CLamina self = FromRows(8, {{1, 2}, {3, 4}});
  CLamina b = FromRows(8, {{5, 6}});
  EXPECT_EQ(self.fnIMG_Interlace(0, &self, &b), 0);
  EXPECT_EQ(PixelsOf(self), (Rows{{1, 2}, {5, 6}, {3, 4}}));
  EXPECT_EQ(self.fnIMG_Interlace(1, &self, &self), 0);
  EXPECT_EQ(PixelsOf(self), (Rows{{1, 1, 2, 2}, {5, 5, 6, 6}, {3, 3, 4, 4}}));
}

TEST(Interlace, LeavesTheObjectUntouchedWhenMemoryRunsOut) {
  CLamina self = FromRows(8, {{9}});
  CLamina a = FromRows(8, {{1, 2}});
  CLamina b = FromRows(8, {{3, 4}});
  const auto before = Snap(self);
  lamina::platform::FailAllocationsAfter(0);
  const int result = self.fnIMG_Interlace(0, &a, &b);
  lamina::platform::FailAllocationsAfter(-1);
  EXPECT_EQ(result, 7);
  EXPECT_TRUE(Snap(self) == before);
}

// ---- De-interlace ----------------------------------------------------------------------------

TEST(DeInterlace, ChecksDepthThenModeThenField) {
  CLamina sixteen = pictures::Sixteen({{1, 2}});
  EXPECT_EQ(sixteen.fnIMG_DeInterlace(5, 7), 1);
  CLamina img = FromRows(8, {{1, 2}, {3, 4}});
  const auto before = Snap(img);
  EXPECT_EQ(img.fnIMG_DeInterlace(2, 7), 2);
  EXPECT_EQ(img.fnIMG_DeInterlace(-1, 1), 2);
  EXPECT_EQ(img.fnIMG_DeInterlace(0, 0), 3);
  EXPECT_EQ(img.fnIMG_DeInterlace(1, 3), 3);
  EXPECT_TRUE(Snap(img) == before);
}

TEST(DeInterlace, KeepsEvenOrOddRows) {
  const Rows five = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}};
  CLamina first = FromRows(8, five);
  EXPECT_EQ(first.fnIMG_DeInterlace(0, 1), 0);
  EXPECT_EQ(PixelsOf(first), (Rows{{0, 0}, {2, 2}, {4, 4}}));
  CLamina second = FromRows(8, five);
  EXPECT_EQ(second.fnIMG_DeInterlace(0, 2), 0);
  EXPECT_EQ(PixelsOf(second), (Rows{{1, 1}, {3, 3}}));
}

TEST(DeInterlace, OneRowLeavesNothingForTheSecondField) {
  CLamina img = FromRows(24, {{Rgb(1, 2, 3), Rgb(4, 5, 6)}});
  EXPECT_EQ(img.fnIMG_DeInterlace(0, 2), 0);
  EXPECT_EQ(img.fnIMG_GetRows(), 0);
  EXPECT_EQ(img.fnIMG_GetColumns(), 2);
  EXPECT_EQ(img.fnIMG_GetBitmapSize(), 0);
}

TEST(DeInterlace, KeepsEvenOrOddColumnsOfSubBytePixels) {
  CLamina four = FromRows(4, {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}});
  EXPECT_EQ(four.fnIMG_DeInterlace(1, 1), 0);
  EXPECT_EQ(PixelsOf(four), (Rows{{1, 3, 5}, {6, 8, 10}}));
  EXPECT_EQ(RowBytes(four, 0)[1], 0x50);
  CLamina one = FromRows(1, {{1, 0, 1, 1, 0, 0, 1, 0, 1}});
  EXPECT_EQ(one.fnIMG_DeInterlace(1, 2), 0);
  EXPECT_EQ(PixelsOf(one), (Rows{{0, 1, 0, 0}}));
}

TEST(DeInterlace, KeepsNameAndPaletteAndClearsFourthBytes) {
  CLamina pal = FromRows(8, {{1}, {2}, {3}}, {Quad(1, 2, 3), Quad(4, 5, 6, 7)});
  pal.fnIMG_SetFileName(L"field.bmp");
  EXPECT_EQ(pal.fnIMG_DeInterlace(0, 1), 0);
  EXPECT_EQ(pictures::NameOf(pal), L"field.bmp");
  EXPECT_TRUE(pictures::SameQuad(pictures::PaletteOf(pal)[1], Quad(4, 5, 6, 7)));
  EXPECT_EQ(PixelsOf(pal), (Rows{{1}, {3}}));

  CLamina rgba = FromRows(32, {{Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9)}});
  rgba.fnIMG_SetAlfa(static_cast<unsigned char>(77));
  EXPECT_EQ(rgba.fnIMG_DeInterlace(1, 1), 0);
  EXPECT_EQ(PixelsOf(rgba), (Rows{{Rgb(1, 2, 3), Rgb(7, 8, 9)}}));
  EXPECT_EQ(rgba.fnIMG_GetAlfa(0, 0), 0);
  EXPECT_EQ(rgba.fnIMG_GetAlfa(1, 0), 0);
}

TEST(DeInterlace, LeavesTheImageUntouchedWhenMemoryRunsOut) {
  CLamina img = FromRows(8, {{1, 2}, {3, 4}});
  const auto before = Snap(img);
  lamina::platform::FailAllocationsAfter(0);
  const int result = img.fnIMG_DeInterlace(1, 1);
  lamina::platform::FailAllocationsAfter(-1);
  EXPECT_EQ(result, 4);
  EXPECT_TRUE(Snap(img) == before);
}

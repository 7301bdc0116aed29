// fnIMG_Interlace and fnIMG_DeInterlace: alternating rows or columns of two images, and keeping
// every second row or column of one.
#include "support/pictures.h"

using namespace lamina_test;

TEST(Interlace, ChecksInTheirOrder) {
  CLamina self;
  CLamina a8 = FromRows(8, {{1, 2}});
  CLamina b8 = FromRows(8, {{3, 4}, {5, 6}});
  CLamina b8wide = FromRows(8, {{3, 4, 5}});
  CLamina b24 = FromRows(24, {{1, 2}});
  CLamina none(nullptr, nullptr, 2, 1, 16);
  CLamina sixteen = Sixteen({{1, 2}});
  const Snapshot before = Snap(self);
  EXPECT_EQ(self.fnIMG_Interlace(2, nullptr, nullptr), 1);
  EXPECT_EQ(self.fnIMG_Interlace(0, nullptr, &b8), 2);
  EXPECT_EQ(self.fnIMG_Interlace(0, &sixteen, &b24), 3);
  EXPECT_EQ(none.fnIMG_Interlace(0, &a8, &b8), 3);  // the object's own depth counts too
  EXPECT_EQ(self.fnIMG_Interlace(0, &a8, &b24), 4);
  EXPECT_EQ(self.fnIMG_Interlace(0, &a8, &b8wide), 5);
  EXPECT_EQ(self.fnIMG_Interlace(1, &a8, &b8), 6);
  EXPECT_EQ(Snap(self), before);
  EXPECT_EQ(self.fnIMG_Interlace(1, &a8, &b8wide), 0);  // columns: widths may differ
  EXPECT_EQ(self.fnIMG_Interlace(0, &a8, &b8), 0);      // rows: heights may differ
}

TEST(Interlace, AlternatesRowsOrColumnsAndAppendsTheLargerImagesRest) {
  CLamina self;
  CLamina a = FromRows(8, {{1, 1}, {2, 2}, {3, 3}});
  CLamina b = FromRows(8, {{7, 7}, {8, 8}});
  EXPECT_EQ(self.fnIMG_Interlace(0, &a, &b), 0);
  EXPECT_EQ(PixelsOf(self), (Rows{{1, 1}, {7, 7}, {2, 2}, {8, 8}, {3, 3}}));
  EXPECT_EQ(self.fnIMG_Interlace(0, &b, &a), 0);
  EXPECT_EQ(PixelsOf(self), (Rows{{7, 7}, {1, 1}, {8, 8}, {2, 2}, {3, 3}}));
  CLamina c = FromRows(4, {{1, 2}, {3, 4}});
  CLamina d = FromRows(4, {{9, 10, 11, 12}, {13, 14, 15, 5}});
  EXPECT_EQ(self.fnIMG_Interlace(1, &c, &d), 0);
  EXPECT_EQ(PixelsOf(self), (Rows{{1, 9, 2, 10, 11, 12}, {3, 13, 4, 14, 15, 5}}));
  // The object itself may be a source.
  CLamina own = FromRows(8, {{1, 2}, {3, 4}});
  CLamina e = FromRows(8, {{5, 6}});
  EXPECT_EQ(own.fnIMG_Interlace(0, &own, &e), 0);
  EXPECT_EQ(PixelsOf(own), (Rows{{1, 2}, {5, 6}, {3, 4}}));
  EXPECT_EQ(own.fnIMG_Interlace(1, &own, &own), 0);
  EXPECT_EQ(PixelsOf(own), (Rows{{1, 1, 2, 2}, {5, 5, 6, 6}, {3, 3, 4, 4}}));
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

TEST(Interlace, TakesThePaletteFromTheObjectAndTheConstructorsEntriesBeyondIt) {
  CLamina self = FromRows(8, {{0}}, {Quad(1, 2, 3), Quad(4, 5, 6), Quad(7, 8, 9)});
  CLamina a = FromRows(1, {{0, 1}}, {Quad(100, 100, 100), Quad(200, 200, 200)});
  CLamina b = FromRows(1, {{1, 0}}, {Quad(100, 100, 100), Quad(200, 200, 200)});
  EXPECT_EQ(self.fnIMG_Interlace(0, &a, &b), 0);
  EXPECT_EQ(Packed(PaletteOf(self)), Packed({Quad(1, 2, 3), Quad(4, 5, 6)}));

  CLamina rgb = FromRows(24, {{0}});  // no palette at all
  CLamina a4 = FromRows(4, {{3}}, {Quad(50, 50, 50)});
  CLamina b4 = FromRows(4, {{5}});
  EXPECT_EQ(rgb.fnIMG_Interlace(0, &a4, &b4), 0);
  std::vector<RGBQUAD> expected(256);
  for (int i = 0; i < 256; ++i) expected[i] = Quad(i, i, i);
  EXPECT_EQ(Packed(PaletteOf(rgb)), Packed({expected.begin(), expected.begin() + 16}));
}

TEST(Interlace, NamesTheResultLikeANewImageAndClearsFourthBytes) {
  CLamina self;
  self.fnIMG_SetFileName(L"mine.bmp");
  CLamina a = FromRows(32, {{Rgb(1, 2, 3)}});
  CLamina b = FromRows(32, {{Rgb(4, 5, 6)}});
  a.fnIMG_SetAlfa(static_cast<unsigned char>(99));
  b.fnIMG_SetAlfa(static_cast<unsigned char>(99));
  EXPECT_EQ(self.fnIMG_Interlace(1, &a, &b), 0);
  EXPECT_EQ(NameOf(self), "SIN_NOMBRE.RAW");
  EXPECT_EQ(PixelsOf(self), (Rows{{Rgb(1, 2, 3), Rgb(4, 5, 6)}}));
  EXPECT_EQ(self.fnIMG_GetAlfa(0, 0) | self.fnIMG_GetAlfa(1, 0), 0);
}

// ---- De-interlace ----------------------------------------------------------------------------

TEST(DeInterlace, ChecksDepthThenModeThenField) {
  CLamina sixteen = Sixteen({{1, 2}});
  EXPECT_EQ(sixteen.fnIMG_DeInterlace(5, 7), 1);
  CLamina img = FromRows(8, {{1, 2}, {3, 4}});
  const Snapshot before = Snap(img);
  EXPECT_EQ(img.fnIMG_DeInterlace(2, 7), 2);
  EXPECT_EQ(img.fnIMG_DeInterlace(0, 0), 3);
  EXPECT_EQ(Snap(img), before);
}

TEST(DeInterlace, KeepsEvenOrOddRowsOrColumns) {
  const struct {
    int bpp, mode, field;
    Rows before, after;
  } cases[] = {
      {8, 0, 1, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}, {{0, 0}, {2, 2}, {4, 4}}},
      {8, 0, 2, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}, {{1, 1}, {3, 3}}},
      {4, 1, 1, {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}, {{1, 3, 5}, {6, 8, 10}}},
      {1, 1, 2, {{1, 0, 1, 1, 0, 0, 1, 0, 1}}, {{0, 1, 0, 0}}},
  };
  for (const auto& c : cases) {
    CLamina img = FromRows(c.bpp, c.before);
    EXPECT_EQ(img.fnIMG_DeInterlace(c.mode, c.field), 0);
    EXPECT_EQ(PixelsOf(img), c.after) << c.bpp << " " << c.mode << " " << c.field;
    if (c.bpp == 4) {
      EXPECT_EQ(RowBytes(img, 0)[1], 0x50);  // the nibble after the last pixel is zero
    }
  }
  // One row leaves nothing for the second field.
  CLamina one = FromRows(24, {{Rgb(1, 2, 3), Rgb(4, 5, 6)}});
  EXPECT_EQ(one.fnIMG_DeInterlace(0, 2), 0);
  EXPECT_EQ(one.fnIMG_GetRows(), 0);
  EXPECT_EQ(one.fnIMG_GetColumns(), 2);
  EXPECT_EQ(one.fnIMG_GetBitmapSize(), 0);
}

TEST(DeInterlace, KeepsNameAndPaletteAndClearsFourthBytes) {
  CLamina pal = FromRows(8, {{1}, {2}, {3}}, {Quad(1, 2, 3), Quad(4, 5, 6, 7)});
  pal.fnIMG_SetFileName(L"field.bmp");
  EXPECT_EQ(pal.fnIMG_DeInterlace(0, 1), 0);
  EXPECT_EQ(NameOf(pal), "field.bmp");
  EXPECT_TRUE(Same(Entry(pal, 1), Quad(4, 5, 6, 7)));
  EXPECT_EQ(PixelsOf(pal), (Rows{{1}, {3}}));
  CLamina rgba = FromRows(32, {{Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9)}});
  rgba.fnIMG_SetAlfa(static_cast<unsigned char>(77));
  EXPECT_EQ(rgba.fnIMG_DeInterlace(1, 1), 0);
  EXPECT_EQ(PixelsOf(rgba), (Rows{{Rgb(1, 2, 3), Rgb(7, 8, 9)}}));
  EXPECT_EQ(rgba.fnIMG_GetAlfa(0, 0) | rgba.fnIMG_GetAlfa(1, 0), 0);
}

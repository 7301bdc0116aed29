// PGM files: the header grammar (with the separators and comments other programs write), the
// palette of maxval + 1 entries, files from netpbm, ImageMagick and GIMP, and every damaged header
// refused with the image left alone.
#include <gtest/gtest.h>

#include "files_test_util.h"
#include "lamina/cfile.h"

namespace {

using namespace files_test;

const Bytes kSix = {10, 20, 30, 40, 50, 60};

// Loads through the buffer form; the result code and the image.
int FromBuffer(CLamina& img, Bytes data) {
  return img.fnIMG_LoadPGMFromBuffer(data.empty() ? nullptr : data.data(),
                                     static_cast<int>(data.size()));
}

// Loads the same bytes from a file; the file forms' codes are the buffer form's plus one.
int FromFile(CLamina& img, const Bytes& data) {
  TempDir dir;
  WriteAll(dir / "t.pgm", data);
  return img.fnIMG_LoadPGM(CString((dir / "t.pgm").string()));
}

void Expect3x2(CLamina& img) {
  EXPECT_EQ(img.fnIMG_GetColumns(), 3);
  EXPECT_EQ(img.fnIMG_GetRows(), 2);
  EXPECT_EQ(TopDown(img), kSix);
}

// ---- The grammar ---------------------------------------------------------------------------

TEST(PgmGrammar, PlainHeaderGivesPaddedRowsTopFirst) {
  CLamina img;
  ASSERT_EQ(FromBuffer(img, Cat(B("P5\n3 2\n255\n"), kSix)), 0);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 8);
  EXPECT_EQ(img.fnIMG_GetColorsUsed(), 256);
  EXPECT_EQ(img.fnIMG_GetBitmapSize(), 8);  // stride 4
  EXPECT_EQ(img.fnIMG_GetPixel(0, 0), 10u);
  EXPECT_EQ(img.fnIMG_GetPixel(2, 1), 60u);
  EXPECT_EQ(StoredRow(img, 0), Bytes({10, 20, 30, 0}));
  EXPECT_EQ(StoredRow(img, 1), Bytes({40, 50, 60, 0}));
  EXPECT_EQ(lamina::BlockAccess::CachedStride(img), 4);
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  EXPECT_EQ(p.lpBits - p.lpDib, 40 + 1024);
}

TEST(PgmGrammar, CommentsBetweenFieldsAreSkipped) {
  const char* headers[] = {
      "P5\n# before width\n3 2\n# before maxval\n255\n",
      "P5\n3 # after width\n2\n255\n",
      "P5\n3#glued to the width\n2 #\n#\n255\n",
      "P5 3 2 255\n",
  };
  for (const char* h : headers) {
    CLamina img;
    ASSERT_EQ(FromBuffer(img, Cat(B(h), kSix)), 0) << h;
    Expect3x2(img);
  }
}

TEST(PgmGrammar, NumbersEndAtAnyWhitespace) {
  const char* headers[] = {
      "P5\n3\n2\n255\n",       // width ended by a line feed
      "P5\t3\t2\t255\n",       // tabs
      "P5\r\n3 2\r\n255\r\n",  // carriage return and line feed: the pixels start after the LF
      "P5\n3 2\n255 ",         // one space after maxval, as netpbm allows
      "P5\n  3   2\n\n 255\n",
  };
  for (const char* h : headers) {
    CLamina img;
    ASSERT_EQ(FromBuffer(img, Cat(B(h), kSix)), 0) << h;
    Expect3x2(img);
  }
}

TEST(PgmGrammar, PixelBytesThatLookLikeWhitespaceAreData) {
  // After the one byte that ends maxval, a line feed or space is a pixel.
  CLamina img;
  ASSERT_EQ(FromBuffer(img, Cat(B("P5\n3 2\n255\n"), Bytes({10, 32, 13, 10, 9, 35}))), 0);
  EXPECT_EQ(TopDown(img), Bytes({10, 32, 13, 10, 9, 35}));
  // A lone carriage return ends maxval; a line feed right after it belongs to the line end.
  CLamina cr;
  ASSERT_EQ(FromBuffer(cr, Cat(B("P5\n2 1\n255\r"), Bytes({13, 7}))), 0);
  EXPECT_EQ(TopDown(cr), Bytes({13, 7}));
  ASSERT_EQ(FromBuffer(cr, Cat(B("P5\n2 1\n255\r"), Bytes({10, 7, 8}))), 0);
  EXPECT_EQ(TopDown(cr), Bytes({7, 8}));
}

TEST(PgmGrammar, BytesBeforeTheMagicAreSkipped) {
  CLamina img;
  ASSERT_EQ(FromBuffer(img, Cat(B("junk P5\n3 2\n255\n"), kSix)), 0);
  Expect3x2(img);
  // A comment before the magic: the byte after it stands for the "P" untested.
  CLamina quirk;
  ASSERT_EQ(FromBuffer(quirk, Cat(B("# made by hand\n\nQ5\n3 2\n255\n"), kSix)), 0);
  Expect3x2(quirk);
}

TEST(PgmGrammar, SmallMaxvalGivesAShortUnscaledPalette) {
  CLamina img;
  ASSERT_EQ(FromBuffer(img, Cat(B("P5\n5 1\n15\n"), Bytes({0, 3, 7, 15, 9}))), 0);
  EXPECT_EQ(img.fnIMG_GetColorsUsed(), 16);
  EXPECT_EQ(img.fnIMG_GetPaletteSize(), 64);
  RGBQUAD pal[16];
  ASSERT_EQ(img.fnIMG_GetPalette(pal), 0);
  EXPECT_EQ(pal[15].rgbRed, 15);
  EXPECT_EQ(pal[15].rgbGreen, 15);
  EXPECT_EQ(pal[15].rgbBlue, 15);
  EXPECT_EQ(img.fnIMG_GetBitmapSize(), 8);  // stride(5, 8) = 8
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  EXPECT_EQ(p.lpBits - p.lpDib, 40 + 64);
  EXPECT_EQ(GlobalSize(GlobalHandle(p.lpDib)), 40u + 64u + 8u);
  EXPECT_EQ(TopDown(img), Bytes({0, 3, 7, 15, 9}));
}

// ---- Files from other programs -------------------------------------------------------------

TEST(PgmFiles, NetpbmRamps) {
  CLamina img;
  ASSERT_EQ(img.fnIMG_LoadPGM(CString(Data("pgm/netpbm_ramp_7x5.pgm").string())), 0);
  EXPECT_EQ(img.fnIMG_GetColumns(), 7);
  EXPECT_EQ(img.fnIMG_GetRows(), 5);
  const Bytes row = {0, 42, 85, 127, 170, 212, 255};
  Bytes all;
  for (int i = 0; i < 5; ++i) all = Cat(all, row);
  EXPECT_EQ(TopDown(img), all);
  EXPECT_EQ(NameOf(img), "netpbm_ramp_7x5.pgm");

  CLamina small;
  ASSERT_EQ(small.fnIMG_LoadPGM(CString(Data("pgm/netpbm_ramp_6x4_maxval15.pgm").string())), 0);
  EXPECT_EQ(small.fnIMG_GetColorsUsed(), 16);
  EXPECT_EQ(small.fnIMG_GetPixel(0, 0), 0u);
  EXPECT_EQ(small.fnIMG_GetPixel(5, 1), 5u);
  EXPECT_EQ(small.fnIMG_GetPixel(2, 3), 15u);
}

TEST(PgmFiles, ImageMagickWithCommentAndDepth) {
  CLamina img;
  ASSERT_EQ(img.fnIMG_LoadPGM(CString(Data("pgm/imagemagick_comment_5x3.pgm").string())), 0);
  EXPECT_EQ(TopDown(img),
            Bytes({10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 250}));
  CLamina flop;
  ASSERT_EQ(flop.fnIMG_LoadPGM(CString(Data("pgm/imagemagick_flop_5x3.pgm").string())), 0);
  EXPECT_EQ(TopDown(flop),
            Bytes({50, 40, 30, 20, 10, 100, 90, 80, 70, 60, 250, 140, 130, 120, 110}));
  CLamina four;
  ASSERT_EQ(four.fnIMG_LoadPGM(CString(Data("pgm/imagemagick_depth4_5x3.pgm").string())), 0);
  EXPECT_EQ(four.fnIMG_GetColorsUsed(), 16);
  EXPECT_EQ(TopDown(four), Bytes({0, 1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 7, 7, 8, 14}));
}

TEST(PgmFiles, GimpHeader) {
  CLamina img;
  ASSERT_EQ(img.fnIMG_LoadPGM(CString(Data("pgm/gimp_5x4.pgm").string())), 0);
  EXPECT_EQ(img.fnIMG_GetColumns(), 5);
  EXPECT_EQ(img.fnIMG_GetRows(), 4);
  EXPECT_EQ(TopDown(img), Bytes({0,   1,   2,   3,   4,   64,  65,  66,  67,  68,
                                 128, 129, 130, 131, 132, 252, 253, 254, 255, 10}));
}

TEST(PgmFiles, PlainAndSixteenBitFilesAreRefused) {
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  const Bytes block = Take(img).block;
  EXPECT_EQ(img.fnIMG_LoadPGM(CString(Data("pgm/netpbm_plain_3x2.pgm").string())), 2);
  EXPECT_EQ(NameOf(img), "netpbm_plain_3x2.pgm");  // named before the scan
  EXPECT_EQ(img.fnIMG_LoadPGM(CString(Data("pgm/netpbm_16bit_4x2.pgm").string())), 5);
  const Bytes plain = ReadAll(Data("pgm/netpbm_plain_3x2.pgm"));
  const Bytes wide = ReadAll(Data("pgm/netpbm_16bit_4x2.pgm"));
  img.fnIMG_SetFileName(CString("x.y"));
  EXPECT_EQ(FromBuffer(img, plain), 1);
  EXPECT_EQ(FromBuffer(img, wide), 4);
  EXPECT_EQ(NameOf(img), "x.y");
  EXPECT_EQ(Take(img).block, block);
}

// ---- Damaged headers -----------------------------------------------------------------------

struct Damaged {
  const char* header;
  int bufferCode;
};

TEST(PgmDamaged, EachFaultHasItsCodeAndLeavesTheImage) {
  const Damaged cases[] = {
      {"P2\n3 2\n255\n", 1},         {"P5\n3x 2\n255\n", 3},
      {"P5\n-3 2\n255\n", 3},        {"P5\n3 2\n2a5\n", 3},
      {"P5\n3 2\n255#c\n", 3},  // a comment cannot end maxval: its end marks the pixels
      {"P5\n3 2\n0\n", 4},           {"P5\n3 2\n256\n", 4},
      {"P5\n3 2\n65535\n", 4},       {"P5\n0 2\n255\n", 5},
      {"P5\n3 0\n255\n", 5},         {"P5\n99999999999999999999 2\n255\n", 5},
      {"P5\n65536 65536\n255\n", 5},  // four gigabytes of pixels
  };
  for (const Damaged& c : cases) {
    const Bytes data = Cat(B(c.header), kSix);
    CLamina img = Gray8(2, 2, {1, 2, 3, 4});
    const Snapshot before = Take(img);
    EXPECT_EQ(FromBuffer(img, data), c.bufferCode) << c.header;
    EXPECT_EQ(Take(img), before);
    EXPECT_EQ(FromFile(img, data), c.bufferCode + 1) << c.header;
    EXPECT_EQ(Take(img).block, before.block);
    EXPECT_EQ(NameOf(img), "t.pgm");
  }
}

TEST(PgmDamaged, EveryTruncationIsRefused) {
  const Bytes whole = Cat(B("P5\n# c\n3 2\n# d\n255\n"), kSix);
  const std::size_t headerEnd = whole.size() - kSix.size();
  for (std::size_t n = 0; n < whole.size(); ++n) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
    CLamina img = Gray8(2, 2, {1, 2, 3, 4});
    const Bytes block = Take(img).block;
    // Inside the header: 2 (buffer) / 3 (file); inside the pixels: 6 / 7.
    const int expected = n < headerEnd ? 2 : 6;
    EXPECT_EQ(FromBuffer(img, cut), expected) << n;
    EXPECT_EQ(FromFile(img, cut), expected + 1) << n;
    EXPECT_EQ(Take(img).block, block);
  }
}

TEST(PgmDamaged, CommentRunningToTheEnd) {
  CLamina img;
  EXPECT_EQ(FromBuffer(img, B("P5\n3 2\n# no end")), 2);
  EXPECT_EQ(FromBuffer(img, B("# only a comment")), 2);
  EXPECT_EQ(FromBuffer(img, B("no magic here")), 2);
  EXPECT_EQ(img.fnIMG_LoadPGMFromBuffer(nullptr, 100), 2);
}

// ---- File forms ----------------------------------------------------------------------------

TEST(PgmFileForms, OpenFailureAndNullFile) {
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  const Snapshot before = Take(img);
  EXPECT_EQ(img.fnIMG_LoadPGM(CString("/nonexistent/dir/a.pgm")), 1);
  EXPECT_EQ(img.fnIMG_LoadPGM(static_cast<CFile*>(nullptr)), 1);
  EXPECT_EQ(Take(img), before);
}

TEST(PgmFileForms, FileObjectIsLeftRightAfterThePixels) {
  // Two images in one stream, as netpbm programs may write them: each load takes one.
  TempDir dir;
  const Bytes first = Cat(B("P5\n3 2\n255\n"), kSix);
  const Bytes second = Cat(B("P5\n1 1\n9\n"), Bytes({7}));
  WriteAll(dir / "two.pgm", Cat(first, second));
  CFile f;
  ASSERT_TRUE(f.Open(CString((dir / "two.pgm").string()), CFile::modeRead));
  CLamina a, b;
  ASSERT_EQ(a.fnIMG_LoadPGM(&f), 0);
  EXPECT_EQ(f.GetPosition(), first.size());
  Expect3x2(a);
  ASSERT_EQ(b.fnIMG_LoadPGM(&f), 0);
  EXPECT_EQ(b.fnIMG_GetPixel(0, 0), 7u);
  EXPECT_EQ(b.fnIMG_GetColorsUsed(), 10);
  EXPECT_TRUE(f.IsOpen());
  EXPECT_EQ(NameOf(b), "two.pgm");
}

TEST(PgmFileForms, LongCommentsAreReadPastTheFirstPiece) {
  const Bytes data = Cat(Cat(B("P5\n#"), Bytes(20000, 'x')), Cat(B("\n3 2\n255\n"), kSix));
  CLamina img;
  ASSERT_EQ(FromFile(img, data), 0);
  Expect3x2(img);
}

TEST(PgmFileForms, LargeImageAcrossReadChunks) {
  Bytes pixels(1000 * 700);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i % 251);
  CLamina img;
  ASSERT_EQ(FromFile(img, Cat(B("P5\n1000 700\n255\n"), pixels)), 0);
  EXPECT_EQ(TopDown(img), pixels);
}

TEST(PgmFileForms, ShortOfMemoryLeavesTheImage) {
  const Bytes data = Cat(B("P5\n3 2\n255\n"), kSix);
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  const Bytes block = Take(img).block;
  {
    FailingAllocations fail(0);
    EXPECT_EQ(FromBuffer(img, data), 7);
  }
  EXPECT_EQ(Take(img).block, block);
  TempDir dir;
  WriteAll(dir / "m.pgm", data);
  {
    FailingAllocations fail(0);
    EXPECT_EQ(img.fnIMG_LoadPGM(CString((dir / "m.pgm").string())), 8);
  }
  EXPECT_EQ(Take(img).block, block);
}

}  // namespace

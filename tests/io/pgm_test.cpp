// PGM files: the header grammar (with the separators and comments other programs write), the
// palette of maxval + 1 entries, files from netpbm, ImageMagick and GIMP, and every damaged header
// refused with the image left alone.
#include "support/files.h"

namespace {

using namespace lamina_test;

const Bytes kSix = {10, 20, 30, 40, 50, 60};

int FromBuffer(CLamina& img, Bytes data) {
  return img.fnIMG_LoadPGMFromBuffer(data.empty() ? nullptr : data.data(),
                                     static_cast<int>(data.size()));
}
// The same bytes from a file; the file forms' codes past 1 are the buffer form's plus one.
int FromFile(CLamina& img, const Bytes& data) {
  TempDir dir;
  WriteAll(dir / "t.pgm", data);
  return img.fnIMG_LoadPGM(Path(dir / "t.pgm"));
}
Bytes File(const std::string& name) { return ReadAll(Data("pgm/" + name)); }

TEST(PgmGrammar, SeparatorsCommentsAndLeadingBytesAreSkipped) {
  const char* headers[] = {
      "P5\n# before width\n3 2\n# before maxval\n255\n",
      "P5\n3#glued to the width\n2 #\n#\n255\n",
      "P5\n3\n2\n255\n",       // width ended by a line feed
      "P5\t3\t2\t255\n",       // tabs
      "P5\r\n3 2\r\n255\r\n",  // carriage return and line feed: the pixels start after the LF
      "P5\n3 2\n255 ",         // one space after maxval, as netpbm allows
      "junk P5\n3 2\n255\n",
      "# made by hand\n\nQ5\n3 2\n255\n",  // after a comment the "P" is not tested
  };
  for (const char* h : headers) {
    CLamina img;
    ASSERT_EQ(FromBuffer(img, Cat(B(h), kSix)), 0) << h;
    EXPECT_EQ(img.fnIMG_GetColumns(), 3) << h;
    EXPECT_EQ(TopDown(img), kSix) << h;
  }
}

TEST(PgmGrammar, PixelBytesThatLookLikeWhitespaceAreData) {
  // After the one byte that ends maxval, a line feed or space is a pixel.
  CLamina img;
  ASSERT_EQ(FromBuffer(img, Cat(B("P5\n3 2\n255\n"), Bytes({10, 32, 13, 10, 9, 35}))), 0);
  EXPECT_EQ(TopDown(img), Bytes({10, 32, 13, 10, 9, 35}));
  // A lone carriage return ends maxval; a line feed right after it belongs to the line end.
  ASSERT_EQ(FromBuffer(img, Cat(B("P5\n2 1\n255\r"), Bytes({13, 7}))), 0);
  EXPECT_EQ(TopDown(img), Bytes({13, 7}));
  ASSERT_EQ(FromBuffer(img, Cat(B("P5\n2 1\n255\r"), Bytes({10, 7, 8}))), 0);
  EXPECT_EQ(TopDown(img), Bytes({7, 8}));
}

TEST(PgmGrammar, SmallMaxvalGivesAShortUnscaledPalette) {
  CLamina img;
  ASSERT_EQ(FromBuffer(img, Cat(B("P5\n5 1\n15\n"), Bytes({0, 3, 7, 15, 9}))), 0);
  EXPECT_EQ(img.fnIMG_GetPaletteSize(), 64);
  std::vector<RGBQUAD> unscaled = GrayRamp(256);  // (i, i, i): maxval 15 is not stretched to 255
  unscaled.resize(16);
  EXPECT_EQ(Packed(PaletteOf(img)), Packed(unscaled));
  EXPECT_EQ(TopDown(img), Bytes({0, 3, 7, 15, 9}));
}

TEST(PgmFiles, NetpbmImageMagickAndGimpFiles) {
  Bytes ramp;
  for (int i = 0; i < 5; ++i) ramp = Cat(ramp, {0, 42, 85, 127, 170, 212, 255});
  const struct {
    const char* name;
    int width, colours;
    Bytes pixels;
  } files[] = {
      {"netpbm_ramp_7x5.pgm", 7, 256, ramp},
      {"netpbm_ramp_6x4_maxval15.pgm", 6, 16,
       {0, 0, 0, 0, 0, 0, 5, 5, 5, 5, 5, 5, 10, 10, 10, 10, 10, 10, 15, 15, 15, 15, 15, 15}},
      {"imagemagick_comment_5x3.pgm", 5, 256,
       {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 250}},
      {"imagemagick_depth4_5x3.pgm", 5, 16, {0, 1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 7, 7, 8, 14}},
  };
  for (const auto& f : files) {
    CLamina img;
    ASSERT_EQ(img.fnIMG_LoadPGM(Path(Data(std::string("pgm/") + f.name))), 0) << f.name;
    EXPECT_EQ(img.fnIMG_GetColumns(), f.width) << f.name;
    EXPECT_EQ(img.fnIMG_GetColorsUsed(), f.colours) << f.name;
    EXPECT_EQ(NameOf(img), f.name);
    EXPECT_EQ(TopDown(img), f.pixels) << f.name;
  }
}

TEST(PgmFiles, PlainAndSixteenBitFilesAreRefused) {
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  const Bytes block = Snap(img).block;
  EXPECT_EQ(img.fnIMG_LoadPGM(Path(Data("pgm/netpbm_plain_3x2.pgm"))), 2);
  EXPECT_EQ(NameOf(img), "netpbm_plain_3x2.pgm");  // named before the scan
  EXPECT_EQ(img.fnIMG_LoadPGM(Path(Data("pgm/netpbm_16bit_4x2.pgm"))), 5);
  img.fnIMG_SetFileName(CString("x.y"));
  EXPECT_EQ(FromBuffer(img, File("netpbm_plain_3x2.pgm")), 1);
  EXPECT_EQ(FromBuffer(img, File("netpbm_16bit_4x2.pgm")), 4);
  EXPECT_EQ(NameOf(img), "x.y");
  EXPECT_EQ(Snap(img).block, block);
}

// ---- Damaged headers -----------------------------------------------------------------------

TEST(PgmDamaged, EachFaultHasItsCodeFromBothFormsAndLeavesTheImage) {
  const struct {
    const char* header;
    int bufferCode;
  } cases[] = {
      {"P2\n3 2\n255\n", 1},
      {"P5\n3x 2\n255\n", 3},
      {"P5\n3 2\n255#c\n", 3},  // a comment cannot end maxval: its end marks the pixels
      {"P5\n3 2\n0\n", 4},
      {"P5\n3 2\n256\n", 4},
      {"P5\n0 2\n255\n", 5},
      {"P5\n99999999999999999999 2\n255\n", 5},
      {"P5\n65536 65536\n255\n", 5},  // four gigabytes of pixels
  };
  for (const auto& c : cases) {
    const Bytes data = Cat(B(c.header), kSix);
    CLamina img = Gray8(2, 2, {1, 2, 3, 4});
    const Snapshot before = Snap(img);
    EXPECT_EQ(FromBuffer(img, data), c.bufferCode) << c.header;
    EXPECT_EQ(Snap(img), before);
    EXPECT_EQ(FromFile(img, data), c.bufferCode + 1) << c.header;
    EXPECT_EQ(Snap(img).block, before.block);
    EXPECT_EQ(NameOf(img), "t.pgm");
  }
}

TEST(PgmDamaged, EveryTruncationIsRefused) {
  const Bytes whole = Cat(B("P5\n# c\n3 2\n# d\n255\n"), kSix);
  const std::size_t headerEnd = whole.size() - kSix.size();
  for (std::size_t n = 0; n < whole.size(); ++n) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
    CLamina img = Gray8(2, 2, {1, 2, 3, 4});
    const Bytes block = Snap(img).block;
    // Inside the header: 2 (buffer) / 3 (file); inside the pixels: 6 / 7.
    const int expected = n < headerEnd ? 2 : 6;
    EXPECT_EQ(FromBuffer(img, cut), expected) << n;
    EXPECT_EQ(FromFile(img, cut), expected + 1) << n;
    EXPECT_EQ(Snap(img).block, block);
  }
  CLamina img;
  EXPECT_EQ(img.fnIMG_LoadPGMFromBuffer(nullptr, 100), 2);
}

TEST(PgmDamaged, OpenFailureAndNullFileLeaveTheImage) {
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  const Snapshot before = Snap(img);
  EXPECT_EQ(img.fnIMG_LoadPGM(CString("/nonexistent/dir/a.pgm")), 1);
  EXPECT_EQ(img.fnIMG_LoadPGM(static_cast<CFile*>(nullptr)), 1);
  EXPECT_EQ(Snap(img), before);
}

// ---- File forms ----------------------------------------------------------------------------

TEST(PgmFileForms, FileObjectIsLeftRightAfterThePixels) {
  // Two images in one stream, as netpbm programs may write them: each load takes one.
  TempDir dir;
  const Bytes first = Cat(B("P5\n3 2\n255\n"), kSix);
  WriteAll(dir / "two.pgm", Cat(first, Cat(B("P5\n1 1\n9\n"), Bytes({7}))));
  CFile f;
  ASSERT_TRUE(f.Open(Path(dir / "two.pgm"), CFile::modeRead));
  CLamina a, b;
  ASSERT_EQ(a.fnIMG_LoadPGM(&f), 0);
  EXPECT_EQ(f.GetPosition(), first.size());
  EXPECT_EQ(TopDown(a), kSix);
  ASSERT_EQ(b.fnIMG_LoadPGM(&f), 0);
  EXPECT_EQ(b.fnIMG_GetPixel(0, 0), 7u);
  EXPECT_EQ(b.fnIMG_GetColorsUsed(), 10);
  EXPECT_TRUE(f.IsOpen());
  EXPECT_EQ(NameOf(b), "two.pgm");
}

TEST(PgmFileForms, LongCommentsCrossReadChunks) {
  CLamina img;
  ASSERT_EQ(FromFile(img, Cat(Cat(B("P5\n#"), Bytes(20000, 'x')), Cat(B("\n3 2\n255\n"), kSix))), 0);
  EXPECT_EQ(TopDown(img), kSix);
}

}  // namespace

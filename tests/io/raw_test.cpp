// RAW files: sizes from the length table or given, top row first, the name rules, refusals that
// leave the block alone, and the writer's conversions made on a copy.
#include <unistd.h>

#include "support/files.h"

namespace {

using namespace lamina_test;

Bytes Pattern(std::size_t n) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i * 7 + i / 92);
  return b;
}

TEST(RawLoad, LengthTableGivesDimensionsAndTopRowFirst) {
  const struct {
    int length, width, height;
  } table[] = {{1024, 32, 32},    {1248, 32, 39},    {4096, 64, 64},     {10304, 92, 112},
               {16384, 128, 128}, {65536, 256, 256}, {262144, 512, 512}, {1048576, 1024, 1024}};
  for (const auto& t : table) {
    Bytes data = Pattern(static_cast<std::size_t>(t.length));
    CLamina img;
    img.fnIMG_SetFileName(CString("keep.me"));
    ASSERT_EQ(img.fnIMG_LoadRAWFromBuffer(data.data(), t.length), 0) << t.length;
    CLamina fresh = Gray8(t.width, t.height, data);  // laid out as a fresh 8-bit gray image
    EXPECT_EQ(Snap(img).block, Snap(fresh).block) << t.length;
    EXPECT_EQ(NameOf(img), "keep.me");  // the buffer form leaves the name
  }
  TempDir dir;
  WriteAll(dir / "face.raw", Pattern(10304));
  CLamina img;
  ASSERT_EQ(img.fnIMG_LoadRAW(Path(dir / "face.raw")), 0);
  EXPECT_EQ(TopDown(img), Pattern(10304));
  EXPECT_EQ(NameOf(img), "face.raw");
}

TEST(RawLoad, FileObjectFormsReadFromTheirPositionAndStayOpen) {
  TempDir dir;
  const Bytes data = Pattern(1248);
  WriteAll(dir / "a.raw", data);
  CFile f;
  ASSERT_TRUE(f.Open(Path(dir / "a.raw"), CFile::modeRead));
  CLamina img;
  ASSERT_EQ(img.fnIMG_LoadRAW(&f), 0);
  EXPECT_EQ(img.fnIMG_GetColumns(), 32);  // 39 rows
  EXPECT_TRUE(f.IsOpen());
  EXPECT_EQ(NameOf(img), "a.raw");
  // The table's length is the file's; read from past its start, the file ends too soon.
  WriteAll(dir / "k.raw", Pattern(1024));
  CFile g;
  ASSERT_TRUE(g.Open(Path(dir / "k.raw"), CFile::modeRead));
  g.Seek(10, CFile::begin);
  const Bytes block = Snap(img).block;
  EXPECT_EQ(img.fnIMG_LoadRAW(&g), 4);
  EXPECT_EQ(Snap(img).block, block);
  EXPECT_EQ(NameOf(img), "k.raw");
}

// ---- Refusals ------------------------------------------------------------------------------

TEST(RawLoad, RefusalsLeaveThePixelsAndOnlyTheFileFormsRename) {
  TempDir dir;
  WriteAll(dir / "odd.raw", Bytes(1000, 9));
  WriteAll(dir / "six.raw", Bytes(6, 5));
  WriteAll(dir / "empty.raw", Bytes());
  const CString six = Path(dir / "six.raw"), empty = Path(dir / "empty.raw");
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  const Snapshot before = Snap(img);
  EXPECT_EQ(img.fnIMG_LoadRAW(CString("/nonexistent/dir/x.raw")), 1);
  EXPECT_EQ(img.fnIMG_LoadRAW(static_cast<CFile*>(nullptr)), 1);
  EXPECT_EQ(img.fnIMG_LoadRAWFromBuffer(nullptr, 1024), 2);
  Bytes buf(1000, 9);
  EXPECT_EQ(img.fnIMG_LoadRAWFromBuffer(buf.data(), 1000), 1);
  EXPECT_EQ(Snap(img), before);

  EXPECT_EQ(img.fnIMG_LoadRAW(Path(dir / "odd.raw")), 2);
  EXPECT_EQ(NameOf(img), "odd.raw");  // named before the length test
  EXPECT_EQ(img.fnIMG_LoadRAW(six, 3, 3), 2);
  // Negative sizes whose product is the length, and empty images, are not images.
  EXPECT_EQ(img.fnIMG_LoadRAW(six, -2, -3), 3);
  EXPECT_EQ(img.fnIMG_LoadRAW(empty, 0, 5), 3);
  // 65536 x 65536 wraps to 0 in 32 bits: it must not match an empty file.
  EXPECT_EQ(img.fnIMG_LoadRAW(empty, 65536, 65536), 2);
  // A sparse file of 2^31 bytes: 65536 x 32768 matches its length but no block can hold it.
  const fs::path big = dir / "big.raw";
  { std::ofstream(big, std::ios::binary); }
  ASSERT_EQ(truncate(big.c_str(), 2147483648LL), 0);
  EXPECT_EQ(img.fnIMG_LoadRAW(Path(big), 65536, 32768), 3);
  EXPECT_EQ(Snap(img).block, before.block);
}

// ---- Writing -------------------------------------------------------------------------------

TEST(RawSave, GrayImageWritesIndicesTopRowFirstAndReplacesAnyFile) {
  TempDir dir;
  const Bytes pixels = Pattern(10304);
  CLamina img = Gray8(92, 112, pixels);
  img.fnIMG_SetFileName(CString("mine.bmp"));
  const Snapshot before = Snap(img);
  for (std::size_t old : {0, 20000}) {  // none, longer
    if (old > 0) WriteAll(dir / "out.raw", Bytes(old, 0xEE));
    ASSERT_EQ(img.fnIMG_SaveRAW(Path(dir / "out.raw")), 0);
    EXPECT_EQ(ReadAll(dir / "out.raw"), pixels) << old;
  }
  EXPECT_EQ(Snap(img), before);  // name, block and everything else
  CLamina back;
  ASSERT_EQ(back.fnIMG_LoadRAW(Path(dir / "out.raw")), 0);
  EXPECT_EQ(TopDown(back), pixels);
}

TEST(RawSave, OtherDepthsAreWrittenAsEightBitGrayFromACopy) {
  TempDir dir;
  // 24 bits, rows from the top: red, green, blue / black, red, green.
  CLamina rgb = FromRows(24, {{Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255)},
                              {0, Rgb(255, 0, 0), Rgb(0, 255, 0)}});
  const Snapshot before = Snap(rgb);
  ASSERT_EQ(rgb.fnIMG_SaveRAW(Path(dir / "c.raw")), 0);
  // 0.299, 0.587 and 0.114 of 255, truncated.
  EXPECT_EQ(ReadAll(dir / "c.raw"), Bytes({76, 149, 29, 0, 76, 149}));
  EXPECT_EQ(Snap(rgb), before);
  // 1 bit with the index palette (0,0,0), (1,1,1): gray, so only the depth changes: 1 is 255.
  CLamina one = FromRows(1, {{0, 1, 0}});
  ASSERT_EQ(one.fnIMG_SaveRAW(Path(dir / "one.raw")), 0);
  EXPECT_EQ(ReadAll(dir / "one.raw"), Bytes({0, 255, 0}));
  EXPECT_EQ(one.fnIMG_GetColorDepth(), 1);
  CLamina four = FromRows(4, {{15, 1}});
  four.fnIMG_SetGrayPalette();
  ASSERT_EQ(four.fnIMG_SaveRAW(Path(dir / "four.raw")), 0);
  EXPECT_EQ(ReadAll(dir / "four.raw"), Bytes({255, 17}));
}

TEST(RawSave, RefusalsAndFailuresMakeNoFileAndKeepTheImage) {
  TempDir dir;
  CLamina sixteen;
  ASSERT_EQ(sixteen.fnIMG_LoadBMP(Path(Data("bmpsuite/g/rgb16.bmp"))), 0);
  const Snapshot before16 = Snap(sixteen);
  EXPECT_EQ(sixteen.fnIMG_SaveRAW(Path(dir / "s.raw")), 2);
  EXPECT_EQ(Snap(sixteen), before16);
  CLamina none(nullptr, nullptr, 4, 4, 16);  // no block
  EXPECT_EQ(none.fnIMG_SaveRAW(Path(dir / "n.raw")), 2);
  CLamina rgb = FromRows(24, {{Rgb(1, 2, 3), Rgb(4, 5, 6)}});
  const Snapshot before = Snap(rgb);
  for (const char* name : {"s.raw", "n.raw"}) EXPECT_FALSE(fs::exists(dir / name)) << name;
  EXPECT_EQ(rgb.fnIMG_SaveRAW(CString("/nonexistent/dir/x.raw")), 1);
  EXPECT_EQ(rgb.fnIMG_SaveRAW(static_cast<CFile*>(nullptr)), 1);
  if (fs::exists("/dev/full")) {
    EXPECT_EQ(rgb.fnIMG_SaveRAW(CString("/dev/full")), 4);
  }
  EXPECT_EQ(Snap(rgb), before);
}

}  // namespace

// RAW files: sizes from the length table or given, top row first, the name rules, refusals that
// leave the block alone, and the writer's conversions made on a copy.
#include <gtest/gtest.h>
#include <unistd.h>

#include "files_test_util.h"
#include "lamina/cfile.h"

namespace {

using namespace files_test;

Bytes Pattern(std::size_t n) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i * 7 + i / 92);
  return b;
}

// ---- Sizes and layout ----------------------------------------------------------------------

TEST(RawLoad, LengthTableGivesDimensionsAndTopRowFirst) {
  TempDir dir;
  const Bytes file = Pattern(10304);
  WriteAll(dir / "face.raw", file);
  CLamina img;
  ASSERT_EQ(img.fnIMG_LoadRAW(CString((dir / "face.raw").string())), 0);
  EXPECT_EQ(img.fnIMG_GetColumns(), 92);
  EXPECT_EQ(img.fnIMG_GetRows(), 112);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 8);
  EXPECT_EQ(img.fnIMG_GetBitmapSize(), 10304);
  EXPECT_EQ(img.fnIMG_GetPixel(0, 0), file[0]);         // first byte: top-left
  EXPECT_EQ(img.fnIMG_GetPixel(91, 111), file[10303]);  // last byte: bottom-right
  EXPECT_EQ(img.fnIMG_GetPixel(5, 1), file[92 + 5]);
  EXPECT_EQ(TopDown(img), file);
  // The layout of a freshly built 8-bit gray image.
  const BITMAPINFOHEADER h = img.fnIMG_GetBitmapInfoHeader();
  EXPECT_EQ(h.biSize, 40u);
  EXPECT_EQ(h.biPlanes, 1);
  EXPECT_EQ(h.biCompression, 0u);
  EXPECT_EQ(h.biClrUsed, 256u);
  EXPECT_EQ(h.biClrImportant, 256u);
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  EXPECT_EQ(p.lpBits - p.lpDib, 1064);
  EXPECT_EQ(GlobalSize(GlobalHandle(p.lpDib)), 1064u + 10304u);
  EXPECT_EQ(p.lpPalette[200].rgbRed, 200);
  EXPECT_EQ(p.lpPalette[200].rgbBlue, 200);
  EXPECT_EQ(lamina::BlockAccess::CachedStride(img), 92);
  EXPECT_EQ(NameOf(img), "face.raw");
}

TEST(RawLoad, EveryTableLengthFromBuffer) {
  const struct {
    int length, width, height;
  } table[] = {{1024, 32, 32},    {1248, 32, 39},    {4096, 64, 64},     {10304, 92, 112},
               {16384, 128, 128}, {65536, 256, 256}, {262144, 512, 512}, {1048576, 1024, 1024}};
  for (const auto& t : table) {
    Bytes data = Pattern(static_cast<std::size_t>(t.length));
    CLamina img;
    img.fnIMG_SetFileName(CString("keep.me"));
    ASSERT_EQ(img.fnIMG_LoadRAWFromBuffer(data.data(), t.length), 0) << t.length;
    EXPECT_EQ(img.fnIMG_GetColumns(), t.width);
    EXPECT_EQ(img.fnIMG_GetRows(), t.height);
    EXPECT_EQ(img.fnIMG_GetPixel(t.width - 1, 0), data[static_cast<std::size_t>(t.width - 1)]);
    EXPECT_EQ(NameOf(img), "keep.me");  // the buffer form leaves the name
  }
}

TEST(RawLoad, GivenSizeWithPaddedRows) {
  TempDir dir;
  Bytes file(30);
  for (int i = 0; i < 30; ++i) file[i] = static_cast<std::uint8_t>(100 + i);
  WriteAll(dir / "ten.raw", file);
  CLamina img;
  ASSERT_EQ(img.fnIMG_LoadRAW(CString((dir / "ten.raw").string()), 10, 3), 0);
  EXPECT_EQ(img.fnIMG_GetBitmapSize(), 36);  // stride 12
  // Each stored row: 10 bytes of the file, then two zero bytes of padding.
  EXPECT_EQ(StoredRow(img, 0), Bytes({100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 0, 0}));
  EXPECT_EQ(StoredRow(img, 2), Bytes({120, 121, 122, 123, 124, 125, 126, 127, 128, 129, 0, 0}));
  EXPECT_EQ(lamina::BlockAccess::CachedStride(img), 12);
}

TEST(RawLoad, FileObjectFormsReadFromTheirPositionAndStayOpen) {
  TempDir dir;
  const Bytes data = Pattern(1248);
  WriteAll(dir / "a.raw", data);
  CFile f;
  ASSERT_TRUE(f.Open(CString((dir / "a.raw").string()), CFile::modeRead));
  CLamina img;
  ASSERT_EQ(img.fnIMG_LoadRAW(&f), 0);
  EXPECT_EQ(img.fnIMG_GetColumns(), 32);
  EXPECT_EQ(img.fnIMG_GetRows(), 39);
  EXPECT_TRUE(f.IsOpen());
  EXPECT_EQ(f.GetPosition(), 1248u);
  EXPECT_EQ(NameOf(img), "a.raw");

  f.SeekToBegin();
  CLamina sized;
  ASSERT_EQ(sized.fnIMG_LoadRAW(&f, 48, 26), 0);
  EXPECT_EQ(TopDown(sized), data);
}

// ---- Refusals ------------------------------------------------------------------------------

TEST(RawLoad, LengthOutsideTheTableKeepsPixelsButTakesTheName) {
  TempDir dir;
  WriteAll(dir / "odd.raw", Bytes(1000, 9));
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  Snapshot before = Take(img);
  EXPECT_EQ(img.fnIMG_LoadRAW(CString((dir / "odd.raw").string())), 2);
  Snapshot after = Take(img);
  EXPECT_EQ(after.block, before.block);
  EXPECT_EQ(after.name, "odd.raw");  // named before the length test

  Bytes buf(1000, 9);
  EXPECT_EQ(img.fnIMG_LoadRAWFromBuffer(buf.data(), 1000), 1);
  EXPECT_EQ(Take(img), after);
  EXPECT_EQ(img.fnIMG_LoadRAWFromBuffer(buf.data(), -1024), 1);
  EXPECT_EQ(Take(img), after);
}

TEST(RawLoad, UnopenableFileChangesNothing) {
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  const Snapshot before = Take(img);
  EXPECT_EQ(img.fnIMG_LoadRAW(CString("/nonexistent/dir/x.raw")), 1);
  EXPECT_EQ(img.fnIMG_LoadRAW(CString("/nonexistent/dir/x.raw"), 32, 32), 1);
  EXPECT_EQ(img.fnIMG_LoadRAW(static_cast<CFile*>(nullptr)), 1);
  EXPECT_EQ(img.fnIMG_LoadRAW(static_cast<CFile*>(nullptr), 32, 32), 1);
  EXPECT_EQ(img.fnIMG_LoadRAWFromBuffer(nullptr, 1024), 2);
  EXPECT_EQ(Take(img), before);
}

TEST(RawLoad, GivenSizeMustMatchAndBePositive) {
  TempDir dir;
  WriteAll(dir / "six.raw", Bytes(6, 5));
  WriteAll(dir / "empty.raw", Bytes());
  const CString six((dir / "six.raw").string()), empty((dir / "empty.raw").string());
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  const Bytes block = Take(img).block;
  EXPECT_EQ(img.fnIMG_LoadRAW(six, 3, 3), 2);
  // Negative sizes whose product is the length, and empty images, are not images.
  EXPECT_EQ(img.fnIMG_LoadRAW(six, -2, -3), 3);
  EXPECT_EQ(img.fnIMG_LoadRAW(empty, 0, 5), 3);
  EXPECT_EQ(img.fnIMG_LoadRAW(empty, 0, 0), 3);
  // 65536 x 65536 wraps to 0 in 32 bits: it must not match an empty file.
  EXPECT_EQ(img.fnIMG_LoadRAW(empty, 65536, 65536), 2);
  EXPECT_EQ(Take(img).block, block);
}

TEST(RawLoad, ImageLargerThanOneBlockIsRefused) {
  TempDir dir;
  // A sparse file of 2^31 bytes: 65536 x 32768 matches its length but no block can hold it.
  const fs::path big = dir / "big.raw";
  { std::ofstream(big, std::ios::binary); }
  ASSERT_EQ(truncate(big.c_str(), 2147483648LL), 0);
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  const Bytes block = Take(img).block;
  EXPECT_EQ(img.fnIMG_LoadRAW(CString(big.string()), 65536, 32768), 3);
  EXPECT_EQ(Take(img).block, block);
}

TEST(RawLoad, FileObjectPastItsStartHoldsTooFewBytes) {
  TempDir dir;
  WriteAll(dir / "a.raw", Pattern(1024));
  CFile f;
  ASSERT_TRUE(f.Open(CString((dir / "a.raw").string()), CFile::modeRead));
  f.Seek(10, CFile::begin);
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  const Bytes block = Take(img).block;
  EXPECT_EQ(img.fnIMG_LoadRAW(&f), 4);
  EXPECT_EQ(Take(img).block, block);
  EXPECT_EQ(NameOf(img), "a.raw");
}

TEST(RawLoad, ShortOfMemoryLeavesTheImage) {
  TempDir dir;
  Bytes data = Pattern(4096);
  WriteAll(dir / "m.raw", data);
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  const Bytes block = Take(img).block;
  {
    FailingAllocations fail(0);
    EXPECT_EQ(img.fnIMG_LoadRAW(CString((dir / "m.raw").string())), 5);
    EXPECT_EQ(img.fnIMG_LoadRAW(CString((dir / "m.raw").string()), 64, 64), 5);
    EXPECT_EQ(img.fnIMG_LoadRAWFromBuffer(data.data(), 4096), 3);
  }
  EXPECT_EQ(Take(img).block, block);
}

// ---- Writing -------------------------------------------------------------------------------

TEST(RawSave, GrayImageWritesIndicesTopRowFirstWithoutPadding) {
  TempDir dir;
  CLamina img = Gray8(5, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
  img.fnIMG_SetFileName(CString("mine.bmp"));
  const Snapshot before = Take(img);
  ASSERT_EQ(img.fnIMG_SaveRAW(CString((dir / "out.raw").string())), 0);
  EXPECT_EQ(ReadAll(dir / "out.raw"), Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
  EXPECT_EQ(Take(img), before);  // name, block and everything else
}

TEST(RawSave, ExistingFilesEndUpHoldingExactlyTheImage) {
  TempDir dir;
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  const CString path((dir / "over.raw").string());
  WriteAll(dir / "over.raw", Bytes(10, 0xEE));  // longer than the image
  ASSERT_EQ(img.fnIMG_SaveRAW(path), 0);
  EXPECT_EQ(ReadAll(dir / "over.raw"), Bytes({1, 2, 3, 4}));
  WriteAll(dir / "over.raw", Bytes(3, 0xEE));  // shorter
  ASSERT_EQ(img.fnIMG_SaveRAW(path), 0);
  EXPECT_EQ(ReadAll(dir / "over.raw"), Bytes({1, 2, 3, 4}));
  WriteAll(dir / "over.raw", Bytes(4, 0xEE));  // the same length
  ASSERT_EQ(img.fnIMG_SaveRAW(path), 0);
  EXPECT_EQ(ReadAll(dir / "over.raw"), Bytes({1, 2, 3, 4}));
}

TEST(RawSave, RoundTripThroughTheLengthTable) {
  TempDir dir;
  const Bytes pixels = Pattern(10304);
  CLamina img = Gray8(92, 112, pixels);
  ASSERT_EQ(img.fnIMG_SaveRAW(CString((dir / "rt.raw").string())), 0);
  CLamina back;
  ASSERT_EQ(back.fnIMG_LoadRAW(CString((dir / "rt.raw").string())), 0);
  EXPECT_EQ(TopDown(back), pixels);
}

TEST(RawSave, ColourImageIsWrittenAsGrayAndStaysColour) {
  TempDir dir;
  // 24 bits, 3 x 2, rows from the top: red, green, blue / black, red, green.
  CLamina img(nullptr, nullptr, 3, 2, 24);
  const RGBQUAD red{0, 0, 255, 0}, green{0, 255, 0, 0}, blue{255, 0, 0, 0}, black{0, 0, 0, 0};
  img.fnIMG_SetRGBPixel(0, 0, red);
  img.fnIMG_SetRGBPixel(1, 0, green);
  img.fnIMG_SetRGBPixel(2, 0, blue);
  img.fnIMG_SetRGBPixel(0, 1, black);
  img.fnIMG_SetRGBPixel(1, 1, red);
  img.fnIMG_SetRGBPixel(2, 1, green);
  const Snapshot before = Take(img);
  ASSERT_EQ(img.fnIMG_SaveRAW(CString((dir / "c.raw").string())), 0);
  // 0.299, 0.587 and 0.114 of 255, truncated.
  EXPECT_EQ(ReadAll(dir / "c.raw"), Bytes({76, 149, 29, 0, 76, 149}));
  EXPECT_EQ(Take(img), before);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 24);
}

TEST(RawSave, SubByteDepthsAreRescaledToEightBits) {
  TempDir dir;
  // 1 bit, index palette (0,0,0), (1,1,1): gray, so only the depth changes; index 1 becomes 255.
  CLamina one(nullptr, nullptr, 3, 1, 1);
  one.fnIMG_SetPixel(1, 0, 1);
  ASSERT_EQ(one.fnIMG_SaveRAW(CString((dir / "one.raw").string())), 0);
  EXPECT_EQ(ReadAll(dir / "one.raw"), Bytes({0, 255, 0}));
  EXPECT_EQ(one.fnIMG_GetColorDepth(), 1);

  CLamina four(nullptr, nullptr, 2, 1, 4);
  four.fnIMG_SetGrayPalette();
  four.fnIMG_SetPixel(0, 0, 15);
  four.fnIMG_SetPixel(1, 0, 1);
  ASSERT_EQ(four.fnIMG_SaveRAW(CString((dir / "four.raw").string())), 0);
  EXPECT_EQ(ReadAll(dir / "four.raw"), Bytes({255, 17}));
}

TEST(RawSave, SixteenBitImagesAndEmptyObjectsAreRefusedWithoutAFile) {
  TempDir dir;
  CLamina sixteen;
  ASSERT_EQ(sixteen.fnIMG_LoadBMP(CString(Data("bmpsuite/g/rgb16.bmp").string())), 0);
  ASSERT_EQ(sixteen.fnIMG_GetColorDepth(), 16);
  const Snapshot before = Take(sixteen);
  EXPECT_EQ(sixteen.fnIMG_SaveRAW(CString((dir / "s.raw").string())), 2);
  EXPECT_FALSE(fs::exists(dir / "s.raw"));
  EXPECT_EQ(Take(sixteen), before);

  CLamina none(nullptr, nullptr, 4, 4, 16);  // no block
  EXPECT_EQ(none.fnIMG_SaveRAW(CString((dir / "n.raw").string())), 2);
  EXPECT_FALSE(fs::exists(dir / "n.raw"));
}

TEST(RawSave, FileFailuresAreReported) {
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  const Snapshot before = Take(img);
  EXPECT_EQ(img.fnIMG_SaveRAW(CString("/nonexistent/dir/x.raw")), 1);
  EXPECT_EQ(img.fnIMG_SaveRAW(static_cast<CFile*>(nullptr)), 1);
  if (fs::exists("/dev/full")) {
    EXPECT_EQ(img.fnIMG_SaveRAW(CString("/dev/full")), 4);  // the disk is full
  }
  EXPECT_EQ(Take(img), before);
}

TEST(RawSave, ShortOfMemoryForTheConversionWritesNothing) {
  TempDir dir;
  CLamina img(nullptr, nullptr, 4, 4, 24);
  img.fnIMG_Initialize(RGBQUAD{10, 20, 30, 0});
  const Snapshot before = Take(img);
  {
    FailingAllocations fail(0);
    EXPECT_EQ(img.fnIMG_SaveRAW(CString((dir / "m.raw").string())), 3);
  }
  EXPECT_FALSE(fs::exists(dir / "m.raw"));
  EXPECT_EQ(Take(img), before);
}

TEST(RawSave, FileObjectFormWritesAtItsPositionAndStaysOpen) {
  TempDir dir;
  CFile f;
  ASSERT_TRUE(f.Open(CString((dir / "o.raw").string()), CFile::modeCreate | CFile::modeWrite));
  ASSERT_EQ(f.Write("HDR", 3), 3u);
  CLamina img = Gray8(2, 2, {1, 2, 3, 4});
  EXPECT_EQ(img.fnIMG_SaveRAW(&f), 0);
  EXPECT_TRUE(f.IsOpen());
  f.Close();
  EXPECT_EQ(ReadAll(dir / "o.raw"), Bytes({'H', 'D', 'R', 1, 2, 3, 4}));
}

}  // namespace

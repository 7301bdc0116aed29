// BMP loading and saving on small synthetic files: layouts, repairs, result codes and their order,
// and "a refused load leaves the image byte-identical".
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"
#include "lamina/cfile.h"
#include "lamina/memory.h"
#include "platform/memory_internal.h"

#include "bmp_test_support.h"

namespace {

namespace fs = std::filesystem;
using bmp_test::ReadAll;
using bmp_test::Snapshot;
using bmp_test::Take;
using Bytes = std::vector<std::uint8_t>;

// Field offsets in a file with a 40-byte (or longer) info header.
enum : std::size_t {
  kOffBits = 10, kBiSize = 14, kWidth = 18, kHeight = 22, kBpp = 28, kCompression = 30,
  kSizeImage = 34, kClrUsed = 46,
};

std::uint32_t Get32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}
void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v);
  Put16(b, at + 2, v >> 16);
}

// A BMP file as another program might write it. Rows hold byte i of the row area = 3 * i + 1,
// palette entry i = (blue i, green 255 - i, red i ^ 0x55, 0).
struct Bmp {
  std::uint32_t headerSize = 40;
  std::int32_t width = 3, height = 2;
  std::uint16_t bpp = 8;
  std::uint32_t compression = 0, sizeImage = 0, clrUsed = 0;
  int entries = -1;  // table entries written; -1: clrUsed, or 2^bpp up to 8 bits, else none
  int gap = 0;       // bytes between the table and the rows
  int trailing = 0;  // bytes after the rows

  std::int64_t Stride() const { return lamina::Stride64(width, bpp); }
  int Entries() const {
    if (entries >= 0) return entries;
    if (clrUsed != 0) return static_cast<int>(clrUsed);
    return bpp <= 8 ? 1 << bpp : 0;
  }
  std::size_t OffBits() const {
    return 14 + headerSize + Entries() * (headerSize == 12 ? 3 : 4) + gap;
  }
  Bytes Make() const {
    const std::size_t rowBytes = static_cast<std::size_t>(Stride() * (height < 0 ? -height : height));
    Bytes b(OffBits() + rowBytes + trailing, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, kOffBits, static_cast<std::uint32_t>(OffBits()));
    Put32(b, kBiSize, headerSize);
    if (headerSize == 12) {
      Put16(b, 18, static_cast<std::uint32_t>(width));
      Put16(b, 20, static_cast<std::uint32_t>(height));
      Put16(b, 22, 1);
      Put16(b, 24, bpp);
    } else {
      Put32(b, kWidth, static_cast<std::uint32_t>(width));
      Put32(b, kHeight, static_cast<std::uint32_t>(height));
      Put16(b, 26, 1);
      Put16(b, kBpp, bpp);
      Put32(b, kCompression, compression);
      Put32(b, kSizeImage, sizeImage);
      Put32(b, kClrUsed, clrUsed);
    }
    std::uint8_t* e = b.data() + 14 + headerSize;
    for (int i = 0; i < Entries(); ++i) {
      *e++ = static_cast<std::uint8_t>(i);
      *e++ = static_cast<std::uint8_t>(255 - i);
      *e++ = static_cast<std::uint8_t>(i ^ 0x55);
      if (headerSize != 12) *e++ = 0;
    }
    for (std::size_t i = 0; i < rowBytes; ++i) b[OffBits() + i] = static_cast<std::uint8_t>(3 * i + 1);
    for (int i = 0; i < trailing; ++i) b[b.size() - 1 - i] = 0xEE;
    return b;
  }
};

int LoadBuffer(CLamina& img, Bytes b) {
  return img.fnIMG_LoadBMPFromBuffer(b.data(), static_cast<int>(b.size()));
}

std::string TempPath(const std::string& name) { return (fs::path(::testing::TempDir()) / name).string(); }

BITMAPINFOHEADER Header(CLamina& img) { return img.fnIMG_GetBitmapInfoHeader(); }
const std::uint8_t* Block(CLamina& img) { return img.fnIMG_GetPointers().lpDib; }
std::size_t BlockSize(CLamina& img) { return GlobalSize(GlobalHandle(Block(img))); }
std::ptrdiff_t BitsOffset(CLamina& img) { return img.fnIMG_GetPointers().lpBits - Block(img); }
Bytes Rows(CLamina& img) {
  const std::uint8_t* bits = img.fnIMG_GetPointers().lpBits;
  return Bytes(bits, bits + Header(img).biSizeImage);
}

// ---- Saving -------------------------------------------------------------------------------------

TEST(BmpSave, DefaultImageIs1334BytesWithRowsAfterThePalette) {
  CLamina img;
  const std::string path = TempPath("default.bmp");
  ASSERT_EQ(img.fnIMG_SaveBMP(CString(path)), 0);
  const Bytes f = ReadAll(path);
  ASSERT_EQ(f.size(), 1334u);
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  EXPECT_EQ(Get32(f, 2), 1334u);
  EXPECT_EQ(Get32(f, 6), 0u);  // both reserved words
  EXPECT_EQ(Get32(f, kOffBits), 1078u);
  EXPECT_TRUE(std::equal(f.begin() + 14, f.end(), Block(img)));  // header, palette, rows as held
  EXPECT_EQ(Take(img).name, "SIN_NOMBRE.RAW");                  // saving does not rename
}

TEST(BmpSave, TrueColourFromTheDataConstructorKeepsItsColourCounts) {
  CLamina img(nullptr, nullptr, 3, 2, 24);
  const std::string path = TempPath("rgb24.bmp");
  ASSERT_EQ(img.fnIMG_SaveBMP(CString(path)), 0);
  const Bytes f = ReadAll(path);
  ASSERT_EQ(f.size(), 54u + 24u);
  EXPECT_EQ(Get32(f, 2), 78u);
  EXPECT_EQ(Get32(f, kOffBits), 54u);
  EXPECT_EQ(Get32(f, kClrUsed), 16777216u);
  EXPECT_EQ(Get32(f, kClrUsed + 4), 16777216u);
}

TEST(BmpSave, SixteenEntryPaletteReloadsAndSavesWithOffset118) {
  Bmp layout;
  layout.clrUsed = 16;
  CLamina img;
  ASSERT_EQ(LoadBuffer(img, layout.Make()), 0);
  EXPECT_EQ(img.fnIMG_GetColorsUsed(), 16);
  EXPECT_EQ(BitsOffset(img), 40 + 64);
  const std::string path = TempPath("pal16.bmp");
  ASSERT_EQ(img.fnIMG_SaveBMP(CString(path)), 0);
  const Bytes f = ReadAll(path);
  EXPECT_EQ(Get32(f, kOffBits), 118u);
  Bytes expected = layout.Make();  // a compact file comes back byte for byte ...
  Put32(expected, kSizeImage, 8);  // ... with biSizeImage filled in
  EXPECT_EQ(f, expected);
}

TEST(BmpSave, RowsBehindAGapAreWrittenRightAfterThePalette) {
  Bmp layout;
  layout.gap = 16;
  layout.trailing = 5;
  const Bytes file = layout.Make();
  CLamina img;
  ASSERT_EQ(LoadBuffer(img, file), 0);
  // The block is the file minus its file header, gap and trailing bytes included.
  // (Only biSizeImage, filled in, differs.)
  ASSERT_EQ(BlockSize(img), file.size() - 14);
  EXPECT_TRUE(std::equal(file.begin() + 14, file.begin() + kSizeImage, Block(img)));
  EXPECT_EQ(Header(img).biSizeImage, 8u);
  EXPECT_TRUE(std::equal(file.begin() + kSizeImage + 4, file.end(), Block(img) + kSizeImage + 4 - 14));
  EXPECT_EQ(BitsOffset(img), 40 + 1024 + 16);
  EXPECT_EQ(img.fnIMG_GetPixel(0, 1), 1u);   // bottom row first in the file
  EXPECT_EQ(img.fnIMG_GetPixel(2, 0), 19u);  // top row: byte 6 of the row area
  const std::string path = TempPath("gap.bmp");
  ASSERT_EQ(img.fnIMG_SaveBMP(CString(path)), 0);
  Bmp compact = layout;
  compact.gap = compact.trailing = 0;
  Bytes expected = compact.Make();
  Put32(expected, kSizeImage, 8);  // filled in on loading
  EXPECT_EQ(ReadAll(path), expected);
}

TEST(BmpSave, ColourTableOfATrueColourImageComesFromTheBlockOrIsZero) {
  // 24 bits with a 2-entry table that the file holds before the rows: written back.
  Bmp held;
  held.bpp = 24;
  held.clrUsed = 2;
  CLamina a;
  ASSERT_EQ(LoadBuffer(a, held.Make()), 0);
  EXPECT_EQ(a.fnIMG_GetPointers().lpPalette, nullptr);
  CFile out;
  const std::string path = TempPath("table.bmp");
  ASSERT_TRUE(out.Open(CString(path), CFile::modeCreate | CFile::modeWrite));
  ASSERT_EQ(a.fnIMG_SaveBMP(&out), 0);
  out.Close();
  Bytes expected = held.Make();
  Put32(expected, kSizeImage, 24);
  EXPECT_EQ(ReadAll(path), expected);

  // The same header with the rows right after it: the table is not in the block, zeros are written.
  Bmp missing = held;
  missing.entries = 0;
  CLamina b;
  ASSERT_EQ(LoadBuffer(b, missing.Make()), 0);
  ASSERT_EQ(b.fnIMG_SaveBMP(CString(path)), 0);
  const Bytes f = ReadAll(path);
  ASSERT_EQ(f.size(), 54u + 8u + 24u);
  EXPECT_EQ(Get32(f, kOffBits), 62u);
  EXPECT_EQ(Bytes(f.begin() + 54, f.begin() + 62), Bytes(8, 0));
  EXPECT_EQ(Bytes(f.begin() + 62, f.end()), Rows(b));
}

TEST(BmpSave, Failures) {
  CLamina img;
  EXPECT_EQ(img.fnIMG_SaveBMP(CString(TempPath("no/such/folder/x.bmp"))), 1);
  EXPECT_EQ(img.fnIMG_SaveBMP(static_cast<CFile*>(nullptr)), 2);

  // No block: nothing to write, and an existing file is not truncated.
  CLamina none(nullptr, nullptr, 4, 4, 16);
  const std::string keep = TempPath("keep.bmp");
  bmp_test::WriteAll(keep, Bytes{1, 2, 3});
  EXPECT_EQ(none.fnIMG_SaveBMP(CString(keep)), 2);
  EXPECT_EQ(ReadAll(keep), (Bytes{1, 2, 3}));
  CFile f;
  ASSERT_TRUE(f.Open(CString(keep), CFile::modeCreate | CFile::modeWrite | CFile::modeNoTruncate));
  EXPECT_EQ(none.fnIMG_SaveBMP(&f), 2);

  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full to make writes fail";
  const Snapshot before = Take(img);
  EXPECT_EQ(img.fnIMG_SaveBMP(CString("/dev/full")), 2);
  CFile full;
  ASSERT_TRUE(full.Open(CString("/dev/full"), CFile::modeWrite));
  EXPECT_EQ(img.fnIMG_SaveBMP(&full), 2);
  EXPECT_TRUE(Take(img) == before);
}

// ---- Loading: layouts and repairs ---------------------------------------------------------------

TEST(BmpLoad, SizeImageZeroOrShortIsFilledInByAllThreeLoaders) {
  for (std::uint32_t stated : {0u, 4u}) {
    Bmp layout;
    layout.sizeImage = stated;
    const Bytes file = layout.Make();
    const std::string path = TempPath("size.bmp");
    bmp_test::WriteAll(path, file);
    CLamina a, b, c;
    ASSERT_EQ(LoadBuffer(a, file), 0);
    ASSERT_EQ(b.fnIMG_LoadBMP(CString(path)), 0);
    CFile f;
    ASSERT_TRUE(f.Open(CString(path), CFile::modeRead));
    ASSERT_EQ(c.fnIMG_LoadBMP(&f), 0);
    for (CLamina* img : {&a, &b, &c}) {
      EXPECT_EQ(img->fnIMG_GetBitmapSize(), 8) << stated;
      EXPECT_EQ(img->fnIMG_GetDIBSize(), 40 + 1024 + 8);
    }
  }
}

TEST(BmpLoad, LargerSizeImageWithinTheFileIsKept) {
  Bmp layout;
  layout.sizeImage = 12;
  layout.trailing = 4;
  CLamina img;
  ASSERT_EQ(LoadBuffer(img, layout.Make()), 0);
  EXPECT_EQ(img.fnIMG_GetBitmapSize(), 12);
}

TEST(BmpLoad, SixteenBitsLoadsAsIsAndPixelCallsRefuseIt) {
  Bmp layout;
  layout.bpp = 16;
  CLamina img;
  ASSERT_EQ(LoadBuffer(img, layout.Make()), 0);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 16);
  EXPECT_EQ(img.fnIMG_GetPointers().lpPalette, nullptr);
  EXPECT_EQ(img.fnIMG_GetPixel(0, 0), 0xFFFFFFFEu);
  EXPECT_EQ(img.fnIMG_GetPixel(-1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(BitsOffset(img), 40);
  const Bytes file = layout.Make();
  EXPECT_EQ(Rows(img), Bytes(file.begin() + 54, file.end()));
}

TEST(BmpLoad, SubByteDepthsReadTheirPaletteAndBits) {
  Bmp one;
  one.bpp = 1;
  one.width = 9;  // 2 bytes of pixels and 2 of padding per row
  CLamina a;
  ASSERT_EQ(LoadBuffer(a, one.Make()), 0);
  // Top row = second row of the area: bytes 4, 5 = 13 (00001101), 16 (00010000).
  const unsigned expectedTop[9] = {0, 0, 0, 0, 1, 1, 0, 1, 0};
  for (int x = 0; x < 9; ++x) EXPECT_EQ(a.fnIMG_GetPixel(x, 0), expectedTop[x]) << x;
  RGBQUAD c{};
  ASSERT_EQ(a.fnIMG_GetRGBPixel(4, 0, &c), 0);
  EXPECT_EQ(c.rgbBlue, 1);
  EXPECT_EQ(c.rgbGreen, 254);
  EXPECT_EQ(c.rgbRed, 0x54);

  Bmp four;
  four.bpp = 4;
  four.width = 3;
  CLamina b;
  ASSERT_EQ(LoadBuffer(b, four.Make()), 0);
  EXPECT_EQ(b.fnIMG_GetPixel(0, 1), 0u);  // byte 1 = 0x01: high nibble first
  EXPECT_EQ(b.fnIMG_GetPixel(1, 1), 1u);
  EXPECT_EQ(b.fnIMG_GetPixel(2, 1), 0u);  // byte 4 = 0x04
  EXPECT_EQ(b.fnIMG_GetColorsUsed(), 16);
}

TEST(BmpLoad, TopDownRowsAreStoredBottomUp) {
  for (std::uint32_t headerSize : {40u, 108u}) {
    Bmp up, down;
    up.headerSize = down.headerSize = headerSize;
    up.height = 3;
    down.height = -3;
    Bytes downFile = down.Make();
    // Reverse the rows of the file so that both files show the same picture.
    const Bytes upFile = up.Make();
    for (int r = 0; r < 3; ++r)
      std::copy(upFile.end() - 4 * (r + 1), upFile.end() - 4 * r, downFile.begin() + down.OffBits() + 4 * r);
    CLamina a, b;
    ASSERT_EQ(LoadBuffer(a, upFile), 0);
    ASSERT_EQ(LoadBuffer(b, downFile), 0);
    EXPECT_EQ(b.fnIMG_GetRows(), 3);
    EXPECT_EQ(Rows(b), Rows(a));
    EXPECT_EQ(b.fnIMG_GetPixel(0, 0), 25u);  // the first row of the file is the top row
  }
}

TEST(BmpLoad, LongHeaderBecomesACompactFortyByteHeader) {
  Bmp v4;
  v4.headerSize = 108;
  v4.clrUsed = 4;
  v4.gap = 12;
  v4.trailing = 100;  // an embedded colour profile, say
  const Bytes file = v4.Make();
  CLamina img;
  ASSERT_EQ(LoadBuffer(img, file), 0);
  const BITMAPINFOHEADER h = Header(img);
  EXPECT_EQ(h.biSize, 40u);
  EXPECT_EQ(h.biClrUsed, 4u);
  EXPECT_EQ(h.biSizeImage, 8u);
  ASSERT_EQ(BlockSize(img), 40u + 16u + 8u);
  EXPECT_TRUE(std::equal(file.begin() + 14 + 108, file.begin() + 14 + 108 + 16, Block(img) + 40));
  EXPECT_EQ(BitsOffset(img), 56);
  EXPECT_EQ(Rows(img), Bytes(file.begin() + v4.OffBits(), file.begin() + v4.OffBits() + 8));
}

TEST(BmpLoad, OsTwoCoreHeaderIsConverted) {
  Bmp core;
  core.headerSize = 12;
  core.entries = 5;  // fewer than 256 three-byte entries before the rows
  const Bytes file = core.Make();
  CLamina img;
  ASSERT_EQ(LoadBuffer(img, file), 0);
  const BITMAPINFOHEADER h = Header(img);
  EXPECT_EQ(h.biSize, 40u);
  EXPECT_EQ(h.biWidth, 3);
  EXPECT_EQ(h.biHeight, 2);
  EXPECT_EQ(h.biBitCount, 8);
  EXPECT_EQ(h.biClrUsed, 5u);
  EXPECT_EQ(h.biSizeImage, 8u);
  ASSERT_EQ(BlockSize(img), 40u + 20u + 8u);
  const RGBQUAD* pal = img.fnIMG_GetPointers().lpPalette;
  EXPECT_EQ(pal[4].rgbBlue, 4);
  EXPECT_EQ(pal[4].rgbGreen, 251);
  EXPECT_EQ(pal[4].rgbRed, 4 ^ 0x55);
  EXPECT_EQ(pal[4].rgbReserved, 0);
  EXPECT_EQ(Rows(img), Bytes(file.end() - 8, file.end()));

  core.entries = 256;  // a full table: biClrUsed stays 0
  CLamina full;
  ASSERT_EQ(LoadBuffer(full, core.Make()), 0);
  EXPECT_EQ(Header(full).biClrUsed, 0u);
}

TEST(BmpLoad, SameSizeBlockIsRefilledAndAFileInsideItIsStillRead) {
  Bmp layout;
  CLamina img;
  ASSERT_EQ(LoadBuffer(img, layout.Make()), 0);
  const Snapshot first = Take(img);
  Bmp other = layout;
  other.height = -2;  // same size, rows reversed
  ASSERT_EQ(LoadBuffer(img, other.Make()), 0);
  EXPECT_EQ(Block(img), first.address);
  CLamina fresh;
  ASSERT_EQ(LoadBuffer(fresh, other.Make()), 0);
  EXPECT_TRUE(Take(img).SameContent(Take(fresh)));

  // An OS/2 file is smaller than its block: placed in the image's own block, it is read whole
  // before that block is let go.
  Bmp core;
  core.headerSize = 12;
  core.entries = 256;
  const Bytes file = core.Make();
  CLamina a;
  ASSERT_EQ(LoadBuffer(a, file), 0);
  const Snapshot expected = Take(a);
  ASSERT_LT(file.size(), BlockSize(a));
  std::uint8_t* own = a.fnIMG_GetPointers().lpDib;
  std::copy(file.begin(), file.end(), own);
  ASSERT_EQ(a.fnIMG_LoadBMPFromBuffer(own, static_cast<int>(file.size())), 0);
  EXPECT_TRUE(Take(a).SameContent(expected));
}

// ---- Names and file forms -----------------------------------------------------------------------

TEST(BmpNames, OnlyTheFileFormsNameTheImageAndOnlyOnSuccess) {
  const std::string dir = TempPath("names.d");
  fs::create_directories(dir);
  const std::string path = dir + "/picture.bmp";
  bmp_test::WriteAll(path, Bmp{}.Make());
  CLamina img;
  ASSERT_EQ(img.fnIMG_LoadBMP(CString(path)), 0);
  EXPECT_EQ(Take(img).name, "picture.bmp");
  EXPECT_EQ(img.fnIMG_GetFileExt().ToUtf8(), "bmp");

  img.fnIMG_SetFileName(CString("kept.raw"));
  ASSERT_EQ(LoadBuffer(img, Bmp{}.Make()), 0);
  EXPECT_EQ(Take(img).name, "kept.raw");

  Bytes broken = Bmp{}.Make();
  broken.pop_back();
  bmp_test::WriteAll(path, broken);
  const Snapshot before = Take(img);
  EXPECT_EQ(img.fnIMG_LoadBMP(CString(path)), 5);
  EXPECT_EQ(img.fnIMG_LoadBMP(CString(dir + "/missing.bmp")), 1);
  EXPECT_EQ(img.fnIMG_LoadBMP(CString(dir)), 1);  // a folder is not a file
  EXPECT_TRUE(Take(img) == before);
}

TEST(BmpNames, FileFormReadsFromTheCurrentPositionAndLeavesTheFileOpen) {
  Bytes file = {9, 9, 9, 9, 9};
  const Bytes bmp = Bmp{}.Make();
  file.insert(file.end(), bmp.begin(), bmp.end());
  const std::string path = TempPath("embedded.dat");
  bmp_test::WriteAll(path, file);
  CFile f;
  ASSERT_TRUE(f.Open(CString(path), CFile::modeRead));
  f.Seek(5, CFile::begin);
  CLamina img;
  ASSERT_EQ(img.fnIMG_LoadBMP(&f), 0);
  EXPECT_TRUE(f.IsOpen());
  EXPECT_EQ(Take(img).name, "embedded.dat");
  EXPECT_EQ(BlockSize(img), bmp.size() - 14);
  f.SeekToBegin();  // at the 9s the file does not start with BM
  EXPECT_EQ(img.fnIMG_LoadBMP(&f), 2);
  EXPECT_EQ(img.fnIMG_LoadBMP(static_cast<CFile*>(nullptr)), 5);
  CFile closed;
  EXPECT_EQ(img.fnIMG_LoadBMP(&closed), 5);
}

TEST(BmpNames, FilesBeyondTheLargestBlockAreRefusedWithoutReadingThem) {
  // A sparse file past 2 GiB: its headers are judged, then it is refused as too large.
  const std::string path = TempPath("huge.bmp");
  Bmp layout;
  bmp_test::WriteAll(path, layout.Make());
  std::error_code ec;
  fs::resize_file(path, (std::uintmax_t{1} << 31) + 100, ec);
  if (ec) GTEST_SKIP() << "cannot make a sparse file here";
  CLamina img;
  const Snapshot before = Take(img);
  EXPECT_EQ(img.fnIMG_LoadBMP(CString(path)), 5);
  Bytes notBmp = layout.Make();
  notBmp[0] = 'X';
  bmp_test::WriteAll(path, notBmp);
  fs::resize_file(path, (std::uintmax_t{1} << 31) + 100);
  EXPECT_EQ(img.fnIMG_LoadBMP(CString(path)), 2);
  EXPECT_TRUE(Take(img) == before);
  fs::remove(path);
}

// ---- Refusals ------------------------------------------------------------------------------------

struct Refusal {
  const char* what;
  int expected;
  Bytes file;
};

Bytes With(Bmp layout, std::size_t at = 0, std::uint32_t value = 0, int width = 0) {
  Bytes b = layout.Make();
  if (width == 4) Put32(b, at, value);
  if (width == 2) Put16(b, at, value);
  return b;
}
Bytes Truncated(Bytes b, std::size_t size) {
  b.resize(size);
  return b;
}

std::vector<Refusal> Refusals() {
  Bmp p8;
  Bmp p1;
  p1.bpp = 1;
  Bmp rgb;
  rgb.bpp = 24;
  Bmp v4;
  v4.headerSize = 108;
  Bmp core;
  core.headerSize = 12;
  core.entries = 0;
  Bmp coreShort = core;
  coreShort.entries = 1;
  Bmp huge = rgb;
  huge.bpp = 32;
  return {
      {"one byte", 5, Bytes{'B'}},
      {"two bytes, not BM", 2, Bytes{'B', 'A'}},
      {"two bytes, BM", 5, Bytes{'B', 'M'}},
      {"not BM", 2, With(p8, 0, 'X', 2)},
      {"not BM wins over depth", 2, [&] { Bytes b = With(p8, kBpp, 2, 2); b[1] = 'N'; return b; }()},
      {"depth 2", 3, With(p8, kBpp, 2, 2)},
      {"depth 0", 3, With(p8, kBpp, 0, 2)},
      {"depth 64", 3, With(p8, kBpp, 64, 2)},
      {"depth wins over compression", 3, [&] { Bytes b = With(p8, kBpp, 2, 2); Put32(b, kCompression, 1); return b; }()},
      {"depth wins over missing rows", 3, Truncated(With(p8, kBpp, 2, 2), 60)},
      {"run-length 8 bits", 4, With(p8, kCompression, 1, 4)},
      {"bit fields 16 bits", 4, [&] { Bmp s = rgb; s.bpp = 16; return With(s, kCompression, 3, 4); }()},
      {"bit fields 32 bits", 4, [&] { Bmp s = rgb; s.bpp = 32; return With(s, kCompression, 3, 4); }()},
      {"compression wins over width", 4, [&] { Bytes b = With(p8, kCompression, 1, 4); Put32(b, kWidth, 0); return b; }()},
      {"shorter than the info header", 5, Truncated(p8.Make(), 53)},
      {"shorter than the V4 header", 5, Truncated(v4.Make(), 14 + 100)},
      {"no biSize", 5, Truncated(p8.Make(), 17)},
      {"biSize 39", 5, With(p8, kBiSize, 39, 4)},
      {"biSize 16", 5, With(p8, kBiSize, 16, 4)},
      {"biSize 0", 5, With(p8, kBiSize, 0, 4)},
      {"biSize past the end", 5, With(p8, kBiSize, 0xFFFFFFF0u, 4)},
      {"width 0", 5, With(p8, kWidth, 0, 4)},
      {"width negative", 5, With(p8, kWidth, 0xFFFFFFFDu, 4)},
      {"height 0", 5, With(p8, kHeight, 0, 4)},
      {"height INT_MIN", 5, With(p8, kHeight, 0x80000000u, 4)},
      {"257 colours at 8 bits", 5, With(p8, kClrUsed, 257, 4)},
      {"3 colours at 1 bit", 5, With(p1, kClrUsed, 3, 4)},
      {"colours above the levels at 24 bits", 5, With(rgb, kClrUsed, 16777217u, 4)},
      {"colours above the levels at 16 bits", 5, [&] { Bmp s = rgb; s.bpp = 16; return With(s, kClrUsed, 65537, 4); }()},
      {"palette past the end", 5, Truncated(p8.Make(), 54 + 1000)},
      {"rows overlapping the palette", 5, With(p8, kOffBits, 54 + 1020, 4)},
      {"rows overlapping the header", 5, With(rgb, kOffBits, 50, 4)},
      {"rows past the end", 5, With(p8, kOffBits, 54 + 1024 + 9, 4)},
      {"rows cut short", 5, Truncated(p8.Make(), 54 + 1024 + 7)},
      {"biSizeImage past the end", 5, With(p8, kSizeImage, 9, 4)},
      {"biSizeImage of 4 GiB", 5, With(p8, kSizeImage, 0xFFFFFFFFu, 4)},
      {"rows of 2^64 bytes", 5, [&] { Bytes b = With(huge, kWidth, 0x7FFFFFFF, 4); Put32(b, kHeight, 0x7FFFFFFF); return b; }()},
      {"core header cut", 5, Truncated(core.Make(), 25)},
      {"core rows inside the header", 5, With(core, kOffBits, 20, 4)},
      {"core without a palette", 5, core.Make()},
      {"core rows cut short", 5, Truncated(coreShort.Make(), 26 + 3 + 7)},
      {"long header, palette past the end", 5, Truncated(v4.Make(), 14 + 108 + 500)},
  };
}

TEST(BmpRefusal, EachDamagedFileGivesItsCodeAndLeavesTheImageIntact) {
  for (Refusal& r : Refusals()) {
    SCOPED_TRACE(r.what);
    CLamina img;
    img.fnIMG_SetFileName(CString("before.bmp"));
    const Snapshot before = Take(img);
    EXPECT_EQ(img.fnIMG_LoadBMPFromBuffer(r.file.data(), static_cast<int>(r.file.size())), r.expected);
    EXPECT_TRUE(Take(img) == before);
    const std::string path = TempPath("refused.bmp");
    bmp_test::WriteAll(path, r.file);
    EXPECT_EQ(img.fnIMG_LoadBMP(CString(path)), r.expected);
    CFile f;
    ASSERT_TRUE(f.Open(CString(path), CFile::modeRead));
    EXPECT_EQ(img.fnIMG_LoadBMP(&f), r.expected);
    EXPECT_TRUE(Take(img) == before);
  }
}

TEST(BmpRefusal, NullBufferAndNegativeLength) {
  CLamina img;
  const Snapshot before = Take(img);
  Bytes b = Bmp{}.Make();
  EXPECT_EQ(img.fnIMG_LoadBMPFromBuffer(nullptr, 100), 5);
  EXPECT_EQ(img.fnIMG_LoadBMPFromBuffer(nullptr, 0), 5);
  EXPECT_EQ(img.fnIMG_LoadBMPFromBuffer(b.data(), -1), 5);
  EXPECT_EQ(img.fnIMG_LoadBMPFromBuffer(b.data(), INT_MIN), 5);
  EXPECT_TRUE(Take(img) == before);
}

TEST(BmpRefusal, ShortMemoryGivesSixAndLeavesTheImageIntact) {
  const Bytes file = Bmp{}.Make();
  const std::string path = TempPath("memory.bmp");
  bmp_test::WriteAll(path, file);
  CLamina img;
  const Snapshot before = Take(img);
  Bytes copy = file;
  lamina::platform::FailAllocationsAfter(0);
  EXPECT_EQ(img.fnIMG_LoadBMPFromBuffer(copy.data(), static_cast<int>(copy.size())), 6);
  lamina::platform::FailAllocationsAfter(0);
  EXPECT_EQ(img.fnIMG_LoadBMP(CString(path)), 6);
  CFile f;
  ASSERT_TRUE(f.Open(CString(path), CFile::modeRead));
  lamina::platform::FailAllocationsAfter(0);
  EXPECT_EQ(img.fnIMG_LoadBMP(&f), 6);
  lamina::platform::FailAllocationsAfter(-1);
  EXPECT_TRUE(Take(img) == before);
  EXPECT_EQ(img.fnIMG_LoadBMPFromBuffer(copy.data(), static_cast<int>(copy.size())), 0);
}

}  // namespace

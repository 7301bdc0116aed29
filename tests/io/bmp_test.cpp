// BMP loading and saving on small synthetic files: layouts, repairs, result codes and their order,
// and "a refused load leaves the image byte-identical".
#include <functional>

#include "support/files.h"

namespace {

using namespace lamina_test;

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

// A BMP file as another program might write it. Byte i of the row area = 3 * i + 1; palette
// entry i = (blue i, green 255 - i, red i ^ 0x55, 0).
struct Bmp {
  std::uint32_t headerSize = 40;
  std::int32_t width = 3, height = 2;
  std::uint16_t bpp = 8;
  std::uint32_t sizeImage = 0, clrUsed = 0;
  int entries = -1;  // table entries written; -1: clrUsed, or 2^bpp up to 8 bits, else none
  int gap = 0;       // bytes between the table and the rows
  int trailing = 0;  // bytes after the rows

  int Entries() const {
    if (entries >= 0) return entries;
    if (clrUsed != 0) return static_cast<int>(clrUsed);
    return bpp <= 8 ? 1 << bpp : 0;
  }
  std::size_t OffBits() const {
    return 14 + headerSize + Entries() * (headerSize == 12 ? 3 : 4) + gap;
  }
  Bytes Make() const {
    const std::size_t rowBytes =
        static_cast<std::size_t>(lamina::Stride64(width, bpp) * (height < 0 ? -height : height));
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
  // The file as a compact save writes it back: a 40-byte header, no gap or trailing bytes, the
  // table only as long as the file's, biSizeImage filled in.
  Bytes Saved() const {
    Bmp c = *this;
    c.gap = c.trailing = 0;
    c.headerSize = 40;
    c.clrUsed = Entries() < (1 << bpp) ? static_cast<std::uint32_t>(Entries()) : 0;
    c.entries = Entries();
    Bytes b = c.Make();
    const std::int64_t rows = lamina::Stride64(width, bpp) * std::abs(height);
    Put32(b, kSizeImage, static_cast<std::uint32_t>(rows));
    return b;
  }
  // The block a load leaves: the compact file without its file header.
  Bytes Block() const {
    const Bytes f = Saved();
    return Bytes(f.begin() + 14, f.end());
  }
};

int LoadBuffer(CLamina& img, Bytes b) {
  return img.fnIMG_LoadBMPFromBuffer(b.data(), static_cast<int>(b.size()));
}
// One private folder per process: ctest runs tests side by side, and other checkouts may too.
std::string TempPath(const std::string& name) {
  static const TempDir dir;
  return (dir / name).string();
}
std::ptrdiff_t BitsOffset(CLamina& img) {
  return img.fnIMG_GetPointers().lpBits - img.fnIMG_GetPointers().lpDib;
}
Bytes SavedFile(CLamina& img) {
  const std::string path = TempPath("saved.bmp");
  EXPECT_EQ(img.fnIMG_SaveBMP(CString(path)), 0);
  return ReadAll(path);
}

// ---- Saving -------------------------------------------------------------------------------------

TEST(BmpSave, DefaultImageIs1334BytesWithRowsAfterThePalette) {
  CLamina img;
  const Bytes f = SavedFile(img);
  ASSERT_EQ(f.size(), 1334u);
  EXPECT_EQ((std::vector<std::uint32_t>{f[0], f[1], Get32(f, 2), Get32(f, 6), Get32(f, kOffBits)}),
            (std::vector<std::uint32_t>{'B', 'M', 1334, 0, 1078}));
  EXPECT_EQ(Bytes(f.begin() + 14, f.end()), Snap(img).block);  // header, palette, rows as held
  EXPECT_EQ(NameOf(img), "SIN_NOMBRE.RAW");                      // saving does not rename
}

TEST(BmpSave, ShortPalettesGapsAndTrailingBytesAreKeptAndSavedCompact) {
  Bmp pal16;
  pal16.clrUsed = 16;
  // Rows behind a gap, trailing bytes: the block is the file minus its file header, byte for byte
  // but for biSizeImage filled in; the save writes the rows right after the palette.
  Bmp gap;
  gap.gap = 16;
  gap.trailing = 5;
  const Bytes gapFile = gap.Make();
  Bytes gapBlock(gapFile.begin() + 14, gapFile.end());
  Put32(gapBlock, kSizeImage - 14, 8);
  for (const auto& [layout, block] :
       {std::pair<Bmp, Bytes>{pal16, pal16.Block()}, {gap, gapBlock}}) {
    CLamina img;
    ASSERT_EQ(LoadBuffer(img, layout.Make()), 0);
    EXPECT_EQ(Snap(img).block, block);
    EXPECT_EQ(BitsOffset(img), 40 + 4 * layout.Entries() + layout.gap);
    EXPECT_EQ(SavedFile(img), layout.Saved());
  }
}

TEST(BmpSave, TrueColourFilesCountTheTableTheyCarry) {
  // 24 bits with a 2-entry table that the file holds before the rows: written back, and counted in
  // biClrUsed and biClrImportant.
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
  Bytes expected = held.Saved();
  Put32(expected, kClrUsed + 4, 2);
  EXPECT_EQ(ReadAll(path), expected);
  // The same header with the rows right after it, and the data constructor's 2^24: no table is
  // written and the file counts none, while the image keeps its header.
  Bmp none = held;
  none.clrUsed = 0;
  none.entries = 0;
  Bmp missing = held;
  missing.entries = 0;
  CLamina b;
  ASSERT_EQ(LoadBuffer(b, missing.Make()), 0);
  EXPECT_EQ(SavedFile(b), none.Saved());
  EXPECT_EQ(b.fnIMG_GetColorsUsed(), 2);
  CLamina c(nullptr, nullptr, 3, 2, 24);
  const Bytes f = SavedFile(c);
  EXPECT_EQ((std::vector<std::uint32_t>{static_cast<std::uint32_t>(f.size()), Get32(f, kOffBits),
                                        Get32(f, kClrUsed), Get32(f, kClrUsed + 4)}),
            (std::vector<std::uint32_t>{54 + 24, 54, 0, 0}));
  EXPECT_EQ(c.fnIMG_GetBitmapInfoHeader().biClrImportant, 1u << 24);
}

TEST(BmpSave, Failures) {
  CLamina img;
  EXPECT_EQ(img.fnIMG_SaveBMP(CString(TempPath("no/such/folder/x.bmp"))), 1);
  EXPECT_EQ(img.fnIMG_SaveBMP(static_cast<CFile*>(nullptr)), 2);
  // No block: nothing to write, and an existing file is not truncated.
  CLamina none(nullptr, nullptr, 4, 4, 16);
  const std::string keep = TempPath("keep.bmp");
  WriteAll(keep, Bytes{1, 2, 3});
  EXPECT_EQ(none.fnIMG_SaveBMP(CString(keep)), 2);
  EXPECT_EQ(ReadAll(keep), (Bytes{1, 2, 3}));
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full to make writes fail";
  const Snapshot before = Snap(img);
  EXPECT_EQ(img.fnIMG_SaveBMP(CString("/dev/full")), 2);
  CFile full;
  ASSERT_TRUE(full.Open(CString("/dev/full"), CFile::modeWrite));
  EXPECT_EQ(img.fnIMG_SaveBMP(&full), 2);
  EXPECT_EQ(Snap(img), before);
}

// ---- Loading: layouts and repairs ---------------------------------------------------------------

TEST(BmpLoad, SizeImageZeroOrShortIsFilledInAndLargerIsKept) {
  for (std::uint32_t stated : {0u, 4u}) {
    Bmp layout;
    layout.sizeImage = stated;
    CLamina img;
    ASSERT_EQ(LoadBuffer(img, layout.Make()), 0);
    EXPECT_EQ(Snap(img).block, layout.Block()) << stated;
  }
  Bmp larger;
  larger.sizeImage = 12;
  larger.trailing = 4;
  CLamina img;
  ASSERT_EQ(LoadBuffer(img, larger.Make()), 0);
  EXPECT_EQ(img.fnIMG_GetBitmapSize(), 12);
}

TEST(BmpLoad, LongAndOsTwoHeadersBecomeACompactFortyByteHeader) {
  Bmp v4, core, full;
  v4.headerSize = 108;
  v4.clrUsed = 4;
  v4.gap = 12;
  v4.trailing = 100;  // an embedded colour profile, say
  core.headerSize = full.headerSize = 12;
  core.entries = 5;    // fewer than 256 three-byte entries before the rows
  full.entries = 256;  // a full table: biClrUsed stays 0
  for (const Bmp& layout : {v4, core, full}) {
    CLamina img;
    ASSERT_EQ(LoadBuffer(img, layout.Make()), 0);
    EXPECT_EQ(Snap(img).block, layout.Block()) << layout.headerSize << " " << layout.Entries();
  }
}

TEST(BmpLoad, SameSizeBlockIsRefilledAndAFileInsideItIsStillRead) {
  Bmp layout;
  CLamina img;
  ASSERT_EQ(LoadBuffer(img, layout.Make()), 0);
  const Snapshot first = Snap(img);
  Bmp other = layout;
  other.height = -2;  // same size, rows reversed
  ASSERT_EQ(LoadBuffer(img, other.Make()), 0);
  EXPECT_EQ(Snap(img).address, first.address);
  CLamina fresh;
  ASSERT_EQ(LoadBuffer(fresh, other.Make()), 0);
  EXPECT_EQ(Snap(img), Snap(fresh));

  // An OS/2 file is smaller than its block: placed in the image's own block, it is read whole
  // before that block is let go.
  Bmp core;
  core.headerSize = 12;
  core.entries = 256;
  const Bytes file = core.Make();
  CLamina a;
  ASSERT_EQ(LoadBuffer(a, file), 0);
  const Snapshot expected = Snap(a);
  ASSERT_LT(file.size(), expected.block.size());
  std::uint8_t* own = a.fnIMG_GetPointers().lpDib;
  std::copy(file.begin(), file.end(), own);
  ASSERT_EQ(a.fnIMG_LoadBMPFromBuffer(own, static_cast<int>(file.size())), 0);
  EXPECT_EQ(Snap(a), expected);
}

// ---- Names and file forms -----------------------------------------------------------------------

// The corpus test sees that a good file names the image from the file forms only; here the file
// forms that fail keep the name.
TEST(BmpNames, AFailedLoadByNameKeepsTheName) {
  const std::string dir = TempPath("names.d");
  fs::create_directories(dir);
  Bytes broken = Bmp{}.Make();
  broken.pop_back();
  WriteAll(dir + "/broken.bmp", broken);
  CLamina img;
  img.fnIMG_SetFileName(CString("kept.raw"));
  const Snapshot before = Snap(img);
  EXPECT_EQ(img.fnIMG_LoadBMP(CString(dir + "/broken.bmp")), 5);
  EXPECT_EQ(img.fnIMG_LoadBMP(CString(dir + "/missing.bmp")), 1);
  EXPECT_EQ(img.fnIMG_LoadBMP(CString(dir)), 1);  // a folder is not a file
  EXPECT_EQ(Snap(img), before);
}

TEST(BmpNames, FileFormReadsFromTheCurrentPositionAndLeavesTheFileOpen) {
  const Bytes bmp = Bmp{}.Make();
  const std::string path = TempPath("embedded.dat");
  WriteAll(path, Cat(Bytes{9, 9, 9, 9, 9}, bmp));
  CFile f;
  ASSERT_TRUE(f.Open(CString(path), CFile::modeRead));
  f.Seek(5, CFile::begin);
  CLamina img;
  ASSERT_EQ(img.fnIMG_LoadBMP(&f), 0);
  EXPECT_TRUE(f.IsOpen());
  EXPECT_EQ(NameOf(img), "embedded.dat");
  EXPECT_EQ(Snap(img).block, Bmp{}.Block());
  f.SeekToBegin();  // at the 9s the file does not start with BM
  EXPECT_EQ(img.fnIMG_LoadBMP(&f), 2);
  EXPECT_EQ(img.fnIMG_LoadBMP(static_cast<CFile*>(nullptr)), 5);
  CFile closed;
  EXPECT_EQ(img.fnIMG_LoadBMP(&closed), 5);
  EXPECT_EQ(img.fnIMG_LoadBMPFromBuffer(nullptr, 100), 5);
  EXPECT_EQ(img.fnIMG_LoadBMPFromBuffer(Bytes(bmp).data(), -1), 5);
}

TEST(BmpNames, FilesBeyondTheLargestBlockAreRefusedWithoutReadingThem) {
  // A sparse file past 2 GiB: its headers are judged, then it is refused as too large.
  const std::string path = TempPath("huge.bmp");
  Bytes file = Bmp{}.Make();
  CLamina img;
  const Snapshot before = Snap(img);
  for (const auto& [first, code] : {std::pair<char, int>{'B', 5}, {'X', 2}}) {
    file[0] = static_cast<std::uint8_t>(first);
    WriteAll(path, file);
    std::error_code ec;
    fs::resize_file(path, (std::uintmax_t{1} << 31) + 100, ec);
    if (ec) GTEST_SKIP() << "cannot make a sparse file here";
    EXPECT_EQ(img.fnIMG_LoadBMP(CString(path)), code);
  }
  EXPECT_EQ(Snap(img), before);
  fs::remove(path);
}

// ---- Refusals ------------------------------------------------------------------------------------

struct Refusal {
  const char* what;
  Bmp layout;
  std::function<void(Bytes&)> damage;
  int expected;
};

Bmp Layout(int bpp, std::uint32_t headerSize = 40, int entries = -1) {
  Bmp b;
  b.bpp = static_cast<std::uint16_t>(bpp);
  b.headerSize = headerSize;
  b.entries = entries;
  return b;
}
std::function<void(Bytes&)> Set32(std::size_t at, std::uint32_t v) { return [=](Bytes& b) { Put32(b, at, v); }; }
std::function<void(Bytes&)> Set16(std::size_t at, std::uint32_t v) { return [=](Bytes& b) { Put16(b, at, v); }; }
std::function<void(Bytes&)> Cut(std::size_t size) { return [=](Bytes& b) { b.resize(size); }; }
std::function<void(Bytes&)> Both(std::function<void(Bytes&)> a, std::function<void(Bytes&)> b) {
  return [=](Bytes& x) { a(x); b(x); };
}

const Refusal kRefusals[] = {
    {"one byte", Layout(8), Cut(1), 5},
    {"not BM", Layout(8), Set16(0, 'X'), 2},
    {"not BM wins over depth", Layout(8), Both(Set16(kBpp, 2), [](Bytes& b) { b[1] = 'N'; }), 2},
    {"depth 2", Layout(8), Set16(kBpp, 2), 3},
    {"depth wins over compression", Layout(8), Both(Set16(kBpp, 2), Set32(kCompression, 1)), 3},
    {"run-length 8 bits", Layout(8), Set32(kCompression, 1), 4},
    {"compression wins over width", Layout(8), Both(Set32(kCompression, 1), Set32(kWidth, 0)), 4},
    {"shorter than the info header", Layout(8), Cut(53), 5},
    {"biSize 39", Layout(8), Set32(kBiSize, 39), 5},
    {"biSize past the end", Layout(8), Set32(kBiSize, 0xFFFFFFF0u), 5},
    {"negative width", Layout(8), Set32(kWidth, 0xFFFFFFFFu), 5},
    {"height INT_MIN", Layout(8), Set32(kHeight, 0x80000000u), 5},
    {"257 colours at 8 bits", Layout(8, 40, 257), Set32(kClrUsed, 257), 5},
    {"3 colours at 1 bit", Layout(1, 40, 3), Set32(kClrUsed, 3), 5},
    {"palette past the end", Layout(8), Cut(54 + 1000), 5},
    {"rows overlapping the palette", Layout(8), Set32(kOffBits, 54 + 1020), 5},
    {"rows past the end", Layout(8), Set32(kOffBits, 54 + 1024 + 9), 5},
    {"biSizeImage past the end", Layout(8), Set32(kSizeImage, 9), 5},
    {"biSizeImage of 4 GiB", Layout(8), Set32(kSizeImage, 0xFFFFFFFFu), 5},
    {"rows of 2^64 bytes", Layout(32), Both(Set32(kWidth, 0x7FFFFFFF), Set32(kHeight, 0x7FFFFFFF)), 5},
    {"core without a palette", Layout(8, 12, 0), [](Bytes&) {}, 5},
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.what; }

class BmpRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(BmpRefusal, GivesItsCodeFromEveryLoaderAndLeavesTheImageIntact) {
  Bytes file = GetParam().layout.Make();
  GetParam().damage(file);
  const int expected = GetParam().expected;
  CLamina img;
  img.fnIMG_SetFileName(CString("before.bmp"));
  const Snapshot before = Snap(img);
  EXPECT_EQ(img.fnIMG_LoadBMPFromBuffer(file.data(), static_cast<int>(file.size())), expected);
  EXPECT_EQ(Snap(img), before);
  EXPECT_EQ(img.fnIMG_GetPointers().lpDib, before.address);
  const std::string path = TempPath("refused.bmp");
  WriteAll(path, file);
  EXPECT_EQ(img.fnIMG_LoadBMP(CString(path)), expected);
  CFile f;
  ASSERT_TRUE(f.Open(CString(path), CFile::modeRead));
  EXPECT_EQ(img.fnIMG_LoadBMP(&f), expected);
  EXPECT_EQ(Snap(img), before);
  EXPECT_EQ(img.fnIMG_GetPointers().lpDib, before.address);
}

INSTANTIATE_TEST_SUITE_P(Damaged, BmpRefusal, ::testing::ValuesIn(kRefusals), CaseName());

}  // namespace

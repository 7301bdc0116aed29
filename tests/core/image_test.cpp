// The image object: the default and data constructors, copies, names, Initialize and bulk bits.
#include <array>
#include <climits>

#include "support/pictures.h"

using namespace lamina_test;

namespace {
using V = std::vector<long>;
// Columns, rows, depth, block, rows' bytes, colours used: what the getters report of the header.
V Sizes(CLamina& img) {
  return {img.fnIMG_GetColumns(), img.fnIMG_GetRows(),       img.fnIMG_GetColorDepth(),
          img.fnIMG_GetDIBSize(), img.fnIMG_GetBitmapSize(), img.fnIMG_GetColorsUsed()};
}
}  // namespace

TEST(Image, DefaultIsSixteenSquareGrayEightBitBlack) {
  CLamina img;
  EXPECT_EQ(Sizes(img), (V{16, 16, 8, 1320, 256, 256}));
  EXPECT_EQ(img.fnIMG_GetLevels(), 256);
  EXPECT_EQ(NameOf(img), "SIN_NOMBRE.RAW");
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  EXPECT_EQ(p.lpBits, p.lpDib + 1064);
  EXPECT_EQ(GlobalSize(GlobalHandle(p.lpDib)), 1320u);
  EXPECT_EQ(Packed(PaletteOf(img)), Packed(GrayRamp(256)));
  CLamina made(nullptr, nullptr, 16, 16, 8);  // black pixels, as the data constructor makes them
  EXPECT_EQ(Snap(img).block, Snap(made).block);
}

TEST(Image, DataConstructorSizesAndPalettes) {
  CLamina rgb(nullptr, nullptr, 3, 2, 24);
  EXPECT_EQ(Sizes(rgb), (V{3, 2, 24, 64, 24, 16777216}));  // stride 12: 3 bytes of padding
  EXPECT_EQ(rgb.fnIMG_GetPointers().lpPalette, nullptr);
  EXPECT_EQ(rgb.fnIMG_GetPaletteSize(), -1);
  CLamina bw(nullptr, nullptr, 1, 1, 1);
  EXPECT_EQ(Sizes(bw), (V{1, 1, 1, 40 + 8 + 4, 4, 2}));  // one pixel still takes a 4-byte row
  EXPECT_TRUE(Same(bw.fnIMG_GetPointers().lpPalette[1], Quad(1, 1, 1)));  // the index, not 255
  CLamina four(nullptr, nullptr, 5, 3, 4);
  EXPECT_EQ(Sizes(four), (V{5, 3, 4, 40 + 64 + 12, 12, 16}));
  EXPECT_TRUE(Same(four.fnIMG_GetPointers().lpPalette[15], Quad(15, 15, 15)));
  const unsigned char bits[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  const RGBQUAD given[2] = {Quad(9, 8, 7, 6), Quad(5, 4, 3, 2)};
  CLamina withData(bits, given, 2, 2, 1);
  EXPECT_EQ(std::memcmp(withData.fnIMG_GetPointers().lpBits, bits, 8), 0);
  EXPECT_TRUE(Same(withData.fnIMG_GetPointers().lpPalette[1], given[1]));
}

TEST(Image, UnusableGeometryLeavesAnObjectWithoutBlockThatStaysSafe) {
  for (auto args :
       {std::array<int, 3>{4, 4, 16}, {4, 4, 2}, {-1, 4, 8}, {4, -1, 8}, {INT_MAX, 4, 32}}) {
    CLamina img(nullptr, nullptr, args[0], args[1], args[2]);
    EXPECT_EQ(img.fnIMG_GetPointers().lpDib, nullptr);
    EXPECT_EQ(Sizes(img), (V{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(img.fnIMG_GetPixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(img.fnIMG_SetRGBPixel(0, 0, Quad(1, 2, 3)), 1);
    EXPECT_EQ(img.fnIMG_Initialize(0u), 1);
    CLamina copy(img);  // copying and assigning such an object are fine too
    EXPECT_EQ(copy.fnIMG_GetPointers().lpDib, nullptr);
    img = CLamina();
    EXPECT_EQ(img.fnIMG_GetRows(), 16);
  }
  CLamina empty(nullptr, nullptr, 0, 7, 8);  // width 0 is a real, empty image
  EXPECT_NE(empty.fnIMG_GetPointers().lpDib, nullptr);
  EXPECT_EQ(empty.fnIMG_GetBitmapSize(), 0);
}

TEST(Image, InsideMeansWithinWidthAndHeight) {
  CLamina img(nullptr, nullptr, 5, 3, 8);
  EXPECT_EQ(img.fnIMG_IsInside(4, 2), 1);
  EXPECT_EQ(img.fnIMG_IsInside(5, 0) + img.fnIMG_IsInside(0, -1) + img.fnIMG_IsInside(0, 3), 0);
}

namespace {
// The aligned stride and size are protected: a derived class reaches them.
struct Aligned : CLamina {
  using CLamina::CLamina;
  using CLamina::fnIMG_GetAnchoBitmapAlineado;
  using CLamina::fnIMG_GetSizeBitmapAlineado;
};
}  // namespace

TEST(Image, AlignedSizesSaturateBeyondAnInt) {
  Aligned img(nullptr, nullptr, 5, 3, 24);
  EXPECT_EQ(img.fnIMG_GetAnchoBitmapAlineado(), 16);
  EXPECT_EQ(img.fnIMG_GetSizeBitmapAlineado(), 48);
  struct Case {
    int width, height, bpp, stride, size;
  } cases[] = {
      {101, 7, 4, 52, 364},
      {1, 1, 1, 4, 4},
      {0, 9, 8, 0, 0},
      {46340, 46340, 8, 46340, 2147395600},  // the largest square that fits
      {46341, 46341, 8, 46344, INT_MAX},
      {65536, 65536, 32, 262144, INT_MAX},       // 2^34 bytes
      {INT_MAX, INT_MAX, 32, INT_MAX, INT_MAX},  // stride x height beyond 64 bits
      {INT_MAX, INT_MIN, 32, INT_MAX, INT_MIN},
      {8, INT_MIN, 32, 32, INT_MIN},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(img.fnIMG_GetAnchoBitmapAlineado(c.width, c.bpp), c.stride) << c.width;
    EXPECT_EQ(img.fnIMG_GetSizeBitmapAlineado(c.width, c.height, c.bpp), c.size)
        << c.width << " x " << c.height << " at " << c.bpp;
  }
}

TEST(Image, FileNameSplitsAtTheLastFullStop) {
  const struct {
    const wchar_t *full, *name, *ext;
  } cases[] = {{L"a.b.c", L"a.b", L"c"},
               {L"name.", L"name", L""},
               {L"noext", L"", L""},
               {L"dir.d/file", L"dir", L"d/file"}};  // folders are not looked at
  for (const auto& c : cases) {
    CLamina img;
    img.fnIMG_SetFileName(c.full);
    EXPECT_TRUE(img.fnIMG_GetFileName() == c.name) << c.full;
    EXPECT_TRUE(img.fnIMG_GetFileExt() == c.ext) << c.full;
  }
}

TEST(Image, CopiesAreDeepAndCarryTheName) {
  CLamina src = Random(24, 3, 2, 5);
  src.fnIMG_SetFileName(L"src.bmp");
  const Snapshot original = Snap(src);
  CLamina copy(src), eight;
  eight = copy;                     // a 24-bit image assigned over an 8-bit one
  src.fnIMG_Initialize(0xFFFFFFu);  // the copies have blocks of their own
  EXPECT_EQ(Snap(copy), original);
  EXPECT_EQ(Snap(eight), original);
}

TEST(Image, SelfAssignmentKeepsTheImage) {
  CLamina img = FromRows(4, {{1, 2, 3}, {4, 5, 6}});
  img.fnIMG_SetFileName(L"kept.bmp");
  const Snapshot before = Snap(img);
  CLamina& alias = img;
  img = alias;
  EXPECT_EQ(Snap(img), before);
}

TEST(Image, InitializeSetsPixelsAndKeepsPaddingAndAlpha) {
  // Odd widths leave padding bits, a spare nibble and padding bytes; 32 bits have fourth bytes.
  const struct {
    int bpp, width;
    std::uint32_t value, pixel;
  } cases[] = {{1, 10, 7u, 1},
               {4, 3, 0x1Au, 10},
               {24, 3, 0x112233u, 0x112233},
               {32, 2, 0x112233u, 0x112233}};
  for (const auto& c : cases) {
    CLamina img = Marked(c.bpp, Rows(2, std::vector<std::uint32_t>(c.width, 0)));
    EXPECT_EQ(img.fnIMG_Initialize(c.value), 0);
    EXPECT_EQ(PixelsOf(img), Rows(2, std::vector<std::uint32_t>(c.width, c.pixel))) << c.bpp;
    EXPECT_TRUE(PaddingKept(img) && AlphaKept(img)) << c.bpp;
  }
  CLamina rgb(nullptr, nullptr, 3, 1, 24);
  rgb.fnIMG_Initialize(Quad(1, 2, 3, 4));
  EXPECT_EQ(rgb.fnIMG_GetPixel(2, 0), 0x030201u);
}

TEST(Image, InitializeByColourRewritesOnlyThePaletteEntriesInUse) {
  // Flat runs, a lone index at the end of a run of eight, and one in the last row scanned.
  Rows rows(3, std::vector<std::uint32_t>(19, 4));
  rows[0][18] = 9;  // top row, last pixel
  rows[2][7] = 6;   // bottom row, inside the first group of eight
  CLamina img = FromRows(8, rows);
  EXPECT_EQ(img.fnIMG_Initialize(Quad(1, 2, 3, 40)), 0);
  const RGBQUAD* pal = img.fnIMG_GetPointers().lpPalette;
  for (int i : {4, 6, 9}) EXPECT_TRUE(Same(pal[i], Quad(1, 2, 3, 40))) << i;
  for (int i : {0, 5, 7, 8, 10, 255}) EXPECT_TRUE(Same(pal[i], Quad(i, i, i))) << i;
  EXPECT_EQ(PixelsOf(img), rows);
}

// What the library writes, it reads back: every shape and header it can produce goes through a BMP
// file (by name, file object and buffer) and a memory handle, and comes back as the same image.
#include "support/files.h"

namespace {

using namespace lamina_test;

BITMAPINFOHEADER HeaderOf(const Bytes& described) {
  BITMAPINFOHEADER h;
  std::memcpy(&h, described.data(), 40);
  return h;
}

// The image as a file brings it back. Above 8 bits a file's biClrUsed and biClrImportant count the
// colour-table entries it carries, and these images hold none there: both read 0 once loaded (0
// means all the depth's colours, as 2^24 does at 24 and 32 bits). All else is kept.
Bytes FileForm(Bytes described) {
  if (HeaderOf(described).biBitCount > 8)
    std::fill(described.begin() + 32, described.begin() + 40, 0);
  return described;
}

// Hands the image out and takes it back into a fresh image: `expected` again, except that a 32-bit
// bitmap comes back at 24 bits with the same colours (the exchange always reduced them).
void ExpectThroughHandle(CLamina& img, const Bytes& expected) {
  HGLOBAL h = img.fnIMG_CopyToHandle();
  ASSERT_NE(h, nullptr);
  CLamina back(nullptr, nullptr, 1, 1, 8);
  back.fnIMG_CopyFromHandle(h);
  GlobalFree(h);
  if (img.fnIMG_GetColorDepth() != 32) {
    EXPECT_EQ(Described(back), expected);
    return;
  }
  EXPECT_EQ(
      (std::vector<int>{back.fnIMG_GetColorDepth(), back.fnIMG_GetColumns(), back.fnIMG_GetRows()}),
      (std::vector<int>{24, img.fnIMG_GetColumns(), img.fnIMG_GetRows()}));
  EXPECT_EQ(Colours(back), Colours(img));
}

// Saves `img`, loads the file by all three forms, hands each image out and takes it back, saves
// again: every step gives `expected` (the image as a file carries it) and the second file is the
// first byte for byte. The handle of the original gives the original: a handle carries the header
// as the block holds it.
void ExpectRoundTrip(CLamina& img, const Bytes& expected, const TempDir& dir) {
  const std::string path = (dir / "a.bmp").string();
  const Bytes original = Described(img);
  ASSERT_EQ(img.fnIMG_SaveBMP(CString(path)), 0);
  const Bytes file = ReadAll(path);
  CLamina byName, byFile, byBuffer;
  ASSERT_EQ(byName.fnIMG_LoadBMP(CString(path)), 0);
  CFile f;
  ASSERT_TRUE(f.Open(CString(path), CFile::modeRead));
  ASSERT_EQ(byFile.fnIMG_LoadBMP(&f), 0);
  Bytes copy = file;
  ASSERT_EQ(byBuffer.fnIMG_LoadBMPFromBuffer(copy.data(), static_cast<int>(copy.size())), 0);
  for (CLamina* loaded : {&byName, &byFile, &byBuffer}) EXPECT_EQ(Described(*loaded), expected);
  ExpectThroughHandle(img, original);
  ExpectThroughHandle(byName, expected);
  const std::string again = (dir / "b.bmp").string();
  ASSERT_EQ(byName.fnIMG_SaveBMP(CString(again)), 0);
  EXPECT_EQ(ReadAll(again), file);
}

// Random pixels, padding and palette; 16 bits as only a file or handle makes them.
CLamina Picture(int bpp, int width, int height, unsigned seed) {
  if (bpp != 16) return Random(bpp, width, height, seed);
  CLamina img = Raw(16, width, height);
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  for (DWORD i = 0; i < p.lpbmih->biSizeImage; ++i)
    p.lpBits[i] = static_cast<std::uint8_t>(i * 37 + seed);
  return img;
}

// A saved file rewritten as other programs write the same picture: rows top-down, or a V5 header
// (124 bytes) before the palette.
Bytes TopDown(Bytes f) {
  const BITMAPINFOHEADER h = HeaderOf(Bytes(f.begin() + 14, f.begin() + 54));
  const std::size_t stride = static_cast<std::size_t>(lamina::Stride64(h.biWidth, h.biBitCount));
  std::uint32_t at;
  std::memcpy(&at, &f[10], 4);
  for (std::size_t i = 0, j = static_cast<std::size_t>(h.biHeight) - 1; h.biHeight > 1 && i < j;
       ++i, --j)
    std::swap_ranges(f.begin() + at + i * stride, f.begin() + at + (i + 1) * stride,
                     f.begin() + at + j * stride);
  const std::int32_t negative = -h.biHeight;
  std::memcpy(&f[22], &negative, 4);
  return f;
}
Bytes V5(Bytes f) {
  f.insert(f.begin() + 54, 84, 0);
  f[14] = 124;
  std::uint32_t offBits;
  std::memcpy(&offBits, &f[10], 4);
  offBits += 84;
  std::memcpy(&f[10], &offBits, 4);
  return f;
}

const int kDepths[] = {1, 4, 8, 16, 24, 32};
const std::pair<int, int> kShapes[] = {{0, 0}, {0, 3}, {7, 0}, {1, 1}, {1, 3}, {7, 1}, {7, 3}};
const DWORD kClrUsed[] = {0, 2, 256, 1u << 24, (1u << 24) + 1, 0x80000000u};

TEST(RoundTrip, EveryDepthShapeAndColourCountComesBackFromFileAndHandle) {
  const TempDir dir;
  unsigned seed = 1;
  for (int bpp : kDepths)
    for (const auto& [w, h] : kShapes)
      for (DWORD clrUsed : kClrUsed) {
        SCOPED_TRACE(::testing::Message()
                     << bpp << " bits, " << w << " x " << h << ", biClrUsed " << clrUsed);
        CLamina img = Picture(bpp, w, h, seed++);
        img.fnIMG_GetPointers().lpbmih->biClrUsed = clrUsed;
        if (bpp <= 8 && clrUsed > (1u << bpp)) {
          // More palette entries than indices: no loader takes it, so nothing is written.
          const std::string path = (dir / "refused.bmp").string();
          EXPECT_EQ(img.fnIMG_SaveBMP(CString(path)), 3);
          EXPECT_FALSE(fs::exists(path));
          EXPECT_EQ(img.fnIMG_CopyToHandle(), nullptr);
          continue;
        }
        const Bytes expected = FileForm(Described(img));
        ExpectRoundTrip(img, expected, dir);
        // The same file as other programs write it loads to the same image, which round-trips.
        const Bytes file = ReadAll(dir / "a.bmp");
        for (Bytes other : {TopDown(file), V5(file)}) {
          CLamina loaded;
          const int r =
              loaded.fnIMG_LoadBMPFromBuffer(other.data(), static_cast<int>(other.size()));
          EXPECT_EQ(r, 0);
          if (r != 0) continue;
          EXPECT_EQ(Described(loaded), expected);
          ExpectRoundTrip(loaded, expected, dir);
        }
      }
}

TEST(RoundTrip, HeadersNoLoaderTakesAreNotWritten) {
  // Written through the header pointer, as a caller may: each field alone makes a file or handle
  // the loaders refuse, so the writers refuse first and an existing file keeps its bytes.
  const TempDir dir;
  const std::string path = (dir / "kept.bmp").string();
  const struct {
    const char* what;
    void (*poke)(BITMAPINFOHEADER&);
  } cases[] = {
      {"header of 108 bytes", [](BITMAPINFOHEADER& h) { h.biSize = 108; }},
      {"depth 2", [](BITMAPINFOHEADER& h) { h.biBitCount = 2; }},
      {"run-length", [](BITMAPINFOHEADER& h) { h.biCompression = 1; }},
      {"negative width", [](BITMAPINFOHEADER& h) { h.biWidth = -3; }},
      {"negative height", [](BITMAPINFOHEADER& h) { h.biHeight = -2; }},
      {"rows longer than biSizeImage", [](BITMAPINFOHEADER& h) { h.biSizeImage = 4; }},
  };
  for (const auto& c : cases) {
    CLamina img(nullptr, nullptr, 3, 2, 8);
    c.poke(*img.fnIMG_GetPointers().lpbmih);
    WriteAll(path, Bytes{1, 2, 3});
    EXPECT_EQ(img.fnIMG_SaveBMP(CString(path)), 3) << c.what;
    EXPECT_EQ(ReadAll(path), (Bytes{1, 2, 3})) << c.what;
    EXPECT_EQ(img.fnIMG_CopyToHandle(), nullptr) << c.what;
  }
}

}  // namespace

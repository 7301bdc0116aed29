// PNG files: the conformance suite read to the colours an independent decoder gives (tests/data/
// pngsuite/expected.txt), its corrupt files and cut files refused with the image untouched, and
// what we write read back without loss.
#include <sys/resource.h>
#include <zlib.h>

#include "lamina/formats.h"
#include "support/files.h"

namespace {

using namespace lamina_test;
namespace formats = lamina::formats;

const fs::path kSuite = Data("pngsuite");

struct SuiteFile {
  std::string name;
  int width, height, depth;
  std::uint64_t digest;
};
std::vector<SuiteFile> Expected() {
  std::vector<SuiteFile> files;
  std::ifstream in(kSuite / "expected.txt");
  SuiteFile f;
  std::string digest;
  while (in >> f.name >> f.width >> f.height >> f.depth >> digest) {
    f.digest = std::stoull(digest, nullptr, 16);
    files.push_back(f);
  }
  return files;
}

TEST(PngSuite, EveryGoodFileReadsToTheReferenceColours) {
  const std::vector<SuiteFile> files = Expected();
  ASSERT_EQ(files.size(), 161u);
  for (const SuiteFile& f : files) {
    CLamina img;
    ASSERT_EQ(formats::LoadPNG(img, Path(kSuite / f.name)), 0) << f.name;
    EXPECT_EQ(
        (std::vector<int>{img.fnIMG_GetColumns(), img.fnIMG_GetRows(), img.fnIMG_GetColorDepth()}),
        (std::vector<int>{f.width, f.height, f.depth}))
        << f.name;
    EXPECT_EQ(Fnv1a64(Colours(img, f.depth == 32)), f.digest) << f.name;
    EXPECT_EQ(NameOf(img), f.name);
    // Gray files get the gray ramp, whatever their bit depth.
    if (f.name[4] == '0') {
      EXPECT_EQ(Packed(PaletteOf(img)), Packed(GrayRamp(256))) << f.name;
    }
  }
}

TEST(PngSuite, CorruptFilesAreRefusedAndChangeNothing) {
  // A damaged signature (bytes changed, or line ends converted in transit) is not PNG; every other
  // fault (a colour type or bit depth that does not exist, a bad checksum, no image data) is
  // damage.
  int seen = 0;
  for (const auto& e : fs::directory_iterator(kSuite)) {
    const std::string name = e.path().filename().string();
    if (name[0] != 'x') continue;
    ++seen;
    const bool signature =
        name.rfind("xs", 0) == 0 || name.rfind("xcr", 0) == 0 || name.rfind("xlf", 0) == 0;
    CLamina img;
    img.fnIMG_SetFileName(CString("kept.bmp"));
    const Snapshot before = Snap(img);
    EXPECT_EQ(formats::LoadPNG(img, Path(e.path())), signature ? 2 : 3) << name;
    EXPECT_EQ(Snap(img), before) << name;
  }
  EXPECT_EQ(seen, 14);
}

TEST(PngLoad, EveryCutOfAFileIsRefusedAndChangesNothing) {
  for (const char* name : {"basn3p02.png", "basi6a16.png", "basn0g01.png"}) {
    const Bytes file = ReadAll(kSuite / name);
    CLamina img(nullptr, nullptr, 2, 2, 24);
    const Snapshot before = Snap(img);
    for (std::size_t n = 0; n < file.size(); ++n) {
      EXPECT_EQ(formats::LoadPNGFromBuffer(img, file.data(), n), n < 8 ? 2 : 3) << name << " " << n;
    }
    EXPECT_EQ(Snap(img), before);
    ASSERT_EQ(formats::LoadPNGFromBuffer(img, file.data(), file.size()), 0);
    EXPECT_EQ(NameOf(img), "SIN_NOMBRE.RAW");  // the buffer form keeps the image's name
  }
  CLamina img;
  EXPECT_EQ(formats::LoadPNG(img, CString("/no/such/file.png")), 1);
  EXPECT_EQ(formats::LoadPNGFromBuffer(img, nullptr, 100), 2);
}

// Found by fuzzing: libpng leaves the bits of a row's last byte past the width as the memory held
// them, so a picture of odd width at 1, 2 (widened) or 4 bits kept stray bits there, and saving and
// loading it again gave another block. (Deterministic under AddressSanitizer, which fills fresh
// memory with a pattern.)
TEST(PngLoad, BitsPastTheWidthAreZero) {
  for (const char* name : {"s03n3p01.png", "s05n3p02.png", "s05i3p02.png", "s07n3p02.png",
                           "s09i3p02.png", "s33n3p04.png", "s35i3p04.png"}) {
    CLamina img;
    ASSERT_EQ(formats::LoadPNG(img, Path(kSuite / name)), 0);
    EXPECT_TRUE(PaddingIs(img, 0)) << name;
  }
}

// Found by fuzzing: libpng inflates every compressed text chunk (up to 8 MB each) and keeps it, so
// a small file of many such chunks took gigabytes. Chunks that are not pixels or palette are now
// skipped unread: 40 chunks of 7 MB of text (under 300 KB of file) must not raise the process's
// peak memory by more than a few megabytes.
TEST(PngLoad, TextChunksAreSkippedNotInflated) {
  auto chunk = [](const char* type, const Bytes& body) {
    const std::size_t n = body.size();
    Bytes c(12 + n);
    for (int i = 0; i < 4; ++i) c[i] = static_cast<std::uint8_t>(n >> (24 - 8 * i));
    for (std::size_t i = 0; i < 4; ++i) c[4 + i] = static_cast<std::uint8_t>(type[i]);
    for (std::size_t i = 0; i < n; ++i) c[8 + i] = body[i];
    const uLong crc = crc32(crc32(0, nullptr, 0), c.data() + 4, static_cast<uInt>(4 + n));
    for (int i = 0; i < 4; ++i) c[8 + n + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    return c;
  };
  auto deflated = [](const Bytes& raw) {
    uLongf size = compressBound(raw.size());
    Bytes out(size);
    compress(out.data(), &size, raw.data(), raw.size());
    out.resize(size);
    return out;
  };
  Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  file = Cat(file, chunk("IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0, 0, 0}));  // 1 x 1, 8-bit gray
  const Bytes text = Cat(B(std::string("Comment\0\0", 9)), deflated(Bytes(7u << 20, 'x')));
  for (int i = 0; i < 40; ++i) file = Cat(file, chunk("zTXt", text));
  file = Cat(file, chunk("IDAT", deflated({0, 200})));  // filter 0, one gray pixel
  file = Cat(file, chunk("IEND", {}));
  rusage before{}, after{};
  getrusage(RUSAGE_SELF, &before);
  CLamina img;
  ASSERT_EQ(formats::LoadPNGFromBuffer(img, file.data(), file.size()), 0);
  getrusage(RUSAGE_SELF, &after);
  EXPECT_EQ(img.fnIMG_GetPixel(0, 0), 200u);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 16 * 1024) << "kilobytes";
}

// Files ImageMagick and Pillow wrote (tests/data/written/make.py), PNG and JPEG alike: each becomes
// the depth its kind maps to and reads to the colours (and alpha) the writer's own decoder gives.
TEST(WrittenByOthers, FilesReadToTheWritersColours) {
  const fs::path dir = Data("written");
  std::ifstream manifest(dir / "manifest.txt");
  std::string name;
  int depth, tolerance, result, count = 0;
  while (manifest >> name >> depth >> tolerance >> result) {
    ++count;
    CLamina img;
    const bool png = name.substr(name.size() - 4) == ".png";
    const int r =
        png ? formats::LoadPNG(img, Path(dir / name)) : formats::LoadJPEG(img, Path(dir / name));
    ASSERT_EQ(r, result) << name;
    if (result != 0) continue;
    EXPECT_EQ(img.fnIMG_GetColorDepth(), depth) << name;
    const Pnm rgb = ReadPnm(dir / (name + ".ppm"));
    ASSERT_EQ((std::vector<int>{img.fnIMG_GetColumns(), img.fnIMG_GetRows()}),
              (std::vector<int>{rgb.width, rgb.height}))
        << name;
    const Bytes got = Colours(img);
    int worst = 0;
    for (std::size_t i = 0; i < got.size(); ++i)
      worst = std::max(worst, std::abs(got[i] - rgb.samples[i]));
    EXPECT_LE(worst, tolerance) << name;
    if (depth == 32) {
      const Bytes withAlpha = Colours(img, true);
      Bytes alpha;
      for (std::size_t i = 3; i < withAlpha.size(); i += 4) alpha.push_back(withAlpha[i]);
      EXPECT_EQ(alpha, ReadPnm(dir / (name + ".alpha.pgm")).samples) << name;
    }
  }
  EXPECT_EQ(count, 17);
}

// ---- Writing
// ---------------------------------------------------------------------------------------

// Every depth we write comes back with the same colours, alpha and palette: odd widths (padding,
// shared bytes), random pixels and palettes, the fourth byte of 32-bit pixels as alpha.
TEST(PngSave, EveryDepthReadsBackWithoutLoss) {
  const TempDir dir;
  for (int bpp : {1, 4, 8, 24, 32}) {
    CLamina img = Random(bpp, 13, 7, static_cast<unsigned>(bpp));
    const std::string path = (dir / "a.png").string();
    ASSERT_EQ(formats::SavePNG(img, CString(path)), 0) << bpp;
    CLamina back;
    ASSERT_EQ(formats::LoadPNG(back, CString(path)), 0) << bpp;
    EXPECT_EQ(back.fnIMG_GetColorDepth(), bpp);
    EXPECT_EQ(PixelsOf(back), PixelsOf(img)) << bpp;
    EXPECT_EQ(Colours(back, bpp == 32), Colours(img, bpp == 32)) << bpp;
    if (bpp <= 8) {
      // The palette's colours (the reserved byte is not a PNG field).
      std::vector<RGBQUAD> want = PaletteOf(img);
      for (auto& e : want) e.rgbReserved = 0;
      EXPECT_EQ(Packed(PaletteOf(back)), Packed(want)) << bpp;
    }
  }
}

TEST(PngSave, SixteenBitsAndShortPalettesKeepTheirColours) {
  // 16 bits: 5-bit channels widened to 8 (31 -> 255, 16 -> 132, 1 -> 8), read back as 24 bits.
  CLamina sixteen = Sixteen({{0x7FFF, 0x4210, 0x0421}, {0x001F, 0x03E0, 0x7C00}});
  std::vector<unsigned char> file;
  ASSERT_EQ(formats::SavePNGToBuffer(sixteen, file), 0);
  CLamina back;
  ASSERT_EQ(formats::LoadPNGFromBuffer(back, file.data(), file.size()), 0);
  EXPECT_EQ(back.fnIMG_GetColorDepth(), 24);
  EXPECT_EQ(PixelsOf(back), (Rows{{Rgb(255, 255, 255), Rgb(132, 132, 132), Rgb(8, 8, 8)},
                                  {Rgb(0, 0, 255), Rgb(0, 255, 0), Rgb(255, 0, 0)}}));
  // Two palette entries, a pixel using index 5: it shows black, and the file says so.
  CLamina shortPalette = WithShortPalette(8, 3, 1, {Quad(1, 2, 3), Quad(4, 5, 6)});
  RowBytes(shortPalette, 0)[0] = 1;
  RowBytes(shortPalette, 0)[1] = 5;
  ASSERT_EQ(formats::SavePNGToBuffer(shortPalette, file), 0);
  ASSERT_EQ(formats::LoadPNGFromBuffer(back, file.data(), file.size()), 0);
  EXPECT_EQ(Colours(back), Colours(shortPalette));
}

TEST(PngSave, RefusalsWriteNothing) {
  const TempDir dir;
  const std::string path = (dir / "kept.png").string();
  CLamina none(nullptr, nullptr, 2, 2, 16);   // no image
  CLamina empty(nullptr, nullptr, 3, 0, 24);  // no pixels: PNG has no such picture
  for (CLamina* img : {&none, &empty}) {
    WriteAll(path, Bytes{1, 2, 3});
    std::vector<unsigned char> out{9};
    EXPECT_EQ(formats::SavePNG(*img, CString(path)), 1);
    EXPECT_EQ(formats::SavePNGToBuffer(*img, out), 1);
    EXPECT_EQ(ReadAll(path), (Bytes{1, 2, 3}));
    EXPECT_EQ(out, std::vector<unsigned char>{9});
  }
  CLamina img;
  EXPECT_EQ(formats::SavePNG(img, CString((dir / "no/such/folder.png").string())), 2);
  if (fs::exists("/dev/full")) {
    EXPECT_EQ(formats::SavePNG(img, CString("/dev/full")), 3);
  }
}

}  // namespace

// The BMP loaders against the real files of tests/data/bmpsuite (see its README for the expected
// result of each file and where the reference pictures come from).
#include <algorithm>
#include <cctype>
#include <map>

#include "support/files.h"

namespace {

using namespace lamina_test;
const fs::path kSuite = fs::path(LAMINA_TEST_DATA) / "bmpsuite";

// A binary PPM (P6, maxval 255): width, height and RGB triples from the top row down.
struct Ppm {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
};
Ppm ReadPpm(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::string magic;
  int maxval = 0;
  Ppm ppm;
  in >> magic >> ppm.width >> ppm.height >> maxval;
  in.get();  // the single blank before the samples
  if (magic != "P6" || maxval != 255) return {};
  ppm.rgb.resize(static_cast<std::size_t>(ppm.width) * ppm.height * 3);
  in.read(reinterpret_cast<char*>(ppm.rgb.data()), static_cast<std::streamsize>(ppm.rgb.size()));
  return in ? ppm : Ppm{};
}

// A loaded image's rows and palette must lie inside its block.
void ExpectInsideBlock(CLamina& img) {
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  const std::int64_t size = static_cast<std::int64_t>(GlobalSize(GlobalHandle(p.lpDib)));
  const BITMAPINFOHEADER& h = *p.lpbmih;
  const std::int64_t bits = p.lpBits - p.lpDib;
  EXPECT_GT(h.biHeight, 0);
  EXPECT_LE(bits + lamina::Stride64(h.biWidth, h.biBitCount) * h.biHeight, size);
  EXPECT_LE(bits + std::int64_t{h.biSizeImage}, size);
  if (h.biBitCount <= 8) {
    EXPECT_LE(40 + 4 * lamina::PaletteEntries(h), bits);
  }
}

// The colours of every pixel from the top row down, or the raw rows for 16-bit images.
std::vector<std::uint8_t> Pixels(CLamina& img) {
  std::vector<std::uint8_t> out;
  const int w = img.fnIMG_GetColumns(), h = img.fnIMG_GetRows();
  if (img.fnIMG_GetColorDepth() == 16) {
    const CLamina::Punteros p = img.fnIMG_GetPointers();
    out.assign(p.lpBits, p.lpBits + lamina::Stride64(w, 16) * h);
    return out;
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      RGBQUAD c{};
      EXPECT_EQ(img.fnIMG_GetRGBPixel(x, y, &c), 0);
      out.insert(out.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
    }
  return out;
}

struct Expected {
  int result;
  const char* reference;  // under ref/, or null
};
const std::map<std::string, Expected> kGood = {
    {"g/pal1.bmp", {0, "pal1.ppm"}},       {"g/pal1bg.bmp", {0, "pal1bg.ppm"}},
    {"g/pal1wb.bmp", {0, "pal1.ppm"}},     {"g/pal4.bmp", {0, "pal4.ppm"}},
    {"g/pal4gs.bmp", {0, "pal4gs.ppm"}},   {"g/pal4rle.bmp", {4, nullptr}},
    {"g/pal8-0.bmp", {0, "pal8.ppm"}},     {"g/pal8.bmp", {0, "pal8.ppm"}},
    {"g/pal8gs.bmp", {0, "pal8gs.ppm"}},   {"g/pal8nonsquare.bmp", {0, nullptr}},
    {"g/pal8os2.bmp", {0, "pal8.ppm"}},    {"g/pal8rle.bmp", {4, nullptr}},
    {"g/pal8topdown.bmp", {0, "pal8.ppm"}}, {"g/pal8v4.bmp", {0, "pal8.ppm"}},
    {"g/pal8v5.bmp", {0, "pal8.ppm"}},     {"g/pal8w124.bmp", {0, "pal8w124.ppm"}},
    {"g/pal8w125.bmp", {0, "pal8w125.ppm"}}, {"g/pal8w126.bmp", {0, "pal8w126.ppm"}},
    {"g/rgb16.bmp", {0, nullptr}},         {"g/rgb16-565.bmp", {4, nullptr}},
    {"g/rgb16-565pal.bmp", {4, nullptr}},  {"g/rgb16bfdef.bmp", {4, nullptr}},
    {"g/rgb24.bmp", {0, "rgb24.ppm"}},     {"g/rgb24pal.bmp", {0, "rgb24.ppm"}},
    {"g/rgb32.bmp", {0, "rgb24.ppm"}},     {"g/rgb32bf.bmp", {4, nullptr}},
    {"g/rgb32bfdef.bmp", {4, nullptr}},    {"x/ba-bm.bmp", {2, nullptr}},
    {"b/badbitcount.bmp", {3, nullptr}},
};

std::vector<std::string> AllFiles() {
  std::vector<std::string> files;
  for (const char* dir : {"g", "q", "b", "x"})
    for (const auto& e : fs::directory_iterator(kSuite / dir))
      if (e.path().extension() == ".bmp") files.push_back(std::string(dir) + "/" + e.path().filename().string());
  std::sort(files.begin(), files.end());
  return files;
}

class BmpCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(BmpCorpus, LoadersAgreeRefuseCleanlyAndRoundTrip) {
  const std::string rel = GetParam();
  const fs::path path = kSuite / rel;
  Bytes bytes = ReadAll(path);
  ASSERT_FALSE(bytes.empty());

  CLamina byBuffer, byName, byFile;
  const Snapshot before = Snap(byBuffer);
  const int r = byBuffer.fnIMG_LoadBMPFromBuffer(bytes.data(), static_cast<int>(bytes.size()));
  EXPECT_EQ(byName.fnIMG_LoadBMP(CString(path.string())), r);
  CFile file;
  ASSERT_TRUE(file.Open(CString(path.string()), CFile::modeRead));
  EXPECT_EQ(byFile.fnIMG_LoadBMP(&file), r);

  const auto good = kGood.find(rel);
  if (good != kGood.end()) {
    EXPECT_EQ(r, good->second.result);
  }
  EXPECT_TRUE(r >= 0 && r <= 5) << r;

  if (r != 0) {
    for (CLamina* img : {&byBuffer, &byName, &byFile}) EXPECT_EQ(Snap(*img), before);
    return;
  }
  // Same block from all three; only the file forms take the file's name.
  Snapshot a = Snap(byBuffer), b = Snap(byName), c = Snap(byFile);
  EXPECT_EQ(a.name, "SIN_NOMBRE.RAW");
  EXPECT_EQ(b.name, path.filename().string());
  EXPECT_EQ(c.name, b.name);
  b.name = c.name = a.name;
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, c);
  ExpectInsideBlock(byBuffer);

  const std::vector<std::uint8_t> pixels = Pixels(byBuffer);
  if (good != kGood.end() && good->second.reference != nullptr) {
    const Ppm ref = ReadPpm(kSuite / "ref" / good->second.reference);
    ASSERT_EQ(byBuffer.fnIMG_GetColumns(), ref.width);
    ASSERT_EQ(byBuffer.fnIMG_GetRows(), ref.height);
    EXPECT_TRUE(pixels == ref.rgb);
  }

  const TempDir dir;  // private: ctest runs the corpus files side by side
  const fs::path out = dir / fs::path(rel).filename().string();
  ASSERT_EQ(byBuffer.fnIMG_SaveBMP(CString(out.string())), 0);
  CLamina again;
  ASSERT_EQ(again.fnIMG_LoadBMP(CString(out.string())), 0);
  EXPECT_EQ(again.fnIMG_GetColorDepth(), byBuffer.fnIMG_GetColorDepth());
  EXPECT_TRUE(Pixels(again) == pixels);
}

INSTANTIATE_TEST_SUITE_P(Suite, BmpCorpus, ::testing::ValuesIn(AllFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string n = info.param;
                           for (char& ch : n)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return n;
                         });

TEST(BmpCorpusTable, EveryListedFileIsPresent) {
  for (const auto& [rel, expected] : kGood) {
    EXPECT_TRUE(fs::exists(kSuite / rel)) << rel;
    if (expected.reference) {
      EXPECT_TRUE(fs::exists(kSuite / "ref" / expected.reference));
    }
  }
}

}  // namespace

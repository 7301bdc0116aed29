// Files this library writes, read back by an independent decoder (netpbm) to the same colours and
// gray levels: a reader of our own could share a writer's mistake. Skipped without netpbm.
#include <cstdio>
#include <cstdlib>

#include "support/files.h"

namespace {

using namespace lamina_test;

bool HaveNetpbm() {
  return std::system("{ command -v bmptopnm && command -v ppmtoppm && command -v rawtopgm; } "
                     ">/dev/null 2>&1") == 0;
}

// What a netpbm command prints: a P6 or P5 picture, its samples from the top row.
Bytes Decode(const std::string& command, const char* magic, int& w, int& h) {
  FILE* p = popen((command + " 2>/dev/null").c_str(), "r");
  if (p == nullptr) return {};
  Bytes samples;
  int maxval = 0;
  const std::string format = std::string(magic) + " %d %d %d";
  if (std::fscanf(p, format.c_str(), &w, &h, &maxval) == 3 && maxval == 255 &&
      std::fgetc(p) != EOF) {
    samples.resize(static_cast<std::size_t>(w) * h * (magic[1] == '6' ? 3 : 1));
    if (std::fread(samples.data(), 1, samples.size(), p) != samples.size()) samples.clear();
  }
  pclose(p);
  return samples;
}

// Every depth's quirks: odd width (padding, shared bytes), a colour palette, alpha at 32 bits.
CLamina Picture(int bpp) {
  RGBQUAD pal[256];
  for (int i = 0; i < 256; ++i)
    pal[i] = RGBQUAD{static_cast<BYTE>(i * 3), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 7), 0};
  CLamina img(nullptr, bpp <= 8 ? pal : nullptr, 13, 7, bpp);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x)
      img.fnIMG_SetPixel(x, y, static_cast<unsigned>((x * 37 + y * 101) * 2654435761u));
  if (bpp == 32) img.fnIMG_SetAlfa(static_cast<unsigned char>(128));
  return img;
}

}  // namespace

TEST(NetpbmPeer, BmpFilesDecodeToTheSameColoursAtEveryDepth) {
  if (!HaveNetpbm()) GTEST_SKIP() << "netpbm is not installed";
  const TempDir dir;
  for (int bpp : {1, 4, 8, 24, 32}) {
    CLamina img = Picture(bpp);
    const std::string path = (dir / ("p" + std::to_string(bpp) + ".bmp")).string();
    ASSERT_EQ(img.fnIMG_SaveBMP(CString(path)), 0);
    int w = 0, h = 0;
    const Bytes rgb = Decode("bmptopnm '" + path + "' | ppmtoppm", "P6", w, h);
    ASSERT_EQ(rgb.size(), 13u * 7u * 3u) << bpp;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const RGBQUAD c = Colour(img, x, y);
        const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
        ASSERT_TRUE(p[0] == c.rgbRed && p[1] == c.rgbGreen && p[2] == c.rgbBlue)
            << bpp << " bits at " << x << "," << y;
      }
  }
}

TEST(NetpbmPeer, RawFilesDecodeToTheIndicesTopRowFirst) {
  if (!HaveNetpbm()) GTEST_SKIP() << "netpbm is not installed";
  const TempDir dir;
  Bytes levels(13 * 7);
  for (std::size_t i = 0; i < levels.size(); ++i) levels[i] = static_cast<std::uint8_t>(i * 29 + 3);
  CLamina img = Gray8(13, 7, levels);  // odd width: the image's rows carry padding, the file's none
  const std::string path = (dir / "g.raw").string();
  ASSERT_EQ(img.fnIMG_SaveRAW(CString(path)), 0);
  int w = 0, h = 0;
  EXPECT_EQ(Decode("rawtopgm 13 7 '" + path + "'", "P5", w, h), levels);
}

// Files this library writes, read back by an independent decoder (netpbm's bmptopnm) to the same
// colours. Skipped where netpbm is not installed.
#include <cstdio>
#include <cstdlib>

#include "support/files.h"

namespace {

using namespace lamina_test;

bool HaveNetpbm() {
  return std::system("command -v bmptopnm >/dev/null 2>&1 && command -v ppmtoppm >/dev/null 2>&1") == 0;
}

// The picture the decoder sees, as P6 rows from the top.
bool Decode(const std::string& path, int& w, int& h, std::vector<unsigned char>& rgb) {
  const std::string cmd = "bmptopnm '" + path + "' 2>/dev/null | ppmtoppm 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  if (p == nullptr) return false;
  int maxval = 0;
  const bool ok = std::fscanf(p, "P6 %d %d %d", &w, &h, &maxval) == 3 && maxval == 255 &&
                  std::fgetc(p) != EOF;
  if (ok) {
    rgb.resize(static_cast<std::size_t>(w) * h * 3);
    if (std::fread(rgb.data(), 1, rgb.size(), p) != rgb.size()) rgb.clear();
  }
  pclose(p);
  return ok && !rgb.empty();
}

// A picture with every depth's quirks: odd width (padding, shared bytes), a colour palette.
CLamina Picture(int bpp) {
  RGBQUAD pal[256];
  for (int i = 0; i < 256; ++i)
    pal[i] = RGBQUAD{static_cast<BYTE>(i * 3), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 7), 0};
  CLamina img(nullptr, bpp <= 8 ? pal : nullptr, 13, 7, bpp);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) img.fnIMG_SetPixel(x, y, static_cast<unsigned>((x * 37 + y * 101) * 2654435761u));
  if (bpp == 32) img.fnIMG_SetAlfa(static_cast<unsigned char>(128));
  return img;
}

}  // namespace

TEST(BmpPeer, AnIndependentDecoderReadsTheSameColoursAtEveryDepth) {
  if (!HaveNetpbm()) GTEST_SKIP() << "netpbm is not installed";
  const TempDir dir;
  for (int bpp : {1, 4, 8, 24, 32}) {
    CLamina img = Picture(bpp);
    const std::string path = (dir / ("p" + std::to_string(bpp) + ".bmp")).string();
    ASSERT_EQ(img.fnIMG_SaveBMP(CString(path)), 0);
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    ASSERT_TRUE(Decode(path, w, h, rgb)) << bpp;
    ASSERT_EQ(w, 13);
    ASSERT_EQ(h, 7);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const RGBQUAD c = Colour(img, x, y);
        const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
        ASSERT_TRUE(p[0] == c.rgbRed && p[1] == c.rgbGreen && p[2] == c.rgbBlue)
            << bpp << " bits at " << x << "," << y;
      }
  }
}

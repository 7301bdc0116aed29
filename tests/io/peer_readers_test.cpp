// Files this library writes (BMP, and PNG where Lamina::formats is built), read back by independent
// decoders (netpbm, ImageMagick, Pillow) to the same colours and gray levels: a reader of our own
// could share a writer's mistake, and these are the programs a user opens the files with. Each
// peer is skipped where it is not installed.
#include <cstdio>
#include <cstdlib>

#include "support/files.h"
#if LAMINA_HAVE_FORMATS
#include "lamina/formats.h"
#endif

namespace {

using namespace lamina_test;

bool Have(const std::string& command) {
  return std::system(("{ " + command + "; } >/dev/null 2>&1").c_str()) == 0;
}

// What a decoder command prints: a P6 or P5 picture, its samples from the top row.
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

// Every depth's quirks: odd width (padding, shared bytes), a colour palette, alpha at 32 bits,
// 16-bit pixels as 5-5-5 colours.
CLamina Picture(int bpp) {
  const auto value = [](int x, int y) {
    return static_cast<unsigned>((x * 37 + y * 101) * 2654435761u);
  };
  if (bpp == 16) {
    Rows rows(7, std::vector<std::uint32_t>(13));
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x) rows[y][x] = value(x, y) & 0x7FFF;
    return Sixteen(rows);
  }
  RGBQUAD pal[256];
  for (int i = 0; i < 256; ++i)
    pal[i] =
        RGBQUAD{static_cast<BYTE>(i * 3), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 7), 0};
  CLamina img(nullptr, bpp <= 8 ? pal : nullptr, 13, 7, bpp);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) img.fnIMG_SetPixel(x, y, value(x, y));
  if (bpp == 32) img.fnIMG_SetAlfa(static_cast<unsigned char>(128));
  return img;
}

// The colour of (x, y) as red, green, blue; 16-bit channels of 5 bits scaled to 0..255, which
// readers round differently, so they are compared within a step of the 5-bit scale.
void Expected(CLamina& img, int x, int y, int out[3]) {
  if (img.fnIMG_GetColorDepth() == 16) {
    const std::uint32_t v = Pixel16(img, x, y);
    for (int c = 0; c < 3; ++c) out[c] = static_cast<int>(((v >> (10 - 5 * c)) & 31) * 255 / 31);
    return;
  }
  const RGBQUAD c = Colour(img, x, y);
  out[0] = c.rgbRed;
  out[1] = c.rgbGreen;
  out[2] = c.rgbBlue;
}

struct Peer {
  const char* what;
  std::string present;  // a shell test that the peer is installed
  std::string command;  // prints the file named by $F as P6
};

std::string Python() { return Have("python3 -c 'import PIL'") ? "python3" : "/usr/bin/python3"; }

std::vector<Peer> Peers() {
  const std::string py = Python();
  return {
      {"netpbm", "command -v bmptopnm && command -v pngtopam && command -v ppmtoppm",
       "case \"$F\" in *.png) pngtopam \"$F\" ;; *) bmptopnm \"$F\" ;; esac | ppmtoppm"},
      {"ImageMagick", "command -v magick || command -v convert",
       "$(command -v magick || command -v convert) \"$F\" -depth 8 ppm:-"},
      {"Pillow", py + " -c 'import PIL'",
       py +
           " -c 'import sys; from PIL import Image; im = Image.open(sys.argv[1]).convert(\"RGB\"); "
           "sys.stdout.buffer.write(b\"P6 %d %d 255\\n\" % im.size + im.tobytes())' \"$F\""},
  };
}

class PeerReaders : public ::testing::TestWithParam<int> {};

int Save(CLamina& img, const std::string& path) {
#if LAMINA_HAVE_FORMATS
  if (path.size() > 4 && path.substr(path.size() - 4) == ".png")
    return lamina::formats::SavePNG(img, CString(path));
#endif
  return img.fnIMG_SaveBMP(CString(path));
}

TEST_P(PeerReaders, FilesWeWriteDecodeToTheSameColoursAtEveryDepth) {
  const Peer peer = Peers()[static_cast<std::size_t>(GetParam())];
  if (!Have(peer.present)) GTEST_SKIP() << peer.what << " is not installed";
  const TempDir dir;
  std::vector<std::string> kinds = {".bmp"};
#if LAMINA_HAVE_FORMATS
  kinds.push_back(".png");
#endif
  for (const std::string& kind : kinds)
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
      SCOPED_TRACE(kind);
      CLamina img = Picture(bpp);
      const std::string path = (dir / ("p" + std::to_string(bpp) + kind)).string();
      ASSERT_EQ(Save(img, path), 0);
      int w = 0, h = 0;
      const Bytes rgb = Decode("F='" + path + "'; " + peer.command, "P6", w, h);
      ASSERT_EQ(rgb.size(), 13u * 7u * 3u) << peer.what << " cannot read " << bpp << " bits";
      const int tolerance = bpp == 16 ? 8 : 0;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          int want[3];
          Expected(img, x, y, want);
          const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
          for (int c = 0; c < 3; ++c)
            ASSERT_LE(std::abs(p[c] - want[c]), tolerance)
                << peer.what << ", " << bpp << " bits at " << x << "," << y << " channel " << c;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Each, PeerReaders, ::testing::Range(0, 3),
                         [](const ::testing::TestParamInfo<int>& i) {
                           return std::string(Peers()[static_cast<std::size_t>(i.param)].what);
                         });

TEST(NetpbmPeer, RawFilesDecodeToTheIndicesTopRowFirst) {
  if (!Have("command -v rawtopgm")) GTEST_SKIP() << "netpbm is not installed";
  const TempDir dir;
  Bytes levels(13 * 7);
  for (std::size_t i = 0; i < levels.size(); ++i) levels[i] = static_cast<std::uint8_t>(i * 29 + 3);
  CLamina img = Gray8(13, 7, levels);  // odd width: the image's rows carry padding, the file's none
  const std::string path = (dir / "g.raw").string();
  ASSERT_EQ(img.fnIMG_SaveRAW(CString(path)), 0);
  int w = 0, h = 0;
  EXPECT_EQ(Decode("rawtopgm 13 7 '" + path + "'", "P5", w, h), levels);
}

}  // namespace

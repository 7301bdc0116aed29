// lamina: a small command-line front end to the library.
//   lamina                 writes a colourful test picture at every supported depth as BMP files in
//                          the current folder and describes each one as read back
//   lamina info FILE       describes an image file (BMP; PNG, JPEG, PGM, RAW by extension)
//   lamina copy IN OUT     loads an image file and saves it again (BMP; PNG, JPEG by extension)
//   lamina codes           lists every operation's result codes (--markdown: the README's table)
// A failure is told in words from the index of result codes, with the system's reason where a file
// could not be opened, created or written.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "CLamina.h"
#include "codes/report.h"
#if LAMINA_HAVE_FORMATS
#include "lamina/formats.h"
#endif

namespace {

// The file's extension in lower case, with its dot ("" when there is none).
std::string Extension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return "";
  std::string ext = path.substr(dot);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

// Loads by extension; `what` names the operation whose code the result is.
int Load(CLamina& img, const std::string& path, const char*& what) {
  const std::string ext = Extension(path);
#if LAMINA_HAVE_FORMATS
  if (ext == ".png") {
    what = "LoadPNG";
    return lamina::formats::LoadPNG(img, CString(path));
  }
  if (ext == ".jpg" || ext == ".jpeg") {
    what = "LoadJPEG";
    return lamina::formats::LoadJPEG(img, CString(path));
  }
#endif
  if (ext == ".pgm") {
    what = "LoadPGM";
    return img.fnIMG_LoadPGM(CString(path));
  }
  if (ext == ".raw") {
    what = "LoadRAW";
    return img.fnIMG_LoadRAW(CString(path));
  }
  what = "LoadBMP";
  return img.fnIMG_LoadBMP(CString(path));
}

int Save(CLamina& img, const std::string& path, const char*& what) {
  const std::string ext = Extension(path);
#if LAMINA_HAVE_FORMATS
  if (ext == ".png") {
    what = "SavePNG";
    return lamina::formats::SavePNG(img, CString(path));
  }
  if (ext == ".jpg" || ext == ".jpeg") {
    what = "SaveJPEG";
    return lamina::formats::SaveJPEG(img, CString(path), 90);
  }
#endif
  what = "SaveBMP";
  return img.fnIMG_SaveBMP(CString(path));
}

// A call's result and, for a failure, what it means. errno is cleared first, so that a reason left
// over from an earlier call is never reported.
struct Outcome {
  int code;
  std::string why;
};
Outcome Run(const std::function<int(const char*&)>& call) {
  const char* what = "";
  errno = 0;
  const int code = call(what);
  const int reason = errno;
  return Outcome{code, code == 0 ? std::string() : lamina::codes::Explain(what, code, reason)};
}

void Describe(CLamina& img) {
  const BITMAPINFOHEADER h = img.fnIMG_GetBitmapInfoHeader();
  std::printf("  name       %s\n", (img.fnIMG_GetFileName() + L"." + img.fnIMG_GetFileExt()).ToUtf8().c_str());
  std::printf("  size       %d x %d pixels, %d bits per pixel\n", img.fnIMG_GetColumns(),
              img.fnIMG_GetRows(), img.fnIMG_GetColorDepth());
  std::printf("  pixel data %d bytes (%d per row)\n", img.fnIMG_GetBitmapSize(),
              img.fnIMG_GetRows() > 0 ? img.fnIMG_GetBitmapSize() / img.fnIMG_GetRows() : 0);
  std::printf("  colours    %d used, %d levels, resolution %d x %d pixels/m\n",
              img.fnIMG_GetColorsUsed(), img.fnIMG_GetLevels(), h.biXPelsPerMeter,
              h.biYPelsPerMeter);
  if (img.fnIMG_GetPaletteSize() > 0) {
    const int n = img.fnIMG_GetPaletteSize() / 4;
    RGBQUAD pal[256];
    img.fnIMG_GetPalette(pal);
    std::printf("  palette    %d entries, %s; first:", n, img.fnIMG_IsGray() ? "gray" : "colour");
    for (int i = 0; i < n && i < 4; ++i)
      std::printf(" #%02X%02X%02X", pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue);
    std::printf("%s\n", n > 4 ? " ..." : "");
  } else if (img.fnIMG_GetColorDepth() >= 24) {
    std::printf("  palette    none (%s picture)\n", img.fnIMG_IsGray() ? "gray" : "colour");
  } else {
    std::printf("  palette    none\n");
  }
  if (img.fnIMG_GetColumns() > 0 && img.fnIMG_GetRows() > 0) {
    RGBQUAD c{};
    if (img.fnIMG_GetRGBPixel(0, 0, &c) == 0)
      std::printf("  top-left   #%02X%02X%02X\n", c.rgbRed, c.rgbGreen, c.rgbBlue);
  }
}

// A hue wheel over a brightness ramp: every channel sweeps its whole range.
RGBQUAD Rainbow(int x, int y, int w, int h) {
  const double hue = 6.0 * x / w;
  const int sector = static_cast<int>(hue) % 6;
  const double f = hue - std::floor(hue);
  const double v = 1.0 - 0.8 * y / h;
  double r = 0, g = 0, b = 0;
  switch (sector) {
    case 0: r = 1; g = f; break;
    case 1: r = 1 - f; g = 1; break;
    case 2: g = 1; b = f; break;
    case 3: g = 1 - f; b = 1; break;
    case 4: r = f; b = 1; break;
    default: r = 1; b = 1 - f; break;
  }
  auto byte = [&](double c) { return static_cast<BYTE>(c * v * 255.0); };
  return RGBQUAD{byte(b), byte(g), byte(r), 0};
}

CLamina TestPicture(int bpp) {
  const int w = 256, h = 128;
  RGBQUAD pal[256];
  int entries = bpp == 1 ? 2 : bpp == 4 ? 16 : 256;
  for (int i = 0; i < entries; ++i) pal[i] = Rainbow(i * 256 / entries, 0, 256, 128);
  if (bpp == 1) {
    pal[0] = RGBQUAD{96, 32, 16, 0};    // navy
    pal[1] = RGBQUAD{64, 208, 255, 0};  // amber
  }
  CLamina img(nullptr, bpp <= 8 ? pal : nullptr, w, h, bpp);
  const double cx = w / 2.0, cy = h / 2.0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (bpp >= 24) {
        img.fnIMG_SetRGBPixel(x, y, Rainbow(x, y, w, h));
      } else if (bpp == 1) {
        const double d = std::hypot(x - cx, (y - cy) * 2.0);
        img.fnIMG_SetPixel(x, y, (static_cast<int>(d) / 12) % 2);
      } else {
        img.fnIMG_SetPixel(x, y, static_cast<unsigned>(x * entries / w));
      }
    }
  }
  if (bpp == 32)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) img.fnIMG_SetAlfa(x, y, static_cast<unsigned char>(x));
  return img;
}

int Default() {
  for (int bpp : {1, 4, 8, 24, 32}) {
    CLamina img = TestPicture(bpp);
    const std::string name = "lamina-" + std::to_string(bpp) + "bit.bmp";
    const Outcome saved = Run([&](const char*& what) { return Save(img, name, what); });
    if (saved.code != 0) {
      std::fprintf(stderr, "lamina: cannot write %s: %s\n", name.c_str(), saved.why.c_str());
      return 1;
    }
    CLamina back;
    const Outcome loaded = Run([&](const char*& what) { return Load(back, name, what); });
    std::printf("%s (written and read back, result %d)\n", name.c_str(), loaded.code);
    if (loaded.code != 0) {
      std::fprintf(stderr, "lamina: cannot read %s: %s\n", name.c_str(), loaded.why.c_str());
      return 1;
    }
    Describe(back);
  }
  return 0;
}

// Every operation's codes, as plain text or as the README's table.
int Codes(bool markdown) {
  if (markdown) {
    std::fputs(lamina::codes::MarkdownTable().c_str(), stdout);
    return 0;
  }
  for (const lamina::codes::IndexEntry& e : lamina::codes::kIndex) {
    std::string members = e.members;
    members.erase(std::remove(members.begin(), members.end(), '`'), members.end());
    std::printf("%s%s%s\n", members.c_str(), e.returns != nullptr ? ": returns " : "",
                e.returns != nullptr ? e.returns : "");
    for (std::size_t i = 0; i < e.table.count; ++i) {
      const lamina::ResultCode& c = e.table.codes[i];
      if (e.hex)
        std::printf("  0x%08X  %s%s\n", static_cast<unsigned>(c.value),
                    lamina::codes::MeaningOf(c).c_str(), c.added ? " (new)" : "");
      else
        std::printf("  %4d  %s%s\n", c.value, lamina::codes::MeaningOf(c).c_str(),
                    c.added ? " (new)" : "");
    }
    if (e.remark != nullptr) std::printf("  %s\n", e.remark);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) return Default();
  const std::string cmd = argv[1];
  if (cmd == "info" && argc == 3) {
    CLamina img;
    const Outcome loaded = Run([&](const char*& what) { return Load(img, argv[2], what); });
    if (loaded.code != 0) {
      std::fprintf(stderr, "lamina: cannot read %s: %s\n", argv[2], loaded.why.c_str());
      return 1;
    }
    std::printf("%s\n", argv[2]);
    Describe(img);
    return 0;
  }
  if (cmd == "copy" && argc == 4) {
    CLamina img;
    const Outcome loaded = Run([&](const char*& what) { return Load(img, argv[2], what); });
    if (loaded.code != 0) {
      std::fprintf(stderr, "lamina: cannot read %s: %s\n", argv[2], loaded.why.c_str());
      return 1;
    }
    const Outcome saved = Run([&](const char*& what) { return Save(img, argv[3], what); });
    if (saved.code != 0) {
      std::fprintf(stderr, "lamina: cannot write %s: %s\n", argv[3], saved.why.c_str());
      return 1;
    }
    return 0;
  }
  if (cmd == "codes" && (argc == 2 || (argc == 3 && std::string(argv[2]) == "--markdown")))
    return Codes(argc == 3);
  std::fprintf(stderr,
               "usage: lamina                 write and describe test pictures\n"
               "       lamina info FILE       describe an image file (BMP; PNG, JPEG, PGM, RAW\n"
               "                              by extension)\n"
               "       lamina copy IN OUT     copy an image file (BMP; PNG, JPEG by extension)\n"
               "       lamina codes [--markdown]  list every operation's result codes\n");
  return 2;
}

// A program that knows Lamina only from its installed headers and libraries: it makes a picture,
// writes it as BMP (and PNG), reads it back and prints what it got.
#include <cstdio>
#include <string>

#include "CLamina.h"
#ifdef APP_FORMATS
#include "lamina/formats.h"
#endif

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string dir = argv[1];
  CLamina img(nullptr, nullptr, 3, 2, 24);
  img.fnIMG_SetRGBPixel(2, 1, RGBQUAD{0x33, 0x22, 0x11, 0});
  CLamina back;
  const int saved = img.fnIMG_SaveBMP(CString(dir + "/a.bmp"));
  const int loaded = back.fnIMG_LoadBMP(CString(dir + "/a.bmp"));
  RGBQUAD c{};
  back.fnIMG_GetRGBPixel(2, 1, &c);
  std::printf("bmp %d %d %d x %d #%02X%02X%02X\n", saved, loaded, back.fnIMG_GetColumns(),
              back.fnIMG_GetRows(), c.rgbRed, c.rgbGreen, c.rgbBlue);
#ifdef APP_FORMATS
  CLamina png;
  const int pngSaved = lamina::formats::SavePNG(img, CString(dir + "/a.png"));
  const int pngLoaded = lamina::formats::LoadPNG(png, CString(dir + "/a.png"));
  png.fnIMG_GetRGBPixel(2, 1, &c);
  std::printf("png %d %d #%02X%02X%02X %s\n", pngSaved, pngLoaded, c.rgbRed, c.rgbGreen,
              c.rgbBlue, lamina::formats::Meaning("LoadPNG", 2));
#endif
  return 0;
}

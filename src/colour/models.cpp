// Single-colour conversions between RGB and CMYK, HSI, HSV, HSL, YIQ, YUV and YCbCr. They read and
// change no image data; the arithmetic lives in colour_math.h, shared with the whole-image
// operations.
#include "CLamina.h"
#include "colour/colour_math.h"

namespace cm = lamina::colour;

CLamina::CMYKQUADtag CLamina::fnIMG_RGBToCMYK(RGBQUAD colour, int scale) {
  return cm::RgbToCmyk(colour, scale);
}
RGBQUAD CLamina::fnIMG_CMYKToRGB(CLamina::CMYKQUADtag cmyk, int scale) {
  return cm::CmykToRgb(cmyk, scale);
}
CLamina::HSITRIPLEtag CLamina::fnIMG_RGBToHSI(RGBQUAD colour, int scale) {
  return cm::RgbToHsi(colour, scale);
}
RGBQUAD CLamina::fnIMG_HSIToRGB(CLamina::HSITRIPLEtag hsi, int scale) {
  return cm::HsiToRgb(hsi, scale);
}
CLamina::HSVTRIPLEtag CLamina::fnIMG_RGBToHSV(RGBQUAD colour, int scale) {
  return cm::RgbToHsv(colour, scale);
}
RGBQUAD CLamina::fnIMG_HSVToRGB(CLamina::HSVTRIPLEtag hsv, int scale) {
  return cm::HsvToRgb(hsv, scale);
}
CLamina::HSLTRIPLEtag CLamina::fnIMG_RGBToHSL(RGBQUAD colour, int scale) {
  return cm::RgbToHsl(colour, scale);
}
RGBQUAD CLamina::fnIMG_HSLToRGB(CLamina::HSLTRIPLEtag hsl, int scale) {
  return cm::HslToRgb(hsl, scale);
}
CLamina::YIQTRIPLEtag CLamina::fnIMG_RGBToYIQ(RGBQUAD colour, int scale) {
  return cm::RgbToYiq(colour, scale);
}
RGBQUAD CLamina::fnIMG_YIQToRGB(CLamina::YIQTRIPLEtag yiq, int scale) {
  return cm::YiqToRgb(yiq, scale);
}
CLamina::YUVTRIPLEtag CLamina::fnIMG_RGBToYUV(RGBQUAD colour, int scale) {
  return cm::RgbToYuv(colour, scale);
}
RGBQUAD CLamina::fnIMG_YUVToRGB(CLamina::YUVTRIPLEtag yuv, int scale) {
  return cm::YuvToRgb(yuv, scale);
}
CLamina::YCbCrTRIPLEtag CLamina::fnIMG_RGBToYCbCr(RGBQUAD colour, int scale) {
  return cm::RgbToYcbcr(colour, scale);
}
RGBQUAD CLamina::fnIMG_YCbCrToRGB(CLamina::YCbCrTRIPLEtag ycbcr, int scale) {
  return cm::YcbcrToRgb(ycbcr, scale);
}

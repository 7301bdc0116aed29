// Single-colour conversions between RGB, CIE XYZ, L*a*b* and L*u*v*. The arithmetic lives in
// colour_math.h, shared with the whole-image operations.
#include "CLamina.h"
#include "colour/colour_math.h"

namespace cm = lamina::colour;

CLamina::XYZTRIPLEtag CLamina::fnIMG_RGBToXYZ(RGBQUAD colour, int scale) {
  return cm::RgbToXyz(colour, scale);
}
RGBQUAD CLamina::fnIMG_XYZToRGB(CLamina::XYZTRIPLEtag xyz, int scale) {
  return cm::XyzToRgb(xyz, scale);
}
CLamina::LABTRIPLEtag CLamina::fnIMG_XYZToLAB(CLamina::XYZTRIPLEtag xyz, int xyzScale,
                                              int labScale) {
  return cm::XyzToLab(xyz, xyzScale, labScale);
}
CLamina::XYZTRIPLEtag CLamina::fnIMG_LABToXYZ(CLamina::LABTRIPLEtag lab, int labScale,
                                              int xyzScale) {
  return cm::LabToXyz(lab, labScale, xyzScale);
}
CLamina::LABTRIPLEtag CLamina::fnIMG_RGBToLAB(RGBQUAD colour, int labScale) {
  return cm::RgbToLab(colour, labScale);
}
RGBQUAD CLamina::fnIMG_LABToRGB(CLamina::LABTRIPLEtag lab, int labScale) {
  return cm::LabToRgb(lab, labScale);
}
CLamina::LUVTRIPLEtag CLamina::fnIMG_XYZToLUV(CLamina::XYZTRIPLEtag xyz, int xyzScale,
                                              int luvScale) {
  return cm::XyzToLuv(xyz, xyzScale, luvScale);
}
CLamina::XYZTRIPLEtag CLamina::fnIMG_LUVToXYZ(CLamina::LUVTRIPLEtag luv, int luvScale,
                                              int xyzScale) {
  return cm::LuvToXyz(luv, luvScale, xyzScale);
}
CLamina::LUVTRIPLEtag CLamina::fnIMG_RGBToLUV(RGBQUAD colour, int luvScale) {
  return cm::RgbToLuv(colour, luvScale);
}
RGBQUAD CLamina::fnIMG_LUVToRGB(CLamina::LUVTRIPLEtag luv, int luvScale) {
  return cm::LuvToRgb(luv, luvScale);
}

// The colour-model selector shared by equalization and non-linear contrast: 1 CMYK, 2 HSI, 3 HSV,
// 4 HSL, 5 YIQ, 6 YUV, 7 YCbCr, 8 CIE XYZ, 9 CIE L*a*b*, 10 CIE L*u*v* (0 is the pixel levels
// themselves and never reaches these functions). A colour goes into the model at scale 1, through
// XYZ at scale 1 for 9 and 10, as the record's fields in their declared order; the operations
// change some of those fields and bring the colour back the same way.
#pragma once

#include "colour/colour_math.h"

namespace lamina {
namespace colour {

struct Channels {
  float f[4];
};

inline Channels ToModel(int model, RGBQUAD c) {
  switch (model) {
    case 1: {
      const CMYK v = RgbToCmyk(c, 1);
      return Channels{{v.cmykCyan, v.cmykMagenta, v.cmykYellow, v.cmykBlack}};
    }
    case 2: {
      const HSI v = RgbToHsi(c, 1);
      return Channels{{v.hsiHue, v.hsiSaturation, v.hsiIntensity, 0.0f}};
    }
    case 3: {
      const HSV v = RgbToHsv(c, 1);
      return Channels{{v.hsvHue, v.hsvSaturation, v.hsvValue, 0.0f}};
    }
    case 4: {
      const HSL v = RgbToHsl(c, 1);
      return Channels{{v.hslHue, v.hslSaturation, v.hslLightness, 0.0f}};
    }
    case 5: {
      const YIQ v = RgbToYiq(c, 1);
      return Channels{{v.yiqY, v.yiqI, v.yiqQ, 0.0f}};
    }
    case 6: {
      const YUV v = RgbToYuv(c, 1);
      return Channels{{v.yuvY, v.yuvU, v.yuvV, 0.0f}};
    }
    case 7: {
      const YCbCr v = RgbToYcbcr(c, 1);
      return Channels{{v.ycbcrY, v.ycbcrCb, v.ycbcrCr, 0.0f}};
    }
    case 8: {
      const XYZ v = RgbToXyz(c, 1);
      return Channels{{v.xyzX, v.xyzY, v.xyzZ, 0.0f}};
    }
    case 9: {
      const LAB v = XyzToLab(RgbToXyz(c, 1), 1, 1);
      return Channels{{v.labL, v.labA, v.labB, 0.0f}};
    }
    default: {
      const LUV v = XyzToLuv(RgbToXyz(c, 1), 1, 1);
      return Channels{{v.luvL, v.luvU, v.luvV, 0.0f}};
    }
  }
}

inline RGBQUAD FromModel(int model, const Channels& ch) {
  const float* f = ch.f;
  switch (model) {
    case 1:
      return CmykToRgb(CMYK{f[0], f[1], f[2], f[3]}, 1);
    case 2:
      return HsiToRgb(HSI{f[0], f[1], f[2]}, 1);
    case 3:
      return HsvToRgb(HSV{f[0], f[1], f[2]}, 1);
    case 4:
      return HslToRgb(HSL{f[0], f[1], f[2]}, 1);
    case 5:
      return YiqToRgb(YIQ{f[0], f[1], f[2]}, 1);
    case 6:
      return YuvToRgb(YUV{f[0], f[1], f[2]}, 1);
    case 7:
      return YcbcrToRgb(YCbCr{f[0], f[1], f[2]}, 1);
    case 8:
      return XyzToRgb(XYZ{f[0], f[1], f[2]}, 1);
    case 9:
      return XyzToRgb(LabToXyz(LAB{f[0], f[1], f[2]}, 1, 1), 1);
    default:
      return XyzToRgb(LuvToXyz(LUV{f[0], f[1], f[2]}, 1, 1), 1);
  }
}

// The fields a model's intensity operations change: [first, first + count). CMYK's black is the
// fourth field; whether it takes part depends on the operation (allFour).
struct ChangedFields {
  int first;
  int count;
};
inline ChangedFields Changed(int model, bool cmykAllFour) {
  switch (model) {
    case 1:
      return ChangedFields{0, cmykAllFour ? 4 : 3};
    case 2:
    case 3:
    case 4:
      return ChangedFields{2, 1};  // intensity, value, lightness
    case 8:
      return ChangedFields{0, 3};  // X, Y, Z
    default:
      return ChangedFields{0, 1};  // Y of YIQ, YUV, YCbCr; L* of L*a*b*, L*u*v*
  }
}

}  // namespace colour
}  // namespace lamina

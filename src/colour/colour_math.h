// The colour-model arithmetic as free functions, so that whole-image code (equalization, contrast,
// channel split) converts colours without an object and the compiler can inline the conversions
// into its loops. The CLamina members are thin wrappers over these.
//
// Every step keeps the precision the library has always used: where a value is "double, stored as
// float" the double expression is evaluated and rounded once; float literals stay float literals.
// Stored results and the histogram tables depend on these bits, so do not tidy the arithmetic.
//
// A scale outside a conversion's range computes nothing and yields a record of zeros (black with
// reserved 0 for RGB results). No float is ever converted to an integer unless it has been limited
// to the integer's range first (NaN counts as 0), so hostile records cannot cause undefined
// behaviour.
#pragma once

#include <math.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "core/numeric.h"

namespace lamina {
namespace colour {

using CMYK = CLamina::CMYKQUADtag;
using HSI = CLamina::HSITRIPLEtag;
using HSV = CLamina::HSVTRIPLEtag;
using HSL = CLamina::HSLTRIPLEtag;
using YIQ = CLamina::YIQTRIPLEtag;
using YUV = CLamina::YUVTRIPLEtag;
using YCbCr = CLamina::YCbCrTRIPLEtag;
using XYZ = CLamina::XYZTRIPLEtag;
using LAB = CLamina::LABTRIPLEtag;
using LUV = CLamina::LUVTRIPLEtag;

using numeric::ClampRound;
using numeric::ClampTrunc;
using numeric::SafeTrunc;
using numeric::WrapByte;

inline RGBQUAD MakeRgb(BYTE r, BYTE g, BYTE b) { return RGBQUAD{b, g, r, 0}; }

// ---- CMYK --------------------------------------------------------------------------------------

inline CMYK RgbToCmyk(RGBQUAD c, int scale) {
  CMYK out{0.0f, 0.0f, 0.0f, 0.0f};
  if (scale != 1 && scale != 2) return out;
  if (c.rgbRed == 0 && c.rgbGreen == 0 && c.rgbBlue == 0) {
    out.cmykBlack = scale == 1 ? 255.0f : 1.0f;
    return out;
  }
  // Black is the smallest ink; the other three keep it (the model has always worked that way).
  out.cmykCyan = static_cast<float>(255 - c.rgbRed);
  out.cmykMagenta = static_cast<float>(255 - c.rgbGreen);
  out.cmykYellow = static_cast<float>(255 - c.rgbBlue);
  float k = out.cmykCyan;
  if (out.cmykMagenta < k) k = out.cmykMagenta;
  if (out.cmykYellow < k) k = out.cmykYellow;
  out.cmykBlack = k;
  if (scale == 2) {
    out.cmykCyan = static_cast<float>(out.cmykCyan / 255.0);
    out.cmykMagenta = static_cast<float>(out.cmykMagenta / 255.0);
    out.cmykYellow = static_cast<float>(out.cmykYellow / 255.0);
    out.cmykBlack = static_cast<float>(out.cmykBlack / 255.0);
  }
  return out;
}

inline RGBQUAD CmykToRgb(CMYK in, int scale) {
  if (scale != 1 && scale != 2) return RGBQUAD{0, 0, 0, 0};
  float c = in.cmykCyan, m = in.cmykMagenta, y = in.cmykYellow, k = in.cmykBlack;
  if (scale == 1) {
    c = static_cast<float>(c / 255.0);
    m = static_cast<float>(m / 255.0);
    y = static_cast<float>(y / 255.0);
    k = static_cast<float>(k / 255.0);
  }
  const float red = (1.0f - c) * 255.0f * (1.0f - k);
  const float green = (1.0f - m) * 255.0f * (1.0f - k);
  const float blue = (1.0f - y) * 255.0f * (1.0f - k);
  return MakeRgb(ClampTrunc(red), ClampTrunc(green), ClampTrunc(blue));
}

// ---- HSI ---------------------------------------------------------------------------------------

constexpr float kHsiRadiansToUnit = 40.584511f;  // 255 / 2 pi
constexpr float kRadiansToDegrees = 57.29578f;   // 180 / pi

inline HSI RgbToHsi(RGBQUAD c, int scale) {
  HSI out{0.0f, 0.0f, 0.0f};
  float factor, circle, range;
  switch (scale) {
    case 1:
      factor = kHsiRadiansToUnit;
      circle = 255.0f;
      range = 255.0f;
      break;
    case 2:
      factor = kRadiansToDegrees;
      circle = 360.0f;
      range = 1.0f;
      break;
    case 3:
      factor = kRadiansToDegrees;
      circle = 360.0f;
      range = 100.0f;
      break;
    default:
      return out;
  }
  const int R = c.rgbRed, G = c.rgbGreen, B = c.rgbBlue;
  const float sum = static_cast<float>(G) + static_cast<float>(R) + static_cast<float>(B);
  if (sum == 0.0f) return out;
  const float third = static_cast<float>(sum / 3.0);
  out.hsiIntensity = static_cast<float>(third / 255.0 * range);
  int mn = R < G ? R : G;
  if (B < mn) mn = B;
  out.hsiSaturation = static_cast<float>((1.0 - 3.0 * mn / sum) * range);
  if (R == G && G == B) {
    out.hsiSaturation = 0.0f;
    return out;
  }
  const float num = static_cast<float>(R - G) + static_cast<float>(R - B);
  const float radicand =
      static_cast<float>((R - G) * (R - G)) + static_cast<float>((G - B) * (R - B));
  const float theta = ::acosf(num / (2.0f * ::sqrtf(radicand))) * factor;
  out.hsiHue = B > G ? circle - theta : theta;
  return out;
}

inline RGBQUAD HsiToRgb(HSI in, int scale) {
  float divisor, range;
  switch (scale) {
    case 1:
      divisor = kHsiRadiansToUnit;
      range = 255.0f;
      break;
    case 2:
      divisor = kRadiansToDegrees;
      range = 1.0f;
      break;
    case 3:
      divisor = kRadiansToDegrees;
      range = 100.0f;
      break;
    default:
      return RGBQUAD{0, 0, 0, 0};
  }
  const float Hf = in.hsiHue / divisor;
  const float S = in.hsiSaturation / range;
  const float I = in.hsiIntensity / range;
  double H = Hf;
  // A hue outside the circle (at scale 1 a hue of exactly 255 lands just past 2 pi) is wrapped
  // into it rather than leaving the colour undefined; a hue that is not a number counts as 0.
  if (!(H >= 0.0 && H <= 6.2831853)) {
    constexpr double kTwoPi = 6.283185307179586;
    H = std::isfinite(H) ? std::fmod(H, kTwoPi) : 0.0;
    if (H < 0.0) H += kTwoPi;
    if (!(H <= 6.2831853)) H = 0.0;  // within a hair of the full circle
  }
  float red, green, blue;
  if (H < 2.0943951) {
    blue = I * (1 - S);
    const float sc = S * ::cosf(static_cast<float>(H));
    red = static_cast<float>(I * (1.0 + sc / std::cos(1.04719755 - H)));
    green = 3 * I - (red + blue);
  } else if (H < 4.1887902) {
    red = I * (1 - S);
    green = static_cast<float>(I * (1.0 + S * std::cos(H - 2.0943951) / std::cos(3.14159265 - H)));
    blue = 3 * I - (red + green);
  } else {
    green = I * (1 - S);
    blue = static_cast<float>(I * (1.0 + S * std::cos(H - 4.1887902) / std::cos(5.23598775 - H)));
    red = 3 * I - (green + blue);
  }
  return MakeRgb(ClampRound(red * 255.0f), ClampRound(green * 255.0f), ClampRound(blue * 255.0f));
}

// ---- HSV ---------------------------------------------------------------------------------------

inline HSV RgbToHsv(RGBQUAD c, int scale) {
  HSV out{0.0f, 0.0f, 0.0f};
  float unit, circle, satRange, valRange;
  switch (scale) {
    case 1:
      unit = 42.5f;
      circle = 255.0f;
      satRange = 255.0f;
      valRange = 255.0f;
      break;
    case 2:
      unit = 60.0f;
      circle = 360.0f;
      satRange = 1.0f;
      valRange = 1.0f;
      break;
    case 3:
      unit = 60.0f;
      circle = 360.0f;
      satRange = 100.0f;
      valRange = 100.0f;
      break;
    default:
      return out;
  }
  const float R = c.rgbRed, G = c.rgbGreen, B = c.rgbBlue;
  float mx = R > G ? R : G;
  if (B > mx) mx = B;
  float mn = R < G ? R : G;
  if (B < mn) mn = B;
  const float delta = mx - mn;
  out.hsvValue = static_cast<float>(mx / 255.0 * valRange);
  if (mx == 0.0f) {
    out.hsvHue = circle - 1.0f;  // black: the hue has always been reported as the last step
    return out;
  }
  out.hsvSaturation = delta / mx * satRange;
  if (delta == 0.0f) return out;
  float h;
  if (R == mx)
    h = (G - B) / delta;
  else if (G == mx)
    h = 2.0f + (B - R) / delta;
  else
    h = 4.0f + (R - G) / delta;
  float hue = unit * h;
  if (hue < 0.0f) hue += circle;
  out.hsvHue = hue;
  return out;
}

inline RGBQUAD HsvToRgb(HSV in, int scale) {
  float unit, range;
  switch (scale) {
    case 1:
      unit = 42.5f;
      range = 255.0f;
      break;
    case 2:
      unit = 60.0f;
      range = 1.0f;
      break;
    case 3:
      unit = 60.0f;
      range = 100.0f;
      break;
    default:
      return RGBQUAD{0, 0, 0, 0};
  }
  const float S = in.hsvSaturation / range;
  const float V = in.hsvValue / range;
  double r, g, b;
  if (S == 0.0f) {
    r = g = b = V;
  } else {
    const float h = in.hsvHue / unit;
    const float fl = std::floor(h);
    // The sector number: a hue far outside the circle (or not a number) falls to the last case,
    // like every other i beyond 5, without converting an out-of-range float.
    const int i = (fl >= -8.0f && fl <= 8.0f) ? static_cast<int>(fl) : 6;
    const float f = h - fl;
    const double p = static_cast<double>(V) * (1 - S);
    const double q = static_cast<double>(V) * (1 - S * f);
    const double t = static_cast<double>(V) * (1 - S * (1 - f));
    switch (i) {
      case 0:
        r = V;
        g = t;
        b = p;
        break;
      case 1:
        r = q;
        g = V;
        b = p;
        break;
      case 2:
        r = p;
        g = V;
        b = t;
        break;
      case 3:
        r = p;
        g = q;
        b = V;
        break;
      case 4:
        r = t;
        g = p;
        b = V;
        break;
      default:
        r = V;
        g = p;
        b = q;
        break;
    }
  }
  return MakeRgb(ClampRound(static_cast<float>(r * 255.0)),
                 ClampRound(static_cast<float>(g * 255.0)),
                 ClampRound(static_cast<float>(b * 255.0)));
}

// ---- HSL (the 0 ... 255 integer model with a half range of 127) -------------------------------

inline HSL RgbToHsl(RGBQUAD c, int scale) {
  HSL out{0.0f, 0.0f, 0.0f};
  if (scale < 1 || scale > 3) return out;
  const int R = c.rgbRed, G = c.rgbGreen, B = c.rgbBlue;
  int cmax = R > G ? R : G;
  if (B > cmax) cmax = B;
  int cmin = R < G ? R : G;
  if (B < cmin) cmin = B;
  float lightness = static_cast<float>((cmax + cmin + 1) * 255) / 510.0f;
  float hue, saturation;
  if (cmax == cmin) {
    hue = 170.0f;  // undefined hue
    saturation = 0.0f;
  } else {
    const int D = lightness <= 127.0f ? cmax + cmin : 510 - cmax - cmin;
    saturation = static_cast<float>(((cmax - cmin) * 255 + D * 0.5) / D);
    if (saturation > 255.0f) saturation = 255.0f;
    const int spread = cmax - cmin;
    const int rd = static_cast<int>(((cmax - R) * 42.5 + spread * 0.5) / spread);
    const int gd = static_cast<int>(((cmax - G) * 42.5 + spread * 0.5) / spread);
    const int bd = static_cast<int>(((cmax - B) * 42.5 + spread * 0.5) / spread);
    int h;
    if (R == cmax)
      h = bd - gd;
    else if (G == cmax)
      h = 85 + rd - bd;
    else
      h = 170 + gd - rd;
    if (h < 0) h += 255;
    if (h > 255) h -= 255;
    hue = static_cast<float>(h);
  }
  if (scale == 2) {
    hue *= 1.4117647f;
    saturation *= 0.003921569f;
    lightness *= 0.003921569f;
  } else if (scale == 3) {
    hue *= 1.4117647f;
    saturation *= 0.39215687f;
    lightness *= 0.39215687f;
  }
  out.hslHue = hue;
  out.hslSaturation = saturation;
  out.hslLightness = lightness;
  return out;
}

inline float HslValue(float m1, float m2, float h) {
  if (h > 360.0f) h -= 360.0f;
  if (h < 0.0f) h += 360.0f;
  if (h < 60.0f) return m1 + (m2 - m1) * h / 60;
  if (h < 180.0f) return m2;
  if (h < 240.0f) return m1 + (m2 - m1) * (240 - h) / 60;
  return m1;
}

inline RGBQUAD HslToRgb(HSL in, int scale) {
  float hue = in.hslHue, S = in.hslSaturation, L = in.hslLightness;
  switch (scale) {
    case 1:
      hue *= 1.4117647f;
      S *= 0.003921569f;
      L *= 0.003921569f;
      break;
    case 2:
      break;
    case 3:
      S *= 0.01f;
      L *= 0.01f;
      break;
    default:
      return RGBQUAD{0, 0, 0, 0};
  }
  const float m2 = L <= 0.5f ? L * (1 + S) : L + S - L * S;
  const float m1 = 2 * L - m2;
  float r, g, b;
  if (S == 0.0f) {
    r = g = b = L * 255;
  } else {
    r = HslValue(m1, m2, hue + 120) * 255;
    g = HslValue(m1, m2, hue) * 255;
    b = HslValue(m1, m2, hue - 120) * 255;
  }
  return MakeRgb(ClampTrunc(r), ClampTrunc(g), ClampTrunc(b));
}

// ---- YIQ ---------------------------------------------------------------------------------------

inline YIQ RgbToYiq(RGBQUAD c, int scale) {
  YIQ out{0.0f, 0.0f, 0.0f};
  if (scale < 1 || scale > 4) return out;
  const float r = static_cast<float>(c.rgbRed / 255.0);
  const float g = static_cast<float>(c.rgbGreen / 255.0);
  const float b = static_cast<float>(c.rgbBlue / 255.0);
  const float Y = g * 0.5868f + r * 0.2992f + b * 0.114f;
  const float I = r * 0.596f - g * 0.2742f - b * 0.3219f;
  const float Q = r * 0.2109f - g * 0.5229f + b * 0.312f;
  switch (scale) {
    case 1:
      out.yiqY = static_cast<float>(Y * 255.0);
      out.yiqI = static_cast<float>(I * 255.0 + 128.0);
      out.yiqQ = static_cast<float>(Q * 255.0 + 128.0);
      break;
    case 2:
      out.yiqY = Y;
      out.yiqI = static_cast<float>(I + 0.477);
      out.yiqQ = static_cast<float>(Q + 0.404);
      break;
    case 3:
      out.yiqY = static_cast<float>(Y * 100.0);
      out.yiqI = static_cast<float>((I + 0.477) * 100.0);
      out.yiqQ = static_cast<float>((Q + 0.404) * 100.0);
      break;
    default:
      out.yiqY = Y;
      out.yiqI = I;
      out.yiqQ = Q;
      break;
  }
  return out;
}

inline RGBQUAD YiqToRgb(YIQ in, int scale) {
  float Y, I, Q;
  switch (scale) {
    case 1:
      Y = in.yiqY;
      I = in.yiqI - 128.0f;
      Q = in.yiqQ - 128.0f;
      break;
    case 2:
    case 3: {
      // The forward offsets 0.477 and 0.404 are not taken back: these scales have never
      // returned the starting colour exactly.
      const double k = scale == 2 ? 255.0 : 2.55;
      Y = static_cast<float>(in.yiqY * k);
      I = static_cast<float>(in.yiqI * k - 128.0);
      Q = static_cast<float>(in.yiqQ * k - 128.0);
      break;
    }
    case 4:
      Y = static_cast<float>(in.yiqY * 255.0);
      I = static_cast<float>(in.yiqI * 255.0);
      Q = static_cast<float>(in.yiqQ * 255.0);
      break;
    default:
      return RGBQUAD{0, 0, 0, 0};
  }
  const float red = I * 0.956f + Y + Q * 0.621f;
  const float green = Y - I * 0.273f - Q * 0.647f;
  const float blue = Y - I * 1.104f + Q * 1.701f;
  return MakeRgb(ClampTrunc(red), ClampTrunc(green), ClampTrunc(blue));
}

// ---- YUV ---------------------------------------------------------------------------------------

// The whole-number Y, U, V of scale 1 (every value lies well inside 0 ... 255).
struct YuvWhole {
  int Y, U, V;
};
inline YuvWhole RgbToYuvWhole(RGBQUAD c) {
  const float R = c.rgbRed, G = c.rgbGreen, B = c.rgbBlue;
  const int Y = static_cast<int>(G * 0.587f + R * 0.299f + B * 0.114f);
  const int U = static_cast<int>((B - Y) * 0.565f + 128);
  const int V = static_cast<int>((R - Y) * 0.713f + 128);
  return YuvWhole{Y, U, V};
}

inline YUV RgbToYuv(RGBQUAD c, int scale) {
  YUV out{0.0f, 0.0f, 0.0f};
  if (scale < 1 || scale > 5) return out;
  const YuvWhole w = RgbToYuvWhole(c);
  const double Y = w.Y, U = w.U, V = w.V;
  switch (scale) {
    case 1:
      out = YUV{static_cast<float>(Y), static_cast<float>(U), static_cast<float>(V)};
      break;
    case 2:
      out = YUV{static_cast<float>(Y / 255), static_cast<float>(U / 255),
                static_cast<float>(V / 255)};
      break;
    case 3:
      out = YUV{static_cast<float>(Y / 2.55), static_cast<float>(U / 2.55),
                static_cast<float>(V / 2.55)};
      break;
    case 4:
      out = YUV{static_cast<float>(Y / 255), static_cast<float>(U * 0.872 / 255 - 0.436),
                static_cast<float>(V * 1.23 / 255 - 0.615)};
      break;
    default:
      out = YUV{static_cast<float>(Y), static_cast<float>(U * 224 / 255 + 16),
                static_cast<float>(V * 314 / 255 - 157)};
      break;
  }
  return out;
}

inline RGBQUAD YuvToRgb(YUV in, int scale) {
  float Y, U, V;
  switch (scale) {
    case 1:
      Y = in.yuvY;
      U = in.yuvU - 128.0f;
      V = in.yuvV - 128.0f;
      break;
    case 2:
    case 3: {
      const double k = scale == 2 ? 255.0 : 2.55;
      Y = static_cast<float>(in.yuvY * k);
      U = static_cast<float>(in.yuvU * k - 128.0);
      V = static_cast<float>(in.yuvV * k - 128.0);
      break;
    }
    case 4:
      Y = static_cast<float>(in.yuvY * 255.0);
      U = static_cast<float>((in.yuvU + 0.436) * 292.43119266055044 - 128.0);
      V = static_cast<float>((in.yuvV + 0.615) * 207.3170731707317 - 128.0);
      break;
    case 5:
      Y = in.yuvY;
      U = static_cast<float>((in.yuvU - 16.0) * 1.1383928571428572 - 128.0);
      V = static_cast<float>((in.yuvV + 157.0) * 0.8121019108280255 - 128.0);
      break;
    default:
      return RGBQUAD{0, 0, 0, 0};
  }
  const float red = Y + 1.403f * V;
  const float green = Y - 0.344f * U - 0.714f * V;
  const float blue = Y + 1.77f * U;
  return MakeRgb(ClampTrunc(red), ClampTrunc(green), ClampTrunc(blue));
}

// ---- YCbCr -------------------------------------------------------------------------------------

inline YCbCr RgbToYcbcr(RGBQUAD c, int scale) {
  YCbCr out{0.0f, 0.0f, 0.0f};
  if (scale != 1 && scale != 2) return out;
  const double R = c.rgbRed, G = c.rgbGreen, B = c.rgbBlue;
  double Y = 0.257 * R + 0.504 * G + 0.098 * B + 16;
  double Cb = 0.439 * B - (0.291 * G + 0.148 * R) + 128;
  double Cr = 0.439 * R - 0.368 * G - 0.071 * B + 128;
  if (scale == 1) {  // stretched from the studio range to 0 ... 255
    Y = Y * 1.16438356 - 18.63013696;
    Cb = Cb * 1.138392857 - 18.21428571;
    Cr = Cr * 1.138392857 - 18.21428571;
  }
  out.ycbcrY = static_cast<float>(Y);
  out.ycbcrCb = static_cast<float>(Cb);
  out.ycbcrCr = static_cast<float>(Cr);
  return out;
}

inline RGBQUAD YcbcrToRgb(YCbCr in, int scale) {
  float Y = in.ycbcrY, Cb = in.ycbcrCb, Cr = in.ycbcrCr;
  if (scale == 1) {
    Y = Y * 219 / 255 + 16;
    Cb = Cb * 224 / 255 + 16;
    Cr = Cr * 224 / 255 + 16;
  } else if (scale != 2) {
    return RGBQUAD{0, 0, 0, 0};
  }
  const double Y1 = 1.164 * (Y - 16);
  const double red = 1.596 * (Cr - 128) + Y1;
  const double green = Y1 - 0.392 * (Cb - 128) - 0.813 * (Cr - 128);
  const double blue = 2.017 * (Cb - 128) + Y1;
  return MakeRgb(ClampTrunc(red), ClampTrunc(green), ClampTrunc(blue));
}

// ---- CIE XYZ, L*a*b*, L*u*v* ----------------------------------------------------------------

constexpr float kWhiteX = 95.047f, kWhiteY = 100.0f, kWhiteZ = 108.883f;
constexpr float kWhiteU = 0.19783981f, kWhiteV = 0.46833628f;
constexpr double kEpsilon = 0.008856, kKappa = 7.787, kDelta = 0.13793103448275862;

inline double CieF(double t) {
  return t > kEpsilon ? std::pow(t, 0.3333333333333333) : kKappa * t + kDelta;
}
inline double CieG(double s) {
  const double s3 = s * s * s;
  return s3 > kEpsilon ? s3 : (s - kDelta) / kKappa;
}

inline XYZ RgbToXyz(RGBQUAD c, int scale) {
  XYZ out{0.0f, 0.0f, 0.0f};
  if (scale < 1 || scale > 3) return out;
  const float r = static_cast<float>(c.rgbRed / 255.0);
  const float g = static_cast<float>(c.rgbGreen / 255.0);
  const float b = static_cast<float>(c.rgbBlue / 255.0);
  double X = 0.412453 * r + 0.35758 * g + 0.180423 * b;
  double Y = 0.212671 * r + 0.71516 * g + 0.072169 * b;
  // Normalised so that white has Z = 1.
  double Z = (0.019334 * r + 0.119193 * g + 0.950227 * b) * 0.9184836745262146;
  const double k = scale == 1 ? 255.0 : scale == 2 ? 1.0 : 100.0;
  if (scale != 2) {
    X *= k;
    Y *= k;
    Z *= k;
  }
  out.xyzX = static_cast<float>(X);
  out.xyzY = static_cast<float>(Y);
  out.xyzZ = static_cast<float>(Z);
  return out;
}

inline RGBQUAD XyzToRgb(XYZ in, int scale) {
  double X = in.xyzX, Y = in.xyzY, Z = in.xyzZ;
  switch (scale) {
    case 1:
      X /= 255;
      Y /= 255;
      Z /= 255;
      break;
    case 2:
      break;
    case 3:
      X /= 100;
      Y /= 100;
      Z /= 100;
      break;
    default:
      return RGBQUAD{0, 0, 0, 0};
  }
  Z *= 1.088751;  // undoes the normalisation of the forward conversion
  const float red = static_cast<float>((3.240479 * X - 1.53715 * Y - 0.498535 * Z) * 255);
  const float green = static_cast<float>((-0.969256 * X + 1.875992 * Y + 0.041556 * Z) * 255);
  const float blue = static_cast<float>((0.055648 * X - 0.204043 * Y + 1.057311 * Z) * 255);
  return MakeRgb(ClampTrunc(red), ClampTrunc(green), ClampTrunc(blue));
}

inline bool CieScaleOk(int s) { return s >= 1 && s <= 3; }
// The XYZ input factor of the L*a*b* and L*u*v* conversions: the XYZ values meet the reference
// white (given on 0 ... 100) in their 0 ... 255 form, which puts white's L* near 142.5. Stored
// results rely on that scale, so it stays.
inline float CieInputFactor(int xyzScale) {
  return xyzScale == 1 ? 1.0f : xyzScale == 2 ? 255.0f : 2.55f;
}

inline LAB XyzToLab(XYZ in, int xyzScale, int labScale) {
  LAB out{0.0f, 0.0f, 0.0f};
  if (!CieScaleOk(xyzScale) || !CieScaleOk(labScale)) return out;
  const float k = CieInputFactor(xyzScale);
  const float x = k * in.xyzX / kWhiteX;
  const float y = k * in.xyzY / kWhiteY;
  const float z = k * in.xyzZ / kWhiteZ;
  const float fx = static_cast<float>(CieF(x));
  const float fy = static_cast<float>(CieF(y));
  const float fz = static_cast<float>(CieF(z));
  float L = 116.0f * fy - 16.0f;
  float a = 500.0f * (fx - fy);
  float b = 200.0f * (fy - fz);
  if (labScale == 2) {
    L /= 255.0f;
    a /= 255.0f;
    b /= 255.0f;
  } else if (labScale == 3) {
    L = static_cast<float>(L / 2.55);
    a -= 128.0f;
    b -= 128.0f;
  }
  out.labL = L;
  out.labA = a;
  out.labB = b;
  return out;
}

inline float LimitTo255(float v) {
  if (v < 0.0f) return 0.0f;
  if (v > 255.0f) return 255.0f;
  return v;
}

inline XYZ LabToXyz(LAB in, int labScale, int xyzScale) {
  XYZ out{0.0f, 0.0f, 0.0f};
  if (!CieScaleOk(labScale) || !CieScaleOk(xyzScale)) return out;
  float L = in.labL, a = in.labA, b = in.labB;
  if (labScale == 2) {
    L *= 255.0f;
    a *= 255.0f;
    b *= 255.0f;
  } else if (labScale == 3) {
    L = static_cast<float>(L * 2.55);
    a += 128.0f;
    b += 128.0f;
  }
  const float fy = (L + 16.0f) / 116.0f;
  const float fx = a / 500.0f + fy;
  const float fz = fy - b / 200.0f;
  // The result is the 0 ... 255 form for xyzScale 1 and 3 alike: a round trip at scale 3 has
  // always multiplied XYZ by 2.55, and callers rely on the values as they are.
  float X = LimitTo255(static_cast<float>(kWhiteX * CieG(fx)));
  float Y = LimitTo255(static_cast<float>(kWhiteY * CieG(fy)));
  float Z = LimitTo255(static_cast<float>(kWhiteZ * CieG(fz)));
  if (xyzScale == 2) {
    X /= 255.0f;
    Y /= 255.0f;
    Z /= 255.0f;
  }
  out.xyzX = X;
  out.xyzY = Y;
  out.xyzZ = Z;
  return out;
}

inline LUV XyzToLuv(XYZ in, int xyzScale, int luvScale) {
  LUV out{0.0f, 0.0f, 0.0f};
  if (!CieScaleOk(xyzScale) || !CieScaleOk(luvScale)) return out;
  const float k = CieInputFactor(xyzScale);
  const float X = k * in.xyzX, Y = k * in.xyzY, Z = k * in.xyzZ;
  const float d = 3.0f * Z + (15.0f * Y + X);
  float L = static_cast<float>(116.0 * CieF(Y / 100.0f) - 16.0);
  float u = 0.0f, v = 0.0f;
  // Black (d = 0) has no chromaticity: u* and v* are 0 there instead of 0 / 0.
  if (d != 0.0f) {
    const float up = 4.0f * X / d;
    const float vp = 9.0f * Y / d;
    u = 13.0f * L * (up - kWhiteU);
    v = 13.0f * L * (vp - kWhiteV);
  }
  if (luvScale == 2) {
    L /= 255.0f;
    u /= 255.0f;
    v /= 255.0f;
  } else if (luvScale == 3) {
    L = static_cast<float>(L / 2.55);
    u = static_cast<float>(u * 1.388235294117647 - 134.0);
    v = static_cast<float>(v * 1.003921568627451 - 140.0);
  }
  out.luvL = L;
  out.luvU = u;
  out.luvV = v;
  return out;
}

inline XYZ LuvToXyz(LUV in, int luvScale, int xyzScale) {
  XYZ out{0.0f, 0.0f, 0.0f};
  if (!CieScaleOk(luvScale) || !CieScaleOk(xyzScale)) return out;
  float L = in.luvL, u = in.luvU, v = in.luvV;
  if (luvScale == 2) {
    L *= 255.0f;
    u *= 255.0f;
    v *= 255.0f;
  } else if (luvScale == 3) {
    L = static_cast<float>(L * 2.55);
    u = static_cast<float>((u + 134.0) * 0.7203389830508474);
    v = static_cast<float>((v + 140.0) * 0.99609375);
  }
  // L = 0 (black) divides by 13L and v' = 0 divides by 3v': neither has a colour, so both give
  // zeros rather than infinities and NaN.
  if (L == 0.0f) return out;
  const float Y = static_cast<float>(kWhiteY * CieG((L + 16.0f) / 116.0f));
  const float up = u / (13.0f * L) + kWhiteU;
  const float vp = v / (13.0f * L) + kWhiteV;
  if (vp == 0.0f) return out;
  float X = -(9.0f * Y * up) / ((up - 4.0f) * vp - up * vp);
  float Z = (9.0f * Y - 15.0f * vp * Y - X * vp) / (3.0f * vp);
  float Yo = Y;
  if (xyzScale == 2) {
    X /= 255.0f;
    Yo /= 255.0f;
    Z /= 255.0f;
  } else if (xyzScale == 3) {
    X = static_cast<float>(X / 2.55);
    Yo = static_cast<float>(Yo / 2.55);
    Z = static_cast<float>(Z / 2.55);
  }
  out.xyzX = X;
  out.xyzY = Yo;
  out.xyzZ = Z;
  return out;
}

inline LAB RgbToLab(RGBQUAD c, int labScale) {
  if (!CieScaleOk(labScale)) return LAB{0.0f, 0.0f, 0.0f};
  return XyzToLab(RgbToXyz(c, 2), 2, labScale);
}
inline RGBQUAD LabToRgb(LAB lab, int labScale) { return XyzToRgb(LabToXyz(lab, labScale, 2), 2); }
inline LUV RgbToLuv(RGBQUAD c, int luvScale) {
  if (!CieScaleOk(luvScale)) return LUV{0.0f, 0.0f, 0.0f};
  return XyzToLuv(RgbToXyz(c, 2), 2, luvScale);
}
inline RGBQUAD LuvToRgb(LUV luv, int luvScale) { return XyzToRgb(LuvToXyz(luv, luvScale, 2), 2); }

}  // namespace colour
}  // namespace lamina

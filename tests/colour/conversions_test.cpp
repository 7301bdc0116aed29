// Single-colour conversions: stated edge values, exact bits of typical colours (so a change of
// precision anywhere shows), round trips, and the records given for scales out of range.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "CLamina.h"

namespace {

RGBQUAD Rgb(int r, int g, int b) { return RGBQUAD{BYTE(b), BYTE(g), BYTE(r), 0}; }

void ExpectRgb(RGBQUAD c, int r, int g, int b) {
  EXPECT_EQ(c.rgbRed, r);
  EXPECT_EQ(c.rgbGreen, g);
  EXPECT_EQ(c.rgbBlue, b);
  EXPECT_EQ(c.rgbReserved, 0);
}

const RGBQUAD kBlack = Rgb(0, 0, 0), kWhite = Rgb(255, 255, 255), kRed = Rgb(255, 0, 0),
              kBlue = Rgb(0, 0, 255), kGray = Rgb(128, 128, 128), kBrown = Rgb(200, 100, 50);

TEST(ColourCmyk, BlackAndWhite) {
  CLamina img;
  CLamina::CMYKQUADtag k1 = img.fnIMG_RGBToCMYK(kBlack, 1), k2 = img.fnIMG_RGBToCMYK(kBlack, 2);
  EXPECT_EQ(k1.cmykCyan, 0.0f);
  EXPECT_EQ(k1.cmykBlack, 255.0f);
  EXPECT_EQ(k2.cmykMagenta, 0.0f);
  EXPECT_EQ(k2.cmykBlack, 1.0f);
  CLamina::CMYKQUADtag w = img.fnIMG_RGBToCMYK(kWhite, 1);
  EXPECT_EQ(w.cmykCyan + w.cmykMagenta + w.cmykYellow + w.cmykBlack, 0.0f);
}

TEST(ColourCmyk, InksKeepTheirBlackSoARoundTripDarkens) {
  CLamina img;
  CLamina::CMYKQUADtag k = img.fnIMG_RGBToCMYK(kBrown, 2);
  EXPECT_EQ(k.cmykCyan, 0x1.b9b9bap-3f);
  EXPECT_EQ(k.cmykYellow, 0x1.9b9b9cp-1f);
  EXPECT_EQ(k.cmykBlack, k.cmykCyan);
  ExpectRgb(img.fnIMG_CMYKToRGB(img.fnIMG_RGBToCMYK(kBrown, 1), 1), 156, 78, 39);
  ExpectRgb(img.fnIMG_CMYKToRGB(k, 2), 156, 78, 39);
}

TEST(ColourHsi, GrayRedBlueAndExactBits) {
  CLamina img;
  CLamina::HSITRIPLEtag g = img.fnIMG_RGBToHSI(kGray, 1);
  EXPECT_EQ(g.hsiHue, 0.0f);
  EXPECT_EQ(g.hsiSaturation, 0.0f);
  EXPECT_EQ(g.hsiIntensity, 128.0f);
  CLamina::HSITRIPLEtag r = img.fnIMG_RGBToHSI(kRed, 2);
  EXPECT_EQ(r.hsiHue, 0.0f);
  EXPECT_EQ(r.hsiSaturation, 1.0f);
  EXPECT_EQ(r.hsiIntensity, 1.0f / 3.0f);
  EXPECT_EQ(img.fnIMG_RGBToHSI(kBlue, 2).hsiHue, 240.0f);
  CLamina::HSITRIPLEtag b = img.fnIMG_RGBToHSI(kBrown, 1);
  EXPECT_EQ(b.hsiHue, 0x1.b11544p+3f);  // 13.5338459
  EXPECT_EQ(b.hsiSaturation, 0x1.236db6p+7f);
  EXPECT_EQ(b.hsiIntensity, 0x1.d2aaaap+6f);  // the third is stored as float before / 255
  CLamina::HSITRIPLEtag b3 = img.fnIMG_RGBToHSI(kBrown, 3);
  EXPECT_EQ(b3.hsiHue, 0x1.31b4a8p+4f);
  EXPECT_EQ(b3.hsiIntensity, 0x1.6e0358p+5f);
  EXPECT_EQ(img.fnIMG_RGBToHSI(kBlack, 1).hsiIntensity, 0.0f);
}

TEST(ColourHsi, BackToRgbIncludingAHueOnTheFullCircle) {
  CLamina img;
  for (int s = 1; s <= 3; ++s)
    ExpectRgb(img.fnIMG_HSIToRGB(img.fnIMG_RGBToHSI(kBrown, s), s), 200, 100, 50);
  // 255 / 40.584511f lands just past 2 pi: wrapped, it is red like hue 0.
  ExpectRgb(img.fnIMG_HSIToRGB(CLamina::HSITRIPLEtag{255.0f, 255.0f, 85.0f}, 1), 255, 0, 0);
  ExpectRgb(img.fnIMG_HSIToRGB(CLamina::HSITRIPLEtag{-255.0f, 255.0f, 85.0f}, 1), 255, 0, 0);
  ExpectRgb(img.fnIMG_HSIToRGB(CLamina::HSITRIPLEtag{360.0f, 1.0f, 1.0f / 3}, 2), 255, 0, 0);
  ExpectRgb(img.fnIMG_HSIToRGB(CLamina::HSITRIPLEtag{NAN, 1.0f, NAN}, 2), 0, 0, 0);
}

TEST(ColourHsv, BlackGrayAndTheFullCircle) {
  CLamina img;
  EXPECT_EQ(img.fnIMG_RGBToHSV(kBlack, 1).hsvHue, 254.0f);
  EXPECT_EQ(img.fnIMG_RGBToHSV(kBlack, 2).hsvHue, 359.0f);
  EXPECT_EQ(img.fnIMG_RGBToHSV(kBlack, 3).hsvHue, 359.0f);
  CLamina::HSVTRIPLEtag g = img.fnIMG_RGBToHSV(kGray, 1);
  EXPECT_EQ(g.hsvHue + g.hsvSaturation, 0.0f);
  CLamina::HSVTRIPLEtag r = img.fnIMG_RGBToHSV(kRed, 2);
  EXPECT_EQ(r.hsvHue, 0.0f);
  EXPECT_EQ(r.hsvSaturation, 1.0f);
  EXPECT_EQ(r.hsvValue, 1.0f);
  EXPECT_EQ(img.fnIMG_RGBToHSV(kBlue, 2).hsvHue, 240.0f);
  EXPECT_EQ(img.fnIMG_RGBToHSV(kBrown, 1).hsvHue, 0x1.c55556p+3f);
  EXPECT_EQ(img.fnIMG_RGBToHSV(kBrown, 3).hsvValue, 0x1.39b9bap+6f);
  ExpectRgb(img.fnIMG_HSVToRGB(CLamina::HSVTRIPLEtag{360.0f, 1.0f, 1.0f}, 2), 255, 0, 255);
  ExpectRgb(img.fnIMG_HSVToRGB(CLamina::HSVTRIPLEtag{0.0f, 1.0f, 1.0f}, 2), 255, 0, 0);
  ExpectRgb(img.fnIMG_HSVToRGB(CLamina::HSVTRIPLEtag{300.0f, 1.0f, 0.5f}, 2), 128, 0, 128);
  // Far outside the circle the sector falls to the last case, with no fraction left.
  ExpectRgb(img.fnIMG_HSVToRGB(CLamina::HSVTRIPLEtag{1e30f, 1.0f, 1.0f}, 2), 255, 0, 255);
  for (int s = 1; s <= 3; ++s)
    ExpectRgb(img.fnIMG_HSVToRGB(img.fnIMG_RGBToHSV(kBrown, s), s), 200, 100, 50);
}

TEST(ColourHsl, UndefinedHueIs170AndExactBits) {
  CLamina img;
  CLamina::HSLTRIPLEtag g = img.fnIMG_RGBToHSL(kGray, 1);
  EXPECT_EQ(g.hslHue, 170.0f);
  EXPECT_EQ(g.hslSaturation, 0.0f);
  EXPECT_EQ(g.hslLightness, 128.5f);  // 257 * 255 / 510, not truncated
  EXPECT_EQ(img.fnIMG_RGBToHSL(kRed, 2).hslHue, 0.0f);
  CLamina::HSLTRIPLEtag b = img.fnIMG_RGBToHSL(kBrown, 1);
  EXPECT_EQ(b.hslHue, 15.0f);
  EXPECT_EQ(b.hslSaturation, 153.5f);
  EXPECT_EQ(b.hslLightness, 125.5f);
  CLamina::HSLTRIPLEtag b2 = img.fnIMG_RGBToHSL(kBrown, 2);
  EXPECT_EQ(b2.hslHue, 0x1.52d2d4p+4f);
  EXPECT_EQ(b2.hslSaturation, 0x1.343436p-1f);
  // The hue has 255 steps, so the way back is near, truncated.
  ExpectRgb(img.fnIMG_HSLToRGB(b, 1), 201, 103, 49);
  ExpectRgb(img.fnIMG_HSLToRGB(CLamina::HSLTRIPLEtag{0.0f, 0.0f, 0.5f}, 2), 127, 127, 127);
}

TEST(ColourYiq, ScaleOneInDoubleAndRoundTrips) {
  CLamina img;
  CLamina::YIQTRIPLEtag y = img.fnIMG_RGBToYIQ(kBrown, 1);
  EXPECT_EQ(y.yiqY, 0x1.f0e148p+6f);
  EXPECT_EQ(y.yiqI, 0x1.975ebap+7f);
  EXPECT_EQ(y.yiqQ, 0x1.0afaep+7f);
  // I * 255 + 128 is formed in double: in float this green gives 0x1.9c30f4p+6.
  EXPECT_EQ(img.fnIMG_RGBToYIQ(Rgb(0, 91, 0), 1).yiqI, 0x1.9c30f2p+6f);
  EXPECT_EQ(img.fnIMG_RGBToYIQ(kBrown, 4).yiqQ, 0x1.60bcd8p-6f);
  ExpectRgb(img.fnIMG_YIQToRGB(y, 1), 199, 100, 50);
  // Scales 2 and 3 do not take their offsets back.
  ExpectRgb(img.fnIMG_YIQToRGB(img.fnIMG_RGBToYIQ(kBrown, 2), 2), 178, 117, 14);
  ExpectRgb(img.fnIMG_YIQToRGB(img.fnIMG_RGBToYIQ(kBrown, 4), 4), 199, 100, 50);
}

TEST(ColourYuv, WholeNumbersAtScaleOne) {
  CLamina img;
  for (int r = 0; r < 256; r += 15)
    for (int b = 0; b < 256; b += 51) {
      CLamina::YUVTRIPLEtag y = img.fnIMG_RGBToYUV(Rgb(r, 255 - r, b), 1);
      EXPECT_EQ(y.yuvY, std::trunc(y.yuvY));
      EXPECT_EQ(y.yuvU, std::trunc(y.yuvU));
      EXPECT_EQ(y.yuvV, std::trunc(y.yuvV));
    }
  CLamina::YUVTRIPLEtag y = img.fnIMG_RGBToYUV(kBrown, 1);
  EXPECT_EQ(y.yuvY, 124.0f);
  EXPECT_EQ(y.yuvU, 86.0f);
  EXPECT_EQ(y.yuvV, 182.0f);
  EXPECT_EQ(img.fnIMG_RGBToYUV(kBrown, 3).yuvU, 0x1.0dcdcep+5f);
  EXPECT_EQ(img.fnIMG_RGBToYUV(kBrown, 4).yuvU, -0x1.22a3aap-3f);
  EXPECT_EQ(img.fnIMG_RGBToYUV(kBrown, 5).yuvV, 0x1.0c707p+6f);
  for (int s = 1; s <= 5; ++s)
    ExpectRgb(img.fnIMG_YUVToRGB(img.fnIMG_RGBToYUV(kBrown, s), s), 199, 99, 49);
}

TEST(ColourYcbcr, WhiteAndExactBits) {
  CLamina img;
  CLamina::YCbCrTRIPLEtag w = img.fnIMG_RGBToYCbCr(kWhite, 2);
  EXPECT_NEAR(w.ycbcrY, 235.0f, 0.05f);
  EXPECT_NEAR(w.ycbcrCb, 128.0f, 0.01f);
  EXPECT_NEAR(w.ycbcrCr, 128.0f, 0.01f);
  EXPECT_EQ(w.ycbcrY, 0x1.d6170ap+7f);
  EXPECT_NEAR(img.fnIMG_RGBToYCbCr(kWhite, 1).ycbcrY, 255.0f, 0.1f);
  CLamina::YCbCrTRIPLEtag b = img.fnIMG_RGBToYCbCr(kBrown, 1);
  EXPECT_EQ(b.ycbcrY, 0x1.f0f57ap+6f);
  EXPECT_EQ(b.ycbcrCr, 0x1.6b0892p+7f);
  ExpectRgb(img.fnIMG_YCbCrToRGB(b, 1), 199, 100, 50);
  // The rounded coefficients leave white a hair short of 255 on the way back.
  ExpectRgb(img.fnIMG_YCbCrToRGB(img.fnIMG_RGBToYCbCr(kWhite, 2), 2), 254, 254, 254);
}

TEST(ColourXyz, WhiteComesBackWithBlue254) {
  CLamina img;
  CLamina::XYZTRIPLEtag w = img.fnIMG_RGBToXYZ(kWhite, 2);
  EXPECT_NEAR(w.xyzX, 0.950456f, 1e-6f);
  EXPECT_EQ(w.xyzY, 1.0f);
  EXPECT_EQ(w.xyzZ, 0x1.00002ep+0f);
  ExpectRgb(img.fnIMG_XYZToRGB(w, 2), 255, 255, 254);
  CLamina::XYZTRIPLEtag b = img.fnIMG_RGBToXYZ(kBrown, 1);
  EXPECT_EQ(b.xyzX, 0x1.fd143ap+6f);
  EXPECT_EQ(b.xyzZ, 0x1.d119f6p+5f);
  EXPECT_EQ(img.fnIMG_RGBToXYZ(kBrown, 3).xyzY, 0x1.71200cp+5f);
  for (int s = 1; s <= 3; ++s)
    ExpectRgb(img.fnIMG_XYZToRGB(img.fnIMG_RGBToXYZ(kBrown, s), s), 199, 100, 49);
}

TEST(ColourXyz, EveryColourComesBackWithinOneStep) {
  CLamina img;
  for (int r = 0; r < 256; r += 3)
    for (int g = 0; g < 256; g += 5)
      for (int b = 0; b < 256; b += 7) {
        const RGBQUAD c = img.fnIMG_XYZToRGB(img.fnIMG_RGBToXYZ(Rgb(r, g, b), 2), 2);
        ASSERT_LE(std::abs(c.rgbRed - r), 1);
        ASSERT_LE(std::abs(c.rgbGreen - g), 1);
        ASSERT_LE(std::abs(c.rgbBlue - b), 1);
      }
}

TEST(ColourLab, TheLibraryScaleOfLStar) {
  CLamina img;
  CLamina::LABTRIPLEtag w = img.fnIMG_RGBToLAB(kWhite, 1);
  EXPECT_NEAR(w.labL, 142.48f, 0.005f);
  EXPECT_NEAR(w.labA, 0.0f, 0.005f);
  EXPECT_NEAR(w.labB, 7.64f, 0.005f);
  EXPECT_EQ(w.labL, 0x1.1cf53p+7f);
  CLamina::LABTRIPLEtag g = img.fnIMG_RGBToLAB(kGray, 1);
  EXPECT_NEAR(g.labL, 109.95f, 0.005f);
  EXPECT_NEAR(g.labB, 6.07f, 0.005f);
  CLamina::LABTRIPLEtag r = img.fnIMG_RGBToLAB(kRed, 1);
  EXPECT_NEAR(r.labL, 78.60f, 0.005f);
  EXPECT_NEAR(r.labA, 109.42f, 0.005f);
  EXPECT_NEAR(r.labB, 93.80f, 0.005f);
  CLamina::LABTRIPLEtag b = img.fnIMG_RGBToLAB(kBrown, 1);
  EXPECT_EQ(b.labL, 0x1.a9d87ep+6f);
  EXPECT_EQ(b.labA, 0x1.7405ccp+4f);
  EXPECT_EQ(b.labB, 0x1.8716f2p+5f);
  EXPECT_EQ(img.fnIMG_RGBToLAB(kBrown, 3).labA, -0x1.a2fe8cp+6f);
  for (int s = 1; s <= 3; ++s)
    ExpectRgb(img.fnIMG_LABToRGB(img.fnIMG_RGBToLAB(kBrown, s), s), 199, 100, 49);
}

TEST(ColourLab, ScaleThreeGoesOutInPercentAndComesBackOn255) {
  CLamina img;
  const CLamina::LABTRIPLEtag lab =
      img.fnIMG_XYZToLAB(CLamina::XYZTRIPLEtag{40.0f, 50.0f, 60.0f}, 3, 1);
  const CLamina::XYZTRIPLEtag x = img.fnIMG_LABToXYZ(lab, 1, 3);
  EXPECT_NEAR(x.xyzX, 102.0f, 0.001f);
  EXPECT_NEAR(x.xyzY, 127.5f, 0.001f);
  EXPECT_NEAR(x.xyzZ, 153.0f, 0.001f);
  // Limited to 255 before the division of scale 2.
  EXPECT_EQ(img.fnIMG_LABToXYZ(CLamina::LABTRIPLEtag{400.0f, 0.0f, 0.0f}, 1, 2).xyzY, 1.0f);
}

TEST(ColourLuv, WhiteBlackAndLZero) {
  CLamina img;
  CLamina::LUVTRIPLEtag w = img.fnIMG_RGBToLUV(kWhite, 1);
  EXPECT_NEAR(w.luvL, 142.48f, 0.005f);
  EXPECT_NEAR(w.luvU, 5.15f, 0.005f);
  EXPECT_NEAR(w.luvV, 12.20f, 0.005f);
  EXPECT_EQ(w.luvU, 0x1.49756p+2f);
  CLamina::LUVTRIPLEtag k = img.fnIMG_RGBToLUV(kBlack, 1);
  EXPECT_EQ(k.luvL, 0.0f);
  EXPECT_EQ(k.luvU, 0.0f);
  EXPECT_EQ(k.luvV, 0.0f);
  const CLamina::XYZTRIPLEtag z =
      img.fnIMG_LUVToXYZ(CLamina::LUVTRIPLEtag{0.0f, 10.0f, 10.0f}, 1, 1);
  EXPECT_EQ(z.xyzX, 0.0f);
  EXPECT_EQ(z.xyzY, 0.0f);
  EXPECT_EQ(z.xyzZ, 0.0f);
  ExpectRgb(img.fnIMG_LUVToRGB(k, 1), 0, 0, 0);
  CLamina::LUVTRIPLEtag b = img.fnIMG_RGBToLUV(kBrown, 1);
  EXPECT_EQ(b.luvU, 0x1.0c808cp+6f);
  EXPECT_EQ(b.luvV, 0x1.e7fc9cp+5f);
  EXPECT_EQ(img.fnIMG_RGBToLUV(kBrown, 3).luvU, -0x1.4683p+5f);
  for (int s = 1; s <= 3; ++s)
    ExpectRgb(img.fnIMG_LUVToRGB(img.fnIMG_RGBToLUV(kBrown, s), s), 200, 100, 49);
}

TEST(ColourScales, OutOfRangeGivesZerosAndBlack) {
  CLamina img;
  const auto zero = [](const void* p, std::size_t n) {
    static const unsigned char z[16] = {};
    return std::memcmp(p, z, n) == 0;
  };
  for (int s : {0, -1, 4, 6, 1 << 30}) {
    CLamina::CMYKQUADtag k = img.fnIMG_RGBToCMYK(kBrown, s == 4 ? 3 : s);
    EXPECT_TRUE(zero(&k, sizeof k));
    CLamina::HSITRIPLEtag h = img.fnIMG_RGBToHSI(kBrown, s);
    EXPECT_TRUE(zero(&h, sizeof h));
    CLamina::LABTRIPLEtag l = img.fnIMG_XYZToLAB(CLamina::XYZTRIPLEtag{1, 1, 1}, 1, s);
    EXPECT_TRUE(zero(&l, sizeof l));
    CLamina::XYZTRIPLEtag x = img.fnIMG_LUVToXYZ(CLamina::LUVTRIPLEtag{50, 1, 1}, s, 1);
    EXPECT_TRUE(zero(&x, sizeof x));
    ExpectRgb(img.fnIMG_HSVToRGB(CLamina::HSVTRIPLEtag{10, 200, 200}, s), 0, 0, 0);
    ExpectRgb(img.fnIMG_LABToRGB(CLamina::LABTRIPLEtag{100, 1, 1}, s), 0, 0, 0);
  }
  CLamina::YUVTRIPLEtag y = img.fnIMG_RGBToYUV(kBrown, 6);
  EXPECT_TRUE(zero(&y, sizeof y));
  CLamina::YIQTRIPLEtag q = img.fnIMG_RGBToYIQ(kBrown, 5);
  EXPECT_TRUE(zero(&q, sizeof q));
  ExpectRgb(img.fnIMG_YCbCrToRGB(CLamina::YCbCrTRIPLEtag{100, 100, 100}, 3), 0, 0, 0);
}

TEST(ColourScales, HostileRecordsAreClampedNotConverted) {
  CLamina img;
  const float big = 3e38f;
  ExpectRgb(img.fnIMG_YUVToRGB(CLamina::YUVTRIPLEtag{big, -big, NAN}, 1), 0, 0, 0);
  ExpectRgb(img.fnIMG_YUVToRGB(CLamina::YUVTRIPLEtag{big, 128, 128}, 1), 255, 255, 255);
  ExpectRgb(img.fnIMG_YIQToRGB(CLamina::YIQTRIPLEtag{big, 0, 0}, 1), 255, 255, 255);
  ExpectRgb(img.fnIMG_CMYKToRGB(CLamina::CMYKQUADtag{NAN, -big, 0, 0}, 2), 0, 255, 255);
  ExpectRgb(img.fnIMG_XYZToRGB(CLamina::XYZTRIPLEtag{INFINITY, 0, 0}, 1), 255, 0, 255);
}

}  // namespace

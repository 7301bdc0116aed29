// Single-colour conversions: stated edge values, exact bits of typical colours (so a change of
// precision anywhere shows), round trips, and the records given for scales out of range.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "CLamina.h"

namespace {

using C = CLamina;
using F = std::vector<float>;

RGBQUAD Rgb(int r, int g, int b) { return RGBQUAD{BYTE(b), BYTE(g), BYTE(r), 0}; }

// The floats of a record in order, so that a whole record is one exact comparison.
template <class T>
F Of(const T& t) {
  F v(sizeof t / sizeof(float));
  std::memcpy(v.data(), &t, sizeof t);
  return v;
}

// Every byte zero: a -0.0f is not the record of zeros.
template <class T>
bool Zero(const T& t) {
  static const unsigned char z[sizeof(T)] = {};
  return std::memcmp(&t, z, sizeof(T)) == 0;
}

void ExpectRgb(RGBQUAD c, int r, int g, int b) {
  EXPECT_EQ((std::vector<int>{c.rgbRed, c.rgbGreen, c.rgbBlue, c.rgbReserved}),
            (std::vector<int>{r, g, b, 0}));
}

const RGBQUAD kBlack = Rgb(0, 0, 0), kWhite = Rgb(255, 255, 255), kRed = Rgb(255, 0, 0),
              kBlue = Rgb(0, 0, 255), kGray = Rgb(128, 128, 128), kBrown = Rgb(200, 100, 50);

// One exact pin per model and direction (so a change of precision anywhere shows), plus the
// special cases: black, white, gray's undefined hue, hues off the circle, not-a-number.

TEST(ColourCmyk, BlackKeepsItsInkAndARoundTripDarkens) {
  C img;
  EXPECT_EQ(Of(img.fnIMG_RGBToCMYK(kBlack, 1)), (F{0, 0, 0, 255}));
  EXPECT_EQ(Of(img.fnIMG_RGBToCMYK(kWhite, 2)), (F{0, 0, 0, 0}));
  C::CMYKQUADtag k = img.fnIMG_RGBToCMYK(kBrown, 2);
  EXPECT_EQ(k.cmykYellow, 0x1.9b9b9cp-1f);
  EXPECT_EQ(k.cmykBlack, k.cmykCyan);
  ExpectRgb(img.fnIMG_CMYKToRGB(k, 2), 156, 78, 39);
}

TEST(ColourHsi, GrayHasHueZeroAndHuesOffTheCircleWrap) {
  C img;
  EXPECT_EQ(Of(img.fnIMG_RGBToHSI(kGray, 1)), (F{0, 0, 128}));
  // The third is stored as float before / 255.
  EXPECT_EQ(Of(img.fnIMG_RGBToHSI(kBrown, 1)), (F{0x1.b11544p+3f, 0x1.236db6p+7f, 0x1.d2aaaap+6f}));
  for (int s = 1; s <= 3; ++s)  // every scale's way back
    ExpectRgb(img.fnIMG_HSIToRGB(img.fnIMG_RGBToHSI(kBrown, s), s), 200, 100, 50);
  // 255 / 40.584511f lands just past 2 pi: wrapped, it is red like hue 0.
  ExpectRgb(img.fnIMG_HSIToRGB(C::HSITRIPLEtag{255.0f, 255.0f, 85.0f}, 1), 255, 0, 0);
  ExpectRgb(img.fnIMG_HSIToRGB(C::HSITRIPLEtag{-255.0f, 255.0f, 85.0f}, 1), 255, 0, 0);
  ExpectRgb(img.fnIMG_HSIToRGB(C::HSITRIPLEtag{NAN, 1.0f, NAN}, 2), 0, 0, 0);
}

TEST(ColourHsv, BlackHasTheLastHueStep) {
  C img;
  EXPECT_EQ(img.fnIMG_RGBToHSV(kBlack, 1).hsvHue, 254.0f);
  EXPECT_EQ(img.fnIMG_RGBToHSV(kBlack, 2).hsvHue, 359.0f);
  EXPECT_EQ(img.fnIMG_RGBToHSV(kBrown, 1).hsvHue, 0x1.c55556p+3f);
  ExpectRgb(img.fnIMG_HSVToRGB(C::HSVTRIPLEtag{300.0f, 1.0f, 0.5f}, 2), 128, 0, 128);
  ExpectRgb(img.fnIMG_HSVToRGB(C::HSVTRIPLEtag{360.0f, 1.0f, 1.0f}, 2), 255, 0, 255);
  for (int s = 1; s <= 3; ++s)
    ExpectRgb(img.fnIMG_HSVToRGB(img.fnIMG_RGBToHSV(kBrown, s), s), 200, 100, 50);
}

TEST(ColourHsl, UndefinedHueIs170) {
  C img;
  EXPECT_EQ(Of(img.fnIMG_RGBToHSL(kGray, 1)), (F{170, 0, 128.5f}));  // 257 * 255 / 510
  C::HSLTRIPLEtag b = img.fnIMG_RGBToHSL(kBrown, 1);
  EXPECT_EQ(Of(b), (F{15, 153.5f, 125.5f}));
  EXPECT_EQ(img.fnIMG_RGBToHSL(kBrown, 2).hslSaturation, 0x1.343436p-1f);
  ExpectRgb(img.fnIMG_HSLToRGB(b, 1), 201, 103, 49);  // the hue has 255 steps
}

TEST(ColourYiq, ScaleOneInDouble) {
  C img;
  C::YIQTRIPLEtag y = img.fnIMG_RGBToYIQ(kBrown, 1);
  EXPECT_EQ(Of(y), (F{0x1.f0e148p+6f, 0x1.975ebap+7f, 0x1.0afaep+7f}));
  // I * 255 + 128 is formed in double: in float this green gives 0x1.9c30f4p+6.
  EXPECT_EQ(img.fnIMG_RGBToYIQ(Rgb(0, 91, 0), 1).yiqI, 0x1.9c30f2p+6f);
  ExpectRgb(img.fnIMG_YIQToRGB(y, 1), 199, 100, 50);
  // Scale 2 does not take its offsets back.
  ExpectRgb(img.fnIMG_YIQToRGB(img.fnIMG_RGBToYIQ(kBrown, 2), 2), 178, 117, 14);
  ExpectRgb(img.fnIMG_YIQToRGB(img.fnIMG_RGBToYIQ(kBrown, 4), 4), 199, 100, 50);
}

TEST(ColourYuv, WholeNumbersAtScaleOne) {
  C img;
  EXPECT_EQ(Of(img.fnIMG_RGBToYUV(kBrown, 1)), (F{124, 86, 182}));
  EXPECT_EQ(img.fnIMG_RGBToYUV(kBrown, 4).yuvU, -0x1.22a3aap-3f);
  for (int s = 1; s <= 5; ++s)
    ExpectRgb(img.fnIMG_YUVToRGB(img.fnIMG_RGBToYUV(kBrown, s), s), 199, 99, 49);
}

TEST(ColourYcbcr, WhiteComesBackAHairShort) {
  C img;
  C::YCbCrTRIPLEtag w = img.fnIMG_RGBToYCbCr(kWhite, 2);
  EXPECT_EQ(w.ycbcrY, 0x1.d6170ap+7f);
  EXPECT_EQ(img.fnIMG_RGBToYCbCr(kBrown, 1).ycbcrCr, 0x1.6b0892p+7f);
  ExpectRgb(img.fnIMG_YCbCrToRGB(w, 2), 254, 254, 254);
}

TEST(ColourXyz, WhiteComesBackWithBlue254) {
  C img;
  C::XYZTRIPLEtag w = img.fnIMG_RGBToXYZ(kWhite, 2);
  EXPECT_EQ(w.xyzZ, 0x1.00002ep+0f);
  ExpectRgb(img.fnIMG_XYZToRGB(w, 2), 255, 255, 254);
  EXPECT_EQ(img.fnIMG_RGBToXYZ(kBrown, 1).xyzX, 0x1.fd143ap+6f);
  for (int s = 1; s <= 3; ++s)
    ExpectRgb(img.fnIMG_XYZToRGB(img.fnIMG_RGBToXYZ(kBrown, s), s), 199, 100, 49);
}

TEST(ColourLab, TheLibraryScaleOfLStar) {
  C img;
  EXPECT_EQ(img.fnIMG_RGBToLAB(kWhite, 1).labL, 0x1.1cf53p+7f);  // 142.48
  EXPECT_EQ(Of(img.fnIMG_RGBToLAB(kBrown, 1)), (F{0x1.a9d87ep+6f, 0x1.7405ccp+4f, 0x1.8716f2p+5f}));
  for (int s = 1; s <= 3; ++s)
    ExpectRgb(img.fnIMG_LABToRGB(img.fnIMG_RGBToLAB(kBrown, s), s), 199, 100, 49);
  // Scale 3 goes out in percent and comes back on 255.
  const C::XYZTRIPLEtag x =
      img.fnIMG_LABToXYZ(img.fnIMG_XYZToLAB(C::XYZTRIPLEtag{40.0f, 50.0f, 60.0f}, 3, 1), 1, 3);
  EXPECT_NEAR(x.xyzY, 127.5f, 0.001f);
  // Limited to 255 before the division of scale 2.
  EXPECT_EQ(img.fnIMG_LABToXYZ(C::LABTRIPLEtag{400.0f, 0.0f, 0.0f}, 1, 2).xyzY, 1.0f);
}

TEST(ColourLuv, BlackAndLZeroGiveZeros) {
  C img;
  EXPECT_EQ(img.fnIMG_RGBToLUV(kWhite, 1).luvU, 0x1.49756p+2f);
  EXPECT_EQ(Of(img.fnIMG_RGBToLUV(kBlack, 1)), (F{0, 0, 0}));
  EXPECT_EQ(Of(img.fnIMG_LUVToXYZ(C::LUVTRIPLEtag{0.0f, 10.0f, 10.0f}, 1, 1)), (F{0, 0, 0}));
  EXPECT_EQ(img.fnIMG_RGBToLUV(kBrown, 3).luvU, -0x1.4683p+5f);
  for (int s = 1; s <= 3; ++s)
    ExpectRgb(img.fnIMG_LUVToRGB(img.fnIMG_RGBToLUV(kBrown, s), s), 200, 100, 49);
}

TEST(ColourScales, OutOfRangeGivesZerosAndBlack) {
  C img;
  for (int s : {0, -1, 4, 6, 1 << 30}) {
    EXPECT_TRUE(Zero(img.fnIMG_RGBToCMYK(kBrown, s == 4 ? 3 : s))) << s;
    EXPECT_TRUE(Zero(img.fnIMG_RGBToHSI(kBrown, s))) << s;
    EXPECT_TRUE(Zero(img.fnIMG_XYZToLAB(C::XYZTRIPLEtag{1, 1, 1}, 1, s))) << s;
    EXPECT_TRUE(Zero(img.fnIMG_LUVToXYZ(C::LUVTRIPLEtag{50, 1, 1}, s, 1))) << s;
    ExpectRgb(img.fnIMG_HSVToRGB(C::HSVTRIPLEtag{10, 200, 200}, s), 0, 0, 0);
    ExpectRgb(img.fnIMG_LABToRGB(C::LABTRIPLEtag{100, 1, 1}, s), 0, 0, 0);
  }
  EXPECT_TRUE(Zero(img.fnIMG_RGBToYUV(kBrown, 6)));
  EXPECT_TRUE(Zero(img.fnIMG_RGBToYIQ(kBrown, 5)));
  ExpectRgb(img.fnIMG_YCbCrToRGB(C::YCbCrTRIPLEtag{100, 100, 100}, 3), 0, 0, 0);
}

TEST(ColourScales, HostileRecordsAreClampedNotConverted) {
  C img;
  const float big = 3e38f;
  ExpectRgb(img.fnIMG_YUVToRGB(C::YUVTRIPLEtag{big, -big, NAN}, 1), 0, 0, 0);
  ExpectRgb(img.fnIMG_YUVToRGB(C::YUVTRIPLEtag{big, 128, 128}, 1), 255, 255, 255);
  ExpectRgb(img.fnIMG_YIQToRGB(C::YIQTRIPLEtag{big, 0, 0}, 1), 255, 255, 255);
  ExpectRgb(img.fnIMG_CMYKToRGB(C::CMYKQUADtag{NAN, -big, 0, 0}, 2), 0, 255, 255);
  ExpectRgb(img.fnIMG_XYZToRGB(C::XYZTRIPLEtag{INFINITY, 0, 0}, 1), 255, 0, 255);
}

}  // namespace

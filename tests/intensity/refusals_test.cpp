// The point, threshold, contrast, noise, bit-plane and linear operations refuse with one code per
// cause, in the order each checks them, and leave the image byte for byte as it was.
#include <algorithm>
#include <cmath>
#include <functional>

#include "support/pictures.h"

namespace {

using namespace lamina_test;
using Op = std::function<int(CLamina&)>;

struct Refusal {
  const char* what;
  int bpp;  // 16: an 8-bit image whose header says 16, as a 16-bit file loads
  Op op;
  int code;
};
void PrintTo(const Refusal& r, std::ostream* os) { *os << r.what; }

const CLamina::CualesRGB kGray{1, 0, 0, 0};
// FindThreshold's code, or 99 when it wrote its second result anyway.
Op Find(int method) {
  return [method](CLamina& i) {
    int second = 5;
    const int code = i.fnIMG_FindThreshold(method, &second);
    return second == 5 ? code : 99;
  };
}
Op Noise(int a, int b, int c, int d, int e, int f, int g) {
  return [=](CLamina& i) { return i.fnIMG_AddNoise(a, b, c, d, e, f, g); };
}
Op Linear(int a, int b, int c, int d) {
  return [=](CLamina& i) { return i.fnIMG_GrayScaleLinealTransform(a, b, c, d, kGray); };
}
Op Contrast(int model, int curve, float k) {
  return [=](CLamina& i) { return i.fnIMG_NonLinearContrast(model, curve, k); };
}

const Refusal kRefusals[] = {
    {"balance: percentage before depth", 1, [](CLamina& i) { return i.fnIMG_Balance(0, 101, 0); },
     1},
    {"balance: depth", 1, [](CLamina& i) { return i.fnIMG_Balance(0, 0, 0); }, 2},
    {"brightness: depth", 1, [](CLamina& i) { return i.fnIMG_Brightness(10); }, 2},
    {"gamma below 0", 8, [](CLamina& i) { return i.fnIMG_Gamma(-0.5f); }, 1},
    {"gamma not a number", 8, [](CLamina& i) { return i.fnIMG_Gamma(NAN); }, 1},
    {"gamma: depth", 1, [](CLamina& i) { return i.fnIMG_Gamma(1.0f); }, 2},
    {"gray levels: n", 24, [](CLamina& i) { return i.fnIMG_ChangeGrayLevelsNumber(129); }, 1},
    {"gray levels: depth", 4, [](CLamina& i) { return i.fnIMG_ChangeGrayLevelsNumber(4); }, 2},
    {"gray levels: not gray", 24, [](CLamina& i) { return i.fnIMG_ChangeGrayLevelsNumber(4); }, 3},
    {"negative: depth", 16, [](CLamina& i) { return i.fnIMG_Negative(); }, 1},
    {"slicing: depth", 1, [](CLamina& i) { return i.fnIMG_GrayLevelSlicing(5, -1, 300, 1, 0); }, 1},
    {"slicing: mode", 4, [](CLamina& i) { return i.fnIMG_GrayLevelSlicing(2, 0, 16, 1, 0); }, 2},
    {"slicing: band", 4, [](CLamina& i) { return i.fnIMG_GrayLevelSlicing(0, 0, 16, 1, 0); }, 3},
    {"slicing: inside", 4, [](CLamina& i) { return i.fnIMG_GrayLevelSlicing(0, 0, 15, 16, 0); }, 4},
    {"slicing: outside", 4, [](CLamina& i) { return i.fnIMG_GrayLevelSlicing(0, 0, 15, 1, -1); },
     5},
    {"find threshold: depth", 1, Find(0), -1},
    {"find threshold: method", 8, Find(3), -2},
    {"thresholding: t before depth", 1, [](CLamina& i) { return i.fnIMG_Thresholding(2, 0, 0); },
     1},
    {"thresholding: depth", 1, [](CLamina& i) { return i.fnIMG_Thresholding(1, 0, 0); }, 2},
    {"thresholding: t", 4, [](CLamina& i) { return i.fnIMG_Thresholding(16, 0, 15); }, 1},
    {"thresholding: colours", 4, [](CLamina& i) { return i.fnIMG_Thresholding(8, 0, 16); }, 3},
    {"adaptive: depth first", 24,
     [](CLamina& i) { return i.fnIMG_AdaptiveLocalThresholding(0, 0, -1, 9); }, 2},
    {"adaptive: block", 8,
     [](CLamina& i) { return i.fnIMG_AdaptiveLocalThresholding(3, 1, -1, 9); }, 1},
    {"adaptive: output", 8,
     [](CLamina& i) { return i.fnIMG_AdaptiveLocalThresholding(1, 1, -1, 4); }, 3},
    {"contrast: depth first", 1, Contrast(11, 9, 2.0f), 1},
    {"contrast: k before curve", 8, Contrast(11, 9, 1.5f), 2},
    {"contrast: k not a number", 8, Contrast(0, 0, NAN), 2},
    {"contrast: curve before model", 8, Contrast(11, 7, 0.5f), 3},
    {"contrast: model", 8, Contrast(11, 0, 0.5f), 4},
    {"noise: depth", 16, Noise(5, 5, 5, 5, 5, 5, 5), 1},
    {"noise: selection", 8, Noise(2, 9, 5, 5, 0, 0, 0), 2},
    {"noise: scope", 8, Noise(0, -1, 5, 5, 0, 0, 0), 3},
    {"noise: empty range", 8, Noise(0, 0, 5, 5, 0, 0, 0), 4},
    {"noise: range", 8, Noise(0, 0, -5, 256, 0, 0, 0), 4},
    {"noise: range at 4 bits", 4, Noise(0, 0, 0, 16, 1, 1, 1), 4},
    {"noise: band below the levels", 8, Noise(0, 0, -5, 5, 9, 40, 0), 5},
    {"noise: band above the levels", 8, Noise(0, 0, -5, 5, 10, 41, 0), 5},
    {"noise: count", 8, Noise(0, 0, -5, 5, 10, 40, 0), 6},
    {"noise: count of a band", 8, Noise(0, 1, -5, 5, 10, 40, 5), 6},
    {"linear: depth", 1, Linear(5, 4, 3, 2), 1},
    {"linear: a above b", 8, Linear(5, 4, 9, 1), 2},
    {"linear: c above d", 8, Linear(4, 5, 9, 1), 3},
    {"linear: b above the top", 8, Linear(0, 256, 0, 255), 4},
    {"linear: a below 0", 8, Linear(-1, 5, 0, 255), 4},
    {"linear: c below 0", 8, Linear(0, 5, -1, 255), 4},
    {"linear: b above the top at 4 bits", 4, Linear(0, 17, 0, 15), 4},
    {"bit plane above the depth", 8, [](CLamina& i) { return i.fnIMG_BitPlane(8); }, 1},
    {"bit plane below 0", 8, [](CLamina& i) { return i.fnIMG_BitPlane(-1); }, 1},
    {"bit plane above 24 bits", 24, [](CLamina& i) { return i.fnIMG_BitPlane(24); }, 1},
    {"bit plane of 16 bits", 16, [](CLamina& i) { return i.fnIMG_BitPlane(15); }, 0},
    {"bit plane above 16 bits", 16, [](CLamina& i) { return i.fnIMG_BitPlane(16); }, 1},
    {"erasing every plane of 16 bits", 16,
     [](CLamina& i) {
       CLamina::CualesPlanosBits all;
       std::fill_n(reinterpret_cast<int*>(&all), sizeof all / sizeof(int), 1);
       return i.fnIMG_BitPlaneErase(all);
     },
     0},
};

class IntensityRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(IntensityRefusal, GivesItsCodeAndChangesNothing) {
  const Refusal& r = GetParam();
  const Rows rows = r.bpp == 1    ? Rows{{1, 0}}
                    : r.bpp == 4  ? Rows{{1, 2}, {3, 4}}
                    : r.bpp == 24 ? Rows{{Rgb(1, 2, 3), Rgb(9, 9, 9)}}
                                  : Rows{{10, 20}, {30, 40}};
  CLamina img = Marked(r.bpp == 16 ? 8 : r.bpp, rows);
  if (r.bpp == 16) img.fnIMG_GetPointers().lpbmih->biBitCount = 16;
  const Snapshot before = Snap(img);
  EXPECT_EQ(r.op(img), r.code);
  EXPECT_EQ(Snap(img), before);
}

INSTANTIATE_TEST_SUITE_P(Codes, IntensityRefusal, ::testing::ValuesIn(kRefusals), CaseName());

}  // namespace

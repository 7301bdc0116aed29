// Depth conversion, colour to gray, histograms, point operations, thresholds, bit planes, noise
// and averages.
#include <cstring>

#include "ops.h"

namespace lamina {
namespace registry {
namespace {

const char* const kConvert = "Depth and gray";
const char* const kIntensity = "Histograms and point operations";

CLamina::CualesRGB Channels(const Value& v) {
  return CLamina::CualesRGB{v.cells[0], v.cells[1], v.cells[2], v.cells[3]};
}

void Mean(Call& c, int value, const RGBQUAD& mean) {
  if (value < 0) {
    c.Sentinel(value);
    return;
  }
  c.Number("mean index", value);
  c.Colour("mean colour", mean);
}

}  // namespace

void AddIntensityOperations(std::vector<Operation>& ops) {
  const char* code = "a result code";
  const Arg model = I("model",
                      "0 the levels; 1 CMYK, 2 HSI, 3 HSV, 4 HSL, 5 YIQ, 6 YUV, "
                      "7 YCbCr, 8 XYZ, 9 L*a*b*, 10 L*u*v*");

  ops.push_back({"ChangeColorDepth",
                 "fnIMG_ChangeColorDepth",
                 "int depthIndex",
                 kConvert,
                 {I("depthIndex", "0 for 1 bit, 1 for 4, 2 for 8, 3 for 24, 4 for 32")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(change_color_depth),
                 "ChangeColorDepth 0",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_ChangeColorDepth(c.Int(0))); }});
  ops.push_back({"ColorToGray",
                 "fnIMG_ColorToGray",
                 "int method",
                 kConvert,
                 {I("method", "0 weighted 0.299, 0.587, 0.114; 1 the plain mean")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(color_to_gray),
                 "ColorToGray 0",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_ColorToGray(c.Int(0))); }});

  ops.push_back({"GetHistogram",
                 "fnIMG_GetHistogram",
                 "int* table, int maxHeight",
                 kIntensity,
                 {I("maxHeight", "scale every column to this height; 0 keeps raw counts")},
                 Returns::kMeasures,
                 "a result code and four columns of 256 counts (I, R, G, B)",
                 LAMINA_CODES(histogram),
                 "GetHistogram 100",
                 nullptr,
                 [](Call& c) {
                   int table[1024];
                   c.Code(c.image.fnIMG_GetHistogram(table, c.Int(0)));
                   if (c.outcome.failed) return;
                   static const char* const kColumns[] = {"I", "R", "G", "B"};
                   for (int col = 0; col < 4; ++col) {
                     std::vector<double> counts(256);
                     for (int k = 0; k < 256; ++k) counts[k] = table[4 * k + col];
                     c.Numbers(kColumns[col], counts, true);
                   }
                 }});
  ops.push_back({"GetInfoHistogram",
                 "fnIMG_GetInfoHistogram",
                 "CLamina::InformacionHistograma* info",
                 kIntensity,
                 {},
                 Returns::kMeasures,
                 "a result code and the lowest, highest and most frequent level of each column",
                 LAMINA_CODES(histogram),
                 "GetInfoHistogram",
                 nullptr,
                 [](Call& c) {
                   CLamina::InformacionHistograma h{};
                   c.Code(c.image.fnIMG_GetInfoHistogram(&h));
                   if (c.outcome.failed) return;
                   const int* f = &h.nMinI;
                   static const char* const kNames[] = {
                       "nMinI",  "nFrecMinI",  "nMinR",  "nFrecMinR",  "nMinG",  "nFrecMinG",
                       "nMinB",  "nFrecMinB",  "nMaxI",  "nFrecMaxI",  "nMaxR",  "nFrecMaxR",
                       "nMaxG",  "nFrecMaxG",  "nMaxB",  "nFrecMaxB",  "nModaI", "nFrecModaI",
                       "nModaR", "nFrecModaR", "nModaG", "nFrecModaG", "nModaB", "nFrecModaB"};
                   for (int i = 0; i < 24; ++i) c.Number(kNames[i], f[i]);
                 }});
  ops.push_back({"EqualizeHistogram",
                 "fnIMG_EqualizeHistogram",
                 "int model, int rounding",
                 kIntensity,
                 {model, I("rounding", "model 0: 0 nearest, 1 down, 2 up; ignored otherwise")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(equalize_histogram),
                 "EqualizeHistogram 3 0",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_EqualizeHistogram(c.Int(0), c.Int(1))); }});
  ops.push_back({"GrayScaleLinealTransform",
                 "fnIMG_GrayScaleLinealTransform",
                 "int a, int b, int c, int d, CLamina::CualesRGB channels",
                 kIntensity,
                 {I("a", "the input band's low end, 0 or more"), I("b", "its high end, a to top"),
                  I("c", "the output band's low end, 0 or more"), I("d", "its high end, c to top"),
                  A("channels", Kind::kChannels, "what is transformed")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(gray_scale_lineal_transform),
                 "GrayScaleLinealTransform 64 192 0 255 red,green,blue",
                 nullptr,
                 [](Call& c) {
                   c.Code(c.image.fnIMG_GrayScaleLinealTransform(c.Int(0), c.Int(1), c.Int(2),
                                                                 c.Int(3), Channels(c.args[4])));
                 }});
  ops.push_back(
      {"NonLinearContrast",
       "fnIMG_NonLinearContrast",
       "int model, int curve, float k",
       kIntensity,
       {model,
        I("curve",
          "0 square, 1 cube, 2 square root, 3 cube root, 4 logarithm, "
          "5 sine S-curve, 6 tangent S-curve"),
        A("k", Kind::kFloat, "the S-curves' steepness, 0 to 1")},
       Returns::kCode,
       code,
       LAMINA_CODES(non_linear_contrast),
       "NonLinearContrast 0 5 0.8",
       nullptr,
       [](Call& c) { c.Code(c.image.fnIMG_NonLinearContrast(c.Int(0), c.Int(1), c.Float(2))); }});
  ops.push_back({"Balance",
                 "fnIMG_Balance",
                 "int red, int green, int blue",
                 kIntensity,
                 {I("red", "percent, -100 to 100"), I("green", "percent, -100 to 100"),
                  I("blue", "percent, -100 to 100")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(balance),
                 "Balance 30 0 -30",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Balance(c.Int(0), c.Int(1), c.Int(2))); }});
  ops.push_back({"Brightness",
                 "fnIMG_Brightness",
                 "int percent",
                 kIntensity,
                 {I("percent", "-100 to 100")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(balance),
                 "Brightness 30",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Brightness(c.Int(0))); }});
  ops.push_back({"Gamma",
                 "fnIMG_Gamma",
                 "float gamma",
                 kIntensity,
                 {A("gamma", Kind::kFloat, "0 or more; 1 changes nothing")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(gamma),
                 "Gamma 2.2",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Gamma(c.Float(0))); }});
  ops.push_back({"ChangeGrayLevelsNumber",
                 "fnIMG_ChangeGrayLevelsNumber",
                 "int levels",
                 kIntensity,
                 {I("levels", "2 to 128")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(change_gray_levels_number),
                 "ColorToGray 0 ChangeGrayLevelsNumber 4",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_ChangeGrayLevelsNumber(c.Int(0))); }});
  ops.push_back({"Negative",
                 "fnIMG_Negative",
                 "",
                 kIntensity,
                 {},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(negative),
                 "Negative",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Negative()); }});
  ops.push_back({"Negative",
                 "fnIMG_Negative",
                 "CLamina::CualesRGB channels",
                 kIntensity,
                 {A("channels", Kind::kChannels, "the levels to invert")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(negative),
                 "Negative red",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Negative(Channels(c.args[0]))); }});
  ops.push_back(
      {"GrayLevelSlicing",
       "fnIMG_GrayLevelSlicing",
       "int mode, int low, int high, int inside, int outside",
       kIntensity,
       {I("mode", "0 also set the levels outside the band, 1 leave them"),
        I("low", "the band's low end"), I("high", "the band's high end, below 16 or 256"),
        I("inside", "the value of levels in the band"),
        I("outside", "the value of the others (mode 0)")},
       Returns::kCode,
       code,
       LAMINA_CODES(gray_level_slicing),
       "GrayLevelSlicing 1 100 180 255 0",
       nullptr,
       [](Call& c) {
         c.Code(c.image.fnIMG_GrayLevelSlicing(c.Int(0), c.Int(1), c.Int(2), c.Int(3), c.Int(4)));
       }});
  ops.push_back({"FindThreshold",
                 "fnIMG_FindThreshold",
                 "int method, int* second",
                 kIntensity,
                 {I("method", "0 the mean, 1 iterated means, 2 the valley between two peaks")},
                 Returns::kValue,
                 "the threshold, and the passes (method 1) or the second peak (method 2)",
                 LAMINA_CODES(find_threshold),
                 "FindThreshold 1",
                 nullptr,
                 [](Call& c) {
                   int second = 0;
                   const int t = c.image.fnIMG_FindThreshold(c.Int(0), &second);
                   if (t < 0) {
                     c.Sentinel(t);
                     return;
                   }
                   c.Number("threshold", t);
                   if (c.Int(0) == 1) c.Number("passes", second);
                   if (c.Int(0) == 2) c.Number("second peak", second);
                 }});
  ops.push_back(
      {"Thresholding",
       "fnIMG_Thresholding",
       "unsigned char threshold, unsigned char below, unsigned char above",
       kIntensity,
       {A("threshold", Kind::kUChar, "the first level that becomes above"),
        A("below", Kind::kUChar, "the value of lower levels"),
        A("above", Kind::kUChar, "the value of the others")},
       Returns::kCode,
       code,
       LAMINA_CODES(thresholding),
       "Thresholding 128 0 255",
       nullptr,
       [](Call& c) { c.Code(c.image.fnIMG_Thresholding(c.UChar(0), c.UChar(1), c.UChar(2))); }});
  ops.push_back(
      {"AdaptiveLocalThresholding",
       "fnIMG_AdaptiveLocalThresholding",
       "int blockHeight, int blockWidth, int threshold, int output",
       kIntensity,
       {I("blockHeight", "1 to the height"), I("blockWidth", "1 to the width"),
        I("threshold", "-1 block mean, -2 block maximum, -3 image maximum, else a fixed level"),
        I("output", "0 block min/max, 1 0/block max, 2 image min/max, 3 0/255")},
       Returns::kCode,
       code,
       LAMINA_CODES(adaptive_local_thresholding),
       "ColorToGray 0 ChangeColorDepth 2 AdaptiveLocalThresholding 32 32 -1 3",
       nullptr,
       [](Call& c) {
         c.Code(c.image.fnIMG_AdaptiveLocalThresholding(c.Int(0), c.Int(1), c.Int(2), c.Int(3)));
       }});
  ops.push_back({"BitPlane",
                 "fnIMG_BitPlane",
                 "int plane",
                 kIntensity,
                 {I("plane", "0 to the depth's top plane (23 at 24 and 32 bits)")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(bit_plane),
                 "BitPlane 22",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_BitPlane(c.Int(0))); }});
  ops.push_back({"BitPlaneErase",
                 "fnIMG_BitPlaneErase",
                 "CLamina::CualesPlanosBits planes",
                 kIntensity,
                 {A("planes", Kind::kPlanes, "the planes to clear")},
                 Returns::kCode,
                 code,
                 CodeTable{},
                 "BitPlaneErase 0-5,8-13,16-21",
                 nullptr,
                 [](Call& c) {
                   CLamina::CualesPlanosBits planes{};
                   static_assert(sizeof planes == 24 * sizeof(int), "24 flags in order");
                   std::memcpy(&planes, c.args[0].cells.data(), sizeof planes);
                   c.Code(c.image.fnIMG_BitPlaneErase(planes));
                 }});
  ops.push_back(
      {"AddNoise",
       "fnIMG_AddNoise",
       "int selection, int scope, int low, int high, int bandLow, int bandHigh, int count",
       kIntensity,
       {I("selection", "0 every level, 1 the band only"),
        I("scope", "0 count random pixels, 1 every pixel"), I("low", "the noise's low end"),
        I("high", "the noise's high end"), I("bandLow", "the band's low end, a level present"),
        I("bandHigh", "the band's high end, a level present"),
        I("count", "draws with scope 0, 1 to width x height")},
       Returns::kCode,
       code,
       LAMINA_CODES(add_noise),
       "SetPixel 0 0 #000000 SetPixel 1 0 #ffffff AddNoise 0 0 -80 80 0 255 20000",
       nullptr,
       [](Call& c) {
         c.Code(c.image.fnIMG_AddNoise(c.Int(0), c.Int(1), c.Int(2), c.Int(3), c.Int(4), c.Int(5),
                                       c.Int(6)));
       }});
  ops.push_back({"AverageRow",
                 "fnIMG_AverageRow",
                 "int y, RGBQUAD* mean",
                 kIntensity,
                 {I("y", "the row, 0 at the top")},
                 Returns::kValue,
                 "the mean index and the mean colour",
                 LAMINA_CODES(average),
                 "AverageRow 96",
                 nullptr,
                 [](Call& c) {
                   RGBQUAD mean{};
                   const int v = c.image.fnIMG_AverageRow(c.Int(0), &mean);
                   Mean(c, v, mean);
                 }});
  ops.push_back({"AverageColumn",
                 "fnIMG_AverageColumn",
                 "int x, RGBQUAD* mean",
                 kIntensity,
                 {I("x", "the column, 0 at the left")},
                 Returns::kValue,
                 "the mean index and the mean colour",
                 LAMINA_CODES(average),
                 "AverageColumn 128",
                 nullptr,
                 [](Call& c) {
                   RGBQUAD mean{};
                   const int v = c.image.fnIMG_AverageColumn(c.Int(0), &mean);
                   Mean(c, v, mean);
                 }});
  ops.push_back({"AverageImg",
                 "fnIMG_AverageImg",
                 "RGBQUAD* mean",
                 kIntensity,
                 {},
                 Returns::kValue,
                 "the mean value and the mean colour",
                 LAMINA_CODES(average),
                 "AverageImg",
                 nullptr,
                 [](Call& c) {
                   RGBQUAD mean{};
                   const int v = c.image.fnIMG_AverageImg(&mean);
                   if (v < 0) {
                     c.Sentinel(v);
                     return;
                   }
                   c.Number("mean value", v);
                   c.Colour("mean colour", mean);
                 }});
}

}  // namespace registry
}  // namespace lamina

// Colour-model conversions of single colours (printed as records or colours) and the channel
// split, whose outputs are written as image files.
#include <cstring>

#include "ops.h"

namespace lamina {
namespace registry {
namespace {

const char* const kColour = "Colour models";

template <typename R>
struct Fields;
#define LAMINA_FIELDS(Record, ...)                         \
  template <>                                              \
  struct Fields<CLamina::Record> {                         \
    static constexpr const char* kNames[] = {__VA_ARGS__}; \
  };
LAMINA_FIELDS(CMYKQUADtag, "cmykCyan", "cmykMagenta", "cmykYellow", "cmykBlack")
LAMINA_FIELDS(HSITRIPLEtag, "hsiHue", "hsiSaturation", "hsiIntensity")
LAMINA_FIELDS(HSVTRIPLEtag, "hsvHue", "hsvSaturation", "hsvValue")
LAMINA_FIELDS(HSLTRIPLEtag, "hslHue", "hslSaturation", "hslLightness")
LAMINA_FIELDS(YIQTRIPLEtag, "yiqY", "yiqI", "yiqQ")
LAMINA_FIELDS(YUVTRIPLEtag, "yuvY", "yuvU", "yuvV")
LAMINA_FIELDS(YCbCrTRIPLEtag, "ycbcrY", "ycbcrCb", "ycbcrCr")
LAMINA_FIELDS(XYZTRIPLEtag, "xyzX", "xyzY", "xyzZ")
LAMINA_FIELDS(LABTRIPLEtag, "labL", "labA", "labB")
LAMINA_FIELDS(LUVTRIPLEtag, "luvL", "luvU", "luvV")
#undef LAMINA_FIELDS

// Every record is three or four floats in a row.
template <typename R>
void Print(Call& c, const R& record) {
  constexpr std::size_t n = sizeof(R) / sizeof(float);
  static_assert(n == sizeof(Fields<R>::kNames) / sizeof(const char*), "one name per field");
  float f[n];
  std::memcpy(f, &record, sizeof record);
  for (std::size_t i = 0; i < n; ++i) c.Number(Fields<R>::kNames[i], f[i]);
}

template <typename R>
R Make(const Value& v) {
  float f[sizeof(R) / sizeof(float)];
  for (std::size_t i = 0; i < sizeof(R) / sizeof(float); ++i) f[i] = static_cast<float>(v.reals[i]);
  R record;
  std::memcpy(&record, f, sizeof record);
  return record;
}

template <typename R, R (CLamina::*F)(RGBQUAD, int)>
void FromRGB(Call& c) {
  Print(c, (c.image.*F)(c.args[0].quad, c.Int(1)));
}
template <typename R, RGBQUAD (CLamina::*F)(R, int)>
void ToRGB(Call& c) {
  c.Colour("colour", (c.image.*F)(Make<R>(c.args[0]), c.Int(1)));
}
template <typename From, typename To, To (CLamina::*F)(From, int, int)>
void Between(Call& c) {
  Print(c, (c.image.*F)(Make<From>(c.args[0]), c.Int(1), c.Int(2)));
}

void Split(Call& c) {
  const int w = c.image.fnIMG_GetColumns(), h = c.image.fnIMG_GetRows();
  CLamina out[4] = {CLamina(nullptr, nullptr, w, h, 8), CLamina(nullptr, nullptr, w, h, 8),
                    CLamina(nullptr, nullptr, w, h, 8), CLamina(nullptr, nullptr, w, h, 8)};
  const int model = c.Int(0);
  c.Code(c.image.fnIMG_Split(model, &out[0], &out[1], &out[2], &out[3]));
  if (c.outcome.failed) return;
  const int count = model == 0 || model == 1 ? 4 : 3;
  Measure files{"files", {}, {}, true};
  for (int i = 0; i < count; ++i) {
    std::string path = c.Text(1);
    path.replace(path.find("{}"), 2, std::to_string(i + 1));
    std::string words;
    if (SaveImage(out[i], c.outputs.Stage(path), &words) != 0) {
      c.Refuse("cannot write " + path + ": " + words);
      return;
    }
    files.texts.push_back(path);
  }
  c.outcome.measures.push_back(files);
}

}  // namespace

void AddColourOperations(std::vector<Operation>& ops) {
  using L = CLamina;
  const Arg colour = A("colour", Kind::kQuad, "the colour to convert");
  auto scale = [](const char* range) { return I("scale", range); };
  auto record = [](const char* meaning) { return A("record", Kind::kRecord3, meaning); };
  const char* rgbResult = "the colour (black when the scale is out of range)";
  const char* recordResult = "the record (zeros when the scale is out of range)";
  auto to = [&](const char* name, const char* member, const char* range, RunFunction run,
                const char* gallery, const char* parameters = "RGBQUAD colour, int scale") {
    ops.push_back({name,
                   member,
                   parameters,
                   kColour,
                   {colour, scale(range)},
                   Returns::kValue,
                   recordResult,
                   CodeTable{},
                   gallery,
                   nullptr,
                   run});
  };
  auto from = [&](const char* name, const char* member, const char* parameters, Arg rec,
                  const char* range, RunFunction run, const char* gallery) {
    ops.push_back({name,
                   member,
                   parameters,
                   kColour,
                   {rec, scale(range)},
                   Returns::kValue,
                   rgbResult,
                   CodeTable{},
                   gallery,
                   nullptr,
                   run});
  };

  to("RGBToCMYK", "fnIMG_RGBToCMYK", "1 for 0..255, 2 for 0..1",
     FromRGB<L::CMYKQUADtag, &L::fnIMG_RGBToCMYK>, "RGBToCMYK #ff8000 1");
  from("CMYKToRGB", "fnIMG_CMYKToRGB", "CLamina::CMYKQUADtag cmyk, int scale",
       A("record", Kind::kRecord4, "cyan,magenta,yellow,black"), "1 or 2",
       ToRGB<L::CMYKQUADtag, &L::fnIMG_CMYKToRGB>, "CMYKToRGB 0,127,255,0 1");
  to("RGBToHSI", "fnIMG_RGBToHSI", "1, 2 or 3", FromRGB<L::HSITRIPLEtag, &L::fnIMG_RGBToHSI>,
     "RGBToHSI #ff8000 2");
  from("HSIToRGB", "fnIMG_HSIToRGB", "CLamina::HSITRIPLEtag hsi, int scale",
       record("hue,saturation,intensity"), "1, 2 or 3", ToRGB<L::HSITRIPLEtag, &L::fnIMG_HSIToRGB>,
       "HSIToRGB 30,1,0.5 2");
  to("RGBToHSV", "fnIMG_RGBToHSV", "1, 2 or 3", FromRGB<L::HSVTRIPLEtag, &L::fnIMG_RGBToHSV>,
     "RGBToHSV #ff8000 2");
  from("HSVToRGB", "fnIMG_HSVToRGB", "CLamina::HSVTRIPLEtag hsv, int scale",
       record("hue,saturation,value"), "1, 2 or 3", ToRGB<L::HSVTRIPLEtag, &L::fnIMG_HSVToRGB>,
       "HSVToRGB 200,0.5,1 2");
  to("RGBToHSL", "fnIMG_RGBToHSL", "1, 2 or 3", FromRGB<L::HSLTRIPLEtag, &L::fnIMG_RGBToHSL>,
     "RGBToHSL #ff8000 2");
  from("HSLToRGB", "fnIMG_HSLToRGB", "CLamina::HSLTRIPLEtag hsl, int scale",
       record("hue,saturation,lightness"), "1, 2 or 3", ToRGB<L::HSLTRIPLEtag, &L::fnIMG_HSLToRGB>,
       "HSLToRGB 120,1,0.5 2");
  to("RGBToYIQ", "fnIMG_RGBToYIQ", "1 to 4", FromRGB<L::YIQTRIPLEtag, &L::fnIMG_RGBToYIQ>,
     "RGBToYIQ #ff8000 4");
  from("YIQToRGB", "fnIMG_YIQToRGB", "CLamina::YIQTRIPLEtag yiq, int scale", record("y,i,q"),
       "1 to 4", ToRGB<L::YIQTRIPLEtag, &L::fnIMG_YIQToRGB>, "YIQToRGB 0.6,0.3,-0.1 4");
  to("RGBToYUV", "fnIMG_RGBToYUV", "1 to 5", FromRGB<L::YUVTRIPLEtag, &L::fnIMG_RGBToYUV>,
     "RGBToYUV #ff8000 1");
  from("YUVToRGB", "fnIMG_YUVToRGB", "CLamina::YUVTRIPLEtag yuv, int scale", record("y,u,v"),
       "1 to 5", ToRGB<L::YUVTRIPLEtag, &L::fnIMG_YUVToRGB>, "YUVToRGB 150,60,200 1");
  to("RGBToYCbCr", "fnIMG_RGBToYCbCr", "1 or 2", FromRGB<L::YCbCrTRIPLEtag, &L::fnIMG_RGBToYCbCr>,
     "RGBToYCbCr #ff8000 2");
  from("YCbCrToRGB", "fnIMG_YCbCrToRGB", "CLamina::YCbCrTRIPLEtag ycbcr, int scale",
       record("y,cb,cr"), "1 or 2", ToRGB<L::YCbCrTRIPLEtag, &L::fnIMG_YCbCrToRGB>,
       "YCbCrToRGB 150,60,200 2");
  to("RGBToXYZ", "fnIMG_RGBToXYZ", "1 to 3", FromRGB<L::XYZTRIPLEtag, &L::fnIMG_RGBToXYZ>,
     "RGBToXYZ #ff8000 2");
  from("XYZToRGB", "fnIMG_XYZToRGB", "CLamina::XYZTRIPLEtag xyz, int scale", record("x,y,z"),
       "1 to 3", ToRGB<L::XYZTRIPLEtag, &L::fnIMG_XYZToRGB>, "XYZToRGB 0.5,0.4,0.1 2");
  ops.push_back({"XYZToLAB",
                 "fnIMG_XYZToLAB",
                 "CLamina::XYZTRIPLEtag xyz, int xyzScale, int labScale",
                 kColour,
                 {record("x,y,z"), I("xyzScale", "1 to 3, as the record is given"),
                  I("labScale", "1 to 3, the result's form")},
                 Returns::kValue,
                 recordResult,
                 CodeTable{},
                 "XYZToLAB 0.5,0.4,0.1 2 3",
                 nullptr,
                 Between<L::XYZTRIPLEtag, L::LABTRIPLEtag, &L::fnIMG_XYZToLAB>});
  ops.push_back({"LABToXYZ",
                 "fnIMG_LABToXYZ",
                 "CLamina::LABTRIPLEtag lab, int labScale, int xyzScale",
                 kColour,
                 {record("l,a,b"), I("labScale", "1 to 3, as the record is given"),
                  I("xyzScale", "1 to 3, the result's form")},
                 Returns::kValue,
                 recordResult,
                 CodeTable{},
                 "LABToXYZ 60,20,-30 3 2",
                 nullptr,
                 Between<L::LABTRIPLEtag, L::XYZTRIPLEtag, &L::fnIMG_LABToXYZ>});
  to("RGBToLAB", "fnIMG_RGBToLAB", "1 to 3 (the result's form)",
     FromRGB<L::LABTRIPLEtag, &L::fnIMG_RGBToLAB>, "RGBToLAB #ff8000 3",
     "RGBQUAD colour, int labScale");
  from("LABToRGB", "fnIMG_LABToRGB", "CLamina::LABTRIPLEtag lab, int labScale", record("l,a,b"),
       "1 to 3", ToRGB<L::LABTRIPLEtag, &L::fnIMG_LABToRGB>, "LABToRGB 60,20,-30 3");
  ops.back().args[1].name = "labScale";
  ops[ops.size() - 2].args[1].name = "labScale";
  ops.push_back({"XYZToLUV",
                 "fnIMG_XYZToLUV",
                 "CLamina::XYZTRIPLEtag xyz, int xyzScale, int luvScale",
                 kColour,
                 {record("x,y,z"), I("xyzScale", "1 to 3, as the record is given"),
                  I("luvScale", "1 to 3, the result's form")},
                 Returns::kValue,
                 recordResult,
                 CodeTable{},
                 "XYZToLUV 0.5,0.4,0.1 2 3",
                 nullptr,
                 Between<L::XYZTRIPLEtag, L::LUVTRIPLEtag, &L::fnIMG_XYZToLUV>});
  ops.push_back({"LUVToXYZ",
                 "fnIMG_LUVToXYZ",
                 "CLamina::LUVTRIPLEtag luv, int luvScale, int xyzScale",
                 kColour,
                 {record("l,u,v"), I("luvScale", "1 to 3, as the record is given"),
                  I("xyzScale", "1 to 3, the result's form")},
                 Returns::kValue,
                 recordResult,
                 CodeTable{},
                 "LUVToXYZ 60,20,-30 3 2",
                 nullptr,
                 Between<L::LUVTRIPLEtag, L::XYZTRIPLEtag, &L::fnIMG_LUVToXYZ>});
  to("RGBToLUV", "fnIMG_RGBToLUV", "1 to 3 (the result's form)",
     FromRGB<L::LUVTRIPLEtag, &L::fnIMG_RGBToLUV>, "RGBToLUV #ff8000 3",
     "RGBQUAD colour, int luvScale");
  from("LUVToRGB", "fnIMG_LUVToRGB", "CLamina::LUVTRIPLEtag luv, int luvScale", record("l,u,v"),
       "1 to 3", ToRGB<L::LUVTRIPLEtag, &L::fnIMG_LUVToRGB>, "LUVToRGB 60,20,-30 3");
  ops.back().args[1].name = "luvScale";
  ops[ops.size() - 2].args[1].name = "luvScale";

  ops.push_back({"Split",
                 "fnIMG_Split",
                 "int model, CLamina* first, CLamina* second, CLamina* third, CLamina* fourth",
                 kColour,
                 {I("model",
                    "0 RGB (and alpha), 1 CMYK, 2 HSI, 3 HSV, 4 HSL, 5 YIQ, 6 YUV, "
                    "7 YCbCr, 8 XYZ, 9 L*a*b*, 10 L*u*v*"),
                  A("outputs", Kind::kOutputs,
                    "the channel files; {} becomes 1, 2, 3 (and 4 for "
                    "models 0 and 1)")},
                 Returns::kMeasures,
                 "a result code and one gray image per channel",
                 LAMINA_CODES(split),
                 "Split 3 {work}/hsv-{}.png",
                 nullptr,
                 Split});
}

}  // namespace registry
}  // namespace lamina

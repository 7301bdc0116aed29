// The protected members, run through a class that opens them (a pointer to a protected member of
// CLamina is taken through a derived class, and applied to any CLamina), and the one private
// member, which only EqualizeHistogram reaches.
#include "ops.h"

namespace lamina {
namespace registry {
namespace {

const char* const kHidden = "Protected and private";

struct Opened : CLamina {
  using CLamina::fnIMG_Fourier;
  using CLamina::fnIMG_GetAnchoBitmapAlineado;
  using CLamina::fnIMG_GetSizeBitmapAlineado;
  using CLamina::fnIMG_TransfPixel;
};

constexpr int (CLamina::*kStride)() = &Opened::fnIMG_GetAnchoBitmapAlineado;
constexpr int (CLamina::*kStrideOf)(int, int) = &Opened::fnIMG_GetAnchoBitmapAlineado;
constexpr int (CLamina::*kRows)() = &Opened::fnIMG_GetSizeBitmapAlineado;
constexpr int (CLamina::*kRowsOf)(int, int, int) = &Opened::fnIMG_GetSizeBitmapAlineado;
constexpr void (CLamina::*kFourier)(_complex*, int) = &Opened::fnIMG_Fourier;
constexpr int (CLamina::*kTransfPixel)(float, float, float&, float&) = &Opened::fnIMG_TransfPixel;

}  // namespace

void AddHiddenOperations(std::vector<Operation>& ops) {
  ops.push_back({"GetAnchoBitmapAlineado",
                 "fnIMG_GetAnchoBitmapAlineado",
                 "",
                 kHidden,
                 {},
                 Returns::kValue,
                 "the row stride in bytes",
                 CodeTable{},
                 "GetAnchoBitmapAlineado",
                 nullptr,
                 [](Call& c) { c.Number("stride", (c.image.*kStride)()); }});
  ops.push_back({"GetAnchoBitmapAlineado",
                 "fnIMG_GetAnchoBitmapAlineado",
                 "int width, int bpp",
                 kHidden,
                 {I("width", "the columns, 0 or more"), I("bpp", "the bits per pixel")},
                 Returns::kValue,
                 "the row stride of such an image",
                 CodeTable{},
                 "GetAnchoBitmapAlineado 101 4",
                 nullptr,
                 [](Call& c) { c.Number("stride", (c.image.*kStrideOf)(c.Int(0), c.Int(1))); }});
  ops.push_back({"GetSizeBitmapAlineado",
                 "fnIMG_GetSizeBitmapAlineado",
                 "",
                 kHidden,
                 {},
                 Returns::kValue,
                 "the size of the rows without gaps",
                 CodeTable{},
                 "GetSizeBitmapAlineado",
                 nullptr,
                 [](Call& c) { c.Number("bytes", (c.image.*kRows)()); }});
  // The member leaves a product beyond an int to its caller; the tool keeps to sizes that fit.
  ops.push_back(
      {"GetSizeBitmapAlineado",
       "fnIMG_GetSizeBitmapAlineado",
       "int width, int height, int bpp",
       kHidden,
       {I("width", "the columns, 0 or more"), I("height", "the rows, 0 or more"),
        I("bpp", "the bits per pixel")},
       Returns::kValue,
       "the size of such an image's rows",
       CodeTable{},
       "GetSizeBitmapAlineado 101 7 4",
       nullptr,
       [](Call& c) {
         const long long stride = (static_cast<long long>(c.Int(0)) * c.Int(2) + 31) / 32 * 4;
         if (c.Int(0) < 0 || c.Int(1) < 0 || c.Int(2) < 0 || stride * c.Int(1) > 0x7FFFFFFFLL) {
           c.Refuse("the size must be 0 or more and its rows fit in an int");
           return;
         }
         c.Number("bytes", (c.image.*kRowsOf)(c.Int(0), c.Int(1), c.Int(2)));
       }});
  ops.push_back({"Fourier",
                 "fnIMG_Fourier",
                 "_complex* data, int m",
                 kHidden,
                 {A("samples", Kind::kSamples, "2^m real samples")},
                 Returns::kMeasures,
                 "the transform's real and imaginary parts",
                 CodeTable{},
                 "Fourier 1,1,1,1,0,0,0,0",
                 nullptr,
                 [](Call& c) {
                   const std::vector<double>& v = c.args[0].reals;
                   std::vector<_complex> data(v.size());
                   for (std::size_t i = 0; i < v.size(); ++i) data[i] = _complex{v[i], 0.0};
                   int m = 0;
                   while ((std::size_t{1} << m) < v.size()) ++m;
                   (c.image.*kFourier)(data.data(), m);
                   std::vector<double> re(data.size()), im(data.size());
                   for (std::size_t i = 0; i < data.size(); ++i) {
                     re[i] = data[i].x;
                     im[i] = data[i].y;
                   }
                   c.Numbers("real", re);
                   c.Numbers("imaginary", im);
                 }});
  ops.push_back(
      {"TransfPixel",
       "fnIMG_TransfPixel",
       "float u, float v, float& uOut, float& vOut",
       kHidden,
       {A("u", Kind::kFloat, "the point's first coordinate"), A("v", Kind::kFloat, "its second")},
       Returns::kMeasures,
       "1, and the point mapped from the disc onto the square",
       CodeTable{},
       "TransfPixel 0.5 0.5",
       nullptr,
       [](Call& c) {
         float u = 0, v = 0;
         c.Number("result", (c.image.*kTransfPixel)(c.Float(0), c.Float(1), u, v));
         c.Number("u", u);
         c.Number("v", v);
       }});
  ops.push_back({"EqualizeNoRGBHistogram",
                 "fnIMG_EqualizeNoRGBHistogram",
                 "int model",
                 kHidden,
                 {I("model", "1 to 10")},
                 Returns::kCode,
                 "a result code",
                 CodeTable{},
                 nullptr,
                 "private: EqualizeHistogram with models 1 to 10 runs it",
                 nullptr});
}

}  // namespace registry
}  // namespace lamina

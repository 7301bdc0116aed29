// Combination of two images, neighbourhood operations and the Fourier display.
#include <cstring>

#include "ops.h"

namespace lamina {
namespace registry {
namespace {

const char* const kCombine = "Combination";
const char* const kNeighbourhood = "Neighbourhood";
const char* const kFrequency = "Frequency";

}  // namespace

void AddCombineOperations(std::vector<Operation>& ops) {
  const char* code = "a result code";
  const Arg second = A("second", Kind::kImage, "the second image");
  const Arg operation = I("operation",
                          "0 add, 1 subtract, 2 multiply, 3 divide, 4 average, "
                          "5 maximum, 6 minimum");

  ops.push_back({"Arithmetic",
                 "fnIMG_Arithmetic",
                 "int operation, CLamina* second",
                 kCombine,
                 {operation, second},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(arithmetic),
                 "Arithmetic 4 {second}",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Arithmetic(c.Int(0), c.Image(1))); }});
  ops.push_back({"Arithmetic",
                 "fnIMG_Arithmetic",
                 "int operation, CLamina* second, float weightA, float weightB, int x, int y",
                 kCombine,
                 {operation, second, A("weightA", Kind::kFloat, "this image's weight, 0 or more"),
                  A("weightB", Kind::kFloat, "the second image's weight, 0 or more"),
                  I("x", "where the second image's top-left pixel lies: column"),
                  I("y", "and row from the top")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(weighted_arithmetic),
                 "Arithmetic 0 {second} 0.7 0.5 64 48",
                 nullptr,
                 [](Call& c) {
                   c.Code(c.image.fnIMG_Arithmetic(c.Int(0), c.Image(1), c.Float(2), c.Float(3),
                                                   c.Int(4), c.Int(5)));
                 }});
  ops.push_back({"Insert",
                 "fnIMG_Insert",
                 "CLamina* second, int x, int y",
                 kCombine,
                 {A("second", Kind::kImage, "the image to paste"), I("x", "its left column"),
                  I("y", "its top row")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(insert),
                 "Insert {small} 96 64",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Insert(c.Image(0), c.Int(1), c.Int(2))); }});
  ops.push_back({"Logic",
                 "fnIMG_Logic",
                 "int operation, CLamina* second",
                 kCombine,
                 {I("operation", "0 not, 1 and, 2 or, 3 exclusive or, 4 not-and, 5 not-or"),
                  A("second", Kind::kImage, "the second image (- for none with 0)")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(logic),
                 "Logic 3 {second}",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Logic(c.Int(0), c.Image(1))); }});
  ops.push_back({"SetOps",
                 "fnIMG_SetOps",
                 "int operation, CLamina* second",
                 kCombine,
                 {I("operation",
                    "0 complement, 1 reflection, 2 union, 3 intersection, "
                    "4 difference"),
                  A("second", Kind::kImage, "a two-colour image (- for none with 0 and 1)")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(set_ops),
                 "ChangeColorDepth 0 SetOps 2 {mask}",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_SetOps(c.Int(0), c.Image(1))); }});
  ops.push_back({"GetDifferentPixels",
                 "fnIMG_GetDifferentPixels",
                 "CLamina* second",
                 kCombine,
                 {second},
                 Returns::kValue,
                 "the number of differing pixels",
                 LAMINA_CODES(different_pixels),
                 "GetDifferentPixels {second}",
                 nullptr,
                 [](Call& c) {
                   const int n = c.image.fnIMG_GetDifferentPixels(c.Image(0));
                   if (n < 0)
                     c.Sentinel(n);
                   else
                     c.Number("different", n);
                 }});

  const Arg mapping = I("mapping", "0 stretch, 1 clip, 2 absolute value");
  const Arg border = I("border", "0 leave the frame, 1 pad with 255, 2 pad with shifted copies");
  ops.push_back({"Filters",
                 "fnIMG_Filters",
                 "int filter, int mapping, int border",
                 kNeighbourhood,
                 {I("filter", "0 to 37, 40 to 68, 70 to 77 (see help Filters)"), mapping, border},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(filters),
                 "Filters 40 1 2",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Filters(c.Int(0), c.Int(1), c.Int(2))); }});
  // The kernel's side is the member's size argument; a kernel that is not square is refused
  // before the member is called.
  ops.push_back(
      {"Convolution",
       "fnIMG_Convolution",
       "int* kernel, int size, int divisor, int mapping, int border",
       kNeighbourhood,
       {A("kernel", Kind::kKernel, "a square kernel, row 0 weighing the top row"),
        I("divisor", "any number but 0"), mapping, border},
       Returns::kCode,
       code,
       LAMINA_CODES(convolution),
       "Convolution 3x3:-1,-1,-1,-1,9,-1,-1,-1,-1 1 1 2",
       nullptr,
       [](Call& c) {
         const Value& k = c.args[0];
         if (k.width != k.height) {
           c.Refuse("the kernel is " + std::to_string(k.width) + "x" + std::to_string(k.height) +
                    ", not square");
           return;
         }
         std::vector<int> cells = k.cells;
         c.Code(c.image.fnIMG_Convolution(cells.data(), k.width, c.Int(1), c.Int(2), c.Int(3)));
       }});
  ops.push_back({"Morphological",
                 "fnIMG_Morphological",
                 "int operation, unsigned char* element, int elementWidth, int elementHeight, "
                 "int originX, int originY",
                 kNeighbourhood,
                 {I("operation",
                    "0 dilation, 1 erosion, 2 opening, 3 closing, 4 opening then "
                    "closing, 5 gradient, 6 top-hat"),
                  A("element", Kind::kElement,
                    "the structuring element (its size gives width "
                    "and height)"),
                  I("originX", "0 to the element's width - 1"),
                  I("originY", "0 to the element's height - 1")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(morphology),
                 "ColorToGray 0 ChangeColorDepth 2 Morphological 5 3x3:0,0,0,0,0,0,0,0,0 1 1",
                 nullptr,
                 [](Call& c) {
                   const Value& e = c.args[1];
                   std::vector<unsigned char> bytes(e.cells.begin(), e.cells.end());
                   c.Code(c.image.fnIMG_Morphological(c.Int(0), bytes.data(), e.width, e.height,
                                                      c.Int(2), c.Int(3)));
                 }});
  ops.push_back({"BinarySmoothing",
                 "fnIMG_BinarySmoothing",
                 "CLamina::CualesSuavizadoBinario rules",
                 kNeighbourhood,
                 {A("rules", Kind::kRules, "the rules to run, in order")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(binary_smoothing),
                 "ChangeColorDepth 0 BinarySmoothing all",
                 nullptr,
                 [](Call& c) {
                   const std::vector<int>& r = c.args[0].cells;
                   c.Code(c.image.fnIMG_BinarySmoothing(
                       CLamina::CualesSuavizadoBinario{r[0], r[1], r[2], r[3], r[4], r[5]}));
                 }});
  ops.push_back(
      {"RegionGrowing",
       "fnIMG_RegionGrowing",
       "int seedX, int seedY, int distance, int percent, unsigned char tolerance, "
       "unsigned long fill",
       kNeighbourhood,
       {I("seedX", "the seed's column"), I("seedY", "the seed's row"),
        I("distance", "0 city-block, 1 chessboard"),
        I("percent", "0 tolerance in levels, 1 in percent of the range"),
        A("tolerance", Kind::kUChar, "0 to 255"),
        A("fill", Kind::kULong, "the paint: an index, or a gray level at 24 and 32 bits")},
       Returns::kCode,
       code,
       LAMINA_CODES(region_growing),
       "RegionGrowing 128 96 1 0 40 255",
       nullptr,
       [](Call& c) {
         c.Code(c.image.fnIMG_RegionGrowing(c.Int(0), c.Int(1), c.Int(2), c.Int(3), c.UChar(4),
                                            c.ULong(5)));
       }});

  ops.push_back({"FFT",
                 "fnIMG_FFT",
                 "int mode",
                 kFrequency,
                 {I("mode", "0 as it is, 1 with the zero frequency in the middle")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(fft),
                 "ColorToGray 0 ChangeColorDepth 2 Scaling 256 256 1 FFT 1",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_FFT(c.Int(0))); }});
}

}  // namespace registry
}  // namespace lamina

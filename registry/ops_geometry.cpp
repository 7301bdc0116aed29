// Rotation, scaling, translation, flips, crops, interlacing, distortions, and the two members that
// take C++ functions, which the tool offers with a few named built-in functions.
#include <cstdlib>
#include <functional>

#include "ops.h"

namespace lamina {
namespace registry {
namespace {

const char* const kGeometry = "Geometry and distortion";

void Record(Call& c, const CLamina::InfoDesplazamientotag& info) {
  c.Number("fDesplazamiento", info.fDesplazamiento);
  c.Number("fDesplazamientoPulgadas", info.fDesplazamientoPulgadas);
  c.Number("fDesplazamientoX", info.fDesplazamientoX);
  c.Number("fDesplazamientoY", info.fDesplazamientoY);
  c.Number("nPixelesX", info.nPixelesX);
  c.Number("nPixelesY", info.nPixelesY);
}

// mapBitmap asks for a pixel's colour just before it writes it, so a function may read the pixel
// as it still is.
std::function<RGBQUAD(int, int)> ColourFunction(CLamina& img, const std::string& name) {
  const int w = std::max(1, img.fnIMG_GetColumns()), h = std::max(1, img.fnIMG_GetRows());
  if (name == "gradient")
    return [w, h](int x, int y) {
      return RGBQUAD{128, static_cast<BYTE>(y * 255 / h), static_cast<BYTE>(x * 255 / w), 0};
    };
  if (name == "checker")
    return [](int x, int y) {
      const BYTE v = ((x / 16 + y / 16) % 2) != 0 ? 255 : 0;
      return RGBQUAD{v, v, v, 0};
    };
  const bool sepia = name == "sepia";
  return [&img, sepia](int x, int y) {
    RGBQUAD q{};
    img.fnIMG_GetRGBPixel(x, y, &q);
    const int g = (q.rgbRed + q.rgbGreen + q.rgbBlue) / 3;
    if (!sepia) return RGBQUAD{static_cast<BYTE>(g), static_cast<BYTE>(g), static_cast<BYTE>(g), 0};
    auto limit = [](int v) { return static_cast<BYTE>(v > 255 ? 255 : v); };
    return RGBQUAD{limit(g * 82 / 100), limit(g * 105 / 100), limit(g * 120 / 100), 0};
  };
}

// transformation's functions give the source column and row of each destination pixel.
void PlaceFunctions(const std::string& name, int w, int h, std::function<int(int, int)>& column,
                    std::function<int(int, int)>& row) {
  if (name == "mirror") {
    column = [w](int x, int) { return w - 1 - x; };
    row = [](int, int y) { return y; };
  } else if (name == "upside") {
    column = [](int x, int) { return x; };
    row = [h](int, int y) { return h - 1 - y; };
  } else if (name == "transpose") {
    column = [](int, int y) { return y; };
    row = [](int x, int) { return x; };
  } else if (name == "zoom") {
    column = [w](int x, int) { return w / 4 + x / 2; };
    row = [h](int, int y) { return h / 4 + y / 2; };
  } else {  // tile
    column = [w](int x, int) { return 2 * x % w; };
    row = [h](int, int y) { return 2 * y % h; };
  }
}

}  // namespace

void AddGeometryOperations(std::vector<Operation>& ops) {
  const char* code = "a result code";
  const Arg background = A("background", Kind::kColour, "the colour of uncovered pixels");
  const Arg sizeMode = I("sizeMode", "0 enlarge to hold the turned picture, 1 keep the size");

  ops.push_back(
      {"Rotation",
       "fnIMG_Rotation",
       "int sizeMode, double angle, unsigned long background",
       kGeometry,
       {sizeMode, A("angle", Kind::kDouble, "degrees, -360 to 360, clockwise"), background},
       Returns::kCode,
       code,
       LAMINA_CODES(rotation),
       "Rotation 0 30 #000000",
       nullptr,
       [](Call& c) { c.Code(c.image.fnIMG_Rotation(c.Int(0), c.Double(1), c.ULong(2))); }});
  ops.push_back({"Rotation",
                 "fnIMG_Rotation",
                 "int sizeMode, double angleY, double angleX, double angle, unsigned long "
                 "background",
                 kGeometry,
                 {sizeMode, A("angleY", Kind::kDouble, "tilt about the vertical axis, degrees"),
                  A("angleX", Kind::kDouble, "tilt about the horizontal axis, degrees"),
                  A("angle", Kind::kDouble, "then the turn in the plane, degrees"), background},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(rotation),
                 "Rotation 0 30 20 15 #000040",
                 nullptr,
                 [](Call& c) {
                   c.Code(c.image.fnIMG_Rotation(c.Int(0), c.Double(1), c.Double(2), c.Double(3),
                                                 c.ULong(4)));
                 }});
  ops.push_back({"Scaling",
                 "fnIMG_Scaling",
                 "float horizontal, float vertical, int unit",
                 kGeometry,
                 {A("horizontal", Kind::kFloat, "the factor, or the new width (unit 1)"),
                  A("vertical", Kind::kFloat, "the factor, or the new height (unit 1)"),
                  I("unit", "0 factors, 1 pixels")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(scaling),
                 "Scaling 0.5 0.75 0",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Scaling(c.Float(0), c.Float(1), c.Int(2))); }});
  ops.push_back(
      {"ScotomaZoom",
       "fnIMG_ScotomaZoom",
       "int orientation, int x, int y, int nearWidth, int farWidth, int farReach, int nearReach, "
       "int room, int fill, unsigned long colour",
       kGeometry,
       {I("orientation", "0 a band down the picture, 1 across it"), I("x", "the split column"),
        I("y", "the split row"), I("nearWidth", "the band's width before the split, 0 or more"),
        I("farWidth", "the band's width after it, 0 or more"),
        I("farReach", "rows below (columns right of) the split the band reaches"),
        I("nearReach", "rows above (columns left of) the split the band reaches"),
        I("room", "0 push the sides outward, 1 squeeze them"),
        I("fill", "0 paint the band with the colour, 1 repeat the split line"),
        A("colour", Kind::kColour, "the band's colour")},
       Returns::kCode,
       code,
       LAMINA_CODES(scotoma),
       "ScotomaZoom 0 128 96 20 20 60 60 1 0 #ffffff",
       nullptr,
       [](Call& c) {
         c.Code(c.image.fnIMG_ScotomaZoom(c.Int(0), c.Int(1), c.Int(2), c.Int(3), c.Int(4),
                                          c.Int(5), c.Int(6), c.Int(7), c.Int(8), c.ULong(9)));
       }});
  ops.push_back({"Translation",
                 "fnIMG_Translation",
                 "int mode, int dx, int dy, unsigned long background",
                 kGeometry,
                 {I("mode", "0 enlarge, 1 keep the size"), I("dx", "pixels to the right"),
                  I("dy", "pixels downwards"), background},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(translation),
                 "Translation 0 40 30 #203040",
                 nullptr,
                 [](Call& c) {
                   c.Code(c.image.fnIMG_Translation(c.Int(0), c.Int(1), c.Int(2), c.ULong(3)));
                 }});
  ops.push_back(
      {"Translation",
       "fnIMG_Translation",
       "int mode, int distance, float angle, float direction, unsigned long background, "
       "InfoDesplazamientotag* info",
       kGeometry,
       {I("mode", "0 enlarge, 1 keep the size"), I("distance", "centimetres"),
        A("angle", Kind::kFloat, "degrees, 0 to 80: the length is distance x sin(angle)"),
        A("direction", Kind::kFloat, "degrees on the screen: 0 up, 90 right"), background},
       Returns::kMeasures,
       "a result code and the move in cm, inches and pixels",
       LAMINA_CODES(translation_length),
       "Translation 1 3 30 135 #000000",
       nullptr,
       [](Call& c) {
         CLamina::InfoDesplazamientotag info{};
         c.Code(c.image.fnIMG_Translation(c.Int(0), c.Int(1), c.Float(2), c.Float(3), c.ULong(4),
                                          &info));
         if (!c.outcome.failed) Record(c, info);
       }});
  ops.push_back(
      {"CalcularDesplazamientos",
       "fnIMG_CalcularDesplazamientos",
       "int distance, float angle, int monitor, InfoDesplazamientotag* info",
       kGeometry,
       {I("distance", "centimetres, 0 or more"), A("angle", Kind::kFloat, "degrees, 0 to 60"),
        I("monitor", "0 the first monitor, 1 the second")},
       Returns::kMeasures,
       "a result code and the length in cm, inches and pixels",
       LAMINA_CODES(calcular_desplazamientos),
       "CalcularDesplazamientos 10 30 0",
       nullptr,
       [](Call& c) {
         CLamina::InfoDesplazamientotag info{};
         c.Code(c.image.fnIMG_CalcularDesplazamientos(c.Int(0), c.Float(1), c.Int(2), &info));
         if (!c.outcome.failed) Record(c, info);
       }});
  ops.push_back({"Flip",
                 "fnIMG_Flip",
                 "int mode",
                 kGeometry,
                 {I("mode", "0 left-right, 1 top-bottom")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(flip),
                 "Flip 0",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Flip(c.Int(0))); }});
  ops.push_back(
      {"Crop",
       "fnIMG_Crop",
       "int x1, int y1, int x2, int y2",
       kGeometry,
       {I("x1", "the left column"), I("y1", "the top row"), I("x2", "the right column, included"),
        I("y2", "the bottom row, included")},
       Returns::kCode,
       code,
       LAMINA_CODES(crop),
       "Crop 32 24 223 167",
       nullptr,
       [](Call& c) { c.Code(c.image.fnIMG_Crop(c.Int(0), c.Int(1), c.Int(2), c.Int(3))); }});
  ops.push_back(
      {"Interlace",
       "fnIMG_Interlace",
       "int mode, CLamina* first, CLamina* second",
       kGeometry,
       {I("mode", "0 rows, 1 columns"), A("first", Kind::kImage, "gives the first row or column"),
        A("second", Kind::kImage, "gives the second")},
       Returns::kCode,
       code,
       LAMINA_CODES(interlace),
       "Interlace 0 self {second}",
       nullptr,
       [](Call& c) { c.Code(c.image.fnIMG_Interlace(c.Int(0), c.Image(1), c.Image(2))); }});
  ops.push_back(
      {"DeInterlace",
       "fnIMG_DeInterlace",
       "int mode, int field",
       kGeometry,
       {I("mode", "0 rows, 1 columns"), I("field", "1 keeps 0, 2, 4 ...; 2 keeps 1, 3 ...")},
       Returns::kCode,
       code,
       LAMINA_CODES(de_interlace),
       "DeInterlace 0 1",
       nullptr,
       [](Call& c) { c.Code(c.image.fnIMG_DeInterlace(c.Int(0), c.Int(1))); }});
  ops.push_back({"Ellipse",
                 "fnIMG_Ellipse",
                 "",
                 kGeometry,
                 {},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(ellipse),
                 "Ellipse",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Ellipse()); }});
  ops.push_back({"Undulation",
                 "fnIMG_Undulation",
                 "int amplitude, int wavelength, int direction, unsigned long background",
                 kGeometry,
                 {I("amplitude", "rows of the wave"), I("wavelength", "columns per radian"),
                  I("direction", "0 down, 1 up"), background},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(undulation),
                 "Undulation 10 8 0 #000000",
                 nullptr,
                 [](Call& c) {
                   c.Code(c.image.fnIMG_Undulation(c.Int(0), c.Int(1), c.Int(2), c.ULong(3)));
                 }});
  ops.push_back({"Spiral",
                 "fnIMG_Spiral",
                 "double twist, int radius",
                 kGeometry,
                 {A("twist", Kind::kDouble, "a finite number; 0 keeps every pixel"),
                  I("radius", "pixels; 0 or less changes nothing")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(spiral),
                 "Spiral 180 90",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Spiral(c.Double(0), c.Int(1))); }});
  ops.push_back(
      {"Inclination",
       "fnIMG_Inclination",
       "int kind, double amount, unsigned long background",
       kGeometry,
       {I("kind", "0 to 9: shears and compressions"), A("amount", Kind::kDouble, "0 to 100"),
        background},
       Returns::kCode,
       code,
       LAMINA_CODES(inclination),
       "Inclination 0 40 #000000",
       nullptr,
       [](Call& c) { c.Code(c.image.fnIMG_Inclination(c.Int(0), c.Double(1), c.ULong(2))); }});
  ops.push_back({"Mosaic",
                 "fnIMG_Mosaic",
                 "int blockHeight, int blockWidth",
                 kGeometry,
                 {I("blockHeight", "1 to half the height"), I("blockWidth", "1 to half the width")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(mosaic),
                 "Mosaic 8 8",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Mosaic(c.Int(0), c.Int(1))); }});
  ops.push_back({"Emboss",
                 "fnIMG_Emboss",
                 "int distance",
                 kGeometry,
                 {I("distance", "1, 3 or 5")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(emboss),
                 "ColorToGray 0 ChangeColorDepth 2 Emboss 3",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Emboss(c.Int(0))); }});
  ops.push_back(
      {"Hoover",
       "fnIMG_Hoover",
       "int mode, int x, int y, int passes",
       kGeometry,
       {I("mode", "0 pull toward the point, 1 push away"), I("x", "the point's column"),
        I("y", "the point's row"), I("passes", "1 or more, 50000 samples each")},
       Returns::kCode,
       code,
       LAMINA_CODES(hoover),
       "Hoover 0 128 96 4",
       nullptr,
       [](Call& c) { c.Code(c.image.fnIMG_Hoover(c.Int(0), c.Int(1), c.Int(2), c.Int(3))); }});
  ops.push_back({"mapBitmap",
                 "mapBitmap",
                 "std::function<RGBQUAD(int, int)> colourAt",
                 kGeometry,
                 {A("function", Kind::kChoice,
                    "gradient (red across, green down), checker (16-pixel squares), gray (each "
                    "pixel's mean), sepia",
                    "gradient|checker|gray|sepia")},
                 Returns::kNothing,
                 "nothing",
                 CodeTable{},
                 "mapBitmap sepia",
                 nullptr,
                 [](Call& c) { c.image.mapBitmap(ColourFunction(c.image, c.Text(0))); }});
  ops.push_back({"transformation",
                 "transformation",
                 "std::function<int(int, int)> sourceColumn, std::function<int(int, int)> "
                 "sourceRow",
                 kGeometry,
                 {A("function", Kind::kChoice,
                    "mirror, upside (down), transpose, zoom (the middle, twice as large), tile "
                    "(four half-size copies)",
                    "mirror|upside|transpose|zoom|tile")},
                 Returns::kValue,
                 "true; false when memory is short",
                 CodeTable{},
                 "transformation tile",
                 nullptr,
                 [](Call& c) {
                   std::function<int(int, int)> column, row;
                   PlaceFunctions(c.Text(0), std::max(1, c.image.fnIMG_GetColumns()),
                                  std::max(1, c.image.fnIMG_GetRows()), column, row);
                   if (!c.image.transformation(column, row))
                     c.Refuse("false: not enough memory for the result");
                 }});
}

}  // namespace registry
}  // namespace lamina

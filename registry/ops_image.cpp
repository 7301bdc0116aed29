// The image object, pixels and alpha, palettes, drawing and monitors.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "ops.h"

namespace lamina {
namespace registry {

bool ReadBytes(const std::string& path, std::vector<unsigned char>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

namespace {

const char* const kImage = "Image object";
const char* const kPixels = "Pixels and alpha";
const char* const kPalettes = "Palettes";
const char* const kDisplay = "Display and monitors";

template <int (CLamina::*Get)()>
void RunValue(Call& c) {
  c.Number("value", (c.image.*Get)());
}

}  // namespace

void AddImageOperations(std::vector<Operation>& ops) {
  // ---- Image object and block ----
  struct Query {
    const char* name;
    const char* member;
    const char* result;
    RunFunction run;
  };
  const Query queries[] = {
      {"GetRows", "fnIMG_GetRows", "the height in pixels", RunValue<&CLamina::fnIMG_GetRows>},
      {"GetColumns", "fnIMG_GetColumns", "the width in pixels",
       RunValue<&CLamina::fnIMG_GetColumns>},
      {"GetColorDepth", "fnIMG_GetColorDepth", "the bits per pixel",
       RunValue<&CLamina::fnIMG_GetColorDepth>},
      {"GetBitmapSize", "fnIMG_GetBitmapSize", "the size of the pixel rows in bytes",
       RunValue<&CLamina::fnIMG_GetBitmapSize>},
      {"GetDIBSize", "fnIMG_GetDIBSize", "the size of header, palette and rows in bytes",
       RunValue<&CLamina::fnIMG_GetDIBSize>},
      {"GetLevels", "fnIMG_GetLevels", "the values a pixel can hold",
       RunValue<&CLamina::fnIMG_GetLevels>},
      {"GetColorsUsed", "fnIMG_GetColorsUsed", "the palette entry count",
       RunValue<&CLamina::fnIMG_GetColorsUsed>},
  };
  for (const Query& q : queries)
    ops.push_back({q.name,
                   q.member,
                   "",
                   kImage,
                   {},
                   Returns::kValue,
                   q.result,
                   CodeTable{},
                   q.name,
                   nullptr,
                   q.run});

  ops.push_back({"GetBitmapInfoHeader",
                 "fnIMG_GetBitmapInfoHeader",
                 "",
                 kImage,
                 {},
                 Returns::kValue,
                 "the 40-byte header's fields",
                 CodeTable{},
                 "GetBitmapInfoHeader",
                 nullptr,
                 [](Call& c) {
                   const BITMAPINFOHEADER h = c.image.fnIMG_GetBitmapInfoHeader();
                   c.Number("biSize", h.biSize);
                   c.Number("biWidth", h.biWidth);
                   c.Number("biHeight", h.biHeight);
                   c.Number("biPlanes", h.biPlanes);
                   c.Number("biBitCount", h.biBitCount);
                   c.Number("biCompression", h.biCompression);
                   c.Number("biSizeImage", h.biSizeImage);
                   c.Number("biXPelsPerMeter", h.biXPelsPerMeter);
                   c.Number("biYPelsPerMeter", h.biYPelsPerMeter);
                   c.Number("biClrUsed", h.biClrUsed);
                   c.Number("biClrImportant", h.biClrImportant);
                 }});
  // Addresses mean nothing outside the process; where they point within the block does.
  ops.push_back({"GetPointers",
                 "fnIMG_GetPointers",
                 "",
                 kImage,
                 {},
                 Returns::kValue,
                 "where the palette and the rows lie in the block (offsets from its start)",
                 CodeTable{},
                 "GetPointers",
                 nullptr,
                 [](Call& c) {
                   const CLamina::Punteros p = c.image.fnIMG_GetPointers();
                   if (p.lpDib == nullptr) {
                     c.Text("block", "none");
                     return;
                   }
                   const auto* start = reinterpret_cast<const unsigned char*>(p.lpDib);
                   if (p.lpPalette != nullptr)
                     c.Number("palette offset",
                              static_cast<double>(
                                  reinterpret_cast<const unsigned char*>(p.lpPalette) - start));
                   else
                     c.Text("palette offset", "none");
                   c.Number("rows offset", static_cast<double>(p.lpBits - start));
                 }});
  ops.push_back({"IsInside",
                 "fnIMG_IsInside",
                 "int x, int y",
                 kImage,
                 {I("x", "the column, 0 at the left"), I("y", "the row, 0 at the top")},
                 Returns::kValue,
                 "1 inside, 0 outside",
                 CodeTable{},
                 "IsInside 300 20",
                 nullptr,
                 [](Call& c) { c.Number("inside", c.image.fnIMG_IsInside(c.Int(0), c.Int(1))); }});
  ops.push_back({"GetBitmap",
                 "fnIMG_GetBitmap",
                 "unsigned char* dst",
                 kImage,
                 {A("file", Kind::kOutFile, "receives the pixel rows as stored, bottom row first")},
                 Returns::kMeasures,
                 "the rows' bytes, written to the file",
                 CodeTable{},
                 "GetBitmap {work}/rows.bin",
                 nullptr,
                 [](Call& c) {
                   std::vector<unsigned char> rows(
                       static_cast<std::size_t>(std::max(0, c.image.fnIMG_GetBitmapSize())));
                   c.image.fnIMG_GetBitmap(rows.data());
                   if (!WriteBytes(c.outputs.Stage(c.Text(0)), rows)) {
                     c.Refuse("cannot write " + c.Text(0) + ": " + std::strerror(errno));
                     return;
                   }
                   c.Number("bytes", static_cast<double>(rows.size()));
                 }});
  // The member trusts its buffer; the tool gives it one of exactly the rows' size or refuses.
  ops.push_back({"SetBitmap",
                 "fnIMG_SetBitmap",
                 "const unsigned char* src",
                 kImage,
                 {A("file", Kind::kInFile, "exactly GetBitmapSize bytes of rows as stored")},
                 Returns::kNothing,
                 "nothing",
                 CodeTable{},
                 "Flip 1 GetBitmap {work}/rows.bin Flip 1 SetBitmap {work}/rows.bin",
                 nullptr,
                 [](Call& c) {
                   std::vector<unsigned char> rows;
                   if (!ReadBytes(c.outputs.Resolve(c.Text(0)), rows)) {
                     c.Refuse("cannot read " + c.Text(0) + ": " + std::strerror(errno));
                     return;
                   }
                   const std::size_t need =
                       static_cast<std::size_t>(std::max(0, c.image.fnIMG_GetBitmapSize()));
                   if (rows.size() != need) {
                     c.Refuse(c.Text(0) + " holds " + std::to_string(rows.size()) +
                              " bytes where the image's rows take " + std::to_string(need));
                     return;
                   }
                   c.image.fnIMG_SetBitmap(rows.data());
                 }});
  ops.push_back({"SetFileName",
                 "fnIMG_SetFileName",
                 "CString name",
                 kImage,
                 {A("name", Kind::kText, "the name the image carries")},
                 Returns::kNothing,
                 "nothing",
                 CodeTable{},
                 "SetFileName gallery.bmp",
                 nullptr,
                 [](Call& c) { c.image.fnIMG_SetFileName(CString(c.Text(0))); }});
  ops.push_back({"GetFileName",
                 "fnIMG_GetFileName",
                 "",
                 kImage,
                 {},
                 Returns::kValue,
                 "the name before its last full stop",
                 CodeTable{},
                 "GetFileName",
                 nullptr,
                 [](Call& c) { c.Text("name", c.image.fnIMG_GetFileName().ToUtf8()); }});
  ops.push_back({"GetFileExt",
                 "fnIMG_GetFileExt",
                 "",
                 kImage,
                 {},
                 Returns::kValue,
                 "the name after its last full stop",
                 CodeTable{},
                 "GetFileExt",
                 nullptr,
                 [](Call& c) { c.Text("extension", c.image.fnIMG_GetFileExt().ToUtf8()); }});
  ops.push_back({"Initialize",
                 "fnIMG_Initialize",
                 "unsigned int value",
                 kImage,
                 {A("value", Kind::kPixel, "every pixel's value: an index, or a 24-bit colour")},
                 Returns::kCode,
                 "a result code",
                 LAMINA_CODES(initialize),
                 "Initialize #336699",
                 nullptr,
                 [](Call& c) {
                   c.Code(c.image.fnIMG_Initialize(static_cast<unsigned int>(c.args[0].number)));
                 }});
  ops.push_back({"InitializeRGB",
                 "fnIMG_Initialize",
                 "RGBQUAD colour",
                 kImage,
                 {A("colour", Kind::kQuad, "every pixel's colour (palette images: the entries)")},
                 Returns::kCode,
                 "a result code",
                 LAMINA_CODES(initialize),
                 "InitializeRGB #ffcc00",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_Initialize(c.args[0].quad)); }});

  // ---- Pixels and alpha ----
  const Arg x = I("x", "the column, 0 at the left");
  const Arg y = I("y", "the row, 0 at the top");
  ops.push_back({"GetPixel",
                 "fnIMG_GetPixel",
                 "int x, int y",
                 kPixels,
                 {x, y},
                 Returns::kValue,
                 "the index, or blue + green x 256 + red x 65536",
                 LAMINA_CODES(get_pixel),
                 "GetPixel 10 10",
                 nullptr,
                 [](Call& c) {
                   const unsigned v = c.image.fnIMG_GetPixel(c.Int(0), c.Int(1));
                   if (v >= 0xFFFFFFFEu)
                     c.Sentinel(static_cast<int>(v), true);
                   else
                     c.Number("value", v);
                 }});
  ops.push_back({"SetPixel",
                 "fnIMG_SetPixel",
                 "int x, int y, unsigned int value",
                 kPixels,
                 {x, y, A("value", Kind::kPixel, "the index, or a 24-bit colour")},
                 Returns::kCode,
                 "a result code",
                 LAMINA_CODES(set_pixel),
                 "SetPixel 128 96 #ffffff",
                 nullptr,
                 [](Call& c) {
                   c.Code(c.image.fnIMG_SetPixel(c.Int(0), c.Int(1),
                                                 static_cast<unsigned int>(c.args[2].number)));
                 }});
  ops.push_back({"GetRGBPixel",
                 "fnIMG_GetRGBPixel",
                 "int x, int y, RGBQUAD* colour",
                 kPixels,
                 {x, y},
                 Returns::kMeasures,
                 "a result code and the pixel's colour",
                 LAMINA_CODES(set_pixel),
                 "GetRGBPixel 10 10",
                 nullptr,
                 [](Call& c) {
                   RGBQUAD q{};
                   c.Code(c.image.fnIMG_GetRGBPixel(c.Int(0), c.Int(1), &q));
                   if (!c.outcome.failed) c.Colour("colour", q);
                 }});
  ops.push_back(
      {"SetRGBPixel",
       "fnIMG_SetRGBPixel",
       "int x, int y, RGBQUAD colour",
       kPixels,
       {x, y, A("colour", Kind::kQuad, "the colour (palette images: the entry)")},
       Returns::kCode,
       "a result code",
       LAMINA_CODES(set_pixel),
       "SetRGBPixel 128 96 #ffffff",
       nullptr,
       [](Call& c) { c.Code(c.image.fnIMG_SetRGBPixel(c.Int(0), c.Int(1), c.args[2].quad)); }});
  // 254 and 255 are also ordinary alphas: the step fails only when the image says they are not.
  ops.push_back({"GetAlfa",
                 "fnIMG_GetAlfa",
                 "int x, int y",
                 kPixels,
                 {x, y},
                 Returns::kValue,
                 "the alpha byte",
                 LAMINA_CODES(get_alfa),
                 "ChangeColorDepth 4 GetAlfa 10 10",
                 nullptr,
                 [](Call& c) {
                   const unsigned char a = c.image.fnIMG_GetAlfa(c.Int(0), c.Int(1));
                   if (!c.image.fnIMG_IsInside(c.Int(0), c.Int(1)) && a == 255)
                     c.Sentinel(255);
                   else if (c.image.fnIMG_GetColorDepth() != 32 && a == 254)
                     c.Sentinel(254);
                   else
                     c.Number("alpha", a);
                 }});
  ops.push_back({"SetAlfa",
                 "fnIMG_SetAlfa",
                 "int x, int y, unsigned char alpha",
                 kPixels,
                 {x, y, A("alpha", Kind::kUChar, "the new alpha")},
                 Returns::kCode,
                 "a result code",
                 LAMINA_CODES(set_alfa_at),
                 "ChangeColorDepth 4 SetAlfa 5 5 128",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_SetAlfa(c.Int(0), c.Int(1), c.UChar(2))); }});
  ops.push_back({"SetAlfaAll",
                 "fnIMG_SetAlfa",
                 "unsigned char alpha",
                 kPixels,
                 {A("alpha", Kind::kUChar, "the alpha of every pixel")},
                 Returns::kCode,
                 "a result code",
                 LAMINA_CODES(set_alfa),
                 "ChangeColorDepth 4 SetAlfaAll 255",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_SetAlfa(c.UChar(0))); }});
  ops.push_back({"SetAlfa",
                 "fnIMG_SetAlfa",
                 "int mode",
                 kPixels,
                 {I("mode", "2 invert every alpha, 3 alpha from the gray; others do nothing")},
                 Returns::kCode,
                 "a result code",
                 LAMINA_CODES(set_alfa),
                 "ChangeColorDepth 4 SetAlfa 3",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_SetAlfa(c.Int(0))); }});
  ops.push_back({"RGBToRGBQUAD",
                 "fnIMG_RGBToRGBQUAD",
                 "unsigned long rgb",
                 kPixels,
                 {A("rgb", Kind::kULong, "red + green x 256 + blue x 65536")},
                 Returns::kValue,
                 "the colour",
                 CodeTable{},
                 "RGBToRGBQUAD 16744448",
                 nullptr,
                 [](Call& c) { c.Colour("colour", c.image.fnIMG_RGBToRGBQUAD(c.ULong(0))); }});
  ops.push_back({"RGBQUADToRGB",
                 "fnIMG_RGBQUADToRGB",
                 "RGBQUAD colour",
                 kPixels,
                 {A("colour", Kind::kQuad, "the colour to pack")},
                 Returns::kValue,
                 "red + green x 256 + blue x 65536",
                 CodeTable{},
                 "RGBQUADToRGB #0080ff",
                 nullptr,
                 [](Call& c) {
                   c.Number("packed",
                            static_cast<double>(c.image.fnIMG_RGBQUADToRGB(c.args[0].quad)));
                 }});

  // ---- Palettes ----
  ops.push_back({"GetPalette",
                 "fnIMG_GetPalette",
                 "RGBQUAD* palette",
                 kPalettes,
                 {},
                 Returns::kMeasures,
                 "a result code and the palette's colours",
                 LAMINA_CODES(palette),
                 "ChangeColorDepth 0 GetPalette",
                 nullptr,
                 [](Call& c) {
                   RGBQUAD entries[256] = {};
                   c.Code(c.image.fnIMG_GetPalette(entries));
                   if (c.outcome.failed) return;
                   const int n = std::min(256, std::max(0, c.image.fnIMG_GetPaletteSize() / 4));
                   Measure m{"palette", {}, {}, true};
                   m.colour = true;
                   for (int i = 0; i < n; ++i) {
                     char t[8];
                     std::snprintf(t, sizeof t, "#%02x%02x%02x", entries[i].rgbRed,
                                   entries[i].rgbGreen, entries[i].rgbBlue);
                     m.texts.push_back(t);
                   }
                   c.outcome.measures.push_back(m);
                 }});
  // The member reads as many entries as the palette holds: the tool starts from the palette as it
  // is, so a shorter list changes only its first entries.
  ops.push_back({"SetPalette",
                 "fnIMG_SetPalette",
                 "const RGBQUAD* palette",
                 kPalettes,
                 {A("colours", Kind::kPalette, "the first entries of the new palette")},
                 Returns::kCode,
                 "a result code",
                 LAMINA_CODES(palette),
                 "ColorToGray 0 ChangeColorDepth 1 SetPalette "
                 "#000000,#ff0000,#ff8000,#ffff00,#80ff00,#00ff00,#00ff80,#00ffff,#0080ff,#0000ff,"
                 "#8000ff,#ff00ff,#ff0080,#804000,#808080,#ffffff",
                 nullptr,
                 [](Call& c) {
                   RGBQUAD entries[256] = {};
                   c.image.fnIMG_GetPalette(entries);
                   const std::vector<RGBQUAD>& given = c.args[0].colours;
                   std::copy(given.begin(), given.end(), entries);
                   c.Code(c.image.fnIMG_SetPalette(entries));
                 }});
  ops.push_back({"GetPaletteSize",
                 "fnIMG_GetPaletteSize",
                 "",
                 kPalettes,
                 {},
                 Returns::kValue,
                 "the palette's size in bytes",
                 LAMINA_CODES(get_palette_size),
                 "ChangeColorDepth 0 GetPaletteSize",
                 nullptr,
                 [](Call& c) {
                   const int v = c.image.fnIMG_GetPaletteSize();
                   if (v < 0)
                     c.Sentinel(v);
                   else
                     c.Number("bytes", v);
                 }});
  // -1 (no entry has the colour) is an answer, not a failure.
  ops.push_back({"GetPaletteIndex",
                 "fnIMG_GetPaletteIndex",
                 "RGBQUAD colour",
                 kPalettes,
                 {A("colour", Kind::kQuad, "the colour to look for")},
                 Returns::kValue,
                 "the first entry of that colour, -1 when none",
                 LAMINA_CODES(get_palette_index),
                 "ColorToGray 0 ChangeColorDepth 2 GetPaletteIndex #808080",
                 nullptr,
                 [](Call& c) {
                   const int v = c.image.fnIMG_GetPaletteIndex(c.args[0].quad);
                   if (v == -2)
                     c.Sentinel(v);
                   else
                     c.Number("index", v);
                 }});
  ops.push_back({"SetGrayPalette",
                 "fnIMG_SetGrayPalette",
                 "",
                 kPalettes,
                 {},
                 Returns::kCode,
                 "a result code",
                 LAMINA_CODES(palette),
                 "ChangeColorDepth 0 SetGrayPalette",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_SetGrayPalette()); }});
  ops.push_back({"IsGray",
                 "fnIMG_IsGray",
                 "",
                 kPalettes,
                 {},
                 Returns::kValue,
                 "1 gray, 0 not",
                 CodeTable{},
                 "IsGray",
                 nullptr,
                 [](Call& c) { c.Number("gray", c.image.fnIMG_IsGray()); }});
  ops.push_back({"PseudoColor",
                 "fnIMG_PseudoColor",
                 "",
                 kPalettes,
                 {},
                 Returns::kCode,
                 "a result code",
                 LAMINA_CODES(pseudo_color),
                 "PseudoColor",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_PseudoColor()); }});

  // ---- Drawing and monitors ----
  // The tool draws on a black memory surface of the size asked for, and the surface becomes the
  // image (24 bits, the image's name kept), so that what was drawn can be saved.
  ops.push_back({"Draw",
                 "fnIMG_Draw",
                 "CDC* pDC, int x, int y",
                 kDisplay,
                 {I("x", "the surface column of the image's top-left pixel"),
                  I("y", "the surface row of the image's top-left pixel"),
                  I("width", "the surface's width, 1 to 16384"),
                  I("height", "the surface's height, 1 to 16384")},
                 Returns::kCode,
                 "a result code; the surface becomes the image",
                 LAMINA_CODES(draw),
                 "Draw 64 48 384 288",
                 nullptr,
                 [](Call& c) {
                   const int w = c.Int(2), h = c.Int(3);
                   if (w < 1 || h < 1 || w > 16384 || h > 16384) {
                     c.Refuse("the surface must be 1 to 16384 pixels each way");
                     return;
                   }
                   CMemoryDC dc(w, h, 0);
                   c.Code(c.image.fnIMG_Draw(&dc, c.Int(0), c.Int(1)));
                   if (c.outcome.failed) return;
                   const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
                   std::vector<unsigned char> rows(stride * static_cast<std::size_t>(h));
                   const DWORD* bits = dc.GetBits();
                   for (int r = 0; r < h; ++r) {
                     unsigned char* out =
                         rows.data() + stride * static_cast<std::size_t>(h - 1 - r);
                     for (int col = 0; col < w; ++col) {
                       const DWORD p = bits[static_cast<std::size_t>(r) * w + col];
                       out[3 * col] = static_cast<unsigned char>(p);
                       out[3 * col + 1] = static_cast<unsigned char>(p >> 8);
                       out[3 * col + 2] = static_cast<unsigned char>(p >> 16);
                     }
                   }
                   const CString name =
                       c.image.fnIMG_GetFileName() + L"." + c.image.fnIMG_GetFileExt();
                   CLamina surface(rows.data(), nullptr, w, h, 24);
                   if (surface.fnIMG_GetColorDepth() != 24) {
                     c.Refuse("not enough memory for the surface's image");
                     return;
                   }
                   c.image = surface;
                   c.image.fnIMG_SetFileName(name);
                 }});
  ops.push_back({"GetMonitorsInfo",
                 "fnIMG_GetMonitorsInfo",
                 "",
                 kDisplay,
                 {},
                 Returns::kValue,
                 "the monitor report",
                 CodeTable{},
                 "GetMonitorsInfo",
                 nullptr,
                 [](Call& c) {
                   const CLamina::InfoMonitorestag m = c.image.fnIMG_GetMonitorsInfo();
                   c.Number("nMonitores", m.nMonitores);
                   c.Number("nPulgadas1", m.nPulgadas1);
                   c.Number("nPulgadas2", m.nPulgadas2);
                   c.Number("nResolucionX1", m.nResolucionX1);
                   c.Number("nResolucionY1", m.nResolucionY1);
                   c.Number("nResolucionX2", m.nResolucionX2);
                   c.Number("nResolucionY2", m.nResolucionY2);
                   c.Number("nTamanoX1", m.nTamanoX1);
                   c.Number("nTamanoY1", m.nTamanoY1);
                   c.Number("nTamanoX2", m.nTamanoX2);
                   c.Number("nTamanoY2", m.nTamanoY2);
                   c.Number("nPixelesPulgadaX1", m.nPixelesPulgadaX1);
                   c.Number("nPixelesPulgadaY1", m.nPixelesPulgadaY1);
                   c.Number("nPixelesPulgadaX2", m.nPixelesPulgadaX2);
                   c.Number("nPixelesPulgadaY2", m.nPixelesPulgadaY2);
                 }});
}

}  // namespace registry
}  // namespace lamina

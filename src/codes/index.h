// Every operation's result codes in one list, in the order of the interface: what the command-line
// tool explains a failure from and what the README's table is written from (`lamina codes
// --markdown`, checked by a test). Header-only data, read by the tool and the tests; the library
// itself never includes it, so the shared library exports nothing of it.
//
// An operation joins the index with one line below (and its family's codes.h among the includes).
#pragma once

#include "colour/codes.h"
#include "combine/codes.h"
#include "convert/codes.h"
#include "core/codes.h"
#include "core/result_codes.h"
#include "formats/codes.h"  // the PNG and JPEG library beside the core (from the repository root)
#include "frequency/codes.h"
#include "geometry/codes.h"
#include "intensity/codes.h"
#include "io/codes.h"
#include "neighbourhood/codes.h"

namespace lamina {
namespace codes {

struct IndexEntry {
  const char* members;            // the operations as the README's first column names them
  OperationCodes table;           // the first member's name, which the tool asks by, and the codes
  const char* returns = nullptr;  // what success gives, for operations that return a value
  const char* remark = nullptr;   // said after the codes (or instead of them)
  bool hex = false;               // the values are 32-bit unsigned sentinels
  bool remarkAdded = false;       // the remark tells a case this library added
};

// One entry a line where it fits, so that operations join and merge a line at a time.
// clang-format off
inline constexpr IndexEntry kIndex[] = {
    {"`fnIMG_Initialize` (both)", {"Initialize", initialize::kAll}},
    {"`fnIMG_GetPixel`", {"GetPixel", get_pixel::kAll}, "the value", nullptr, true},
    {"`fnIMG_SetPixel`, `fnIMG_GetRGBPixel`, `fnIMG_SetRGBPixel`", {"SetPixel", set_pixel::kAll},
     nullptr, "the point is tested first"},
    {"`fnIMG_GetAlfa`", {"GetAlfa", get_alfa::kAll}, "the alpha"},
    {"`fnIMG_SetAlfa(x, y, a)`", {"SetAlfa", set_alfa_at::kAll}, nullptr, "depth first"},
    {"`fnIMG_SetAlfa(a)`, `fnIMG_SetAlfa(mode)`", {"SetAlfa", set_alfa::kAll}},
    {"`fnIMG_GetPalette`, `fnIMG_SetPalette`, `fnIMG_SetGrayPalette`", {"GetPalette", palette::kAll}},
    {"`fnIMG_GetPaletteSize`", {"GetPaletteSize", get_palette_size::kAll}, "the size in bytes"},
    {"`fnIMG_GetPaletteIndex`", {"GetPaletteIndex", get_palette_index::kAll}, "the index"},
    {"`fnIMG_PseudoColor`", {"PseudoColor", pseudo_color::kAll}},
    {"`fnIMG_Draw`", {"Draw", draw::kAll}},
    {"`fnIMG_GetMonitorsInfo`", OperationCodes("GetMonitorsInfo"), nullptr,
     "no code: the record (the headless default when no display answers)"},
    {"`fnIMG_LoadBMP(CString)`", {"LoadBMP", load_bmp::kAll}},
    {"`fnIMG_LoadBMP(CFile*)`, `fnIMG_LoadBMPFromBuffer`", {"LoadBMP", load_bmp_data::kAll}, nullptr,
     "5 also for a null file or buffer, or a file that cannot be read in full"},
    {"`fnIMG_SaveBMP(CString)`", {"SaveBMP", save_bmp::kAll}},
    {"`fnIMG_SaveBMP(CFile*)`", {"SaveBMP", save_bmp_file::kAll}},
    {"`fnIMG_LoadRAW` (all four forms)", {"LoadRAW", load_raw::kAll}},
    {"`fnIMG_LoadRAWFromBuffer`", {"LoadRAWFromBuffer", load_raw_from_buffer::kAll}},
    {"`fnIMG_SaveRAW(CString)`", {"SaveRAW", save_raw::kAll}},
    {"`fnIMG_SaveRAW(CFile*)`", {"SaveRAW", save_raw_file::kAll}},
    {"`fnIMG_LoadPGM` (name and file forms)", {"LoadPGM", load_pgm::kAll}},
    {"`fnIMG_LoadPGMFromBuffer`", {"LoadPGMFromBuffer", load_pgm_from_buffer::kAll}},
    {"`fnIMG_SavePalette`", {"SavePalette", save_palette::kAll}},
    {"`fnIMG_LoadPalette`", {"LoadPalette", load_palette::kAll}},
    {"`LoadPNG`, `LoadPNGFromBuffer` (formats)", {"LoadPNG", load_png::kAll}},
    {"`LoadJPEG`, `LoadJPEGFromBuffer` (formats)", {"LoadJPEG", load_jpeg::kAll}},
    {"`SavePNG`, `SavePNGToBuffer` (formats)", {"SavePNG", save_png::kAll}},
    {"`SaveJPEG`, `SaveJPEGToBuffer` (formats)", {"SaveJPEG", save_jpeg::kAll}},
    {"`fnIMG_CopyToHandle`", OperationCodes("CopyToHandle"), "the new handle",
     "null when the image has no block, its header is one `fnIMG_CopyFromHandle` would not take, or memory is short"},
    {"`fnIMG_CopyFromHandle`", OperationCodes("CopyFromHandle"), nullptr,
     "no result: a bitmap it cannot take leaves the image unchanged (see below)"},
    {"`fnIMG_ChangeColorDepth`", {"ChangeColorDepth", change_color_depth::kAll}},
    {"`fnIMG_ColorToGray`", {"ColorToGray", color_to_gray::kAll}},
    {"`fnIMG_GetHistogram`, `fnIMG_GetInfoHistogram`", {"GetHistogram", histogram::kAll}, nullptr,
     "the output, a table of 1024 ints or the record, is left untouched"},
    {"`fnIMG_EqualizeHistogram`", {"EqualizeHistogram", equalize_histogram::kAll}},
    {"`fnIMG_GrayScaleLinealTransform`",
     {"GrayScaleLinealTransform", gray_scale_lineal_transform::kAll}},
    {"`fnIMG_NonLinearContrast`", {"NonLinearContrast", non_linear_contrast::kAll}},
    {"`fnIMG_Balance`, `fnIMG_Brightness`", {"Balance", balance::kAll}},
    {"`fnIMG_Gamma`", {"Gamma", gamma::kAll}},
    {"`fnIMG_ChangeGrayLevelsNumber`", {"ChangeGrayLevelsNumber", change_gray_levels_number::kAll}},
    {"`fnIMG_Negative` (both forms)", {"Negative", negative::kAll}},
    {"`fnIMG_GrayLevelSlicing`", {"GrayLevelSlicing", gray_level_slicing::kAll}},
    {"`fnIMG_FindThreshold`", {"FindThreshold", find_threshold::kAll}, "the threshold",
     "the second result is left untouched"},
    {"`fnIMG_Thresholding`", {"Thresholding", thresholding::kAll}},
    {"`fnIMG_AdaptiveLocalThresholding`",
     {"AdaptiveLocalThresholding", adaptive_local_thresholding::kAll}, nullptr,
     "the depth is tested first"},
    {"`fnIMG_BitPlane`", {"BitPlane", bit_plane::kAll}, nullptr, "other depths: 0, unchanged"},
    {"`fnIMG_BitPlaneErase`", OperationCodes("BitPlaneErase"), nullptr, "always 0"},
    {"`fnIMG_AddNoise`", {"AddNoise", add_noise::kAll}},
    {"`fnIMG_AverageRow`, `fnIMG_AverageColumn`, `fnIMG_AverageImg`", {"AverageRow", average::kAll},
     "the mean index"},
    {"`fnIMG_Rotation` (both forms)", {"Rotation", rotation::kAll}},
    {"`fnIMG_Scaling`", {"Scaling", scaling::kAll}},
    {"`fnIMG_ScotomaZoom`", {"ScotomaZoom", scotoma::kAll}},
    {"`fnIMG_Translation(mode, dx, dy, colour)`", {"Translation", translation::kAll}},
    {"`fnIMG_Translation(mode, distance, angle, direction, colour, info)`",
     {"Translation", translation_length::kAll}},
    {"`fnIMG_CalcularDesplazamientos`", {"CalcularDesplazamientos", calcular_desplazamientos::kAll}},
    {"`fnIMG_Flip`", {"Flip", flip::kAll}},
    {"`fnIMG_Crop`", {"Crop", crop::kAll}},
    {"`fnIMG_Interlace`", {"Interlace", interlace::kAll}},
    {"`fnIMG_DeInterlace`", {"DeInterlace", de_interlace::kAll}},
    {"`fnIMG_Ellipse`", {"Ellipse", ellipse::kAll}},
    {"`fnIMG_Undulation`", {"Undulation", undulation::kAll}},
    {"`fnIMG_Spiral`", {"Spiral", spiral::kAll}, nullptr, "a radius of 0 or less gives 0 and changes nothing"},
    {"`fnIMG_Inclination`", {"Inclination", inclination::kAll}},
    {"`fnIMG_Mosaic`", {"Mosaic", mosaic::kAll}},
    {"`fnIMG_Emboss`", {"Emboss", emboss::kAll}, nullptr, "the depth is tested first"},
    {"`fnIMG_Hoover`", {"Hoover", hoover::kAll}},
    {"`transformation`", OperationCodes("transformation"), "true",
     "false when there is no memory for the result, the image unchanged", false, true},
    {"`fnIMG_Arithmetic(op, second)`", {"Arithmetic", arithmetic::kAll}},
    {"`fnIMG_Arithmetic(op, second, wA, wB, x, y)`", {"Arithmetic", weighted_arithmetic::kAll}},
    {"`fnIMG_Insert`", {"Insert", insert::kAll}},
    {"`fnIMG_Logic`", {"Logic", logic::kAll}, nullptr, "an image of a refused depth is left unchanged with 0"},
    {"`fnIMG_SetOps`", {"SetOps", set_ops::kAll}},
    {"`fnIMG_GetDifferentPixels`", {"GetDifferentPixels", different_pixels::kAll}, "the count"},
    {"`fnIMG_Filters`", {"Filters", filters::kAll}},
    {"`fnIMG_Convolution`", {"Convolution", convolution::kAll}},
    {"`fnIMG_Morphological`", {"Morphological", morphology::kAll}},
    {"`fnIMG_BinarySmoothing`", {"BinarySmoothing", binary_smoothing::kAll}},
    {"`fnIMG_RegionGrowing`", {"RegionGrowing", region_growing::kAll}},
    {"`fnIMG_FFT`", {"FFT", fft::kAll}},
    {"Colour conversions (`fnIMG_RGBToHSV` ...)", OperationCodes("RGBToCMYK"), nullptr,
     "no code: a scale outside the conversion's range gives a record of zeros, or black"},
    {"`fnIMG_Split`", {"Split", split::kAll}},
    {"`fnIMG_Fourier` (protected)", OperationCodes("Fourier"), nullptr,
     "no code: a null array or an m outside 0\u201330 is ignored"},
    {"`fnIMG_TransfPixel` (protected)", OperationCodes("TransfPixel"), nullptr, "always 1"},
};
// clang-format on

}  // namespace codes
}  // namespace lamina

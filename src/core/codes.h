// The result codes of the image core's operations, one namespace per operation in the order the
// operations are declared. Operations that return a value list the sentinels they return instead.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_Initialize, both forms.
namespace initialize {
inline constexpr ResultCode kDepth{1, "depth not supported"};
inline constexpr ResultCode kAll[] = {kDepth};
}  // namespace initialize

// fnIMG_GetPixel returns the value, or one of these.
namespace get_pixel {
inline constexpr ResultCode kOutside{static_cast<int>(0xFFFFFFFFu), "outside"};
inline constexpr ResultCode kDepth{static_cast<int>(0xFFFFFFFEu), "depth not supported"};
inline constexpr ResultCode kAll[] = {kOutside, kDepth};
}  // namespace get_pixel

// fnIMG_SetPixel, fnIMG_GetRGBPixel, fnIMG_SetRGBPixel.
namespace set_pixel {
inline constexpr ResultCode kOutside{1, "point outside the image"};
inline constexpr ResultCode kDepth{2, "depth not 1/4/8/24/32"};
inline constexpr ResultCode kAll[] = {kOutside, kDepth};
}  // namespace set_pixel

// fnIMG_GetAlfa returns the alpha, or one of these.
namespace get_alfa {
inline constexpr ResultCode kOutside{255, "outside"};
inline constexpr ResultCode kDepth{254, "not 32 bits"};
inline constexpr ResultCode kAll[] = {kOutside, kDepth};
}  // namespace get_alfa

// fnIMG_SetAlfa(x, y, alpha): the depth is tested first.
namespace set_alfa_at {
inline constexpr ResultCode kDepth{1, "not 32 bits"};
inline constexpr ResultCode kOutside{2, "outside"};
inline constexpr ResultCode kAll[] = {kDepth, kOutside};
}  // namespace set_alfa_at

// fnIMG_SetAlfa(alpha), fnIMG_SetAlfa(mode).
namespace set_alfa {
inline constexpr ResultCode kDepth{1, "not 32 bits"};
inline constexpr ResultCode kAll[] = {kDepth};
}  // namespace set_alfa

// fnIMG_GetPalette, fnIMG_SetPalette, fnIMG_SetGrayPalette.
namespace palette {
inline constexpr ResultCode kDepth{1, "depth without palette"};
inline constexpr ResultCode kAll[] = {kDepth};
}  // namespace palette

// fnIMG_GetPaletteSize returns the size in bytes, or this.
namespace get_palette_size {
inline constexpr ResultCode kDepth{-1, "depth without palette"};
inline constexpr ResultCode kAll[] = {kDepth};
}  // namespace get_palette_size

// fnIMG_GetPaletteIndex returns the index, or one of these.
namespace get_palette_index {
inline constexpr ResultCode kDepth{-2, "depth without palette"};
inline constexpr ResultCode kNoMatch{-1, "no entry matches"};
inline constexpr ResultCode kAll[] = {kDepth, kNoMatch};
}  // namespace get_palette_index

// fnIMG_PseudoColor.
namespace pseudo_color {
inline constexpr ResultCode kDepth{1, "depth not supported"};
inline constexpr ResultCode kAll[] = {kDepth};
}  // namespace pseudo_color

// fnIMG_Draw. The monitor report has no result code.
namespace draw {
inline constexpr ResultCode kNothingDrawn{
    1,
    "the image has no pixel rows, the context is null or has no surface, or no row was drawn "
    "(the image lies outside)"};
inline constexpr ResultCode kAll[] = {kNothingDrawn};
}  // namespace draw

}  // namespace codes
}  // namespace lamina

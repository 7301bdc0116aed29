// The result codes of the geometric operations, one namespace per operation in the order the
// operations are declared.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_Translation(mode, dx, dy, background).
namespace translation {
inline constexpr ResultCode kDepth{1, "depth not 1/4/8/24/32"};
inline constexpr ResultCode kMode{2, "mode not 0 or 1"};
inline constexpr ResultCode kTooLarge =
    Added({3, "the enlarged image would exceed an int on a side or 2 GiB of block"});
inline constexpr ResultCode kNoMemory = Added({4, "not enough memory"});
inline constexpr ResultCode kAll[] = {kDepth, kMode, kTooLarge, kNoMemory};
}  // namespace translation

// fnIMG_Translation(mode, distance, angle, direction, background, record).
namespace translation_length {
inline constexpr ResultCode kDepth{1, "depth"};
inline constexpr ResultCode kMode{2, "mode above 1 (negative included)"};
inline constexpr ResultCode kAngle{3, "angle below 0, above 80 or not a number"};
inline constexpr ResultCode kDirection{4, "direction below 0, above 360 or not a number"};
inline constexpr ResultCode kNoRecord = Added({5, "null record"});
inline constexpr ResultCode kTooLarge =
    Added({6, "the move in pixels does not fit in an int, or the enlarged image is too large"});
inline constexpr ResultCode kNoMemory = Added({7, "not enough memory"});
inline constexpr ResultCode kAll[] = {kDepth,    kMode,     kAngle,   kDirection,
                                      kNoRecord, kTooLarge, kNoMemory};
}  // namespace translation_length

// fnIMG_CalcularDesplazamientos.
namespace calcular_desplazamientos {
inline constexpr ResultCode kDistance{1, "distance below 0"};
inline constexpr ResultCode kAngle{2, "angle below 0, above 60 or not a number"};
inline constexpr ResultCode kNoRecord = Added({3, "null record"});
inline constexpr ResultCode kTooLarge = Added({4, "the move in pixels does not fit in an int"});
inline constexpr ResultCode kAll[] = {kDistance, kAngle, kNoRecord, kTooLarge};
}  // namespace calcular_desplazamientos

// fnIMG_Flip.
namespace flip {
inline constexpr ResultCode kMode{1, "mode not 0 or 1"};
inline constexpr ResultCode kDepth{2, "depth not 1/4/8/16/24/32"};
inline constexpr ResultCode kAll[] = {kMode, kDepth};
}  // namespace flip

// fnIMG_Crop.
namespace crop {
inline constexpr ResultCode kRectangle{
    1, "rectangle not inside the image, or narrower or lower than 2 pixels"};
inline constexpr ResultCode kDepth{2, "depth not supported"};
inline constexpr ResultCode kNoMemory = Added({3, "not enough memory"});
inline constexpr ResultCode kAll[] = {kRectangle, kDepth, kNoMemory};
}  // namespace crop

// fnIMG_Interlace.
namespace interlace {
inline constexpr ResultCode kMode{1, "mode"};
inline constexpr ResultCode kNullImage{2, "null image"};
inline constexpr ResultCode kDepth{3, "a depth not supported"};
inline constexpr ResultCode kDepthsDiffer{4, "depths differ"};
inline constexpr ResultCode kWidthsDiffer{5, "widths differ (mode 0)"};
inline constexpr ResultCode kHeightsDiffer{6, "heights differ (mode 1)"};
inline constexpr ResultCode kNoMemory =
    Added({7, "not enough memory, or the result would exceed 2^31 \u2212 1 pixels on a side"});
inline constexpr ResultCode kAll[] = {kMode,         kNullImage,     kDepth,   kDepthsDiffer,
                                      kWidthsDiffer, kHeightsDiffer, kNoMemory};
}  // namespace interlace

// fnIMG_DeInterlace.
namespace de_interlace {
inline constexpr ResultCode kDepth{1, "depth"};
inline constexpr ResultCode kMode{2, "mode"};
inline constexpr ResultCode kField{3, "field not 1 or 2"};
inline constexpr ResultCode kNoMemory = Added({4, "not enough memory"});
inline constexpr ResultCode kAll[] = {kDepth, kMode, kField, kNoMemory};
}  // namespace de_interlace

}  // namespace codes
}  // namespace lamina

// Result codes of the geometry family (see core/result_codes.h for the form), one namespace per
// operation.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_Translation(mode, dx, dy, background).
namespace translation {
inline constexpr ResultCode kDepth{1, "the depth is not 1, 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kMode{2, "the mode is neither 0 nor 1"};
inline constexpr ResultCode kTooLarge{3, "the enlarged image would not fit in one block"};
inline constexpr ResultCode kNoMemory{4, "not enough memory for the moved image"};
inline constexpr ResultCode kAll[] = {kDepth, kMode, kTooLarge, kNoMemory};
}  // namespace translation

// fnIMG_Translation(mode, distance, angle, direction, background, record).
namespace translation_length {
inline constexpr ResultCode kDepth{1, "the depth is not 1, 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kMode{2, "the mode is above 1"};
inline constexpr ResultCode kAngle{3, "the angle is below 0, above 80 or not a number"};
inline constexpr ResultCode kDirection{4, "the direction is below 0, above 360 or not a number"};
inline constexpr ResultCode kNoRecord{5, "no record to fill"};
inline constexpr ResultCode kTooLarge{6, "the move in pixels, or the enlarged image, is too large"};
inline constexpr ResultCode kNoMemory{7, "not enough memory for the moved image"};
inline constexpr ResultCode kAll[] = {kDepth,    kMode,     kAngle,   kDirection,
                                      kNoRecord, kTooLarge, kNoMemory};
}  // namespace translation_length

// fnIMG_CalcularDesplazamientos.
namespace calcular_desplazamientos {
inline constexpr ResultCode kDistance{1, "the distance is below 0"};
inline constexpr ResultCode kAngle{2, "the angle is below 0, above 60 or not a number"};
inline constexpr ResultCode kNoRecord{3, "no record to fill"};
inline constexpr ResultCode kTooLarge{4, "the move in pixels does not fit in an int"};
inline constexpr ResultCode kAll[] = {kDistance, kAngle, kNoRecord, kTooLarge};
}  // namespace calcular_desplazamientos

}  // namespace codes
}  // namespace lamina

// The geometry family's result codes, one namespace per operation, numbered in the order each
// operation checks (see core/result_codes.h). Codes past the first failures the interface always
// had are this library's own: a result that cannot be built, and arguments that are not numbers.
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

// ---- Rotation, scaling, scotoma zoom --------------------------------------------------------

namespace rotation {
inline constexpr ResultCode kAngle{1, "an angle is below -360, above 360 or not a number"};
inline constexpr ResultCode kDepth{2, "the depth is not 1, 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kMode{3, "the size mode is neither 0 nor 1"};
inline constexpr ResultCode kNoMemory{4, "not enough memory for the turned image"};
inline constexpr ResultCode kAll[] = {kAngle, kDepth, kMode, kNoMemory};
}  // namespace rotation

namespace scaling {
inline constexpr ResultCode kValue{1, "a value is below 0 or not a finite number"};
inline constexpr ResultCode kUnit{2, "the unit is neither 0 nor 1"};
inline constexpr ResultCode kDepth{3, "the depth is not 1, 4, 8, 24 or 32 bits, or no image"};
inline constexpr ResultCode kTooLarge{
    4, "the result would not fit in memory or in the header's fields"};
inline constexpr ResultCode kAll[] = {kValue, kUnit, kDepth, kTooLarge};
}  // namespace scaling

namespace scotoma {
inline constexpr ResultCode kOrientation{1, "the orientation is neither 0 nor 1"};
inline constexpr ResultCode kGeometry{
    2, "the band or the reach leaves the image, or a width or reach is negative"};
inline constexpr ResultCode kRoom{3, "the way room is made is neither 0 nor 1"};
inline constexpr ResultCode kFill{4, "the way the band is filled is neither 0 nor 1"};
inline constexpr ResultCode kDepth{5, "the depth is not 1, 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kNoMemory{6, "not enough memory for the copies"};
inline constexpr ResultCode kAll[] = {kOrientation, kGeometry, kRoom, kFill, kDepth, kNoMemory};
}  // namespace scotoma

// ---- Distortion effects ---------------------------------------------------------------------

namespace ellipse {
inline constexpr ResultCode kDepth{1, "the depth is not 1, 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kNoMemory{2, "not enough memory for the copy"};
inline constexpr ResultCode kAll[] = {kDepth, kNoMemory};
}  // namespace ellipse

namespace undulation {
inline constexpr ResultCode kDirection{1, "the direction is neither 0 nor 1"};
inline constexpr ResultCode kDepth{2, "the depth is not 1, 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kNoMemory{3, "not enough memory for the copy"};
inline constexpr ResultCode kAll[] = {kDirection, kDepth, kNoMemory};
}  // namespace undulation

namespace spiral {
inline constexpr ResultCode kDepth{1, "the depth is not 1, 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kTwist{2, "the twist is not a finite number"};
inline constexpr ResultCode kNoMemory{3, "not enough memory for the result"};
inline constexpr ResultCode kAll[] = {kDepth, kTwist, kNoMemory};
}  // namespace spiral

namespace inclination {
inline constexpr ResultCode kDepth{1, "the depth is not 1, 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kKind{2, "the kind is not 0 to 9"};
inline constexpr ResultCode kAmount{3, "the amount is below 0, above 100 or not a number"};
inline constexpr ResultCode kNoMemory{4, "not enough memory for the copy"};
inline constexpr ResultCode kAll[] = {kDepth, kKind, kAmount, kNoMemory};
}  // namespace inclination

namespace mosaic {
inline constexpr ResultCode kBlock{1, "a block side is below 1 or above half the image's side"};
inline constexpr ResultCode kDepth{2, "the depth is not 1, 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kNoMemory{3, "not enough memory for the block sums"};
inline constexpr ResultCode kAll[] = {kBlock, kDepth, kNoMemory};
}  // namespace mosaic

namespace emboss {
inline constexpr ResultCode kDepth{2, "the depth is neither 4 nor 8 bits"};
inline constexpr ResultCode kDistance{1, "the distance is not 1, 3 or 5"};
inline constexpr ResultCode kNoMemory{3, "not enough memory for the copies"};
inline constexpr ResultCode kAll[] = {kDepth, kDistance, kNoMemory};
}  // namespace emboss

namespace hoover {
inline constexpr ResultCode kMode{1, "the mode is neither 0 nor 1"};
inline constexpr ResultCode kPoint{2, "the point is not inside the image"};
inline constexpr ResultCode kPasses{3, "the number of passes is below 1"};
inline constexpr ResultCode kDepth{4, "the depth is not 1, 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kAll[] = {kMode, kPoint, kPasses, kDepth};
}  // namespace hoover

}  // namespace codes
}  // namespace lamina

// The result codes of the geometric operations, one namespace per operation in the order the
// operations are declared.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// ---- Rotation, scaling, scotoma zoom --------------------------------------------------------

// fnIMG_Rotation, both forms.
namespace rotation {
inline constexpr ResultCode kAngle =
    Widened({1, "an angle below \u2212360 or above 360"}, "or not a number");
inline constexpr ResultCode kDepth{2, "depth not 1/4/8/24/32"};
inline constexpr ResultCode kMode{3, "size mode not 0 or 1"};
inline constexpr ResultCode kNoMemory = Added({4, "not enough memory"});
inline constexpr ResultCode kAll[] = {kAngle, kDepth, kMode, kNoMemory};
}  // namespace rotation

// fnIMG_Scaling.
namespace scaling {
inline constexpr ResultCode kValue = Widened({1, "a value below 0"}, "or not a finite number");
inline constexpr ResultCode kUnit{2, "unit not 0 or 1"};
inline constexpr ResultCode kDepth =
    Added({3, "depth not 1/4/8/24/32 (a 16-bit image, or no image)"});
inline constexpr ResultCode kTooLarge =
    Added({4, "the result would not fit in memory or in the header's fields"});
inline constexpr ResultCode kAll[] = {kValue, kUnit, kDepth, kTooLarge};
}  // namespace scaling

// fnIMG_ScotomaZoom.
namespace scotoma {
inline constexpr ResultCode kOrientation{1, "orientation not 0 or 1"};
inline constexpr ResultCode kGeometry =
    Widened({2, "the band or the reach leaves the image"}, "or a width or reach is negative");
inline constexpr ResultCode kRoom{3, "room not 0 or 1"};
inline constexpr ResultCode kFill{4, "fill not 0 or 1"};
inline constexpr ResultCode kDepth{5, "depth not 1/4/8/24/32"};
inline constexpr ResultCode kNoMemory = Added({6, "not enough memory"});
inline constexpr ResultCode kAll[] = {kOrientation, kGeometry, kRoom, kFill, kDepth, kNoMemory};
}  // namespace scotoma

// ---- Translation ---------------------------------------------------------------------------

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

// ---- Flip, crop, interlace ----------------------------------------------------------------

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

// ---- Distortion effects ---------------------------------------------------------------------

// fnIMG_Ellipse.
namespace ellipse {
inline constexpr ResultCode kDepth{1, "depth not 1/4/8/24/32"};
inline constexpr ResultCode kNoMemory = Added({2, "not enough memory"});
inline constexpr ResultCode kAll[] = {kDepth, kNoMemory};
}  // namespace ellipse

// fnIMG_Undulation.
namespace undulation {
inline constexpr ResultCode kDirection{1, "direction not 0 or 1"};
inline constexpr ResultCode kDepth{2, "depth not 1/4/8/24/32"};
inline constexpr ResultCode kNoMemory = Added({3, "not enough memory"});
inline constexpr ResultCode kAll[] = {kDirection, kDepth, kNoMemory};
}  // namespace undulation

// fnIMG_Spiral. A radius of 0 or less gives 0 and changes nothing.
namespace spiral {
inline constexpr ResultCode kDepth{1, "depth not 1/4/8/24/32"};
inline constexpr ResultCode kTwist = Added({2, "twist not a finite number"});
inline constexpr ResultCode kNoMemory = Added({3, "not enough memory"});
inline constexpr ResultCode kAll[] = {kDepth, kTwist, kNoMemory};
}  // namespace spiral

// fnIMG_Inclination.
namespace inclination {
inline constexpr ResultCode kDepth{1, "depth not 1/4/8/24/32"};
inline constexpr ResultCode kKind{2, "kind not 0\u20139"};
inline constexpr ResultCode kAmount =
    Widened({3, "amount below 0 or above 100"}, "or not a number");
inline constexpr ResultCode kNoMemory = Added({4, "not enough memory"});
inline constexpr ResultCode kAll[] = {kDepth, kKind, kAmount, kNoMemory};
}  // namespace inclination

// fnIMG_Mosaic.
namespace mosaic {
inline constexpr ResultCode kBlock{1, "a block side below 1 or above half the image's"};
inline constexpr ResultCode kDepth = Added({2, "depth not 1/4/8/24/32 (a 16-bit image)"});
inline constexpr ResultCode kNoMemory = Added({3, "not enough memory"});
inline constexpr ResultCode kAll[] = {kBlock, kDepth, kNoMemory};
}  // namespace mosaic

// fnIMG_Emboss: the depth is tested first.
namespace emboss {
inline constexpr ResultCode kDepth{2, "depth not 4 or 8"};
inline constexpr ResultCode kDistance{1, "distance not 1, 3 or 5"};
inline constexpr ResultCode kNoMemory = Added({3, "not enough memory"});
inline constexpr ResultCode kAll[] = {kDepth, kDistance, kNoMemory};
}  // namespace emboss

// fnIMG_Hoover.
namespace hoover {
inline constexpr ResultCode kMode{1, "mode not 0 or 1"};
inline constexpr ResultCode kPoint{2, "the point outside the image"};
inline constexpr ResultCode kPasses{3, "passes below 1"};
inline constexpr ResultCode kDepth{4, "depth not 1/4/8/24/32"};
inline constexpr ResultCode kAll[] = {kMode, kPoint, kPasses, kDepth};
}  // namespace hoover

}  // namespace codes
}  // namespace lamina

// The result codes of the geometric operations, one namespace per operation in the order the
// operations are declared.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

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

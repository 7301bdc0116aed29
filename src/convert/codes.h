// The result codes of the conversions, one namespace per operation in the order the operations
// are declared.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_ChangeColorDepth.
namespace change_color_depth {
inline constexpr ResultCode kIndex{1, "depth index above 4 (or negative)"};
inline constexpr ResultCode kDepth{2, "depth not 1/4/8/24/32"};
inline constexpr ResultCode kNoMemory = Added({3, "not enough memory"});
inline constexpr ResultCode kAll[] = {kIndex, kDepth, kNoMemory};
}  // namespace change_color_depth

// fnIMG_ColorToGray.
namespace color_to_gray {
inline constexpr ResultCode kDepth{1, "depth not supported"};
inline constexpr ResultCode kMethod{2, "method not 0 or 1"};
inline constexpr ResultCode kAll[] = {kDepth, kMethod};
}  // namespace color_to_gray

}  // namespace codes
}  // namespace lamina

// Result codes of the frequency-domain operations, one namespace per operation.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

namespace fft {
inline constexpr ResultCode kSize{1, "width x height is not a power of two"};
inline constexpr ResultCode kDepth{2, "the depth is not 8 bits"};
inline constexpr ResultCode kMode{3, "the mode is not 0 or 1"};
inline constexpr ResultCode kNoMemory{4, "not enough memory for the samples"};
inline constexpr ResultCode kAll[] = {kSize, kDepth, kMode, kNoMemory};
}  // namespace fft

}  // namespace codes
}  // namespace lamina

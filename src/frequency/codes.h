// Result codes of the frequency family: one namespace per operation, in the order each checks.
// Codes marked "new" report inputs the interface could not report before; they take the next free
// number of their operation.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_FFT
namespace fft {
inline constexpr ResultCode kSize{1, "width x height is not a power of two"};
inline constexpr ResultCode kDepth{2, "the depth is not 8 bits"};
inline constexpr ResultCode kMode{3, "the mode is not 0 or 1"};
inline constexpr ResultCode kNoMemory{4, "not enough memory for the samples"};  // new
inline constexpr ResultCode kAll[] = {kSize, kDepth, kMode, kNoMemory};
}  // namespace fft

}  // namespace codes
}  // namespace lamina

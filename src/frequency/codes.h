// The result codes of the frequency family, one namespace per operation.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_FFT: the size is tested before the depth.
namespace fft {
inline constexpr ResultCode kSize{1, "width x height not a power of two"};
inline constexpr ResultCode kDepth{2, "depth not 8 (the size is tested first)"};
inline constexpr ResultCode kMode{3, "mode not 0 or 1"};
inline constexpr ResultCode kNoMemory = Added({4, "not enough memory"});
inline constexpr ResultCode kAll[] = {kSize, kDepth, kMode, kNoMemory};
}  // namespace fft

}  // namespace codes
}  // namespace lamina

// Result codes of the neighbourhood family: one namespace per operation, in the order each checks.
// Codes marked "new" report inputs the interface could not report before; they take the next free
// number of their operation.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_Convolution
namespace convolution {
inline constexpr ResultCode kDepth{1, "the depth is not 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kDivisor{2, "the divisor is 0"};
inline constexpr ResultCode kMapping{3, "output mapping not 0, 1 or 2"};
inline constexpr ResultCode kBorder{4, "border mode not 0, 1 or 2"};
inline constexpr ResultCode kNoKernel{5, "no kernel for a size of 1 or more"};  // new
inline constexpr ResultCode kNoMemory{6, "not enough memory"};                  // new
inline constexpr ResultCode kAll[] = {kDepth, kDivisor, kMapping, kBorder, kNoKernel, kNoMemory};
}  // namespace convolution

// fnIMG_Filters
namespace filters {
inline constexpr ResultCode kDepth{1, "the depth is not 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kFilter{2, "filter number not in the table"};
inline constexpr ResultCode kMapping{3, "output mapping not 0, 1 or 2"};
inline constexpr ResultCode kBorder{4, "border mode not 0, 1 or 2"};
inline constexpr ResultCode kNoMemory{5, "not enough memory"};  // new
inline constexpr ResultCode kAll[] = {kDepth, kFilter, kMapping, kBorder, kNoMemory};
}  // namespace filters

}  // namespace codes
}  // namespace lamina

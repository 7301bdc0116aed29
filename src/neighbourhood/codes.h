// The result codes of the neighbourhood family, one namespace per operation in the order the
// operations are declared.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_Filters.
namespace filters {
inline constexpr ResultCode kDepth{1, "depth not 4/8/24/32"};
inline constexpr ResultCode kFilter{2, "number not in the table (38, 39, 69, below 0, above 77)"};
inline constexpr ResultCode kMapping{3, "mapping"};
inline constexpr ResultCode kBorder{4, "border"};
inline constexpr ResultCode kNoMemory = Added({5, "not enough memory"});
inline constexpr ResultCode kAll[] = {kDepth, kFilter, kMapping, kBorder, kNoMemory};
}  // namespace filters

// fnIMG_Convolution.
namespace convolution {
inline constexpr ResultCode kDepth{1, "depth not 4/8/24/32"};
inline constexpr ResultCode kDivisor{2, "divisor 0"};
inline constexpr ResultCode kMapping{3, "mapping not 0\u20132"};
inline constexpr ResultCode kBorder{4, "border not 0\u20132"};
inline constexpr ResultCode kNoKernel = Added({5, "null kernel with a size of 1 or more"});
inline constexpr ResultCode kNoMemory = Added({6, "not enough memory"});
inline constexpr ResultCode kAll[] = {kDepth, kDivisor, kMapping, kBorder, kNoKernel, kNoMemory};
}  // namespace convolution

// fnIMG_Morphological (a negative origin counts as outside the element).
namespace morphology {
inline constexpr ResultCode kOperation{1, "operation not 0\u20136"};
inline constexpr ResultCode kDepth{2, "depth not 1/4/8"};
inline constexpr ResultCode kOrigin =
    Widened({3, "origin not inside the element"}, "a negative origin included");
inline constexpr ResultCode kNoElement = Added({4, "null element"});
inline constexpr ResultCode kNoMemory = Added({5, "not enough memory"});
inline constexpr ResultCode kAll[] = {kOperation, kDepth, kOrigin, kNoElement, kNoMemory};
}  // namespace morphology

// fnIMG_BinarySmoothing.
namespace binary_smoothing {
inline constexpr ResultCode kDepth{1, "depth not 1"};
inline constexpr ResultCode kNoMemory = Added({2, "not enough memory"});
inline constexpr ResultCode kAll[] = {kDepth, kNoMemory};
}  // namespace binary_smoothing

// fnIMG_RegionGrowing.
namespace region_growing {
inline constexpr ResultCode kDepth{1, "depth not 4/8/24/32"};
inline constexpr ResultCode kSeed{2, "seed outside the image"};
inline constexpr ResultCode kDistance{3, "distance not 0 or 1"};
inline constexpr ResultCode kPercent{4, "percent not 0 or 1"};
inline constexpr ResultCode kNoMemory = Added({5, "not enough memory"});
inline constexpr ResultCode kAll[] = {kDepth, kSeed, kDistance, kPercent, kNoMemory};
}  // namespace region_growing

}  // namespace codes
}  // namespace lamina

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

// fnIMG_Morphological (a negative origin counts as outside the element)
namespace morphology {
inline constexpr ResultCode kOperation{1, "the operation is not 0 to 6"};
inline constexpr ResultCode kDepth{2, "the depth is not 1, 4 or 8 bits"};
inline constexpr ResultCode kOrigin{3, "the origin lies outside the structuring element"};
inline constexpr ResultCode kNoElement{4, "no structuring element"};                 // new
inline constexpr ResultCode kNoMemory{5, "not enough memory for the working rows"};  // new
inline constexpr ResultCode kAll[] = {kOperation, kDepth, kOrigin, kNoElement, kNoMemory};
}  // namespace morphology

// fnIMG_BinarySmoothing
namespace binary_smoothing {
inline constexpr ResultCode kDepth{1, "the image is not 1 bit deep"};
inline constexpr ResultCode kNoMemory{2, "not enough memory for the working rows"};  // new
inline constexpr ResultCode kAll[] = {kDepth, kNoMemory};
}  // namespace binary_smoothing

// fnIMG_RegionGrowing
namespace region_growing {
inline constexpr ResultCode kDepth{1, "the depth is not 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kSeed{2, "the seed lies outside the image"};
inline constexpr ResultCode kDistance{3, "the distance is not 0 or 1"};
inline constexpr ResultCode kPercent{4, "the tolerance form is not 0 or 1"};
inline constexpr ResultCode kNoMemory{5, "not enough memory for the marks and the queue"};  // new
inline constexpr ResultCode kAll[] = {kDepth, kSeed, kDistance, kPercent, kNoMemory};
}  // namespace region_growing

}  // namespace codes
}  // namespace lamina

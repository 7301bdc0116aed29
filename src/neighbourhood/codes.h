// Result codes of the neighbourhood operations, one namespace per operation.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

namespace morphology {
inline constexpr ResultCode kOperation{1, "the operation is not 0 to 6"};
inline constexpr ResultCode kDepth{2, "the depth is not 1, 4 or 8 bits"};
inline constexpr ResultCode kOrigin{3, "the origin lies outside the structuring element"};
inline constexpr ResultCode kNoElement{4, "no structuring element"};
inline constexpr ResultCode kNoMemory{5, "not enough memory for the working rows"};
inline constexpr ResultCode kAll[] = {kOperation, kDepth, kOrigin, kNoElement, kNoMemory};
}  // namespace morphology

namespace binary_smoothing {
inline constexpr ResultCode kDepth{1, "the image is not 1 bit deep"};
inline constexpr ResultCode kNoMemory{2, "not enough memory for the working rows"};
inline constexpr ResultCode kAll[] = {kDepth, kNoMemory};
}  // namespace binary_smoothing

namespace region_growing {
inline constexpr ResultCode kDepth{1, "the depth is not 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kSeed{2, "the seed lies outside the image"};
inline constexpr ResultCode kDistance{3, "the distance is not 0 or 1"};
inline constexpr ResultCode kPercent{4, "the tolerance form is not 0 or 1"};
inline constexpr ResultCode kNoMemory{5, "not enough memory for the marks and the queue"};
inline constexpr ResultCode kAll[] = {kDepth, kSeed, kDistance, kPercent, kNoMemory};
}  // namespace region_growing

}  // namespace codes
}  // namespace lamina

// The result codes of the colour-model operations. The single-colour conversions have none (a scale
// outside a conversion's range gives a record of zeros, or black).
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_Split.
namespace split {
inline constexpr ResultCode kDepth{1, "depth"};
inline constexpr ResultCode kOutputMissing{2, "an output missing"};
inline constexpr ResultCode kOutputSize{
    3, "an output's size differs (an output without an image counts as different)"};
inline constexpr ResultCode kOutputDepth{4, "an output not 8 bits"};
inline constexpr ResultCode kModel{5, "model outside 0\u201310"};
inline constexpr ResultCode kAll[] = {kDepth, kOutputMissing, kOutputSize, kOutputDepth, kModel};
}  // namespace split

}  // namespace codes
}  // namespace lamina

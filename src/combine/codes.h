// Result codes of the combination family: one namespace per operation, in the order each checks.
// Codes marked "new" report inputs the interface could not report before (a missing second
// image); they take the next free number of their operation.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_Arithmetic(operation, second)
namespace arithmetic {
inline constexpr ResultCode kOperation{1, "operation code not 0 to 6"};
inline constexpr ResultCode kDepth{2, "a depth not 1, 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kDepthsDiffer{3, "the depths differ and one is below 24 bits"};
inline constexpr ResultCode kNoSecond{4, "no second image"};  // new
inline constexpr ResultCode kAll[] = {kOperation, kDepth, kDepthsDiffer, kNoSecond};
}  // namespace arithmetic

// fnIMG_Arithmetic(operation, second, weightA, weightB, x, y)
namespace weighted_arithmetic {
inline constexpr ResultCode kOperation{1, "operation code not 0 to 6"};
inline constexpr ResultCode kDepth{2, "a depth not 1, 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kDepthsDiffer{3, "the depths differ and one is below 24 bits"};
inline constexpr ResultCode kWeight{4, "a weight below 0 or not a finite number"};
inline constexpr ResultCode kPosition{5, "the position lies outside the image"};
inline constexpr ResultCode kNoSecond{6, "no second image"};  // new
inline constexpr ResultCode kAll[] = {kOperation, kDepth,    kDepthsDiffer,
                                      kWeight,    kPosition, kNoSecond};
}  // namespace weighted_arithmetic

// fnIMG_Insert
namespace insert {
inline constexpr ResultCode kDepth{1, "a depth not 1, 4, 8, 24 or 32 bits"};
inline constexpr ResultCode kDepthsDiffer{2, "the depths differ and one is below 24 bits"};
inline constexpr ResultCode kNegative{3, "x or y below 0"};
inline constexpr ResultCode kBeyond{4, "x or y at or beyond the image's width or height"};
inline constexpr ResultCode kNoSecond{5, "no second image"};  // new
inline constexpr ResultCode kAll[] = {kDepth, kDepthsDiffer, kNegative, kBeyond, kNoSecond};
}  // namespace insert

// fnIMG_Logic
namespace logic {
inline constexpr ResultCode kOperation{1, "operation code not 0 to 5"};
inline constexpr ResultCode kNoSecond{2, "no second image for codes 1 to 5"};  // new
inline constexpr ResultCode kAll[] = {kOperation, kNoSecond};
}  // namespace logic

// fnIMG_SetOps
namespace set_ops {
inline constexpr ResultCode kOperation{1, "operation code not 0 to 4"};
inline constexpr ResultCode kColours{2, "an image's colour count is not 2"};
inline constexpr ResultCode kNoSecond{3, "no second image for codes 2 to 4"};  // new
inline constexpr ResultCode kAll[] = {kOperation, kColours, kNoSecond};
}  // namespace set_ops

// fnIMG_GetDifferentPixels returns a count; this is its one sentinel.
namespace different_pixels {
inline constexpr ResultCode kRefused{-1, "a depth not 1, 4, 8, 24 or 32 bits, or no second image"};
inline constexpr ResultCode kAll[] = {kRefused};
}  // namespace different_pixels

}  // namespace codes
}  // namespace lamina

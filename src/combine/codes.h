// The result codes of the combination family, one namespace per operation in the order the
// operations are declared. The codes for a missing second image are this library's own.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_Arithmetic(operation, second).
namespace arithmetic {
inline constexpr ResultCode kOperation{1, "operation not 0\u20136"};
inline constexpr ResultCode kDepth{2, "a depth not 1/4/8/24/32 (the image's first)"};
inline constexpr ResultCode kDepthsDiffer{3, "depths differ and one is below 24"};
inline constexpr ResultCode kNoSecond = Added({4, "null second image"});
inline constexpr ResultCode kAll[] = {kOperation, kDepth, kDepthsDiffer, kNoSecond};
}  // namespace arithmetic

// fnIMG_Arithmetic(operation, second, weightA, weightB, x, y), codes in the order it checks them.
namespace weighted_arithmetic {
inline constexpr ResultCode kOperation{1, "operation"};
inline constexpr ResultCode kDepth{2, "a depth"};
inline constexpr ResultCode kDepthsDiffer{3, "depths differ"};
inline constexpr ResultCode kWeight = Widened({4, "a weight below 0"}, "or not a finite number");
inline constexpr ResultCode kPosition{5, "position outside"};
inline constexpr ResultCode kNoSecond = Added({6, "null second image"});
inline constexpr ResultCode kAll[] = {kOperation, kDepth,        kWeight,
                                      kPosition,  kDepthsDiffer, kNoSecond};
}  // namespace weighted_arithmetic

// fnIMG_Insert.
namespace insert {
inline constexpr ResultCode kDepth{1, "a depth not 1/4/8/24/32"};
inline constexpr ResultCode kDepthsDiffer{2, "depths differ and one is below 24"};
inline constexpr ResultCode kNegative{3, "x or y below 0"};
inline constexpr ResultCode kBeyond{4, "x or y at or beyond the size"};
inline constexpr ResultCode kNoSecond = Added({5, "null second image"});
inline constexpr ResultCode kAll[] = {kDepth, kDepthsDiffer, kNegative, kBeyond, kNoSecond};
}  // namespace insert

// fnIMG_Logic. An image of a refused depth is left unchanged with 0.
namespace logic {
inline constexpr ResultCode kOperation{1, "operation not 0\u20135"};
inline constexpr ResultCode kNoSecond = Added({2, "null second image for codes 1\u20135"});
inline constexpr ResultCode kAll[] = {kOperation, kNoSecond};
}  // namespace logic

// fnIMG_SetOps.
namespace set_ops {
inline constexpr ResultCode kOperation{1, "operation not 0\u20134"};
inline constexpr ResultCode kColours{2, "a colour count other than 2"};
inline constexpr ResultCode kNoSecond = Added({3, "null second image for codes 2\u20134"});
inline constexpr ResultCode kAll[] = {kOperation, kColours, kNoSecond};
}  // namespace set_ops

// fnIMG_GetDifferentPixels returns the count, or this.
namespace different_pixels {
inline constexpr ResultCode kRefused =
    Widened({-1, "a depth not 1/4/8/24/32"}, "or a null second image");
inline constexpr ResultCode kAll[] = {kRefused};
}  // namespace different_pixels

}  // namespace codes
}  // namespace lamina

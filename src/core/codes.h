// Result codes of the image core's operations (see core/result_codes.h for the form).
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_Draw. The monitor report has no result code.
namespace draw {
inline constexpr ResultCode kNothingDrawn{1, "the image has no pixel rows, or no row was drawn"};
inline constexpr ResultCode kAll[] = {kNothingDrawn};
}  // namespace draw

}  // namespace codes
}  // namespace lamina

// The order and mean filters of fnIMG_Filters (median, maximum, minimum, midpoint, extreme value,
// geometric and harmonic mean), computed on the working values of a fixed window.
#pragma once

#include "CLamina.h"

namespace lamina {
namespace neighbourhood {
namespace detail {

// Filter numbers 22-25, 66-68, 70-77. False when memory is short (the image unchanged).
bool OrderFilter(CLamina& img, int filter);

}  // namespace detail
}  // namespace neighbourhood
}  // namespace lamina

// The geometry family's operations as plain functions, for the operations of other families that
// are defined through them (the public members forward here). Each returns the member's code.
#pragma once

#include "CLamina.h"

namespace lamina {
namespace geometry {

int Flip(CLamina& img, int mode);
int Crop(CLamina& img, int x1, int y1, int x2, int y2);

}  // namespace geometry
}  // namespace lamina

// The geometry family's operations as plain functions, for the operations of other families that
// are defined through them (the public members forward here). Each returns the member's code.
#pragma once

#include "CLamina.h"

namespace lamina {
namespace geometry {

int Flip(CLamina& img, int mode);
int Crop(CLamina& img, int x1, int y1, int x2, int y2);
// fnIMG_Scaling's work: the scotoma zoom squeezes the two sides of its band through it.
int Scaling(CLamina& img, float horizontal, float vertical, int unit);

}  // namespace geometry
}  // namespace lamina

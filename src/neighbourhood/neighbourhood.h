// The neighbourhood family's operations as plain functions (the public members forward here). Each
// returns the member's code.
#pragma once

#include "CLamina.h"

namespace lamina {
namespace neighbourhood {

int Morphological(CLamina& img, int operation, const unsigned char* element, int elementWidth,
                  int elementHeight, int originX, int originY);
int BinarySmoothing(CLamina& img, CLamina::CualesSuavizadoBinario rules);
int RegionGrowing(CLamina& img, int seedX, int seedY, int distance, int percent,
                  unsigned char tolerance, unsigned long fill);

}  // namespace neighbourhood
}  // namespace lamina

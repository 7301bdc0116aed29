// The neighbourhood family's operations as plain functions, for the operations of other families
// that are defined through them (the public members forward here). Each returns the member's code.
#pragma once

#include "CLamina.h"

namespace lamina {
namespace neighbourhood {

// Convolution with the caller's size x size kernel (mapping 0 stretch, 1 clip, 2 absolute value;
// border 0 leave the frame, 1 pad with the value 255, 2 pad with shifted copies).
int Convolution(CLamina& img, int* kernel, int size, int divisor, int mapping, int border);
// One of the 75 predefined filters (numbers 0-37, 40-68, 70-77).
int Filters(CLamina& img, int filter, int mapping, int border);
int Morphological(CLamina& img, int operation, const unsigned char* element, int elementWidth,
                  int elementHeight, int originX, int originY);
int BinarySmoothing(CLamina& img, CLamina::CualesSuavizadoBinario rules);
int RegionGrowing(CLamina& img, int seedX, int seedY, int distance, int percent,
                  unsigned char tolerance, unsigned long fill);

}  // namespace neighbourhood
}  // namespace lamina

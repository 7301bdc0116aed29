// The combination family's operations as plain functions, for the operations of other families
// that are defined through them (the public members forward here). Each returns the member's code.
#pragma once

#include "CLamina.h"

namespace lamina {
namespace combine {

// Plain arithmetic on the common top-left area (operation 0 add ... 6 minimum).
int Arithmetic(CLamina& img, int operation, CLamina* second);
// Weighted arithmetic with the second image's top-left pixel on (x, y).
int Arithmetic(CLamina& img, int operation, CLamina* second, float weightA, float weightB, int x,
               int y);
int Insert(CLamina& img, CLamina* second, int x, int y);
int Logic(CLamina& img, int operation, CLamina* second);
int SetOps(CLamina& img, int operation, CLamina* second);
int GetDifferentPixels(CLamina& img, CLamina* second);

}  // namespace combine
}  // namespace lamina

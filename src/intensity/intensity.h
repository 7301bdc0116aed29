// The intensity family's operations as plain functions, for the operations of other families that
// are defined through them (the public members forward here). Each returns the member's code.
#pragma once

#include "CLamina.h"

namespace lamina {
namespace intensity {

int Negative(CLamina& img);
int Negative(CLamina& img, CLamina::CualesRGB channels);
int GetHistogram(CLamina& img, int* table, int maxHeight);
int GetInfoHistogram(CLamina& img, CLamina::InformacionHistograma* info);
int AverageImg(CLamina& img, RGBQUAD* mean);

}  // namespace intensity
}  // namespace lamina

// The translation family's plain functions: the move by pixels, for the move by a length, and the
// conversions of a length into pixels with the display facts given, so that they can be driven by
// known displays.
#pragma once

#include "CLamina.h"
#include "core/display.h"

namespace lamina {
namespace geometry {

int Translation(CLamina& img, int mode, int dx, int dy, unsigned long background);

int TranslationByLength(CLamina& img, int mode, int distance, float angle, float direction,
                        unsigned long background, CLamina::InfoDesplazamientotag* info,
                        const display::DisplayFacts& facts);

int CalcularDesplazamientos(int distance, float angle, int monitor,
                            CLamina::InfoDesplazamientotag* info,
                            const display::DisplayFacts& facts);

}  // namespace geometry
}  // namespace lamina

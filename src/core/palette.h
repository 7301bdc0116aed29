// Palette access and the gray test as plain functions over a view, for whole-image operations of
// every family (the public members forward here).
#pragma once

#include "core/pixel_access.h"

namespace lamina {

// Copies `entries` over the palette entries the image holds (nothing without a palette).
void SetPalette(const ImageView& v, const RGBQUAD* entries);

// Makes the palette the gray ramp of its own length: entry i = i * (255 / (n - 1)) in blue, green
// and red, reserved bytes kept (a palette of one entry becomes black).
void SetGrayRamp(const ImageView& v);

// A palette image is gray when every entry it holds has blue = green = red; a 24 or 32-bit image
// when every pixel has. Other depths are not gray.
bool IsGray(const ImageView& v);

}  // namespace lamina

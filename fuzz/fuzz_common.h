// Shared by the fuzzing targets: after a load, touch the image the way a caller would, so that a
// header that slipped through with sizes its block does not hold shows up as a sanitizer report.
#pragma once

#include <cstdint>
#include <vector>

#include "CLamina.h"
#include "lamina/memory.h"

namespace lamina_fuzz {

inline void Exercise(CLamina& img) {
  const int w = img.fnIMG_GetColumns(), h = img.fnIMG_GetRows();
  // The four corners and the centre through the checked accessors.
  const int xs[] = {0, w - 1, w / 2}, ys[] = {0, h - 1, h / 2};
  unsigned long sum = 0;
  for (int x : xs)
    for (int y : ys) {
      sum += img.fnIMG_GetPixel(x, y);
      RGBQUAD c{};
      img.fnIMG_GetRGBPixel(x, y, &c);
      sum += c.rgbRed;
    }
  // Every byte of the rows, as a save would read them.
  std::vector<unsigned char> bits(
      static_cast<std::size_t>(img.fnIMG_GetBitmapSize() > 0 ? img.fnIMG_GetBitmapSize() : 0));
  if (!bits.empty() && bits.size() < (64u << 20)) img.fnIMG_GetBitmap(bits.data());
  // Out through a handle and back into another image.
  if (void* handle = img.fnIMG_CopyToHandle()) {
    CLamina other;
    other.fnIMG_CopyFromHandle(handle);
    sum += other.fnIMG_GetPixel(0, 0);
    GlobalFree(handle);
  }
  CLamina copy(img);
  sum += copy.fnIMG_GetColorDepth();
  volatile unsigned long sink = sum;
  (void)sink;
}

}  // namespace lamina_fuzz

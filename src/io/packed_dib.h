// The one rule every reader and writer of packed bitmaps follows (BMP files by name, file object
// and buffer; movable memory handles): what the library writes, it reads back. A header that passes
// here is taken by every loader; a writer refuses any other header rather than write a file or a
// handle that no loader, ours included, would take.
//
// Images without pixels (a width or a height of 0) pass: the data constructor makes them and
// de-interlacing a single row leaves one, and files such images were saved to must load again.
// Above 8 bits `biClrUsed` never sizes a palette (at most a display hint table of 256 entries or
// fewer, which the rows do not depend on), so any value passes there; at 1, 4 and 8 bits it sizes
// the palette and must not exceed the indices the depth has.
#pragma once

#include <cstdint>

#include "core/pixel_access.h"
#include "lamina/wintypes.h"

namespace lamina {
namespace io {

// A compact 40-byte header with a depth of 1, 4, 8, 16, 24 or 32 bits, no compression, a width and
// a height of 0 or more and no more palette entries than indices.
inline bool ExchangeableHeader(const BITMAPINFOHEADER& h) {
  if (h.biSize != 40 || h.biCompression != 0) return false;
  if (!InMask(kLoadableDepthMask, h.biBitCount)) return false;
  if (h.biWidth < 0 || h.biHeight < 0) return false;
  return h.biBitCount > 8 || ColourCount(h) <= Levels(h.biBitCount);
}

// For the writers, which write `biSizeImage` bytes of rows: the header passes and those bytes cover
// every row.
inline bool WritableHeader(const BITMAPINFOHEADER& h) {
  return ExchangeableHeader(h) &&
         std::int64_t{h.biSizeImage} >= Stride64(h.biWidth, h.biBitCount) * h.biHeight;
}

}  // namespace io
}  // namespace lamina

// The device-independent-bitmap blit shared by every drawing surface: where the visible part of a
// bitmap band lands on a surface of a given size, and the conversion of its rows to 32-bit pixels
// (blue + green x 256 + red x 65536). Each surface then only says where the converted rows go.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lamina/cdc.h"
#include "lamina/wintypes.h"

namespace lamina {
namespace platform {

struct BlitPlan {
  int destX = 0, destY = 0;   // the top-left surface pixel written
  int width = 0, height = 0;  // pixels per row and rows written; 0 when nothing is visible
  int srcX = 0;               // the bitmap column drawn at destX
  const std::uint8_t* topRow = nullptr;  // the stored row drawn at destY
  std::ptrdiff_t stride = 0;             // bytes between stored rows (rows above lie lower)
  int bpp = 0;
  std::uint32_t palette[256] = {};  // at 1, 4 and 8 bits: every index's colour, black beyond
};

// Resolves a SetDIBitsToDevice call against a surface of `surfaceWidth` x `surfaceHeight`. Returns
// false, with nothing to draw, for a bitmap it cannot draw or when no pixel is visible.
bool PlanBlit(int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
              UINT scanLines, const void* bits, const BITMAPINFO* info, UINT colourUse,
              int surfaceWidth, int surfaceHeight, BlitPlan* plan);

// Converts the planned rows, the top one first, into `out`, whose rows lie `outStride` pixels
// apart; pixel (0, 0) of `out` receives the plan's top-left pixel.
void ConvertRows(const BlitPlan& plan, std::uint32_t* out, std::ptrdiff_t outStride);

}  // namespace platform
}  // namespace lamina

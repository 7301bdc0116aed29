// Device contexts: the detached base, the bitmap blit that dispatches on the handle, and the memory
// surface.
#include "lamina/cdc.h"

#include <cstdint>
#include <cstdlib>

#include "platform/dib_blit.h"

CDC::CDC() : m_hDC(nullptr) {}
CDC::~CDC() = default;

int CDC::DrawDIB(int, int, DWORD, DWORD, int, int, UINT, UINT, const void*, const BITMAPINFO*,
                 UINT) {
  return 0;
}

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info,
                      UINT colourUse) {
  if (hdc == nullptr) return 0;
  return reinterpret_cast<CDC*>(hdc)->DrawDIB(xDest, yDest, width, height, xSrc, ySrc, startScan,
                                              scanLines, bits, info, colourUse);
}

namespace {
// COLORREF keeps red in the low byte, surface pixels keep blue there.
DWORD SurfacePixel(COLORREF c) { return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu); }
}  // namespace

CMemoryDC::CMemoryDC(int width, int height, COLORREF background)
    : m_width(0), m_height(0), m_bits(nullptr) {
  if (width <= 0 || height <= 0) return;
  const std::uint64_t count = std::uint64_t(width) * std::uint64_t(height);
  if (count > (std::uint64_t{1} << 29)) return;  // 2^31 bytes of pixels
  m_bits = static_cast<DWORD*>(std::malloc(static_cast<std::size_t>(count) * sizeof(DWORD)));
  if (m_bits == nullptr) return;
  const DWORD fill = SurfacePixel(background);
  for (std::uint64_t i = 0; i < count; ++i) m_bits[i] = fill;
  m_width = width;
  m_height = height;
  AttachSurface();
}

CMemoryDC::~CMemoryDC() { std::free(m_bits); }

COLORREF CMemoryDC::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
  return SurfacePixel(m_bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                             static_cast<std::size_t>(x)]);
}

int CMemoryDC::DrawDIB(int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                       UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info,
                       UINT colourUse) {
  lamina::platform::BlitPlan plan;
  if (!lamina::platform::PlanBlit(xDest, yDest, width, height, xSrc, ySrc, startScan, scanLines,
                                  bits, info, colourUse, m_width, m_height, &plan))
    return 0;
  const std::ptrdiff_t stride = m_width;
  ConvertRows(plan, m_bits + plan.destY * stride + plan.destX, stride);
  return plan.height;
}

// Building, adopting and handing over image blocks.
#include "core/block_access.h"

#include "platform/memory_internal.h"

#include <climits>
#include <cstring>

namespace lamina {
namespace detail {

std::uint8_t* BlockAccess::Allocate(std::size_t bytes, bool zero) {
  HGLOBAL h = GlobalAlloc(zero ? GHND : GMEM_MOVEABLE, bytes);
  if (h == nullptr) return nullptr;
  auto* p = static_cast<std::uint8_t*>(GlobalLock(h));
  if (p == nullptr) GlobalFree(h);
  return p;
}

void BlockAccess::Release(std::uint8_t* block) {
  if (block == nullptr) return;
  HGLOBAL h = GlobalHandle(block);
  GlobalUnlock(h);
  GlobalFree(h);
}

void BlockAccess::Adopt(CLamina& img, std::uint8_t* block, std::size_t bitsOffset) {
  Release(img.m_lpDib);
  img.m_lpDib = block;
  img.m_lpbmih = reinterpret_cast<BITMAPINFOHEADER*>(block);
  img.m_lpbmi = reinterpret_cast<BITMAPINFO*>(block);
  img.m_lpPalette =
      img.m_lpbmih->biBitCount <= 8 ? reinterpret_cast<RGBQUAD*>(block + 40) : nullptr;
  img.m_lpBits = block + bitsOffset;
}

std::uint8_t* BlockAccess::NewCompact(int width, int height, int bpp, const RGBQUAD* palette,
                                      bool zeroRows) {
  if (!IsSupportedDepth(bpp) || width < 0 || height < 0) return nullptr;
  const std::int64_t n = Levels(bpp);
  const std::int64_t paletteBytes = n <= 256 ? 4 * n : 0;
  const std::int64_t imageBytes = Stride64(width, bpp) * height;
  // Sizes are reported through int and DWORD fields: keep the whole block within INT_MAX.
  if (imageBytes > INT_MAX - 40 - paletteBytes) return nullptr;
  std::uint8_t* block =
      Allocate(static_cast<std::size_t>(40 + paletteBytes + imageBytes), zeroRows);
  if (block == nullptr) return nullptr;
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bpp);
  h.biCompression = 0;
  h.biSizeImage = static_cast<DWORD>(imageBytes);
  h.biClrUsed = static_cast<DWORD>(n);
  h.biClrImportant = static_cast<DWORD>(n);
  std::memcpy(block, &h, sizeof h);
  if (paletteBytes > 0) {
    auto* pal = reinterpret_cast<RGBQUAD*>(block + 40);
    if (palette != nullptr) {
      std::memcpy(pal, palette, static_cast<std::size_t>(paletteBytes));
    } else {
      for (std::int64_t i = 0; i < n; ++i) {
        const BYTE v = static_cast<BYTE>(i);
        pal[i] = RGBQUAD{v, v, v, 0};
      }
    }
  }
  return block;
}

void BlockAccess::Shrink(CLamina& img, std::size_t bytes) {
  if (img.m_lpDib == nullptr) return;
  const std::ptrdiff_t bitsOffset = img.m_lpBits - img.m_lpDib;
  auto* block = static_cast<std::uint8_t*>(platform::ShrinkLockedBlock(img.m_lpDib, bytes));
  img.m_lpDib = block;
  img.m_lpbmih = reinterpret_cast<BITMAPINFOHEADER*>(block);
  img.m_lpbmi = reinterpret_cast<BITMAPINFO*>(block);
  img.m_lpPalette = img.m_lpbmih->biBitCount <= 8 ? reinterpret_cast<RGBQUAD*>(block + 40) : nullptr;
  img.m_lpBits = block + bitsOffset;
}

void BlockAccess::TakeOver(CLamina& to, CLamina& from) {
  if (&to == &from) return;
  Release(to.m_lpDib);
  to.m_lpDib = from.m_lpDib;
  to.m_lpbmih = from.m_lpbmih;
  to.m_lpbmi = from.m_lpbmi;
  to.m_lpPalette = from.m_lpPalette;
  to.m_lpBits = from.m_lpBits;
  to.m_nAnchoAlineado = from.m_nAnchoAlineado;
  to.m_strFileName = from.m_strFileName;
  from.m_lpDib = nullptr;
  from.m_lpbmih = nullptr;
  from.m_lpbmi = nullptr;
  from.m_lpPalette = nullptr;
  from.m_lpBits = nullptr;
}

const BITMAPINFOHEADER& BlockAccess::Header(const CLamina& img) {
  // An object without a block reads as an empty image of depth 0, which every check refuses.
  static const BITMAPINFOHEADER kEmpty{};
  return img.m_lpbmih != nullptr ? *img.m_lpbmih : kEmpty;
}

}  // namespace detail
}  // namespace lamina

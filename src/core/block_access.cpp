// Building, adopting and handing over image blocks.
#include "core/block_access.h"

#include "platform/memory_internal.h"

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
  if (block != img.m_lpDib) Release(img.m_lpDib);
  Point(img, block, bitsOffset);
}

void BlockAccess::Drop(CLamina& img) {
  Release(img.m_lpDib);
  img.m_lpDib = nullptr;
  img.m_lpbmih = nullptr;
  img.m_lpbmi = nullptr;
  img.m_lpPalette = nullptr;
  img.m_lpBits = nullptr;
}

void BlockAccess::Point(CLamina& img, std::uint8_t* block, std::size_t bitsOffset) {
  img.m_lpDib = block;
  img.m_lpbmih = reinterpret_cast<BITMAPINFOHEADER*>(block);
  img.m_lpbmi = reinterpret_cast<BITMAPINFO*>(block);
  img.m_lpPalette =
      img.m_lpbmih->biBitCount <= 8 ? reinterpret_cast<RGBQUAD*>(block + 40) : nullptr;
  img.m_lpBits = block + bitsOffset;
}

void BlockAccess::Shrink(CLamina& img, std::size_t bytes) {
  if (img.m_lpDib == nullptr) return;
  const std::size_t bitsOffset = static_cast<std::size_t>(img.m_lpBits - img.m_lpDib);
  Point(img, static_cast<std::uint8_t*>(platform::ShrinkLockedBlock(img.m_lpDib, bytes)),
        bitsOffset);
}

const BITMAPINFOHEADER& BlockAccess::Header(const CLamina& img) {
  // An object without a block reads as an empty image of depth 0, which every check refuses.
  static const BITMAPINFOHEADER kEmpty{};
  return img.m_lpbmih != nullptr ? *img.m_lpbmih : kEmpty;
}

}  // namespace detail
}  // namespace lamina

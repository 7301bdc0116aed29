// The library's own access to an image's block: building a new block, swapping it in, and a view of
// the pixels. Operations that produce an image of another size or depth build it here and take its
// block over, which gives the same bytes as constructing a temporary image and assigning it, without
// the extra copy.
#pragma once

#include <cstddef>
#include <cstdint>

#include "CLamina.h"
#include "core/pixel_access.h"

namespace lamina {
namespace detail {

struct BlockAccess {
  // A zero-filled (unless `zero` is false), locked movable block, or null when memory is short.
  static std::uint8_t* Allocate(std::size_t bytes, bool zero = true);
  // Unlocks and frees a block that Allocate returned (null is ignored).
  static void Release(std::uint8_t* block);

  // Makes `block` the image's block (releasing the old one): the header at its start, the palette
  // right after the 40-byte header when the header's depth has one, the rows at `bitsOffset`.
  static void Adopt(CLamina& img, std::uint8_t* block, std::size_t bitsOffset);

  // A compact block for a new image of this size and depth: header as the data constructor writes
  // it, the palette copied from `palette` (or the index ramp when null), the rows zero. Null when
  // the depth is not supported, the size does not fit or memory is short. With `zeroRows` false the
  // rows are left unwritten: for callers that write every byte of every row, padding included,
  // which spares a pass over the new picture.
  static std::uint8_t* NewCompact(int width, int height, int bpp, const RGBQUAD* palette,
                                  bool zeroRows = true);

  // Shrinks the image's block to `bytes`, keeping its first `bytes` bytes; the rows stay at the
  // same offset from the block's start. The block may move.
  static void Shrink(CLamina& img, std::size_t bytes);

  // Moves `from`'s block into `to` (as assigning a temporary would), with its name and stride.
  static void TakeOver(CLamina& to, CLamina& from);

  static ImageView View(CLamina& img) {
    return MakeView(img.m_lpbmih, img.m_lpPalette, img.m_lpBits);
  }
  static bool HasBlock(const CLamina& img) { return img.m_lpDib != nullptr; }
  static const BITMAPINFOHEADER& Header(const CLamina& img);
  static CString& Name(CLamina& img) { return img.m_strFileName; }
  static int& CachedStride(CLamina& img) { return img.m_nAnchoAlineado; }
  static std::uint8_t* Block(CLamina& img) { return img.m_lpDib; }
};

}  // namespace detail

using detail::BlockAccess;

}  // namespace lamina

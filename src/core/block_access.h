// The library's own access to an image's block: allocating and releasing blocks, pointing an image
// into its block, and a view of the pixels. Operations build new images with NewImage
// (core/image_builder.h), which gives the same bytes as constructing a temporary image and
// assigning it, without the extra copy.
#pragma once

#include <cstddef>
#include <cstdint>

#include "CLamina.h"
#include "core/pixel_access.h"

namespace lamina {
namespace detail {

struct BlockAccess {
  // A zero-filled (unless `zero` is false), locked movable block, or null when memory is short.
  // New images are built with NewImage (core/image_builder.h), which calls this.
  static std::uint8_t* Allocate(std::size_t bytes, bool zero = true);
  // Unlocks and frees a block that Allocate returned (null is ignored).
  static void Release(std::uint8_t* block);

  // Makes `block` the image's block (releasing the old one) and points the image into it.
  static void Adopt(CLamina& img, std::uint8_t* block, std::size_t bitsOffset);
  // Releases the image's block and leaves it without one (null pointers).
  static void Drop(CLamina& img);
  // Points the image's header, palette and row pointers into `block`, read from its header: the
  // palette right after the 40-byte header when the depth has one, the rows at `bitsOffset`.
  static void Point(CLamina& img, std::uint8_t* block, std::size_t bitsOffset);

  // Shrinks the image's block to `bytes`, keeping its first `bytes` bytes; the rows stay at the
  // same offset from the block's start. The block may move.
  static void Shrink(CLamina& img, std::size_t bytes);

  static ImageView View(CLamina& img) {
    return MakeView(img.m_lpbmih, img.m_lpPalette, img.m_lpBits);
  }
  static bool HasBlock(const CLamina& img) { return img.m_lpDib != nullptr; }
  static const BITMAPINFOHEADER& Header(const CLamina& img);
  static CString& Name(CLamina& img) { return img.m_strFileName; }
  static int& CachedStride(CLamina& img) { return img.m_nAnchoAlineado; }
  // The pixel accessors store the stride they used in the image's cached field; a whole-image
  // loop that stands in for them leaves the same value behind (nothing when there are no pixels,
  // as no accessor call would have been made).
  static void NoteStride(CLamina& img, const ImageView& v) {
    if (v.width > 0 && v.height > 0) img.m_nAnchoAlineado = v.stride;
  }
  static std::uint8_t* Block(CLamina& img) { return img.m_lpDib; }
};

}  // namespace detail

using detail::BlockAccess;

}  // namespace lamina

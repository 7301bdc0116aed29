// The one way the library builds an image: a new block for a depth and geometry, filled through a
// view of its pixels and palette, then installed into an image in one step that cannot fail, so no
// operation ever leaves a half-built image behind. Until it is installed the new block belongs to
// the builder, and a builder that goes out of scope frees it: a failure part-way through an
// operation leaves the image as it was.
//
//   lamina::NewImage out(width, height, bpp, palette);
//   if (!out.Ok()) return codes::crop::kNoMemory;
//   ... write out.View() ...
//   out.InstallInto(*this);  // old block freed, name kept, stride recorded
#pragma once

#include <cstddef>
#include <cstdint>

#include "CLamina.h"
#include "core/pixel_access.h"

namespace lamina {

// The name a new image gets from the data constructor, and keeps until it is loaded or named.
inline constexpr wchar_t kDefaultImageName[] = L"SIN_NOMBRE.RAW";

// How the rows of a new block start.
enum class NewRows {
  // Every byte 0, as the data constructor leaves them.
  kZero,
  // Left unwritten for callers that write every pixel: only the bytes after the last whole
  // byte of each row's pixels are cleared (the padding, and the partial last byte of a 1 or
  // 4-bit row), so the result is what the data constructor's image filled pixel by pixel would
  // be. Spares a whole pass over a large image.
  kPixelsWritten,
};

// The header the data constructor writes for a new image: 40 bytes, one plane, no compression,
// biSizeImage = stride x height, biClrUsed = biClrImportant = `entries` (the depth's levels when
// negative), resolutions 0.
BITMAPINFOHEADER ConstructorHeader(int width, int height, int bpp, std::int64_t entries = -1);

// The palette of depth `bpp` that a new image takes from `source`: the entries the source holds,
// then the data constructor's own (i, i, i, 0) for the rest (all of them when the source has no
// palette). Never reads past the source's palette. `out` holds 256 entries.
void PaletteFrom(const ImageView& source, int bpp, RGBQUAD* out);

class NewImage {
 public:
  // A compact block for a `width` x `height` image of a supported depth (1, 4, 8, 24, 32): the
  // data constructor's header, a palette of `entries` entries at 1, 4 and 8 bits (the depth's
  // levels when negative) copied from `palette` or, when it is null, the ramp (i, i, i, 0).
  // Not Ok() when the depth is not supported, a side is negative, the block would exceed the
  // int-sized fields (2 GiB) or memory is short.
  NewImage(int width, int height, int bpp, const RGBQUAD* palette, NewRows rows = NewRows::kZero,
           std::int64_t entries = -1);

  // A block of `bytes` bytes whose layout the caller writes itself (a loaded file's header, gaps
  // and all); the rows start `bitsOffset` bytes in. The header must be in place before View() or
  // InstallInto(). Not Ok() when memory is short.
  static NewImage Raw(std::size_t bytes, std::size_t bitsOffset, bool zero);

  // Like Raw, but reuses `img`'s own block when it has exactly `bytes` bytes and does not overlap
  // [avoid, avoid + avoidBytes): loading frame after frame into one image then costs one copy,
  // not a fresh allocation whose pages all fault in again. The image's old contents are
  // overwritten by whatever the caller writes, so use it only where nothing can fail after the
  // first byte is written.
  static NewImage RawReusing(CLamina& img, std::size_t bytes, std::size_t bitsOffset,
                             const void* avoid, std::size_t avoidBytes);

  NewImage(NewImage&& other) noexcept;
  NewImage& operator=(NewImage&&) = delete;
  NewImage(const NewImage&) = delete;
  NewImage& operator=(const NewImage&) = delete;
  ~NewImage();

  bool Ok() const { return block_ != nullptr; }
  std::uint8_t* Block() const { return block_; }
  // Pixels and palette of the new image, read from its header.
  ImageView View() const;

  // Makes the new block `img`'s (releasing its old one): the pointers set from the header, the
  // name kept, and for a block built from a geometry the stride recorded in the image's cached
  // field as the data constructor records it (loaders, which build Raw blocks, leave that field
  // alone). The builder is empty afterwards.
  void InstallInto(CLamina& img);
  void InstallInto(CLamina& img, const CString& name);

 private:
  NewImage(std::uint8_t* block, std::size_t bitsOffset, bool owned)
      : block_(block), bitsOffset_(bitsOffset), owned_(owned), recordStride_(false) {}

  std::uint8_t* block_ = nullptr;
  std::size_t bitsOffset_ = 0;
  bool owned_ = true;  // false while it is the image's own block (RawReusing)
  bool recordStride_ = true;
};

}  // namespace lamina

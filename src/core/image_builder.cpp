// Building new image blocks and installing them.
#include "core/image_builder.h"

#include <climits>
#include <cstring>

#include "core/block_access.h"
#include "lamina/memory.h"

namespace lamina {

BITMAPINFOHEADER ConstructorHeader(int width, int height, int bpp, std::int64_t entries) {
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bpp);
  h.biCompression = 0;
  h.biSizeImage = static_cast<DWORD>(Stride64(width, bpp) * height);
  const std::int64_t n = entries < 0 ? Levels(bpp) : entries;
  h.biClrUsed = static_cast<DWORD>(n);
  h.biClrImportant = static_cast<DWORD>(n);
  return h;
}

void PaletteFrom(const ImageView& source, int bpp, RGBQUAD* out) {
  const int n = static_cast<int>(Levels(bpp) <= 256 ? Levels(bpp) : 0);
  for (int i = 0; i < n; ++i) {
    if (i < source.paletteEntries) {
      out[i] = source.palette[i];
    } else {
      const BYTE g = static_cast<BYTE>(i);
      out[i] = RGBQUAD{g, g, g, 0};
    }
  }
}

NewImage::NewImage(int width, int height, int bpp, const RGBQUAD* palette, NewRows rows,
                   std::int64_t entries) {
  if (!IsSupportedDepth(bpp) || width < 0 || height < 0) return;
  const std::int64_t levels = Levels(bpp);
  const std::int64_t n = entries < 0 ? levels : entries;
  if (bpp <= 8 && n > levels) return;
  const std::int64_t paletteBytes = bpp <= 8 ? 4 * n : 0;
  const std::int64_t stride = Stride64(width, bpp);
  // Sizes are reported through int and DWORD fields: keep the whole block within INT_MAX.
  const std::int64_t room = INT_MAX - 40 - paletteBytes;
  if (height != 0 && stride > room / height) return;
  const std::int64_t imageBytes = stride * height;
  const bool zero = rows == NewRows::kZero;
  std::uint8_t* block =
      detail::BlockAccess::Allocate(static_cast<std::size_t>(40 + paletteBytes + imageBytes), zero);
  if (block == nullptr) return;
  const BITMAPINFOHEADER h = ConstructorHeader(width, height, bpp, n);
  std::memcpy(block, &h, sizeof h);
  auto* pal = reinterpret_cast<RGBQUAD*>(block + 40);
  if (palette != nullptr) {
    if (paletteBytes > 0) std::memcpy(pal, palette, static_cast<std::size_t>(paletteBytes));
  } else {
    for (std::int64_t i = 0; i < paletteBytes / 4; ++i) {
      const BYTE g = static_cast<BYTE>(i);
      pal[i] = RGBQUAD{g, g, g, 0};
    }
  }
  std::uint8_t* bits = block + 40 + paletteBytes;
  if (!zero) {
    // The pixel bytes are the caller's; what follows the last whole byte of pixels is ours.
    const std::size_t kept = static_cast<std::size_t>(std::int64_t{width} * bpp / 8);
    const std::size_t clear = static_cast<std::size_t>(stride) - kept;
    if (clear != 0)
      for (std::int64_t y = 0; y < height; ++y) std::memset(bits + y * stride + kept, 0, clear);
  }
  block_ = block;
  bitsOffset_ = static_cast<std::size_t>(40 + paletteBytes);
}

NewImage NewImage::Raw(std::size_t bytes, std::size_t bitsOffset, bool zero) {
  std::uint8_t* block = bytes >= 40 && bitsOffset <= bytes
                            ? detail::BlockAccess::Allocate(bytes, zero)
                            : nullptr;
  return NewImage(block, bitsOffset, true);
}

NewImage NewImage::RawReusing(CLamina& img, std::size_t bytes, std::size_t bitsOffset,
                              const void* avoid, std::size_t avoidBytes) {
  std::uint8_t* own = detail::BlockAccess::Block(img);
  if (own != nullptr && GlobalSize(GlobalHandle(own)) == bytes) {
    // Compared as addresses: the two ranges may lie in different objects.
    const auto a = reinterpret_cast<std::uintptr_t>(own);
    const auto b = reinterpret_cast<std::uintptr_t>(avoid);
    const bool overlap = avoid != nullptr && a < b + avoidBytes && b < a + bytes;
    if (!overlap) return NewImage(own, bitsOffset, false);
  }
  return Raw(bytes, bitsOffset, false);
}

NewImage::NewImage(NewImage&& other) noexcept
    : block_(other.block_),
      bitsOffset_(other.bitsOffset_),
      owned_(other.owned_),
      recordStride_(other.recordStride_) {
  other.block_ = nullptr;
}

NewImage::~NewImage() {
  if (owned_) detail::BlockAccess::Release(block_);
}

ImageView NewImage::View() const {
  if (block_ == nullptr) return ImageView{};
  auto* h = reinterpret_cast<BITMAPINFOHEADER*>(block_);
  RGBQUAD* pal = h->biBitCount <= 8 ? reinterpret_cast<RGBQUAD*>(block_ + 40) : nullptr;
  return MakeView(h, pal, block_ + bitsOffset_);
}

void NewImage::InstallInto(CLamina& img) {
  if (block_ == nullptr) return;
  if (owned_)
    detail::BlockAccess::Adopt(img, block_, bitsOffset_);
  else
    detail::BlockAccess::Point(img, block_, bitsOffset_);
  if (recordStride_) detail::BlockAccess::CachedStride(img) = View().stride;
  block_ = nullptr;
}

void NewImage::InstallInto(CLamina& img, const CString& name) {
  if (block_ == nullptr) return;
  InstallInto(img);
  detail::BlockAccess::Name(img) = name;
}

}  // namespace lamina

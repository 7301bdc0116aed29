// Writing results back, compact blocks and the fresh image of a padded convolution.
#include "neighbourhood/results.h"

#include <cstring>

#include "core/block_access.h"
#include "lamina/memory.h"

namespace lamina {
namespace neighbourhood {
namespace detail {
namespace {

std::size_t BlockBytes(CLamina& img) {
  std::uint8_t* block = BlockAccess::Block(img);
  return block == nullptr ? 0 : GlobalSize(GlobalHandle(block));
}

// True when the block is exactly header, palette and biSizeImage bytes of rows, in that order.
bool IsCompact(CLamina& img, const ImageView& v) {
  std::uint8_t* block = BlockAccess::Block(img);
  const std::size_t palette = 4 * static_cast<std::size_t>(v.paletteEntries);
  return block != nullptr && v.bits == block + 40 + palette &&
         BlockBytes(img) == 40 + palette + v.header->biSizeImage;
}

}  // namespace

void WriteValues(std::uint8_t* row, int bpp, int x0, int n, const std::uint8_t* u,
                 bool zeroFourth) {
  switch (bpp) {
    case 8:
      std::memcpy(row + x0, u, static_cast<std::size_t>(n));
      return;
    case 4: {
      int i = 0;
      // A leading odd column shares its byte with the pixel before it.
      if ((x0 & 1) != 0 && n > 0) {
        Px<4>::Set(row, x0, u[0]);
        i = 1;
      }
      std::uint8_t* p = row + (x0 + i) / 2;
      for (; i + 1 < n; i += 2) *p++ = static_cast<std::uint8_t>((u[i] << 4) | (u[i + 1] & 15));
      if (i < n) Px<4>::Set(row, x0 + i, u[i]);
      return;
    }
    case 24: {
      std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x0) * 3;
      for (int i = 0; i < n; ++i, p += 3) p[0] = p[1] = p[2] = u[i];
      return;
    }
    case 32: {
      std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x0) * 4;
      if (zeroFourth) {
        for (int i = 0; i < n; ++i) {
          const std::uint32_t g = u[i] * 0x010101u;
          std::memcpy(p + 4 * i, &g, 4);
        }
      } else {
        for (int i = 0; i < n; ++i, p += 4) p[0] = p[1] = p[2] = u[i];
      }
      return;
    }
    default:
      return;
  }
}

Compacted::Compacted(CLamina& img) {
  view_ = BlockAccess::View(img);
  if (IsCompact(img, view_)) {
    ok_ = true;
    return;
  }
  const std::size_t palette = 4 * static_cast<std::size_t>(view_.paletteEntries);
  const std::size_t rows = view_.header->biSizeImage;
  NewImage copy = NewImage::Raw(40 + palette + rows, 40 + palette, /*zero=*/false);
  if (!copy.Ok()) return;
  std::uint8_t* block = copy.Block();
  std::memcpy(block, view_.header, 40);
  if (palette > 0) std::memcpy(block + 40, view_.palette, palette);
  std::memcpy(block + 40 + palette, view_.bits, rows);
  view_ = copy.View();
  copy_.emplace(std::move(copy));
  ok_ = true;
}

void Compacted::Install(CLamina& img) {
  if (copy_) copy_->InstallInto(img);
}

FreshTarget::FreshTarget(CLamina& img) {
  const ImageView v = BlockAccess::View(img);
  const std::int64_t levels = Levels(v.bpp);
  const std::int64_t entries = v.bpp <= 8 ? levels : 0;
  const BITMAPINFOHEADER h = ConstructorHeader(v.width, v.height, v.bpp);
  // The image's own block serves when it is compact and already holds a palette of the full
  // size: only the header, the padding and the fourth bytes differ from the fresh image's.
  if (v.paletteEntries == entries && IsCompact(img, v) && v.header->biSizeImage == h.biSizeImage) {
    view_ = v;
    inPlace_ = true;
    ok_ = true;
    return;
  }
  RGBQUAD palette[256];
  PaletteFrom(v, v.bpp, palette);
  NewImage fresh(v.width, v.height, v.bpp, palette, NewRows::kPixelsWritten);
  if (!fresh.Ok()) return;
  view_ = fresh.View();
  fresh_.emplace(std::move(fresh));
  ok_ = true;
}

void FreshTarget::Finish(CLamina& img) {
  if (!inPlace_) {
    fresh_->InstallInto(img);
    return;
  }
  const BITMAPINFOHEADER h = ConstructorHeader(view_.width, view_.height, view_.bpp);
  std::memcpy(view_.header, &h, sizeof h);
  // As a new block's rows: everything after the last whole byte of pixels is 0 (at 4 bits with
  // an odd width, the low half of the last byte too).
  const std::size_t kept = static_cast<std::size_t>(std::int64_t{view_.width} * view_.bpp / 8);
  const bool halfByte = view_.bpp == 4 && (view_.width & 1) != 0;
  const std::size_t from = kept + (halfByte ? 1 : 0);
  const std::size_t stride = static_cast<std::size_t>(view_.stride);
  for (int y = 0; y < view_.height; ++y) {
    std::uint8_t* row = view_.Row(y);
    if (halfByte) row[kept] &= 0xF0;
    if (from < stride) std::memset(row + from, 0, stride - from);
  }
  BlockAccess::CachedStride(img) = view_.stride;
}

}  // namespace detail
}  // namespace neighbourhood
}  // namespace lamina

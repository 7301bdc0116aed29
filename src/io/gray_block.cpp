// The pixel sources and the 8-bit block builder shared by the RAW and PGM readers.
#include "io/gray_block.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "core/block_access.h"
#include "core/pixel_access.h"
#include "lamina/memory.h"
#include "platform/file_rows.h"

namespace lamina {
namespace io {

bool BufferSource::Take(std::uint8_t* dst, std::size_t n) {
  if (n > left_) return false;
  if (n != 0) std::memcpy(dst, data_, n);
  data_ += n;
  left_ -= n;
  return true;
}

bool ByteSource::TakeRows(std::uint8_t* first, std::ptrdiff_t step, std::size_t width,
                          std::size_t rows) {
  for (std::size_t k = 0; k < rows; ++k)
    if (!Take(first + static_cast<std::ptrdiff_t>(k) * step, width)) return false;
  return true;
}

std::size_t FileSource::TakeHeld(std::uint8_t* dst, std::size_t n) {
  // Bytes read before the pixels began (the rest of a header read ahead) come first.
  const std::size_t fromPrefix = std::min(n, prefixLeft_);
  if (fromPrefix != 0) {
    std::memcpy(dst, prefix_, fromPrefix);
    prefix_ += fromPrefix;
    prefixLeft_ -= fromPrefix;
  }
  const std::size_t fromChunk = std::min(n - fromPrefix, chunkLen_ - chunkPos_);
  if (fromChunk != 0) {
    std::memcpy(dst + fromPrefix, chunk_ + chunkPos_, fromChunk);
    chunkPos_ += fromChunk;
  }
  return fromPrefix + fromChunk;
}

bool FileSource::TakeRows(std::uint8_t* first, std::ptrdiff_t step, std::size_t width,
                          std::size_t rows) {
  if (file_ == nullptr || !platform::FileRows::Direct(*file_))
    return ByteSource::TakeRows(first, step, width, rows);
  // Rows that begin in bytes already held are finished with one exact read each, so that the
  // rest start at the file's position with nothing held.
  while (rows != 0 && (prefixLeft_ != 0 || chunkPos_ != chunkLen_)) {
    const std::size_t held = TakeHeld(first, width);
    const std::size_t rest = width - held;
    if (rest != 0) {
      if (rest > limit_ || !platform::FileRows::Read(*file_, first + held, 0, rest, 1)) return false;
      limit_ -= rest;
    }
    first += step;
    --rows;
  }
  if (rows == 0) return true;
  if (width > limit_ / rows) return false;  // the caller's limit says the data ends first
  limit_ -= width * rows;
  return platform::FileRows::Read(*file_, first, step, width, rows);
}

bool FileSource::Take(std::uint8_t* dst, std::size_t n) {
  const std::size_t held = TakeHeld(dst, n);
  dst += held;
  n -= held;
  while (n != 0) {
    if (chunkPos_ == chunkLen_) {
      if (limit_ == 0 || file_ == nullptr) return false;
      if (chunk_ == nullptr) {
        storage_.reset(new (std::nothrow) std::uint8_t[kChunk + 4096]);
        if (!storage_) return false;
        chunk_ = HalfPageAway(storage_.get(), dst);
      }
      const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, limit_));
      const UINT got = file_->Read(chunk_, static_cast<UINT>(want));
      if (got == 0) return false;
      limit_ -= got;
      chunkPos_ = 0;
      chunkLen_ = got;
    }
    const std::size_t part = std::min(n, chunkLen_ - chunkPos_);
    std::memcpy(dst, chunk_ + chunkPos_, part);
    chunkPos_ += part;
    dst += part;
    n -= part;
  }
  return true;
}

std::uint8_t* AllocateUnfilled(std::size_t bytes) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (h == nullptr) return nullptr;
  auto* p = static_cast<std::uint8_t*>(GlobalLock(h));
  if (p == nullptr) GlobalFree(h);
  return p;
}

bool Gray8Fits(std::int64_t width, std::int64_t height, std::int64_t entries) {
  if (width <= 0 || height <= 0 || entries <= 0 || entries > 256) return false;
  if (width > INT_MAX || height > INT_MAX) return false;
  const std::int64_t stride = Stride64(width, 8);
  const std::int64_t room = INT_MAX - 40 - 4 * entries;
  return stride <= room / height;
}

BuildStatus LoadGray8(CLamina& img, int width, int height, int entries, ByteSource& source) {
  const std::int64_t stride = Stride64(width, 8);
  const std::size_t bitsOffset = 40 + 4 * static_cast<std::size_t>(entries);
  const std::size_t imageBytes = static_cast<std::size_t>(stride * height);
  std::uint8_t* block = AllocateUnfilled(bitsOffset + imageBytes);
  if (block == nullptr) return BuildStatus::kNoMemory;

  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = 8;
  h.biCompression = 0;
  h.biSizeImage = static_cast<DWORD>(imageBytes);
  h.biClrUsed = static_cast<DWORD>(entries);
  h.biClrImportant = static_cast<DWORD>(entries);
  std::memcpy(block, &h, sizeof h);
  auto* pal = reinterpret_cast<RGBQUAD*>(block + 40);
  for (int i = 0; i < entries; ++i) {
    const BYTE v = static_cast<BYTE>(i);
    pal[i] = RGBQUAD{v, v, v, 0};
  }

  // The first row of the data is the top row, which is the last one in memory.
  std::uint8_t* bits = block + bitsOffset;
  const std::size_t padding = static_cast<std::size_t>(stride - width);
  if (padding != 0)
    for (int r = 0; r < height; ++r)
      std::memset(bits + static_cast<std::size_t>(stride) * r + width, 0, padding);
  std::uint8_t* top = bits + static_cast<std::size_t>(stride) * (height - 1);
  if (!source.TakeRows(top, -static_cast<std::ptrdiff_t>(stride), static_cast<std::size_t>(width),
                       static_cast<std::size_t>(height))) {
    BlockAccess::Release(block);
    return BuildStatus::kShort;
  }
  BlockAccess::Adopt(img, block, bitsOffset);
  BlockAccess::CachedStride(img) = static_cast<int>(stride);
  return BuildStatus::kOk;
}

}  // namespace io
}  // namespace lamina

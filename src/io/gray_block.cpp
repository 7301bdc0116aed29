// The pixel sources and the 8-bit block builder shared by the RAW and PGM readers.
#include "io/gray_block.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "core/image_builder.h"
#include "core/pixel_access.h"
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

bool Gray8Fits(std::int64_t width, std::int64_t height, std::int64_t entries) {
  if (width <= 0 || height <= 0 || entries <= 0 || entries > 256) return false;
  if (width > INT_MAX || height > INT_MAX) return false;
  const std::int64_t stride = Stride64(width, 8);
  const std::int64_t room = INT_MAX - 40 - 4 * entries;
  return stride <= room / height;
}

BuildStatus LoadGray8(CLamina& img, int width, int height, int entries, ByteSource& source) {
  // Every pixel byte comes from the source, so only the padding is cleared beforehand.
  NewImage out(width, height, 8, nullptr, NewRows::kPixelsWritten, entries);
  if (!out.Ok()) return BuildStatus::kNoMemory;
  // The first row of the data is the top row, which is the last one in memory.
  const ImageView v = out.View();
  if (!source.TakeRows(v.Row(0), -static_cast<std::ptrdiff_t>(v.stride),
                       static_cast<std::size_t>(width), static_cast<std::size_t>(height)))
    return BuildStatus::kShort;
  out.InstallInto(img);
  return BuildStatus::kOk;
}

}  // namespace io
}  // namespace lamina

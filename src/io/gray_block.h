// Shared pieces of the gray-image readers (RAW and PGM): where the pixel bytes come from, and the
// building of the new 8-bit block. The rows arrive top row first, as both formats store them, and
// are written straight to their bottom-up place in the block, so the reversal of the row order
// costs nothing beyond the copy itself. The new block becomes the image's only once every byte
// has arrived: a short file or a failed allocation leaves the image as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "CLamina.h"
#include "lamina/cfile.h"
#include "platform/file_rows.h"

namespace lamina {
namespace io {

// A sequence of bytes taken in order.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies the next `n` bytes to `dst`; false when the data ends first.
  virtual bool Take(std::uint8_t* dst, std::size_t n) = 0;
  // Copies the next `rows` runs of `width` bytes, run k to first + k * step; false when the data
  // ends first.
  virtual bool TakeRows(std::uint8_t* first, std::ptrdiff_t step, std::size_t width,
                        std::size_t rows);
};

// Bytes of a caller's buffer.
class BufferSource final : public ByteSource {
 public:
  BufferSource(const std::uint8_t* data, std::size_t length) : data_(data), left_(length) {}
  bool Take(std::uint8_t* dst, std::size_t n) override;

 private:
  const std::uint8_t* data_;
  std::size_t left_;
};

// Bytes of an open file from its current position: first `prefix` (bytes already read from the
// file), then further reads. Never reads more than `limit` bytes from the file itself, so a file
// object is left right after what the image used. Reads go through a small buffer so that a row
// at a time does not become a system call at a time; whole rows from a file object of the
// library's own class are read by the system straight into their places.
class FileSource final : public ByteSource {
 public:
  FileSource(CFile* file, std::uint64_t limit, const std::uint8_t* prefix = nullptr,
             std::size_t prefixLength = 0)
      : file_(file), limit_(limit), prefix_(prefix), prefixLeft_(prefixLength) {}
  bool Take(std::uint8_t* dst, std::size_t n) override;
  bool TakeRows(std::uint8_t* first, std::ptrdiff_t step, std::size_t width,
                std::size_t rows) override;

 private:
  // Copies up to `n` bytes already held (the prefix, then the buffer); returns how many.
  std::size_t TakeHeld(std::uint8_t* dst, std::size_t n);

  static constexpr std::size_t kChunk = 256 * 1024;
  CFile* file_;
  std::uint64_t limit_;
  const std::uint8_t* prefix_;
  std::size_t prefixLeft_;
  std::unique_ptr<std::uint8_t[]> storage_;
  std::uint8_t* chunk_ = nullptr;
  std::size_t chunkPos_ = 0;
  std::size_t chunkLen_ = 0;
};

// HalfPageAway lives with the file layer, whose row writer uses it too.
using platform::HalfPageAway;

enum class BuildStatus { kOk, kNoMemory, kShort };

// True when an 8-bit image of this size with `entries` palette entries fits in a block of at most
// INT_MAX bytes (the sizes are reported through int and DWORD fields).
bool Gray8Fits(std::int64_t width, std::int64_t height, std::int64_t entries);

// Builds the block of an 8-bit image: header as the data constructor writes it but with
// biClrUsed = biClrImportant = `entries`, the palette entry i = (i, i, i, 0), and the rows from
// `source`, top row first, `width` bytes each (padding stays 0). Makes it the image's block only
// when everything arrived. The caller has checked the size with Gray8Fits.
BuildStatus LoadGray8(CLamina& img, int width, int height, int entries, ByteSource& source);

}  // namespace io
}  // namespace lamina

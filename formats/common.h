// Pieces the PNG and JPEG code share, all built on CLamina's public interface only: whole files in
// and out through CFile, a decoded picture handed to the image as a packed bitmap, and a view of an
// image's rows for the writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "CLamina.h"
#include "lamina/formats.h"

namespace lamina {
namespace formats {
namespace detail {

// A file's whole contents.
struct FileBytes {
  std::unique_ptr<std::uint8_t[]> data;
  std::size_t size = 0;
};
enum class FileResult { kOk, kCannotOpen, kShort, kNoMemory };
FileResult ReadWholeFile(const CString& name, FileBytes& out, CString& fileName);
// A loader by name: reads the whole file, gives the format's own code for a file that cannot be
// opened, ends early or does not fit in memory, and hands the bytes and the file's name to
// `decode`.
struct LoadCodes {
  int cannotOpen, damaged, noMemory;
};
template <typename Decode>
int LoadWholeFile(const CString& name, const LoadCodes& codes, Decode&& decode) {
  FileBytes file;
  CString fileName;
  switch (ReadWholeFile(name, file, fileName)) {
    case FileResult::kOk:
      break;
    case FileResult::kCannotOpen:
      return codes.cannotOpen;
    case FileResult::kShort:
      return codes.damaged;
    case FileResult::kNoMemory:
      return codes.noMemory;
  }
  return decode(file.data.get(), file.size, &fileName);
}
// Creates (or truncates) the file and writes the bytes.
enum class WriteResult { kOk, kCannotCreate, kWriteFailed };
WriteResult WriteWholeFile(const CString& name, const std::uint8_t* data, std::size_t size);

// A decoded picture being filled: the layout of a BMP file (file header, the 40-byte header the
// data constructor writes, the palette, the rows bottom-up), so that fnIMG_LoadBMPFromBuffer makes
// it the image's block in one copy: the old block is released only once the new one is there, and
// the image keeps its name. Memory comes from the library's movable blocks, whose large ones are
// mapped in large pages.
class Picture {
 public:
  enum class Result { kOk, kTooLarge, kNoMemory };
  Picture() = default;
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // Rows of `bpp` (1, 4, 8, 24 or 32) bits; at 1, 4 and 8 bits a palette of the depth's levels,
  // all black until the caller sets it.
  Result Create(std::uint32_t width, std::uint32_t height, int bpp);
  RGBQUAD* Palette() { return reinterpret_cast<RGBQUAD*>(bytes_ + 54); }
  // The 8-bit gray ramp: entry i = (i, i, i).
  void SetGrayRamp();
  // Row y counted from the top.
  std::uint8_t* Row(std::uint32_t y) { return bits_ + stride_ * (height_ - 1 - y); }
  std::size_t Stride() const { return stride_; }
  // Zeroes every bit of each row after its last pixel (the padding to 4 bytes).
  void ClearPadding();
  // Makes the picture the image's block; false when memory ran out (the image is unchanged).
  bool GiveTo(CLamina& image);

 private:
  HGLOBAL handle_ = nullptr;
  std::uint8_t* bytes_ = nullptr;
  std::size_t size_ = 0;
  std::uint8_t* bits_ = nullptr;
  std::size_t stride_ = 0;
  std::uint32_t width_ = 0, height_ = 0;
  int bpp_ = 0;
};

// An image's rows as the writers read them, and its palette.
struct Source {
  int width = 0, height = 0, bpp = 0;
  std::size_t stride = 0;
  const std::uint8_t* bits = nullptr;  // the bottom row
  RGBQUAD palette[256] = {};
  int entries = 0;  // palette entries the image holds (1, 4, 8 bits)
  const std::uint8_t* Row(int y) const {
    return bits + stride * static_cast<std::size_t>(height - 1 - y);
  }
};
// False when the image holds no pixels a writer can read: no block, no pixels, a depth other than
// 1, 4, 8, 16, 24 or 32, or rows that reach past biSizeImage.
bool Describe(CLamina& image, Source& out);

}  // namespace detail
}  // namespace formats
}  // namespace lamina

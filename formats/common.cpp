// Shared pieces of the PNG and JPEG code, and the meanings of their result codes.
#include "common.h"

#include <climits>
#include <cstring>
#include <new>

#include "codes.h"
#include "lamina/cfile.h"
#include "lamina/memory.h"

namespace lamina {
namespace formats {
namespace detail {

namespace {
// CFile moves at most a UINT at a time; whole files go in pieces of this size.
constexpr std::size_t kPiece = std::size_t{1} << 30;

void PutU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
}  // namespace

FileResult ReadWholeFile(const CString& name, FileBytes& out, CString& fileName) {
  CFile file;
  if (!file.Open(name, CFile::modeRead)) return FileResult::kCannotOpen;
  const ULONGLONG length = file.GetLength();
  if (length > SIZE_MAX - 1) return FileResult::kNoMemory;
  const std::size_t size = static_cast<std::size_t>(length);
  std::unique_ptr<std::uint8_t[]> data(new (std::nothrow) std::uint8_t[size + 1]);
  if (data == nullptr) return FileResult::kNoMemory;
  for (std::size_t done = 0; done < size;) {
    const std::size_t n = size - done < kPiece ? size - done : kPiece;
    const UINT got = file.Read(data.get() + done, static_cast<UINT>(n));
    if (got == 0) return FileResult::kShort;
    done += got;
  }
  out.data = std::move(data);
  out.size = size;
  fileName = file.GetFileName();
  return FileResult::kOk;
}

WriteResult WriteWholeFile(const CString& name, const std::uint8_t* data, std::size_t size) {
  CFile file;
  if (!file.Open(name, CFile::modeCreate | CFile::modeWrite)) return WriteResult::kCannotCreate;
  for (std::size_t done = 0; done < size;) {
    const std::size_t n = size - done < kPiece ? size - done : kPiece;
    if (file.Write(data + done, static_cast<UINT>(n)) != n) return WriteResult::kWriteFailed;
    done += n;
  }
  return WriteResult::kOk;
}

Picture::~Picture() {
  if (handle_ != nullptr) {
    GlobalUnlock(handle_);
    GlobalFree(handle_);
  }
}

Picture::Result Picture::Create(std::uint32_t width, std::uint32_t height, int bpp) {
  const std::uint64_t stride =
      (std::uint64_t{width} * static_cast<std::uint64_t>(bpp) + 31) / 32 * 4;
  const std::uint64_t paletteBytes = bpp <= 8 ? std::uint64_t{4} << bpp : 0;
  // The block (everything after the 14-byte file header) is limited to INT_MAX bytes, as every
  // image block is: sizes are reported through int fields.
  if (width > INT_MAX || height > INT_MAX || stride * height > INT_MAX - 40 - paletteBytes)
    return Result::kTooLarge;
  const std::size_t size = static_cast<std::size_t>(54 + paletteBytes + stride * height);
  // Not zero-filled: the headers and palette are written here and every row byte by the decoder
  // and ClearPadding.
  handle_ = GlobalAlloc(GMEM_MOVEABLE, size);
  if (handle_ == nullptr) return Result::kNoMemory;
  bytes_ = static_cast<std::uint8_t*>(GlobalLock(handle_));
  if (bytes_ == nullptr) return Result::kNoMemory;
  size_ = size;
  width_ = width;
  height_ = height;
  bpp_ = bpp;
  stride_ = static_cast<std::size_t>(stride);
  bits_ = bytes_ + 54 + paletteBytes;

  std::uint8_t* f = bytes_;
  f[0] = 'B';
  f[1] = 'M';
  PutU32(f + 2, static_cast<std::uint32_t>(size));
  PutU32(f + 6, 0);
  PutU32(f + 10, static_cast<std::uint32_t>(54 + paletteBytes));
  // The header the data constructor writes for this size and depth.
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = static_cast<LONG>(width);
  h.biHeight = static_cast<LONG>(height);
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bpp);
  h.biSizeImage = static_cast<DWORD>(stride * height);
  h.biClrUsed = h.biClrImportant = bpp <= 8 ? 1u << bpp : 1u << 24;
  std::memcpy(f + 14, &h, 40);
  std::memset(f + 54, 0, static_cast<std::size_t>(paletteBytes));
  return Result::kOk;
}

void Picture::SetGrayRamp() {
  for (int i = 0; i < 256; ++i) {
    const BYTE v = static_cast<BYTE>(i);
    Palette()[i] = RGBQUAD{v, v, v, 0};
  }
}

void Picture::ClearPadding() {
  const std::size_t bits = std::size_t{width_} * static_cast<std::size_t>(bpp_);
  const std::size_t used = (bits + 7) / 8;
  // At 1 and 4 bits the last byte may hold fewer pixels than it has room for; decoders leave the
  // rest as the memory had it.
  const std::uint8_t keep = static_cast<std::uint8_t>(0xFF00u >> (bits % 8 == 0 ? 8 : bits % 8));
  if (used == stride_ && bits % 8 == 0) return;
  for (std::uint32_t y = 0; y < height_; ++y) {
    std::uint8_t* row = Row(y);
    if (bits % 8 != 0) row[used - 1] &= keep;
    std::memset(row + used, 0, stride_ - used);
  }
}

bool Picture::GiveTo(CLamina& image) {
  return image.fnIMG_LoadBMPFromBuffer(bytes_, static_cast<int>(size_)) == 0;
}

bool Describe(CLamina& image, Source& out) {
  const CLamina::Punteros p = image.fnIMG_GetPointers();
  if (p.lpDib == nullptr || p.lpBits == nullptr) return false;
  const BITMAPINFOHEADER h = *p.lpbmih;
  const int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  if (h.biWidth <= 0 || h.biHeight <= 0) return false;
  const std::uint64_t stride =
      (static_cast<std::uint64_t>(h.biWidth) * static_cast<std::uint64_t>(bpp) + 31) / 32 * 4;
  if (stride * static_cast<std::uint64_t>(h.biHeight) > h.biSizeImage) return false;
  out.width = h.biWidth;
  out.height = h.biHeight;
  out.bpp = bpp;
  out.stride = static_cast<std::size_t>(stride);
  out.bits = p.lpBits;
  out.entries = 0;
  if (bpp <= 8) {
    // The entries the image holds: biClrUsed, or the levels; never more than the indices.
    const int bytes = image.fnIMG_GetPaletteSize();
    const int levels = 1 << bpp;
    out.entries = bytes > 0 && bytes / 4 <= 256 ? bytes / 4 : 0;
    if (out.entries > levels) out.entries = levels;
    if (out.entries > 0) {
      RGBQUAD all[256];
      image.fnIMG_GetPalette(all);
      std::memcpy(out.palette, all, static_cast<std::size_t>(out.entries) * 4);
    }
  }
  return true;
}

}  // namespace detail

const char* Meaning(const char* operation, int code) {
  if (operation == nullptr) return nullptr;
  for (const auto& op : codes::kFormatOperations) {
    if (std::strcmp(op.operation, operation) != 0) continue;
    if (code == 0) return "success";
    const ResultCode* c = op.Find(code);
    return c != nullptr ? c->meaning : nullptr;
  }
  return nullptr;
}

}  // namespace formats
}  // namespace lamina

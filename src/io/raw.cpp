// RAW files: headerless 8-bit gray images, one byte per pixel, top row first, no padding.
//
// Readers: without dimensions the size is recognised from the length alone (a fixed table);
// with dimensions the length must be width x height. The result is an 8-bit image with the
// 256-entry gray palette. The file forms give the image the file's name (without folders) before
// the length is tested, so a refused file still names the image; the block only changes on
// success.
//
// Result codes: io/codes.h (load_raw, load_raw_from_buffer, save_raw, save_raw_file).
//
// Writer: any image of 1, 4, 8, 24 or 32 bits is written as the 8-bit gray image that colour to
// gray (method 0) and the depth conversion to 8 bits make of it, the pixel indices top row first.
// The conversions run on a copy, so the image itself never changes. A 16-bit image, whose pixels
// neither conversion reads, or an object without a block, is refused before any file is made.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "CLamina.h"
#include "convert/convert.h"
#include "core/block_access.h"
#include "core/palette.h"
#include "core/pixel_access.h"
#include "io/codes.h"
#include "io/gray_block.h"
#include "platform/file_rows.h"

using lamina::BlockAccess;
using lamina::io::BuildStatus;
namespace load = lamina::codes::load_raw;
namespace save = lamina::codes::save_raw;

namespace {

struct RawSize {
  std::int64_t length;
  int width;
  int height;
};

// Lengths a RAW file may have when no dimensions are given. Every width is a multiple of 4, so
// the rows need no padding.
constexpr RawSize kRawSizes[] = {
    {1024, 32, 32},    {1248, 32, 39},    {4096, 64, 64},     {10304, 92, 112},
    {16384, 128, 128}, {65536, 256, 256}, {262144, 512, 512}, {1048576, 1024, 1024},
};

const RawSize* FindRawSize(std::int64_t length) {
  for (const RawSize& s : kRawSizes)
    if (s.length == length) return &s;
  return nullptr;
}

// Reads width x height bytes from the file's current position into a new block.
int ReadRawRows(CLamina& img, CFile* file, int width, int height) {
  const std::uint64_t bytes =
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  // A file object that is not at its start holds fewer bytes than its length says.
  const ULONGLONG length = file->GetLength();
  const ULONGLONG position = file->GetPosition();
  if (position > length || length - position < bytes) return load::kShort;
  lamina::io::FileSource source(file, bytes);
  switch (lamina::io::LoadGray8(img, width, height, 256, source)) {
    case BuildStatus::kOk:
      return 0;
    case BuildStatus::kNoMemory:
      return load::kNoMemory;
    case BuildStatus::kShort:
      return load::kShort;
  }
  return load::kShort;
}

// The file forms share this: name first, then the size, then the rows.
int LoadRawFile(CLamina& img, CFile* file, bool haveSize, int width, int height) {
  BlockAccess::Name(img) = file->GetFileName();
  const std::int64_t length = static_cast<std::int64_t>(file->GetLength());
  if (!haveSize) {
    const RawSize* s = FindRawSize(length);
    if (s == nullptr) return load::kLength;
    width = s->width;
    height = s->height;
  } else {
    // Compared in 64 bits: width x height cannot wrap onto a length.
    if (static_cast<std::int64_t>(width) * height != length) return load::kLength;
    if (!lamina::io::Gray8Fits(width, height, 256)) return load::kSize;
  }
  return ReadRawRows(img, file, width, height);
}

int LoadRawByName(CLamina& img, const CString& name, bool haveSize, int width, int height) {
  CFile file;
  if (!file.Open(name, CFile::modeRead)) return load::kCannotOpen;
  return LoadRawFile(img, &file, haveSize, width, height);  // the file closes on leaving
}

}  // namespace

int CLamina::fnIMG_LoadRAW(CString name) { return LoadRawByName(*this, name, false, 0, 0); }

int CLamina::fnIMG_LoadRAW(CFile* file) {
  if (file == nullptr) return load::kCannotOpen;
  return LoadRawFile(*this, file, false, 0, 0);
}

int CLamina::fnIMG_LoadRAW(CString name, int width, int height) {
  return LoadRawByName(*this, name, true, width, height);
}

int CLamina::fnIMG_LoadRAW(CFile* file, int width, int height) {
  if (file == nullptr) return load::kCannotOpen;
  return LoadRawFile(*this, file, true, width, height);
}

int CLamina::fnIMG_LoadRAWFromBuffer(unsigned char* buffer, int length) {
  namespace codes = lamina::codes::load_raw_from_buffer;
  const RawSize* s = FindRawSize(length);
  if (s == nullptr) return codes::kLength;
  if (buffer == nullptr) return codes::kNullBuffer;
  lamina::io::BufferSource source(buffer, static_cast<std::size_t>(length));
  switch (lamina::io::LoadGray8(*this, s->width, s->height, 256, source)) {
    case BuildStatus::kOk:
      return 0;
    case BuildStatus::kNoMemory:
      return codes::kNoMemory;
    case BuildStatus::kShort:
      return codes::kNoMemory;  // cannot happen: the buffer holds the whole size
  }
  return codes::kNoMemory;
}

namespace {

// Writes the rows of an 8-bit image top row first, width bytes each, gathered into large pieces
// so that a small row is not a system call.
bool WriteRowsTopFirst(CFile* file, const lamina::ImageView& v) {
  const std::size_t width = static_cast<std::size_t>(v.width);
  const std::size_t total = width * static_cast<std::size_t>(v.height);
  if (total == 0) return true;
  if (lamina::platform::FileRows::Direct(*file))
    return lamina::platform::FileRows::Write(*file, v.Row(0), -static_cast<std::ptrdiff_t>(v.stride),
                                              width, static_cast<std::size_t>(v.height));
  // Pieces small enough to stay in the cache between our copy and the system's.
  constexpr std::size_t kPiece = 256 * 1024;
  const std::size_t rowsPerPiece = std::max<std::size_t>(1, kPiece / width);
  const std::size_t pieceBytes = std::min(total, rowsPerPiece * width);
  std::unique_ptr<std::uint8_t[]> storage(new (std::nothrow) std::uint8_t[pieceBytes + 4096]);
  std::uint8_t* piece = storage ? lamina::io::HalfPageAway(storage.get(), v.Row(0)) : nullptr;
  int y = 0;
  while (y < v.height) {
    if (piece == nullptr) {  // no room for a piece: one row at a time still writes the same bytes
      if (file->Write(v.Row(y), static_cast<UINT>(width)) != width) return false;
      ++y;
      continue;
    }
    std::size_t used = 0;
    for (; y < v.height && used + width <= pieceBytes; ++y, used += width)
      std::memcpy(piece + used, v.Row(y), width);
    if (file->Write(piece, static_cast<UINT>(used)) != used) return false;
  }
  return true;
}

int SaveRaw(CLamina& img, const CString* name, CFile* given) {
  const int bpp = BlockAccess::Header(img).biBitCount;
  if (!BlockAccess::HasBlock(img) || !lamina::IsSupportedDepth(bpp)) return save::kDepth;

  // An 8-bit gray image is written as it is; anything else is converted on a copy first.
  CLamina gray(nullptr, nullptr, 0, 0, 0);  // holds no block until assigned
  CLamina* source = &img;
  if (bpp != 8 || !lamina::IsGray(BlockAccess::View(img))) {
    // Either conversion failing (it can only lack memory here) fails the save.
    gray = img;
    if (!BlockAccess::HasBlock(gray)) return save::kNoMemory;
    if (!lamina::IsGray(BlockAccess::View(gray)) && lamina::convert::ColorToGray(gray, 0) != 0)
      return save::kNoMemory;
    if (BlockAccess::Header(gray).biBitCount != 8 &&
        lamina::convert::ChangeColorDepth(gray, 2) != 0)
      return save::kNoMemory;
    if (BlockAccess::Header(gray).biBitCount != 8) return save::kNoMemory;
    source = &gray;
  }

  CFile opened;
  CFile* file = given;
  if (name != nullptr) {
    // An existing file no longer than the new one is written over in place: the result is the
    // same bytes as after truncating it, without the system first freeing and then allocating
    // again every page of it (on a memory file system that doubles the cost of saving).
    const lamina::ImageView v = BlockAccess::View(*source);
    const ULONGLONG bytes = static_cast<ULONGLONG>(v.width) * static_cast<ULONGLONG>(v.height);
    if (!opened.Open(*name, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite) ||
        opened.GetLength() > bytes) {
      if (!opened.Open(*name, CFile::modeCreate | CFile::modeWrite)) return save::kCannotCreate;
    }
    file = &opened;
  }
  return WriteRowsTopFirst(file, BlockAccess::View(*source)) ? 0 : save::kWriteFailed;
}

}  // namespace

int CLamina::fnIMG_SaveRAW(CString name) { return SaveRaw(*this, &name, nullptr); }

int CLamina::fnIMG_SaveRAW(CFile* file) {
  if (file == nullptr) return lamina::codes::save_raw_file::kNullFile;
  return SaveRaw(*this, nullptr, file);
}

// PGM files with one byte per sample (magic P5), read into an 8-bit image whose palette has
// maxval + 1 gray entries, entry i = (i, i, i): sample values are used as indices unchanged.
//
// fnIMG_LoadPGM (name and file forms): 0 loaded; 1 the file cannot be opened (a null file
// object); 2 the byte after the "P" is not "5"; 3 the file ends inside the header; 4 a number holds
// a byte that is not a digit; 5 maxval is 0 or above 255; 6 width or height is 0, or the image is
// too large for one block; 7 the file holds fewer pixel bytes than width x height; 8 memory short.
// The file forms give the image the file's name before anything is scanned.
// fnIMG_LoadPGMFromBuffer: 0; 1 not P5; 2 ends inside the header (or no buffer); 3 not a digit;
// 4 maxval; 5 width, height or size; 6 pixel bytes short; 7 memory short.
// On any failure the block is unchanged.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>
#include <vector>

#include "CLamina.h"
#include "core/block_access.h"
#include "io/gray_block.h"
#include "io/pgm_header.h"

using lamina::BlockAccess;
using lamina::io::BuildStatus;
using lamina::io::PgmHeader;
using lamina::io::PgmStatus;

namespace lamina {
namespace io {

namespace {

bool EndsNumber(std::uint8_t b) {
  return b == ' ' || b == '\t' || b == '\n' || b == '\v' || b == '\f' || b == '\r';
}

class PgmScanner {
 public:
  PgmScanner(const std::uint8_t* data, std::size_t length) : data_(data), length_(length) {}

  PgmStatus Scan(PgmHeader* out) {
    if (!FindP()) return PgmStatus::kCutShort;
    if (pos_ >= length_) return PgmStatus::kCutShort;
    if (data_[pos_++] != '5') return PgmStatus::kNotP5;

    std::uint8_t end = 0;
    PgmStatus s = Number(true, &out->width, &end);
    if (s != PgmStatus::kOk) return s;
    s = Number(true, &out->height, &end);
    if (s != PgmStatus::kOk) return s;
    s = Number(false, &out->maxval, &end);
    if (s != PgmStatus::kOk) return s;
    ++pos_;  // the whitespace byte that ended maxval
    if (end == '\r' && pos_ < length_ && data_[pos_] == '\n') ++pos_;
    out->dataOffset = pos_;

    if (out->maxval < 1 || out->maxval > 255) return PgmStatus::kBadMaxval;
    if (!Gray8Fits(out->width, out->height, out->maxval + 1)) return PgmStatus::kBadSize;
    return PgmStatus::kOk;
  }

 private:
  // Leaves pos_ after the byte that stands for the "P"; false when the data ends first.
  bool FindP() {
    while (pos_ < length_) {
      const std::uint8_t b = data_[pos_++];
      if (b == 'P') return true;
      if (b == '#') {
        // Comments before the magic: the byte after them is taken as the "P" without testing it,
        // as files written for this reader may rely on.
        do {
          if (!SkipLine()) return false;
          while (pos_ < length_ && data_[pos_] < 32) ++pos_;
        } while (pos_ < length_ && data_[pos_] == '#');
        if (pos_ >= length_) return false;
        ++pos_;
        return true;
      }
    }
    return false;
  }

  // Skips up to and including the next line feed; false when there is none.
  bool SkipLine() {
    while (pos_ < length_) {
      if (data_[pos_++] == '\n') return true;
    }
    return false;
  }

  // Skips separators and comments, then reads one number; pos_ is left on the byte that ended it.
  PgmStatus Number(bool hashEnds, std::int64_t* value, std::uint8_t* end) {
    for (;;) {
      if (pos_ >= length_) return PgmStatus::kCutShort;
      const std::uint8_t b = data_[pos_];
      if (b <= 32) {
        ++pos_;
      } else if (b == '#') {
        if (!SkipLine()) return PgmStatus::kCutShort;
      } else {
        break;
      }
    }
    std::int64_t v = 0;
    for (;;) {
      if (pos_ >= length_) return PgmStatus::kCutShort;
      const std::uint8_t b = data_[pos_];
      if (EndsNumber(b) || (hashEnds && b == '#')) {
        *end = b;
        break;
      }
      if (b < '0' || b > '9') return PgmStatus::kNotDigit;
      // Anything above INT_MAX is refused later; stop growing there so nothing overflows.
      if (v <= INT_MAX) v = v * 10 + (b - '0');
      ++pos_;
    }
    *value = v;
    return PgmStatus::kOk;
  }

  const std::uint8_t* data_;
  std::size_t length_;
  std::size_t pos_ = 0;
};

}  // namespace

PgmStatus ParsePgmHeader(const std::uint8_t* data, std::size_t length, PgmHeader* out) {
  *out = PgmHeader{};
  if (data == nullptr) length = 0;
  return PgmScanner(data, length).Scan(out);
}

}  // namespace io
}  // namespace lamina

namespace {

// File-form codes; the buffer form uses the same less one (it has no "cannot open").
int FileCode(PgmStatus s) {
  switch (s) {
    case PgmStatus::kOk:
      return 0;
    case PgmStatus::kNotP5:
      return 2;
    case PgmStatus::kCutShort:
      return 3;
    case PgmStatus::kNotDigit:
      return 4;
    case PgmStatus::kBadMaxval:
      return 5;
    case PgmStatus::kBadSize:
      return 6;
  }
  return 3;
}
constexpr int kFileShort = 7;
constexpr int kFileNoMemory = 8;

int LoadPgmFile(CLamina& img, CFile* file) {
  BlockAccess::Name(img) = file->GetFileName();
  const ULONGLONG start = file->GetPosition();
  const ULONGLONG length = file->GetLength();
  const std::uint64_t remaining = start < length ? length - start : 0;

  // Read a first piece, and more only while the header runs on past it (long comments).
  std::vector<std::uint8_t> head;
  PgmHeader h;
  PgmStatus status = PgmStatus::kCutShort;
  std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, 4096));
  try {
    for (;;) {
      const std::size_t had = head.size();
      head.resize(want);
      const UINT got = file->Read(head.data() + had, static_cast<UINT>(want - had));
      head.resize(had + got);
      status = lamina::io::ParsePgmHeader(head.data(), head.size(), &h);
      if (status != PgmStatus::kCutShort || got == 0 || head.size() >= remaining) break;
      const std::uint64_t next = std::min<std::uint64_t>(remaining, std::uint64_t{head.size()} * 2);
      if (next > UINT_MAX) break;  // a header of gigabytes is not a header
      want = static_cast<std::size_t>(next);
    }
  } catch (const std::bad_alloc&) {
    return kFileNoMemory;
  }
  if (status != PgmStatus::kOk) return FileCode(status);

  const std::uint64_t pixels = static_cast<std::uint64_t>(h.width * h.height);
  const std::uint64_t inHead = head.size() - h.dataOffset;
  const std::uint64_t inFile = remaining - head.size();
  if (inHead + inFile < pixels) return kFileShort;
  const std::size_t fromHead = static_cast<std::size_t>(std::min(inHead, pixels));
  lamina::io::FileSource source(file, pixels - fromHead, head.data() + h.dataOffset, fromHead);
  switch (lamina::io::LoadGray8(img, static_cast<int>(h.width), static_cast<int>(h.height),
                                static_cast<int>(h.maxval + 1), source)) {
    case BuildStatus::kOk:
      break;
    case BuildStatus::kNoMemory:
      return kFileNoMemory;
    case BuildStatus::kShort:
      return kFileShort;
  }
  // A file object is left right after the pixels, even when the first piece read went past them.
  if (inHead > pixels)
    file->Seek(static_cast<LONGLONG>(start + h.dataOffset + pixels), CFile::begin);
  return 0;
}

}  // namespace

int CLamina::fnIMG_LoadPGM(CString name) {
  CFile file;
  if (!file.Open(name, CFile::modeRead)) return 1;
  return LoadPgmFile(*this, &file);
}

int CLamina::fnIMG_LoadPGM(CFile* file) {
  if (file == nullptr) return 1;
  return LoadPgmFile(*this, file);
}

int CLamina::fnIMG_LoadPGMFromBuffer(unsigned char* buffer, int length) {
  const std::size_t n = buffer != nullptr && length > 0 ? static_cast<std::size_t>(length) : 0;
  PgmHeader h;
  const PgmStatus status = lamina::io::ParsePgmHeader(buffer, n, &h);
  if (status != PgmStatus::kOk) return FileCode(status) - 1;
  const std::uint64_t pixels = static_cast<std::uint64_t>(h.width * h.height);
  if (n - h.dataOffset < pixels) return kFileShort - 1;
  lamina::io::BufferSource source(buffer + h.dataOffset, n - h.dataOffset);
  switch (lamina::io::LoadGray8(*this, static_cast<int>(h.width), static_cast<int>(h.height),
                                static_cast<int>(h.maxval + 1), source)) {
    case BuildStatus::kOk:
      return 0;
    case BuildStatus::kNoMemory:
      return kFileNoMemory - 1;
    case BuildStatus::kShort:
      return kFileShort - 1;
  }
  return kFileShort - 1;
}

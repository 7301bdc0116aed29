// PGM files with one byte per sample (magic P5), read into an 8-bit image whose palette has
// maxval + 1 gray entries, entry i = (i, i, i): sample values are used as indices unchanged.
//
// Result codes: io/codes.h (load_pgm, load_pgm_from_buffer). The file forms give the image the
// file's name before anything is scanned; on any failure the block is unchanged.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>
#include <vector>

#include "CLamina.h"
#include "core/block_access.h"
#include "io/codes.h"
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

// The codes of the file forms and of the buffer form name the same failures (the buffer form has
// no "cannot open", so each is one less).
struct PgmCodes {
  int notP5, cutShort, notDigit, maxval, size, shortPixels, noMemory;
};
namespace file_codes = lamina::codes::load_pgm;
namespace buffer_codes = lamina::codes::load_pgm_from_buffer;
constexpr PgmCodes kFileCodes{file_codes::kNotP5,   file_codes::kCutShort, file_codes::kNotDigit,
                              file_codes::kMaxval,  file_codes::kSize,     file_codes::kShort,
                              file_codes::kNoMemory};
constexpr PgmCodes kBufferCodes{
    buffer_codes::kNotP5, buffer_codes::kCutShort, buffer_codes::kNotDigit, buffer_codes::kMaxval,
    buffer_codes::kSize,  buffer_codes::kShort,    buffer_codes::kNoMemory};

int CodeOf(PgmStatus s, const PgmCodes& c) {
  switch (s) {
    case PgmStatus::kOk:
      return 0;
    case PgmStatus::kNotP5:
      return c.notP5;
    case PgmStatus::kCutShort:
      return c.cutShort;
    case PgmStatus::kNotDigit:
      return c.notDigit;
    case PgmStatus::kBadMaxval:
      return c.maxval;
    case PgmStatus::kBadSize:
      return c.size;
  }
  return c.cutShort;
}

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
    return file_codes::kNoMemory;
  }
  if (status != PgmStatus::kOk) return CodeOf(status, kFileCodes);

  const std::uint64_t pixels = static_cast<std::uint64_t>(h.width * h.height);
  const std::uint64_t inHead = head.size() - h.dataOffset;
  const std::uint64_t inFile = remaining - head.size();
  if (inHead + inFile < pixels) return file_codes::kShort;
  const std::size_t fromHead = static_cast<std::size_t>(std::min(inHead, pixels));
  lamina::io::FileSource source(file, pixels - fromHead, head.data() + h.dataOffset, fromHead);
  switch (lamina::io::LoadGray8(img, static_cast<int>(h.width), static_cast<int>(h.height),
                                static_cast<int>(h.maxval + 1), source)) {
    case BuildStatus::kOk:
      break;
    case BuildStatus::kNoMemory:
      return file_codes::kNoMemory;
    case BuildStatus::kShort:
      return file_codes::kShort;
  }
  // A file object is left right after the pixels, even when the first piece read went past them.
  if (inHead > pixels)
    file->Seek(static_cast<LONGLONG>(start + h.dataOffset + pixels), CFile::begin);
  return 0;
}

}  // namespace

int CLamina::fnIMG_LoadPGM(CString name) {
  CFile file;
  if (!file.Open(name, CFile::modeRead)) return file_codes::kCannotOpen;
  return LoadPgmFile(*this, &file);
}

int CLamina::fnIMG_LoadPGM(CFile* file) {
  if (file == nullptr) return file_codes::kCannotOpen;
  return LoadPgmFile(*this, file);
}

int CLamina::fnIMG_LoadPGMFromBuffer(unsigned char* buffer, int length) {
  const std::size_t n = buffer != nullptr && length > 0 ? static_cast<std::size_t>(length) : 0;
  PgmHeader h;
  const PgmStatus status = lamina::io::ParsePgmHeader(buffer, n, &h);
  if (status != PgmStatus::kOk) return CodeOf(status, kBufferCodes);
  const std::uint64_t pixels = static_cast<std::uint64_t>(h.width * h.height);
  if (n - h.dataOffset < pixels) return buffer_codes::kShort;
  lamina::io::BufferSource source(buffer + h.dataOffset, n - h.dataOffset);
  switch (lamina::io::LoadGray8(*this, static_cast<int>(h.width), static_cast<int>(h.height),
                                static_cast<int>(h.maxval + 1), source)) {
    case BuildStatus::kOk:
      return 0;
    case BuildStatus::kNoMemory:
      return buffer_codes::kNoMemory;
    case BuildStatus::kShort:
      return buffer_codes::kShort;
  }
  return buffer_codes::kShort;
}

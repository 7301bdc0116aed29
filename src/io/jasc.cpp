// JASC palette files: the palette of a 4 or 8-bit image as text.
//
//   JASC-PAL\r\n 0100\r\n 16 or 256\r\n, then one "red green blue\r\n" line per entry.
//
// Result codes: io/codes.h (save_palette, load_palette). Failures leave the palette unchanged.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"
#include "io/codes.h"
#include "io/jasc_parse.h"
#include "lamina/cfile.h"

using lamina::BlockAccess;
using lamina::ImageView;
namespace codes = lamina::codes;

namespace lamina {
namespace io {

namespace {

// The reader takes bytes one at a time; both sources give them through Next.
template <class Source>
JascStatus ParseJascFrom(Source& in, RGBQUAD* entries, int* count) {
  static const char kMagic[] = "JASC-PAL";
  std::uint8_t b = 0;
  for (int k = 0; k < 8; ++k) {
    if (!in.Next(&b)) return JascStatus::kCutShort;
    if (b != static_cast<std::uint8_t>(kMagic[k])) return JascStatus::kNotJasc;
  }
  // The line end after the magic (two bytes, whatever they are), then the version line.
  for (int k = 0; k < 2; ++k)
    if (!in.Next(&b)) return JascStatus::kCutShort;
  do {
    if (!in.Next(&b)) return JascStatus::kCutShort;
  } while (b != '\n');

  // The count, up to a carriage return or a line feed. Bytes are not tested to be digits, as in
  // files written for this reader; any count but 16 or 256 is refused all the same.
  std::int64_t n = 0;
  for (;;) {
    if (!in.Next(&b)) return JascStatus::kCutShort;
    if (b == '\r' || b == '\n') break;
    if (n > -1000000 && n < 1000000)
      n = n * 10 + (static_cast<int>(b) - '0');
    else
      n = 1000000;  // far past any count: stays refused without overflowing
  }
  if (n != 16 && n != 256) return JascStatus::kNotJasc;
  // Only a carriage return has a line feed after it; with bare line feeds the next byte is
  // already the first digit of the first entry.
  if (b == '\r' && !in.Next(&b)) return JascStatus::kCutShort;

  const int total = static_cast<int>(n);
  for (int i = 0; i < total; ++i) {
    std::uint8_t rgb[3];
    for (int c = 0; c < 3; ++c) {
      // Each number wraps modulo 256, as an 8-bit accumulator does (300 reads as 44).
      unsigned v = 0;
      int digits = 0;
      bool ended = false;
      while (in.Next(&b)) {
        if (b == ' ' || b == '\r' || b == '\n') {
          ended = true;
          break;
        }
        v = (v * 10u + b - '0') & 0xFFu;
        ++digits;
      }
      if (!ended) {
        // The last number of the file may end with the file itself (no final line end).
        if (i != total - 1 || c != 2 || digits == 0) return JascStatus::kCutShort;
      } else if (b == '\r') {
        in.Next(&b);  // the line feed after it; the end of the data here is noticed next
      }
      rgb[c] = static_cast<std::uint8_t>(v);
    }
    entries[i] = RGBQUAD{rgb[2], rgb[1], rgb[0], 0};
  }
  *count = total;
  return JascStatus::kOk;
}

struct SpanSource {
  const std::uint8_t* p;
  std::size_t left;
  bool Next(std::uint8_t* b) {
    if (left == 0) return false;
    *b = *p++;
    --left;
    return true;
  }
};

// Bytes of an open file through a small buffer.
struct FileBytes {
  explicit FileBytes(CFile* f) : file(f) {}
  CFile* file;
  std::uint8_t buf[4096];
  UINT pos = 0;
  UINT len = 0;
  bool Next(std::uint8_t* b) {
    if (pos == len) {
      len = file->Read(buf, sizeof buf);
      pos = 0;
      if (len == 0) return false;
    }
    *b = buf[pos++];
    return true;
  }
};

}  // namespace

JascStatus ParseJasc(const std::uint8_t* data, std::size_t length, RGBQUAD* entries, int* count) {
  SpanSource s{data, data != nullptr ? length : 0};
  return ParseJascFrom(s, entries, count);
}

}  // namespace io
}  // namespace lamina

int CLamina::fnIMG_SavePalette(CString name) {
  const ImageView v = BlockAccess::View(*this);
  if (v.bpp != 4 && v.bpp != 8) return codes::save_palette::kDepth;
  CFile file;
  if (!file.Open(name, CFile::modeCreate | CFile::modeWrite))
    return codes::save_palette::kCannotCreate;

  // 16 or 256 lines whatever biClrUsed says; entries the palette does not hold are written black
  // rather than read from beyond it.
  const int levels = v.bpp == 4 ? 16 : 256;
  char text[32 + 256 * 13];
  std::size_t used = 0;
  const char* head = v.bpp == 4 ? "JASC-PAL\r\n0100\r\n16\r\n" : "JASC-PAL\r\n0100\r\n256\r\n";
  used = std::strlen(head);
  std::memcpy(text, head, used);
  for (int i = 0; i < levels; ++i) {
    const RGBQUAD e = i < v.paletteEntries ? v.palette[i] : RGBQUAD{0, 0, 0, 0};
    used += static_cast<std::size_t>(std::snprintf(text + used, sizeof text - used, "%u %u %u\r\n",
                                                   unsigned{e.rgbRed}, unsigned{e.rgbGreen},
                                                   unsigned{e.rgbBlue}));
  }
  if (file.Write(text, static_cast<UINT>(used)) != used) return codes::save_palette::kWriteFailed;
  return 0;
}

int CLamina::fnIMG_LoadPalette(CString name) {
  const ImageView v = BlockAccess::View(*this);
  if (v.bpp != 4 && v.bpp != 8) return codes::load_palette::kDepth;
  CFile file;
  if (!file.Open(name, CFile::modeRead)) return codes::load_palette::kCannotOpen;
  lamina::io::FileBytes bytes(&file);
  RGBQUAD entries[256];
  int count = 0;
  switch (lamina::io::ParseJascFrom(bytes, entries, &count)) {
    case lamina::io::JascStatus::kOk:
      break;
    case lamina::io::JascStatus::kNotJasc:
      return codes::load_palette::kNotJasc;
    case lamina::io::JascStatus::kCutShort:
      return codes::load_palette::kCutShort;
  }
  // Only the entries both the file and the palette hold: a 16-entry file changes the first 16
  // entries of a 256-entry palette and leaves the others as they were.
  const int copy = count < v.paletteEntries ? count : v.paletteEntries;
  if (copy > 0) std::memcpy(v.palette, entries, static_cast<std::size_t>(copy) * 4);
  return 0;
}

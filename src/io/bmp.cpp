// BMP files: loading from a name, an open file or a memory buffer, and saving.
//
// The three loaders share one parser over bytes; the file forms only read the bytes. The parser
// first examines the whole file (every offset, count and size checked in 64 bits against the data)
// and only then allocates, so a refused file leaves the image exactly as it was. Result codes:
// io/codes.h (load_bmp, load_bmp_data, save_bmp, save_bmp_file); a header no loader takes
// (io/packed_dib.h) is refused before anything is written. Above 8 bits
// the file's biClrUsed and biClrImportant count the colour-table entries it carries (0 when none),
// whatever the block says, so that every reader finds the rows where they are.
// Empty images (a width or height of 0) load and save: the library makes them, so it reads them.
// A 40-byte-header file becomes the block byte for byte (the file minus its 14-byte file header);
// longer headers (V4, V5 ...) and the 12-byte OS/2 core header are rewritten into a compact block
// with a 40-byte header, because the rest of the library reads the palette at block + 40.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/image_builder.h"
#include "core/pixel_access.h"
#include "io/codes.h"
#include "io/packed_dib.h"
#include "lamina/cfile.h"
#include "lamina/memory.h"

namespace {

using lamina::BlockAccess;

namespace load = lamina::codes::load_bmp;
namespace save = lamina::codes::save_bmp;

using load::kCannotOpen;
using load::kCompressed;
using load::kDamaged;
using load::kDepth;
using load::kNoMemory;
using load::kNotBmp;

constexpr std::int64_t kFileHeader = 14;
constexpr std::int64_t kInfoHeader = 40;
constexpr std::int64_t kCoreHeader = 12;

std::uint16_t U16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}
void PutU16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(std::uint8_t* p, std::uint32_t v) {
  PutU16(p, v);
  PutU16(p + 2, v >> 16);
}

// What a checked file turns into: everything Fill needs, all within the data.
struct Plan {
  const std::uint8_t* data = nullptr;
  std::int64_t length = 0;
  bool asIs = false;           // 40-byte header: the block is the file minus its first 14 bytes
  BITMAPINFOHEADER header{};   // the header the block ends up with
  std::int64_t paletteAt = 0;  // file offset of the colour table
  std::int64_t entries = 0;    // table entries the block holds
  std::int64_t entryBytes = 4;  // 3 in OS/2 core files
  std::int64_t bitsAt = 0;      // bfOffBits
  std::int64_t stride = 0;
  std::int64_t rows = 0;
  bool topDown = false;
  std::int64_t imageBytes = 0;  // biSizeImage after repair
  std::int64_t blockBytes = 0;
  std::int64_t bitsOffset = 0;  // of the rows in the block
};

// Checks a whole file held in memory. Result 0 fills `plan`; nothing is allocated or changed.
int Examine(const std::uint8_t* data, std::int64_t length, Plan& plan) {
  if (data == nullptr || length < 2) return kDamaged;
  if (data[0] != 'B' || data[1] != 'M') return kNotBmp;
  if (length < kFileHeader + 4) return kDamaged;
  const std::int64_t headerSize = U32(data + 14);
  const bool core = headerSize == kCoreHeader;
  // Below 40 bytes only the core header has a known layout; without it the depth cannot be read.
  if (!core && headerSize < kInfoHeader) return kDamaged;
  if (kFileHeader + headerSize > length) return kDamaged;
  const std::uint8_t* ih = data + kFileHeader;
  std::int64_t width, height, bpp, compression, sizeImage, clrUsed;
  if (core) {
    width = U16(ih + 4);
    height = U16(ih + 6);
    bpp = U16(ih + 10);
    compression = 0;
    sizeImage = 0;
    clrUsed = 0;
  } else {
    width = static_cast<std::int32_t>(U32(ih + 4));
    height = static_cast<std::int32_t>(U32(ih + 8));
    bpp = U16(ih + 14);
    compression = U32(ih + 16);
    sizeImage = U32(ih + 20);
    clrUsed = U32(ih + 32);
  }
  if (!lamina::InMask(lamina::kLoadableDepthMask, bpp)) return kDepth;
  if (compression != 0) return kCompressed;

  // From here on every refusal is a damaged or inconsistent file. A width or height of 0 is an
  // image without pixels, which the library itself makes and saves.
  if (width < 0 || height == INT32_MIN) return kDamaged;
  const std::int64_t levels = lamina::Levels(bpp);
  // At 1, 4 and 8 bits the count sizes the palette, which cannot hold more entries than indices.
  // Above 8 bits it sizes no table unless it is 256 or less (below), so no value is damage.
  if (bpp <= 8 && clrUsed > levels) return kDamaged;
  const std::int64_t headerEnd = kFileHeader + headerSize;
  const std::int64_t bitsAt = U32(data + 10);
  std::int64_t entries = 0;
  std::int64_t entryBytes = 4;
  if (core) {
    entryBytes = 3;
    if (bpp <= 8) {
      // The core header has no colour count: the table fills the room before the rows.
      if (bitsAt < headerEnd) return kDamaged;
      entries = std::min(levels, (bitsAt - headerEnd) / 3);
      if (entries == 0) return kDamaged;
    }
  } else {
    const std::int64_t n = clrUsed != 0 ? clrUsed : levels;
    if (bpp <= 8) {
      entries = n;
    } else if (n <= 256 && headerEnd + 4 * n <= bitsAt) {
      // A colour table beside true-colour rows is only a hint to palette displays; it is kept
      // when the file really holds it before the rows, so that saving writes it back.
      entries = n;
    }
  }
  const std::int64_t paletteEnd = headerEnd + entries * entryBytes;
  if (paletteEnd > length) return kDamaged;
  if (bitsAt < paletteEnd || bitsAt > length) return kDamaged;
  const std::int64_t stride = lamina::Stride64(width, bpp);
  const std::int64_t rows = height < 0 ? -height : height;
  const std::int64_t room = length - bitsAt;
  // Compared by division first: stride * rows of a hostile header can exceed 64 bits. Rows of
  // width 0, and no rows, take no bytes.
  if (stride != 0 && rows != 0 && (stride > room || rows > room / stride)) return kDamaged;
  const std::int64_t rowBytes = stride * rows;
  if (sizeImage != 0 && bitsAt + sizeImage > length) return kDamaged;
  // A missing or short biSizeImage is repaired: every other operation copies biSizeImage bytes.
  const std::int64_t imageBytes = std::max(sizeImage, rowBytes);
  const bool asIs = headerSize == kInfoHeader;
  const std::int64_t blockBytes = asIs ? length - kFileHeader : kInfoHeader + 4 * entries + imageBytes;
  // Sizes are reported through int fields.
  if (blockBytes > INT_MAX) return kDamaged;

  BITMAPINFOHEADER h{};
  if (core) {
    h.biWidth = static_cast<LONG>(width);
    h.biPlanes = U16(ih + 8);
    h.biBitCount = static_cast<WORD>(bpp);
    h.biClrUsed = entries < levels ? static_cast<DWORD>(entries) : 0;
  } else {
    std::memcpy(&h, ih, sizeof h);
  }
  h.biSize = static_cast<DWORD>(kInfoHeader);
  h.biHeight = static_cast<LONG>(rows);
  h.biSizeImage = static_cast<DWORD>(imageBytes);

  plan.data = data;
  plan.length = length;
  plan.asIs = asIs;
  plan.header = h;
  plan.paletteAt = headerEnd;
  plan.entries = entries;
  plan.entryBytes = entryBytes;
  plan.bitsAt = bitsAt;
  plan.stride = stride;
  plan.rows = rows;
  plan.topDown = height < 0;
  plan.imageBytes = imageBytes;
  plan.blockBytes = blockBytes;
  plan.bitsOffset = asIs ? bitsAt - kFileHeader : kInfoHeader + 4 * entries;
  return 0;
}

// Writes every byte of a block of p.blockBytes bytes from a checked file.
void Fill(const Plan& p, std::uint8_t* block) {
  std::uint8_t* bits = block + p.bitsOffset;
  const std::size_t stride = static_cast<std::size_t>(p.stride);
  if (p.asIs) {
    std::memcpy(block, p.data + kFileHeader, static_cast<std::size_t>(p.blockBytes));
    if (p.topDown && p.stride != 0) {
      for (std::int64_t i = 0, j = p.rows - 1; i < j; ++i, --j)
        std::swap_ranges(bits + i * p.stride, bits + i * p.stride + p.stride, bits + j * p.stride);
    }
  } else {
    auto* pal = reinterpret_cast<RGBQUAD*>(block + kInfoHeader);
    const std::uint8_t* src = p.data + p.paletteAt;
    if (p.entryBytes == 4) {
      std::memcpy(pal, src, static_cast<std::size_t>(4 * p.entries));
    } else {
      for (std::int64_t i = 0; i < p.entries; ++i, src += 3) pal[i] = RGBQUAD{src[0], src[1], src[2], 0};
    }
    const std::uint8_t* rows = p.data + p.bitsAt;
    if (p.topDown && p.stride != 0) {
      for (std::int64_t i = 0; i < p.rows; ++i)
        std::memcpy(bits + (p.rows - 1 - i) * p.stride, rows + i * p.stride, stride);
      const std::int64_t rowBytes = p.stride * p.rows;
      std::memcpy(bits + rowBytes, rows + rowBytes, static_cast<std::size_t>(p.imageBytes - rowBytes));
    } else {
      std::memcpy(bits, rows, static_cast<std::size_t>(p.imageBytes));
    }
  }
  std::memcpy(block, &p.header, sizeof p.header);
}

// The core of all three loaders: a whole file held in memory.
int LoadBytes(CLamina& img, const std::uint8_t* data, std::int64_t length) {
  Plan plan;
  const int r = Examine(data, length, plan);
  if (r != 0) return r;
  // Every byte of the new block gets written, so a current block of exactly the needed size is
  // filled in place (not when the file lies inside that very block).
  lamina::NewImage image = lamina::NewImage::RawReusing(
      img, static_cast<std::size_t>(plan.blockBytes), static_cast<std::size_t>(plan.bitsOffset),
      data, static_cast<std::size_t>(length));
  if (!image.Ok()) return kNoMemory;
  Fill(plan, image.Block());
  image.InstallInto(img);
  return 0;
}

// Reads a file from its current position to its end and loads it; the name is set on success.
int LoadFromFile(CLamina& img, CFile& file) {
  const ULONGLONG at = file.GetPosition();
  const ULONGLONG length = file.GetLength();
  const ULONGLONG remaining = length > at ? length - at : 0;
  if (remaining > static_cast<ULONGLONG>(INT_MAX)) {
    // No image block can hold it; the headers still tell a file of another kind (2, 3, 4) apart.
    std::uint8_t prefix[65536];
    const UINT got = file.Read(prefix, sizeof prefix);
    Plan unused;
    const int r = Examine(prefix, got, unused);
    return r != 0 ? r : int{kDamaged};
  }
  std::unique_ptr<std::uint8_t[]> bytes(new (std::nothrow) std::uint8_t[remaining + 1]);
  if (bytes == nullptr) return kNoMemory;
  if (file.Read(bytes.get(), static_cast<UINT>(remaining)) != remaining) return kDamaged;
  const int r = LoadBytes(img, bytes.get(), static_cast<std::int64_t>(remaining));
  if (r == 0) BlockAccess::Name(img) = file.GetFileName();
  return r;
}

}  // namespace

int CLamina::fnIMG_LoadBMP(CString name) {
  CFile file;
  if (!file.Open(name, CFile::modeRead)) return kCannotOpen;
  return LoadFromFile(*this, file);  // the file closes when it goes out of scope
}

int CLamina::fnIMG_LoadBMP(CFile* file) {
  if (file == nullptr) return kDamaged;
  return LoadFromFile(*this, *file);
}

int CLamina::fnIMG_LoadBMPFromBuffer(unsigned char* buffer, int length) {
  return LoadBytes(*this, buffer, length);
}

namespace {

// The bytes of a BMP file for an image: the 54 + P header bytes and the rows.
struct Layout {
  std::uint8_t head[54 + 1024];
  std::size_t headBytes = 0;
  const std::uint8_t* rows = nullptr;
  std::size_t rowBytes = 0;
};

// 0 with `out` filled; save_bmp's kWriteFailed when the image holds no block or its rows do not lie
// inside it, kUnreadable when its header is one no loader takes (the file form's codes agree).
int Describe(const std::uint8_t* block, const std::uint8_t* bits, Layout& out) {
  if (block == nullptr || bits == nullptr) return save::kWriteFailed;
  const std::uintptr_t blockBytes = GlobalSize(GlobalHandle(block));
  const std::uintptr_t bitsOffset = reinterpret_cast<std::uintptr_t>(bits) -
                                    reinterpret_cast<std::uintptr_t>(block);
  BITMAPINFOHEADER h;
  if (blockBytes < kInfoHeader) return save::kWriteFailed;
  std::memcpy(&h, block, sizeof h);
  if (reinterpret_cast<std::uintptr_t>(bits) < reinterpret_cast<std::uintptr_t>(block) ||
      bitsOffset < kInfoHeader || bitsOffset > blockBytes ||
      h.biSizeImage > blockBytes - bitsOffset)
    return save::kWriteFailed;
  if (!lamina::io::WritableHeader(h)) return save::kUnreadable;
  const std::int64_t n = lamina::ColourCount(h);
  // At 1, 4 and 8 bits the palette (n <= 256 here). Above 8 bits a colour table is only a hint to
  // palette displays: it is written back when the block holds it between the header and the rows
  // (a file loaded with one), and otherwise left out rather than read from the rows or invented.
  std::int64_t entries = 0;
  if (h.biBitCount <= 8 ||
      (n <= 256 && bitsOffset >= static_cast<std::uintptr_t>(kInfoHeader + 4 * n)))
    entries = n;
  const std::size_t paletteBytes = static_cast<std::size_t>(4 * entries);
  std::uint8_t* f = out.head;
  f[0] = 'B';
  f[1] = 'M';
  PutU32(f + 2, static_cast<std::uint32_t>(54 + paletteBytes + h.biSizeImage));
  PutU32(f + 6, 0);
  PutU32(f + 10, static_cast<std::uint32_t>(54 + paletteBytes));
  std::memcpy(f + 14, block, 40);
  if (h.biBitCount > 8) {
    // By the format a count here announces that many table entries after the header: other
    // readers (image viewers) refuse a file whose header announces 2^24 entries that are not
    // there. The file says what it holds; the image's own block keeps its values.
    PutU32(f + 14 + 32, static_cast<std::uint32_t>(entries));
    PutU32(f + 14 + 36, static_cast<std::uint32_t>(entries));
  }
  if (bitsOffset >= kInfoHeader + paletteBytes)
    std::memcpy(f + 54, block + kInfoHeader, paletteBytes);
  else
    std::memset(f + 54, 0, paletteBytes);  // a palette the block lacks is not read past it
  out.headBytes = 54 + paletteBytes;
  out.rows = bits;
  out.rowBytes = h.biSizeImage;
  return 0;
}

bool WriteAll(CFile& file, const Layout& l) {
  return file.Write(l.head, static_cast<UINT>(l.headBytes)) == l.headBytes &&
         file.Write(l.rows, static_cast<UINT>(l.rowBytes)) == l.rowBytes;
}

}  // namespace

int CLamina::fnIMG_SaveBMP(CString name) {
  Layout layout;
  // Checked before the file is created, so an existing file is not truncated for nothing.
  const int r = Describe(m_lpDib, m_lpBits, layout);
  if (r != 0) return r;
  CFile file;
  if (!file.Open(name, CFile::modeCreate | CFile::modeWrite)) return save::kCannotCreate;
  return WriteAll(file, layout) ? 0 : save::kWriteFailed;
}

int CLamina::fnIMG_SaveBMP(CFile* file) {
  Layout layout;
  namespace to_file = lamina::codes::save_bmp_file;
  if (file == nullptr) return to_file::kWriteFailed;
  const int r = Describe(m_lpDib, m_lpBits, layout);
  if (r != 0) return r;
  return WriteAll(*file, layout) ? 0 : to_file::kWriteFailed;
}

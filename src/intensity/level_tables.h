// Shared machinery of the intensity operations: applying per-level tables over the rows, raw
// histograms, rounding and the safe float-to-int truncation.
//
// Every point operation here is defined pixel by pixel through the checked accessors. A per-level
// operation gives the same bytes when its transfer is computed once per level into a table and
// the table is applied over the rows, which is what these helpers do. They touch only pixel bits:
// row padding (including the unused bits or nibble of a sub-byte row's last byte) keeps its bytes,
// and the fourth byte of a 32-bit pixel is never written.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/byte_table.h"
#include "core/numeric.h"
#include "core/pixel_access.h"

namespace lamina {
namespace intensity {

using LevelTable = std::uint8_t[256];

using numeric::Clamp;
using numeric::fnRound;
using numeric::TruncToInt;

inline void NoteStride(CLamina& img, const ImageView& v) { BlockAccess::NoteStride(img, v); }

// Rewrites every pixel index of a 1, 4 or 8-bit image through `table` (index -> new index; only
// the low bpp bits of an entry are stored, as fnIMG_SetPixel stores them).
template <int B>
void MapIndices(const ImageView& v, const LevelTable table) {
  static_assert(B == 1 || B == 4 || B == 8, "palette depths only");
  if (v.width <= 0 || v.height <= 0) return;
  if constexpr (B == 8) {
    for (int y = v.height - 1; y >= 0; --y)
      ApplyByteTable(v.Row(y), static_cast<std::size_t>(v.width), table);
  } else {
    // Whole bytes go through a byte-wide table built from the per-index one; the pixels of a
    // trailing partial byte are written one by one so its padding bits stay.
    constexpr int kPerByte = 8 / B;
    constexpr unsigned kMask = (1u << B) - 1u;
    std::uint8_t bytes[256];
    for (unsigned b = 0; b < 256; ++b) {
      unsigned out = 0;
      for (int k = 0; k < kPerByte; ++k) {
        const int shift = 8 - B * (k + 1);
        const unsigned idx = (b >> shift) & kMask;
        out |= (table[idx] & kMask) << shift;
      }
      bytes[b] = static_cast<std::uint8_t>(out);
    }
    const int whole = v.width / kPerByte;
    for (int y = v.height - 1; y >= 0; --y) {
      std::uint8_t* row = v.Row(y);
      for (int i = 0; i < whole; ++i) row[i] = bytes[row[i]];
      for (int x = whole * kPerByte; x < v.width; ++x)
        Px<B>::Set(row, x, table[Px<B>::Get(row, x)]);
    }
  }
}

inline void MapIndices(const ImageView& v, const LevelTable table) {
  switch (v.bpp) {
    case 1:
      MapIndices<1>(v, table);
      break;
    case 4:
      MapIndices<4>(v, table);
      break;
    case 8:
      MapIndices<8>(v, table);
      break;
    default:
      break;
  }
}

// Rewrites the blue, green and red bytes of every 24 or 32-bit pixel through one table each.
template <int Bytes>
void MapChannelsT(const ImageView& v, const LevelTable blue, const LevelTable green,
                  const LevelTable red) {
  if (v.width <= 0 || v.height <= 0) return;
  // Local copies cannot alias the rows (see MapIndices).
  std::uint8_t tb[256], tg[256], tr[256];
  std::memcpy(tb, blue, 256);
  std::memcpy(tg, green, 256);
  std::memcpy(tr, red, 256);
  for (int y = v.height - 1; y >= 0; --y) {
    std::uint8_t* p = v.Row(y);
    for (int x = 0; x < v.width; ++x, p += Bytes) {
      const std::uint8_t b = tb[p[0]], g = tg[p[1]], r = tr[p[2]];
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
  }
}

inline void MapChannels(const ImageView& v, const LevelTable blue, const LevelTable green,
                        const LevelTable red) {
  if (v.bpp == 24)
    MapChannelsT<3>(v, blue, green, red);
  else if (v.bpp == 32)
    MapChannelsT<4>(v, blue, green, red);
}

// Rewrites blue, green and red of every palette entry the block holds through one table each.
inline void MapPalette(const ImageView& v, const LevelTable blue, const LevelTable green,
                       const LevelTable red) {
  for (int i = 0; i < v.paletteEntries; ++i) {
    RGBQUAD& e = v.palette[i];
    e.rgbBlue = blue[e.rgbBlue];
    e.rgbGreen = green[e.rgbGreen];
    e.rgbRed = red[e.rgbRed];
  }
}

inline void Identity(LevelTable t) {
  for (int i = 0; i < 256; ++i) t[i] = static_cast<std::uint8_t>(i);
}

// Raw counts of one value per pixel, 256 levels: the pixel index at 1, 4 and 8 bits, and at 24 and
// 32 bits the byte at `channel` (0 blue, 1 green, 2 red). 64-bit so that no image overflows them.
void CountLevels(const ImageView& v, int channel, std::uint64_t counts[256]);

// The four raw histograms of an image of a supported depth (columns I, R, G, B as
// fnIMG_GetHistogram fills them, before any scaling).
void CountHistogram(const ImageView& v, std::uint64_t columns[4][256]);

// Saturates a count for the int fields of the public table and record.
inline int CountToInt(std::uint64_t n) {
  return n > static_cast<std::uint64_t>(std::numeric_limits<int>::max())
             ? std::numeric_limits<int>::max()
             : static_cast<int>(n);
}

}  // namespace intensity
}  // namespace lamina

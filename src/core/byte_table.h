// Per-level tables applied over an image in place: the one lookup-table pass of the library.
//
// A per-level operation gives the same bytes when its transfer is computed once per level into a
// 256-entry table and the table is applied over the rows. These passes touch only pixel bits: row
// padding (including the unused bits or nibble of a sub-byte row's last byte) keeps its bytes, and
// the fourth byte of a 32-bit pixel is never written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/pixel_access.h"

namespace lamina {

using LevelTable = std::uint8_t[256];

inline void Identity(LevelTable t) {
  for (int i = 0; i < 256; ++i) t[i] = static_cast<std::uint8_t>(i);
}

// Applies a 256-entry byte table over a run of bytes. Eight bytes go through one 64-bit load and
// store, which halves the memory operations of the plain byte loop; the lookups stay exact. The
// table is copied to the stack first: a local copy cannot alias the bytes being rewritten, so the
// compiler keeps its loads out of the store dependencies.
inline void ApplyByteTable(std::uint8_t* p, std::size_t n, const std::uint8_t* table) {
  std::uint8_t t[256];
  std::memcpy(t, table, sizeof t);
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t in;
    std::memcpy(&in, p + i, 8);
    std::uint64_t out = 0;
    for (int k = 0; k < 8; ++k) out |= std::uint64_t{t[(in >> (8 * k)) & 0xFF]} << (8 * k);
    std::memcpy(p + i, &out, 8);
  }
  for (; i < n; ++i) p[i] = t[p[i]];
}

// Rewrites every pixel index of a 1, 4 or 8-bit image through `table` (index -> new index; only
// the low B bits of an entry are stored, as fnIMG_SetPixel stores them).
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

// The same for an image of any depth; other than 1, 4 and 8 bits nothing changes.
inline void MapIndices(const ImageView& v, const LevelTable table) {
  DispatchDepth<kPaletteDepthMask>(v.bpp,
                                   [&](auto d) { MapIndices<decltype(d)::value>(v, table); });
}

// Rewrites the blue, green and red bytes of every 24 or 32-bit pixel through one table each.
template <int B>
void MapChannels(const ImageView& v, const LevelTable blue, const LevelTable green,
                 const LevelTable red) {
  static_assert(B == 24 || B == 32, "true-colour depths only");
  constexpr int kBytes = B / 8;
  if (v.width <= 0 || v.height <= 0) return;
  // Local copies cannot alias the rows (see ApplyByteTable).
  std::uint8_t tb[256], tg[256], tr[256];
  std::memcpy(tb, blue, 256);
  std::memcpy(tg, green, 256);
  std::memcpy(tr, red, 256);
  for (int y = v.height - 1; y >= 0; --y) {
    std::uint8_t* p = v.Row(y);
    for (int x = 0; x < v.width; ++x, p += kBytes) {
      const std::uint8_t b = tb[p[0]], g = tg[p[1]], r = tr[p[2]];
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
  }
}

// The same for an image of any depth; other than 24 and 32 bits nothing changes.
inline void MapChannels(const ImageView& v, const LevelTable blue, const LevelTable green,
                        const LevelTable red) {
  DispatchDepth<kTrueColourDepthMask>(
      v.bpp, [&](auto d) { MapChannels<decltype(d)::value>(v, blue, green, red); });
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

}  // namespace lamina

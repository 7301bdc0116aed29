// The pixel layer: per-depth primitives shared by the public accessors and every whole-image loop.
// Whole-image code dispatches on the depth once (DispatchDepth) and then runs over row pointers with
// these inline primitives, never through the checked public calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "lamina/wintypes.h"

namespace lamina {

// Sets of depths as masks: bit d is set for each depth d in the set. Operations check the depth
// against a named set and dispatch over it.
constexpr std::uint64_t DepthBit(int bpp) { return std::uint64_t{1} << bpp; }
// The depths the processing operations accept: 1, 4, 8, 24, 32.
constexpr std::uint64_t kSupportedDepthMask =
    DepthBit(1) | DepthBit(4) | DepthBit(8) | DepthBit(24) | DepthBit(32);
// The depths a BMP file may have: the supported ones and 16.
constexpr std::uint64_t kLoadableDepthMask = kSupportedDepthMask | DepthBit(16);
// The depths with a palette: 1, 4, 8.
constexpr std::uint64_t kPaletteDepthMask = DepthBit(1) | DepthBit(4) | DepthBit(8);
// The depths with gray levels to work on: 4, 8, 24, 32 (a 1-bit image has only two).
constexpr std::uint64_t kLevelDepthMask = DepthBit(4) | DepthBit(8) | DepthBit(24) | DepthBit(32);
// True colour: 24 and 32.
constexpr std::uint64_t kTrueColourDepthMask = DepthBit(24) | DepthBit(32);

inline bool InMask(std::uint64_t mask, long long bpp) {
  return bpp >= 0 && bpp <= 32 && ((mask >> bpp) & 1u) != 0;
}
inline bool IsSupportedDepth(long long bpp) { return InMask(kSupportedDepthMask, bpp); }
inline bool IsPaletteDepth(long long bpp) { return InMask(kPaletteDepthMask, bpp); }

// Row length in bytes: the bits of a row rounded up to whole 32-bit words. 64-bit so that no width
// can overflow it; callers that store it in an int have checked the size beforehand.
inline std::int64_t Stride64(std::int64_t width, std::int64_t bpp) {
  const std::int64_t bits = width * bpp;
  std::int64_t words = bits / 32;
  if (bits % 32 != 0) ++words;
  return words * 4;
}

// 2 to the depth, 2^24 for 32 bits (the number of colours a pixel can hold).
inline std::int64_t Levels(std::int64_t bpp) {
  if (bpp == 32) return 16777216;
  if (bpp < 0 || bpp > 31) return 0;
  return std::int64_t{1} << bpp;
}

// biClrUsed, or the levels of the depth when it is 0.
inline std::int64_t ColourCount(const BITMAPINFOHEADER& h) {
  return h.biClrUsed != 0 ? std::int64_t{h.biClrUsed} : Levels(h.biBitCount);
}

// Entries the block really holds after the header: only depths up to 8 bits carry a palette. (A
// 16, 24 or 32-bit header may say biClrUsed <= 256; such an image still has no palette.)
inline std::int64_t PaletteEntries(const BITMAPINFOHEADER& h) {
  if (h.biBitCount > 8) return 0;
  const std::int64_t n = ColourCount(h);
  return n <= 256 ? n : 0;
}

// Per-depth access to pixel x of a row. Values are the palette index at 1, 4 and 8 bits and
// blue + green * 256 + red * 65536 at 24 and 32 bits (the fourth byte never takes part).
template <int BPP>
struct Px;

template <>
struct Px<1> {
  static std::uint32_t Get(const std::uint8_t* row, int x) {
    return (row[x >> 3] >> (7 - (x & 7))) & 1u;
  }
  static void Set(std::uint8_t* row, int x, std::uint32_t v) {
    const std::uint8_t bit = static_cast<std::uint8_t>(0x80u >> (x & 7));
    if (v != 0)
      row[x >> 3] |= bit;
    else
      row[x >> 3] &= static_cast<std::uint8_t>(~bit);
  }
};

template <>
struct Px<4> {
  static std::uint32_t Get(const std::uint8_t* row, int x) {
    const std::uint8_t b = row[x >> 1];
    return (x & 1) ? (b & 0x0Fu) : (b >> 4);
  }
  static void Set(std::uint8_t* row, int x, std::uint32_t v) {
    std::uint8_t& b = row[x >> 1];
    if (x & 1)
      b = static_cast<std::uint8_t>((b & 0xF0u) | (v & 0x0Fu));
    else
      b = static_cast<std::uint8_t>((b & 0x0Fu) | ((v & 0x0Fu) << 4));
  }
};

template <>
struct Px<8> {
  static std::uint32_t Get(const std::uint8_t* row, int x) { return row[x]; }
  static void Set(std::uint8_t* row, int x, std::uint32_t v) {
    row[x] = static_cast<std::uint8_t>(v);
  }
};

template <int Bytes>
struct PxTrue {
  static std::uint32_t Get(const std::uint8_t* row, int x) {
    const std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * Bytes;
    if constexpr (Bytes == 4) {
      std::uint32_t v;  // the whole pixel is there; the alpha byte is masked off
      std::memcpy(&v, p, 4);
      return v & 0xFFFFFFu;
    } else {
      std::uint16_t low;  // never touch the byte after the pixel: it may lie past the block
      std::memcpy(&low, p, 2);
      return std::uint32_t{low} | (std::uint32_t{p[2]} << 16);
    }
  }
  static void Set(std::uint8_t* row, int x, std::uint32_t v) {
    std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * Bytes;
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
  }
  static RGBQUAD GetRGB(const std::uint8_t* row, int x) {
    const std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * Bytes;
    return RGBQUAD{p[0], p[1], p[2], 0};
  }
  static void SetRGB(std::uint8_t* row, int x, RGBQUAD c) {
    std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * Bytes;
    p[0] = c.rgbBlue;
    p[1] = c.rgbGreen;
    p[2] = c.rgbRed;
  }
};
template <>
struct Px<24> : PxTrue<3> {};
template <>
struct Px<32> : PxTrue<4> {};

// The blue, green and red bytes of a 32-bit pixel read as one 32-bit word, whatever the machine's
// byte order: the mask that leaves the fourth byte out of word-wide pixel moves.
inline std::uint32_t ColourBytesMask() {
  const std::uint8_t bytes[4] = {0xFF, 0xFF, 0xFF, 0x00};
  std::uint32_t mask;
  std::memcpy(&mask, bytes, 4);
  return mask;
}

template <int BPP>
using Depth = std::integral_constant<int, BPP>;

namespace detail {
template <std::uint64_t Mask, int B, class F>
bool CallForDepth(F& f) {
  if constexpr (((Mask >> B) & 1u) != 0) {
    f(Depth<B>{});
    return true;
  } else {
    return false;
  }
}
}  // namespace detail

// Calls f(Depth<bpp>{}) when bpp is in the set `Mask` and returns true; returns false for any
// other depth. f is instantiated only for the depths of the set, so a palette-only body needs no
// guard: DispatchDepth<kPaletteDepthMask>(bpp, f). It is one switch, so that the per-pixel
// accessors can use it too: a chain of comparisons measurably slowed them at 24 and 32 bits.
template <std::uint64_t Mask = kSupportedDepthMask, class F>
bool DispatchDepth(long long bpp, F&& f) {
  static_assert((Mask & ~kSupportedDepthMask) == 0, "only depths with pixel access");
  switch (bpp) {
    case 1:
      return detail::CallForDepth<Mask, 1>(f);
    case 4:
      return detail::CallForDepth<Mask, 4>(f);
    case 8:
      return detail::CallForDepth<Mask, 8>(f);
    case 24:
      return detail::CallForDepth<Mask, 24>(f);
    case 32:
      return detail::CallForDepth<Mask, 32>(f);
    default:
      return false;
  }
}

// Where an image's pixels are, computed from its current header.
struct ImageView {
  BITMAPINFOHEADER* header = nullptr;
  RGBQUAD* palette = nullptr;  // null for depths above 8 bits
  std::uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int bpp = 0;
  int stride = 0;
  int paletteEntries = 0;  // entries really held in the block (0 without a palette)

  // Row y counted from the top of the picture; rows are stored bottom-up. Whole-image passes
  // whose rows are independent walk y from height - 1 down to 0, which reads memory front to back:
  // the hardware prefetchers follow ascending addresses, and a 4096-row picture walked top row
  // first runs up to twice as slow.
  std::uint8_t* Row(int y) const {
    return bits + static_cast<std::ptrdiff_t>(stride) * (height - 1 - y);
  }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  // The palette entry of an index, or black for an index the palette does not hold, so that a
  // pixel whose index lies beyond a short palette never reads outside the block.
  RGBQUAD Entry(std::uint32_t index) const {
    if (index < static_cast<std::uint32_t>(paletteEntries)) return palette[index];
    return RGBQUAD{0, 0, 0, 0};
  }
};

inline ImageView MakeView(BITMAPINFOHEADER* header, RGBQUAD* palette, std::uint8_t* bits) {
  ImageView v;
  if (header == nullptr) return v;
  v.header = header;
  v.palette = palette;
  v.bits = bits;
  v.width = header->biWidth;
  v.height = header->biHeight;
  v.bpp = header->biBitCount;
  v.stride = static_cast<int>(Stride64(header->biWidth, header->biBitCount));
  v.paletteEntries = palette != nullptr ? static_cast<int>(PaletteEntries(*header)) : 0;
  return v;
}

}  // namespace lamina

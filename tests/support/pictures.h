// Pictures for the tests, written as literal rows from the top, and a snapshot of everything a
// caller can observe of an image, so that "a refused call changed nothing" is one comparison.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"
#include "lamina/memory.h"
#include "platform/memory_internal.h"

namespace lamina_test {

using Rows = std::vector<std::vector<std::uint32_t>>;

// A packed true-colour value as fnIMG_SetPixel takes it: blue in the low byte.
inline std::uint32_t Rgb(int red, int green, int blue) {
  return std::uint32_t(blue) | (std::uint32_t(green) << 8) | (std::uint32_t(red) << 16);
}
inline RGBQUAD Quad(int blue, int green, int red, int reserved = 0) {
  return RGBQUAD{BYTE(blue), BYTE(green), BYTE(red), BYTE(reserved)};
}
inline bool Same(const RGBQUAD& a, const RGBQUAD& b) { return std::memcmp(&a, &b, 4) == 0; }
// Entries as blue | green << 8 | red << 16 | reserved << 24, so whole palettes compare in one go.
inline std::vector<std::uint32_t> Packed(const std::vector<RGBQUAD>& entries) {
  std::vector<std::uint32_t> out(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) std::memcpy(&out[i], &entries[i], 4);
  return out;
}

namespace detail {
inline CLamina Build(int bpp, const Rows& rows, const std::vector<RGBQUAD>& palette, int padding) {
  const int height = static_cast<int>(rows.size());
  const int width = height > 0 ? static_cast<int>(rows[0].size()) : 0;
  CLamina img(nullptr, bpp <= 8 ? palette.data() : nullptr, width, height, bpp);
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  if (padding >= 0 && p.lpBits != nullptr) std::memset(p.lpBits, padding, p.lpbmih->biSizeImage);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) img.fnIMG_SetPixel(x, y, rows[y][x]);
  return img;
}
}  // namespace detail

// Pixel (x, y) is rows[y][x] (an index, or a packed colour). The given entries open the palette;
// the others are (i, i, i) as the data constructor makes them. Padding is zero.
inline CLamina FromRows(int bpp, const Rows& rows, const std::vector<RGBQUAD>& palette = {}) {
  std::vector<RGBQUAD> full(256);
  for (int i = 0; i < 256; ++i) full[i] = Quad(i, i, i);
  for (std::size_t i = 0; i < palette.size(); ++i) full[i] = palette[i];
  return detail::Build(bpp, rows, full, -1);
}

// The gray ramp over the depth's levels (white at the top), as the point operations expect it.
inline std::vector<RGBQUAD> GrayRamp(int n) {
  std::vector<RGBQUAD> p(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) p[i] = Quad(i * (255 / (n - 1)), i * (255 / (n - 1)), i * (255 / (n - 1)));
  return p;
}

// Like FromRows, but on the gray ramp unless a palette is given (entries past it are black), and
// with every padding bit and byte set to 0xA5 so that a write into it shows.
inline CLamina Marked(int bpp, const Rows& rows, std::vector<RGBQUAD> palette = {}) {
  if (bpp <= 8 && palette.empty()) palette = GrayRamp(1 << bpp);
  palette.resize(256);
  return detail::Build(bpp, rows, palette, 0xA5);
}

// What an operation that builds a new image from `like` should leave: the data constructor's
// w x h image with `like`'s depth, palette and name, pixel (x, y) set to at(x, y) through the
// public setter (so 32-bit fourth bytes and the padding are 0).
template <class F>
CLamina Drawn(CLamina& like, int w, int h, F at) {
  const int bpp = like.fnIMG_GetColorDepth();
  std::vector<RGBQUAD> palette(256);
  if (bpp <= 8) like.fnIMG_GetPalette(palette.data());
  CLamina out(nullptr, bpp <= 8 ? palette.data() : nullptr, w, h, bpp);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.fnIMG_SetPixel(x, y, at(x, y));
  out.fnIMG_SetFileName(lamina::BlockAccess::Name(like));
  return out;
}

inline Rows PixelsOf(CLamina& img) {
  Rows rows(img.fnIMG_GetRows(), std::vector<std::uint32_t>(img.fnIMG_GetColumns()));
  for (int y = 0; y < img.fnIMG_GetRows(); ++y)
    for (int x = 0; x < img.fnIMG_GetColumns(); ++x) rows[y][x] = img.fnIMG_GetPixel(x, y);
  return rows;
}

inline RGBQUAD Colour(CLamina& img, int x, int y) {
  RGBQUAD c{};
  img.fnIMG_GetRGBPixel(x, y, &c);
  return c;
}

// The stored bytes of row y counted from the top (rows are kept bottom-up).
inline std::uint8_t* RowBytes(CLamina& img, int y) { return lamina::BlockAccess::View(img).Row(y); }

// True when every padding bit of every row still holds the 0xA5 that Marked wrote there.
inline bool PaddingKept(CLamina& img) {
  const int bpp = img.fnIMG_GetColorDepth(), width = img.fnIMG_GetColumns();
  const std::int64_t strideBits = 8 * lamina::Stride64(width, bpp);
  for (int y = 0; y < img.fnIMG_GetRows(); ++y)
    for (std::int64_t bit = std::int64_t{width} * bpp; bit < strideBits; ++bit) {
      const int mask = 0x80 >> (bit % 8);
      if ((RowBytes(img, y)[bit / 8] & mask) != (0xA5 & mask)) return false;
    }
  return true;
}

// True when every padding bit of every row is `bit` (0 or 1).
inline bool PaddingIs(CLamina& img, int bit) {
  const int bpp = img.fnIMG_GetColorDepth(), width = img.fnIMG_GetColumns();
  const std::int64_t strideBits = 8 * lamina::Stride64(width, bpp);
  for (int y = 0; y < img.fnIMG_GetRows(); ++y)
    for (std::int64_t b = std::int64_t{width} * bpp; b < strideBits; ++b)
      if (((RowBytes(img, y)[b / 8] >> (7 - b % 8)) & 1) != bit) return false;
  return true;
}

// True when the fourth byte of every 32-bit pixel still holds the 0xA5 that Marked wrote there
// (other depths have none).
inline bool AlphaKept(CLamina& img) {
  if (img.fnIMG_GetColorDepth() != 32) return true;
  for (int y = 0; y < img.fnIMG_GetRows(); ++y)
    for (int x = 0; x < img.fnIMG_GetColumns(); ++x)
      if (RowBytes(img, y)[4 * x + 3] != 0xA5) return false;
  return true;
}

inline std::vector<RGBQUAD> PaletteOf(CLamina& img) {
  const lamina::ImageView v = lamina::BlockAccess::View(img);
  return std::vector<RGBQUAD>(v.palette, v.palette + v.paletteEntries);
}
inline RGBQUAD Entry(CLamina& img, int i) { return img.fnIMG_GetPointers().lpPalette[i]; }

inline std::string NameOf(CLamina& img) { return lamina::BlockAccess::Name(img).ToUtf8(); }

// The whole block (header, palette, rows, padding, gaps), where the pointers lie in it, and the
// name. The address is kept apart: equal snapshots may live in different blocks.
struct Snapshot {
  std::vector<std::uint8_t> block;
  std::ptrdiff_t palette = -1, bits = -1;
  std::string name;
  const void* address = nullptr;
  bool operator==(const Snapshot& o) const {
    return block == o.block && palette == o.palette && bits == o.bits && name == o.name;
  }
  bool operator!=(const Snapshot& o) const { return !(*this == o); }
};

inline Snapshot Snap(CLamina& img) {
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  Snapshot s;
  s.address = p.lpDib;
  if (p.lpDib != nullptr) {
    s.block.assign(p.lpDib, p.lpDib + GlobalSize(GlobalHandle(p.lpDib)));
    s.palette = p.lpPalette ? reinterpret_cast<std::uint8_t*>(p.lpPalette) - p.lpDib : -1;
    s.bits = p.lpBits - p.lpDib;
  }
  s.name = NameOf(img);
  return s;
}

// Every stored byte random (padding and 32-bit fourth bytes included), and a random full palette.
inline CLamina Random(int bpp, int width, int height, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<RGBQUAD> pal(256);
  for (auto& e : pal) e = Quad(rng() & 255, rng() & 255, rng() & 255, rng() & 255);
  CLamina img(nullptr, bpp <= 8 ? pal.data() : nullptr, width, height, bpp);
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  for (DWORD i = 0; i < p.lpbmih->biSizeImage; ++i) p.lpBits[i] = static_cast<std::uint8_t>(rng());
  return img;
}

// A 40-byte info header as files and handles carry it.
inline BITMAPINFOHEADER InfoHeader(int width, int height, int bpp, DWORD clrUsed = 0,
                                   DWORD sizeImage = 0) {
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bpp);
  h.biSizeImage = sizeImage;
  h.biClrUsed = clrUsed;
  return h;
}

// A compact image the data constructor cannot make: `entries` as its whole palette (biClrUsed),
// or a 16-bit one (no palette), and `slack` bytes past the rows, as a file may leave there. The
// rows are zero.
inline CLamina Raw(int bpp, int width, int height, const std::vector<RGBQUAD>& entries = {},
                   std::size_t slack = 0) {
  CLamina img(nullptr, nullptr, 1, 1, 24);
  const std::size_t paletteBytes = 4 * entries.size();
  const std::int64_t imageBytes = lamina::Stride64(width, bpp) * height;
  std::uint8_t* block =
      lamina::BlockAccess::Allocate(40 + paletteBytes + static_cast<std::size_t>(imageBytes) + slack);
  BITMAPINFOHEADER h = InfoHeader(width, height, bpp, static_cast<DWORD>(entries.size()),
                                  static_cast<DWORD>(imageBytes));
  h.biClrImportant = h.biClrUsed;
  std::memcpy(block, &h, 40);
  if (paletteBytes > 0) std::memcpy(block + 40, entries.data(), paletteBytes);
  lamina::BlockAccess::Adopt(img, block, 40 + paletteBytes);
  return img;
}
inline CLamina WithShortPalette(int bpp, int width, int height, const std::vector<RGBQUAD>& e) {
  return Raw(bpp, width, height, e);
}

// A 16-bit image (only a file makes one): rows[y][x] are the 2-byte pixel values.
inline CLamina Sixteen(const Rows& rows) {
  CLamina img = Raw(16, static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (std::size_t y = 0; y < rows.size(); ++y)
    for (std::size_t x = 0; x < rows[y].size(); ++x) {
      RowBytes(img, int(y))[2 * x] = static_cast<std::uint8_t>(rows[y][x]);
      RowBytes(img, int(y))[2 * x + 1] = static_cast<std::uint8_t>(rows[y][x] >> 8);
    }
  return img;
}
inline std::uint32_t Pixel16(CLamina& img, int x, int y) {
  return RowBytes(img, y)[2 * x] | (std::uint32_t(RowBytes(img, y)[2 * x + 1]) << 8);
}

// A parameterised case's name from its `what`, letters and digits only, as gtest wants it.
struct CaseName {
  template <class P>
  std::string operator()(const ::testing::TestParamInfo<P>& info) const {
    std::string n;
    for (const char* c = info.param.what; *c; ++c)
      if (std::isalnum(static_cast<unsigned char>(*c))) n += *c;
    return n;
  }
};

// Makes allocations fail after `n` more, for the life of the object.
struct FailingAllocations {
  explicit FailingAllocations(long n = 0) { lamina::platform::FailAllocationsAfter(n); }
  ~FailingAllocations() { lamina::platform::FailAllocationsAfter(-1); }
};

}  // namespace lamina_test

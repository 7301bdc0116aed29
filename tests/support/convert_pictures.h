// Small pictures for the conversion and geometry tests: built from literal rows written top-down,
// snapshots of a whole image (block bytes and name) to prove "unchanged", random images with
// random padding and fourth bytes, and images whose palette is shorter than their depth allows.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"

namespace pictures {

using Rows = std::vector<std::vector<std::uint32_t>>;

// An image whose pixel (x, y) is rows[y][x] (the index, or blue + green * 256 + red * 65536).
inline CLamina FromRows(int bpp, const Rows& rows, const std::vector<RGBQUAD>& palette = {}) {
  const int height = static_cast<int>(rows.size());
  const int width = height > 0 ? static_cast<int>(rows[0].size()) : 0;
  std::vector<RGBQUAD> full(256);
  for (int i = 0; i < 256; ++i) full[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
  for (std::size_t i = 0; i < palette.size(); ++i) full[i] = palette[i];
  CLamina img(nullptr, bpp <= 8 ? full.data() : nullptr, width, height, bpp);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) img.fnIMG_SetPixel(x, y, rows[y][x]);
  return img;
}

inline Rows PixelsOf(CLamina& img) {
  Rows rows(img.fnIMG_GetRows(), std::vector<std::uint32_t>(img.fnIMG_GetColumns()));
  for (int y = 0; y < img.fnIMG_GetRows(); ++y)
    for (int x = 0; x < img.fnIMG_GetColumns(); ++x) rows[y][x] = img.fnIMG_GetPixel(x, y);
  return rows;
}

inline std::uint32_t Rgb(int red, int green, int blue) {
  return std::uint32_t(blue) | (std::uint32_t(green) << 8) | (std::uint32_t(red) << 16);
}

inline RGBQUAD Quad(int blue, int green, int red, int reserved = 0) {
  return RGBQUAD{BYTE(blue), BYTE(green), BYTE(red), BYTE(reserved)};
}

inline bool SameQuad(const RGBQUAD& a, const RGBQUAD& b) {
  return a.rgbBlue == b.rgbBlue && a.rgbGreen == b.rgbGreen && a.rgbRed == b.rgbRed &&
         a.rgbReserved == b.rgbReserved;
}

// Pointer to the top row's first byte: rows are stored bottom-up.
inline std::uint8_t* RowBytes(CLamina& img, int y) {
  const lamina::ImageView v = lamina::BlockAccess::View(img);
  return v.Row(y);
}

inline std::vector<RGBQUAD> PaletteOf(CLamina& img) {
  const lamina::ImageView v = lamina::BlockAccess::View(img);
  return std::vector<RGBQUAD>(v.palette, v.palette + v.paletteEntries);
}

// Everything of an image a caller can observe: header, palette and rows as stored, and the name.
struct Snapshot {
  std::vector<std::uint8_t> header, palette, bits;
  std::wstring name;
  bool operator==(const Snapshot& o) const {
    return header == o.header && palette == o.palette && bits == o.bits && name == o.name;
  }
};

inline Snapshot Snap(CLamina& img) {
  Snapshot s;
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  const lamina::ImageView v = lamina::BlockAccess::View(img);
  s.name = lamina::BlockAccess::Name(img).GetString();
  if (p.lpDib == nullptr) return s;
  s.header.assign(p.lpDib, p.lpDib + 40);
  const auto* pal = reinterpret_cast<const std::uint8_t*>(v.palette);
  if (pal != nullptr) s.palette.assign(pal, pal + 4 * v.paletteEntries);
  s.bits.assign(p.lpBits, p.lpBits + p.lpbmih->biSizeImage);
  return s;
}

// An image of the given size and depth whose every stored byte (padding and 32-bit fourth bytes
// included) is random, with a random full palette at 1, 4 and 8 bits.
inline CLamina Random(int bpp, int width, int height, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<RGBQUAD> pal(256);
  for (auto& e : pal) e = Quad(rng() & 255, rng() & 255, rng() & 255, rng() & 255);
  CLamina img(nullptr, bpp <= 8 ? pal.data() : nullptr, width, height, bpp);
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  for (DWORD i = 0; i < p.lpbmih->biSizeImage; ++i) p.lpBits[i] = static_cast<std::uint8_t>(rng());
  return img;
}

// A compact image whose header says biClrUsed = entries.size(): the palette holds only these
// entries, as a BMP file may store it. The rows follow the short palette and are zero.
inline CLamina WithShortPalette(int bpp, int width, int height,
                                const std::vector<RGBQUAD>& entries) {
  CLamina img(nullptr, nullptr, 1, 1, 24);
  const std::size_t paletteBytes = 4 * entries.size();
  const std::int64_t imageBytes = lamina::Stride64(width, bpp) * height;
  std::uint8_t* block =
      lamina::BlockAccess::Allocate(40 + paletteBytes + static_cast<std::size_t>(imageBytes));
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bpp);
  h.biSizeImage = static_cast<DWORD>(imageBytes);
  h.biClrUsed = static_cast<DWORD>(entries.size());
  h.biClrImportant = static_cast<DWORD>(entries.size());
  std::memcpy(block, &h, 40);
  if (paletteBytes > 0) std::memcpy(block + 40, entries.data(), paletteBytes);
  lamina::BlockAccess::Adopt(img, block, 40 + paletteBytes);
  return img;
}

// A 16-bit image (only a BMP file makes one): rows[y][x] are the 2-byte pixel values.
inline CLamina Sixteen(const Rows& rows) {
  CLamina img(nullptr, nullptr, 1, 1, 24);
  const int height = static_cast<int>(rows.size());
  const int width = static_cast<int>(rows[0].size());
  const std::int64_t stride = lamina::Stride64(width, 16);
  std::uint8_t* block =
      lamina::BlockAccess::Allocate(40 + static_cast<std::size_t>(stride * height));
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = 16;
  h.biSizeImage = static_cast<DWORD>(stride * height);
  std::memcpy(block, &h, 40);
  lamina::BlockAccess::Adopt(img, block, 40);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = RowBytes(img, y);
    for (int x = 0; x < width; ++x) {
      row[2 * x] = static_cast<std::uint8_t>(rows[y][x]);
      row[2 * x + 1] = static_cast<std::uint8_t>(rows[y][x] >> 8);
    }
  }
  return img;
}

inline std::uint32_t Pixel16(CLamina& img, int x, int y) {
  const std::uint8_t* row = RowBytes(img, y);
  return std::uint32_t(row[2 * x]) | (std::uint32_t(row[2 * x + 1]) << 8);
}

inline std::wstring NameOf(CLamina& img) { return lamina::BlockAccess::Name(img).GetString(); }

}  // namespace pictures

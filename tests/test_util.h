// Helpers shared by the tests: images from literal rows written top-down, and snapshots that prove
// a refused call left an image byte-for-byte as it was.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "CLamina.h"

namespace lamina_test {

// Builds an image whose pixel (x, y) takes rows[y][x] through fnIMG_SetPixel (y = 0 is the top row).
inline CLamina FromRows(int bpp, const std::vector<std::vector<unsigned>>& rows,
                        const RGBQUAD* palette = nullptr) {
  const int h = static_cast<int>(rows.size());
  const int w = h > 0 ? static_cast<int>(rows[0].size()) : 0;
  CLamina img(nullptr, palette, w, h, bpp);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.fnIMG_SetPixel(x, y, rows[y][x]);
  return img;
}

// Reads every pixel value back, top row first.
inline std::vector<std::vector<unsigned>> Rows(CLamina& img) {
  std::vector<std::vector<unsigned>> out(static_cast<std::size_t>(img.fnIMG_GetRows()));
  for (int y = 0; y < img.fnIMG_GetRows(); ++y)
    for (int x = 0; x < img.fnIMG_GetColumns(); ++x) out[y].push_back(img.fnIMG_GetPixel(x, y));
  return out;
}

// Everything observable about an image: its header, palette and rows as the block holds them
// (padding included), and its name.
struct Snapshot {
  std::vector<std::uint8_t> header, palette, bits;
  std::wstring name;
  bool operator==(const Snapshot& o) const {
    return header == o.header && palette == o.palette && bits == o.bits && name == o.name;
  }
};

inline Snapshot Take(CLamina& img) {
  Snapshot s;
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  CString fullName;
  {
    // The full name is the file name part plus the extension, when there is a full stop.
    const CString base = img.fnIMG_GetFileName(), ext = img.fnIMG_GetFileExt();
    fullName = base + L"." + ext;
  }
  s.name = fullName.Wide();
  if (p.lpDib == nullptr) return s;
  const auto* h = reinterpret_cast<const std::uint8_t*>(p.lpbmih);
  s.header.assign(h, h + 40);
  if (p.lpPalette != nullptr) {
    const auto* pal = reinterpret_cast<const std::uint8_t*>(p.lpPalette);
    s.palette.assign(pal, pal + 4 * (p.lpbmih->biClrUsed ? p.lpbmih->biClrUsed
                                                          : (1u << p.lpbmih->biBitCount)));
  }
  s.bits.assign(p.lpBits, p.lpBits + p.lpbmih->biSizeImage);
  return s;
}

inline RGBQUAD Bgr(int b, int g, int r, int reserved = 0) {
  return RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r),
                 static_cast<BYTE>(reserved)};
}

inline bool Same(const RGBQUAD& a, const RGBQUAD& b) { return std::memcmp(&a, &b, 4) == 0; }

}  // namespace lamina_test

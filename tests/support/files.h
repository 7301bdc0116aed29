// File helpers of the loader and saver tests: bytes in and out of files, a private folder per test,
// 8-bit images written as top-down bytes, and bitmaps in movable memory handles.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "lamina/cfile.h"
#include "support/pictures.h"

namespace lamina_test {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

inline fs::path Data(const std::string& relative) { return fs::path(LAMINA_TEST_DATA) / relative; }
inline CString Path(const fs::path& p) { return CString(p.string()); }

inline Bytes ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline void WriteAll(const fs::path& p, const Bytes& b) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

inline Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }
inline Bytes Cat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A folder of its own, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string t = (fs::temp_directory_path() / "lamina_files_XXXXXX").string();
    if (mkdtemp(t.data()) != nullptr) path_ = t;
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

// An 8-bit gray image from bytes written from the top row down, and the same read back.
inline CLamina Gray8(int width, int height, const Bytes& topDown) {
  CLamina img(nullptr, nullptr, width, height, 8);
  for (int y = 0; y < height; ++y)
    std::memcpy(RowBytes(img, y), topDown.data() + static_cast<std::size_t>(y) * width, width);
  return img;
}
inline Bytes TopDown(CLamina& img) {
  Bytes out;
  for (int y = 0; y < img.fnIMG_GetRows(); ++y)
    out.insert(out.end(), RowBytes(img, y), RowBytes(img, y) + img.fnIMG_GetColumns());
  return out;
}
// One stored row, padding included.
inline Bytes StoredRow(CLamina& img, int y) {
  return Bytes(RowBytes(img, y), RowBytes(img, y) + lamina::BlockAccess::View(img).stride);
}

// The image as its header describes it, the form a handle carries: the 40 header bytes, the
// palette entries the header counts (1, 4 and 8 bits only), then biSizeImage bytes of rows.
inline Bytes Described(CLamina& img) {
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  if (p.lpDib == nullptr) return {};
  const auto* head = reinterpret_cast<const std::uint8_t*>(p.lpbmih);
  Bytes out(head, head + 40);
  const auto* pal = reinterpret_cast<const std::uint8_t*>(p.lpPalette);
  if (pal != nullptr) out.insert(out.end(), pal, pal + 4 * lamina::PaletteEntries(*p.lpbmih));
  out.insert(out.end(), p.lpBits, p.lpBits + p.lpbmih->biSizeImage);
  return out;
}

// A binary PGM (P5) or PPM (P6) picture with maxval 255: samples from the top row down, one or
// three a pixel. Empty when the file is not one.
struct Pnm {
  int width = 0, height = 0, channels = 0;
  Bytes samples;
};
inline Pnm ReadPnm(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::string magic;
  int maxval = 0;
  Pnm pnm;
  in >> magic >> pnm.width >> pnm.height >> maxval;
  in.get();  // the single blank before the samples
  pnm.channels = magic == "P6" ? 3 : magic == "P5" ? 1 : 0;
  if (pnm.channels == 0 || maxval != 255) return {};
  pnm.samples.resize(static_cast<std::size_t>(pnm.width) * pnm.height * pnm.channels);
  in.read(reinterpret_cast<char*>(pnm.samples.data()), static_cast<std::streamsize>(pnm.samples.size()));
  return in ? pnm : Pnm{};
}

// The colours of every pixel from the top row down as red, green, blue, with alpha (the fourth
// byte) after them when `alpha` is set.
inline Bytes Colours(CLamina& img, bool alpha = false) {
  Bytes out;
  for (int y = 0; y < img.fnIMG_GetRows(); ++y)
    for (int x = 0; x < img.fnIMG_GetColumns(); ++x) {
      RGBQUAD c{};
      img.fnIMG_GetRGBPixel(x, y, &c);
      out.insert(out.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
      if (alpha) out.push_back(img.fnIMG_GetAlfa(x, y));
    }
  return out;
}

// FNV-1a, 64 bits: the digest the expected-data tables of tests/data keep.
inline std::uint64_t Fnv1a64(const Bytes& b) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (std::uint8_t v : b) h = (h ^ v) * 0x100000001B3ull;
  return h;
}

// A handle holding the header, then `rest`, then `extra` zero bytes.
inline HGLOBAL MakeHandle(const BITMAPINFOHEADER& h, const Bytes& rest, std::size_t extra = 0) {
  HGLOBAL g = GlobalAlloc(GHND, 40 + rest.size() + extra);
  auto* p = static_cast<std::uint8_t*>(GlobalLock(g));
  std::memcpy(p, &h, 40);
  if (!rest.empty()) std::memcpy(p + 40, rest.data(), rest.size());
  GlobalUnlock(g);
  return g;
}
inline Bytes HandleBytes(HGLOBAL h) {
  auto* p = static_cast<std::uint8_t*>(GlobalLock(h));
  Bytes out(p, p + GlobalSize(h));
  GlobalUnlock(h);
  return out;
}

}  // namespace lamina_test

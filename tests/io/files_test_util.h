// Helpers of the RAW, PGM, palette and handle tests: temporary files, whole-image snapshots, and
// 8-bit images written as rows from the top, so a test reads like the picture.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"
#include "lamina/memory.h"
#include "platform/memory_internal.h"

namespace files_test {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

inline fs::path Data(const std::string& relative) { return fs::path(LAMINA_TEST_DATA) / relative; }

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

// A folder of its own for each test, removed afterwards.
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

// Everything that identifies an image: its whole block, where the pointers lie in it, its name.
struct Snapshot {
  Bytes block;
  std::ptrdiff_t palette = -1, bits = -1;
  std::string name;
  bool operator==(const Snapshot& o) const {
    return block == o.block && palette == o.palette && bits == o.bits && name == o.name;
  }
};
inline Snapshot Take(CLamina& img) {
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  Snapshot s;
  if (p.lpDib != nullptr) {
    const std::size_t size = GlobalSize(GlobalHandle(p.lpDib));
    s.block.assign(p.lpDib, p.lpDib + size);
    s.palette = p.lpPalette ? reinterpret_cast<std::uint8_t*>(p.lpPalette) - p.lpDib : -1;
    s.bits = p.lpBits - p.lpDib;
  }
  s.name = lamina::BlockAccess::Name(img).ToUtf8();
  return s;
}

inline std::string NameOf(CLamina& img) { return lamina::BlockAccess::Name(img).ToUtf8(); }

// An 8-bit gray-palette image from rows written from the top.
inline CLamina Gray8(int width, int height, const Bytes& topDown) {
  CLamina img(nullptr, nullptr, width, height, 8);
  const lamina::ImageView v = lamina::BlockAccess::View(img);
  for (int y = 0; y < height; ++y)
    std::memcpy(v.Row(y), topDown.data() + static_cast<std::size_t>(y) * width, width);
  return img;
}

// The 8-bit indices of an image, rows from the top, width bytes each.
inline Bytes TopDown(CLamina& img) {
  const lamina::ImageView v = lamina::BlockAccess::View(img);
  Bytes out;
  for (int y = 0; y < v.height; ++y) out.insert(out.end(), v.Row(y), v.Row(y) + v.width);
  return out;
}

// The bytes of one stored row (bottom-up order in memory), padding included.
inline Bytes StoredRow(CLamina& img, int y) {
  const lamina::ImageView v = lamina::BlockAccess::View(img);
  return Bytes(v.Row(y), v.Row(y) + v.stride);
}

// Makes allocations fail after `n` more for the life of the object.
class FailingAllocations {
 public:
  explicit FailingAllocations(long n) { lamina::platform::FailAllocationsAfter(n); }
  ~FailingAllocations() { lamina::platform::FailAllocationsAfter(-1); }
};

}  // namespace files_test

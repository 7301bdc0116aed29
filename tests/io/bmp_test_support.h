// Helpers shared by the BMP tests: reading files, and a snapshot of everything an image holds, to
// check that a refused load or save leaves it byte-identical.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CLamina.h"
#include "core/block_access.h"
#include "lamina/memory.h"

namespace bmp_test {

inline std::vector<std::uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The whole block (as many bytes as it holds), where the pointers lie in it, and the name.
struct Snapshot {
  std::vector<std::uint8_t> block;
  const void* address = nullptr;
  std::ptrdiff_t palette = -1, bits = -1;
  std::string name;
  bool SameContent(const Snapshot& o) const {
    return block == o.block && palette == o.palette && bits == o.bits && name == o.name;
  }
  bool operator==(const Snapshot& o) const { return SameContent(o) && address == o.address; }
};

inline Snapshot Take(CLamina& img) {
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  Snapshot s;
  s.address = p.lpDib;
  if (p.lpDib != nullptr) {
    s.block.assign(p.lpDib, p.lpDib + GlobalSize(GlobalHandle(p.lpDib)));
    s.palette = p.lpPalette ? reinterpret_cast<std::uint8_t*>(p.lpPalette) - p.lpDib : -1;
    s.bits = p.lpBits - p.lpDib;
  }
  s.name = lamina::BlockAccess::Name(img).ToUtf8();
  return s;
}

}  // namespace bmp_test

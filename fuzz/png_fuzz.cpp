// PNG files from a buffer (every colour type, bit depth and interlacing reaches its own path of the
// decoder). A file that loads must also go out and come back unchanged: the same block, byte for
// byte, from our own PNG of it.
#include <cstring>
#include <vector>

#include "fuzz_common.h"
#include "lamina/formats.h"

namespace {
std::vector<unsigned char> BlockOf(CLamina& img) {
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  return std::vector<unsigned char>(p.lpDib, p.lpDib + GlobalSize(GlobalHandle(p.lpDib)));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 24)) return 0;
  CLamina img;
  if (lamina::formats::LoadPNGFromBuffer(img, data, size) != 0) return 0;
  lamina_fuzz::Exercise(img);
  if (std::int64_t{img.fnIMG_GetColumns()} * img.fnIMG_GetRows() > (1 << 22)) return 0;
  std::vector<unsigned char> file;
  if (lamina::formats::SavePNGToBuffer(img, file) != 0) __builtin_trap();
  CLamina back;
  if (lamina::formats::LoadPNGFromBuffer(back, file.data(), file.size()) != 0) __builtin_trap();
  if (BlockOf(back) != BlockOf(img)) __builtin_trap();
  return 0;
}

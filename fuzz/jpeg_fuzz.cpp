// JPEG files from a buffer (baseline, progressive and arithmetic-coded scans, gray and colour). A
// file that loads must also go out as JPEG and load again, at the same size and depth.
#include <vector>

#include "fuzz_common.h"
#include "lamina/formats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 24)) return 0;
  CLamina img;
  if (lamina::formats::LoadJPEGFromBuffer(img, data, size) != 0) return 0;
  lamina_fuzz::Exercise(img);
  if (std::int64_t{img.fnIMG_GetColumns()} * img.fnIMG_GetRows() > (1 << 18)) return 0;
  std::vector<unsigned char> file;
  if (lamina::formats::SaveJPEGToBuffer(img, file, 75) != 0) __builtin_trap();
  CLamina back;
  if (lamina::formats::LoadJPEGFromBuffer(back, file.data(), file.size()) != 0) __builtin_trap();
  if (back.fnIMG_GetColumns() != img.fnIMG_GetColumns() ||
      back.fnIMG_GetRows() != img.fnIMG_GetRows() ||
      back.fnIMG_GetColorDepth() != img.fnIMG_GetColorDepth())
    __builtin_trap();
  return 0;
}

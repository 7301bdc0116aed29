// JPEG files from a buffer (baseline, progressive and arithmetic-coded scans, gray and colour). A
// file that loads must also go out as JPEG and load again, at the same size and depth.
#include <vector>

#include "fuzz_common.h"
#include "lamina/formats.h"

namespace {
// True when a frame header anywhere in the input declares more than 2^20 pixels. A few hundred bytes
// can describe a picture of tens of millions of even pixels, which decodes correctly but slowly;
// such inputs are left out so that the search spends its time on the decoder's paths rather than
// on long rows. Every FF Cn is looked at, not only those a walk over the segments meets: the
// decoder skips stray bytes to find its markers, and would find a frame header that a walk missed.
bool Huge(const std::uint8_t* d, std::size_t n) {
  for (std::size_t i = 0; i + 9 < n; ++i) {
    const std::uint8_t m = d[i + 1];
    if (d[i] != 0xFF || m < 0xC0 || m > 0xCF || m == 0xC4 || m == 0xC8 || m == 0xCC) continue;
    const std::uint64_t h = d[i + 5] << 8 | d[i + 6], w = d[i + 7] << 8 | d[i + 8];
    if (w * h > (1u << 20)) return true;
  }
  return false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 24) || Huge(data, size)) return 0;
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

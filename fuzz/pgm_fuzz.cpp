// PGM files from a buffer.
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 24)) return 0;
  std::vector<unsigned char> bytes(data, data + size);
  CLamina img;
  if (img.fnIMG_LoadPGMFromBuffer(bytes.empty() ? nullptr : bytes.data(), static_cast<int>(size)) ==
      0)
    lamina_fuzz::Exercise(img);
  return 0;
}

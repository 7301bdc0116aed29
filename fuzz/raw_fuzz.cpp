// RAW images from a buffer, sized by the length table: the input as it is, and the input after
// its first byte cut to the table length that byte chooses, so that loads do succeed.
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const int kLengths[] = {1024, 1248, 4096, 10304, 16384, 65536, 262144, 1048576};
  if (size > (1u << 21)) return 0;
  std::vector<unsigned char> bytes(data, data + size);
  CLamina img;
  if (img.fnIMG_LoadRAWFromBuffer(bytes.empty() ? nullptr : bytes.data(), static_cast<int>(size)) ==
      0)
    lamina_fuzz::Exercise(img);
  if (size > 0) {
    const int length = kLengths[data[0] % 8];
    std::vector<unsigned char> cut(static_cast<std::size_t>(length));
    for (std::size_t i = 0; i < cut.size(); ++i) cut[i] = size > 1 ? data[1 + i % (size - 1)] : 0;
    CLamina sized;
    if (sized.fnIMG_LoadRAWFromBuffer(cut.data(), length) == 0) lamina_fuzz::Exercise(sized);
  }
  return 0;
}

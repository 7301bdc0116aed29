// RAW images from a buffer, sized by the length table: the input as it is, and the input after
// its first byte cut to the table length that byte chooses, so that loads do succeed. The cut input
// is also loaded from a file, with and without its size given: every form must agree.
#include "fuzz_common.h"
#include "fuzz_file.h"

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
    const int fromBuffer = sized.fnIMG_LoadRAWFromBuffer(cut.data(), length);
    if (fromBuffer == 0) lamina_fuzz::Exercise(sized);
    const std::string& path = lamina_fuzz::WriteInputFile("raw", cut.data(), cut.size());
    CLamina viaFile, viaFileSized;
    lamina_fuzz::ExpectSameImage(viaFile.fnIMG_LoadRAW(CString(path)), viaFile, fromBuffer, sized);
    const int w = sized.fnIMG_GetColumns(), h = sized.fnIMG_GetRows();
    lamina_fuzz::ExpectSameImage(viaFileSized.fnIMG_LoadRAW(CString(path), w, h), viaFileSized,
                                 fromBuffer, sized);
  }
  return 0;
}

// PGM files from a buffer and from a file: both forms must agree on every input.
#include "fuzz_common.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 24)) return 0;
  std::vector<unsigned char> bytes(data, data + size);
  CLamina img;
  const int fromBuffer =
      img.fnIMG_LoadPGMFromBuffer(bytes.empty() ? nullptr : bytes.data(), static_cast<int>(size));
  if (fromBuffer == 0) lamina_fuzz::Exercise(img);
  CLamina viaFile;
  const int fromFile = viaFile.fnIMG_LoadPGM(CString(lamina_fuzz::WriteInputFile("pgm", data, size)));
  lamina_fuzz::ExpectSameImage(fromFile, viaFile, fromBuffer, img);
  return 0;
}

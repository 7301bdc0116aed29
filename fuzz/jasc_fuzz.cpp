// JASC palettes: the bytes go to a file of this process, which is loaded into a 4-bit and an 8-bit
// image, and the palette is then written back.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Under $TMPDIR (fuzz/run.sh points it into fuzz/build), one pair of files per process.
  static const std::string dir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
  static const std::string in = dir + "/lamina_jasc_fuzz_" + std::to_string(getpid()) + ".pal";
  static const std::string out = dir + "/lamina_jasc_fuzz_" + std::to_string(getpid()) + "_out.pal";
  if (FILE* f = std::fopen(in.c_str(), "wb")) {
    if (size != 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  } else {
    return 0;
  }
  CLamina four(nullptr, nullptr, 3, 2, 4), eight;
  if (four.fnIMG_LoadPalette(CString(in)) == 0) four.fnIMG_SavePalette(CString(out));
  if (eight.fnIMG_LoadPalette(CString(in)) == 0) {
    eight.fnIMG_SavePalette(CString(out));
    lamina_fuzz::Exercise(eight);
  }
  return 0;
}

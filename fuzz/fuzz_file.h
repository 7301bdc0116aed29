// A file of this process holding the fuzzer's bytes, for the loaders' file forms. Under $TMPDIR
// (fuzz/run.sh points it into fuzz/build); one file per target and process, rewritten each input.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace lamina_fuzz {

inline const std::string& WriteInputFile(const char* target, const std::uint8_t* data,
                                         std::size_t size) {
  static const std::string dir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
  static const std::string path =
      dir + "/lamina_" + target + "_fuzz_" + std::to_string(getpid()) + ".in";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size != 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return path;
}

// Stops the run when the file and buffer forms disagree: same success, and the same block.
inline void ExpectSameImage(int fileResult, CLamina& fromFile, int bufferResult,
                            CLamina& fromBuffer) {
  if ((fileResult == 0) != (bufferResult == 0)) __builtin_trap();
  if (fileResult != 0) return;
  const CLamina::Punteros a = fromFile.fnIMG_GetPointers(), b = fromBuffer.fnIMG_GetPointers();
  const int bytes = fromFile.fnIMG_GetBitmapSize();
  if (bytes != fromBuffer.fnIMG_GetBitmapSize() || a.lpBits - a.lpDib != b.lpBits - b.lpDib)
    __builtin_trap();
  for (long i = 0; i < (a.lpBits - a.lpDib) + bytes; ++i)
    if (a.lpDib[i] != b.lpDib[i]) __builtin_trap();
}

}  // namespace lamina_fuzz

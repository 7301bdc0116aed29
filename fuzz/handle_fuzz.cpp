// Packed bitmaps in a movable memory handle: a block holding exactly the input bytes.
#include <cstring>

#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 24)) return 0;
  HGLOBAL handle = GlobalAlloc(GHND, size);
  if (handle == nullptr) return 0;
  if (size != 0) std::memcpy(GlobalLock(handle), data, size), GlobalUnlock(handle);
  CLamina img;
  img.fnIMG_CopyFromHandle(handle);
  GlobalFree(handle);  // the image must not depend on the caller's handle
  lamina_fuzz::Exercise(img);
  return 0;
}

// Neighbourhood operations are defined as computing into a copy of the image that is then assigned
// back, and assignment leaves a compact block: the header, the palette and the rows back to back,
// nothing after them. We compute in place instead; an image whose block still carries the gaps or
// trailing bytes of the file it was loaded from gets the compact block first, so the result is
// the block assignment would leave.
#pragma once

#include <cstddef>
#include <cstdint>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/image_builder.h"

namespace lamina {
namespace neighbourhood {

// True when the image's block is compact (or the image has none).
bool IsCompact(CLamina& img);
// A compact copy of the image's block (header, palette, rows), not yet installed; not Ok() when
// memory is short.
NewImage CompactCopy(CLamina& img);
// Makes the image's block compact if it is not. False when memory is short (image unchanged).
bool MakeCompact(CLamina& img);

// Working memory from the image layer (large blocks get huge pages, and the tests can make it run
// out), freed on every path. Not zero-filled.
class Scratch {
 public:
  explicit Scratch(std::size_t bytes)
      : block_(bytes == 0 ? nullptr : BlockAccess::Allocate(bytes, /*zero=*/false)),
        ok_(bytes == 0 || block_ != nullptr) {}
  ~Scratch() { BlockAccess::Release(block_); }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  bool Ok() const { return ok_; }
  template <class T>
  T* As() const {
    return reinterpret_cast<T*>(block_);
  }

 private:
  std::uint8_t* block_;
  bool ok_;
};

}  // namespace neighbourhood
}  // namespace lamina

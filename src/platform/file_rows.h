// Moving an image's rows between a file and memory in few system calls, whatever the rows' order
// in memory. Reading scatters straight into the rows, so a load makes no copy of its own; writing
// gathers rows into a cached piece, reading memory upwards, and writes each piece where it belongs.
// Only for file objects of this library's own class: a class derived from CFile may read and write
// in its own way, and must be called through Read and Write.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lamina/cfile.h"

namespace lamina {
namespace platform {

// A place in `storage` (which has 4096 spare bytes) whose address lies half a page away from
// `partner` modulo 4096. Copying between two buffers whose addresses agree modulo 4096, or nearly,
// makes the processor take loads for dependent on the stores just made (4K aliasing), which
// slowed large copies threefold.
std::uint8_t* HalfPageAway(std::uint8_t* storage, const void* partner);

struct FileRows {
  // True when `file` is an open CFile itself (not a derived class), so its descriptor may be used.
  static bool Direct(const CFile& file);

  // Reads `rows` rows of `width` bytes from the current position; row k goes to first + k * step.
  // True when every byte arrived; the position ends after what was read either way.
  static bool Read(CFile& file, std::uint8_t* first, std::ptrdiff_t step, std::size_t width,
                   std::size_t rows);

  // Writes `rows` rows of `width` bytes at the current position; row k comes from first + k * step.
  // True when every byte was written.
  static bool Write(CFile& file, const std::uint8_t* first, std::ptrdiff_t step, std::size_t width,
                    std::size_t rows);
};

}  // namespace platform
}  // namespace lamina

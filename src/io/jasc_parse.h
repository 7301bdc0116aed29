// The reader of JASC palette text, over bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lamina/wintypes.h"

namespace lamina {
namespace io {

enum class JascStatus {
  kOk,
  kNotJasc,   // no "JASC-PAL" at the start, or a count other than 16 and 256
  kCutShort,  // the data ends inside the header or the entries
};

// Reads a palette: the magic, two bytes of line end, the version line, the count (16 or 256) up
// to a carriage return or line feed (a carriage return is followed by one byte that is skipped),
// then count lines of red, green and blue, each number ended by a space, carriage return or line
// feed and taken modulo 256. `entries` receives up to 256 entries (reserved byte 0), `count` their
// number.
JascStatus ParseJasc(const std::uint8_t* data, std::size_t length, RGBQUAD* entries, int* count);

}  // namespace io
}  // namespace lamina

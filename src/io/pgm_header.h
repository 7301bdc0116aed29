// The header scanner of binary PGM files (magic P5), over bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lamina {
namespace io {

enum class PgmStatus {
  kOk,
  kNotP5,      // the byte after the "P" is not "5"
  kCutShort,   // the data ends inside the header
  kNotDigit,   // a number holds a byte that is not a digit
  kBadMaxval,  // maxval 0 or above 255 (two-byte samples are not read)
  kBadSize,    // width or height 0, or an image too large for one block
};

struct PgmHeader {
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::int64_t maxval = 0;
  std::size_t dataOffset = 0;  // where the pixel bytes begin
};

// Scans the header at the start of `data`. The accepted grammar:
// - Any bytes up to the first "P". A "#" met before it starts comment skipping (the rest of that
//   line, then every byte below 32, again while the next byte is "#"), and the byte reached then
//   stands for the "P" untested. The byte after the "P" must be "5".
// - Width, height and maxval, each after any run of bytes up to 32 and "#" comments (a "#" and
//   everything up to and including the next line feed). A number is decimal digits ended by a
//   whitespace byte (space, tab, line feed, vertical tab, form feed, carriage return); width and
//   height may also be ended by a "#" that starts a comment.
// - The pixel bytes start right after the one whitespace byte that ends maxval; a carriage return
//   followed by a line feed counts as one.
PgmStatus ParsePgmHeader(const std::uint8_t* data, std::size_t length, PgmHeader* out);

}  // namespace io
}  // namespace lamina

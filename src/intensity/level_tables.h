// Shared machinery of the intensity operations: raw histograms, and the core's per-level table
// passes and rounding under the names the operations use.
//
// Every point operation here is defined pixel by pixel through the checked accessors; each
// computes its transfer once per level and applies it with the core's table passes
// (core/byte_table.h), which give the same bytes.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/byte_table.h"
#include "core/numeric.h"
#include "core/pixel_access.h"

namespace lamina {
namespace intensity {

using lamina::Identity;
using lamina::LevelTable;
using lamina::MapChannels;
using lamina::MapIndices;
using lamina::MapPalette;
using numeric::Clamp;
using numeric::fnRound;
using numeric::TruncToInt;

inline void NoteStride(CLamina& img, const ImageView& v) { BlockAccess::NoteStride(img, v); }

// Raw counts of one value per pixel, 256 levels: the pixel index at 1, 4 and 8 bits, and at 24 and
// 32 bits the byte at `channel` (0 blue, 1 green, 2 red). 64-bit so that no image overflows them.
void CountLevels(const ImageView& v, int channel, std::uint64_t counts[256]);

// The four raw histograms of an image of a supported depth (columns I, R, G, B as
// fnIMG_GetHistogram fills them, before any scaling).
void CountHistogram(const ImageView& v, std::uint64_t columns[4][256]);

// Saturates a count for the int fields of the public table and record.
inline int CountToInt(std::uint64_t n) {
  return n > static_cast<std::uint64_t>(std::numeric_limits<int>::max())
             ? std::numeric_limits<int>::max()
             : static_cast<int>(n);
}

}  // namespace intensity
}  // namespace lamina

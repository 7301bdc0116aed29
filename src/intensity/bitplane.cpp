// Bit planes: one plane as a black-and-white image, or chosen planes cleared.
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"
#include "intensity/level_tables.h"

using lamina::BlockAccess;
using lamina::ImageView;
using namespace lamina::intensity;

namespace {

// The flags of CualesPlanosBits run from plane 23 down to plane 0; only a field of exactly 1
// selects its plane.
bool Selected(const CLamina::CualesPlanosBits& planes, int plane) {
  int fields[24];
  std::memcpy(fields, &planes, sizeof fields);
  return fields[23 - plane] == 1;
}

}  // namespace

// Keeps plane p: pixels with that bit set become all ones (white for gray and true-colour
// images), the others 0, and the image becomes 1 bit deep. 1 for a plane the depth lacks; any
// depth without pixel access is left as it is.
int CLamina::fnIMG_BitPlane(int plane) {
  const ImageView v = BlockAccess::View(*this);
  unsigned planes;
  switch (v.bpp) {
    case 1:
      planes = 1;
      break;
    case 4:
      planes = 4;
      break;
    case 8:
      planes = 8;
      break;
    case 16:
      planes = 16;
      break;
    case 24:
    case 32:
      planes = 24;
      break;
    default:
      return 0;
  }
  if (static_cast<unsigned>(plane) >= planes) return 1;
  if (v.bpp == 16) return 0;  // no pixel access and no conversion at 16 bits: nothing changes

  if (v.bpp <= 8) {
    const unsigned ones = (1u << v.bpp) - 1u;
    LevelTable t;
    for (unsigned level = 0; level < 256; ++level)
      t[level] = static_cast<std::uint8_t>((level >> plane) & 1u ? ones : 0u);
    MapIndices(v, t);
  } else {
    // Plane p lives in byte p / 8 of the pixel (blue, green, red).
    const int byte = plane / 8;
    const unsigned bit = 1u << (plane % 8);
    const int bytes = v.bpp / 8;
    for (int y = v.height - 1; y >= 0; --y) {
      std::uint8_t* p = v.Row(y);
      for (int x = 0; x < v.width; ++x, p += bytes) {
        const std::uint8_t w = (p[byte] & bit) != 0 ? 0xFF : 0x00;
        p[0] = p[1] = p[2] = w;
      }
    }
  }
  NoteStride(*this, v);
  fnIMG_ChangeColorDepth(0);
  return 0;
}

// Clears every plane whose flag is 1. Always 0; depths without pixel access are left as they are.
int CLamina::fnIMG_BitPlaneErase(CLamina::CualesPlanosBits planes) {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsSupportedDepth(v.bpp)) return 0;
  const int count = v.bpp > 24 ? 24 : v.bpp;
  std::uint32_t mask = (count == 24) ? 0xFFFFFFu : ((1u << count) - 1u);
  for (int plane = 0; plane < count; ++plane)
    if (Selected(planes, plane)) mask &= ~(1u << plane);
  if (v.bpp <= 8) {
    LevelTable t;
    for (unsigned level = 0; level < 256; ++level)
      t[level] = static_cast<std::uint8_t>(level & mask);
    MapIndices(v, t);
  } else {
    LevelTable t[3];
    for (int c = 0; c < 3; ++c)
      for (unsigned level = 0; level < 256; ++level)
        t[c][level] = static_cast<std::uint8_t>(level & (mask >> (8 * c)));
    MapChannels(v, t[0], t[1], t[2]);
  }
  NoteStride(*this, v);
  return 0;
}

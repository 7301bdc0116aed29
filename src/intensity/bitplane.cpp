// Bit planes: one plane as a black-and-white image, or chosen planes cleared.
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "convert/convert.h"
#include "core/block_access.h"
#include "core/image_builder.h"
#include "core/pixel_access.h"
#include "intensity/codes.h"
#include "intensity/level_tables.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::Px;
using namespace lamina::intensity;
namespace codes = lamina::codes;

namespace {

// The flags of CualesPlanosBits run from plane 23 down to plane 0; only a field of exactly 1
// selects its plane.
bool Selected(const CLamina::CualesPlanosBits& planes, int plane) {
  int fields[24];
  std::memcpy(fields, &planes, sizeof fields);
  return fields[23 - plane] == 1;
}

}  // namespace

// Keeps plane p as a two-level image: pixels with that bit set become all ones (white for gray
// and true-colour images), the others 0, and the result is what the conversion to 1 bit makes of
// that. It is built straight from the plane as a new 1-bit image, so when memory is short the
// image is left exactly as it was. Any depth without pixel access is left as it is.
int CLamina::fnIMG_BitPlane(int plane) {
  namespace convert = lamina::convert;
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::InMask(lamina::kLoadableDepthMask, v.bpp)) return 0;
  const int planes = v.bpp == 32 ? 24 : v.bpp;  // blue, green and red: 24 planes at 24 and 32 bits
  if (static_cast<unsigned>(plane) >= static_cast<unsigned>(planes))
    return codes::bit_plane::kPlane;
  if (v.bpp == 16) return 0;  // no pixel access and no conversion at 16 bits: nothing changes
  if (v.bpp == 1) {
    // The only plane of a 1-bit image is the image, already two levels.
    NoteStride(*this, v);
    return 0;
  }

  lamina::NewImage out(v.width, v.height, 1, convert::TwoLevelPalette());
  if (!out.Ok()) return codes::bit_plane::kNoMemory;
  const ImageView d = out.View();
  lamina::DispatchDepth(v.bpp, [&](auto s) {
    constexpr int S = decltype(s)::value;
    if constexpr (S <= 8) {
      // The plane makes an index all ones or 0; the conversion takes that index's colour.
      const auto light = [&](std::uint32_t index) {
        const RGBQUAD e = v.Entry(index);
        return convert::IsLight(e.rgbBlue, e.rgbGreen, e.rgbRed);
      };
      const bool set = light((1u << S) - 1u), clear = light(0);
      std::uint8_t white[1 << S];
      for (unsigned i = 0; i < (1u << S); ++i) white[i] = ((i >> plane) & 1u) != 0 ? set : clear;
      for (int y = v.height - 1; y >= 0; --y) {
        const std::uint8_t* row = v.Row(y);
        convert::PackRow<1>(d.Row(y), v.width, [&](int x) { return white[Px<S>::Get(row, x)]; });
      }
    } else {
      // Plane p lives in byte p / 8 of the pixel (blue, green, red); the plane's white and black
      // pixels stay white and black.
      const int byte = plane / 8;
      const unsigned bit = 1u << (plane % 8);
      for (int y = v.height - 1; y >= 0; --y) {
        const std::uint8_t* p = v.Row(y) + byte;
        convert::PackRow<1>(d.Row(y), v.width, [&](int x) {
          const unsigned level = (p[static_cast<std::ptrdiff_t>(x) * (S / 8)] & bit) != 0 ? 255 : 0;
          return convert::IsLight(level, level, level);
        });
      }
    }
  });
  out.InstallInto(*this);
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

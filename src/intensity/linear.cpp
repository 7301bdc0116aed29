// The linear gray-scale transform: levels of the band [a, b] move along the straight line through
// (a, c) and (b, d); levels outside the band stay.
#include <cmath>
#include <cstdint>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"
#include "intensity/codes.h"
#include "intensity/level_tables.h"

using lamina::BlockAccess;
using lamina::ImageView;
using namespace lamina::intensity;
namespace codes = lamina::codes;

namespace {

// The transfer of one level inside [a, b]: (d - c) / (b - a) * (v - a) + c in single precision,
// division first, truncated. A band of one level (a = b) has no slope: that level goes to c,
// the start of the output band, instead of through a division by zero.
int Transfer(int v, int a, int b, int c, int d) {
  if (a == b) return c;
  const float slope = static_cast<float>(d - c) / static_cast<float>(b - a);
  return TruncToInt(slope * static_cast<float>(v - a) + static_cast<float>(c));
}

}  // namespace

int CLamina::fnIMG_GrayScaleLinealTransform(int a, int b, int c, int d,
                                            CLamina::CualesRGB channels) {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::InMask(lamina::kLevelDepthMask, v.bpp))
    return codes::gray_scale_lineal_transform::kDepth;
  if (a > b) return codes::gray_scale_lineal_transform::kInputBand;
  if (c > d) return codes::gray_scale_lineal_transform::kOutputBand;
  const int colours = static_cast<int>(lamina::ColourCount(*v.header));
  const int top = colours < 255 ? colours : 255;
  if (a < 0 || c < 0 || b > top || d > top) return codes::gray_scale_lineal_transform::kRange;

  // Levels outside the band map to themselves.
  LevelTable t;
  Identity(t);
  for (int level = a; level <= b && level < 256; ++level)
    t[level] = static_cast<std::uint8_t>(Transfer(level, a, b, c, d));

  LevelTable same;
  Identity(same);
  if (v.bpp <= 8) {
    if (channels.bGris != 0) {
      // A 4-bit index cannot hold 16 (d = 16 is allowed by the palette's 16 colours): the index
      // form stops at 15 rather than wrapping to 0.
      LevelTable index;
      for (int level = 0; level < 256; ++level)
        index[level] = (v.bpp == 4 && t[level] > 15) ? std::uint8_t{15} : t[level];
      MapIndices(v, index);
      NoteStride(*this, v);
    }
    // Red, green and blue in turn, each on the palette's own channel.
    MapPalette(v, channels.bAzul != 0 ? t : same, channels.bVerde != 0 ? t : same,
               channels.bRojo != 0 ? t : same);
    return 0;
  }

  // True colour: bGris makes a pixel whose red lies in the band gray at the transferred red;
  // then red, green and blue each go through the band on the result.
  const bool gray = channels.bGris != 0;
  if (!gray && channels.bRojo == 0 && channels.bVerde == 0 && channels.bAzul == 0) return 0;
  const std::uint8_t* tr = channels.bRojo != 0 ? t : same;
  const std::uint8_t* tg = channels.bVerde != 0 ? t : same;
  const std::uint8_t* tb = channels.bAzul != 0 ? t : same;
  if (!gray) {
    MapChannels(v, tb, tg, tr);
  } else {
    const int bytes = v.bpp / 8;
    for (int y = v.height - 1; y >= 0; --y) {
      std::uint8_t* p = v.Row(y);
      for (int x = 0; x < v.width; ++x, p += bytes) {
        const int red = p[2];
        if (red >= a && red <= b) p[0] = p[1] = p[2] = t[red];
        p[0] = tb[p[0]];
        p[1] = tg[p[1]];
        p[2] = tr[p[2]];
      }
    }
  }
  NoteStride(*this, v);
  return 0;
}

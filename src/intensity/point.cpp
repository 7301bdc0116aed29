// Point adjustments: balance, brightness, gamma, fewer gray levels, negatives and gray-level
// slicing. Each computes its transfer once per level into a table and applies it over the rows,
// through the index of a gray palette image, the entries of a colour palette, or the blue, green
// and red bytes of a true-colour image, as each operation prescribes.
#include <cmath>
#include <cstdint>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/palette.h"
#include "core/pixel_access.h"
#include "intensity/codes.h"
#include "intensity/intensity.h"
#include "intensity/level_tables.h"

using lamina::BlockAccess;
using lamina::ImageView;
using namespace lamina::intensity;
namespace codes = lamina::codes;

namespace {

// Every level plus an offset, clamped to [0, top].
void OffsetTable(LevelTable t, int offset, int top) {
  for (int v = 0; v < 256; ++v) t[v] = static_cast<std::uint8_t>(Clamp(v + offset, 0, top));
}

// Applies one table to the three colour bytes of a palette (palette way) or of every pixel of a
// true-colour image (pixel way).
void MapAllChannels(const ImageView& v, const LevelTable t) {
  if (v.bpp <= 8)
    MapPalette(v, t, t, t);
  else
    MapChannels(v, t, t, t);
}

}  // namespace

// Adds red, green and blue offsets of p * 255 / 100 to the palette entries (4 and 8 bits, gray or
// not) or to every pixel (24 and 32 bits), clamped to 0..255.
int CLamina::fnIMG_Balance(int red, int green, int blue) {
  for (int p : {red, green, blue})
    if (p < -100 || p > 100) return codes::balance::kPercent;
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::InMask(lamina::kLevelDepthMask, v.bpp)) return codes::balance::kDepth;
  LevelTable tr, tg, tb;
  OffsetTable(tr, red * 255 / 100, 255);
  OffsetTable(tg, green * 255 / 100, 255);
  OffsetTable(tb, blue * 255 / 100, 255);
  if (v.bpp <= 8) {
    MapPalette(v, tb, tg, tr);
  } else {
    MapChannels(v, tb, tg, tr);
    NoteStride(*this, v);
  }
  return 0;
}

// Shifts every level by p percent of the level range. A gray palette image moves its indices
// (clamped to the palette), a colour palette its entries, a true-colour image its bytes.
int CLamina::fnIMG_Brightness(int percent) {
  if (percent < -100 || percent > 100) return codes::balance::kPercent;
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::InMask(lamina::kLevelDepthMask, v.bpp)) return codes::balance::kDepth;
  const bool gray = v.bpp <= 8 && lamina::IsGray(v);
  const int range = (v.bpp == 4 && gray) ? 15 : 255;
  const int offset = range * percent / 100;
  if (offset == 0) return 0;
  LevelTable t;
  if (gray) {
    const int colours = static_cast<int>(lamina::ColourCount(*v.header));
    for (int i = 0; i < 256; ++i)
      t[i] = static_cast<std::uint8_t>(Clamp(i + offset, 0, colours - 1));
    MapIndices(v, t);
    NoteStride(*this, v);
    return 0;
  }
  OffsetTable(t, offset, 255);
  MapAllChannels(v, t);
  if (v.bpp > 8) NoteStride(*this, v);
  return 0;
}

// Level v becomes (v / L)^(1 / g) * L, in single precision, truncated. g = 0 is accepted (every
// level below L becomes 0); a NaN gamma is refused like a negative one, as no level could be
// computed from it.
int CLamina::fnIMG_Gamma(float gamma) {
  if (gamma < 0.0f || std::isnan(gamma)) return codes::gamma::kGamma;
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::InMask(lamina::kLevelDepthMask, v.bpp)) return codes::gamma::kDepth;
  const bool gray = v.bpp <= 8 && lamina::IsGray(v);
  const int range = (v.bpp == 4 && gray) ? 15 : 255;
  const float e = 1.0f / gamma;  // +inf for 0: powf of a level below L then gives 0, of L gives 1
  const float top = static_cast<float>(range);
  LevelTable t;
  const int highest = gray ? static_cast<int>(lamina::ColourCount(*v.header)) - 1 : 255;
  for (int level = 0; level < 256; ++level) {
    const float f = powf(static_cast<float>(level) / top, e) * top;
    t[level] = static_cast<std::uint8_t>(Clamp(TruncToInt(f), 0, highest));
  }
  if (gray) {
    MapIndices(v, t);
    NoteStride(*this, v);
    return 0;
  }
  MapAllChannels(v, t);
  if (v.bpp > 8) NoteStride(*this, v);
  return 0;
}

// Quantizes a gray image to n levels: each level goes to the middle of its band of 256 / n. When n
// does not divide 256 the middle of the top band can lie above 255; it is limited to 255, so a
// bright level never wraps round to a dark one.
int CLamina::fnIMG_ChangeGrayLevelsNumber(int levels) {
  namespace levels_codes = codes::change_gray_levels_number;
  if (levels < 2 || levels > 128) return levels_codes::kLevels;
  const ImageView v = BlockAccess::View(*this);
  if (v.bpp != 8 && v.bpp != 24 && v.bpp != 32) return levels_codes::kDepth;
  if (!lamina::IsGray(v)) return levels_codes::kNotGray;
  const int step = 256 / levels;
  LevelTable t;
  for (int level = 0; level < 256; ++level) {
    const int q = (level / step) * step + step / 2;
    t[level] = static_cast<std::uint8_t>(q > 255 ? 255 : q);
  }
  if (v.bpp == 8) {
    MapIndices(v, t);
  } else {
    // Gray from the red byte: all three take the quantized red.
    const int bytes = v.bpp / 8;
    for (int y = v.height - 1; y >= 0; --y) {
      std::uint8_t* p = v.Row(y);
      for (int x = 0; x < v.width; ++x, p += bytes) p[0] = p[1] = p[2] = t[p[2]];
    }
  }
  NoteStride(*this, v);
  return 0;
}

namespace {

// The whole-image negative: gray palettes through the index (colours - 1 - index), colour
// palettes through their entries, true colour through every byte.
void NegativeAll(CLamina& img, const ImageView& v) {
  LevelTable t;
  if (v.bpp <= 8) {
    if (lamina::IsGray(v)) {
      const int colours = static_cast<int>(lamina::ColourCount(*v.header));
      // An index beyond a short palette gives a negative difference; as the accessor stores
      // it, only its low bits remain (MapIndices keeps the depth's bits).
      for (int i = 0; i < 256; ++i)
        t[i] = static_cast<std::uint8_t>(static_cast<unsigned>(colours - 1 - i) & 0xFFu);
      MapIndices(v, t);
      NoteStride(img, v);
      return;
    }
    for (int i = 0; i < 256; ++i) t[i] = static_cast<std::uint8_t>(255 - i);
    MapPalette(v, t, t, t);
    return;
  }
  for (int i = 0; i < 256; ++i) t[i] = static_cast<std::uint8_t>(255 - i);
  MapChannels(v, t, t, t);
  NoteStride(img, v);
}

}  // namespace

namespace lamina {
namespace intensity {

int Negative(CLamina& img) {
  const ImageView v = BlockAccess::View(img);
  if (!lamina::IsSupportedDepth(v.bpp)) return codes::negative::kDepth;
  NegativeAll(img, v);
  return 0;
}

}  // namespace intensity
}  // namespace lamina

int CLamina::fnIMG_Negative() { return lamina::intensity::Negative(*this); }

// The flags act one after the other: bGris as the whole-image negative, then red, green and blue
// each complement their channel (palette entries, gray or not, or pixel bytes). Their effects add
// up, so bGris with bRojo leaves red as it was.
namespace lamina {
namespace intensity {

int Negative(CLamina& img, CLamina::CualesRGB channels) {
  const ImageView v = BlockAccess::View(img);
  if (!lamina::IsSupportedDepth(v.bpp)) return codes::negative::kDepth;
  const bool flip[3] = {channels.bAzul != 0, channels.bVerde != 0, channels.bRojo != 0};
  if (v.bpp > 8) {
    // Each complement is an XOR with 255: the flags fold into one mask per channel.
    LevelTable t[3];
    for (int c = 0; c < 3; ++c) {
      const bool on = flip[c] != (channels.bGris != 0);
      for (int i = 0; i < 256; ++i) t[c][i] = static_cast<std::uint8_t>(on ? 255 - i : i);
    }
    if (channels.bGris != 0 || flip[0] || flip[1] || flip[2]) {
      MapChannels(v, t[0], t[1], t[2]);
      NoteStride(img, v);
    }
    return 0;
  }
  if (channels.bGris != 0) NegativeAll(img, v);
  LevelTable t[3];
  for (int c = 0; c < 3; ++c)
    for (int i = 0; i < 256; ++i) t[c][i] = static_cast<std::uint8_t>(flip[c] ? 255 - i : i);
  if (flip[0] || flip[1] || flip[2]) MapPalette(v, t[0], t[1], t[2]);
  return 0;
}

}  // namespace intensity
}  // namespace lamina

int CLamina::fnIMG_Negative(CLamina::CualesRGB channels) {
  return lamina::intensity::Negative(*this, channels);
}

// Levels in [low, high] become `inside`; the others become `outside` (mode 0) or stay (mode 1).
// Palette images work on the index whatever the palette; true colour on each byte by itself.
int CLamina::fnIMG_GrayLevelSlicing(int mode, int low, int high, int inside, int outside) {
  const ImageView v = BlockAccess::View(*this);
  namespace slicing = codes::gray_level_slicing;
  if (!lamina::InMask(lamina::kLevelDepthMask, v.bpp)) return slicing::kDepth;
  if (static_cast<unsigned>(mode) > 1u) return slicing::kMode;
  const int n = v.bpp == 4 ? 16 : 256;
  if (low > high || low < 0 || high >= n) return slicing::kBand;
  if (inside < 0 || inside >= n) return slicing::kInside;
  if (outside < 0 || outside >= n) return slicing::kOutside;
  LevelTable t;
  for (int level = 0; level < 256; ++level) {
    if (level >= low && level <= high)
      t[level] = static_cast<std::uint8_t>(inside);
    else
      t[level] = static_cast<std::uint8_t>(mode == 0 ? outside : level);
  }
  if (v.bpp <= 8)
    MapIndices(v, t);
  else
    MapChannels(v, t, t, t);
  NoteStride(*this, v);
  return 0;
}

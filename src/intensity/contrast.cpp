// fnIMG_NonLinearContrast: maps levels (model 0) or one or more channels of another colour model
// (models 1 ... 10) through one of seven fixed curves: 0 square, 1 cube, 2 square root, 3 cube
// root, 4 logarithm, 5 sine S-curve, 6 tangent S-curve (k sets the steepness of 5 and 6).
//
// Result codes: intensity/codes.h (non_linear_contrast).
//
// Model 0 builds a table of at most 256 levels with the curve's integer arithmetic and applies it
// over the rows (indices at 4 and 8 bits, blue, green and red at 24 and 32). Models 1 ... 10
// convert each palette entry once, or each distinct true colour once through a memo.
#include <math.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "colour/model_channels.h"
#include "core/block_access.h"
#include "core/colour_cache.h"
#include "core/byte_table.h"
#include "core/palette.h"
#include "core/pixel_access.h"
#include "intensity/codes.h"
#include "intensity/level_tables.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::Px;
namespace codes = lamina::codes;
namespace cm = lamina::colour;

namespace lamina {
namespace contrast {

// The cube-root exponent: the single-precision 0.333333, a hair below the float nearest 1/3 (so
// 255 maps to 254 on the cube-root curve, as it always has).
inline float CubeRootExponent() {
  const std::uint32_t bits = 0x3EAAAA9Fu;
  float e;
  std::memcpy(&e, &bits, sizeof e);
  return e;
}

constexpr double kPi = 3.1415926535;

struct Curve {
  int curve;
  bool identity;  // curves 5 and 6 at k = 0: their limit, the identity, instead of 0 / 0
  double a, s5, s6;
  float e;
  Curve(int c, float k) : curve(c) {
    a = static_cast<double>(k) * kPi;
    s5 = std::sin(a * 0.5);
    s6 = std::tan(a * 0.5);
    identity = (c == 5 || c == 6) && k == 0.0f;
    e = CubeRootExponent();
  }
};

// Model 0 on palette images: the integer curve of an index v with top level L.
inline std::uint32_t IndexCurve(const Curve& c, std::uint32_t v, std::uint32_t L) {
  const int h = static_cast<int>(L / 2);
  switch (c.curve) {
    case 0:
      return v * v / L;
    case 1:
      return v * v * v / (L * L);
    case 2:
      return static_cast<std::uint32_t>(::sqrtf(static_cast<float>(v * L)));
    case 3:
      return static_cast<std::uint32_t>(::powf(static_cast<float>(v * L * L), c.e));
    case 4:
      return static_cast<std::uint32_t>(::logf(static_cast<float>(v + 1)) /
                                        ::logf(static_cast<float>(L + 1)) * static_cast<float>(L));
    default: {
      if (c.identity) return v;
      const double x = (static_cast<double>(v) / L - 0.5) * c.a;
      const double s = c.curve == 5 ? std::sin(x) * h / c.s5 : std::tan(x) * h / c.s6;
      return static_cast<std::uint32_t>(cm::SafeTrunc(s + h));
    }
  }
}

// Model 0 on 24- and 32-bit images: the curve of a byte, halves at 127.5.
inline std::uint32_t ByteCurve(const Curve& c, std::uint32_t v) {
  switch (c.curve) {
    case 0:
      return v * v / 255;
    case 1:
      return v * v * v / 65025;
    case 2:
      return static_cast<std::uint32_t>(::sqrtf(static_cast<float>(v * 255)));
    case 3:
      return static_cast<std::uint32_t>(::powf(static_cast<float>(v * 65025), c.e));
    case 4:
      return static_cast<std::uint32_t>(::logf(static_cast<float>(v + 1)) / ::logf(256.0f) *
                                        255.0f);
    default: {
      if (c.identity) return v;
      const double x = (v / 255.0 - 0.5) * c.a;
      const double s = c.curve == 5 ? std::sin(x) * 127.5 / c.s5 : std::tan(x) * 127.5 / c.s6;
      return static_cast<std::uint32_t>(cm::SafeTrunc(s + 127.5));
    }
  }
}

// Models 1 ... 10: the curve of a channel value, in float, with top level L and half h = L / 2.
inline float ChannelCurve(const Curve& c, float v, int L) {
  const int h = L / 2;
  switch (c.curve) {
    case 0:
      return v * v / static_cast<float>(L);
    case 1:
      return v * v * v / static_cast<float>(L * L);
    case 2:
      return ::sqrtf(static_cast<float>(L) * v);
    case 3:
      return ::powf(static_cast<float>(L) * v * static_cast<float>(L), c.e);
    case 4:
      return ::logf(v + 1.0f) / ::logf(static_cast<float>(L + 1)) * static_cast<float>(L);
    default: {
      if (c.identity) return v;
      const double x = (static_cast<double>(v) / L - 0.5) * c.a;
      const double s = c.curve == 5 ? std::sin(x) * h / c.s5 : std::tan(x) * h / c.s6;
      return static_cast<float>(s + h);
    }
  }
}

inline RGBQUAD CurveInModel(const Curve& c, int model, RGBQUAD colour, int L) {
  cm::Channels ch = cm::ToModel(model, colour);
  const cm::ChangedFields f = cm::Changed(model, true);
  for (int i = f.first; i < f.first + f.count; ++i) ch.f[i] = ChannelCurve(c, ch.f[i], L);
  return cm::FromModel(model, ch);
}

}  // namespace contrast
}  // namespace lamina

int CLamina::fnIMG_NonLinearContrast(int model, int curve, float k) {
  namespace nc = lamina::contrast;
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::InMask(lamina::kLevelDepthMask, v.bpp)) return codes::non_linear_contrast::kDepth;
  if (!(k >= 0.0f && k <= 1.0f)) return codes::non_linear_contrast::kSteepness;
  if (static_cast<unsigned>(curve) > 6u) return codes::non_linear_contrast::kCurve;
  if (static_cast<unsigned>(model) > 10u) return codes::non_linear_contrast::kModel;

  const nc::Curve c(curve, k);
  const bool anyPixel = v.width > 0 && v.height > 0;
  if (model == 0) {
    lamina::DispatchDepth<lamina::kLevelDepthMask>(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      if constexpr (B <= 8) {
        constexpr std::uint32_t L = (1u << B) - 1;
        std::uint8_t lut[256];
        for (std::uint32_t i = 0; i <= L; ++i)
          lut[i] = static_cast<std::uint8_t>(nc::IndexCurve(c, i, L));
        lamina::intensity::MapIndices<B>(v, lut);
      } else {
        std::uint8_t lut[256];
        for (std::uint32_t i = 0; i < 256; ++i)
          lut[i] = static_cast<std::uint8_t>(nc::ByteCurve(c, i));
        if constexpr (B == 24) {
          // Every byte of a 24-bit row's pixels takes part: one pass over them all.
          for (int y = v.height - 1; y >= 0; --y)
            lamina::ApplyByteTable(v.Row(y), static_cast<std::size_t>(v.width) * 3, lut);
        } else {
          lamina::MapChannels<32>(v, lut, lut, lut);  // the fourth byte stays
        }
      }
    });
    if (anyPixel) m_nAnchoAlineado = v.stride;
    return 0;
  }

  if (v.bpp <= 8) {
    // The palette entries change; the indices stay. Entries beyond the levels of the depth (a
    // header may claim more) are kept as they are.
    const int n = 1 << v.bpp;
    const int L = n - 1;
    RGBQUAD pal[256];
    for (int i = 0; i < v.paletteEntries && i < 256; ++i) pal[i] = v.palette[i];
    for (int i = 0; i < n; ++i)
      pal[i] = nc::CurveInModel(c, model, v.Entry(static_cast<std::uint32_t>(i)), L);
    lamina::SetPalette(v, pal);
    return 0;
  }

  lamina::ColourCache cache;
  const auto convert = [&](std::uint32_t colour) {
    return lamina::PackColour(nc::CurveInModel(c, model, lamina::UnpackColour(colour), 255));
  };
  lamina::DispatchDepth<lamina::kTrueColourDepthMask>(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    for (int y = v.height - 1; y >= 0; --y) {
      std::uint8_t* row = v.Row(y);
      for (int x = 0; x < v.width; ++x) Px<B>::Set(row, x, cache.Get(Px<B>::Get(row, x), convert));
    }
  });
  if (anyPixel) m_nAnchoAlineado = v.stride;
  return 0;
}

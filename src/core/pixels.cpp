// The single-pixel accessors, alpha and packed colours: thin checked wrappers over the pixel layer.
#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::Px;

unsigned int CLamina::fnIMG_GetPixel(int x, int y) {
  const ImageView v = BlockAccess::View(*this);
  if (!v.Inside(x, y)) return 0xFFFFFFFFu;
  unsigned int value = 0xFFFFFFFEu;
  if (lamina::DispatchDepth(v.bpp, [&](auto d) {
        value = Px<decltype(d)::value>::Get(v.Row(y), x);
      }))
    m_nAnchoAlineado = v.stride;
  return value;
}

int CLamina::fnIMG_SetPixel(int x, int y, unsigned int value) {
  const ImageView v = BlockAccess::View(*this);
  if (!v.Inside(x, y)) return 1;
  if (!lamina::DispatchDepth(v.bpp, [&](auto d) { Px<decltype(d)::value>::Set(v.Row(y), x, value); }))
    return 2;
  m_nAnchoAlineado = v.stride;
  return 0;
}

int CLamina::fnIMG_GetRGBPixel(int x, int y, RGBQUAD* colour) {
  const ImageView v = BlockAccess::View(*this);
  if (!v.Inside(x, y)) return 1;
  RGBQUAD c{};
  if (!lamina::DispatchDepth(v.bpp, [&](auto d) {
        constexpr int B = decltype(d)::value;
        if constexpr (B <= 8)
          c = v.Entry(Px<B>::Get(v.Row(y), x));
        else
          c = Px<B>::GetRGB(v.Row(y), x);
      }))
    return 2;
  m_nAnchoAlineado = v.stride;
  if (colour != nullptr) *colour = c;
  return 0;
}

int CLamina::fnIMG_SetRGBPixel(int x, int y, RGBQUAD colour) {
  const ImageView v = BlockAccess::View(*this);
  if (!v.Inside(x, y)) return 1;
  if (!lamina::DispatchDepth(v.bpp, [&](auto d) {
        constexpr int B = decltype(d)::value;
        if constexpr (B <= 8) {
          // A palette pixel's colour is its palette entry: rewrite the entry, keep the index. An
          // index beyond a short palette has no entry to rewrite, so nothing is written.
          const std::uint32_t index = Px<B>::Get(v.Row(y), x);
          if (index < static_cast<std::uint32_t>(v.paletteEntries)) v.palette[index] = colour;
        } else {
          Px<B>::SetRGB(v.Row(y), x, colour);
        }
      }))
    return 2;
  m_nAnchoAlineado = v.stride;
  return 0;
}

// ---- Alpha -----------------------------------------------------------------------------------

unsigned char CLamina::fnIMG_GetAlfa(int x, int y) {
  const ImageView v = BlockAccess::View(*this);
  if (!v.Inside(x, y)) return 255;
  if (v.bpp != 32) return 254;
  m_nAnchoAlineado = v.width * 4;
  return v.Row(y)[4 * static_cast<std::ptrdiff_t>(x) + 3];
}

int CLamina::fnIMG_SetAlfa(int x, int y, unsigned char alpha) {
  const ImageView v = BlockAccess::View(*this);
  if (v.bpp != 32) return 1;
  if (!v.Inside(x, y)) return 2;
  m_nAnchoAlineado = v.width * 4;
  v.Row(y)[4 * static_cast<std::ptrdiff_t>(x) + 3] = alpha;
  return 0;
}

int CLamina::fnIMG_SetAlfa(unsigned char alpha) {
  const ImageView v = BlockAccess::View(*this);
  if (v.bpp != 32) return 1;
  for (int y = 0; y < v.height; ++y) {
    std::uint8_t* row = v.Row(y);
    for (int x = 0; x < v.width; ++x) row[4 * x + 3] = alpha;
  }
  m_nAnchoAlineado = v.width * 4;
  return 0;
}

int CLamina::fnIMG_SetAlfa(int mode) {
  const ImageView v = BlockAccess::View(*this);
  if (v.bpp != 32) return 1;
  if (mode != 2 && mode != 3) return 0;
  for (int y = 0; y < v.height; ++y) {
    std::uint8_t* row = v.Row(y);
    for (int x = 0; x < v.width; ++x) {
      std::uint8_t* p = row + 4 * x;
      if (mode == 2)
        p[3] = static_cast<std::uint8_t>(255 - p[3]);
      else
        p[3] = static_cast<std::uint8_t>((p[0] + p[1] + p[2]) / 3);
    }
  }
  m_nAnchoAlineado = v.width * 4;
  return 0;
}

// ---- Packed colours --------------------------------------------------------------------------

RGBQUAD CLamina::fnIMG_RGBToRGBQUAD(unsigned long rgb) {
  return RGBQUAD{static_cast<BYTE>(rgb >> 16), static_cast<BYTE>(rgb >> 8),
                 static_cast<BYTE>(rgb), 0};
}

unsigned long CLamina::fnIMG_RGBQUADToRGB(RGBQUAD colour) {
  return static_cast<unsigned long>(colour.rgbRed) |
         (static_cast<unsigned long>(colour.rgbGreen) << 8) |
         (static_cast<unsigned long>(colour.rgbBlue) << 16);
}

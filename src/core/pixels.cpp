// The single-pixel accessors, alpha and packed colours: thin checked wrappers over the pixel layer.
#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::Px;

namespace {

// Where pixel (x, y) lives, for the checked single-pixel calls: the point is tested first, then the
// depth. Kept lean (no palette bookkeeping) because these calls run once per pixel in callers' loops.
enum Where { kFound = 0, kOutside = 1, kBadDepth = 2 };

inline bool Outside(const BITMAPINFOHEADER* h, int x, int y) {
  return h == nullptr || y < 0 || y >= h->biHeight || x < 0 || x >= h->biWidth;
}

// Row y of an image of depth BPP; the stride is left in `stride`. With the depth a constant the
// stride costs a shift and a mask.
template <int BPP>
inline std::uint8_t* RowOf(const BITMAPINFOHEADER* h, std::uint8_t* bits, int y, int& stride) {
  stride = static_cast<int>(((static_cast<std::int64_t>(h->biWidth) * BPP + 31) >> 5) << 2);
  return bits + static_cast<std::ptrdiff_t>(stride) * (h->biHeight - 1 - y);
}

inline Where Locate(const BITMAPINFOHEADER* h, std::uint8_t* bits, int x, int y,
                    std::uint8_t*& row, int& stride) {
  if (Outside(h, x, y)) return kOutside;
  const int bpp = h->biBitCount;
  if (!lamina::IsSupportedDepth(bpp)) return kBadDepth;
  stride = static_cast<int>(((static_cast<std::int64_t>(h->biWidth) * bpp + 31) >> 5) << 2);
  row = bits + static_cast<std::ptrdiff_t>(stride) * (h->biHeight - 1 - y);
  return kFound;
}

}  // namespace

unsigned int CLamina::fnIMG_GetPixel(int x, int y) {
  const BITMAPINFOHEADER* h = m_lpbmih;
  if (Outside(h, x, y)) return 0xFFFFFFFFu;
  switch (h->biBitCount) {
    case 8: return Px<8>::Get(RowOf<8>(h, m_lpBits, y, m_nAnchoAlineado), x);
    case 24: return Px<24>::Get(RowOf<24>(h, m_lpBits, y, m_nAnchoAlineado), x);
    case 32: return Px<32>::Get(RowOf<32>(h, m_lpBits, y, m_nAnchoAlineado), x);
    case 4: return Px<4>::Get(RowOf<4>(h, m_lpBits, y, m_nAnchoAlineado), x);
    case 1: return Px<1>::Get(RowOf<1>(h, m_lpBits, y, m_nAnchoAlineado), x);
    default: return 0xFFFFFFFEu;
  }
}

int CLamina::fnIMG_SetPixel(int x, int y, unsigned int value) {
  const BITMAPINFOHEADER* h = m_lpbmih;
  if (Outside(h, x, y)) return 1;
  switch (h->biBitCount) {
    case 8: Px<8>::Set(RowOf<8>(h, m_lpBits, y, m_nAnchoAlineado), x, value); return 0;
    case 24: Px<24>::Set(RowOf<24>(h, m_lpBits, y, m_nAnchoAlineado), x, value); return 0;
    case 32: Px<32>::Set(RowOf<32>(h, m_lpBits, y, m_nAnchoAlineado), x, value); return 0;
    case 4: Px<4>::Set(RowOf<4>(h, m_lpBits, y, m_nAnchoAlineado), x, value); return 0;
    case 1: Px<1>::Set(RowOf<1>(h, m_lpBits, y, m_nAnchoAlineado), x, value); return 0;
    default: return 2;
  }
}

int CLamina::fnIMG_GetRGBPixel(int x, int y, RGBQUAD* colour) {
  std::uint8_t* row;
  int stride;
  const Where w = Locate(m_lpbmih, m_lpBits, x, y, row, stride);
  if (w != kFound) return w;
  m_nAnchoAlineado = stride;
  RGBQUAD c;
  const int bpp = m_lpbmih->biBitCount;
  if (bpp == 24) {
    c = Px<24>::GetRGB(row, x);
  } else if (bpp == 32) {
    c = Px<32>::GetRGB(row, x);
  } else {
    // A pixel whose index lies beyond a short palette reads as black, never outside the block.
    const std::uint32_t index = bpp == 8 ? Px<8>::Get(row, x) : bpp == 4 ? Px<4>::Get(row, x)
                                                                        : Px<1>::Get(row, x);
    c = index < lamina::PaletteEntries(*m_lpbmih) ? m_lpPalette[index] : RGBQUAD{0, 0, 0, 0};
  }
  if (colour != nullptr) *colour = c;
  return 0;
}

int CLamina::fnIMG_SetRGBPixel(int x, int y, RGBQUAD colour) {
  std::uint8_t* row;
  int stride;
  const Where w = Locate(m_lpbmih, m_lpBits, x, y, row, stride);
  if (w != kFound) return w;
  m_nAnchoAlineado = stride;
  const int bpp = m_lpbmih->biBitCount;
  if (bpp == 24) {
    Px<24>::SetRGB(row, x, colour);
  } else if (bpp == 32) {
    Px<32>::SetRGB(row, x, colour);
  } else {
    // A palette pixel's colour is its palette entry: rewrite the entry, keep the index. An index
    // beyond a short palette has no entry to rewrite, so nothing is written.
    const std::uint32_t index = bpp == 8 ? Px<8>::Get(row, x) : bpp == 4 ? Px<4>::Get(row, x)
                                                                        : Px<1>::Get(row, x);
    if (index < lamina::PaletteEntries(*m_lpbmih)) m_lpPalette[index] = colour;
  }
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
  for (int y = v.height - 1; y >= 0; --y) {
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
  for (int y = v.height - 1; y >= 0; --y) {
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

// The single-pixel accessors, alpha and packed colours: thin checked wrappers over the pixel layer.
#include "CLamina.h"
#include "core/block_access.h"
#include "core/codes.h"
#include "core/pixel_access.h"

using lamina::BlockAccess;
namespace codes = lamina::codes;
using lamina::ImageView;
using lamina::Px;

namespace {

// The checked single-pixel calls test the point first, then the depth. They are kept lean (no
// palette bookkeeping) because they run once per pixel in callers' loops.
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

// A palette pixel's colour is its palette entry; an index beyond a short palette has none.
inline RGBQUAD* EntryOf(const BITMAPINFOHEADER* h, RGBQUAD* palette, std::uint32_t index) {
  return index < lamina::PaletteEntries(*h) ? palette + index : nullptr;
}

}  // namespace

unsigned int CLamina::fnIMG_GetPixel(int x, int y) {
  const BITMAPINFOHEADER* h = m_lpbmih;
  if (Outside(h, x, y)) return static_cast<unsigned>(codes::get_pixel::kOutside.value);
  unsigned int value = static_cast<unsigned>(codes::get_pixel::kDepth.value);
  lamina::DispatchDepth(h->biBitCount, [&](auto d) {
    constexpr int B = decltype(d)::value;
    value = Px<B>::Get(RowOf<B>(h, m_lpBits, y, m_nAnchoAlineado), x);
  });
  return value;
}

int CLamina::fnIMG_SetPixel(int x, int y, unsigned int value) {
  const BITMAPINFOHEADER* h = m_lpbmih;
  if (Outside(h, x, y)) return codes::set_pixel::kOutside;
  const bool done = lamina::DispatchDepth(h->biBitCount, [&](auto d) {
    constexpr int B = decltype(d)::value;
    Px<B>::Set(RowOf<B>(h, m_lpBits, y, m_nAnchoAlineado), x, value);
  });
  return done ? 0 : codes::set_pixel::kDepth;
}

int CLamina::fnIMG_GetRGBPixel(int x, int y, RGBQUAD* colour) {
  const BITMAPINFOHEADER* h = m_lpbmih;
  if (Outside(h, x, y)) return codes::set_pixel::kOutside;
  RGBQUAD c{};
  const bool done = lamina::DispatchDepth(h->biBitCount, [&](auto d) {
    constexpr int B = decltype(d)::value;
    const std::uint8_t* row = RowOf<B>(h, m_lpBits, y, m_nAnchoAlineado);
    if constexpr (B <= 8) {
      // A pixel whose index lies beyond a short palette reads as black, never outside the block.
      const RGBQUAD* e = EntryOf(h, m_lpPalette, Px<B>::Get(row, x));
      c = e != nullptr ? *e : RGBQUAD{0, 0, 0, 0};
    } else {
      c = Px<B>::GetRGB(row, x);
    }
  });
  if (!done) return codes::set_pixel::kDepth;
  if (colour != nullptr) *colour = c;
  return 0;
}

int CLamina::fnIMG_SetRGBPixel(int x, int y, RGBQUAD colour) {
  const BITMAPINFOHEADER* h = m_lpbmih;
  if (Outside(h, x, y)) return codes::set_pixel::kOutside;
  const bool done = lamina::DispatchDepth(h->biBitCount, [&](auto d) {
    constexpr int B = decltype(d)::value;
    std::uint8_t* row = RowOf<B>(h, m_lpBits, y, m_nAnchoAlineado);
    if constexpr (B <= 8) {
      // Rewrite the entry, keep the index; an index without an entry changes nothing.
      RGBQUAD* e = EntryOf(h, m_lpPalette, Px<B>::Get(row, x));
      if (e != nullptr) *e = colour;
    } else {
      Px<B>::SetRGB(row, x, colour);
    }
  });
  return done ? 0 : codes::set_pixel::kDepth;
}

// ---- Alpha -----------------------------------------------------------------------------------

unsigned char CLamina::fnIMG_GetAlfa(int x, int y) {
  const ImageView v = BlockAccess::View(*this);
  if (!v.Inside(x, y)) return codes::get_alfa::kOutside;
  if (v.bpp != 32) return codes::get_alfa::kDepth;
  m_nAnchoAlineado = v.width * 4;
  return v.Row(y)[4 * static_cast<std::ptrdiff_t>(x) + 3];
}

int CLamina::fnIMG_SetAlfa(int x, int y, unsigned char alpha) {
  const ImageView v = BlockAccess::View(*this);
  if (v.bpp != 32) return codes::set_alfa_at::kDepth;
  if (!v.Inside(x, y)) return codes::set_alfa_at::kOutside;
  m_nAnchoAlineado = v.width * 4;
  v.Row(y)[4 * static_cast<std::ptrdiff_t>(x) + 3] = alpha;
  return 0;
}

int CLamina::fnIMG_SetAlfa(unsigned char alpha) {
  const ImageView v = BlockAccess::View(*this);
  if (v.bpp != 32) return codes::set_alfa::kDepth;
  for (int y = v.height - 1; y >= 0; --y) {
    std::uint8_t* row = v.Row(y);
    for (int x = 0; x < v.width; ++x) row[4 * x + 3] = alpha;
  }
  m_nAnchoAlineado = v.width * 4;
  return 0;
}

int CLamina::fnIMG_SetAlfa(int mode) {
  const ImageView v = BlockAccess::View(*this);
  if (v.bpp != 32) return codes::set_alfa::kDepth;
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

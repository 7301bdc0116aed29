// Planning and converting the visible part of a device-independent bitmap. All positions are
// worked out in 64 bits: a destination near the end of the int range plus a width must clip, not
// wrap round.
#include "platform/dib_blit.h"

#include <algorithm>
#include <cstring>

namespace lamina {
namespace platform {

namespace {

std::uint32_t Colour(BYTE blue, BYTE green, BYTE red) {
  return std::uint32_t{blue} | (std::uint32_t{green} << 8) | (std::uint32_t{red} << 16);
}

bool DrawableDepth(int bpp) {
  return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

// Indices from 1 and 4-bit rows, most significant bits first: a first partial byte, whole bytes
// through a table, then the last partial byte.
template <int B>
void ConvertPacked(const std::uint8_t* row, int srcX, int count, const std::uint32_t* pal,
                   std::uint32_t* out) {
  constexpr int kPerByte = 8 / B;
  constexpr unsigned kMask = (1u << B) - 1u;
  int x = srcX;
  int i = 0;
  auto one = [&](int at) {
    const unsigned shift = static_cast<unsigned>((kPerByte - 1 - at % kPerByte) * B);
    return pal[(row[at / kPerByte] >> shift) & kMask];
  };
  for (; i < count && x % kPerByte != 0; ++i, ++x) out[i] = one(x);
  const std::uint8_t* p = row + x / kPerByte;
  for (; count - i >= kPerByte; i += kPerByte, x += kPerByte) {
    const unsigned b = *p++;
    for (int k = 0; k < kPerByte; ++k)
      out[i + k] = pal[(b >> static_cast<unsigned>((kPerByte - 1 - k) * B)) & kMask];
  }
  for (; i < count; ++i, ++x) out[i] = one(x);
}

void ConvertRow(const BlitPlan& plan, const std::uint8_t* row, std::uint32_t* out) {
  const int n = plan.width;
  const std::size_t x0 = static_cast<std::size_t>(plan.srcX);
  switch (plan.bpp) {
    case 1:
      ConvertPacked<1>(row, plan.srcX, n, plan.palette, out);
      break;
    case 4:
      ConvertPacked<4>(row, plan.srcX, n, plan.palette, out);
      break;
    case 8: {
      const std::uint8_t* p = row + x0;
      for (int i = 0; i < n; ++i) out[i] = plan.palette[p[i]];
      break;
    }
    case 16: {
      // 5-5-5 with the top bit unused; each channel's top bits repeat below it.
      const std::uint8_t* p = row + 2 * x0;
      for (int i = 0; i < n; ++i) {
        const unsigned v = p[2 * i] | (unsigned{p[2 * i + 1]} << 8);
        const unsigned b = v & 31u, g = (v >> 5) & 31u, r = (v >> 10) & 31u;
        out[i] =
            Colour(static_cast<BYTE>((b << 3) | (b >> 2)), static_cast<BYTE>((g << 3) | (g >> 2)),
                   static_cast<BYTE>((r << 3) | (r >> 2)));
      }
      break;
    }
    case 24: {
      const std::uint8_t* p = row + 3 * x0;
      int i = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
      // Four pixels from three words: the three bytes of a pixel read little-endian are its value.
      for (; i + 4 <= n; i += 4, p += 12) {
        std::uint32_t w0, w1, w2;
        std::memcpy(&w0, p, 4);
        std::memcpy(&w1, p + 4, 4);
        std::memcpy(&w2, p + 8, 4);
        out[i] = w0 & 0xFFFFFFu;
        out[i + 1] = (w0 >> 24) | ((w1 & 0xFFFFu) << 8);
        out[i + 2] = (w1 >> 16) | ((w2 & 0xFFu) << 16);
        out[i + 3] = w2 >> 8;
      }
#endif
      for (; i < n; ++i, p += 3) out[i] = Colour(p[0], p[1], p[2]);
      break;
    }
    default: {  // 32
      const std::uint8_t* p = row + 4 * x0;
      for (int i = 0; i < n; ++i, p += 4) out[i] = Colour(p[0], p[1], p[2]);
      break;
    }
  }
}

}  // namespace

bool PlanBlit(int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
              UINT scanLines, const void* bits, const BITMAPINFO* info, UINT colourUse,
              int surfaceWidth, int surfaceHeight, BlitPlan* plan) {
  if (bits == nullptr || info == nullptr || plan == nullptr || colourUse != DIB_RGB_COLORS)
    return false;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < 40 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight <= 0 ||
      !DrawableDepth(h.biBitCount))
    return false;
  using I = std::int64_t;
  const I bmWidth = h.biWidth, bmHeight = h.biHeight;

  // Columns on the surface: inside the destination rectangle, the surface and the bitmap.
  const I left = std::max({I{xDest}, I{0}, I{xDest} - xSrc});
  const I right = std::min({I{xDest} + I{width}, I{surfaceWidth}, I{xDest} - xSrc + bmWidth});
  if (left >= right) return false;

  // Bitmap rows (counted from the bottom) inside the source rectangle, the band and the bitmap.
  // Row r lands on surface row k - r.
  const I rowLow = std::max({I{ySrc}, I{startScan}, I{0}});
  const I rowHigh = std::min({I{ySrc} + I{height}, I{startScan} + I{scanLines}, bmHeight});
  if (rowLow >= rowHigh) return false;
  const I k = I{yDest} + ySrc + I{height} - 1;
  const I top = std::max(k - (rowHigh - 1), I{0});
  const I bottom = std::min(k - rowLow, I{surfaceHeight} - 1);
  if (top > bottom) return false;

  const I stride = ((bmWidth * h.biBitCount + 31) / 32) * 4;
  plan->destX = static_cast<int>(left);
  plan->destY = static_cast<int>(top);
  plan->width = static_cast<int>(right - left);
  plan->height = static_cast<int>(bottom - top + 1);
  plan->srcX = static_cast<int>(left - xDest + xSrc);
  plan->topRow = static_cast<const std::uint8_t*>(bits) + (k - top - I{startScan}) * stride;
  plan->stride = static_cast<std::ptrdiff_t>(stride);
  plan->bpp = h.biBitCount;
  if (plan->bpp <= 8) {
    const unsigned levels = 1u << plan->bpp;
    const unsigned entries = h.biClrUsed != 0 && h.biClrUsed < levels ? h.biClrUsed : levels;
    const auto* table =
        reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(info) + h.biSize);
    for (unsigned i = 0; i < 256; ++i)
      plan->palette[i] =
          i < entries ? Colour(table[i].rgbBlue, table[i].rgbGreen, table[i].rgbRed) : 0u;
  }
  return true;
}

void ConvertRows(const BlitPlan& plan, std::uint32_t* out, std::ptrdiff_t outStride) {
  for (int y = 0; y < plan.height; ++y)
    ConvertRow(plan, plan.topRow - y * plan.stride, out + y * outStride);
}

}  // namespace platform
}  // namespace lamina

// Drawing into an X11 window or pixmap: the visible part of the bitmap is converted to 32-bit
// pixels once and sent in one XPutImage. On the usual 24-bit TrueColor visual (red, green and blue
// masks 0xFF0000, 0xFF00, 0xFF) those pixels go as they are, and Xlib swaps the bytes itself when
// the server's byte order is not ours; other TrueColor visuals (16-bit 5-6-5 and the like) get
// each pixel's channels moved into the visual's masks.
#include "lamina/cdc_x11.h"

#include <X11/Xutil.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/dib_blit.h"

namespace {

struct Channel {
  unsigned shift = 0;
  unsigned bits = 0;
};

Channel FromMask(unsigned long mask) {
  Channel c;
  if (mask == 0) return c;
  while ((mask & 1u) == 0) {
    mask >>= 1;
    ++c.shift;
  }
  while ((mask & 1u) != 0 && c.bits < 32) {
    mask >>= 1;
    ++c.bits;
  }
  return c;
}

unsigned long Place(unsigned value8, const Channel& c) {
  if (c.bits == 0) return 0;
  const unsigned long v = c.bits <= 8 ? value8 >> (8 - c.bits) : value8 << (c.bits - 8);
  return v << c.shift;
}

int ScreenOfRoot(Display* display, Window root) {
  for (int i = 0; i < ScreenCount(display); ++i)
    if (RootWindow(display, i) == root) return i;
  return DefaultScreen(display);
}

bool LittleEndianHost() {
  const std::uint32_t one = 1;
  unsigned char first;
  std::memcpy(&first, &one, 1);
  return first == 1;
}

}  // namespace

CX11DC::CX11DC(Display* display, Drawable drawable)
    : m_display(display), m_drawable(drawable), m_gc(nullptr) {
  if (display == nullptr || drawable == None) return;
  m_gc = XCreateGC(display, drawable, 0, nullptr);
  if (m_gc != nullptr) AttachSurface();
}

CX11DC::~CX11DC() {
  if (m_gc != nullptr) XFreeGC(m_display, m_gc);
}

int CX11DC::DrawDIB(int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                    UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info,
                    UINT colourUse) {
  Window root;
  int at_x, at_y;
  unsigned surfaceWidth, surfaceHeight, border, depth;
  if (!XGetGeometry(m_display, m_drawable, &root, &at_x, &at_y, &surfaceWidth, &surfaceHeight,
                    &border, &depth))
    return 0;
  lamina::platform::BlitPlan plan;
  if (!lamina::platform::PlanBlit(
          xDest, yDest, width, height, xSrc, ySrc, startScan, scanLines, bits, info, colourUse,
          static_cast<int>(surfaceWidth > INT_MAX ? INT_MAX : surfaceWidth),
          static_cast<int>(surfaceHeight > INT_MAX ? INT_MAX : surfaceHeight), &plan))
    return 0;
  XVisualInfo visual;
  if (!XMatchVisualInfo(m_display, ScreenOfRoot(m_display, root), static_cast<int>(depth),
                        TrueColor, &visual))
    return 0;

  const std::size_t count = std::size_t(plan.width) * std::size_t(plan.height);
  auto* pixels = static_cast<std::uint32_t*>(std::malloc(count * 4));
  if (pixels == nullptr) return 0;
  lamina::platform::ConvertRows(plan, pixels, plan.width);

  const unsigned w = static_cast<unsigned>(plan.width), h = static_cast<unsigned>(plan.height);
  const bool direct =
      visual.red_mask == 0xFF0000u && visual.green_mask == 0xFF00u && visual.blue_mask == 0xFFu;
  XImage* image = nullptr;
  if (direct) {
    image = XCreateImage(m_display, visual.visual, depth, ZPixmap, 0,
                         reinterpret_cast<char*>(pixels), w, h, 32, static_cast<int>(w * 4));
    if (image != nullptr && image->bits_per_pixel == 32) {
      // The pixels are in our byte order; Xlib converts to the server's when they differ.
      image->byte_order = LittleEndianHost() ? LSBFirst : MSBFirst;
    } else if (image != nullptr) {
      image->data = nullptr;
      XDestroyImage(image);
      image = nullptr;
    }
  }
  bool ownData = false;
  if (image == nullptr) {
    image = XCreateImage(m_display, visual.visual, depth, ZPixmap, 0, nullptr, w, h, 32, 0);
    if (image == nullptr) {
      std::free(pixels);
      return 0;
    }
    image->data =
        static_cast<char*>(std::malloc(std::size_t(image->bytes_per_line) * std::size_t(h)));
    if (image->data == nullptr) {
      XDestroyImage(image);
      std::free(pixels);
      return 0;
    }
    ownData = true;
    const Channel r = FromMask(visual.red_mask), g = FromMask(visual.green_mask),
                  b = FromMask(visual.blue_mask);
    for (unsigned y = 0; y < h; ++y)
      for (unsigned x = 0; x < w; ++x) {
        const std::uint32_t p = pixels[std::size_t(y) * w + x];
        XPutPixel(image, static_cast<int>(x), static_cast<int>(y),
                  Place((p >> 16) & 0xFFu, r) | Place((p >> 8) & 0xFFu, g) | Place(p & 0xFFu, b));
      }
  }
  XPutImage(m_display, m_drawable, m_gc, image, 0, 0, plan.destX, plan.destY, w, h);
  XFlush(m_display);
  if (!ownData) image->data = nullptr;  // the pixels are ours to free
  XDestroyImage(image);
  std::free(pixels);
  return plan.height;
}

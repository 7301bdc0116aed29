/// @file
///
/// A device context over an X11 window or pixmap, for libraries built with X11 (LAMINA_HAVE_X11).
/// The caller keeps the connection and the drawable; the context only draws into them, and X
/// reports errors (a drawable that no longer exists) through the caller's own error handler.
#pragma once

#include <X11/Xlib.h>

#include "lamina/cdc.h"

/// A device context that draws into an X11 window or pixmap.
class LAMINA_API CX11DC : public CDC {
 public:
  /// Draws into `drawable` (a window or a pixmap) of `display`. A null display or drawable gives a
  /// context attached to nothing.
  /// @param display the caller's connection, kept open by the caller while the context is used.
  /// @param drawable the window or pixmap to draw into.
  CX11DC(Display* display, Drawable drawable);
  ~CX11DC() override;

 protected:
  /// Clipped to the drawable's size at the time of the call; needs a TrueColor visual of the
  /// drawable's depth (any other, such as an 8-bit PseudoColor screen, draws nothing). The image is
  /// sent with XPutImage and the connection flushed.
  /// @param xDest, yDest, width, height, xSrc, ySrc, startScan, scanLines, bits, info, colourUse
  ///        as for SetDIBitsToDevice.
  /// @return the number of bitmap rows drawn.
  int DrawDIB(int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
              UINT scanLines, const void* bits, const BITMAPINFO* info, UINT colourUse) override;

 private:
  Display* m_display;
  Drawable m_drawable;
  GC m_gc;
};

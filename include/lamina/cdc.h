/// @file
///
/// The drawing surfaces an image is drawn on, under the Windows names: a device context (`CDC`)
/// whose handle (`HDC`) is given to `SetDIBitsToDevice`, the blit of a device-independent bitmap.
///
/// `CMemoryDC` is a surface in memory whose 32-bit pixels can be read back. With X11 the library
/// also draws into X windows and pixmaps (`CX11DC`, in lamina/cdc_x11.h). A plain `CDC` is attached
/// to no surface: its handle is null and nothing can be drawn on it.
#pragma once

#include "lamina/export.h"
#include "lamina/wintypes.h"

struct HDC__;
/// An opaque handle to a device context; `CDC::GetSafeHdc` gives it.
typedef HDC__* HDC;

/// A colour as Windows returns it from a device context: red + green x 256 + blue x 65536.
typedef DWORD COLORREF;
#ifndef CLR_INVALID
/// The colour `CMemoryDC::GetPixel` reports for a point outside the surface.
#define CLR_INVALID 0xFFFFFFFFu
#endif

#ifndef DIB_RGB_COLORS
/// `SetDIBitsToDevice` reads the palette as colours (the only use supported here).
#define DIB_RGB_COLORS 0u
/// `SetDIBitsToDevice` would read the palette as indices into the device's own palette: refused,
/// nothing is drawn.
#define DIB_PAL_COLORS 1u
#endif

/// A device context: something an image can be drawn on. A plain CDC is attached to no surface;
/// CMemoryDC and CX11DC draw into memory and into X11 drawables.
class LAMINA_API CDC {
 public:
  /// A context attached to no surface (a null handle).
  CDC();
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  /// The handle to pass to SetDIBitsToDevice.
  /// @return the handle; null for a context attached to no surface.
  HDC GetSafeHdc() const { return m_hDC; }

  HDC m_hDC;  ///< the context's handle, null while it is attached to no surface

 protected:
  /// Draws the rows of a bitmap band, as SetDIBitsToDevice describes (which checks the handle and
  /// passes its arguments on unchanged).
  /// @param xDest, yDest, width, height, xSrc, ySrc, startScan, scanLines, bits, info, colourUse
  ///        as for SetDIBitsToDevice.
  /// @return the number of bitmap rows drawn; 0 for a context attached to no surface.
  virtual int DrawDIB(int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info,
                      UINT colourUse);
  /// Subclasses that own a surface call this once they can draw on it.
  void AttachSurface() { m_hDC = reinterpret_cast<HDC>(this); }

  friend LAMINA_API int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width,
                                          DWORD height, int xSrc, int ySrc, UINT startScan,
                                          UINT scanLines, const void* bits,
                                          const BITMAPINFO* info, UINT colourUse);
};

/// Draws the part of a device-independent bitmap that lies on the device, clipped to the device.
///
/// The bitmap is described by `info` (a BITMAPINFOHEADER of at least 40 bytes followed by its
/// palette) and must be bottom-up (positive height), uncompressed (BI_RGB), of 1, 4, 8, 16 (5-5-5),
/// 24 or 32 bits per pixel. `bits` holds `scanLines` of its rows, starting with row `startScan`
/// counted from the bottom, each padded to 4 bytes. The source rectangle is `width` x `height`
/// pixels whose lower-left corner is the pixel (`xSrc`, `ySrc`) counted from the bottom-left; it is
/// drawn with its top-left corner at (`xDest`, `yDest`) of the device, y growing downwards. At 1, 4
/// and 8 bits a pixel's colour is its palette entry (`biClrUsed` entries, or 2^depth when 0); an
/// index beyond the palette draws black. At 16 bits each 5-bit channel c becomes (c << 3) | (c >>
/// 2), so white stays white. The fourth byte of a 32-bit pixel is not drawn.
///
/// @param hdc the device context's handle (CDC::GetSafeHdc).
/// @param xDest, yDest the device position of the source rectangle's top-left pixel.
/// @param width, height the size of the source rectangle in pixels.
/// @param xSrc, ySrc the source rectangle's lower-left pixel, counted from the bitmap's bottom-left.
/// @param startScan the bitmap row, counted from the bottom, that `bits` starts with.
/// @param scanLines how many rows `bits` holds.
/// @param bits the rows, bottom row first, each padded to 4 bytes.
/// @param info the bitmap's header and palette.
/// @param colourUse DIB_RGB_COLORS.
/// @return the number of bitmap rows of which at least one pixel reached the device; 0 when
///         nothing did, for a null handle, a null bitmap, a bitmap it cannot draw, or `colourUse`
///         other than DIB_RGB_COLORS.
LAMINA_API int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc,
                                 int ySrc, UINT startScan, UINT scanLines, const void* bits,
                                 const BITMAPINFO* info, UINT colourUse);

/// A drawing surface in memory: `width` x `height` pixels of 32 bits, all `background` at first.
class LAMINA_API CMemoryDC : public CDC {
 public:
  /// A surface of `width` x `height` pixels. A negative size counts as 0; a surface whose pixels
  /// cannot be allocated (or would exceed 2^31 bytes) is 0 x 0, attached to nothing, so nothing is
  /// drawn on it.
  /// @param width, height the size in pixels.
  /// @param background the colour every pixel starts with (red in the low byte).
  CMemoryDC(int width, int height, COLORREF background = 0);
  ~CMemoryDC() override;

  /// @return the surface's width in pixels.
  int GetWidth() const { return m_width; }
  /// @return the surface's height in pixels.
  int GetHeight() const { return m_height; }
  /// The colour of a pixel.
  /// @param x, y the pixel, y counted from the top.
  /// @return its colour (red in the low byte), or CLR_INVALID outside the surface.
  COLORREF GetPixel(int x, int y) const;
  /// The pixels, the top row first, `GetWidth()` per row, each blue + green x 256 + red x 65536 (the
  /// byte order of a 32-bit bitmap row in memory on little-endian machines).
  /// @return the first pixel; null for a 0 x 0 surface.
  const DWORD* GetBits() const { return m_bits; }
  /// @copydoc GetBits() const
  DWORD* GetBits() { return m_bits; }

 protected:
  /// @copydoc CDC::DrawDIB
  int DrawDIB(int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
              UINT scanLines, const void* bits, const BITMAPINFO* info, UINT colourUse) override;

 private:
  int m_width;
  int m_height;
  DWORD* m_bits;
};

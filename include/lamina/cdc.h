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

/// An opaque handle to a device context; `CDC::GetSafeHdc` gives it.
struct HDC__;
typedef HDC__* HDC;

/// A colour as Windows returns it from a device context: red + green x 256 + blue x 65536.
typedef DWORD COLORREF;
#ifndef CLR_INVALID
#define CLR_INVALID 0xFFFFFFFFu
#endif

/// How `SetDIBitsToDevice` reads a palette: as colours (the only use supported here), or as
/// indices into the device's own palette (refused: nothing is drawn).
#ifndef DIB_RGB_COLORS
#define DIB_RGB_COLORS 0u
#define DIB_PAL_COLORS 1u
#endif

class LAMINA_API CDC {
 public:
  CDC();
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  /// The handle to pass to SetDIBitsToDevice; null for a context attached to no surface.
  HDC GetSafeHdc() const { return m_hDC; }

  HDC m_hDC;

 protected:
  /// Draws the rows of a bitmap band, as SetDIBitsToDevice describes; returns the rows drawn.
  virtual int DrawDIB(int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info,
                      UINT colourUse);
  /// Subclasses that own a surface call this once they can draw on it.
  void AttachSurface() { m_hDC = reinterpret_cast<HDC>(this); }

  friend LAMINA_API int SetDIBitsToDevice(HDC, int, int, DWORD, DWORD, int, int, UINT, UINT,
                                          const void*, const BITMAPINFO*, UINT);
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
/// Returns the number of bitmap rows of which at least one pixel reached the device; 0 when nothing
/// did, for a null handle, a null bitmap, a bitmap it cannot draw, or `colourUse` other than
/// DIB_RGB_COLORS.
LAMINA_API int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc,
                                 int ySrc, UINT startScan, UINT scanLines, const void* bits,
                                 const BITMAPINFO* info, UINT colourUse);

/// A drawing surface in memory: `width` x `height` pixels of 32 bits, all `background` at first.
class LAMINA_API CMemoryDC : public CDC {
 public:
  /// A negative size counts as 0; a surface whose pixels cannot be allocated (or would exceed 2^31
  /// bytes) is 0 x 0, attached to nothing, so nothing is drawn on it.
  CMemoryDC(int width, int height, COLORREF background = 0);
  ~CMemoryDC() override;

  int GetWidth() const { return m_width; }
  int GetHeight() const { return m_height; }
  /// The colour of a pixel (red in the low byte), or CLR_INVALID outside the surface.
  COLORREF GetPixel(int x, int y) const;
  /// The pixels, the top row first, `GetWidth()` per row, each blue + green x 256 + red x 65536 (the
  /// byte order of a 32-bit bitmap row in memory on little-endian machines); null for 0 x 0.
  const DWORD* GetBits() const { return m_bits; }
  DWORD* GetBits() { return m_bits; }

 protected:
  int DrawDIB(int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
              UINT scanLines, const void* bits, const BITMAPINFO* info, UINT colourUse) override;

 private:
  int m_width;
  int m_height;
  DWORD* m_bits;
};

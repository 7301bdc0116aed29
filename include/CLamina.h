/// @file
///
/// The whole public interface of Lamina: the image class CLamina and its nested records.
///
/// One CLamina object is one raster image; its description below tells the image model, the
/// coordinates, the result codes and the default object. The platform types the interface is
/// written in (RGBQUAD, BITMAPINFOHEADER, CString, CFile, the movable-memory functions) live in the
/// headers under lamina/, with Windows-style names and layouts.
#pragma once

#include <functional>

#include "lamina/cdc.h"
#include "lamina/cfile.h"
#include "lamina/cobject.h"
#include "lamina/complex.h"
#include "lamina/cstring.h"
#include "lamina/export.h"
#include "lamina/memory.h"
#include "lamina/wintypes.h"

namespace lamina {
namespace detail {
struct BlockAccess;  // the library's own access to the image block; not for callers
}  // namespace detail
}  // namespace lamina

/// One raster image, and every operation on it.
///
/// **The image.** An object holds its image in one movable memory block laid out as a packed
/// device-independent bitmap: a 40-byte BITMAPINFOHEADER, then for 1, 4 and 8 bits a palette of
/// RGBQUAD entries (biClrUsed of them, or 2, 16 or 256 when biClrUsed is 0), then the pixel rows,
/// bottom row first, each padded to a multiple of 4 bytes (the stride). Depths of 1, 4, 8, 24 and
/// 32 bits are processed. A 16-bit image (only fnIMG_LoadBMP() and fnIMG_CopyFromHandle() make one)
/// can be queried, copied, flipped, saved as BMP and handed out; the pixel, palette and processing
/// operations refuse it.
///
/// **Coordinates and values.** A point is (x, y): x the column from the left, y the row from the
/// top, both from 0. A pixel's value is its palette index at 1, 4 and 8 bits, and blue + green x
/// 256 + red x 65536 at 24 and 32 bits; the fourth byte of a 32-bit pixel (its alpha) is never part
/// of a value, and operations that build a new 32-bit image leave it 0. Packed colours
/// (fnIMG_RGBToRGBQUAD(), fnIMG_RGBQUADToRGB()) run the other way: red + green x 256 + blue x
/// 65536.
///
/// **Result codes.** Most operations return an int: 0 for success, otherwise the code of the check
/// that failed. Each member lists its codes in the order it checks them; a code is numbered per
/// operation, so the same number means different things for different members. Modes and selectors
/// are compared as unsigned numbers: a negative one is refused like one that is too large.
/// Operations that return a value (a pixel, a threshold, an average) report failure by the sentinel
/// values they list. A call that fails leaves the image exactly as it was (block, header, palette,
/// pixels and name) unless its description says otherwise, and failures are reported by results,
/// not exceptions.
///
/// **The default object.** CLamina() makes a 16 x 16 black image of 8 bits with the gray ramp
/// palette (entry i = (i, i, i, 0)), named "SIN_NOMBRE.RAW".
///
/// **An object without an image.** The data constructor given a depth other than 1, 4, 8, 24 or 32,
/// a negative side or a block above 2 GiB, or any constructor when memory is short, makes an object
/// that holds no block (all pointers null). It reads as a 0 x 0 image of depth 0: every operation
/// is safe on it and refuses it where a depth is checked, and it can be assigned to or loaded into.
///
/// **Ownership and threads.** Each object owns its block alone, and copies are deep. Images passed
/// by pointer (interlace sources, split outputs) stay the caller's and are not kept. Nothing in the
/// library starts a thread; an object is used by one thread at a time, and distinct objects may be
/// used from distinct threads.
///
/// @code
/// CLamina img;                                  // 16 x 16, 8 bits, black
/// if (img.fnIMG_LoadBMP(CString("in.bmp")) == 0) {
///   img.fnIMG_Flip(0);                          // mirror left-right
///   int hist[1024];                             // 256 levels x 4 columns
///   img.fnIMG_GetHistogram(hist, 0);
///   img.fnIMG_SaveBMP(CString("out.bmp"));
/// }
/// @endcode
class LAMINA_API CLamina {
 public:
  // ---- Records -------------------------------------------------------------------------------

  /// The five addresses an image keeps into its block, as fnIMG_GetPointers() returns them.
  ///
  /// They stay valid until the block is replaced (by assignment, a loader, fnIMG_CopyFromHandle(),
  /// a depth conversion, or any operation that builds a new image such as fnIMG_Crop()). All five
  /// are null for an object without an image.
  struct Punteros {
    unsigned char* lpDib;      ///< the start of the block, where the header is
    BITMAPINFOHEADER* lpbmih;  ///< the header (the same address as lpDib)
    BITMAPINFO* lpbmi;         ///< header and palette (the same address as lpDib)
    RGBQUAD* lpPalette;        ///< the palette at lpDib + 40; null above 8 bits
    unsigned char* lpBits;     ///< the first byte of the pixel rows (the bottom row)
  };

  /// The number, resolution, physical size and pixel density of the first two monitors.
  ///
  /// Fields ending in 1 describe the first monitor, fields ending in 2 the second; the second
  /// monitor's fields are 0 when there are fewer than two monitors.
  struct InfoMonitorestag {
    int nMonitores;         ///< the number of monitors
    int nPulgadas1;         ///< the diagonal in whole inches: trunc(diagonal in mm / 25.4 + 1)
    int nPulgadas2;         ///< the diagonal of the second monitor
    int nResolucionX1;      ///< horizontal resolution in pixels
    int nResolucionY1;      ///< vertical resolution in pixels
    int nResolucionX2;      ///< horizontal resolution of the second monitor
    int nResolucionY2;      ///< vertical resolution of the second monitor
    int nTamanoX1;          ///< physical width in millimetres
    int nTamanoY1;          ///< physical height in millimetres
    int nTamanoX2;          ///< physical width of the second monitor
    int nTamanoY2;          ///< physical height of the second monitor
    int nPixelesPulgadaX1;  ///< logical pixels per inch, horizontally
    int nPixelesPulgadaY1;  ///< logical pixels per inch, vertically
    int nPixelesPulgadaX2;  ///< logical pixels per inch of the second monitor, horizontally
    int nPixelesPulgadaY2;  ///< logical pixels per inch of the second monitor, vertically
  };

  /// A move given as a physical length and its size in pixels of a display.
  ///
  /// The length is a distance times the sine of an angle, in centimetres.
  struct InfoDesplazamientotag {
    float fDesplazamiento;          ///< the length of the move in centimetres
    float fDesplazamientoPulgadas;  ///< the same length in inches
    float fDesplazamientoX;         ///< its horizontal part in centimetres
    float fDesplazamientoY;         ///< its vertical part in centimetres, positive downwards
    int nPixelesX;                  ///< the horizontal move in pixels
    int nPixelesY;                  ///< the vertical move in pixels
  };

  /// Which levels an operation changes: four flags, 0 off and any other value on.
  ///
  /// Used by fnIMG_Negative(CLamina::CualesRGB) and fnIMG_GrayScaleLinealTransform(). The flags are
  /// applied one after the other in the order of the fields, so their effects add up.
  struct CualesRGB {
    int bGris;   ///< the gray level: an index, or all three colour bytes (see each operation)
    int bRojo;   ///< red: of the palette entries, or of every pixel at 24 and 32 bits
    int bVerde;  ///< green, as bRojo
    int bAzul;   ///< blue, as bRojo
  };

  /// The summary of the four histograms of fnIMG_GetHistogram(), filled by
  /// fnIMG_GetInfoHistogram().
  ///
  /// Every level is 0 to 255 and every count a raw pixel count. The suffix names the column: I the
  /// pixel index (1, 4 and 8 bits) or the intensity (red + green + blue) / 3 (24 and 32 bits), R, G
  /// and B the red, green and blue of the pixel's colour. For each column, nMin/nFrecMin hold the
  /// lowest level that occurs and its count, nMax/nFrecMax the highest, and nModa/nFrecModa the
  /// most frequent level (the lowest of equally frequent ones) and its count. A column without any
  /// count holds 0 in all six fields.
  struct InformacionHistograma {
    ///@{
    /// For columns I, R, G and B: the lowest level that occurs, then its count.
    int nMinI, nFrecMinI, nMinR, nFrecMinR, nMinG, nFrecMinG, nMinB, nFrecMinB;
    ///@}
    ///@{
    /// For columns I, R, G and B: the highest level that occurs, then its count.
    int nMaxI, nFrecMaxI, nMaxR, nFrecMaxR, nMaxG, nFrecMaxG, nMaxB, nFrecMaxB;
    ///@}
    ///@{
    /// For columns I, R, G and B: the most frequent level, then its count.
    int nModaI, nFrecModaI, nModaR, nFrecModaR, nModaG, nFrecModaG, nModaB, nFrecModaB;
    ///@}
  };

  /// Which bit planes fnIMG_BitPlaneErase() clears: one flag per plane, from plane 23 down to plane
  /// 0.
  ///
  /// A plane is selected only by a field of exactly 1 (2 or -1 leave it alone). At 1, 4 and 8 bits
  /// the planes are those of the index; at 24 and 32 bits planes 0 to 7 are the blue bits, 8 to 15
  /// the green bits and 16 to 23 the red bits. Flags above the depth's planes have no effect.
  struct CualesPlanosBits {
    ///@{
    /// Planes 23 to 16: the red bits of a true-colour pixel. 1 clears the plane.
    int bPlano23, bPlano22, bPlano21, bPlano20, bPlano19, bPlano18, bPlano17, bPlano16;
    ///@}
    ///@{
    /// Planes 15 to 8: the green bits of a true-colour pixel. 1 clears the plane.
    int bPlano15, bPlano14, bPlano13, bPlano12, bPlano11, bPlano10, bPlano9, bPlano8;
    ///@}
    ///@{
    /// Planes 7 to 0: the bits of an index, or the blue bits of a true-colour pixel. 1 clears the
    /// plane.
    int bPlano7, bPlano6, bPlano5, bPlano4, bPlano3, bPlano2, bPlano1, bPlano0;
    ///@}
  };

  /// Which of the six smoothing rules of fnIMG_BinarySmoothing() run: a non-zero flag selects its
  /// rule, and the chosen rules run in the order of the fields, each on the result of the one
  /// before.
  struct CualesSuavizadoBinario {
    int bRegla1;  ///< fill: a 0 pixel with at least three of its four edge neighbours at 1
    int bRegla2;  ///< thin: a 1 pixel without support on two opposite corners becomes 0
    int bRegla3;  ///< corner fill, the L at the left, bottom-left and bottom
    int bRegla4;  ///< corner fill, the L at the right, bottom-right and bottom
    int bRegla5;  ///< corner fill, the L at the left, top-left and top
    int bRegla6;  ///< corner fill, the L at the right, top-right and top
  };

  /// A colour in the CMYK model (fnIMG_RGBToCMYK(), fnIMG_CMYKToRGB()).
  ///
  /// At scale 1 every field is 0 to 255, at scale 2 0 to 1. Cyan, magenta and yellow are 255 minus
  /// red, green and blue, not reduced by black; black is the smallest of the three. RGB black is
  /// (0, 0, 0, 255) at scale 1.
  struct CMYKQUADtag {
    float cmykCyan;     ///< cyan
    float cmykMagenta;  ///< magenta
    float cmykYellow;   ///< yellow
    float cmykBlack;    ///< black
  };
  /// A colour in the HSI model (hue, saturation, intensity).
  ///
  /// Scale 1: every field 0 to 255 (the hue circle mapped onto 0 to 255). Scale 2: hue in degrees 0
  /// to 360, saturation and intensity 0 to 1. Scale 3: hue in degrees, the others 0 to 100.
  struct HSITRIPLEtag {
    float hsiHue;         ///< hue
    float hsiSaturation;  ///< saturation
    float hsiIntensity;   ///< intensity
  };
  /// A colour in the HSV model (hue, saturation, value).
  ///
  /// Scale 1: every field 0 to 255. Scale 2: hue in degrees 0 to 360, saturation and value 0 to 1.
  /// Scale 3: hue in degrees, the others 0 to 100.
  struct HSVTRIPLEtag {
    float hsvHue;         ///< hue
    float hsvSaturation;  ///< saturation
    float hsvValue;       ///< value
  };
  /// A colour in the HSL model (hue, saturation, lightness).
  ///
  /// Scale 1: every field 0 to 255 (a gray colour has hue 170). Scale 2: hue in degrees 0 to 360,
  /// saturation and lightness 0 to 1. Scale 3: hue in degrees, the others 0 to 100.
  struct HSLTRIPLEtag {
    float hslHue;         ///< hue
    float hslSaturation;  ///< saturation
    float hslLightness;   ///< lightness
  };
  /// A colour in the YIQ model.
  ///
  /// Scale 1: Y 0 to 255, I and Q as I x 255 + 128 and Q x 255 + 128. Scale 2: Y 0 to 1, I + 0.477,
  /// Q + 0.404. Scale 3: scale 2 times 100. Scale 4: Y 0 to 1, I and Q signed.
  struct YIQTRIPLEtag {
    float yiqY;  ///< luma
    float yiqI;  ///< in-phase chrominance
    float yiqQ;  ///< quadrature chrominance
  };
  /// A colour in the YUV model.
  ///
  /// Scale 1: whole numbers, Y 0 to 255, U and V around 128. Scale 2: scale 1 divided by 255. Scale
  /// 3: scale 1 divided by 2.55. Scale 4: Y 0 to 1, U -0.436 to 0.436, V -0.615 to 0.615. Scale 5:
  /// Y as scale 1, U x 224 / 255 + 16, V x 314 / 255 - 157.
  struct YUVTRIPLEtag {
    float yuvY;  ///< luma
    float yuvU;  ///< blue-difference chrominance
    float yuvV;  ///< red-difference chrominance
  };
  /// A colour in the YCbCr model.
  ///
  /// Scale 1: every field stretched to 0 to 255. Scale 2: Y 16 to 235, Cb and Cr 16 to 240.
  struct YCbCrTRIPLEtag {
    float ycbcrY;   ///< luma
    float ycbcrCb;  ///< blue-difference chrominance
    float ycbcrCr;  ///< red-difference chrominance
  };
  /// A colour in the CIE XYZ model.
  ///
  /// Scale 1: the 0 to 255 form. Scale 2: the unit form (white about 0.95, 1, 1). Scale 3:
  /// percentages.
  struct XYZTRIPLEtag {
    float xyzX;  ///< X
    float xyzY;  ///< Y, the luminance
    float xyzZ;  ///< Z
  };
  /// A colour in the CIE L*a*b* model.
  ///
  /// Scale 1: L*, a* and b* as computed from the 0 to 255 XYZ form, so white has L* of about 142.5,
  /// not 100. Scale 2: scale 1 divided by 255. Scale 3: L* / 2.55, a* - 128, b* - 128.
  struct LABTRIPLEtag {
    float labL;  ///< lightness L*
    float labA;  ///< a*, green to red
    float labB;  ///< b*, blue to yellow
  };
  /// A colour in the CIE L*u*v* model.
  ///
  /// Scale 1: L*, u* and v* as computed from the 0 to 255 XYZ form (white has L* of about 142.5).
  /// Scale 2: scale 1 divided by 255. Scale 3: L* / 2.55, u* x 1.3882 - 134, v* x 1.0039 - 140.
  struct LUVTRIPLEtag {
    float luvL;  ///< lightness L*
    float luvU;  ///< u*
    float luvV;  ///< v*
  };

  /// A point of region growing: a column and a row.
  class LAMINA_API CPunto : public CObject {
   public:
    /// The point (0, 0).
    CPunto();
    /// The point (x, y).
    /// @param x the column, 0 at the left.
    /// @param y the row, 0 at the top.
    CPunto(int x, int y);
    /// Destroys the point.
    ~CPunto() override;
    int x;  ///< the column, 0 at the left
    int y;  ///< the row, 0 at the top
  };

  // ---- Image object and block ----------------------------------------------------------------

  /// Makes the default image: 16 x 16 pixels of 8 bits, every pixel 0 (black), the 256-entry gray
  /// ramp palette (entry i = (i, i, i, 0)), named "SIN_NOMBRE.RAW".
  ///
  /// When memory for its 1320-byte block is short the object holds no image.
  CLamina();
  /// Makes a width x height image of bpp bits from the caller's pixels and palette.
  ///
  /// The header is written fresh: biClrUsed and biClrImportant hold the depth's levels (2, 16, 256,
  /// or 16777216 at 24 and 32 bits) and the resolutions are 0. The image is named "SIN_NOMBRE.RAW".
  /// With a depth other than 1, 4, 8, 24 or 32 (16 included), a negative width or height, a block
  /// above 2 GiB, or memory short, the object holds no image and its name is empty.
  /// @param bits the pixel rows as the block stores them: bottom row first, each padded to the
  ///        stride ((width x bpp + 31) / 32 x 4 bytes), stride x height bytes in all; null leaves
  ///        every pixel 0.
  /// @param palette at 1, 4 and 8 bits the 2, 16 or 256 entries to copy (that many must be
  ///        readable); null gives entry i = (i, i, i, 0) (so 0 and 1 at 1 bit, not black and
  ///        white). Ignored at 24 and 32 bits.
  /// @param width the columns, 0 or more.
  /// @param height the rows, 0 or more.
  /// @param bpp the depth: 1, 4, 8, 24 or 32.
  CLamina(const unsigned char* bits, const RGBQUAD* palette, int width, int height, int bpp);
  /// Makes an independent copy of another image, as default construction followed by assignment
  /// from it.
  ///
  /// When memory is short the object holds no image.
  /// @param other the image to copy.
  CLamina(const CLamina& other);
  /// Releases the image's block.
  virtual ~CLamina();
  /// Replaces this image by a copy of another: its header, palette, pixels and name.
  ///
  /// The copy is compact (palette right after the 40-byte header, rows right after the palette),
  /// even when the other image's rows did not follow its palette (a BMP file with a gap). The new
  /// block is built before the old one is released: assigning an image to itself keeps it, and when
  /// memory is short this image stays exactly as it was. Assigning an object without an image
  /// leaves this one without an image too, under the other's name.
  /// @param other the image to copy.
  /// @return this image.
  CLamina& operator=(const CLamina& other);

  /// The height in pixels (biHeight).
  /// @return the number of rows; 0 for an object without an image.
  int fnIMG_GetRows();
  /// The width in pixels (biWidth).
  /// @return the number of columns; 0 for an object without an image.
  int fnIMG_GetColumns();
  /// The bits per pixel (biBitCount).
  /// @return 1, 4, 8, 16, 24 or 32; 0 for an object without an image.
  int fnIMG_GetColorDepth();
  /// The size of the pixel rows in bytes (biSizeImage): the stride times the rows, or more for a
  /// loaded file that declared more.
  ///
  /// This is the size of the buffer fnIMG_GetBitmap() fills and fnIMG_SetBitmap() reads.
  /// @return the size in bytes; 0 for an object without an image.
  int fnIMG_GetBitmapSize();
  /// The size of a packed bitmap of this image: header, palette and rows (biSize + biSizeImage,
  /// plus fnIMG_GetPaletteSize() at 1, 4 and 8 bits).
  ///
  /// This is the size of the handle fnIMG_CopyToHandle() returns.
  /// @return the size in bytes (1320 for the default image); 0 for an object without an image.
  int fnIMG_GetDIBSize();
  /// The number of values a pixel of this depth can hold: 2 to the depth, and 16777216 at 32 bits
  /// (the alpha byte takes no part). biClrUsed plays no part.
  /// @return 2, 16, 256, 65536 or 16777216; 1 for an object without an image (depth 0).
  int fnIMG_GetLevels();
  /// The palette entry count: biClrUsed when it is not 0, else the depth's levels
  /// (fnIMG_GetLevels()).
  /// @return the count (16777216 for a true-colour image made here); 0 for an object without an
  ///         image.
  int fnIMG_GetColorsUsed();
  /// A copy of the image's 40-byte header.
  /// @return the header; all zeros for an object without an image.
  BITMAPINFOHEADER fnIMG_GetBitmapInfoHeader();
  /// The addresses the image keeps into its block.
  ///
  /// Writing through them changes the image; they are valid only until the block is replaced (see
  /// Punteros).
  /// @return the five addresses; all null for an object without an image.
  CLamina::Punteros fnIMG_GetPointers();
  /// Tells whether a point lies inside the image.
  /// @param x the column, 0 at the left.
  /// @param y the row, 0 at the top.
  /// @return 1 when 0 <= x < width and 0 <= y < height, else 0.
  int fnIMG_IsInside(int x, int y);
  /// Copies the pixel rows out exactly as they are stored: bottom row first, each padded to the
  /// stride.
  ///
  /// Nothing is checked but the pointer: the caller provides fnIMG_GetBitmapSize() bytes.
  /// @param dst receives fnIMG_GetBitmapSize() bytes; null (or an object without an image) copies
  ///        nothing.
  void fnIMG_GetBitmap(unsigned char* dst);
  /// Copies pixel rows over the image's rows, in the stored layout: bottom row first, each padded
  /// to the stride.
  ///
  /// Size, depth and palette stay; only the bytes of the rows change.
  /// @param src fnIMG_GetBitmapSize() bytes; null (or an object without an image) copies nothing.
  void fnIMG_SetBitmap(const unsigned char* src);
  /// Sets the name the image carries (loaders set it from the file they read; saving does not
  /// change it).
  /// @param name any text; fnIMG_GetFileName() and fnIMG_GetFileExt() split it at its last full
  ///        stop.
  void fnIMG_SetFileName(CString name);
  /// The image's name without its extension: everything before the last full stop of the name
  /// ("a.b.c" gives "a.b").
  ///
  /// Folders are not looked at, so a name without a full stop but with one in a folder splits
  /// there.
  /// @return the text before the last full stop; empty when the name holds none.
  CString fnIMG_GetFileName();
  /// The extension of the image's name: everything after its last full stop ("a.b.c" gives "c", the
  /// default image "RAW").
  /// @return the text after the last full stop; empty when the name holds none or ends with one.
  CString fnIMG_GetFileExt();
  /// Sets every pixel to one value, as fnIMG_SetPixel() would one by one.
  ///
  /// At 1 bit any non-zero value sets the bit; at 4 bits the low 4 bits are stored, at 8 bits the
  /// low 8; at 24 and 32 bits value is blue + green x 256 + red x 65536 and bits 24 to 31 are
  /// ignored. The alpha of 32-bit pixels and the row padding stay.
  /// @param value the pixel value (see the class description).
  /// @retval 0 done.
  /// @retval 1 the depth is not 1, 4, 8, 24 or 32 (nothing changed).
  int fnIMG_Initialize(unsigned int value);
  /// Sets every pixel to one colour, as fnIMG_SetRGBPixel() would one by one.
  ///
  /// At 24 and 32 bits every pixel's blue, green and red take the colour (alpha stays). At 1, 4 and
  /// 8 bits a pixel's colour is its palette entry, so every palette entry that some pixel uses
  /// becomes the colour (all four bytes) while the indices stay.
  /// @param colour the colour; its reserved byte is used only as a palette entry's fourth byte.
  /// @retval 0 done.
  /// @retval 1 the depth is not 1, 4, 8, 24 or 32 (nothing changed).
  int fnIMG_Initialize(RGBQUAD colour);

  // ---- Pixels and alpha ----------------------------------------------------------------------

  /// Reads one pixel's value: the palette index at 1, 4 and 8 bits, blue + green x 256 + red x
  /// 65536 at 24 and 32 bits (never the alpha).
  ///
  /// The point is tested before the depth.
  /// @param x the column, 0 at the left.
  /// @param y the row, 0 at the top.
  /// @return the value; 0xFFFFFFFF when the point is outside the image; 0xFFFFFFFE when the depth
  ///         is not 1, 4, 8, 24 or 32.
  unsigned int fnIMG_GetPixel(int x, int y);
  /// Writes one pixel's value.
  ///
  /// At 1 bit any non-zero value sets the bit; at 4 bits the low 4 bits are stored (the other
  /// nibble of the byte stays), at 8 bits the low 8; at 24 and 32 bits blue, green and red come
  /// from the low three bytes of value and the alpha stays.
  /// @param x the column, 0 at the left.
  /// @param y the row, 0 at the top.
  /// @param value the index, or blue + green x 256 + red x 65536.
  /// @retval 0 written.
  /// @retval 1 the point is outside the image.
  /// @retval 2 the depth is not 1, 4, 8, 24 or 32.
  int fnIMG_SetPixel(int x, int y, unsigned int value);
  /// Reads one pixel's colour.
  ///
  /// At 1, 4 and 8 bits the colour is the whole palette entry of the pixel's index (reserved byte
  /// included); an index beyond a short palette reads as black. At 24 and 32 bits it is the pixel's
  /// blue, green and red with reserved 0 (the alpha is not returned: see fnIMG_GetAlfa()).
  /// @param x the column, 0 at the left.
  /// @param y the row, 0 at the top.
  /// @param colour receives the colour; not written when the call fails.
  /// @retval 0 read.
  /// @retval 1 the point is outside the image.
  /// @retval 2 the depth is not 1, 4, 8, 24 or 32.
  int fnIMG_GetRGBPixel(int x, int y, RGBQUAD* colour);
  /// Gives one pixel a colour.
  ///
  /// At 24 and 32 bits the pixel's blue, green and red are written (the alpha stays, the colour's
  /// reserved byte is ignored). At 1, 4 and 8 bits a pixel's colour is its palette entry: the entry
  /// of its index is overwritten with all four bytes of colour, so every pixel with that index
  /// changes colour and no index changes (an index beyond a short palette has no entry, and nothing
  /// is written).
  /// @param x the column, 0 at the left.
  /// @param y the row, 0 at the top.
  /// @param colour the new colour.
  /// @retval 0 written.
  /// @retval 1 the point is outside the image.
  /// @retval 2 the depth is not 1, 4, 8, 24 or 32.
  int fnIMG_SetRGBPixel(int x, int y, RGBQUAD colour);
  /// Reads the alpha (fourth) byte of one pixel of a 32-bit image. The point is tested before the
  /// depth.
  /// @param x the column, 0 at the left.
  /// @param y the row, 0 at the top.
  /// @return the alpha; 255 when the point is outside the image; 254 when the image is not 32 bits
  ///         (so 254 and 255 are also ordinary alphas: check the depth and the point first).
  unsigned char fnIMG_GetAlfa(int x, int y);
  /// Writes the alpha byte of one pixel of a 32-bit image. Unlike the pixel setters, the depth is
  /// tested before the point.
  /// @param x the column, 0 at the left.
  /// @param y the row, 0 at the top.
  /// @param alpha the new alpha.
  /// @retval 0 written.
  /// @retval 1 the image is not 32 bits.
  /// @retval 2 the point is outside the image.
  int fnIMG_SetAlfa(int x, int y, unsigned char alpha);
  /// Sets the alpha byte of every pixel of a 32-bit image.
  ///
  /// This overload is chosen only for an unsigned char argument: `fnIMG_SetAlfa(200)` passes an int
  /// and calls fnIMG_SetAlfa(int), which changes nothing for 200. Write
  /// `fnIMG_SetAlfa(static_cast<unsigned char>(200))`.
  /// @param alpha the new alpha of every pixel.
  /// @retval 0 done.
  /// @retval 1 the image is not 32 bits.
  int fnIMG_SetAlfa(unsigned char alpha);
  /// Rewrites the alpha byte of every pixel of a 32-bit image by a rule.
  ///
  /// Mode 2 inverts each alpha (255 - alpha); mode 3 sets it to (red + green + blue) / 3,
  /// truncated; any other mode changes nothing and still succeeds. To set one alpha value
  /// everywhere, pass an unsigned char to fnIMG_SetAlfa(unsigned char).
  /// @param mode 2 or 3; any other value does nothing.
  /// @retval 0 done (also for a mode that does nothing).
  /// @retval 1 the image is not 32 bits.
  int fnIMG_SetAlfa(int mode);
  /// Unpacks a packed colour (red in the low byte): blue from bits 16 to 23, green from bits 8 to
  /// 15, red from bits 0 to 7, reserved 0.
  ///
  /// Reads no image data.
  /// @param rgb red + green x 256 + blue x 65536; bits 24 and above are ignored.
  /// @return the colour.
  RGBQUAD fnIMG_RGBToRGBQUAD(unsigned long rgb);
  /// Packs a colour with red in the low byte: red + green x 256 + blue x 65536 (the order opposite
  /// to a 24-bit pixel value).
  ///
  /// Reads no image data.
  /// @param colour the colour; its reserved byte is ignored.
  /// @return the packed colour.
  unsigned long fnIMG_RGBQUADToRGB(RGBQUAD colour);

  // ---- Palettes ------------------------------------------------------------------------------

  /// Copies the palette out.
  ///
  /// As many entries are written as the palette holds: fnIMG_GetColorsUsed(), that is biClrUsed, or
  /// 2, 16 or 256. A caller that does not check the count first provides 256 entries.
  /// @param palette receives fnIMG_GetPaletteSize() / 4 entries (at most 256); null writes nothing.
  /// @retval 0 copied.
  /// @retval 1 the depth is not 1, 4 or 8 (nothing written).
  int fnIMG_GetPalette(RGBQUAD* palette);
  /// Overwrites the palette with the caller's entries; the pixel indices stay.
  /// @param palette fnIMG_GetPaletteSize() / 4 entries (as many as the palette holds, at most 256)
  ///        are read; null changes nothing.
  /// @retval 0 copied.
  /// @retval 1 the depth is not 1, 4 or 8 (nothing changed).
  int fnIMG_SetPalette(const RGBQUAD* palette);
  /// The palette's size in bytes: 4 x fnIMG_GetColorsUsed().
  /// @return 8, 64 or 1024 for a full palette of 1, 4 or 8 bits (less with a short biClrUsed); -1
  ///         when the depth is not 1, 4 or 8.
  int fnIMG_GetPaletteSize();
  /// Finds the first palette entry of a colour: the smallest index whose red, green and blue equal
  /// the colour's (the reserved byte is not compared).
  /// @param colour the colour to look for.
  /// @return the index; -1 when no entry matches; -2 when the depth is not 1, 4 or 8 (tested
  ///         first).
  int fnIMG_GetPaletteIndex(RGBQUAD colour);
  /// Replaces the palette by a gray ramp: entry i becomes (i x step, i x step, i x step) with step
  /// = 255 / (n - 1) in whole numbers, n the number of entries (so 0 and 255 at 1 bit, steps of 17
  /// at 4 bits); reserved bytes stay. The pixel indices stay. A palette of one entry becomes black.
  /// @retval 0 done.
  /// @retval 1 the depth is not 1, 4 or 8 (nothing changed).
  int fnIMG_SetGrayPalette();
  /// Tells whether the image is gray.
  ///
  /// At 1, 4 and 8 bits only the palette is examined: every entry must have red = green = blue,
  /// even an entry no pixel uses. At 24 and 32 bits every pixel must have red = green = blue (the
  /// alpha plays no part); an image without pixels is gray.
  /// @return 1 gray, 0 not gray; 0 also for a 16-bit image and an object without an image.
  int fnIMG_IsGray();
  /// Recolours the image by a fixed pseudo-colour map that runs from red (level 0) through green
  /// (128) to blue (255).
  ///
  /// Each channel is mapped from its own value v: red 254 - 2v below 128, else 0; green 2v below
  /// 128, else 511 - 2v; blue 0 below 128, else 2v - 256. At 1, 4 and 8 bits the palette entries
  /// are mapped and the indices stay; at 24 and 32 bits every pixel is (the alpha stays).
  /// @retval 0 done.
  /// @retval 1 the depth is not 1, 4, 8, 24 or 32 (nothing changed).
  int fnIMG_PseudoColor();

  // ---- Display and monitors ------------------------------------------------------------------

  /// Draws the whole image with its top-left corner at (x, y) of a device context, clipped to it:
  /// the image block (header, palette, bottom-up rows) goes to SetDIBitsToDevice with the palette
  /// entries as colours. Depths 1, 4, 8, 16 (5-5-5), 24 and 32 can be drawn.
  /// @param pDC the context to draw on: a CMemoryDC, a CX11DC (libraries built with X11), or
  ///        null (nothing is drawn).
  /// @param x, y the surface position of the image's top-left pixel, any int; parts outside the
  ///        surface are clipped.
  /// @return 0 when at least one row reached the surface; 1 when the image has no pixel rows, the
  ///         context is null or attached to no surface, or no row was drawn (the image lies wholly
  ///         outside the surface). The image never changes.
  int fnIMG_Draw(CDC* pDC, int x, int y);
  /// The number of monitors and, for the first two, the resolution in pixels, the size in
  /// millimetres, the logical pixels per inch and the diagonal in whole inches
  /// (trunc(sqrt((h / 10)^2 + (w / 10)^2) x 0.393700787401575 + 1.0) from the size in mm). The
  /// first monitor is the primary one; the second, with two or more, is the one nearest to the
  /// point (first width + 500, 200) counted from the primary's top-left corner, so it may repeat
  /// the first. Its fields are 0 with fewer than two monitors. The facts come from the X server
  /// that DISPLAY names (XRandR monitors) when the library has X11 and a server answers; otherwise
  /// from a headless default of one 1920 x 1080 monitor of 508 x 286 mm at 96 pixels per inch.
  /// @return the filled record; no failure is reported. The image is not used.
  CLamina::InfoMonitorestag fnIMG_GetMonitorsInfo();

  // ---- Files and exchange --------------------------------------------------------------------

  /// Loads a BMP file, replacing the image.
  ///
  /// Accepted: 1, 4, 8, 16, 24 and 32 bits, uncompressed, with the 40-byte header, the longer V4
  /// and V5 headers or the 12-byte OS/2 header; top-down files are stored bottom-up. A file with a
  /// 40-byte header becomes the block byte for byte (the file minus its 14-byte file header);
  /// others are stored compact with a 40-byte header. A missing or short biSizeImage is set to
  /// stride x height. The file is examined whole before anything changes, and no byte past its end
  /// is read. On success the image takes the file's name without its folders; on any failure the
  /// image, its block and its name are unchanged.
  /// @param name the file's path.
  /// @return 0 when loaded, else the code of the first check that fails:
  /// - 1 the file cannot be opened for reading;
  /// - 5 the file is shorter than its first header fields;
  /// - 2 it does not begin with "BM";
  /// - 5 its header size is neither 12 nor 40 or more, or the header reaches past the end;
  /// - 3 the depth is not 1, 4, 8, 16, 24 or 32;
  /// - 4 it is compressed (run-length or bit-field files);
  /// - 5 otherwise damaged or inconsistent: a width of 0 or less, a height of 0, more palette
  ///   entries than the depth has levels, a palette, pixel offset, rows or biSizeImage reaching
  ///   past the end, rows overlapping the palette, a block above 2 GiB;
  /// - 6 not enough memory.
  int fnIMG_LoadBMP(CString name);
  /// Loads a BMP file from an open file, from its current position to its end, replacing the image.
  /// Reads as fnIMG_LoadBMP(CString) does.
  ///
  /// The file stays open. On success the image takes the file's name without its folders; on any
  /// failure the image, its block and its name are unchanged.
  /// @param file an open file positioned at the start of the BMP data.
  /// @return 0 when loaded, else the code of the first check that fails:
  /// - 5 a null file, a file that cannot be read in full, or one shorter than its first header
  ///   fields;
  /// - 2 not "BM";
  /// - 5 an unknown header size;
  /// - 3 the depth is not 1, 4, 8, 16, 24 or 32;
  /// - 4 compressed;
  /// - 5 damaged or inconsistent (see fnIMG_LoadBMP(CString));
  /// - 6 not enough memory.
  int fnIMG_LoadBMP(CFile* file);
  /// Loads a BMP file held in memory, replacing the image; the name is not changed. Reads as
  /// fnIMG_LoadBMP(CString) does.
  ///
  /// The buffer is only read, and never past length bytes; it stays the caller's. On any failure
  /// the image is unchanged.
  /// @param buffer the whole file.
  /// @param length the file's length in bytes.
  /// @return 0 when loaded, else the code of the first check that fails:
  /// - 5 a null buffer, or fewer bytes than the first header fields;
  /// - 2 not "BM";
  /// - 5 an unknown header size;
  /// - 3 the depth is not 1, 4, 8, 16, 24 or 32;
  /// - 4 compressed;
  /// - 5 damaged or inconsistent (see fnIMG_LoadBMP(CString));
  /// - 6 not enough memory.
  int fnIMG_LoadBMPFromBuffer(unsigned char* buffer, int length);
  /// Writes the image as a BMP file: a 14-byte file header, then the image's header, palette and
  /// pixel rows. The image, its name included, does not change.
  ///
  /// An existing file is replaced.
  /// @param name the file's path.
  /// @return 0 when written, else the code of the first check that fails:
  /// - 2 the object holds no image (no file is created or truncated);
  /// - 1 the file cannot be created;
  /// - 2 a write failed (the file may be incomplete).
  int fnIMG_SaveBMP(CString name);
  /// Writes the image as a BMP file at an open file's current position, as fnIMG_SaveBMP(CString)
  /// does. The file stays open.
  /// @param file a file open for writing.
  /// @retval 0 written.
  /// @retval 2 a null file, an object without an image, or a write that failed.
  int fnIMG_SaveBMP(CFile* file);

  /// Loads a RAW file (one byte per pixel, top row first, no header, no padding) whose size is
  /// recognised from its length.
  ///
  /// The lengths known are 1024 (32 x 32), 1248 (32 x 39), 4096 (64 x 64), 10304 (92 x 112), 16384
  /// (128 x 128), 65536 (256 x 256), 262144 (512 x 512) and 1048576 (1024 x 1024). The image
  /// becomes 8 bits with the 256-entry gray palette; each byte is a pixel's index.
  ///
  /// Once the file is open the image takes its name (without folders) even when a later check
  /// fails; the block changes only on success.
  /// @param name the file's path.
  /// @retval 0 loaded.
  /// @retval 1 the file cannot be opened.
  /// @retval 2 its length is not one of the known lengths.
  /// @retval 4 the file ended before all its pixels were read.
  /// @retval 5 not enough memory.
  int fnIMG_LoadRAW(CString name);
  /// Loads a RAW file from an open file, its size recognised from the file's whole length, as
  /// fnIMG_LoadRAW(CString) does. The pixels are read from the current position, which should be
  /// the start; the file stays open, right after the pixels.
  ///
  /// Unless the file is null the image takes the file's name (without folders) even when a later
  /// check fails; the block changes only on success.
  /// @param file an open file.
  /// @retval 0 loaded.
  /// @retval 1 a null file.
  /// @retval 2 the file's length is not one of the known lengths.
  /// @retval 4 fewer bytes than the pixels remain after the current position, or a read failed.
  /// @retval 5 not enough memory.
  int fnIMG_LoadRAW(CFile* file);
  /// Loads a RAW file of a given size (one byte per pixel, top row first, no padding). The image
  /// becomes 8 bits with the 256-entry gray palette; rows whose width is not a multiple of 4 get
  /// zero padding.
  ///
  /// Once the file is open the image takes its name (without folders) even when a later check
  /// fails; the block changes only on success.
  /// @param name the file's path.
  /// @param width the columns, 1 or more.
  /// @param height the rows, 1 or more.
  /// @retval 0 loaded.
  /// @retval 1 the file cannot be opened.
  /// @retval 2 the file's length is not width x height (compared in 64 bits).
  /// @retval 3 width or height is not positive, or the image is too large for one block.
  /// @retval 4 the file ended before all its pixels were read.
  /// @retval 5 not enough memory.
  int fnIMG_LoadRAW(CString name, int width, int height);
  /// Loads a RAW file of a given size from an open file, as fnIMG_LoadRAW(CString, int, int) does.
  /// The file's whole length must be width x height; the pixels are read from the current position,
  /// and the file stays open.
  ///
  /// Unless the file is null the image takes the file's name (without folders) even when a later
  /// check fails; the block changes only on success.
  /// @param file an open file.
  /// @param width the columns, 1 or more.
  /// @param height the rows, 1 or more.
  /// @retval 0 loaded.
  /// @retval 1 a null file.
  /// @retval 2 the file's length is not width x height.
  /// @retval 3 width or height is not positive, or the image is too large for one block.
  /// @retval 4 fewer bytes than the pixels remain after the current position, or a read failed.
  /// @retval 5 not enough memory.
  int fnIMG_LoadRAW(CFile* file, int width, int height);
  /// Loads a RAW file held in memory, its size recognised from length as fnIMG_LoadRAW(CString)
  /// does; the name is not changed.
  ///
  /// On any failure the image is unchanged.
  /// @param buffer the pixels, length bytes, top row first.
  /// @param length one of the known lengths.
  /// @retval 0 loaded.
  /// @retval 1 length is not one of the known lengths.
  /// @retval 2 a null buffer.
  /// @retval 3 not enough memory.
  int fnIMG_LoadRAWFromBuffer(unsigned char* buffer, int length);
  /// Writes the image as a RAW file: width x height bytes, top row first, no padding.
  ///
  /// An 8-bit gray image is written as its indices. Any other image is first turned, on a copy,
  /// into one: colour to gray (fnIMG_ColorToGray() method 0) unless it is gray, then 8 bits
  /// (fnIMG_ChangeColorDepth() index 2). The image itself never changes. An existing file is
  /// replaced.
  /// @param name the file's path.
  /// @retval 0 written.
  /// @retval 2 the image cannot be written: 16 bits, or the object holds no image (no file is
  ///         made).
  /// @retval 3 not enough memory for the conversion (no file is made).
  /// @retval 1 the file cannot be created.
  /// @retval 4 a write failed (the file may be incomplete).
  int fnIMG_SaveRAW(CString name);
  /// Writes the image as a RAW file at an open file's current position, as fnIMG_SaveRAW(CString)
  /// does. The file stays open.
  /// @param file a file open for writing.
  /// @retval 0 written.
  /// @retval 1 a null file.
  /// @retval 2 the image cannot be written: 16 bits, or the object holds no image.
  /// @retval 3 not enough memory for the conversion.
  /// @retval 4 a write failed.
  int fnIMG_SaveRAW(CFile* file);

  /// Loads a binary PGM file (magic P5, one byte per sample).
  ///
  /// The image becomes 8 bits with maxval + 1 palette entries, entry i = (i, i, i, 0): samples are
  /// indices, unchanged, so a file with maxval 100 shows its brightest pixels as gray 100. Numbers
  /// end at any whitespace, comments may stand between any two fields, and the pixels start after
  /// the one whitespace byte that ends maxval (CR LF counts as one).
  ///
  /// Once the file is open the image takes its name (without folders) even when a later check
  /// fails; the block changes only on success.
  /// @param name the file's path.
  /// @retval 0 loaded.
  /// @retval 1 the file cannot be opened.
  /// @retval 3 the file ends before a "P" or inside the header.
  /// @retval 2 the byte after the "P" is not "5".
  /// @retval 4 a number holds a byte that is not a digit.
  /// @retval 5 maxval is 0 or above 255.
  /// @retval 6 width or height is 0, or the image is too large for one block.
  /// @retval 7 fewer pixel bytes than width x height follow the header.
  /// @retval 8 not enough memory.
  int fnIMG_LoadPGM(CString name);
  /// Loads a binary PGM file from an open file, from its current position, as
  /// fnIMG_LoadPGM(CString) does. The file stays open, right after the pixels, so several images
  /// stored one after another load one by one.
  ///
  /// Unless the file is null the image takes the file's name (without folders) even when a later
  /// check fails; the block changes only on success.
  /// @param file an open file.
  /// @retval 0 loaded.
  /// @retval 1 a null file.
  /// @retval 3 the data ends before a "P" or inside the header.
  /// @retval 2 the byte after the "P" is not "5".
  /// @retval 4 a number holds a byte that is not a digit.
  /// @retval 5 maxval is 0 or above 255.
  /// @retval 6 width or height is 0, or the image is too large for one block.
  /// @retval 7 fewer pixel bytes than width x height follow the header.
  /// @retval 8 not enough memory.
  int fnIMG_LoadPGM(CFile* file);
  /// Loads a binary PGM file held in memory, as fnIMG_LoadPGM(CString) does; the name is not
  /// changed. No byte past length is read.
  ///
  /// The codes are those of the file forms less one.
  ///
  /// On any failure the image is unchanged.
  /// @param buffer the whole file.
  /// @param length its length in bytes.
  /// @retval 0 loaded.
  /// @retval 2 a null buffer, or the data ends before a "P" or inside the header.
  /// @retval 1 the byte after the "P" is not "5".
  /// @retval 3 a number holds a byte that is not a digit.
  /// @retval 4 maxval is 0 or above 255.
  /// @retval 5 width or height is 0, or the image is too large for one block.
  /// @retval 6 fewer pixel bytes than width x height follow the header.
  /// @retval 7 not enough memory.
  int fnIMG_LoadPGMFromBuffer(unsigned char* buffer, int length);

  /// Writes the palette of a 4 or 8-bit image as a JASC palette file: "JASC-PAL", "0100", the count
  /// 16 or 256, then one "red green blue" line per entry, every line ended by CR LF.
  ///
  /// The count is the depth's (16 or 256) whatever biClrUsed says; entries a short palette lacks
  /// are written as 0 0 0. An existing file is replaced.
  /// @param name the file's path.
  /// @retval 0 written.
  /// @retval 1 the image is not 4 or 8 bits (no file is made).
  /// @retval 2 the file cannot be created.
  /// @retval 3 a write failed (the file may be incomplete).
  int fnIMG_SavePalette(CString name);
  /// Reads a JASC palette file into the palette of a 4 or 8-bit image; pixels, size and depth stay.
  ///
  /// As many entries are taken as both the file and the palette hold: a 16-entry file changes the
  /// first 16 entries of a 256-entry palette, a 256-entry file sets the 16 of a 4-bit image.
  /// Numbers wrap modulo 256 (300 reads as 44); reserved bytes become 0. Lines may end with CR LF
  /// or a bare LF.
  ///
  /// On any failure the palette is unchanged.
  /// @param name the file's path.
  /// @retval 0 loaded.
  /// @retval 1 the image is not 4 or 8 bits.
  /// @retval 2 the file cannot be opened.
  /// @retval 3 the file does not begin with "JASC-PAL", or its count is neither 16 nor 256.
  /// @retval 4 the file ends inside its header or its entries.
  int fnIMG_LoadPalette(CString name);

  /// Hands out a copy of the image as a packed bitmap in a new movable memory handle: the 40-byte
  /// header, the palette (1, 4 and 8 bits only), then the rows, no gaps; fnIMG_GetDIBSize() bytes.
  ///
  /// The handle is unlocked and belongs to the caller, who frees it with GlobalFree(). The image
  /// does not change.
  /// @return the handle; null when the object holds no image or memory is short.
  void* fnIMG_CopyToHandle();
  /// Replaces the image by a copy of the packed bitmap in a caller's movable memory handle (header,
  /// palette, rows, no gaps); the name stays.
  ///
  /// A 32-bit bitmap is first reduced to 24 bits in the handle itself (alpha dropped, biSizeImage
  /// updated), and the handle keeps that 24-bit bitmap. The handle stays the caller's and is left
  /// unlocked as it came; it may be freed afterwards.
  /// @param handle a handle from GlobalAlloc() (or fnIMG_CopyToHandle()). There is no result: a
  ///        bitmap that cannot be taken leaves the image (and the handle) exactly as they were.
  ///        That is a null or unknown handle, the image's own block, a header other than 40 bytes,
  ///        compression or bit fields, a depth other than 1, 4, 8, 16, 24 or 32, more palette
  ///        entries than the depth has levels, a width or height of 0 or less, a biSizeImage
  ///        smaller than the rows, a handle smaller than header, palette and rows need, or memory
  ///        short.
  void fnIMG_CopyFromHandle(void* handle);

  // ---- Depth conversion and colour to gray ---------------------------------------------------

  /// Converts the image in place to another depth, chosen by an index (not a number of bits).
  ///
  /// Colours are never mapped onto a chosen palette. To 24 and 32 bits every pixel keeps its colour
  /// (a new 32-bit image has alpha 0). To 1 bit each colour becomes black or white by the mean of
  /// red, green and blue against 128. To 4 and 8 bits only a gray image is reduced, onto the 16 or
  /// 256-level gray palette; from 1 bit the index is rescaled whatever the palette's colours. Where
  /// a reduction does not apply the image stays as it is and the result is still 0 (a colour 32-bit
  /// image asked for 4 or 8 bits ends as 24 bits, a 4-bit colour image asked for 8 bits as 24
  /// bits): check fnIMG_GetColorDepth() afterwards. The new image has the data constructor's header
  /// (biClrUsed = levels, zero resolutions) and keeps the name.
  /// @param depthIndex 0 for 1 bit, 1 for 4, 2 for 8, 3 for 24, 4 for 32.
  /// @retval 0 converted, or left as it was where the reduction does not apply.
  /// @retval 1 depthIndex is not 0 to 4.
  /// @retval 2 the depth is not 1, 4, 8, 24 or 32.
  /// @retval 3 not enough memory for the new image.
  int fnIMG_ChangeColorDepth(int depthIndex);
  /// Turns the image gray in place, keeping its depth, by a weighted sum of red, green and blue in
  /// single precision, truncated.
  ///
  /// At 24 and 32 bits every pixel becomes (g, g, g) (the alpha stays). At 4 and 8 bits every pixel
  /// is re-indexed from its entry's gray onto a ramp of the palette's n entries (white gives n -
  /// 1), and the palette becomes that ramp (fnIMG_SetGrayPalette()). At 1 bit only the palette
  /// entries are grayed. A gray colour keeps its level with either method.
  /// @param method 0 for 0.299 red + 0.587 green + 0.114 blue; 1 for the plain mean.
  /// @retval 0 done.
  /// @retval 1 the depth is not 1, 4, 8, 24 or 32.
  /// @retval 2 method is neither 0 nor 1.
  int fnIMG_ColorToGray(int method);

  // ---- Histograms and point operations -------------------------------------------------------

  /// Counts the levels of the image into four histograms at once; the image does not change.
  ///
  /// The table is 256 rows of 4 columns: the count for level k of column c is table[4 * k + c].
  /// Column 0 (I) counts the pixel index at 1, 4 and 8 bits and the intensity (red + green + blue)
  /// / 3 at 24 and 32 bits; columns 1, 2 and 3 count the red, green and blue of each pixel's colour
  /// (its palette entry at 1, 4 and 8 bits). All 256 rows are written whatever the depth. With
  /// maxHeight of 1 or more every column is scaled so that its largest count becomes maxHeight (n /
  /// largest x maxHeight in single precision, truncated), except column I of a 24 or 32-bit image,
  /// which keeps its raw counts.
  /// @param table receives 1024 ints (256 x 4): `int hist[256]` is too small.
  /// @param maxHeight the height to scale to; 0 or less keeps raw counts.
  /// @retval 0 counted.
  /// @retval 1 the depth is not 1, 4, 8, 24 or 32 (the table is not touched).
  /// @retval 2 table is null (new; nothing is counted).
  int fnIMG_GetHistogram(int* table, int maxHeight);
  /// Summarises the four histograms of fnIMG_GetHistogram() (raw counts): for each column the
  /// lowest and the highest level that occurs and the most frequent one, each with its count. The
  /// image does not change.
  /// @param info receives the summary.
  /// @retval 0 filled.
  /// @retval 1 the depth is not 1, 4, 8, 24 or 32 (info is not touched).
  /// @retval 2 info is null (new; nothing is counted).
  int fnIMG_GetInfoHistogram(CLamina::InformacionHistograma* info);
  /// Spreads the levels of the image over the whole range through the normalised cumulative
  /// histogram, in place.
  ///
  /// Model 0 equalizes the levels themselves: the indices of a palette image (over 2, 16 or 256
  /// levels), or the red byte of a true-colour image, which is written to all three bytes (the
  /// image becomes gray). Models 1 to 10 equalize channels of another colour model at scale 1, each
  /// with its own table: 1 CMYK (cyan, magenta, yellow; black too for palette images), 2 HSI
  /// intensity, 3 HSV value, 4 HSL lightness, 5 YIQ Y, 6 YUV Y, 7 YCbCr Y, 8 XYZ (X, Y and Z), 9
  /// L*a*b* L*, 10 L*u*v* L*. True-colour pixels are converted there and back (alpha stays);
  /// palette images get a new palette and keep their indices. An image without pixels is left as it
  /// is.
  /// @param model 0 to 10, as above.
  /// @param rounding with model 0 only: 0 nearest (an exact half goes up), 1 down, 2 up. Other
  ///        models ignore it.
  /// @retval 0 done.
  /// @retval 1 the depth is not 1, 4, 8, 24 or 32.
  /// @retval 2 model is not 0 to 10.
  /// @retval 3 model 0 with rounding not 0 to 2.
  int fnIMG_EqualizeHistogram(int model, int rounding);
  /// Maps the levels of the band [a, b] linearly onto [c, d]; levels outside [a, b] stay.
  ///
  /// A level v in the band becomes (d - c) / (b - a) x (v - a) + c in single precision, truncated;
  /// a band of one level (a = b) maps that level to c. bGris works on the indices of a 4 or 8-bit
  /// image (whatever its palette) or, at 24 and 32 bits, on pixels whose red byte lies in the band,
  /// which become gray (all three bytes f(red)). bRojo, bVerde and bAzul work on that channel of
  /// the palette entries (4 and 8 bits) or of every pixel (24 and 32 bits). The flags run in the
  /// order bGris, bRojo, bVerde, bAzul; no flag on changes nothing.
  /// @param a the low end of the input band, 0 or more.
  /// @param b its high end, a or more, at most top.
  /// @param c the low end of the output band, 0 or more.
  /// @param d its high end, c or more, at most top.
  /// @param channels what is transformed (see CualesRGB).
  /// @retval 0 done.
  /// @retval 1 the depth is not 4, 8, 24 or 32.
  /// @retval 2 a > b.
  /// @retval 3 c > d.
  /// @retval 4 a < 0, c < 0, b > top or d > top, where top is the smaller of fnIMG_GetColorsUsed()
  ///         and 255 (16 for a 4-bit image of 16 colours).
  int fnIMG_GrayScaleLinealTransform(int a, int b, int c, int d, CLamina::CualesRGB channels);
  /// Maps levels through a fixed curve, in place.
  ///
  /// The curves on a level v with top level L (255 for true colour, 15 or 255 for palette images):
  /// 0 square v x v / L, 1 cube v^3 / L^2, 2 square root sqrt(v x L), 3 cube root, 4 logarithm
  /// log(v + 1) / log(L + 1) x L, 5 a sine S-curve and 6 a tangent S-curve whose steepness k sets
  /// (k = 0 is the identity). Model 0 maps the indices of a 4 or 8-bit image (whatever its palette)
  /// or the blue, green and red bytes of a true-colour pixel, in integer arithmetic, truncated.
  /// Models 1 to 10 map channels of another colour model at scale 1 (as fnIMG_EqualizeHistogram(),
  /// with all four CMYK channels and X, Y and Z changed): pixels are converted there and back,
  /// palette images get a new palette.
  /// @param model 0 to 10 (see fnIMG_EqualizeHistogram()).
  /// @param curve 0 to 6, as above.
  /// @param k the S-curves' steepness, 0 to 1; checked for every curve.
  /// @retval 0 done.
  /// @retval 1 the depth is not 4, 8, 24 or 32.
  /// @retval 2 k is below 0, above 1 or not a number.
  /// @retval 3 curve is not 0 to 6.
  /// @retval 4 model is not 0 to 10.
  int fnIMG_NonLinearContrast(int model, int curve, float k);
  /// Adds an offset to each colour channel, clamped to 0..255: p x 255 / 100 for a percentage p,
  /// truncated (50 adds 127).
  ///
  /// At 4 and 8 bits the palette entries change (gray or not) and the indices stay; at 24 and 32
  /// bits every pixel does (the alpha stays).
  /// @param red the red change in percent, -100 to 100.
  /// @param green the green change in percent, -100 to 100.
  /// @param blue the blue change in percent, -100 to 100.
  /// @retval 0 done.
  /// @retval 1 a percentage outside -100..100.
  /// @retval 2 the depth is not 4, 8, 24 or 32.
  int fnIMG_Balance(int red, int green, int blue);
  /// Adds one offset to every level, clamped: L x p / 100, truncated, where L is 15 for a gray
  /// 4-bit image and 255 otherwise.
  ///
  /// A gray 4 or 8-bit image has its indices moved (limited to the palette's entries); a colour
  /// palette has its entries moved; a true-colour image has every pixel's three bytes moved (the
  /// alpha stays). An offset that truncates to 0 changes nothing.
  /// @param percent the change, -100 to 100.
  /// @retval 0 done (also when the offset is 0).
  /// @retval 1 percent outside -100..100.
  /// @retval 2 the depth is not 4, 8, 24 or 32.
  int fnIMG_Brightness(int percent);
  /// Applies a gamma curve to every level: v becomes (v / L)^(1 / gamma) x L in single precision,
  /// truncated, where L is 15 for a gray 4-bit image and 255 otherwise.
  ///
  /// A gray 4 or 8-bit image has its indices mapped; a colour palette has its entries mapped; a
  /// true-colour image has every pixel's three bytes mapped (the alpha stays). Gamma 1 changes
  /// nothing; gamma 0 maps every level below L to 0 and keeps L; an infinite gamma maps every level
  /// to L.
  /// @param gamma 0 or more.
  /// @retval 0 done.
  /// @retval 1 gamma is below 0 or not a number.
  /// @retval 2 the depth is not 4, 8, 24 or 32.
  int fnIMG_Gamma(float gamma);
  /// Reduces a gray image to fewer gray levels: with step = 256 / levels, a level v becomes (v /
  /// step) x step + step / 2 (whole numbers), at most 255.
  ///
  /// An 8-bit image has its indices mapped; a true-colour image has each pixel set gray from its
  /// red byte. With 4 levels the levels become 32, 96, 160 and 224.
  /// @param levels the number of levels, 2 to 128.
  /// @retval 0 done.
  /// @retval 1 levels outside 2..128.
  /// @retval 2 the depth is not 8, 24 or 32.
  /// @retval 3 the image is not gray (fnIMG_IsGray()).
  int fnIMG_ChangeGrayLevelsNumber(int levels);
  /// Inverts the image: a gray palette image has its indices inverted (index becomes n - 1 - index,
  /// n the palette's entries), a colour palette has its entries' red, green and blue complemented
  /// (255 - v), a true-colour image has every pixel's three bytes complemented (the alpha stays).
  /// @retval 0 done.
  /// @retval 1 the depth is not 1, 4, 8, 24 or 32.
  int fnIMG_Negative();
  /// Inverts chosen levels: the flags run in the order bGris, bRojo, bVerde, bAzul and their
  /// effects add up.
  ///
  /// bGris does what fnIMG_Negative() does. bRojo, bVerde and bAzul complement that channel of
  /// every palette entry (1, 4 and 8 bits, gray or not) or of every pixel (24 and 32 bits). So
  /// bGris with bRojo leaves red as it was; all four flags on a true-colour image change nothing.
  /// @param channels the flags (see CualesRGB); none on changes nothing.
  /// @retval 0 done.
  /// @retval 1 the depth is not 1, 4, 8, 24 or 32.
  int fnIMG_Negative(CLamina::CualesRGB channels);
  /// Sets the levels inside a band to one value and, in mode 0, all others to another.
  ///
  /// At 4 and 8 bits the indices are sliced whatever the palette; at 24 and 32 bits red, green and
  /// blue are each sliced by themselves (the alpha stays). N below is 16 at 4 bits, 256 otherwise.
  /// @param mode 0 sets levels outside the band to outside; 1 leaves them.
  /// @param low the band's low end, 0 to high.
  /// @param high the band's high end, low to N - 1.
  /// @param inside the value of levels in the band, 0 to N - 1.
  /// @param outside the value of the others in mode 0, 0 to N - 1 (checked in mode 1 too).
  /// @retval 0 done.
  /// @retval 1 the depth is not 4, 8, 24 or 32.
  /// @retval 2 mode is neither 0 nor 1.
  /// @retval 3 low > high, low < 0 or high >= N.
  /// @retval 4 inside outside 0..N - 1.
  /// @retval 5 outside outside 0..N - 1.
  int fnIMG_GrayLevelSlicing(int mode, int low, int high, int inside, int outside);
  /// Proposes a threshold; the image does not change.
  ///
  /// Method 0 is the mean level (the mean index at 4 and 8 bits, the mean blue at 24 and 32 bits).
  /// Method 1 starts from that mean and repeats: the mean of the levels below the threshold and the
  /// mean of those above (the index, or the red byte) give the next threshold, their midpoint,
  /// until it repeats; a pass that finds a class empty ends with the current threshold. Method 2
  /// takes the most frequent level of histogram column I as the first peak, the level k with the
  /// greatest (k - peak)^2 x count(k) as the second, and returns the least frequent level between
  /// them (the lower peak when they are adjacent).
  /// @param method 0, 1 or 2.
  /// @param second receives the number of passes (method 1) or the second peak (method 2); not
  ///        written for method 0 or on failure; may be null.
  /// @return the threshold, 0 to 255; -1 when the depth is not 4, 8, 24 or 32 (tested first); -2
  ///         when method is not 0 to 2.
  int fnIMG_FindThreshold(int method, int* second);
  /// Turns the image into two levels: a level below the threshold becomes below, any other becomes
  /// above.
  ///
  /// At 4 and 8 bits the indices are thresholded whatever the palette; at 24 and 32 bits red, green
  /// and blue are each thresholded by themselves (the alpha stays). The colour count below is
  /// fnIMG_GetColorsUsed().
  /// @param threshold the first level that becomes above; below the colour count.
  /// @param below the value of levels below the threshold; at most the colour count - 1.
  /// @param above the value of the other levels; at most the colour count - 1.
  /// @retval 0 done.
  /// @retval 1 threshold is not below the colour count (tested first).
  /// @retval 2 the depth is not 4, 8, 24 or 32.
  /// @retval 3 below or above is beyond the colours.
  int fnIMG_Thresholding(unsigned char threshold, unsigned char below, unsigned char above);
  /// Thresholds an 8-bit image block by block, each block with its own threshold and output levels.
  ///
  /// The blocks tile the image from its top-left corner; the last block row and column take the
  /// remainder (a 10-row image in blocks of 3 has block rows of 3, 3 and 4). Indices at or above
  /// the block's threshold become the upper level, the others the lower level, whatever the
  /// palette.
  /// @param blockHeight the block height, 1 to the image height.
  /// @param blockWidth the block width, 1 to the image width.
  /// @param threshold -1 the block's mean (truncated), -2 the block's largest index, -3 the largest
  ///        index of the whole image; any other value is a fixed threshold, of which the low 8 bits
  ///        count (300 is 44).
  /// @param output the lower and upper levels: 0 the block's smallest and largest index, 1 0 and
  ///        the block's largest, 2 the image's smallest and largest index, 3 0 and 255.
  /// @retval 0 done.
  /// @retval 2 the depth is not 8 (tested first).
  /// @retval 1 a block side below 1 or larger than the image.
  /// @retval 3 output is not 0 to 3.
  int fnIMG_AdaptiveLocalThresholding(int blockHeight, int blockWidth, int threshold, int output);
  /// Keeps one bit plane as a black-and-white image: pixels with that bit set become all ones, the
  /// others 0, and the image is converted to 1 bit (fnIMG_ChangeColorDepth() index 0).
  ///
  /// At 1, 4 and 8 bits the planes are those of the index; at 24 and 32 bits planes 0 to 7 are the
  /// blue bits, 8 to 15 green and 16 to 23 red. With a gray or true-colour image the set bits
  /// become white; with another palette the result follows the colours of entries 0 and all ones.
  /// @param plane 0 to the depth's top plane: 0 at 1 bit, 3 at 4, 7 at 8, 23 at 24 and 32.
  /// @retval 0 done; also for a 16-bit image with a plane 0 to 15, and for an object without an
  ///         image, which are left as they are.
  /// @retval 1 plane outside the depth's planes.
  /// @retval 2 not enough memory for the 1-bit image; the image is left exactly as it was.
  int fnIMG_BitPlane(int plane);
  /// Clears the chosen bit planes of every pixel value (the index, or the 24-bit colour value; the
  /// alpha stays).
  /// @param planes a field of exactly 1 clears its plane (see CualesPlanosBits).
  /// @return always 0; depths other than 1, 4, 8, 24 and 32 are left as they are.
  int fnIMG_BitPlaneErase(CLamina::CualesPlanosBits planes);
  /// Adds uniform random noise to a random sample of pixels or to every pixel.
  ///
  /// A chosen pixel's level v (the index, or the red byte at 24 and 32 bits) becomes u x (high -
  /// low) + low + v for a uniform u in [0, 1), rounded (an exact half down) and clamped to 0..top,
  /// where top is 1 at 1 bit, 15 at 4 bits and 255 otherwise; a true-colour pixel becomes gray at
  /// that level (the alpha stays). The generator is the C library's rand(), seeded from the clock
  /// once per call, so the pattern differs from call to call.
  /// @param selection 0 every level; 1 only pixels whose level lies in [bandLow, bandHigh].
  /// @param scope 0 count pixels drawn at random (one may be drawn again); 1 every pixel.
  /// @param low the noise's low end, -top or more, below high.
  /// @param high the noise's high end, at most top.
  /// @param bandLow the band's low end, at least the lowest index present (nMinI of
  ///        fnIMG_GetInfoHistogram()), checked even with selection 0.
  /// @param bandHigh the band's high end, bandLow to the highest index present (nMaxI), checked
  ///        even with selection 0.
  /// @param count the number of draws with scope 0, 1 to width x height; checked with scope 1 too.
  /// @retval 0 done.
  /// @retval 1 the depth is not 1, 4, 8, 24 or 32.
  /// @retval 2 selection is neither 0 nor 1.
  /// @retval 3 scope is neither 0 nor 1.
  /// @retval 4 low >= high, low < -top or high > top.
  /// @retval 5 bandLow below the lowest index present, bandHigh above the highest, or bandLow >
  ///         bandHigh.
  /// @retval 6 count below 1 or above width x height.
  int fnIMG_AddNoise(int selection, int scope, int low, int high, int bandLow, int bandHigh,
                     int count);
  /// The mean colour and mean index of one row, in 64-bit sums, truncated; the image does not
  /// change.
  /// @param y the row, 0 at the top.
  /// @param mean receives the mean blue, green and red (its reserved byte is left); black for a row
  ///        without pixels; may be null.
  /// @return the mean index of a palette image, 0 for a true-colour image; -1 when the depth is not
  ///         1, 4, 8, 24 or 32 (tested first: mean's colour bytes are set to 0); -2 when y is
  ///         outside the image (mean is not touched).
  int fnIMG_AverageRow(int y, RGBQUAD* mean);
  /// The mean colour and mean index of one column, as fnIMG_AverageRow() does for a row.
  /// @param x the column, 0 at the left.
  /// @param mean receives the mean blue, green and red (its reserved byte is left); may be null.
  /// @return the mean index of a palette image, 0 for a true-colour image; -1 when the depth is not
  ///         1, 4, 8, 24 or 32 (tested first: mean's colour bytes are set to 0); -2 when x is
  ///         outside the image (mean is not touched).
  int fnIMG_AverageColumn(int x, RGBQUAD* mean);
  /// The mean colour and mean value of the whole image, in 64-bit sums, truncated; the image does
  /// not change.
  /// @param mean receives the mean blue, green and red (its reserved byte is left); black for an
  ///        image without pixels; may be null.
  /// @return the mean index of a palette image; at 24 and 32 bits the mean of the pixel values blue
  ///         + green x 256 + red x 65536; 0 for an image without pixels; -1 when the depth is not
  ///         1, 4, 8, 24 or 32 (mean's colour bytes are set to 0).
  int fnIMG_AverageImg(RGBQUAD* mean);

  // ---- Geometry and distortion ---------------------------------------------------------------

  /// Turns the picture about its centre by `angle` degrees (positive turns clockwise on the screen)
  /// by inverse mapping: destination (x, y) takes the source pixel at fnRound(u c - v s + W/2),
  /// fnRound(H/2 - (v c + u s)) with u = x - W'/2, v = H'/2 - y and integer halves, so even sizes
  /// lose a line. Builds a new image of the image's depth and palette; the name is kept, 32-bit
  /// pixels come out with their fourth byte 0 and the row padding 0.
  /// @param sizeMode 0 enlarge to the box of the turned picture (|Wc| + |Hs| by |Hc| + |Ws|, each
  ///        product rounded with fnRound), 1 keep the width and height (corners are cut).
  /// @param angle -360 to 360 degrees, both included.
  /// @param background packed colour (red in bits 0-7, green 8-15, blue 16-23) of the pixels no
  ///        source pixel reaches; on palette images the first entry with that colour, or the
  ///        all-ones index (1, 15, 255) when the palette has none.
  /// @return 0 done; 1 angle below -360, above 360 or not a number; 2 depth not 1, 4, 8, 24 or
  ///         32 bits; 3 size mode not 0 or 1; 4 not enough memory for the new image. On a failure
  ///         nothing changes.
  int fnIMG_Rotation(int sizeMode, double angle, unsigned long background);
  /// Tilts the picture about its vertical axis by `angleY` and its horizontal axis by `angleX`
  /// (a forward mapping with truncation into a background-filled image of the same size, source
  /// rows from the top and columns from the left, a later pixel winning), then, when `angle` is
  /// not exactly 0, turns the result in the plane as the single-angle form does. Both images are
  /// built before the image changes; the name is kept, 32-bit fourth bytes and padding are 0.
  /// @param sizeMode passed to the plane turn (0 enlarge, 1 keep the size); checked even when
  ///        `angle` is 0.
  /// @param angleY, angleX, angle -360 to 360 degrees each, checked in that order.
  /// @param background packed colour, as for the single-angle form.
  /// @return 0 done; 1 an angle below -360, above 360 or not a number; 2 depth not 1, 4, 8, 24 or
  ///         32 bits; 3 size mode not 0 or 1; 4 not enough memory. On a failure nothing changes.
  int fnIMG_Rotation(int sizeMode, double angleY, double angleX, double angle,
                     unsigned long background);
  /// Resizes by nearest-neighbour sampling anchored at the bottom-left pixel: with factors fx, fy
  /// the result is fnRound(W fx) x fnRound(H fy) (products in single precision), and destination
  /// column c and row r (counted from the bottom) take source column min(fnRound(c / fx), W - 1)
  /// and row min(fnRound(r / fy), H - 1), the quotients in single precision. The result has the
  /// image's depth and palette and keeps the name; 32-bit pixels carry blue, green and red with a
  /// fourth byte 0, and the row padding is 0. A factor of 0 gives a side of 0.
  /// @param horizontal, vertical unit 0: the factors (1 keeps the size); unit 1: the new width
  ///        and height in pixels (the factors are then these over W and H). 0 or more, finite.
  /// @param unit 0 factors, 1 pixels.
  /// @return 0 done; 1 a value below 0 or not a finite number; 2 unit not 0 or 1; 3 depth not 1,
  ///         4, 8, 24 or 32 bits (a 16-bit image, or an object without an image); 4 the result
  ///         would not fit in memory or in the header's 32-bit fields. On a failure nothing
  ///         changes.
  int fnIMG_Scaling(float horizontal, float vertical, int unit);
  /// Opens a band through (x, y): orientation 0 splits at column x, the band covering columns
  /// x - nearWidth ... x + farWidth - 1 of the rows y - nearReach ... y + farReach (no other row
  /// changes); orientation 1 splits at row y, the band covering rows y - nearWidth ...
  /// y + farWidth - 1 across the whole width (the reaches are only checked). The sides move apart
  /// to make room, then the band is painted. Orientation 0 moves whole pixels (all four bytes at
  /// 32 bits; pixel by pixel at 1 and 4 bits); orientation 1 moves whole rows with the picture
  /// turned upside down around the moves (flip mode 1), which is where padding and 32-bit fourth
  /// bytes end up. Squeezing crops each side (a side one pixel wide or high cannot be cropped and
  /// is the whole image) and scales it into its room (fourth bytes 0); the result then replaces
  /// the image as a compact copy. The size never changes.
  /// @param orientation 0 band down the picture, 1 band across it.
  /// @param x, y the split point.
  /// @param nearWidth, farWidth the band's width on the near side (columns left of x, or rows above
  ///        y across the picture) and on the far side (from x rightwards, or from y downwards), 0
  ///        or more.
  /// @param farReach, nearReach the rows below and above y (columns right and left of x across the
  ///        picture) that the band reaches, 0 or more; band and reach must stay inside the image.
  /// @param room 0 push the sides outward (what crosses the border is lost), 1 squeeze them.
  /// @param fill 0 paint the band with `colour`, 1 repeat the split line as it was (the pixel at
  ///        column x of each row, or at row y of each column).
  /// @param colour packed colour; on palette images its first entry, or all ones when absent.
  /// @return 0 done; 1 orientation not 0 or 1; 2 the band or the reach leaves the image, or a
  ///         width or reach is negative; 3 room not 0 or 1; 4 fill not 0 or 1; 5 depth not 1, 4,
  ///         8, 24 or 32 bits; 6 not enough memory for the copies. On a failure nothing changes.
  int fnIMG_ScotomaZoom(int orientation, int x, int y, int nearWidth, int farWidth, int farReach,
                        int nearReach, int room, int fill, unsigned long colour);
  /// Moves the picture by (dx, dy) pixels. Mode 0 enlarges the image to (W + |dx|) x (H + |dy|)
  /// so nothing is lost (a positive move puts the background band on the left or top, a negative
  /// one on the right or bottom); mode 1 keeps the size, and what leaves the frame is lost. The
  /// uncovered pixels take the background: on palette images the first palette entry of that
  /// colour, or the all-ones index when there is none. The result has the data constructor's
  /// header, the image's palette and name, and every 32-bit pixel's fourth byte 0.
  /// @param mode 0 (enlarge) or 1 (keep the size).
  /// @param dx, dy the move in pixels, positive to the right and downwards, any int.
  /// @param background the fill colour, red in bits 0-7, green 8-15, blue 16-23 (24-31 ignored).
  /// @return 0 done; 1 the depth is not 1, 4, 8, 24 or 32 bits; 2 the mode is neither 0 nor 1;
  ///         3 the enlarged image would be wider or higher than an int or its block larger than
  ///         2 GiB; 4 not enough memory. On failure the image is left exactly as it was.
  int fnIMG_Translation(int mode, int dx, int dy, unsigned long background);
  /// Moves the picture by a physical length on the display it is shown on: the length
  /// distance x sin(angle) in centimetres, in the given screen direction, becomes pixels of the
  /// primary display (or, with several monitors, of the one nearest to the point 500 pixels right
  /// of the primary's right edge and 200 above its bottom edge): resolution x length / whole
  /// centimetres of the display's size, per axis, truncated; a display under 1 cm gives 0 pixels.
  /// The picture is then moved as fnIMG_Translation(mode, pixels x, pixels y, background) does.
  /// @param mode 0 (enlarge) or 1 (keep the size).
  /// @param distance in centimetres, any int (a negative one moves the other way).
  /// @param angle in degrees, 0 to 80.
  /// @param direction in degrees on the screen, 0 to 360: 0 up, 90 right, 180 down, 270 left.
  /// @param background the fill colour, as for the move by pixels.
  /// @param info receives the length in cm and inches, its horizontal and vertical components in
  ///        cm (vertical positive downwards) and the move in pixels.
  /// @return 0 done; 1 the depth is not 1, 4, 8, 24 or 32 bits; 2 the mode is above 1 (negative
  ///         modes included); 3 the angle is below 0, above 80 or not a number; 4 the direction is
  ///         below 0, above 360 or not a number; 5 info is null; 6 the move in pixels does not fit
  ///         in an int, or the enlarged image would be too large; 7 not enough memory. On failure
  ///         neither the image nor the record changes.
  int fnIMG_Translation(int mode, int distance, float angle, float direction,
                        unsigned long background, InfoDesplazamientotag* info);
  /// Converts the length distance x sin(angle) in centimetres into pixels of a monitor of the
  /// monitor report (fnIMG_GetMonitorsInfo), horizontally and vertically: resolution x length /
  /// whole centimetres of the monitor's size, truncated; a size under 1 cm gives 0 pixels. The
  /// image is not touched.
  /// @param distance in centimetres, 0 or more.
  /// @param angle in degrees, 0 to 60.
  /// @param monitor 0 for the first monitor, 1 for the second; for any other, or 1 with fewer than
  ///        two monitors, only the lengths are written.
  /// @param info receives fDesplazamiento, fDesplazamientoPulgadas and the pixels; the two
  ///        components in cm are left as they were.
  /// @return 0 done; 1 the distance is below 0; 2 the angle is below 0, above 60 or not a number;
  ///         3 info is null; 4 the move in pixels does not fit in an int. On failure the record is
  ///         left as it was.
  int fnIMG_CalcularDesplazamientos(int distance, float angle, int monitor,
                                    InfoDesplazamientotag* info);
  /// Mirrors the picture in place, left-right or top-bottom.
  ///
  /// Only pixels move: row padding, the unused bits of a 1 or 4-bit row's last byte and the fourth
  /// byte of every 32-bit pixel stay where they are, except at 8 and 16 bits top-bottom, where
  /// whole rows (padding included) change places. Flipping twice restores the image; mode 1 then
  /// mode 0 turns it by 180 degrees. Nothing is allocated, so nothing fails half-way.
  /// @param mode 0 left-right (every row reversed); 1 top-bottom (the order of the rows reversed).
  /// @retval 0 done.
  /// @retval 1 mode is neither 0 nor 1.
  /// @retval 2 the depth is not 1, 4, 8, 16, 24 or 32.
  int fnIMG_Flip(int mode);
  /// Keeps the rectangle from (x1, y1) to (x2, y2), both corners included, rows counted from the
  /// top.
  ///
  /// The result has the same depth and palette, the data constructor's header (biClrUsed = levels,
  /// zero resolutions) and the image's name; a 32-bit result has alpha 0. The smallest crop is 2 x
  /// 2.
  /// @param x1 the left column, 0 or more.
  /// @param y1 the top row, 0 or more.
  /// @param x2 the right column, above x1 and below the width.
  /// @param y2 the bottom row, above y1 and below the height.
  /// @retval 0 done.
  /// @retval 1 the rectangle is not inside the image, or x1 >= x2 or y1 >= y2.
  /// @retval 2 the depth is not 1, 4, 8, 24 or 32.
  /// @retval 3 not enough memory for the new image.
  int fnIMG_Crop(int x1, int y1, int x2, int y2);
  /// Replaces the image by two others woven together, row by row or column by column.
  ///
  /// Mode 0 gives first's width and both heights added: rows first 0, second 0, first 1, second 1
  /// ... while both have rows, then the taller one's remaining rows. Mode 1 does the same with
  /// columns. The result has first's depth, this object's palette (entries it cannot supply are (i,
  /// i, i, 0)), the data constructor's header and name ("SIN_NOMBRE.RAW"); a 32-bit result has
  /// alpha 0. This object's pixels are not used; first and second may be this object.
  /// @param mode 0 rows, 1 columns.
  /// @param first the image giving the first row or column; not changed.
  /// @param second the image giving the second; not changed.
  /// @retval 0 done.
  /// @retval 1 mode is neither 0 nor 1.
  /// @retval 2 first or second is null.
  /// @retval 3 first's, second's or this object's depth is not 1, 4, 8, 24 or 32.
  /// @retval 4 first and second have different depths.
  /// @retval 5 mode 0 and different widths.
  /// @retval 6 mode 1 and different heights.
  /// @retval 7 not enough memory, or the result would be more than 2^31 - 1 pixels on a side.
  int fnIMG_Interlace(int mode, CLamina* first, CLamina* second);
  /// Keeps every second row or column.
  ///
  /// Field 1 keeps rows (or columns) 0, 2, 4 ..., field 2 keeps 1, 3, 5 ...; a 5-row image gives 3
  /// or 2 rows. The result keeps the depth, palette and name, has the data constructor's header,
  /// and at 32 bits alpha 0; a 1-row image with field 2 gives an image of height 0.
  /// @param mode 0 rows, 1 columns.
  /// @param field 1 or 2.
  /// @retval 0 done.
  /// @retval 1 the depth is not 1, 4, 8, 24 or 32.
  /// @retval 2 mode is neither 0 nor 1.
  /// @retval 3 field is neither 1 nor 2.
  /// @retval 4 not enough memory for the new image.
  int fnIMG_DeInterlace(int mode, int field);
  /// Squeezes the whole picture into the ellipse inscribed in the frame (the disc-to-square map in
  /// single precision, inverse mapping with truncation); points that fall outside the picture get
  /// the colour count less one (the last palette index, white at 24 and 32 bits). Only pixel
  /// values are written: fourth bytes and padding stay. The result replaces the image as a
  /// compact copy with the same name.
  /// @return 0 done; 1 depth not 1, 4, 8, 24 or 32 bits; 2 not enough memory for the copy. On a
  ///         failure nothing changes.
  int fnIMG_Ellipse();
  /// Moves each column x down (or up) by (sin(x / wavelength) + 1) x amplitude rows, truncated
  /// with the row (double precision), into a background-filled copy; rows are taken from the top
  /// (down) or the bottom (up), a later row winning. A wavelength of 0 makes every offset not a
  /// number: the result is all background. Only pixel values are written.
  /// @param amplitude any; 0 keeps the picture.
  /// @param wavelength any; the wave repeats every 2 pi x wavelength columns.
  /// @param direction 0 down, 1 up.
  /// @param background packed colour; on palette images its first entry, or all ones when absent.
  /// @return 0 done; 1 direction not 0 or 1; 2 depth not 1, 4, 8, 24 or 32 bits; 3 not enough
  ///         memory for the copy. On a failure nothing changes.
  int fnIMG_Undulation(int amplitude, int wavelength, int direction, unsigned long background);
  /// Twists the picture about its centre (W/2, H/2): a pixel at distance d <= radius takes the
  /// source turned by (radius - d) / radius x twist x pi^2 / 360 radians; farther pixels stay. The
  /// resampling is transformation's: outside points give black or the all-ones index, and the
  /// whole picture comes out with 32-bit fourth bytes and padding 0.
  /// @param twist a finite number; 0 keeps every pixel.
  /// @param radius in pixels; 0 or less leaves the image exactly as it was.
  /// @return 0 done; 1 depth not 1, 4, 8, 24 or 32 bits; 2 twist not a finite number; 3 not
  ///         enough memory for the result. On a failure nothing changes.
  int fnIMG_Spiral(double twist, int radius);
  /// Shears or compresses the picture by forward mapping into a background-filled copy, source
  /// columns from the left and rows from the top, a later pixel winning; destinations are
  /// truncated doubles, k = amount / 50 (kinds 0-3) or amount / 100 (kinds 4-9). Kinds: 0 (x + ky,
  /// y), 1 (x - ky, y), 2 (x, y + kx), 3 (x, y - kx), 4 (x - ky, y - kx), 5 (x, y - ky), 6 (x - ky,
  /// y - ky), 7 (x - kx, y), 8 (x - kx, y - kx), 9 (x + ky, y + kx). Only pixel values are written.
  /// @param kind 0 to 9.
  /// @param amount 0 to 100; 0 keeps the picture.
  /// @param background packed colour; on palette images its first entry, or all ones when absent.
  /// @return 0 done; 1 depth not 1, 4, 8, 24 or 32 bits; 2 kind not 0 to 9; 3 amount below 0,
  ///         above 100 or not a number; 4 not enough memory for the copy. On a failure nothing
  ///         changes.
  int fnIMG_Inclination(int kind, double amount, unsigned long background);
  /// Sets every block to the truncated mean of its pixel values (summed in single precision, rows
  /// from the top, then divided by the pixel count; true colour as whole 24-bit values). The last
  /// block row and column take the rows and columns left over. Works in place; fourth bytes and
  /// padding stay.
  /// @param blockHeight 1 to H / 2.
  /// @param blockWidth 1 to W / 2.
  /// @return 0 done; 1 a block side below 1 or above half the image's; 2 depth not 1, 4, 8, 24 or
  ///         32 bits (a 16-bit image); 3 not enough memory for the row tables. On a failure nothing
  ///         changes.
  int fnIMG_Mosaic(int blockHeight, int blockWidth);
  /// Gives a 4 or 8-bit palette image a relief look: from row 1 and column `distance` on, each
  /// index becomes index + n / 2 - (the index `distance` columns to the left in a copy filtered
  /// by fnIMG_Filters(19, 0, 2)), limited to 0 ... n - 1, n being the colour count. Row 0 and the
  /// first `distance` columns keep their indices; the result replaces the image as a compact
  /// copy.
  /// @param distance 1, 3 or 5.
  /// @return 0 done; 2 depth not 4 or 8 bits (checked first); 1 distance not 1, 3 or 5; 3 not
  ///         enough memory for the copies. On a failure nothing changes.
  int fnIMG_Emboss(int distance);
  /// Scatters pixels along random rays from (x, y): passes x 50000 samples of an angle and a
  /// radius r (0 ... W - 1) from the C library's generator (0 ... 32767), seeded from the clock;
  /// where the point at r lies inside, mode 0 copies it onto the point at r - 1, mode 1 the
  /// reverse (a point outside reads as all ones). Works in place on pixel values.
  /// @param mode 0 pull toward the point, 1 push away from it.
  /// @param x, y the point, inside the image.
  /// @param passes 1 or more.
  /// @return 0 done; 1 mode not 0 or 1; 2 the point is outside; 3 passes below 1; 4 depth not 1,
  ///         4, 8, 24 or 32 bits. On a failure nothing changes.
  int fnIMG_Hoover(int mode, int x, int y, int passes);
  /// Sets every pixel, rows from the top and columns from the left, to colourAt(x, y) right after
  /// asking: blue, green and red at 24 and 32 bits (the fourth byte stays), the red byte as the
  /// index at 1, 4 and 8 bits (cut to the depth). On a 16-bit image the function is asked for
  /// every pixel and nothing is written. An empty function throws std::bad_function_call when
  /// first asked, that is, when the image has a pixel.
  /// @param colourAt the colour of pixel (x, y), x the column and y the row from the top.
  void mapBitmap(std::function<RGBQUAD(int, int)> colourAt);
  /// Resamples by inverse mapping: destination (x, y) takes the pixel at (sourceColumn(x, y),
  /// sourceRow(x, y)) of the picture as it was (the column function is asked first; rows from the
  /// top, columns from the left); points outside give black at 24 and 32 bits and the all-ones
  /// index at 1, 4 and 8. Built aside and copied over the rows, so the block, header, palette and
  /// name stay; the row padding, unused bits and 32-bit fourth bytes come out 0. On a 16-bit image
  /// the functions are asked for every pixel and the pixels stay. An empty function throws
  /// std::bad_function_call when first asked; any exception from a function leaves the image
  /// unchanged.
  /// @param sourceColumn the source column of pixel (x, y).
  /// @param sourceRow the source row of pixel (x, y), counted from the top.
  /// @return true done; false not enough memory for the result (the image unchanged).
  bool transformation(std::function<int(int, int)> sourceColumn,
                      std::function<int(int, int)> sourceRow);

  // ---- Combination ---------------------------------------------------------------------------

  /// Combines `second` into this image pixel by pixel over the common top-left area
  /// (min(widths) x min(heights)); the image's other pixels are unchanged and `second` is only read.
  /// Palette images (1, 4, 8 bits) combine their indices a, b, limited by maxV = the colour count
  /// less one; 24 and 32-bit images combine blue, green and red, each limited by 255 (a 24-bit
  /// image may meet a 32-bit one; the fourth byte of a 32-bit pixel never changes).
  /// @param operation 0 add, 1 subtract (a - b, not below 0), 2 multiply, 3 divide (a / b in
  ///        single precision, a zero b taken as 0.2, rounded up), 4 average (rounded down),
  ///        5 maximum, 6 minimum.
  /// @param second the second image, not kept.
  /// @return 0 done; 1 operation not 0 to 6 (negative included); 2 the image's depth, then the
  ///         second image's, not 1, 4, 8, 24 or 32 bits; 3 the depths differ and one is below 24
  ///         bits; 4 `second` is null (checked before its depth is read). On a failure nothing
  ///         changes.
  int fnIMG_Arithmetic(int operation, CLamina* second);
  /// Weighted arithmetic: the second image's top-left pixel is laid on (x, y) of the image and its
  /// pixels (c, r), c below min(widths) and r below min(heights), are combined with the image's
  /// pixel (x + c, y + r) where that lies inside; other pixels are unchanged. Values are weighted
  /// in single precision (a x weightA, b x weightB), limited and truncated; see `operation` of the
  /// plain form (the palette and colour forms differ for division, maximum and minimum).
  /// @param operation 0 to 6 as for the plain form.
  /// @param second the second image, not kept.
  /// @param weightA weight of the image's values, 0 or more and finite.
  /// @param weightB weight of the second image's values, 0 or more and finite.
  /// @param x column of the image, 0 to width - 1. @param y row from the top, 0 to height - 1.
  /// @return 0 done; 1 operation not 0 to 6; 2 a depth not 1, 4, 8, 24 or 32 (the image's first);
  ///         4 weightA, then weightB, below 0 or not a finite number; 5 (x, y) outside the image;
  ///         3 the depths differ and one is below 24 bits; 6 `second` is null (checked before its
  ///         depth is read). On a failure nothing changes.
  int fnIMG_Arithmetic(int operation, CLamina* second, float weightA, float weightB, int x, int y);
  /// Copies every pixel (c, r) of `second` to (x + c, y + r) of the image, rows from the top;
  /// pixels falling outside are skipped. Palette images copy indices (the palette is not changed),
  /// 24 and 32-bit images blue, green and red (the fourth byte of a 32-bit pixel is kept).
  /// @param second the image to paste, not kept. @param x column, 0 to width - 1.
  /// @param y row from the top, 0 to height - 1.
  /// @return 0 done; 1 the image's depth, then the second image's, not 1, 4, 8, 24 or 32 bits;
  ///         2 the depths differ and one is below 24 bits; 3 x or y below 0; 4 x or y at or beyond
  ///         the width or height; 5 `second` is null. On a failure nothing changes.
  int fnIMG_Insert(CLamina* second, int x, int y);
  /// Bitwise combination of the pixel values as fnIMG_GetPixel reads them (indices, or 24-bit
  /// colours), written back as fnIMG_SetPixel keeps them (the depth's low bits; at 1 bit the
  /// lowest bit of the result, the exclusive or its low byte). The area is the whole image for
  /// code 0, the common top-left area otherwise; depths need not match.
  /// @param operation 0 not, 1 and, 2 or, 3 exclusive or, 4 not-and, 5 not-or.
  /// @param second the second image, not kept; may be null for code 0.
  /// @return 0 done (an image of a depth the accessors refuse is left unchanged); 1 operation
  ///         not 0 to 5; 2 `second` is null for codes 1 to 5. On a failure nothing changes.
  int fnIMG_Logic(int operation, CLamina* second);
  /// Treats two-colour images as sets (the pixels of value 0 are the members).
  /// @param operation 0 complement (fnIMG_Negative), 1 reflection through the centre (flip top-
  ///        bottom then left-right), 2 union (1 where both low bytes are non-zero), 3 intersection
  ///        (1 where either is), 4 difference (0 where a is 0 and b is 1, else 1); codes 2 to 4
  ///        work on the common top-left area.
  /// @param second the second image, not kept; may be null for codes 0 and 1.
  /// @return 0 done (the inner operations' codes are not passed on); 1 operation not 0 to 4;
  ///         2 the image's colour count (biClrUsed, or 2^depth) is not 2, or for codes 2 to 4 the
  ///         second image's; 3 `second` is null for codes 2 to 4. On a failure nothing changes.
  int fnIMG_SetOps(int operation, CLamina* second);
  /// Counts the places of the common top-left area where fnIMG_GetPixel of the two images
  /// differs (values compared as they are: an index against a colour when depths differ).
  /// Neither image changes.
  /// @param second the other image, not kept.
  /// @return the count (at most INT_MAX); -1 when either depth is not 1, 4, 8, 24 or 32 bits or
  ///         `second` is null.
  int fnIMG_GetDifferentPixels(CLamina* second);

  // ---- Neighbourhood operations --------------------------------------------------------------

  /// Applies one of the 75 predefined filters in place: linear kernels (0-21, 26-37, 41, 42, 44-47,
  /// 51-54, 58-65), gradient magnitudes adding two kernels' results with saturation (40, 43, 48,
  /// 50, 55), compass filters keeping the largest of eight 45-degree turns (49, 56, 57), and order
  /// and mean filters on a fixed window (median 22-25, maximum 66, minimum 67, midpoint 68,
  /// extreme value 70-73, geometric mean 74-75, harmonic mean 76-77). Works on the index (4, 8
  /// bits; the palette is untouched) or the red byte (24, 32 bits; the result is gray). Size and
  /// depth never change; the name is kept.
  /// @param filter 0 to 37, 40 to 68 or 70 to 77.
  /// @param mapping output mapping of the kernels (0 stretch, 1 clip, 2 absolute value); checked
  ///        but unused by the order and mean filters.
  /// @param border 0 leave the frame, 1 pad with the value 255, 2 pad with shifted copies;
  ///        checked but unused by the order and mean filters, which always leave their frame.
  /// @return 0 filtered; 1 depth not 4, 8, 24 or 32 bits; 2 filter number not in the table;
  ///         3 mapping not 0 to 2; 4 border not 0 to 2; 5 not enough memory. On a failure nothing
  ///         changes.
  int fnIMG_Filters(int filter, int mapping, int border);
  /// Convolves the working values (the index at 4 and 8 bits, the red byte at 24 and 32) with a
  /// size x size kernel: 32-bit sums (wrapping, never overflowing), divided by `divisor`
  /// (truncating), mapped to 0 ... L (15 at 4 bits, else 255) and written as the index or as gray.
  /// Border 0 leaves the frame of width size / 2 unfiltered and keeps the header and the fourth
  /// bytes; borders 1 and 2 filter every pixel and leave the data constructor's header, the palette
  /// extended to the depth's levels by (i, i, i, 0) and fourth bytes 0. Size never changes.
  /// @param kernel size x size coefficients, row 0 weighing the top row of the window; may be null
  ///        when size is below 1 (the empty kernel: every sum 0).
  /// @param size side of the kernel; the window of x covers x - size / 2 ... for size >= 2.
  /// @param divisor any non-zero number (negative ones too).
  /// @param mapping 0 stretch (from min(0, smallest) to max(0, largest) quotient onto 0 ... L),
  ///        1 clip to 0 ... L, 2 absolute value limited to L.
  /// @param border 0 leave the frame, 1 pad with the value 255 (index 15 at 4 bits, red 0 at 24
  ///        and 32), 2 pad with the image shifted by size / 2 (points no copy covers read 0).
  /// @return 0 filtered; 1 depth not 4, 8, 24 or 32 bits; 2 divisor 0; 3 mapping not 0 to 2;
  ///         4 border not 0 to 2; 5 kernel null with size 1 or more; 6 not enough memory. On a
  ///         failure nothing changes.
  int fnIMG_Convolution(int* kernel, int size, int divisor, int mapping, int border);
  /// Morphology with a rectangular structuring element, in place. 1-bit images are sets (index 0
  /// the object, 1 the background); 4- and 8-bit images are gray levels (the index) with an
  /// additive element. The window of pixel (x, y) is (x - a + i, y - c + j) for i below the
  /// element's width and j below its height, a = width - 1 - originX, c = height - 1 - originY.
  /// Dilation pairs window point (i, j) with the entry reflected through the element's centre:
  /// gray, the largest level + entry (outside points 0), at most the top level; sets, the object
  /// where a member (an entry other than 1) covers an object point. Erosion pairs (i, j) with
  /// entry (i, j): gray, the smallest level - entry (outside points the top level), at least 0;
  /// sets, the object where every member (an entry 0) covers an object point inside the image.
  /// Operations 2 to 6 use the origin mirrored through the element's centre for their steps.
  /// @param operation 0 dilation, 1 erosion, 2 opening (erosion, then dilation), 3 closing
  ///   (dilation, then erosion), 4 opening then closing, 5 gradient (dilation minus erosion),
  ///   6 top-hat (the image minus its opening). Differences of levels stop at 0; for sets they
  ///   keep the object of the first where the second is background (when both images have two
  ///   colours).
  /// @param element elementWidth x elementHeight bytes, row by row from the top, owned by the
  ///   caller and only read.
  /// @param elementWidth, elementHeight the element's size in bytes.
  /// @param originX 0 to elementWidth - 1.
  /// @param originY 0 to elementHeight - 1.
  /// @return 0 done; 1 operation not 0 to 6; 2 the depth is not 1, 4 or 8; 3 the origin lies
  ///   outside the element (negative, or not below its width or height); 4 no element (null);
  ///   5 not enough memory. On 1 to 5 the image is unchanged. A block with bytes besides the
  ///   header, palette and rows comes out compact.
  int fnIMG_Morphological(int operation, unsigned char* element, int elementWidth,
                          int elementHeight, int originX, int originY);
  /// Cleans a 1-bit image with fixed 3 x 3 rules on the pixel indices (1 counts as set, whatever
  /// its colour). Each chosen rule is one pass over the image on the result of the pass before,
  /// in the order of the flags; the outermost rows and columns never change.
  /// @param rules six flags, a non-zero flag choosing its rule: bRegla1 sets a 0 with at least
  ///   three of its four edge neighbours at 1; bRegla2 clears a 1 without support on two opposite
  ///   corners; bRegla3 to bRegla6 set the inner corner of an L of three 1s with the other five
  ///   neighbours 0 (L at left/bottom-left/bottom, right/bottom-right/bottom, left/top-left/top,
  ///   right/top-right/top).
  /// @return 0 done (also with no flag set, the image then untouched); 1 the image is not 1 bit
  ///   deep; 2 not enough memory for the working rows. On 1 and 2 the image is unchanged. A block
  ///   with bytes besides the header, palette and rows comes out compact when a rule runs.
  int fnIMG_BinarySmoothing(CLamina::CualesSuavizadoBinario rules);
  /// Grows a region from a seed pixel and paints it. A pixel joins when it is an 8-neighbour of a
  /// pixel already in the region, its value (the index at 4 and 8 bits, the red byte at 24 and
  /// 32) differs from the seed's by at most the tolerance, and its distance from the seed is at
  /// most the growth's generation (1 for the seed's neighbours, rising by one per generation).
  /// The seed is always painted. Needs about one byte of memory per pixel and a queue as long as
  /// the growth front; time is linear in the image.
  /// @param seedX column of the seed, 0 to width - 1; @param seedY its row from the top.
  /// @param distance 0 city-block |dx| + |dy|, 1 chessboard max(|dx|, |dy|); under city-block a
  ///   pixel touching the region only diagonally, at the growth's edge, may stay out.
  /// @param percent 0 the tolerance is a level difference; 1 it is a percentage of the range of
  ///   column I of fnIMG_GetInfoHistogram: the low 8 bits of tolerance x (nMaxI - nMinI) / 100.
  /// @param tolerance 0 to 255. @param fill the low 4 bits (4 bits) or 8 bits (8 bits) as the
  ///   index; at 24 and 32 bits its low byte as blue = green = red, the fourth byte kept.
  /// @return 0 painted; 1 the depth is not 4, 8, 24 or 32; 2 the seed is outside the image;
  ///   3 distance not 0 or 1; 4 percent not 0 or 1; 5 not enough memory. On 1 to 5 the image is
  ///   unchanged.
  int fnIMG_RegionGrowing(int seedX, int seedY, int distance, int percent, unsigned char tolerance,
                          unsigned long fill);

  // ---- Frequency domain ----------------------------------------------------------------------

  /// Replaces an 8-bit image by the logarithmic magnitude of its Fourier transform, for display.
  /// All width x height samples are transformed as one sequence (sample k = r x width + c for
  /// column c of stored row r, the bottom row first) by one radix-2 transform (fnIMG_Fourier).
  /// Pixel k becomes trunc(log10(|X[k]| + 1) x L / M), M the largest such logarithm and L the
  /// colour count (biClrUsed, or 256); the largest magnitude shows as L - 1 and an all-zero
  /// image stays all zero. The palette is not touched. Needs 16 bytes of memory per pixel.
  /// @param mode 0 transforms the pixel values as they are; 1 first multiplies the sample of
  ///   column c, stored row r by (-1)^(c + r), which moves the zero frequency to the middle.
  /// @return 0 done (an 8-bit image without pixels is left as it is); 1 width x height is not a
  ///   power of two; 2 the depth is not 8 bits (checked after the size); 3 the mode is not 0 or
  ///   1; 4 not enough memory for the samples. On 1 to 4 the image is unchanged.
  int fnIMG_FFT(int mode);

  // ---- Colour models -------------------------------------------------------------------------

  /// Converts a colour to CMYK. Reads no image data.
  /// @param colour the colour; its reserved byte is ignored.
  /// @param scale 1 for 0..255, 2 for 0..1 (see CMYKQUADtag).
  /// @return the CMYK record; all zeros when scale is not 1 or 2.
  CLamina::CMYKQUADtag fnIMG_RGBToCMYK(RGBQUAD colour, int scale);
  /// Converts a CMYK colour to RGB, clamped to 0..255 and truncated. Since black stays inside cyan,
  /// magenta and yellow, a colour converted there and back is scaled by its largest channel / 255.
  /// Reads no image data.
  /// @param cmyk the CMYK record, any values.
  /// @param scale 1 or 2, as the record's values are given.
  /// @return the colour with reserved 0; black when scale is not 1 or 2.
  RGBQUAD fnIMG_CMYKToRGB(CLamina::CMYKQUADtag cmyk, int scale);
  /// Converts a colour to HSI. Black and grays have hue and saturation 0. Reads no image data.
  /// @param colour the colour; its reserved byte is ignored.
  /// @param scale 1, 2 or 3 (see HSITRIPLEtag).
  /// @return the HSI record; all zeros when scale is not 1 to 3.
  CLamina::HSITRIPLEtag fnIMG_RGBToHSI(RGBQUAD colour, int scale);
  /// Converts an HSI colour to RGB, clamped to 0..255 and rounded. A hue outside the circle
  /// (negative, or 255 at scale 1) is wrapped into it; a hue that is not a number counts as 0.
  /// Reads no image data.
  /// @param hsi the HSI record, any values.
  /// @param scale 1, 2 or 3, as the record's values are given.
  /// @return the colour with reserved 0; black when scale is not 1 to 3.
  RGBQUAD fnIMG_HSIToRGB(CLamina::HSITRIPLEtag hsi, int scale);
  /// Converts a colour to HSV. Grays have hue and saturation 0; black has hue 254 at scale 1 and
  /// 359 at scales 2 and 3. Reads no image data.
  /// @param colour the colour; its reserved byte is ignored.
  /// @param scale 1, 2 or 3 (see HSVTRIPLEtag).
  /// @return the HSV record; all zeros when scale is not 1 to 3.
  CLamina::HSVTRIPLEtag fnIMG_RGBToHSV(RGBQUAD colour, int scale);
  /// Converts an HSV colour to RGB, clamped to 0..255. Reads no image data.
  /// @param hsv the HSV record, any values.
  /// @param scale 1, 2 or 3, as the record's values are given.
  /// @return the colour with reserved 0; black when scale is not 1 to 3.
  RGBQUAD fnIMG_HSVToRGB(CLamina::HSVTRIPLEtag hsv, int scale);
  /// Converts a colour to HSL. Grays have saturation 0 and hue 170 at scale 1. Reads no image data.
  /// @param colour the colour; its reserved byte is ignored.
  /// @param scale 1, 2 or 3 (see HSLTRIPLEtag).
  /// @return the HSL record; all zeros when scale is not 1 to 3.
  CLamina::HSLTRIPLEtag fnIMG_RGBToHSL(RGBQUAD colour, int scale);
  /// Converts an HSL colour to RGB, clamped to 0..255 and truncated. Reads no image data.
  /// @param hsl the HSL record, any values.
  /// @param scale 1, 2 or 3, as the record's values are given.
  /// @return the colour with reserved 0; black when scale is not 1 to 3.
  RGBQUAD fnIMG_HSLToRGB(CLamina::HSLTRIPLEtag hsl, int scale);
  /// Converts a colour to YIQ. Reads no image data.
  /// @param colour the colour; its reserved byte is ignored.
  /// @param scale 1 to 4 (see YIQTRIPLEtag).
  /// @return the YIQ record; all zeros when scale is not 1 to 4.
  CLamina::YIQTRIPLEtag fnIMG_RGBToYIQ(RGBQUAD colour, int scale);
  /// Converts a YIQ colour to RGB, truncated and clamped to 0..255. At scale 1 a colour converted
  /// there and back returns within one step per channel; at scales 2 and 3 the forward offsets are
  /// not taken off again, so it does not. Reads no image data.
  /// @param yiq the YIQ record, any values.
  /// @param scale 1 to 4, as the record's values are given.
  /// @return the colour with reserved 0; black when scale is not 1 to 4.
  RGBQUAD fnIMG_YIQToRGB(CLamina::YIQTRIPLEtag yiq, int scale);
  /// Converts a colour to YUV (whole numbers at scale 1). Reads no image data.
  /// @param colour the colour; its reserved byte is ignored.
  /// @param scale 1 to 5 (see YUVTRIPLEtag).
  /// @return the YUV record; all zeros when scale is not 1 to 5.
  CLamina::YUVTRIPLEtag fnIMG_RGBToYUV(RGBQUAD colour, int scale);
  /// Converts a YUV colour to RGB, truncated and clamped to 0..255. Reads no image data.
  /// @param yuv the YUV record, any values.
  /// @param scale 1 to 5, as the record's values are given.
  /// @return the colour with reserved 0; black when scale is not 1 to 5.
  RGBQUAD fnIMG_YUVToRGB(CLamina::YUVTRIPLEtag yuv, int scale);
  /// Converts a colour to YCbCr. Reads no image data.
  /// @param colour the colour; its reserved byte is ignored.
  /// @param scale 1 or 2 (see YCbCrTRIPLEtag).
  /// @return the YCbCr record; all zeros when scale is not 1 or 2.
  CLamina::YCbCrTRIPLEtag fnIMG_RGBToYCbCr(RGBQUAD colour, int scale);
  /// Converts a YCbCr colour to RGB, truncated and clamped to 0..255. Reads no image data.
  /// @param ycbcr the YCbCr record, any values.
  /// @param scale 1 or 2, as the record's values are given.
  /// @return the colour with reserved 0; black when scale is not 1 or 2.
  RGBQUAD fnIMG_YCbCrToRGB(CLamina::YCbCrTRIPLEtag ycbcr, int scale);
  /// Converts a colour to CIE XYZ, Z normalised so that white has Z = 1 in the unit form. Reads no
  /// image data.
  /// @param colour the colour; its reserved byte is ignored.
  /// @param scale 1 to 3 (see XYZTRIPLEtag).
  /// @return the XYZ record; all zeros when scale is not 1 to 3.
  CLamina::XYZTRIPLEtag fnIMG_RGBToXYZ(RGBQUAD colour, int scale);
  /// Converts a CIE XYZ colour to RGB, clamped to 0..255 and truncated (white comes back as 255,
  /// 255, 254; every colour within one step per channel). Reads no image data.
  /// @param xyz the XYZ record, any values.
  /// @param scale 1 to 3, as the record's values are given.
  /// @return the colour with reserved 0; black when scale is not 1 to 3.
  RGBQUAD fnIMG_XYZToRGB(CLamina::XYZTRIPLEtag xyz, int scale);
  /// Converts a CIE XYZ colour to L*a*b*. Reads no image data.
  /// @param xyz the XYZ record.
  /// @param xyzScale 1 to 3, as xyz is given (3: percentages).
  /// @param labScale 1 to 3, the form of the result (see LABTRIPLEtag).
  /// @return the L*a*b* record; all zeros when either scale is not 1 to 3.
  CLamina::LABTRIPLEtag fnIMG_XYZToLAB(CLamina::XYZTRIPLEtag xyz, int xyzScale, int labScale);
  /// Converts a CIE L*a*b* colour to XYZ, each value limited to 0..255 before the scale is applied.
  /// Reads no image data.
  /// @param lab the L*a*b* record.
  /// @param labScale 1 to 3, as lab is given.
  /// @param xyzScale 2 for the unit form; 1 and 3 both give the 0..255 form (so a round trip at
  ///        scale 3 multiplies XYZ by 2.55).
  /// @return the XYZ record; all zeros when either scale is not 1 to 3.
  CLamina::XYZTRIPLEtag fnIMG_LABToXYZ(CLamina::LABTRIPLEtag lab, int labScale, int xyzScale);
  /// Converts a colour to CIE L*a*b* through XYZ (white is about 142.48, 0, 7.64 at scale 1). Reads
  /// no image data.
  /// @param colour the colour; its reserved byte is ignored.
  /// @param labScale 1 to 3 (see LABTRIPLEtag).
  /// @return the L*a*b* record; all zeros when labScale is not 1 to 3.
  CLamina::LABTRIPLEtag fnIMG_RGBToLAB(RGBQUAD colour, int labScale);
  /// Converts a CIE L*a*b* colour to RGB through XYZ, clamped to 0..255. Reads no image data.
  /// @param lab the L*a*b* record.
  /// @param labScale 1 to 3, as lab is given.
  /// @return the colour with reserved 0; black when labScale is not 1 to 3.
  RGBQUAD fnIMG_LABToRGB(CLamina::LABTRIPLEtag lab, int labScale);
  /// Converts a CIE XYZ colour to L*u*v*; black gives zeros. Reads no image data.
  /// @param xyz the XYZ record.
  /// @param xyzScale 1 to 3, as xyz is given (3: percentages).
  /// @param luvScale 1 to 3, the form of the result (see LUVTRIPLEtag).
  /// @return the L*u*v* record; all zeros when either scale is not 1 to 3.
  CLamina::LUVTRIPLEtag fnIMG_XYZToLUV(CLamina::XYZTRIPLEtag xyz, int xyzScale, int luvScale);
  /// Converts a CIE L*u*v* colour to XYZ, not limited; L* = 0 gives zeros. Reads no image data.
  /// @param luv the L*u*v* record.
  /// @param luvScale 1 to 3, as luv is given.
  /// @param xyzScale 1 the 0..255 form, 2 the unit form, 3 percentages.
  /// @return the XYZ record; all zeros when either scale is not 1 to 3.
  CLamina::XYZTRIPLEtag fnIMG_LUVToXYZ(CLamina::LUVTRIPLEtag luv, int luvScale, int xyzScale);
  /// Converts a colour to CIE L*u*v* through XYZ (white is about 142.48, 5.15, 12.20 at scale 1).
  /// Reads no image data.
  /// @param colour the colour; its reserved byte is ignored.
  /// @param luvScale 1 to 3 (see LUVTRIPLEtag).
  /// @return the L*u*v* record; all zeros when luvScale is not 1 to 3.
  CLamina::LUVTRIPLEtag fnIMG_RGBToLUV(RGBQUAD colour, int luvScale);
  /// Converts a CIE L*u*v* colour to RGB through XYZ, clamped to 0..255. Reads no image data.
  /// @param luv the L*u*v* record.
  /// @param luvScale 1 to 3, as luv is given.
  /// @return the colour with reserved 0; black when luvScale is not 1 to 3.
  RGBQUAD fnIMG_LUVToRGB(CLamina::LUVTRIPLEtag luv, int luvScale);
  /// Splits the image into one 8-bit gray image per channel of a colour model; the image itself is
  /// only read.
  ///
  /// The outputs are the caller's images, already of this image's size and 8 bits deep; their
  /// pixels are written and they get gray palettes. Each channel is its value at scale 1,
  /// truncated, of which the low 8 bits are stored (values outside 0..255 wrap). Model 0 gives red,
  /// green, blue and, at 32 bits, alpha in fourth (at 1 and 4 bits the index scaled to 0..255 in
  /// all three); 1 cyan, magenta, yellow, black; 2 HSI, 3 HSV, 4 HSL, 5 YIQ, 6 YUV, 7 YCbCr, 8 XYZ,
  /// 9 L*a*b*, 10 L*u*v*, each into first, second and third. An output may be this image itself.
  ///
  /// On any failure no output is written.
  /// @param model 0 to 10, as above.
  /// @param first receives the first channel.
  /// @param second receives the second channel.
  /// @param third receives the third channel.
  /// @param fourth receives alpha (model 0, written only where it lies inside fourth, whose size
  ///        and depth are not checked) or black (model 1); needed for models 0 and 1, else not used
  ///        and may be null.
  /// @retval 0 done.
  /// @retval 1 the image's depth is not 1, 4, 8, 24 or 32.
  /// @retval 2 first, second or third is null, or fourth for model 0 or 1.
  /// @retval 3 an output's width or height differs from the image's (an output without an image
  ///         counts as different).
  /// @retval 4 an output is not 8 bits deep.
  /// @retval 5 model is not 0 to 10.
  int fnIMG_Split(int model, CLamina* first, CLamina* second, CLamina* third, CLamina* fourth);

 protected:
  /// The row stride of this image in bytes: its bits rounded up to whole 32-bit words, (width x
  /// depth + 31) / 32 x 4.
  /// @return the stride; 0 for an object without an image.
  int fnIMG_GetAnchoBitmapAlineado();
  /// The row stride in bytes of an image of a given width and depth: (width x bpp + 31) / 32 x 4.
  /// @param width the columns, 0 or more.
  /// @param bpp the bits per pixel.
  /// @return the stride; a stride beyond an int's range gives INT_MAX (INT_MIN when negative).
  int fnIMG_GetAnchoBitmapAlineado(int width, int bpp);
  /// The size in bytes of this image's rows without gaps or extra bytes:
  /// fnIMG_GetAnchoBitmapAlineado() x height.
  /// @return the size; 0 for an object without an image.
  int fnIMG_GetSizeBitmapAlineado();
  /// The size in bytes of the rows of an image of a given size and depth: stride x height.
  /// @param width the columns, 0 or more.
  /// @param height the rows, 0 or more.
  /// @param bpp the bits per pixel.
  /// @return the size; a size beyond an int's range gives INT_MAX (INT_MIN when negative), never
  ///   a wrapped value a buffer would be allocated too small from.
  int fnIMG_GetSizeBitmapAlineado(int width, int height, int bpp);
  /// Forward discrete Fourier transform of data[0 .. 2^m - 1] in place, without scaling: the
  /// samples in bit-reversed order, then m radix-2 decimation-in-time stages whose twiddles start
  /// at 1 and advance by one multiplication with cos(pi / h) - i sin(pi / h), pi written as
  /// 3.14159265. The results are bit for bit those of that textbook loop.
  /// @param data 2^m samples (x the real part, y the imaginary part), owned by the caller.
  /// @param m 0 to 30; a null array or any other m is ignored. The transform borrows 16 bytes
  ///   per sample of working memory; without it, it runs in place, more slowly, to the same bits.
  void fnIMG_Fourier(_complex* data, int m);
  /// Maps the point (u, v) of a disc onto the square of the same half-width: the point keeps its
  /// direction and moves outward until max(|u'|, |v'|) equals its distance from the centre,
  /// computed in single precision; (0, 0) stays.
  /// @param u, v the point, any floats.
  /// @param uOut, vOut receive the mapped point.
  /// @return always 1.
  int fnIMG_TransfPixel(float u, float v, float& uOut, float& vOut);

  unsigned char* m_lpDib;      ///< the locked image block; null only for an object without one
  BITMAPINFOHEADER* m_lpbmih;  ///< the header: the same address as m_lpDib
  BITMAPINFO* m_lpbmi;         ///< header and palette: the same address as m_lpDib
  RGBQUAD* m_lpPalette;        ///< m_lpDib + 40 for depths up to 8 bits, else null
  unsigned char* m_lpBits;     ///< the first byte of the pixel rows (the bottom row)
  int m_nAnchoAlineado;        ///< the row stride in bytes, refreshed by the pixel accessors
  CString m_strFileName;       ///< "SIN_NOMBRE.RAW" until the image is loaded or named

 private:
  int fnIMG_EqualizeNoRGBHistogram(int model);

  friend struct lamina::detail::BlockAccess;
};

static_assert(sizeof(CLamina::Punteros) == 5 * sizeof(void*), "five pointers");
static_assert(sizeof(CLamina::InfoMonitorestag) == 60, "fifteen 32-bit integers");
static_assert(sizeof(CLamina::InfoDesplazamientotag) == 24, "four floats and two integers");
static_assert(sizeof(CLamina::CualesRGB) == 16, "four flags");
static_assert(sizeof(CLamina::InformacionHistograma) == 96, "24 integers");
static_assert(sizeof(CLamina::CualesPlanosBits) == 96, "24 flags");
static_assert(sizeof(CLamina::CualesSuavizadoBinario) == 24, "six flags");
static_assert(sizeof(CLamina::CMYKQUADtag) == 16, "four floats");
static_assert(sizeof(CLamina::HSITRIPLEtag) == 12 && sizeof(CLamina::HSVTRIPLEtag) == 12 &&
                  sizeof(CLamina::HSLTRIPLEtag) == 12 && sizeof(CLamina::YIQTRIPLEtag) == 12 &&
                  sizeof(CLamina::YUVTRIPLEtag) == 12 && sizeof(CLamina::YCbCrTRIPLEtag) == 12 &&
                  sizeof(CLamina::XYZTRIPLEtag) == 12 && sizeof(CLamina::LABTRIPLEtag) == 12 &&
                  sizeof(CLamina::LUVTRIPLEtag) == 12,
              "three floats");

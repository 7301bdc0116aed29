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

  CLamina();
  CLamina(const unsigned char* bits, const RGBQUAD* palette, int width, int height, int bpp);
  CLamina(const CLamina& other);
  virtual ~CLamina();
  CLamina& operator=(const CLamina& other);

  int fnIMG_GetRows();
  int fnIMG_GetColumns();
  int fnIMG_GetColorDepth();
  int fnIMG_GetBitmapSize();
  int fnIMG_GetDIBSize();
  int fnIMG_GetLevels();
  int fnIMG_GetColorsUsed();
  BITMAPINFOHEADER fnIMG_GetBitmapInfoHeader();
  CLamina::Punteros fnIMG_GetPointers();
  int fnIMG_IsInside(int x, int y);
  void fnIMG_GetBitmap(unsigned char* dst);
  void fnIMG_SetBitmap(const unsigned char* src);
  void fnIMG_SetFileName(CString name);
  CString fnIMG_GetFileName();
  CString fnIMG_GetFileExt();
  int fnIMG_Initialize(unsigned int value);
  int fnIMG_Initialize(RGBQUAD colour);

  // ---- Pixels and alpha ----------------------------------------------------------------------

  unsigned int fnIMG_GetPixel(int x, int y);
  int fnIMG_SetPixel(int x, int y, unsigned int value);
  int fnIMG_GetRGBPixel(int x, int y, RGBQUAD* colour);
  int fnIMG_SetRGBPixel(int x, int y, RGBQUAD colour);
  unsigned char fnIMG_GetAlfa(int x, int y);
  int fnIMG_SetAlfa(int x, int y, unsigned char alpha);
  int fnIMG_SetAlfa(unsigned char alpha);
  int fnIMG_SetAlfa(int mode);
  RGBQUAD fnIMG_RGBToRGBQUAD(unsigned long rgb);
  unsigned long fnIMG_RGBQUADToRGB(RGBQUAD colour);

  // ---- Palettes ------------------------------------------------------------------------------

  int fnIMG_GetPalette(RGBQUAD* palette);
  int fnIMG_SetPalette(const RGBQUAD* palette);
  int fnIMG_GetPaletteSize();
  int fnIMG_GetPaletteIndex(RGBQUAD colour);
  int fnIMG_SetGrayPalette();
  int fnIMG_IsGray();
  int fnIMG_PseudoColor();

  // ---- Display and monitors ------------------------------------------------------------------

  int fnIMG_Draw(CDC* pDC, int x, int y);
  CLamina::InfoMonitorestag fnIMG_GetMonitorsInfo();

  // ---- Files and exchange --------------------------------------------------------------------

  int fnIMG_LoadBMP(CString name);
  int fnIMG_LoadBMP(CFile* file);
  int fnIMG_LoadBMPFromBuffer(unsigned char* buffer, int length);
  int fnIMG_SaveBMP(CString name);
  int fnIMG_SaveBMP(CFile* file);

  int fnIMG_LoadRAW(CString name);
  int fnIMG_LoadRAW(CFile* file);
  int fnIMG_LoadRAW(CString name, int width, int height);
  int fnIMG_LoadRAW(CFile* file, int width, int height);
  int fnIMG_LoadRAWFromBuffer(unsigned char* buffer, int length);
  int fnIMG_SaveRAW(CString name);
  int fnIMG_SaveRAW(CFile* file);

  int fnIMG_LoadPGM(CString name);
  int fnIMG_LoadPGM(CFile* file);
  int fnIMG_LoadPGMFromBuffer(unsigned char* buffer, int length);

  int fnIMG_SavePalette(CString name);
  int fnIMG_LoadPalette(CString name);

  void* fnIMG_CopyToHandle();
  void fnIMG_CopyFromHandle(void* handle);

  // ---- Depth conversion and colour to gray ---------------------------------------------------

  int fnIMG_ChangeColorDepth(int depthIndex);
  int fnIMG_ColorToGray(int method);

  // ---- Histograms and point operations -------------------------------------------------------

  int fnIMG_GetHistogram(int* table, int maxHeight);
  int fnIMG_GetInfoHistogram(CLamina::InformacionHistograma* info);
  int fnIMG_EqualizeHistogram(int model, int rounding);
  int fnIMG_GrayScaleLinealTransform(int a, int b, int c, int d, CLamina::CualesRGB channels);
  int fnIMG_NonLinearContrast(int model, int curve, float k);
  int fnIMG_Balance(int red, int green, int blue);
  int fnIMG_Brightness(int percent);
  int fnIMG_Gamma(float gamma);
  int fnIMG_ChangeGrayLevelsNumber(int levels);
  int fnIMG_Negative();
  int fnIMG_Negative(CLamina::CualesRGB channels);
  int fnIMG_GrayLevelSlicing(int mode, int low, int high, int inside, int outside);
  int fnIMG_FindThreshold(int method, int* second);
  int fnIMG_Thresholding(unsigned char threshold, unsigned char below, unsigned char above);
  int fnIMG_AdaptiveLocalThresholding(int blockHeight, int blockWidth, int threshold, int output);
  int fnIMG_BitPlane(int plane);
  int fnIMG_BitPlaneErase(CLamina::CualesPlanosBits planes);
  int fnIMG_AddNoise(int selection, int scope, int low, int high, int bandLow, int bandHigh,
                     int count);
  int fnIMG_AverageRow(int y, RGBQUAD* mean);
  int fnIMG_AverageColumn(int x, RGBQUAD* mean);
  int fnIMG_AverageImg(RGBQUAD* mean);

  // ---- Geometry and distortion ---------------------------------------------------------------

  int fnIMG_Rotation(int sizeMode, double angle, unsigned long background);
  int fnIMG_Rotation(int sizeMode, double angleY, double angleX, double angle,
                     unsigned long background);
  int fnIMG_Scaling(float horizontal, float vertical, int unit);
  int fnIMG_ScotomaZoom(int orientation, int x, int y, int nearWidth, int farWidth, int farReach,
                        int nearReach, int room, int fill, unsigned long colour);
  int fnIMG_Translation(int mode, int dx, int dy, unsigned long background);
  int fnIMG_Translation(int mode, int distance, float angle, float direction,
                        unsigned long background, InfoDesplazamientotag* info);
  int fnIMG_CalcularDesplazamientos(int distance, float angle, int monitor,
                                    InfoDesplazamientotag* info);
  int fnIMG_Flip(int mode);
  int fnIMG_Crop(int x1, int y1, int x2, int y2);
  int fnIMG_Interlace(int mode, CLamina* first, CLamina* second);
  int fnIMG_DeInterlace(int mode, int field);
  int fnIMG_Ellipse();
  int fnIMG_Undulation(int amplitude, int wavelength, int direction, unsigned long background);
  int fnIMG_Spiral(double twist, int radius);
  int fnIMG_Inclination(int kind, double amount, unsigned long background);
  int fnIMG_Mosaic(int blockHeight, int blockWidth);
  int fnIMG_Emboss(int distance);
  int fnIMG_Hoover(int mode, int x, int y, int passes);
  void mapBitmap(std::function<RGBQUAD(int, int)> colourAt);
  bool transformation(std::function<int(int, int)> sourceColumn,
                      std::function<int(int, int)> sourceRow);

  // ---- Combination ---------------------------------------------------------------------------

  int fnIMG_Arithmetic(int operation, CLamina* second);
  int fnIMG_Arithmetic(int operation, CLamina* second, float weightA, float weightB, int x, int y);
  int fnIMG_Insert(CLamina* second, int x, int y);
  int fnIMG_Logic(int operation, CLamina* second);
  int fnIMG_SetOps(int operation, CLamina* second);
  int fnIMG_GetDifferentPixels(CLamina* second);

  // ---- Neighbourhood operations --------------------------------------------------------------

  int fnIMG_Filters(int filter, int mapping, int border);
  int fnIMG_Convolution(int* kernel, int size, int divisor, int mapping, int border);
  int fnIMG_Morphological(int operation, unsigned char* element, int elementWidth,
                          int elementHeight, int originX, int originY);
  int fnIMG_BinarySmoothing(CLamina::CualesSuavizadoBinario rules);
  int fnIMG_RegionGrowing(int seedX, int seedY, int distance, int percent, unsigned char tolerance,
                          unsigned long fill);

  // ---- Frequency domain ----------------------------------------------------------------------

  int fnIMG_FFT(int mode);

  // ---- Colour models -------------------------------------------------------------------------

  CLamina::CMYKQUADtag fnIMG_RGBToCMYK(RGBQUAD colour, int scale);
  RGBQUAD fnIMG_CMYKToRGB(CLamina::CMYKQUADtag cmyk, int scale);
  CLamina::HSITRIPLEtag fnIMG_RGBToHSI(RGBQUAD colour, int scale);
  RGBQUAD fnIMG_HSIToRGB(CLamina::HSITRIPLEtag hsi, int scale);
  CLamina::HSVTRIPLEtag fnIMG_RGBToHSV(RGBQUAD colour, int scale);
  RGBQUAD fnIMG_HSVToRGB(CLamina::HSVTRIPLEtag hsv, int scale);
  CLamina::HSLTRIPLEtag fnIMG_RGBToHSL(RGBQUAD colour, int scale);
  RGBQUAD fnIMG_HSLToRGB(CLamina::HSLTRIPLEtag hsl, int scale);
  CLamina::YIQTRIPLEtag fnIMG_RGBToYIQ(RGBQUAD colour, int scale);
  RGBQUAD fnIMG_YIQToRGB(CLamina::YIQTRIPLEtag yiq, int scale);
  CLamina::YUVTRIPLEtag fnIMG_RGBToYUV(RGBQUAD colour, int scale);
  RGBQUAD fnIMG_YUVToRGB(CLamina::YUVTRIPLEtag yuv, int scale);
  CLamina::YCbCrTRIPLEtag fnIMG_RGBToYCbCr(RGBQUAD colour, int scale);
  RGBQUAD fnIMG_YCbCrToRGB(CLamina::YCbCrTRIPLEtag ycbcr, int scale);
  CLamina::XYZTRIPLEtag fnIMG_RGBToXYZ(RGBQUAD colour, int scale);
  RGBQUAD fnIMG_XYZToRGB(CLamina::XYZTRIPLEtag xyz, int scale);
  CLamina::LABTRIPLEtag fnIMG_XYZToLAB(CLamina::XYZTRIPLEtag xyz, int xyzScale, int labScale);
  CLamina::XYZTRIPLEtag fnIMG_LABToXYZ(CLamina::LABTRIPLEtag lab, int labScale, int xyzScale);
  CLamina::LABTRIPLEtag fnIMG_RGBToLAB(RGBQUAD colour, int labScale);
  RGBQUAD fnIMG_LABToRGB(CLamina::LABTRIPLEtag lab, int labScale);
  CLamina::LUVTRIPLEtag fnIMG_XYZToLUV(CLamina::XYZTRIPLEtag xyz, int xyzScale, int luvScale);
  CLamina::XYZTRIPLEtag fnIMG_LUVToXYZ(CLamina::LUVTRIPLEtag luv, int luvScale, int xyzScale);
  CLamina::LUVTRIPLEtag fnIMG_RGBToLUV(RGBQUAD colour, int luvScale);
  RGBQUAD fnIMG_LUVToRGB(CLamina::LUVTRIPLEtag luv, int luvScale);
  int fnIMG_Split(int model, CLamina* first, CLamina* second, CLamina* third, CLamina* fourth);

 protected:
  int fnIMG_GetAnchoBitmapAlineado();
  int fnIMG_GetAnchoBitmapAlineado(int width, int bpp);
  int fnIMG_GetSizeBitmapAlineado();
  int fnIMG_GetSizeBitmapAlineado(int width, int height, int bpp);
  void fnIMG_Fourier(_complex* data, int m);
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

// CLamina: one object is one raster image, held as a packed device-independent bitmap in a single
// movable memory block (a 40-byte BITMAPINFOHEADER, a palette for depths up to 8 bits, then the
// pixel rows bottom-up, each padded to 4 bytes). Depths 1, 4, 8, 24 and 32 are processed; 16-bit
// images can be loaded, copied, saved and exchanged. Almost every operation works in place and
// returns an integer result code, 0 for success; a failing call leaves the image as it was.
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

class LAMINA_API CLamina {
 public:
  // ---- Records -------------------------------------------------------------------------------

  struct Punteros {
    unsigned char* lpDib;
    BITMAPINFOHEADER* lpbmih;
    BITMAPINFO* lpbmi;
    RGBQUAD* lpPalette;
    unsigned char* lpBits;
  };

  struct InfoMonitorestag {
    int nMonitores;
    int nPulgadas1;
    int nPulgadas2;
    int nResolucionX1;
    int nResolucionY1;
    int nResolucionX2;
    int nResolucionY2;
    int nTamanoX1;
    int nTamanoY1;
    int nTamanoX2;
    int nTamanoY2;
    int nPixelesPulgadaX1;
    int nPixelesPulgadaY1;
    int nPixelesPulgadaX2;
    int nPixelesPulgadaY2;
  };

  struct InfoDesplazamientotag {
    float fDesplazamiento;
    float fDesplazamientoPulgadas;
    float fDesplazamientoX;
    float fDesplazamientoY;
    int nPixelesX;
    int nPixelesY;
  };

  struct CualesRGB {
    int bGris;
    int bRojo;
    int bVerde;
    int bAzul;
  };

  struct InformacionHistograma {
    int nMinI, nFrecMinI, nMinR, nFrecMinR, nMinG, nFrecMinG, nMinB, nFrecMinB;
    int nMaxI, nFrecMaxI, nMaxR, nFrecMaxR, nMaxG, nFrecMaxG, nMaxB, nFrecMaxB;
    int nModaI, nFrecModaI, nModaR, nFrecModaR, nModaG, nFrecModaG, nModaB, nFrecModaB;
  };

  struct CualesPlanosBits {
    int bPlano23, bPlano22, bPlano21, bPlano20, bPlano19, bPlano18, bPlano17, bPlano16;
    int bPlano15, bPlano14, bPlano13, bPlano12, bPlano11, bPlano10, bPlano9, bPlano8;
    int bPlano7, bPlano6, bPlano5, bPlano4, bPlano3, bPlano2, bPlano1, bPlano0;
  };

  struct CualesSuavizadoBinario {
    int bRegla1;
    int bRegla2;
    int bRegla3;
    int bRegla4;
    int bRegla5;
    int bRegla6;
  };

  struct CMYKQUADtag {
    float cmykCyan;
    float cmykMagenta;
    float cmykYellow;
    float cmykBlack;
  };
  struct HSITRIPLEtag {
    float hsiHue;
    float hsiSaturation;
    float hsiIntensity;
  };
  struct HSVTRIPLEtag {
    float hsvHue;
    float hsvSaturation;
    float hsvValue;
  };
  struct HSLTRIPLEtag {
    float hslHue;
    float hslSaturation;
    float hslLightness;
  };
  struct YIQTRIPLEtag {
    float yiqY;
    float yiqI;
    float yiqQ;
  };
  struct YUVTRIPLEtag {
    float yuvY;
    float yuvU;
    float yuvV;
  };
  struct YCbCrTRIPLEtag {
    float ycbcrY;
    float ycbcrCb;
    float ycbcrCr;
  };
  struct XYZTRIPLEtag {
    float xyzX;
    float xyzY;
    float xyzZ;
  };
  struct LABTRIPLEtag {
    float labL;
    float labA;
    float labB;
  };
  struct LUVTRIPLEtag {
    float luvL;
    float luvU;
    float luvV;
  };

  // A point of region growing: column and row.
  class LAMINA_API CPunto : public CObject {
   public:
    CPunto();
    CPunto(int x, int y);
    ~CPunto() override;
    int x;
    int y;
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
  ///   caller and only read. @param originX 0 to elementWidth - 1; @param originY 0 to
  ///   elementHeight - 1.
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
  /// Forward discrete Fourier transform of data[0 .. 2^m - 1] in place, without scaling: the
  /// samples in bit-reversed order, then m radix-2 decimation-in-time stages whose twiddles start
  /// at 1 and advance by one multiplication with cos(pi / h) - i sin(pi / h), pi written as
  /// 3.14159265. The results are bit for bit those of that textbook loop.
  /// @param data 2^m samples (x the real part, y the imaginary part), owned by the caller.
  /// @param m 0 to 30; a null array or any other m is ignored. The transform borrows 16 bytes
  ///   per sample of working memory; without it, it runs in place, more slowly, to the same bits.
  void fnIMG_Fourier(_complex* data, int m);
  int fnIMG_TransfPixel(float u, float v, float& uOut, float& vOut);

  unsigned char* m_lpDib;         // the locked image block; null only for an object without one
  BITMAPINFOHEADER* m_lpbmih;     // the header: the same address as m_lpDib
  BITMAPINFO* m_lpbmi;            // header and palette: the same address as m_lpDib
  RGBQUAD* m_lpPalette;           // m_lpDib + 40 for depths up to 8 bits, else null
  unsigned char* m_lpBits;        // the first byte of the pixel rows (the bottom row)
  int m_nAnchoAlineado;           // the row stride in bytes, refreshed by the pixel accessors
  CString m_strFileName;          // "SIN_NOMBRE.RAW" until the image is loaded or named

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

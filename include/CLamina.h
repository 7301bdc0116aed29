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
  /// @param x, y the split point; nearWidth, farWidth, farReach, nearReach 0 or more, such that
  ///        the band and the reach stay inside the image.
  /// @param room 0 push the sides outward (what crosses the border is lost), 1 squeeze them.
  /// @param fill 0 paint the band with `colour`, 1 repeat the split line as it was (the pixel at
  ///        column x of each row, or at row y of each column).
  /// @param colour packed colour; on palette images its first entry, or all ones when absent.
  /// @return 0 done; 1 orientation not 0 or 1; 2 the band or the reach leaves the image, or a
  ///         width or reach is negative; 3 room not 0 or 1; 4 fill not 0 or 1; 5 depth not 1, 4,
  ///         8, 24 or 32 bits; 6 not enough memory for the copies. On a failure nothing changes.
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
  void mapBitmap(std::function<RGBQUAD(int, int)> colourAt);
  /// Resamples by inverse mapping: destination (x, y) takes the pixel at (sourceColumn(x, y),
  /// sourceRow(x, y)) of the picture as it was (the column function is asked first; rows from the
  /// top, columns from the left); points outside give black at 24 and 32 bits and the all-ones
  /// index at 1, 4 and 8. Built aside and copied over the rows, so the block, header, palette and
  /// name stay; the row padding, unused bits and 32-bit fourth bytes come out 0. On a 16-bit image
  /// the functions are asked for every pixel and the pixels stay. An empty function throws
  /// std::bad_function_call when first asked; any exception from a function leaves the image
  /// unchanged.
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

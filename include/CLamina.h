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

/// @file
///
/// The Windows scalar types and bitmap records the interface is written in, with their Windows
/// sizes and layouts, so code written against the Windows headers compiles, and reads and writes
/// bitmap files, unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

typedef std::uint8_t BYTE;        ///< an unsigned 8-bit integer
typedef std::uint16_t WORD;       ///< an unsigned 16-bit integer
typedef std::uint32_t DWORD;      ///< an unsigned 32-bit integer
typedef std::int32_t LONG;        ///< a signed 32-bit integer, as on Windows, whatever long is here
typedef std::int64_t LONGLONG;    ///< a signed 64-bit integer
typedef std::uint64_t ULONGLONG;  ///< an unsigned 64-bit integer
typedef unsigned int UINT;        ///< an unsigned int
typedef int BOOL;                 ///< a truth value: FALSE (0) or TRUE (any other value)
typedef std::size_t SIZE_T;       ///< a size in bytes
typedef void* LPVOID;             ///< an address
typedef const void* LPCVOID;      ///< an address of read-only bytes
typedef BYTE* LPBYTE;             ///< an address of bytes
typedef wchar_t WCHAR;            ///< a wide character
typedef const wchar_t* LPCWSTR;   ///< a null-terminated wide string
typedef const wchar_t* LPCTSTR;   ///< a null-terminated wide string (the text type of CString)
typedef void* HGLOBAL;            ///< a movable memory handle (see memory.h)

#ifndef TRUE
/// The BOOL value for true.
#  define TRUE 1
#endif
#ifndef FALSE
/// The BOOL value for false.
#  define FALSE 0
#endif

#ifndef BI_RGB
/// biCompression: uncompressed rows, the only form the library keeps.
#  define BI_RGB 0L
/// biCompression: 8-bit run-length encoding (refused by the loaders).
#  define BI_RLE8 1L
/// biCompression: 4-bit run-length encoding (refused by the loaders).
#  define BI_RLE4 2L
/// biCompression: colour masks after the header (refused by the loaders).
#  define BI_BITFIELDS 3L
#endif

/// A colour, or a palette entry: blue, green, red and a fourth byte, one byte each in that order
/// (4 bytes).
struct RGBQUAD {
  BYTE rgbBlue;      ///< blue, 0 to 255
  BYTE rgbGreen;     ///< green, 0 to 255
  BYTE rgbRed;       ///< red, 0 to 255
  BYTE rgbReserved;  ///< the fourth byte: kept in palette entries, 0 in colours the library returns
};

/// The 40-byte header at the start of an image block and of a BMP file's bitmap (little-endian,
/// in this order). The library writes biSize 40, biPlanes 1, biCompression 0 and resolutions 0 for
/// the images it builds.
struct BITMAPINFOHEADER {
  DWORD biSize;          ///< the size of this header in bytes: 40
  LONG biWidth;          ///< the width in pixels
  LONG biHeight;         ///< the height in pixels; positive, the rows stored bottom-up
  WORD biPlanes;         ///< the number of planes: 1
  WORD biBitCount;       ///< bits per pixel: 1, 4, 8, 24 or 32 (16 loaded, not processed)
  DWORD biCompression;   ///< BI_RGB (0): uncompressed
  DWORD biSizeImage;     ///< the size of the pixel rows in bytes, at least stride x height
  LONG biXPelsPerMeter;  ///< horizontal resolution in pixels per metre (0: not given)
  LONG biYPelsPerMeter;  ///< vertical resolution in pixels per metre (0: not given)
  DWORD biClrUsed;       ///< palette entries; 0 means all 2^depth (2^24 written above 8 bits)
  DWORD biClrImportant;  ///< colours needed to show the image; kept, not used
};

/// A header followed by its palette: the start of an image block seen as one record.
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;  ///< the header
  RGBQUAD bmiColors[1];        ///< the first palette entry; the others follow it
};

#pragma pack(push, 2)
/// The 14-byte header at the start of a BMP file (packed to 2 bytes, little-endian).
struct BITMAPFILEHEADER {
  WORD bfType;       ///< "BM" (0x4D42)
  DWORD bfSize;      ///< the file's size in bytes (not checked on reading)
  WORD bfReserved1;  ///< 0
  WORD bfReserved2;  ///< 0
  DWORD bfOffBits;   ///< the offset of the pixel rows from the start of the file
};
#pragma pack(pop)

typedef RGBQUAD* LPRGBQUAD;                    ///< the address of an RGBQUAD
typedef BITMAPINFOHEADER* LPBITMAPINFOHEADER;  ///< the address of a BITMAPINFOHEADER
typedef BITMAPINFO* LPBITMAPINFO;              ///< the address of a BITMAPINFO

static_assert(sizeof(RGBQUAD) == 4, "RGBQUAD is 4 bytes");
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER is 40 bytes");
static_assert(sizeof(BITMAPFILEHEADER) == 14, "BITMAPFILEHEADER is 14 bytes");
static_assert(offsetof(BITMAPINFOHEADER, biBitCount) == 14, "Windows layout");
static_assert(offsetof(BITMAPINFOHEADER, biClrImportant) == 36, "Windows layout");

// PNG and JPEG files for CLamina images. They live in a library of their own, Lamina::formats
// (libLaminaFormats), built on libpng and libjpeg, so that the core library (libCLamina) keeps
// needing nothing but the C++ runtime. Link Lamina::formats (CMake) or lamina-formats (pkg-config).
//
// Every function returns 0 on success or a result code listed below; Meaning() gives the code's
// meaning in a few words. A failed load or save leaves the image exactly as it was (block, header,
// palette and name), and a failed save by name creates or truncates no file unless the failure is
// the write itself. Nothing throws.
//
// What a loaded file becomes:
//   PNG palette, 1, 2, 4 or 8 bits  1, 4 (2 bits widened), 4 or 8-bit image with the file's
//                                   palette (entries it lacks are black); transparency dropped
//   PNG gray, 1 to 16 bits          8 bits with the gray ramp palette (1, 2, 4 bits scaled to
//                                   0..255, 16 bits rounded to 8); a transparent gray dropped
//   PNG gray + alpha                32 bits: gray in blue, green and red, alpha in the fourth byte
//   PNG RGB, 8 or 16 bits           24 bits (16-bit channels rounded to 8); transparent colour
//                                   dropped
//   PNG RGBA, 8 or 16 bits          32 bits with alpha in the fourth byte
//   JPEG gray                       8 bits with the gray ramp palette
//   JPEG colour (YCbCr or RGB)      24 bits
// Interlaced PNGs and baseline, progressive and arithmetic-coded JPEGs are read; gamma and other
// colour information in the file is not applied. The header is the one the data constructor makes
// (biClrUsed and biClrImportant = the depth's levels, no resolution). Loading by name names the
// image after the file (without its folders); loading from a buffer keeps the image's name.
//
// What is written:
//   SavePNG   1, 4, 8 bits: a palette PNG of the same depth with the image's palette (entries
//             beyond it that pixels use are written black, as the image shows them); 24 bits: RGB;
//             32 bits: RGBA, the fourth byte as alpha (0, as images built by the library have it,
//             is fully transparent: set it with fnIMG_SetAlfa(255) first for an opaque picture);
//             16 bits: RGB with the 5-bit channels widened to 8. Loading the file gives the same
//             colours (and alpha) back; PNG cannot hold an image without pixels (width or height
//             0).
//   SaveJPEG  8 bits: gray when every palette entry is gray, otherwise the palette's colours;
//             24 bits: colour. `quality` 1 (smallest) to 100 (best), as libjpeg takes it.
#pragma once

#include <cstddef>
#include <vector>

#include "CLamina.h"

#if defined(_WIN32)
#if defined(LAMINA_FORMATS_BUILDING)
#define LAMINA_FORMATS_API __declspec(dllexport)
#else
#define LAMINA_FORMATS_API __declspec(dllimport)
#endif
#else
#define LAMINA_FORMATS_API __attribute__((visibility("default")))
#endif

namespace lamina {
namespace formats {

// LoadPNG, LoadPNGFromBuffer: 1 the file cannot be opened · 2 not a PNG file · 3 the file is
// damaged or truncated · 4 the picture is too large for one image block (2 GiB) · 5 not enough
// memory.
LAMINA_FORMATS_API int LoadPNG(CLamina& image, const CString& name);
LAMINA_FORMATS_API int LoadPNGFromBuffer(CLamina& image, const unsigned char* data,
                                         std::size_t length);

// LoadJPEG, LoadJPEGFromBuffer: 1 the file cannot be opened · 2 not a JPEG file · 3 the file is
// damaged or truncated · 4 samples of more than 8 bits (12-bit JPEG) · 5 a colour space other than
// gray, YCbCr or RGB (CMYK) · 6 the picture is too large for one image block · 7 not enough memory.
LAMINA_FORMATS_API int LoadJPEG(CLamina& image, const CString& name);
LAMINA_FORMATS_API int LoadJPEGFromBuffer(CLamina& image, const unsigned char* data,
                                          std::size_t length);

// SavePNG, SavePNGToBuffer: 1 nothing PNG can hold (no image, no pixels, a damaged header) · 2 the
// file cannot be created · 3 a write failed · 4 not enough memory. `out` is replaced by the file's
// bytes on success and left as it was otherwise.
LAMINA_FORMATS_API int SavePNG(CLamina& image, const CString& name);
LAMINA_FORMATS_API int SavePNGToBuffer(CLamina& image, std::vector<unsigned char>& out);

// SaveJPEG, SaveJPEGToBuffer: 1 the depth is not 8 or 24 bits (or no image, no pixels, or a size
// above 65535) · 2 quality outside 1 to 100 · 3 the file cannot be created · 4 a write failed ·
// 5 not enough memory.
LAMINA_FORMATS_API int SaveJPEG(CLamina& image, const CString& name, int quality = 90);
LAMINA_FORMATS_API int SaveJPEGToBuffer(CLamina& image, std::vector<unsigned char>& out,
                                        int quality = 90);

// The meaning of `code` as returned by `operation` ("LoadPNG", "LoadJPEG", "SavePNG", "SaveJPEG";
// the buffer forms share their file form's codes), in a few lower-case words; "success" for 0 and
// null for a code the operation does not have.
LAMINA_FORMATS_API const char* Meaning(const char* operation, int code);

}  // namespace formats
}  // namespace lamina

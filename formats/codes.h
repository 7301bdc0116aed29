// Result codes of the PNG and JPEG operations, one namespace per operation (see
// core/result_codes.h); the buffer forms share their file form's table. Meaning() in the public
// header reads them from here, and so can the command-line tool and the README.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

namespace load_png {
inline constexpr ResultCode kCannotOpen{1, "the file cannot be opened", true};
inline constexpr ResultCode kNotPng{2, "not a PNG file"};
inline constexpr ResultCode kDamaged{3, "the file is damaged or truncated"};
inline constexpr ResultCode kTooLarge{4, "the picture is too large for one image block"};
inline constexpr ResultCode kNoMemory{5, "not enough memory"};
inline constexpr ResultCode kAll[] = {kCannotOpen, kNotPng, kDamaged, kTooLarge, kNoMemory};
}  // namespace load_png

namespace load_jpeg {
inline constexpr ResultCode kCannotOpen{1, "the file cannot be opened", true};
inline constexpr ResultCode kNotJpeg{2, "not a JPEG file"};
inline constexpr ResultCode kDamaged{3, "the file is damaged or truncated"};
inline constexpr ResultCode kPrecision{
    4, "samples of more than 8 bits (12-bit JPEG) are not supported"};
inline constexpr ResultCode kColourSpace{5, "a colour space other than gray, YCbCr or RGB (CMYK)"};
inline constexpr ResultCode kTooLarge{6, "the picture is too large for one image block"};
inline constexpr ResultCode kNoMemory{7, "not enough memory"};
inline constexpr ResultCode kAll[] = {kCannotOpen,  kNotJpeg,  kDamaged, kPrecision,
                                      kColourSpace, kTooLarge, kNoMemory};
}  // namespace load_jpeg

namespace save_png {
inline constexpr ResultCode kNothing{
    1, "nothing PNG can hold (no image, no pixels, or a damaged header)"};
inline constexpr ResultCode kCannotCreate{2, "the file cannot be created", true};
inline constexpr ResultCode kWriteFailed{3, "a write failed", true};
inline constexpr ResultCode kNoMemory{4, "not enough memory"};
inline constexpr ResultCode kAll[] = {kNothing, kCannotCreate, kWriteFailed, kNoMemory};
}  // namespace save_png

namespace save_jpeg {
inline constexpr ResultCode kDepth{
    1, "the depth is not 8 or 24 bits (or no image, no pixels, or a side above 65535)"};
inline constexpr ResultCode kQuality{2, "the quality is outside 1 to 100"};
inline constexpr ResultCode kCannotCreate{3, "the file cannot be created", true};
inline constexpr ResultCode kWriteFailed{4, "a write failed", true};
inline constexpr ResultCode kNoMemory{5, "not enough memory"};
inline constexpr ResultCode kAll[] = {kDepth, kQuality, kCannotCreate, kWriteFailed, kNoMemory};
}  // namespace save_jpeg

inline constexpr OperationCodes kFormatOperations[] = {
    {"LoadPNG", load_png::kAll},
    {"LoadJPEG", load_jpeg::kAll},
    {"SavePNG", save_png::kAll},
    {"SaveJPEG", save_jpeg::kAll},
};

}  // namespace codes
}  // namespace lamina

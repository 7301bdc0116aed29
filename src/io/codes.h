// Result codes of the file and exchange operations, one namespace per operation (see
// core/result_codes.h).
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_LoadBMP (by name, file object and buffer; code 1 only by name).
namespace load_bmp {
inline constexpr ResultCode kCannotOpen{1, "the file cannot be opened for reading", true};
inline constexpr ResultCode kNotBmp{2, "not a BMP file (it does not start with BM)"};
inline constexpr ResultCode kDepth{3, "the depth is not 1, 4, 8, 16, 24 or 32 bits"};
inline constexpr ResultCode kCompressed{4, "the file is compressed"};
inline constexpr ResultCode kDamaged{5, "the file is damaged or inconsistent"};
inline constexpr ResultCode kNoMemory{6, "not enough memory"};
inline constexpr ResultCode kAll[] = {kCannotOpen, kNotBmp,  kDepth,
                                      kCompressed, kDamaged, kNoMemory};
}  // namespace load_bmp

// fnIMG_SaveBMP (by name and file object; code 1 only by name).
namespace save_bmp {
inline constexpr ResultCode kCannotCreate{1, "the file cannot be created", true};
inline constexpr ResultCode kWriteFailed{2, "a write failed, or the object holds no image", true};
inline constexpr ResultCode kUnreadable{
    3, "the image's header describes no file a loader takes; nothing is written"};
inline constexpr ResultCode kAll[] = {kCannotCreate, kWriteFailed, kUnreadable};
}  // namespace save_bmp

}  // namespace codes
}  // namespace lamina

// The result codes of the file and exchange operations, one namespace per operation (or per group
// of forms that share their codes) in the order the operations are declared. Codes for files that
// cannot be opened, created or written carry the system's reason.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_LoadBMP(CString).
namespace load_bmp {
inline constexpr ResultCode kCannotOpen{1, "cannot open", true};
inline constexpr ResultCode kNotBmp{2, "not \"BM\""};
inline constexpr ResultCode kDepth{3, "depth not 1/4/8/16/24/32"};
inline constexpr ResultCode kCompressed{4, "compressed"};
inline constexpr ResultCode kDamaged = Added({5, "damaged or inconsistent file"});
inline constexpr ResultCode kNoMemory = Added({6, "not enough memory"});
inline constexpr ResultCode kAll[] = {kCannotOpen, kNotBmp,  kDepth,
                                      kCompressed, kDamaged, kNoMemory};
}  // namespace load_bmp

// fnIMG_LoadBMP(CFile*) and fnIMG_LoadBMPFromBuffer: the same codes but the first (a null file
// object is a damaged file).
namespace load_bmp_data {
using load_bmp::kCompressed;
using load_bmp::kDamaged;
using load_bmp::kDepth;
using load_bmp::kNoMemory;
using load_bmp::kNotBmp;
inline constexpr ResultCode kAll[] = {kNotBmp, kDepth, kCompressed, kDamaged, kNoMemory};
}  // namespace load_bmp_data

// fnIMG_SaveBMP(CString). Nothing is created for an object without an image.
namespace save_bmp {
inline constexpr ResultCode kCannotCreate{1, "cannot create", true};
inline constexpr ResultCode kWriteFailed =
    Added({2, "a write failed, or the object holds no image", true});
inline constexpr ResultCode kUnreadable =
    Added({3, "the image's header describes a file no loader takes; nothing is written"});
inline constexpr ResultCode kAll[] = {kCannotCreate, kWriteFailed, kUnreadable};
}  // namespace save_bmp

// fnIMG_SaveBMP(CFile*).
namespace save_bmp_file {
inline constexpr ResultCode kWriteFailed =
    Added({2, "a write failed, no image, or a null file", true});
inline constexpr ResultCode kUnreadable = Added({3, "as above"});
inline constexpr ResultCode kAll[] = {kWriteFailed, kUnreadable};
}  // namespace save_bmp_file

// fnIMG_LoadRAW, all four forms (those taking a file object refuse a null one with 1).
namespace load_raw {
inline constexpr ResultCode kCannotOpen{1, "cannot open (or a null file object)", true};
inline constexpr ResultCode kLength{2, "length not in the size table / not width x height"};
inline constexpr ResultCode kSize =
    Added({3, "width or height not positive, or too large for one block"});
inline constexpr ResultCode kShort = Added({4, "the file ended before all its pixels were read"});
inline constexpr ResultCode kNoMemory = Added({5, "not enough memory"});
inline constexpr ResultCode kAll[] = {kCannotOpen, kLength, kSize, kShort, kNoMemory};
}  // namespace load_raw

// fnIMG_LoadRAWFromBuffer.
namespace load_raw_from_buffer {
inline constexpr ResultCode kLength{1, "length not in the size table"};
inline constexpr ResultCode kNullBuffer = Added({2, "null buffer"});
inline constexpr ResultCode kNoMemory = Added({3, "not enough memory"});
inline constexpr ResultCode kAll[] = {kLength, kNullBuffer, kNoMemory};
}  // namespace load_raw_from_buffer

// fnIMG_SaveRAW(CString).
namespace save_raw {
inline constexpr ResultCode kCannotCreate{1, "cannot create", true};
inline constexpr ResultCode kDepth =
    Added({2, "the depth cannot be written (16 bits, or no image); no file is made"});
inline constexpr ResultCode kNoMemory =
    Added({3, "not enough memory for the conversion; no file is made"});
inline constexpr ResultCode kWriteFailed = Added({4, "a write failed", true});
inline constexpr ResultCode kAll[] = {kCannotCreate, kDepth, kNoMemory, kWriteFailed};
}  // namespace save_raw

// fnIMG_SaveRAW(CFile*).
namespace save_raw_file {
inline constexpr ResultCode kNullFile = Added({1, "null file object"});
using save_raw::kDepth;
using save_raw::kNoMemory;
using save_raw::kWriteFailed;
inline constexpr ResultCode kAll[] = {kNullFile, kDepth, kNoMemory, kWriteFailed};
}  // namespace save_raw_file

// fnIMG_LoadPGM, name and file forms.
namespace load_pgm {
inline constexpr ResultCode kCannotOpen{1, "cannot open (or a null file object)", true};
inline constexpr ResultCode kNotP5{2, "the byte after \"P\" is not \"5\""};
inline constexpr ResultCode kCutShort = Added({3, "the file ends inside the header"});
inline constexpr ResultCode kNotDigit = Added({4, "a number holds a byte that is not a digit"});
inline constexpr ResultCode kMaxval = Added({5, "maxval 0 or above 255"});
inline constexpr ResultCode kSize = Added({6, "width or height 0, or too large for one block"});
inline constexpr ResultCode kShort = Added({7, "fewer pixel bytes than width x height"});
inline constexpr ResultCode kNoMemory = Added({8, "not enough memory"});
inline constexpr ResultCode kAll[] = {kCannotOpen, kNotP5, kCutShort, kNotDigit,
                                      kMaxval,     kSize,  kShort,    kNoMemory};
}  // namespace load_pgm

// fnIMG_LoadPGMFromBuffer: the file forms' codes less one (it has no "cannot open").
namespace load_pgm_from_buffer {
inline constexpr ResultCode kNotP5{1, "not \"P5\""};
inline constexpr ResultCode kCutShort = Added({2, "ends inside the header (or no buffer)"});
inline constexpr ResultCode kNotDigit = Added({3, "not a digit"});
inline constexpr ResultCode kMaxval = Added({4, "maxval"});
inline constexpr ResultCode kSize = Added({5, "width, height or size"});
inline constexpr ResultCode kShort = Added({6, "pixel bytes short"});
inline constexpr ResultCode kNoMemory = Added({7, "not enough memory"});
inline constexpr ResultCode kAll[] = {kNotP5, kCutShort, kNotDigit, kMaxval,
                                      kSize,  kShort,    kNoMemory};
}  // namespace load_pgm_from_buffer

// fnIMG_SavePalette.
namespace save_palette {
inline constexpr ResultCode kDepth{1, "not 4 or 8 bits"};
inline constexpr ResultCode kCannotCreate{2, "cannot create", true};
inline constexpr ResultCode kWriteFailed = Added({3, "a write failed", true});
inline constexpr ResultCode kAll[] = {kDepth, kCannotCreate, kWriteFailed};
}  // namespace save_palette

// fnIMG_LoadPalette.
namespace load_palette {
inline constexpr ResultCode kDepth{1, "not 4 or 8 bits"};
inline constexpr ResultCode kCannotOpen{2, "cannot open", true};
inline constexpr ResultCode kNotJasc{3, "not \"JASC-PAL\" or a count other than 16 or 256"};
inline constexpr ResultCode kCutShort = Added({4, "the file ends inside its header or entries"});
inline constexpr ResultCode kAll[] = {kDepth, kCannotOpen, kNotJasc, kCutShort};
}  // namespace load_palette

}  // namespace codes
}  // namespace lamina

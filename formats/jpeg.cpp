// JPEG files through libjpeg.
//
// libjpeg reports errors by calling error_exit, which here longjmps back to a setjmp and so skips
// the destructors of everything in between. The calls into libjpeg therefore live in small
// functions (ReadHeader, ReadRows, Encode) that hold plain data only and return a code; everything
// with a destructor lives in their callers, which no longjmp crosses.
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <cstdlib>
#include <cstring>
#include <new>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>  // after jpeglib.h, whose configuration says which messages exist
// clang-format on

#include "codes.h"
#include "common.h"

namespace lamina {
namespace formats {

namespace {

namespace load = codes::load_jpeg;
namespace save = codes::save_jpeg;
using detail::Picture;
using detail::Source;

// libjpeg's error manager with somewhere to jump to and the code to report.
struct ErrorTrap {
  jpeg_error_mgr manager;  // first: libjpeg sees a pointer to it as the whole record
  std::jmp_buf jump;
  int damaged, noMemory;  // the codes of the operation under way
  int code;
};

int CodeFor(const ErrorTrap* t, int message) {
  switch (message) {
    case JERR_BAD_PRECISION:
      return load::kPrecision;  // only reading meets it
    case JERR_OUT_OF_MEMORY:
    case JERR_NO_BACKING_STORE:
      return t->noMemory;
    default:
      return t->damaged;
  }
}

void OnError(j_common_ptr info) {
  auto* t = reinterpret_cast<ErrorTrap*>(info->err);
  t->code = CodeFor(t, t->manager.msg_code);
  std::longjmp(t->jump, 1);
}

// Warnings (level -1) that mean the data is corrupt or ends early: libjpeg would fill the rest of
// the picture with gray and carry on, and the caller would get a picture that is not the file's.
// Others (an unknown JFIF version or Adobe transform, stray bytes between segments) leave the
// picture whole and are let pass.
void OnMessage(j_common_ptr info, int level) {
  if (level >= 0) return;
  auto* t = reinterpret_cast<ErrorTrap*>(info->err);
  switch (t->manager.msg_code) {
    case JWRN_ARITH_BAD_CODE:
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_JPEG_EOF:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
      t->code = t->damaged;
      std::longjmp(t->jump, 1);
    default:
      return;
  }
}
void Silent(j_common_ptr) {}

void SetTrap(ErrorTrap* t, int damaged, int noMemory) {
  jpeg_std_error(&t->manager);
  t->manager.error_exit = OnError;
  t->manager.emit_message = OnMessage;
  t->manager.output_message = Silent;
  t->damaged = damaged;
  t->noMemory = noMemory;
  t->code = 0;
}

// libjpeg's working memory (for a progressive file, the coefficients of the whole picture) is
// limited to this; a file that needs more is refused as "not enough memory" rather than letting a
// small hostile file claim gigabytes.
constexpr long kWorkingMemory = 1L << 30;

// ---- Reading -----------------------------------------------------------------------------------

struct JpegRead {
  ErrorTrap trap;
  jpeg_decompress_struct info;
  bool created;
  int bpp;
};

int ReadHeader(JpegRead* r, const unsigned char* data, std::size_t size) {
  SetTrap(&r->trap, load::kDamaged, load::kNoMemory);
  r->info.err = &r->trap.manager;
  if (setjmp(r->trap.jump)) return r->trap.code;
  jpeg_create_decompress(&r->info);
  r->created = true;
  r->info.mem->max_memory_to_use = kWorkingMemory;
  jpeg_mem_src(&r->info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&r->info, TRUE);
  switch (r->info.jpeg_color_space) {
    case JCS_GRAYSCALE:
      r->info.out_color_space = JCS_GRAYSCALE;
      r->bpp = 8;
      break;
    case JCS_YCbCr:
    case JCS_RGB:
      r->info.out_color_space = JCS_EXT_BGR;  // the image's byte order
      r->bpp = 24;
      break;
    default:
      return load::kColourSpace;
  }
  return 0;
}

// Decodes every row into `rows` (top row first) and reads to the end of the file.
int ReadRows(JpegRead* r, std::uint8_t** rows) {
  if (setjmp(r->trap.jump)) return r->trap.code;
  jpeg_start_decompress(&r->info);
  while (r->info.output_scanline < r->info.output_height) {
    const JDIMENSION got = jpeg_read_scanlines(&r->info, rows + r->info.output_scanline,
                                               r->info.output_height - r->info.output_scanline);
    if (got == 0) return load::kDamaged;  // cannot happen with all the data in memory
  }
  jpeg_finish_decompress(&r->info);
  return 0;
}

struct ReadGuard {
  JpegRead* r;
  ~ReadGuard() {
    if (r->created) jpeg_destroy_decompress(&r->info);
  }
};

int Decode(CLamina& image, const std::uint8_t* data, std::size_t size, const CString* name) {
  // A JPEG file starts with the start-of-image marker and another marker's first byte.
  if (data == nullptr || size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF)
    return load::kNotJpeg;
  JpegRead r{};
  ReadGuard guard{&r};
  int code = ReadHeader(&r, data, size);
  if (code != 0) return code;
  Picture picture;
  switch (picture.Create(r.info.image_width, r.info.image_height, r.bpp)) {
    case Picture::Result::kOk:
      break;
    case Picture::Result::kTooLarge:
      return load::kTooLarge;
    case Picture::Result::kNoMemory:
      return load::kNoMemory;
  }
  if (r.bpp == 8) picture.SetGrayRamp();
  std::unique_ptr<std::uint8_t*[]> rows(new (std::nothrow) std::uint8_t*[r.info.image_height]);
  if (rows == nullptr) return load::kNoMemory;
  for (JDIMENSION y = 0; y < r.info.image_height; ++y) rows[y] = picture.Row(y);
  code = ReadRows(&r, rows.get());
  if (code != 0) return code;
  picture.ClearPadding();
  if (!picture.GiveTo(image)) return load::kNoMemory;
  if (name != nullptr) image.fnIMG_SetFileName(*name);
  return 0;
}

// ---- Writing -----------------------------------------------------------------------------------

struct JpegWrite {
  ErrorTrap trap;
  jpeg_compress_struct info;
  bool created;
  unsigned char* out;  // from the C heap (libjpeg's memory destination); the guard frees it
  unsigned long size;
  const Source* source;
  bool gray;
  std::uint8_t* scratch;  // one row, for 8-bit colour palettes
};

// Row y as libjpeg takes it: 24-bit rows as they are (blue, green, red), gray rows as the
// palette's gray levels, other 8-bit rows as their palette colours.
JSAMPROW RowFor(JpegWrite* w, int y) {
  const Source& s = *w->source;
  const std::uint8_t* row = s.Row(y);
  if (s.bpp == 24) return const_cast<JSAMPROW>(row);
  std::uint8_t* out = w->scratch;
  if (w->gray) {
    for (int x = 0; x < s.width; ++x) out[x] = row[x] < s.entries ? s.palette[row[x]].rgbBlue : 0;
  } else {
    for (int x = 0; x < s.width; ++x, out += 3) {
      const RGBQUAD e = row[x] < s.entries ? s.palette[row[x]] : RGBQUAD{0, 0, 0, 0};
      out[0] = e.rgbBlue;
      out[1] = e.rgbGreen;
      out[2] = e.rgbRed;
    }
  }
  return w->scratch;
}

int Encode(JpegWrite* w, int quality) {
  SetTrap(&w->trap, save::kNoMemory, save::kNoMemory);  // in memory only memory can fail
  w->info.err = &w->trap.manager;
  if (setjmp(w->trap.jump)) return w->trap.code;
  jpeg_create_compress(&w->info);
  w->created = true;
  jpeg_mem_dest(&w->info, &w->out, &w->size);
  w->info.image_width = static_cast<JDIMENSION>(w->source->width);
  w->info.image_height = static_cast<JDIMENSION>(w->source->height);
  w->info.input_components = w->gray ? 1 : 3;
  w->info.in_color_space = w->gray ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_set_defaults(&w->info);
  jpeg_set_quality(&w->info, quality, TRUE);
  jpeg_start_compress(&w->info, TRUE);
  while (w->info.next_scanline < w->info.image_height) {
    JSAMPROW row = RowFor(w, static_cast<int>(w->info.next_scanline));
    jpeg_write_scanlines(&w->info, &row, 1);
  }
  jpeg_finish_compress(&w->info);
  return 0;
}

struct WriteGuard {
  JpegWrite* w;
  ~WriteGuard() {
    if (w->created) jpeg_destroy_compress(&w->info);
    std::free(w->out);
  }
};

int EncodeImage(CLamina& image, int quality, JpegWrite& w, Source& s,
                std::unique_ptr<std::uint8_t[]>& scratch) {
  // libjpeg's sides are at most 65500 pixels.
  if (!detail::Describe(image, s) || (s.bpp != 8 && s.bpp != 24) || s.width > JPEG_MAX_DIMENSION ||
      s.height > JPEG_MAX_DIMENSION)
    return save::kDepth;
  if (quality < 1 || quality > 100) return save::kQuality;
  w.source = &s;
  if (s.bpp == 8) {
    w.gray = true;
    for (int i = 0; i < s.entries; ++i)
      if (s.palette[i].rgbRed != s.palette[i].rgbBlue ||
          s.palette[i].rgbGreen != s.palette[i].rgbBlue)
        w.gray = false;
    scratch.reset(new (std::nothrow)
                      std::uint8_t[std::size_t{3} * static_cast<std::size_t>(s.width)]);
    if (scratch == nullptr) return save::kNoMemory;
    w.scratch = scratch.get();
  }
  return Encode(&w, quality);
}

}  // namespace

int LoadJPEG(CLamina& image, const CString& name) {
  return detail::LoadWholeFile(
      name, {load::kCannotOpen, load::kDamaged, load::kNoMemory},
      [&](const std::uint8_t* data, std::size_t size, const CString* fileName) {
        return Decode(image, data, size, fileName);
      });
}

int LoadJPEGFromBuffer(CLamina& image, const unsigned char* data, std::size_t length) {
  return Decode(image, data, length, nullptr);
}

int SaveJPEG(CLamina& image, const CString& name, int quality) {
  JpegWrite w{};
  WriteGuard guard{&w};
  Source s;
  std::unique_ptr<std::uint8_t[]> scratch;
  const int code = EncodeImage(image, quality, w, s, scratch);
  if (code != 0) return code;
  switch (detail::WriteWholeFile(name, w.out, w.size)) {
    case detail::WriteResult::kOk:
      return 0;
    case detail::WriteResult::kCannotCreate:
      return save::kCannotCreate;
    case detail::WriteResult::kWriteFailed:
      return save::kWriteFailed;
  }
  return save::kWriteFailed;
}

int SaveJPEGToBuffer(CLamina& image, std::vector<unsigned char>& out, int quality) {
  JpegWrite w{};
  WriteGuard guard{&w};
  Source s;
  std::unique_ptr<std::uint8_t[]> scratch;
  const int code = EncodeImage(image, quality, w, s, scratch);
  if (code != 0) return code;
  try {
    out.assign(w.out, w.out + w.size);
  } catch (const std::bad_alloc&) {
    return save::kNoMemory;
  }
  return 0;
}

}  // namespace formats
}  // namespace lamina

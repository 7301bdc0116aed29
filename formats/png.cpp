// PNG files through libpng.
//
// libpng reports errors by longjmp back to a setjmp, which skips the destructors of everything in
// between. So the calls into libpng live in small functions (ReadHeader, ReadRows, Encode) that
// hold plain data only and return a code; everything with a destructor (the libpng structures'
// guard, the decoded picture, row tables) lives in their callers, which no longjmp crosses.
#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <new>

#include "codes.h"
#include "common.h"

namespace lamina {
namespace formats {

namespace {

namespace load = codes::load_png;
namespace save = codes::save_png;
using detail::Picture;
using detail::Source;

// ---- Shared by reading and writing -------------------------------------------------------------

// Where a libpng structure reports allocation failures, so that they read as "not enough memory"
// rather than as damage.
struct MemoryFlag {
  bool outOfMemory = false;
};

png_voidp Allocate(png_structp png, png_alloc_size_t n) {
  void* p = std::malloc(n);
  if (p == nullptr) static_cast<MemoryFlag*>(png_get_mem_ptr(png))->outOfMemory = true;
  return p;
}
void Release(png_structp, png_voidp p) { std::free(p); }
// Messages are not printed: the result code tells the caller.
void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

// ---- Reading -----------------------------------------------------------------------------------

// Everything the reading calls share. Plain data: it crosses setjmp.
struct PngRead {
  MemoryFlag memory;
  const png_byte* data;
  png_size_t size;
  png_size_t at;
  png_structp png;
  png_infop info;
  png_uint_32 width, height;
  int bitDepth, colourType;
  int passes;  // 7 for an interlaced file, else 1
  int bpp;     // of the image made
};

void ReadData(png_structp png, png_bytep out, png_size_t n) {
  auto* r = static_cast<PngRead*>(png_get_io_ptr(png));
  if (n > r->size - r->at) png_error(png, "truncated");
  std::memcpy(out, r->data + r->at, n);
  r->at += n;
}

// Reads the chunks before the pixels and sets the transformations that give the rows of the image
// to be made. 0 or a load code.
int ReadHeader(PngRead* r) {
  r->png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, r, OnError, OnWarning, &r->memory,
                                    Allocate, Release);
  if (r->png == nullptr) return load::kNoMemory;
  if (setjmp(png_jmpbuf(r->png))) return r->memory.outOfMemory ? load::kNoMemory : load::kDamaged;
  r->info = png_create_info_struct(r->png);
  if (r->info == nullptr) return load::kNoMemory;
  png_set_read_fn(r->png, r, ReadData);
  // libpng's own default stops at 1,000,000 pixels a side; the image block sets the real limit.
  png_set_user_limits(r->png, 0x7FFFFFFF, 0x7FFFFFFF);
  // Only the pixels and the palette are taken. Every other chunk (text, colour profiles, time ...)
  // is skipped unread rather than decoded and kept: found by fuzzing, a small file of compressed
  // text chunks made libpng inflate and hold megabytes per chunk, gigabytes in all.
  static const png_byte kUnused[] =
      "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0sCAL\0sPLT\0"
      "sRGB\0tEXt\0tIME\0tRNS\0zTXt";
  png_set_keep_unknown_chunks(r->png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_keep_unknown_chunks(r->png, PNG_HANDLE_CHUNK_NEVER, kUnused,
                              static_cast<int>(sizeof kUnused / 5));
  png_read_info(r->png, r->info);
  int interlace = 0;
  png_get_IHDR(r->png, r->info, &r->width, &r->height, &r->bitDepth, &r->colourType, &interlace,
               nullptr, nullptr);
  switch (r->colourType) {
    case PNG_COLOR_TYPE_PALETTE:
      // 2-bit rows are read as they are and widened to 4 bits afterwards, in place.
      r->bpp = r->bitDepth == 2 ? 4 : r->bitDepth;
      break;
    case PNG_COLOR_TYPE_GRAY:
      if (r->bitDepth < 8) png_set_expand_gray_1_2_4_to_8(r->png);
      r->bpp = 8;
      break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      png_set_gray_to_rgb(r->png);
      r->bpp = 32;
      break;
    case PNG_COLOR_TYPE_RGB:
      r->bpp = 24;
      break;
    default:  // PNG_COLOR_TYPE_RGB_ALPHA; libpng refuses any other type
      r->bpp = 32;
      break;
  }
  // Rounded, not truncated: 16-bit v becomes round(v * 255 / 65535), as other readers give it.
  if (r->bitDepth == 16) png_set_scale_16(r->png);
  if (r->bpp >= 24) png_set_bgr(r->png);  // the image's byte order is blue, green, red, alpha
  r->passes = png_set_interlace_handling(r->png);
  png_read_update_info(r->png, r->info);
  // The rows libpng will write must be exactly those we make room for.
  const int bits = r->colourType == PNG_COLOR_TYPE_PALETTE ? r->bitDepth : r->bpp;
  if (png_get_rowbytes(r->png, r->info) != (png_size_t{r->width} * bits + 7) / 8)
    return load::kDamaged;
  return 0;
}

// Reads every row of every pass, row y to top + y * step, then the chunks after the pixels up to
// IEND, so that a file cut short anywhere is refused. Row by row: no table of row pointers, which
// for a tall picture would be larger than the picture. 0 or a load code.
int ReadRows(PngRead* r, png_bytep top, std::ptrdiff_t step) {
  if (setjmp(png_jmpbuf(r->png))) return r->memory.outOfMemory ? load::kNoMemory : load::kDamaged;
  for (int pass = 0; pass < r->passes; ++pass) {
    png_bytep row = top;
    for (png_uint_32 y = 0; y < r->height; ++y, row += step) png_read_row(r->png, row, nullptr);
  }
  png_read_end(r->png, nullptr);
  return 0;
}

// Destroys the libpng structures on every way out of a load.
struct ReadGuard {
  PngRead* r;
  ~ReadGuard() {
    if (r->png != nullptr) png_destroy_read_struct(&r->png, r->info ? &r->info : nullptr, nullptr);
  }
};

// Widens a row of 2-bit pixels, read into the start of a 4-bit row, to 4 bits. From the end: each
// output byte j takes pixels 2j and 2j + 1 from input byte j / 2, which is not yet overwritten.
void Widen2To4(std::uint8_t* row, png_uint_32 width) {
  for (png_uint_32 j = (width + 1) / 2; j-- > 0;) {
    const std::uint8_t in = row[j / 2];
    const int shift = (j & 1) ? 2 : 6;  // pixel 2j within its input byte, from the top bits
    const std::uint8_t a = (in >> shift) & 3;
    const std::uint8_t b = 2 * j + 1 < width ? (in >> (shift - 2)) & 3 : 0;  // 0 past the width
    row[j] = static_cast<std::uint8_t>(a << 4 | b);
  }
}

int Decode(CLamina& image, const std::uint8_t* data, std::size_t size, const CString* name) {
  if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0) return load::kNotPng;
  PngRead r{};
  r.data = data;
  r.size = size;
  ReadGuard guard{&r};
  int code = ReadHeader(&r);
  if (code != 0) return code;

  Picture picture;
  switch (picture.Create(r.width, r.height, r.bpp)) {
    case Picture::Result::kOk:
      break;
    case Picture::Result::kTooLarge:
      return load::kTooLarge;
    case Picture::Result::kNoMemory:
      return load::kNoMemory;
  }
  if (r.colourType == PNG_COLOR_TYPE_PALETTE) {
    png_colorp plte = nullptr;
    int count = 0;
    png_get_PLTE(r.png, r.info, &plte, &count);
    const int levels = 1 << r.bpp;
    for (int i = 0; i < count && i < levels; ++i)
      picture.Palette()[i] = RGBQUAD{plte[i].blue, plte[i].green, plte[i].red, 0};
  } else if (r.bpp == 8) {
    picture.SetGrayRamp();
  }
  const std::ptrdiff_t step = -static_cast<std::ptrdiff_t>(picture.Stride());
  code = ReadRows(&r, picture.Row(0), step);
  if (code != 0) return code;
  if (r.colourType == PNG_COLOR_TYPE_PALETTE && r.bitDepth == 2)
    for (png_uint_32 y = 0; y < r.height; ++y) Widen2To4(picture.Row(y), r.width);
  picture.ClearPadding();
  if (!picture.GiveTo(image)) return load::kNoMemory;
  if (name != nullptr) image.fnIMG_SetFileName(*name);
  return 0;
}

// ---- Writing -----------------------------------------------------------------------------------

// Everything the writing calls share. Plain data: it crosses setjmp. The file grows in a buffer
// from the C heap, which the caller frees.
struct PngWrite {
  MemoryFlag memory;
  png_structp png;
  png_infop info;
  png_bytep out;
  png_size_t size, capacity;
  // The rows, top first: `row(context, y)` gives row y in the layout libpng was told.
  const png_byte* (*row)(void* context, int y);
  void* context;
};

void WriteData(png_structp png, png_bytep data, png_size_t n) {
  auto* w = static_cast<PngWrite*>(png_get_io_ptr(png));
  if (n > w->capacity - w->size) {
    png_size_t capacity = w->capacity < 4096 ? 4096 : w->capacity;
    while (capacity - w->size < n) {
      if (capacity > PNG_SIZE_MAX / 2) {
        w->memory.outOfMemory = true;
        png_error(png, "too large");
      }
      capacity *= 2;
    }
    auto* grown = static_cast<png_bytep>(std::realloc(w->out, capacity));
    if (grown == nullptr) {
      w->memory.outOfMemory = true;
      png_error(png, "out of memory");
    }
    w->out = grown;
    w->capacity = capacity;
  }
  std::memcpy(w->out + w->size, data, n);
  w->size += n;
}
void Flush(png_structp) {}

// 0 or a save code.
int Encode(PngWrite* w, const Source* s, int colourType, int bitDepth, const png_color* plte,
           int entries) {
  w->png = png_create_write_struct_2(PNG_LIBPNG_VER_STRING, w, OnError, OnWarning, &w->memory,
                                     Allocate, Release);
  if (w->png == nullptr) return save::kNoMemory;
  if (setjmp(png_jmpbuf(w->png))) return save::kNoMemory;  // nothing else can fail in memory
  w->info = png_create_info_struct(w->png);
  if (w->info == nullptr) return save::kNoMemory;
  png_set_write_fn(w->png, w, WriteData, Flush);
  png_set_IHDR(w->png, w->info, static_cast<png_uint_32>(s->width),
               static_cast<png_uint_32>(s->height), bitDepth, colourType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(w->png, w->info, plte, entries);
  png_write_info(w->png, w->info);
  if (colourType != PNG_COLOR_TYPE_PALETTE) png_set_bgr(w->png);
  for (int y = 0; y < s->height; ++y)
    png_write_row(w->png, const_cast<png_bytep>(w->row(w->context, y)));
  png_write_end(w->png, nullptr);
  return 0;
}

struct WriteGuard {
  PngWrite* w;
  ~WriteGuard() {
    if (w->png != nullptr) png_destroy_write_struct(&w->png, w->info ? &w->info : nullptr);
    std::free(w->out);
  }
};

// Rows as the image holds them (1, 4, 8, 24, 32 bits).
struct Direct {
  const Source* s;
  static const png_byte* Row(void* c, int y) { return static_cast<Direct*>(c)->s->Row(y); }
};
// 16-bit rows (5-5-5, little-endian) widened to 8-bit blue, green, red in a row of scratch.
struct Widened {
  const Source* s;
  png_bytep scratch;
  static const png_byte* Row(void* c, int y) {
    auto* self = static_cast<Widened*>(c);
    const std::uint8_t* in = self->s->Row(y);
    png_bytep out = self->scratch;
    for (int x = 0; x < self->s->width; ++x, in += 2, out += 3) {
      const unsigned v = in[0] | (in[1] << 8);
      const unsigned b = v & 31, g = (v >> 5) & 31, r = (v >> 10) & 31;
      out[0] = static_cast<png_byte>(b << 3 | b >> 2);
      out[1] = static_cast<png_byte>(g << 3 | g >> 2);
      out[2] = static_cast<png_byte>(r << 3 | r >> 2);
    }
    return self->scratch;
  }
};

// The highest palette index any pixel uses, so that the palette written covers every pixel.
int HighestIndex(const Source& s) {
  int top = 0;
  for (int y = 0; y < s.height; ++y) {
    const std::uint8_t* row = s.Row(y);
    for (int x = 0; x < s.width; ++x) {
      int v;
      if (s.bpp == 8)
        v = row[x];
      else if (s.bpp == 4)
        v = (x & 1) ? row[x >> 1] & 15 : row[x >> 1] >> 4;
      else
        v = (row[x >> 3] >> (7 - (x & 7))) & 1;
      if (v > top) top = v;
    }
    if (top == (1 << s.bpp) - 1) break;
  }
  return top;
}

// The file's bytes in w.out (the caller's guard frees them), or a save code.
int EncodeImage(CLamina& image, PngWrite& w) {
  Source s;
  if (!detail::Describe(image, s)) return save::kNothing;
  Direct direct{&s};
  Widened widened{&s, nullptr};
  std::unique_ptr<png_byte[]> scratch;
  png_color plte[256];
  int entries = 0;
  int colourType = PNG_COLOR_TYPE_RGB, bitDepth = 8;
  w.row = &Direct::Row;
  w.context = &direct;
  if (s.bpp <= 8) {
    colourType = PNG_COLOR_TYPE_PALETTE;
    bitDepth = s.bpp;
    // A pixel may use an index past a short palette (the image shows it black); PNG requires an
    // entry for it, so black entries are added up to the highest index used.
    entries = s.entries;
    const int top = HighestIndex(s);
    if (entries < top + 1) entries = top + 1;
    for (int i = 0; i < entries; ++i) {
      const RGBQUAD e = i < s.entries ? s.palette[i] : RGBQUAD{0, 0, 0, 0};
      plte[i] = png_color{e.rgbRed, e.rgbGreen, e.rgbBlue};
    }
  } else if (s.bpp == 16) {
    scratch.reset(new (std::nothrow) png_byte[std::size_t{3} * static_cast<std::size_t>(s.width)]);
    if (scratch == nullptr) return save::kNoMemory;
    widened.scratch = scratch.get();
    w.row = &Widened::Row;
    w.context = &widened;
  } else if (s.bpp == 32) {
    colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  }
  return Encode(&w, &s, colourType, bitDepth, plte, entries);
}

}  // namespace

int LoadPNG(CLamina& image, const CString& name) {
  return detail::LoadWholeFile(
      name, {load::kCannotOpen, load::kDamaged, load::kNoMemory},
      [&](const std::uint8_t* data, std::size_t size, const CString* fileName) {
        return Decode(image, data, size, fileName);
      });
}

int LoadPNGFromBuffer(CLamina& image, const unsigned char* data, std::size_t length) {
  return Decode(image, data, length, nullptr);
}

int SavePNG(CLamina& image, const CString& name) {
  PngWrite w{};
  WriteGuard guard{&w};
  const int code = EncodeImage(image, w);
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

int SavePNGToBuffer(CLamina& image, std::vector<unsigned char>& out) {
  PngWrite w{};
  WriteGuard guard{&w};
  const int code = EncodeImage(image, w);
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

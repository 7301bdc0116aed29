// Files and exchange. Every form runs as declared: the name forms get the path, the file-object
// forms a CFile the tool opens (null when it cannot, which the member reports with its own code;
// the system's reason is added), the buffer forms the file's bytes, and the handle forms a
// movable memory handle. Files written go under a temporary name until the chain succeeds.
#include <cerrno>
#include <climits>
#include <cstring>

#include "ops.h"

namespace lamina {
namespace registry {
namespace {

const char* const kFiles = "Files and exchange";

Arg In(const char* meaning) { return A("file", Kind::kInFile, meaning); }
Arg Out(const char* meaning) { return A("file", Kind::kOutFile, meaning); }

// Runs a file-object form on the file opened for reading or writing.
template <typename F>
void WithFile(Call& c, bool write, F&& member) {
  CFile file;
  const std::string path = write ? c.outputs.Stage(c.Text(0)) : c.outputs.Resolve(c.Text(0));
  const bool open =
      file.Open(CString(path), write ? CFile::modeCreate | CFile::modeWrite : CFile::modeRead);
  const int reason = errno;
  c.Code(member(open ? &file : nullptr));
  if (!open && c.outcome.failed)
    c.outcome.words += "; " + c.Text(0) + " cannot be opened: " + std::strerror(reason);
}

// Runs a buffer form on the file's bytes.
template <typename F>
void WithBytes(Call& c, F&& member) {
  std::vector<unsigned char> bytes;
  if (!ReadBytes(c.outputs.Resolve(c.Text(0)), bytes)) {
    c.Refuse("cannot read " + c.Text(0) + ": " + std::strerror(errno));
    return;
  }
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
    c.Refuse(c.Text(0) + " is larger than a buffer length can say");
    return;
  }
  c.Code(member(bytes.data(), static_cast<int>(bytes.size())));
}

CString Read(Call& c) { return CString(c.outputs.Resolve(c.Text(0))); }
CString Write(Call& c) { return CString(c.outputs.Stage(c.Text(0))); }

}  // namespace

void AddFileOperations(std::vector<Operation>& ops) {
  const Arg w = I("width", "the columns, 1 or more");
  const Arg h = I("height", "the rows, 1 or more");
  const char* code = "a result code";

  ops.push_back({"LoadBMP",
                 "fnIMG_LoadBMP",
                 "CString name",
                 kFiles,
                 {In("a BMP file")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(load_bmp),
                 "LoadBMP {bmp}",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_LoadBMP(Read(c))); }});
  ops.push_back(
      {"LoadBMPFromCFile",
       "fnIMG_LoadBMP",
       "CFile* file",
       kFiles,
       {In("a BMP file, opened for the member")},
       Returns::kCode,
       code,
       LAMINA_CODES(load_bmp_data),
       "LoadBMPFromCFile {bmp}",
       nullptr,
       [](Call& c) { WithFile(c, false, [&](CFile* f) { return c.image.fnIMG_LoadBMP(f); }); }});
  ops.push_back({"LoadBMPFromBuffer",
                 "fnIMG_LoadBMPFromBuffer",
                 "unsigned char* buffer, int length",
                 kFiles,
                 {In("a BMP file, read into memory")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(load_bmp_data),
                 "LoadBMPFromBuffer {bmp}",
                 nullptr,
                 [](Call& c) {
                   WithBytes(c, [&](unsigned char* b, int n) {
                     return c.image.fnIMG_LoadBMPFromBuffer(b, n);
                   });
                 }});
  ops.push_back({"SaveBMP",
                 "fnIMG_SaveBMP",
                 "CString name",
                 kFiles,
                 {Out("the BMP file")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(save_bmp),
                 "SaveBMP {work}/saved.bmp",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_SaveBMP(Write(c))); }});
  ops.push_back(
      {"SaveBMPToCFile",
       "fnIMG_SaveBMP",
       "CFile* file",
       kFiles,
       {Out("the BMP file, opened for the member")},
       Returns::kCode,
       code,
       LAMINA_CODES(save_bmp_file),
       "SaveBMPToCFile {work}/saved-file.bmp",
       nullptr,
       [](Call& c) { WithFile(c, true, [&](CFile* f) { return c.image.fnIMG_SaveBMP(f); }); }});

  ops.push_back({"LoadRAW",
                 "fnIMG_LoadRAW",
                 "CString name",
                 kFiles,
                 {In("a RAW file of a known length (1024, 4096, ..., 1048576 bytes)")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(load_raw),
                 "Scaling 256 256 1 SaveRAW {work}/square.raw LoadRAW {work}/square.raw",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_LoadRAW(Read(c))); }});
  ops.push_back(
      {"LoadRAWFromCFile",
       "fnIMG_LoadRAW",
       "CFile* file",
       kFiles,
       {In("a RAW file of a known length, opened for the member")},
       Returns::kCode,
       code,
       LAMINA_CODES(load_raw),
       "Scaling 256 256 1 SaveRAW {work}/square.raw LoadRAWFromCFile {work}/square.raw",
       nullptr,
       [](Call& c) { WithFile(c, false, [&](CFile* f) { return c.image.fnIMG_LoadRAW(f); }); }});
  ops.push_back({"LoadRAW",
                 "fnIMG_LoadRAW",
                 "CString name, int width, int height",
                 kFiles,
                 {In("a RAW file of width x height bytes"), w, h},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(load_raw),
                 "SaveRAW {work}/p.raw LoadRAW {work}/p.raw 256 192",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_LoadRAW(Read(c), c.Int(1), c.Int(2))); }});
  ops.push_back({"LoadRAWFromCFile",
                 "fnIMG_LoadRAW",
                 "CFile* file, int width, int height",
                 kFiles,
                 {In("a RAW file of width x height bytes, opened for the member"), w, h},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(load_raw),
                 "SaveRAW {work}/p.raw LoadRAWFromCFile {work}/p.raw 256 192",
                 nullptr,
                 [](Call& c) {
                   WithFile(c, false,
                            [&](CFile* f) { return c.image.fnIMG_LoadRAW(f, c.Int(1), c.Int(2)); });
                 }});
  ops.push_back({"LoadRAWFromBuffer",
                 "fnIMG_LoadRAWFromBuffer",
                 "unsigned char* buffer, int length",
                 kFiles,
                 {In("a RAW file of a known length, read into memory")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(load_raw_from_buffer),
                 "Scaling 256 256 1 SaveRAW {work}/square.raw LoadRAWFromBuffer {work}/square.raw",
                 nullptr,
                 [](Call& c) {
                   WithBytes(c, [&](unsigned char* b, int n) {
                     return c.image.fnIMG_LoadRAWFromBuffer(b, n);
                   });
                 }});
  ops.push_back({"SaveRAW",
                 "fnIMG_SaveRAW",
                 "CString name",
                 kFiles,
                 {Out("the RAW file (gray, 8 bits, rows from the top)")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(save_raw),
                 "SaveRAW {work}/saved.raw",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_SaveRAW(Write(c))); }});
  ops.push_back(
      {"SaveRAWToCFile",
       "fnIMG_SaveRAW",
       "CFile* file",
       kFiles,
       {Out("the RAW file, opened for the member")},
       Returns::kCode,
       code,
       LAMINA_CODES(save_raw_file),
       "SaveRAWToCFile {work}/saved-file.raw",
       nullptr,
       [](Call& c) { WithFile(c, true, [&](CFile* f) { return c.image.fnIMG_SaveRAW(f); }); }});

  ops.push_back({"LoadPGM",
                 "fnIMG_LoadPGM",
                 "CString name",
                 kFiles,
                 {In("a binary PGM file")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(load_pgm),
                 "LoadPGM {pgm}",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_LoadPGM(Read(c))); }});
  ops.push_back(
      {"LoadPGMFromCFile",
       "fnIMG_LoadPGM",
       "CFile* file",
       kFiles,
       {In("a binary PGM file, opened for the member")},
       Returns::kCode,
       code,
       LAMINA_CODES(load_pgm),
       "LoadPGMFromCFile {pgm}",
       nullptr,
       [](Call& c) { WithFile(c, false, [&](CFile* f) { return c.image.fnIMG_LoadPGM(f); }); }});
  ops.push_back({"LoadPGMFromBuffer",
                 "fnIMG_LoadPGMFromBuffer",
                 "unsigned char* buffer, int length",
                 kFiles,
                 {In("a binary PGM file, read into memory")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(load_pgm_from_buffer),
                 "LoadPGMFromBuffer {pgm}",
                 nullptr,
                 [](Call& c) {
                   WithBytes(c, [&](unsigned char* b, int n) {
                     return c.image.fnIMG_LoadPGMFromBuffer(b, n);
                   });
                 }});

  ops.push_back({"SavePalette",
                 "fnIMG_SavePalette",
                 "CString name",
                 kFiles,
                 {Out("the JASC palette file")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(save_palette),
                 "ColorToGray 0 ChangeColorDepth 2 SavePalette {work}/gray.pal",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_SavePalette(Write(c))); }});
  ops.push_back({"LoadPalette",
                 "fnIMG_LoadPalette",
                 "CString name",
                 kFiles,
                 {In("a JASC palette file")},
                 Returns::kCode,
                 code,
                 LAMINA_CODES(load_palette),
                 "ColorToGray 0 ChangeColorDepth 2 LoadPalette {pal}",
                 nullptr,
                 [](Call& c) { c.Code(c.image.fnIMG_LoadPalette(Read(c))); }});

  // The handle is measured and freed: its contents are the image's own block.
  ops.push_back({"CopyToHandle",
                 "fnIMG_CopyToHandle",
                 "",
                 kFiles,
                 {},
                 Returns::kValue,
                 "a new handle holding the packed bitmap (its size is printed, then it is freed)",
                 CodeTable{},
                 "CopyToHandle",
                 nullptr,
                 [](Call& c) {
                   void* handle = c.image.fnIMG_CopyToHandle();
                   if (handle == nullptr) {
                     c.Refuse("no handle (no image, a header no loader takes, or memory short)");
                     return;
                   }
                   c.Number("bytes", static_cast<double>(GlobalSize(handle)));
                   GlobalFree(handle);
                 }});
  // A second image is handed over through a handle made by its own CopyToHandle.
  ops.push_back({"CopyFromHandle",
                 "fnIMG_CopyFromHandle",
                 "void* handle",
                 kFiles,
                 {A("image", Kind::kImage, "the image whose packed bitmap the handle holds")},
                 Returns::kNothing,
                 "nothing (a bitmap it cannot take leaves the image as it was)",
                 CodeTable{},
                 "CopyFromHandle {second}",
                 nullptr,
                 [](Call& c) {
                   CLamina* other = c.Image(0);
                   void* handle = other != nullptr ? other->fnIMG_CopyToHandle() : nullptr;
                   c.image.fnIMG_CopyFromHandle(handle);
                   if (handle != nullptr) GlobalFree(handle);
                 }});
}

}  // namespace registry
}  // namespace lamina

// lamina.Image beyond its operations: construction, files, size and palette, numpy arrays,
// copies and pickling.
#include <pybind11/numpy.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "binding.h"
#include "core/block_access.h"
#include "lamina/memory.h"
#if LAMINA_HAVE_FORMATS
#include "lamina/formats.h"
#endif

namespace lamina {
namespace python {
namespace {

using ImageClass = py::class_<Held, std::shared_ptr<Held>>;

// The depths whose pixels an array can hold.
bool ArrayDepth(int bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24 || bpp == 32; }

std::size_t Stride(int width, int bpp) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bpp) + 31) / 32 * 4;
}

struct Shape {
  int width = 0, height = 0, bpp = 0;
};

Shape ShapeOf(CLamina& img) {
  const BITMAPINFOHEADER h = img.fnIMG_GetBitmapInfoHeader();
  return Shape{h.biWidth, h.biHeight, h.biBitCount};
}

// The palette's entries as the image holds them (none above 8 bits).
std::vector<RGBQUAD> PaletteOf(CLamina& img) {
  RGBQUAD entries[256] = {};
  if (img.fnIMG_GetPalette(entries) != 0) return {};
  const int n = std::min(256, std::max(0, img.fnIMG_GetPaletteSize() / 4));
  return std::vector<RGBQUAD>(entries, entries + n);
}

std::string Name(CLamina& img) { return BlockAccess::Name(img).ToUtf8(); }

py::array_t<std::uint8_t> ToNumpy(Held& held) {
  Shape s;
  {
    py::gil_scoped_release released;
    std::lock_guard<std::mutex> guard(held.lock);
    s = ShapeOf(held.image);
  }
  if (!ArrayDepth(s.bpp))
    throw py::value_error(s.bpp == 0 ? "the object holds no image"
                                     : "to_numpy reads 1, 4, 8, 24 and 32 bits, not " +
                                           std::to_string(s.bpp) +
                                           " (change_color_depth converts it first)");
  std::vector<py::ssize_t> shape{s.height, s.width};
  if (s.bpp >= 24) shape.push_back(s.bpp / 8);
  py::array_t<std::uint8_t> out(shape);
  std::uint8_t* dst = out.mutable_data();
  const bool same = WithImage(held, [&](CLamina& img) {
    // Another thread may have replaced the image since the shape was read.
    const Shape now = ShapeOf(img);
    if (now.width != s.width || now.height != s.height || now.bpp != s.bpp) return false;
    const std::size_t stride = Stride(s.width, s.bpp);
    const unsigned char* bits = img.fnIMG_GetPointers().lpBits;
    const std::size_t w = static_cast<std::size_t>(s.width);
    for (int y = 0; y < s.height; ++y) {
      // Rows are stored from the bottom.
      const unsigned char* row = bits + stride * static_cast<std::size_t>(s.height - 1 - y);
      std::uint8_t* o = dst + static_cast<std::size_t>(y) * w *
                                  static_cast<std::size_t>(s.bpp >= 24 ? s.bpp / 8 : 1);
      switch (s.bpp) {
        case 1:
          for (std::size_t x = 0; x < w; ++x) o[x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
          break;
        case 4:
          for (std::size_t x = 0; x < w; ++x)
            o[x] = (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
          break;
        case 8:
          std::memcpy(o, row, w);
          break;
        case 24:
          for (std::size_t x = 0; x < w; ++x, o += 3, row += 3) {
            o[0] = row[2];
            o[1] = row[1];
            o[2] = row[0];
          }
          break;
        case 32:
          for (std::size_t x = 0; x < w; ++x, o += 4, row += 4) {
            o[0] = row[2];
            o[1] = row[1];
            o[2] = row[0];
            o[3] = row[3];
          }
          break;
      }
    }
    return true;
  });
  if (!same) throw py::value_error("the image changed while it was read");
  return out;
}

// The default palettes of a two-dimensional array: black and white at 1 bit, sixteen even grays
// at 4, the gray ramp at 8.
std::vector<RGBQUAD> RampPalette(int bpp) {
  const int n = 1 << bpp;
  std::vector<RGBQUAD> p(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const BYTE v = static_cast<BYTE>(i * 255 / (n - 1));
    p[static_cast<std::size_t>(i)] = RGBQUAD{v, v, v, 0};
  }
  return p;
}

std::vector<RGBQUAD> PaletteFromArray(py::handle given, std::size_t most) {
  py::array a = py::module_::import("numpy").attr("asarray")(given);
  if (a.ndim() != 2 || (a.shape(1) != 3 && a.shape(1) != 4) || a.shape(0) < 1 ||
      static_cast<std::size_t>(a.shape(0)) > most)
    throw py::value_error("a palette is an n x 3 (or n x 4) array of 1 to " + std::to_string(most) +
                          " colours");
  const char kind = a.dtype().kind();
  if (kind != 'u' && kind != 'i') throw py::value_error("a palette holds whole numbers 0 to 255");
  py::array_t<long long, py::array::c_style | py::array::forcecast> v(a);
  std::vector<RGBQUAD> out;
  const std::size_t cols = static_cast<std::size_t>(a.shape(1));
  for (py::ssize_t i = 0; i < a.shape(0); ++i) {
    long long c[4] = {0, 0, 0, 0};
    for (std::size_t k = 0; k < cols; ++k) {
      c[k] = v.data()[static_cast<std::size_t>(i) * cols + k];
      if (c[k] < 0 || c[k] > 255) throw py::value_error("a palette holds whole numbers 0 to 255");
    }
    out.push_back(RGBQUAD{static_cast<BYTE>(c[2]), static_cast<BYTE>(c[1]), static_cast<BYTE>(c[0]),
                          static_cast<BYTE>(c[3])});
  }
  return out;
}

std::shared_ptr<Held> FromNumpy(py::handle given, py::object bitsGiven, py::object paletteGiven) {
  if (!py::isinstance<py::array>(given))
    throw py::type_error("from_numpy takes a numpy array of uint8");
  py::array a = py::reinterpret_borrow<py::array>(given);
  if (!a.dtype().is(py::dtype::of<std::uint8_t>()))
    throw py::type_error("from_numpy takes uint8 arrays only, not " +
                         std::string(py::str(a.dtype())) +
                         "; scale the values to 0..255 and convert with .astype(numpy.uint8)");
  int bpp = 0;
  if (a.ndim() == 2)
    bpp = bitsGiven.is_none() ? 8 : bitsGiven.cast<int>();
  else if (a.ndim() == 3 && (a.shape(2) == 3 || a.shape(2) == 4))
    bpp = a.shape(2) == 3 ? 24 : 32;
  else
    throw py::value_error(
        "from_numpy takes (height, width) indices, (height, width, 3) RGB or (height, width, 4) "
        "RGBA; this array's shape is " +
        py::str(a.attr("shape")).cast<std::string>());
  if (a.ndim() == 2 && bpp != 1 && bpp != 4 && bpp != 8)
    throw py::value_error("a two-dimensional array gives 1, 4 or 8 bits, not " +
                          std::to_string(bpp));
  if (a.ndim() == 3 && !bitsGiven.is_none() && bitsGiven.cast<int>() != bpp)
    throw py::value_error("a (height, width, " + std::to_string(a.shape(2)) + ") array gives " +
                          std::to_string(bpp) + " bits");
  if (a.shape(0) > 0x7FFFFFFF || a.shape(1) > 0x7FFFFFFF)
    throw py::value_error("the array is too large for an image");
  const int height = static_cast<int>(a.shape(0)), width = static_cast<int>(a.shape(1));
  std::vector<RGBQUAD> palette;
  if (bpp <= 8) {
    palette = RampPalette(bpp);
    if (!paletteGiven.is_none()) {
      const std::vector<RGBQUAD> p = PaletteFromArray(paletteGiven, palette.size());
      std::copy(p.begin(), p.end(), palette.begin());
    }
  } else if (!paletteGiven.is_none()) {
    throw py::value_error("only 1, 4 and 8 bits have a palette");
  }
  py::array_t<std::uint8_t, py::array::c_style> c(a);  // contiguous, no conversion (uint8 already)
  const std::uint8_t* src = c.data();
  if (bpp < 8) {
    const std::uint8_t limit = static_cast<std::uint8_t>((1 << bpp) - 1);
    for (py::ssize_t i = 0; i < c.size(); ++i)
      if (src[i] > limit)
        throw py::value_error("a " + std::to_string(bpp) + "-bit image holds indices 0 to " +
                              std::to_string(limit) + ", and the array holds " +
                              std::to_string(src[i]));
  }
  std::shared_ptr<Held> held;
  bool ok = true;
  {
    py::gil_scoped_release released;
    held = std::make_shared<Held>(nullptr, palette.empty() ? nullptr : palette.data(), width,
                                  height, bpp);
    unsigned char* bits = held->image.fnIMG_GetPointers().lpBits;
    ok = bits != nullptr || static_cast<std::size_t>(width) * static_cast<std::size_t>(height) == 0;
    const std::size_t stride = Stride(width, bpp);
    const std::size_t w = static_cast<std::size_t>(width);
    for (int y = 0; ok && y < height; ++y) {
      unsigned char* row = bits + stride * static_cast<std::size_t>(height - 1 - y);
      const std::uint8_t* in = src + static_cast<std::size_t>(y) * w * (bpp >= 24 ? bpp / 8 : 1);
      switch (bpp) {
        case 1:
          for (std::size_t x = 0; x < w; ++x)
            row[x >> 3] = static_cast<unsigned char>(row[x >> 3] | (in[x] << (7 - (x & 7))));
          break;
        case 4:
          for (std::size_t x = 0; x < w; ++x)
            row[x >> 1] = static_cast<unsigned char>(row[x >> 1] | (in[x] << ((x & 1) ? 0 : 4)));
          break;
        case 8:
          std::memcpy(row, in, w);
          break;
        case 24:
          for (std::size_t x = 0; x < w; ++x, in += 3, row += 3) {
            row[0] = in[2];
            row[1] = in[1];
            row[2] = in[0];
          }
          break;
        case 32:
          for (std::size_t x = 0; x < w; ++x, in += 4, row += 4) {
            row[0] = in[2];
            row[1] = in[1];
            row[2] = in[0];
            row[3] = in[3];
          }
          break;
      }
    }
  }
  if (!ok) throw py::value_error("no image of that size can be made (a block above 2 GiB)");
  return held;
}

// The image as the bytes of a BMP file: the file header, then the block exactly as the image
// holds it (header fields, a short palette and a declared biSizeImage included). Loading those
// bytes gives the same image back, alpha and all; an object without an image gives no bytes.
py::bytes BmpBytes(Held& held) {
  std::string out;
  WithImage(held, [&](CLamina& img) {
    void* handle = img.fnIMG_CopyToHandle();
    if (handle == nullptr) return;
    const std::size_t size = GlobalSize(handle);
    const auto* dib = static_cast<const unsigned char*>(GlobalLock(handle));
    BITMAPINFOHEADER h;
    std::memcpy(&h, dib, sizeof h);
    // The handle holds header, palette (1, 4 and 8 bits only) and rows with no gaps.
    const std::size_t entries = h.biBitCount > 8   ? 0
                                : h.biClrUsed != 0 ? h.biClrUsed
                                                   : std::size_t{1} << h.biBitCount;
    const std::size_t offset = 14 + h.biSize + 4 * entries;
    const std::size_t total = 14 + size;
    out.assign(total, '\0');
    auto put32 = [&](std::size_t at, std::size_t v) {
      for (int k = 0; k < 4; ++k) out[at + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, total);
    put32(10, offset);
    std::memcpy(&out[14], dib, size);
    GlobalUnlock(handle);
    GlobalFree(handle);
  });
  return py::bytes(out);
}

std::shared_ptr<Held> FromBmpBytes(const std::string& bytes, const std::string* name) {
  std::shared_ptr<Held> held;
  int code = 0;
  {
    py::gil_scoped_release released;
    if (bytes.empty())
      held = std::make_shared<Held>(nullptr, nullptr, 0, 0, 0);  // an object without an image
    else
      held = std::make_shared<Held>();
    if (!bytes.empty())
      code = held->image.fnIMG_LoadBMPFromBuffer(
          reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data())),
          static_cast<int>(bytes.size()));
    if (code == 0 && name != nullptr) held->image.fnIMG_SetFileName(CString(*name));
  }
  if (code != 0)
    RaiseError("LoadBMPFromBuffer gave " + std::to_string(code) + " (not a BMP file it can read)",
               code, "fnIMG_LoadBMPFromBuffer");
  return held;
}

std::string PathText(py::handle path) {
  return py::str(py::module_::import("os").attr("fspath")(path)).cast<std::string>();
}

}  // namespace

void DefineImage(py::module_& m, ImageClass& image) {
  image
      .def(py::init([] {
             auto held = std::make_shared<Held>();  // the library's default image
             if (held->image.fnIMG_GetColorDepth() == 0) throw std::bad_alloc();
             return held;
           }),
           "The library's default image: 16 x 16 pixels of 8 bits, black, the gray ramp "
           "palette, named SIN_NOMBRE.RAW.")
      .def(py::init([](int width, int height, int bits) {
             if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
               throw py::value_error("bits is 1, 4, 8, 24 or 32, not " + std::to_string(bits));
             if (width < 0 || height < 0) throw py::value_error("width and height are 0 or more");
             std::shared_ptr<Held> held;
             {
               py::gil_scoped_release released;
               held = std::make_shared<Held>(nullptr, nullptr, width, height, bits);
             }
             if (held->image.fnIMG_GetColorDepth() == 0)
               throw py::value_error("no image of that size can be made (a block above 2 GiB)");
             return held;
           }),
           py::arg("width"), py::arg("height"), py::arg("bits"),
           "A black image of width x height pixels of 1, 4, 8, 24 or 32 bits; at 1, 4 and 8 bits "
           "its palette is entry i = (i, i, i).")
      .def_property_readonly(
          "width",
          [](Held& h) { return WithImage(h, [](CLamina& i) { return i.fnIMG_GetColumns(); }); },
          "The width in pixels.")
      .def_property_readonly(
          "height",
          [](Held& h) { return WithImage(h, [](CLamina& i) { return i.fnIMG_GetRows(); }); },
          "The height in pixels.")
      .def_property_readonly(
          "bits",
          [](Held& h) { return WithImage(h, [](CLamina& i) { return i.fnIMG_GetColorDepth(); }); },
          "The bits per pixel: 1, 4, 8, 24 or 32 (16 for a 16-bit BMP as loaded; 0 for an object "
          "without an image).")
      .def_property(
          "name", [](Held& h) { return WithImage(h, [](CLamina& i) { return Name(i); }); },
          [](Held& h, const std::string& name) {
            WithImage(h, [&](CLamina& i) { i.fnIMG_SetFileName(CString(name)); });
          },
          "The name the image carries (a loaded file's name without its folders).")
      .def_property(
          "palette",
          [](Held& h) {
            const std::vector<RGBQUAD> p = WithImage(h, [](CLamina& i) { return PaletteOf(i); });
            py::array_t<std::uint8_t> out(
                std::vector<py::ssize_t>{static_cast<py::ssize_t>(p.size()), 3});
            std::uint8_t* d = out.mutable_data();
            for (const RGBQUAD& q : p) *d++ = q.rgbRed, *d++ = q.rgbGreen, *d++ = q.rgbBlue;
            return out;
          },
          [](Held& h, py::handle given) {
            const std::size_t count = WithImage(h, [](CLamina& i) { return PaletteOf(i).size(); });
            if (count == 0) throw py::value_error("only 1, 4 and 8 bits have a palette");
            std::vector<RGBQUAD> p = PaletteFromArray(given, count);
            if (p.size() != count)
              throw py::value_error("this palette has " + std::to_string(count) +
                                    " entries; give that many colours");
            // Three columns keep the reserved bytes the entries had; a fourth gives them.
            const bool keepReserved = py::module_::import("numpy")
                                          .attr("shape")(given)
                                          .cast<py::tuple>()[1]
                                          .cast<int>() == 3;
            // The member reads as many entries as the palette holds: checked again under the
            // lock, as another thread may have changed the depth meanwhile.
            const bool set = WithImage(h, [&](CLamina& i) {
              const std::vector<RGBQUAD> old = PaletteOf(i);
              if (old.size() != p.size()) return false;
              for (std::size_t k = 0; keepReserved && k < p.size(); ++k)
                p[k].rgbReserved = old[k].rgbReserved;
              return i.fnIMG_SetPalette(p.data()) == 0;
            });
            if (!set) throw py::value_error("the image's palette changed while it was set");
          },
          "The palette as an n x 3 array of red, green, blue (n = 2, 16 or 256, or the file's "
          "count); empty at 24 and 32 bits. Assigning an n x 3 array replaces the colours.")
      .def("to_numpy", &ToNumpy,
           "The pixels as a new uint8 array, rows from the top: (height, width) palette indices "
           "at 1, 4 and 8 bits, (height, width, 3) RGB at 24 bits, (height, width, 4) RGBA at 32.")
      .def_static("from_numpy", &FromNumpy, py::arg("array"), py::arg("bits") = py::none(),
                  py::arg("palette") = py::none(),
                  "A new image from a uint8 array: (height, width) gives palette indices (8 bits "
                  "with the gray ramp, or bits=1 black and white, bits=4 sixteen grays; palette= "
                  "an n x 3 array replaces the first entries), (height, width, 3) RGB 24 bits, "
                  "(height, width, 4) RGBA 32 bits. Other types and shapes are refused.")
      .def("to_bmp", &BmpBytes,
           "The image as the bytes of a BMP file, exactly as it is held (b'' for an object "
           "without an image).")
      .def_static(
          "from_bmp", [](const py::bytes& b) { return FromBmpBytes(b, nullptr); }, py::arg("data"),
          "A new image from the bytes of a BMP file (named SIN_NOMBRE.RAW).")
      .def(
          "save",
          [](Held& h, py::handle path, py::object quality) {
            const std::string p = PathText(path);
            std::string words;
            int code = 0;
            const std::size_t dot = p.rfind('.');
            std::string ext = dot == std::string::npos ? "" : p.substr(dot);
            for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (!quality.is_none()) {
#if LAMINA_HAVE_FORMATS
              if (ext != ".jpg" && ext != ".jpeg")
                throw py::value_error("quality is for JPEG files only");
              const int q = quality.cast<int>();
              code = WithImage(h, [&](CLamina& i) { return formats::SaveJPEG(i, CString(p), q); });
              if (code != 0) words = "SaveJPEG gave " + std::to_string(code);
#else
              throw py::value_error("JPEG files need Lamina::formats, which this build left out");
#endif
            } else {
              code = WithImage(h, [&](CLamina& i) { return registry::SaveImage(i, p, &words); });
            }
            if (code != 0) RaiseError(words, code, FileMember(words));
          },
          py::arg("path"), py::arg("quality") = py::none(),
          "Writes the image to a file, its format chosen by the extension: .png, .jpg/.jpeg "
          "(quality 90 unless given), .pgm, .raw, and BMP for any other.")
      .def("__copy__",
           [](Held& h) {
             return WithImage(h, [](CLamina& i) { return std::make_shared<Held>(i); });
           })
      .def("__deepcopy__",
           [](Held& h, py::handle) {
             return WithImage(h, [](CLamina& i) { return std::make_shared<Held>(i); });
           })
      .def(
          "copy",
          [](Held& h) {
            return WithImage(h, [](CLamina& i) { return std::make_shared<Held>(i); });
          },
          "An independent copy of the image (pixels, palette, header and name).")
      .def(py::pickle(
          [](Held& h) {
            return py::make_tuple(BmpBytes(h), WithImage(h, [](CLamina& i) { return Name(i); }));
          },
          [](const py::tuple& state) {
            if (state.size() != 2) throw py::value_error("not a pickled lamina.Image");
            const std::string name = state[1].cast<std::string>();
            return FromBmpBytes(state[0].cast<std::string>(), &name);
          }))
      .def("__repr__", [](Held& h) {
        const Shape s = WithImage(h, [](CLamina& i) { return ShapeOf(i); });
        const std::string name = WithImage(h, [](CLamina& i) { return Name(i); });
        return "<lamina.Image " + std::to_string(s.width) + "x" + std::to_string(s.height) + ", " +
               std::to_string(s.bpp) + " bits, '" + name + "'>";
      });

  m.def(
      "load",
      [](py::handle path) {
        const std::string p = PathText(path);
        auto held = std::make_shared<Held>();
        std::string words;
        int code = 0;
        {
          py::gil_scoped_release released;
          code = registry::LoadImage(held->image, p, &words);
        }
        if (code != 0) RaiseError(words, code, FileMember(words));
        return held;
      },
      py::arg("path"),
      "Reads an image file: .png, .jpg/.jpeg, .pgm, .raw by their extension, BMP otherwise.");
}

}  // namespace python
}  // namespace lamina

// The Python module's shared pieces: the image object Python holds, its lock, and the error every
// failed call raises.
#pragma once

#include <pybind11/pybind11.h>

#include <mutex>
#include <string>
#include <vector>

#include "CLamina.h"
#include "registry.h"

namespace lamina {
namespace python {

namespace py = pybind11;

// One image as Python holds it. The library lets one thread at a time use an object; Python
// threads run operations with the interpreter lock released, so each image carries a lock of its
// own and every call that reads or changes it holds that lock (a thread loading into an image
// another thread is rotating waits instead of reading a freed block).
struct Held {
  CLamina image;
  std::mutex lock;

  Held() = default;
  explicit Held(const CLamina& other) : image(other) {}
  // The data constructor's arguments: the image is made in place.
  Held(const unsigned char* bits, const RGBQUAD* palette, int width, int height, int bpp)
      : image(bits, palette, width, height, bpp) {}
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
};

// Locks a set of images in address order (so that two threads locking the same pair cannot wait
// on each other), with the interpreter lock released while it waits.
class ImageLocks {
 public:
  explicit ImageLocks(std::vector<Held*> images);
  ~ImageLocks();
  ImageLocks(const ImageLocks&) = delete;
  ImageLocks& operator=(const ImageLocks&) = delete;

 private:
  std::vector<Held*> images_;
};

// Runs `work` on one image with the interpreter released and the image locked.
template <typename F>
auto WithImage(Held& held, F&& work) -> decltype(work(held.image)) {
  py::gil_scoped_release released;
  std::lock_guard<std::mutex> guard(held.lock);
  return work(held.image);
}

// Raises lamina.LaminaError(message, code, operation).
[[noreturn]] void RaiseError(const std::string& message, int code, const std::string& operation);

// "fnIMG_LoadBMP" or "formats::LoadPNG" from the words a load or save failed with.
std::string FileMember(const std::string& words);

// Snake case of a mixed-case name: ColorToGray -> color_to_gray, GetRGBPixel -> get_rgb_pixel.
std::string SnakeCase(const std::string& name);

void DefineImage(py::module_& m, py::class_<Held, std::shared_ptr<Held>>& image);
void DefineOperations(py::module_& m, py::class_<Held, std::shared_ptr<Held>>& image);

}  // namespace python
}  // namespace lamina

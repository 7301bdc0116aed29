// The module lamina._lamina: the Image class, load(), the error class, and one method per
// operation of the registry.
#include <pybind11/eval.h>

#include <algorithm>
#include <cctype>

#include "binding.h"

namespace lamina {
namespace python {
namespace {

// The error class, created with the module and kept alive by it.
PyObject* g_error = nullptr;

const char* const kErrorClass = R"(
class LaminaError(Exception):
    """An operation failed: .code is what the member returned (its result code, or the value
    that tells failure), .operation the member's name, and the message says what the code
    means. The image is exactly as it was before the call."""

    def __init__(self, message, code=-1, operation=""):
        super().__init__(message)
        self.message = message
        self.code = code
        self.operation = operation

    def __reduce__(self):
        return (type(self), (self.message, self.code, self.operation))

    def __str__(self):
        return self.message
)";

}  // namespace

ImageLocks::ImageLocks(std::vector<Held*> images) : images_(std::move(images)) {
  std::sort(images_.begin(), images_.end());
  images_.erase(std::unique(images_.begin(), images_.end()), images_.end());
  for (Held* h : images_) h->lock.lock();
}

ImageLocks::~ImageLocks() {
  for (auto it = images_.rbegin(); it != images_.rend(); ++it) (*it)->lock.unlock();
}

void RaiseError(const std::string& message, int code, const std::string& operation) {
  py::object cls = py::reinterpret_borrow<py::object>(g_error);
  py::object error = cls(message, code, operation);
  PyErr_SetObject(g_error, error.ptr());
  throw py::error_already_set();
}

std::string FileMember(const std::string& words) {
  const std::string first = words.substr(0, words.find(' '));
  if (first == "LoadPNG" || first == "SavePNG" || first == "LoadJPEG" || first == "SaveJPEG")
    return "formats::" + first;
  if (first.rfind("Load", 0) == 0 || first.rfind("Save", 0) == 0) return "fnIMG_" + first;
  return "";
}

std::string SnakeCase(const std::string& name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (!std::isalnum(c)) {
      if (!out.empty() && out.back() != '_') out += '_';
      continue;
    }
    if (std::isupper(c) && i > 0) {
      const unsigned char before = static_cast<unsigned char>(name[i - 1]);
      const bool afterLower = std::islower(before) || std::isdigit(before);
      // The last capital of a run of capitals starts a word when a small letter follows it
      // (RGBToHSI: rgb_to_hsi; LoadBMPFromCFile: load_bmp_from_c_file).
      const bool endsRun = std::isupper(before) && i + 1 < name.size() &&
                           std::islower(static_cast<unsigned char>(name[i + 1]));
      if ((afterLower || endsRun) && !out.empty() && out.back() != '_') out += '_';
    }
    out += static_cast<char>(std::tolower(c));
  }
  while (!out.empty() && out.back() == '_') out.pop_back();
  return out;
}

}  // namespace python
}  // namespace lamina

PYBIND11_MODULE(_lamina, m) {
  namespace py = pybind11;
  using namespace lamina::python;
  m.doc() =
      "Lamina image processing: lamina.Image holds one image and has a method for every "
      "operation of the library.";
  py::exec(kErrorClass, m.attr("__dict__"));
  m.attr("LaminaError").attr("__module__") = "lamina";
  g_error = m.attr("LaminaError").ptr();  // the module holds the reference

  py::class_<Held, std::shared_ptr<Held>> image(
      m, "Image",
      "One raster image of 1, 4, 8, 24 or 32 bits, with a method for every operation. Methods "
      "change the image in place and return None, or return what they measure; a failed call "
      "raises LaminaError and leaves the image as it was.");
  image.attr("__module__") = "lamina";
  DefineImage(m, image);
  DefineOperations(m, image);
}

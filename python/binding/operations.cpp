// One method of lamina.Image per operation of the registry, made when the module is imported: a
// new registry entry is a new method with no code here. Python values become the registry's
// Values directly (numbers, tuples, arrays, images); a str is read as the tool reads its words.
#include <pybind11/numpy.h>

#include <cmath>
#include <deque>
#include <limits>
#include <map>

#include "binding.h"

namespace lamina {
namespace python {
namespace {

using registry::Arg;
using registry::Kind;
using registry::Operation;
using registry::Value;

// A Python method: the registry's forms that share its name, picked by the number of arguments.
struct Method {
  std::string name;
  std::vector<const Operation*> forms;
};

std::deque<Method>& Methods() {
  static std::deque<Method> methods;  // never moves: the methods point into it
  return methods;
}

std::map<std::string, const Method*>& ByName() {
  static std::map<std::string, const Method*> index;
  return index;
}

PyObject* g_resultTypes = nullptr;  // a dict in the module: namedtuple types by field names

const char* PythonType(Kind kind) {
  switch (kind) {
    case Kind::kInt:
    case Kind::kUChar:
    case Kind::kULong:
      return "int";
    case Kind::kPixel:
    case Kind::kColour:
      return "int | tuple[int, int, int] | str";
    case Kind::kFloat:
    case Kind::kDouble:
      return "float";
    case Kind::kQuad:
      return "tuple[int, ...] | str";
    case Kind::kChannels:
      return "str | Sequence[str]";
    case Kind::kPlanes:
    case Kind::kRules:
      return "str | Sequence[int]";
    case Kind::kImage:
      return "Image | str | os.PathLike | None";
    case Kind::kKernel:
    case Kind::kElement:
    case Kind::kPalette:
      return "ArrayLike | str";
    case Kind::kRecord3:
    case Kind::kRecord4:
    case Kind::kSamples:
      return "Sequence[float] | str";
    case Kind::kInFile:
    case Kind::kOutFile:
      return "str | os.PathLike";
    case Kind::kOutputs:
    case Kind::kText:
    case Kind::kChoice:
      return "str";
  }
  return "object";
}

std::string Call(const Method& m, const Operation& op) {
  std::string out = m.name + "(";
  for (std::size_t i = 0; i < op.args.size(); ++i)
    out += (i == 0 ? "" : ", ") + SnakeCase(op.args[i].name);
  return out + ")";
}

// ---- Python values to the registry's Values -------------------------------------------------

struct Converter {
  const Method& method;
  const Operation& op;
  registry::Outputs& outputs;
  Held* self;                  // the image the method runs on; null for a file chain
  std::vector<Held*>& others;  // second images to lock while the step runs
  const std::string* stem;     // a file chain's {name}, replaced in texts
  bool copyImages;             // a file chain owns copies of its second images

  [[noreturn]] void Fail(const Arg& arg, const std::string& what, bool type = false) const {
    const std::string text = method.name + "(): " + SnakeCase(arg.name) + " " + what;
    if (type) throw py::type_error(text);
    throw py::value_error(text);
  }

  std::string Text(py::handle v) const {
    std::string text = py::str(v).cast<std::string>();
    if (stem != nullptr)
      for (std::size_t at = text.find("{name}"); at != std::string::npos;
           at = text.find("{name}", at + stem->size()))
        text.replace(at, 6, *stem);
    return text;
  }

  void FromText(const Arg& arg, const std::string& text, Value& value) const {
    std::string why;
    if (!registry::Parse(arg, text, outputs, value, why)) Fail(arg, "'" + text + "' " + why);
  }

  long long Whole(const Arg& arg, py::handle v, long long low, long long high) const {
    if (!PyIndex_Check(v.ptr())) Fail(arg, "must be a whole number", true);
    py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(v.ptr()));
    int overflow = 0;
    const long long n = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
    if (overflow != 0 || n < low || n > high)
      Fail(arg, "must be from " + std::to_string(low) + " to " + std::to_string(high) + ", not " +
                    py::str(v).cast<std::string>());
    return n;
  }

  double Real(const Arg& arg, py::handle v) const {
    if (py::isinstance<py::str>(v) || py::isinstance<py::bytes>(v) || !PyNumber_Check(v.ptr()))
      Fail(arg, "must be a number", true);
    const double d = PyFloat_AsDouble(v.ptr());
    if (d == -1.0 && PyErr_Occurred()) throw py::error_already_set();
    return d;
  }

  // Owned: iterating an array makes each element afresh, and a borrowed handle would outlive it.
  std::vector<py::object> Items(const Arg& arg, py::handle v, const char* what) const {
    if (!py::isinstance<py::sequence>(v) && !py::isinstance<py::array>(v) &&
        !py::isinstance<py::set>(v) && !py::isinstance<py::frozenset>(v))
      Fail(arg, std::string("must be ") + what, true);
    std::vector<py::object> items;
    for (py::handle item : v) items.push_back(py::reinterpret_borrow<py::object>(item));
    return items;
  }

  // (r, g, b) or (r, g, b, reserved).
  RGBQUAD Colour(const Arg& arg, py::handle v, bool reserved) const {
    const std::vector<py::object> c = Items(arg, v, "a colour (r, g, b)");
    if (c.size() != 3 && !(reserved && c.size() == 4))
      Fail(arg, reserved ? "must be (r, g, b) or (r, g, b, reserved)" : "must be (r, g, b)");
    int b[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < c.size(); ++i) b[i] = static_cast<int>(Whole(arg, c[i], 0, 255));
    return RGBQUAD{static_cast<BYTE>(b[2]), static_cast<BYTE>(b[1]), static_cast<BYTE>(b[0]),
                   static_cast<BYTE>(b[3])};
  }

  void Matrix(const Arg& arg, py::handle v, Value& value, long long low, long long high) const {
    py::array a = py::module_::import("numpy").attr("asarray")(v);
    const char kind = a.dtype().kind();
    if (a.ndim() != 2 || a.shape(0) < 1 || a.shape(1) < 1 || a.shape(0) > 4096 || a.shape(1) > 4096)
      Fail(arg, "must be a two-dimensional array (rows of values), 1 to 4096 each way");
    if (kind != 'i' && kind != 'u' && kind != 'b') Fail(arg, "must hold whole numbers", true);
    py::array_t<long long, py::array::c_style | py::array::forcecast> cells(a);
    value.cells.clear();
    for (py::ssize_t i = 0; i < cells.size(); ++i) {
      const long long c = cells.data()[i];
      if (c < low || c > high)
        Fail(arg, "holds " + std::to_string(c) + ", not a whole number from " +
                      std::to_string(low) + " to " + std::to_string(high));
      value.cells.push_back(static_cast<int>(c));
    }
    value.height = static_cast<int>(a.shape(0));
    value.width = static_cast<int>(a.shape(1));
  }

  void Flags(const Arg& arg, py::handle v, Value& value, std::size_t count, int low, int high,
             bool reversed) const {
    value.cells.assign(count, 0);
    for (py::handle item : Items(arg, v, "a sequence of numbers")) {
      const long long n = Whole(arg, item, low, high);
      const std::size_t at = static_cast<std::size_t>(n - low);
      value.cells[reversed ? count - 1 - at : at] = 1;
    }
  }

  void Convert(const Arg& arg, py::handle v, Value& value) const {
    value = Value();
    value.kind = arg.kind;
    // Numbers first: they are most arguments, and asking them for __fspath__ costs a failed
    // attribute lookup on every call.
    const bool number = PyLong_Check(v.ptr()) || PyFloat_Check(v.ptr());
    // Where text is the natural form (files, names) or the caller chose the tool's syntax.
    if (!number && (py::isinstance<py::str>(v) || py::hasattr(v, "__fspath__"))) {
      FromText(arg,
               Text(py::isinstance<py::str>(v) ? v : py::module_::import("os").attr("fspath")(v)),
               value);
      return;
    }
    if (stem != nullptr) value.text = py::repr(v).cast<std::string>();  // a file chain's words
    switch (arg.kind) {
      case Kind::kInt:
        value.number =
            Whole(arg, v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        return;
      case Kind::kUChar:
        value.number = Whole(arg, v, 0, 255);
        return;
      case Kind::kULong:
        value.number = Whole(arg, v, 0, 0xFFFFFFFFLL);
        return;
      case Kind::kPixel:
      case Kind::kColour:
        if (PyIndex_Check(v.ptr())) {
          value.number = Whole(arg, v, 0, 0xFFFFFFFFLL);
        } else {
          const RGBQUAD q = Colour(arg, v, false);
          // A pixel value puts blue in the low byte, a packed colour red.
          value.number =
              arg.kind == Kind::kPixel
                  ? q.rgbBlue | (q.rgbGreen << 8) | (static_cast<long long>(q.rgbRed) << 16)
                  : q.rgbRed | (q.rgbGreen << 8) | (static_cast<long long>(q.rgbBlue) << 16);
        }
        return;
      case Kind::kFloat:
      case Kind::kDouble:
        value.real = Real(arg, v);
        return;
      case Kind::kQuad:
        value.quad = Colour(arg, v, true);
        return;
      case Kind::kChannels: {
        std::string joined;
        for (py::handle item : Items(arg, v, "channel names (gray, red, green, blue)")) {
          if (!py::isinstance<py::str>(item)) Fail(arg, "must name channels as strings", true);
          joined += (joined.empty() ? "" : ",") + item.cast<std::string>();
        }
        FromText(arg, joined.empty() ? "none" : joined, value);
        return;
      }
      case Kind::kPlanes:
        Flags(arg, v, value, 24, 0, 23, true);  // the record runs from plane 23 down
        return;
      case Kind::kRules:
        Flags(arg, v, value, 6, 1, 6, false);
        return;
      case Kind::kImage: {
        if (v.is_none()) return;  // as "-": no image
        if (!py::isinstance<Held>(v))
          Fail(arg, "must be a lamina.Image, a file name or None", true);
        auto other = v.cast<std::shared_ptr<Held>>();
        if (other.get() == self) {
          value.self = true;
        } else if (copyImages) {
          value.image = WithImage(*other, [](CLamina& i) { return std::make_shared<CLamina>(i); });
        } else {
          value.image = std::shared_ptr<CLamina>(other, &other->image);
          others.push_back(other.get());
        }
        return;
      }
      case Kind::kKernel:
        Matrix(arg, v, value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        return;
      case Kind::kElement:
        Matrix(arg, v, value, 0, 255);
        return;
      case Kind::kRecord3:
      case Kind::kRecord4:
      case Kind::kSamples: {
        for (py::handle item : Items(arg, v, "a sequence of numbers"))
          value.reals.push_back(Real(arg, item));
        const std::size_t n = value.reals.size();
        if (arg.kind == Kind::kRecord3 && n != 3) Fail(arg, "must hold 3 numbers");
        if (arg.kind == Kind::kRecord4 && n != 4) Fail(arg, "must hold 4 numbers");
        if (arg.kind == Kind::kSamples && (n == 0 || n > (1u << 20) || (n & (n - 1)) != 0))
          Fail(arg, "must hold a power of two of numbers (1 to 1048576), not " + std::to_string(n));
        return;
      }
      case Kind::kPalette: {
        py::array a = py::module_::import("numpy").attr("asarray")(v);
        if (a.ndim() != 2 || (a.shape(1) != 3 && a.shape(1) != 4) || a.shape(0) < 1 ||
            a.shape(0) > 256)
          Fail(arg, "must be an n x 3 (or n x 4) array of 1 to 256 colours");
        for (py::handle row : a) value.colours.push_back(Colour(arg, row, true));
        return;
      }
      case Kind::kInFile:
      case Kind::kOutFile:
      case Kind::kOutputs:
      case Kind::kText:
      case Kind::kChoice:
        Fail(arg, "must be a str", true);
    }
  }
};

// Picks the form by the number of arguments and converts them; TypeError or ValueError when they
// do not fit.
registry::Step Prepare(const Method& m, const py::args& args, const py::kwargs& kwargs,
                       registry::Outputs& outputs, Held* self, std::vector<Held*>& others,
                       const std::string* stem, bool copyImages) {
  const std::size_t given = args.size() + kwargs.size();
  for (const Operation* op : m.forms) {
    if (op->args.size() != given) continue;
    std::vector<py::handle> values(given);
    for (std::size_t i = 0; i < args.size(); ++i) values[i] = args[i];
    bool fits = true;
    for (auto item : kwargs) {
      const std::string key = item.first.cast<std::string>();
      std::size_t k = args.size();
      while (k < given && SnakeCase(op->args[k].name) != key) ++k;
      if (k == given || values[k]) {
        fits = false;
        break;
      }
      values[k] = item.second;
    }
    if (!fits) continue;
    registry::Step step;
    step.op = op;
    step.values.resize(given);
    Converter c{m, *op, outputs, self, others, stem, copyImages};
    for (std::size_t i = 0; i < given; ++i) {
      c.Convert(op->args[i], values[i], step.values[i]);
      step.texts.push_back(step.values[i].text);
    }
    return step;
  }
  // rotation() takes 3 arguments (size_mode, angle, background) or 5 (...), not 4
  std::string text = m.name + "() takes ";
  for (std::size_t k = 0; k < m.forms.size(); ++k) {
    const Operation& f = *m.forms[k];
    std::string names;
    for (const Arg& a : f.args) names += (names.empty() ? "" : ", ") + SnakeCase(a.name);
    text += (k == 0                    ? ""
             : k + 1 == m.forms.size() ? " or "
                                       : ", ") +
            std::to_string(f.args.size()) +
            (k == 0 ? (f.args.size() == 1 ? " argument" : " arguments") : "") +
            (names.empty() ? "" : " (" + names + ")");
  }
  text += ", not " + std::to_string(given);
  if (kwargs.size() > 0) text += " (or a keyword it does not take)";
  throw py::type_error(text);
}

// ---- What an operation measured, as Python values ---------------------------------------------

py::object Colour(const std::string& hex) {
  const int v = static_cast<int>(std::strtol(hex.c_str() + 1, nullptr, 16));
  return py::make_tuple((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

py::object MeasureValue(const registry::Measure& m) {
  if (m.colour) {
    if (!m.list) return Colour(m.texts.empty() ? "#000000" : m.texts[0]);
    py::array_t<std::uint8_t> out(
        std::vector<py::ssize_t>{static_cast<py::ssize_t>(m.texts.size()), 3});
    std::uint8_t* d = out.mutable_data();
    for (const std::string& t : m.texts) {
      const int v = static_cast<int>(std::strtol(t.c_str() + 1, nullptr, 16));
      *d++ = static_cast<std::uint8_t>((v >> 16) & 0xFF);
      *d++ = static_cast<std::uint8_t>((v >> 8) & 0xFF);
      *d++ = static_cast<std::uint8_t>(v & 0xFF);
    }
    return out;
  }
  if (!m.texts.empty() || m.numbers.empty()) {
    if (!m.list) return py::str(m.texts.empty() ? "" : m.texts[0]);
    py::list texts;
    for (const std::string& t : m.texts) texts.append(t);
    return texts;
  }
  if (m.list) {
    if (m.whole) {
      py::array_t<long long> out(static_cast<py::ssize_t>(m.numbers.size()));
      for (std::size_t i = 0; i < m.numbers.size(); ++i)
        out.mutable_data()[i] = static_cast<long long>(m.numbers[i]);
      return out;
    }
    py::array_t<double> out(static_cast<py::ssize_t>(m.numbers.size()));
    std::copy(m.numbers.begin(), m.numbers.end(), out.mutable_data());
    return out;
  }
  const double v = m.numbers[0];
  if (m.whole && std::isfinite(v)) return py::int_(static_cast<long long>(v));
  return py::float_(v);
}

// None, the one value, or a named tuple of several (fields named in snake case).
py::object Result(const registry::Outcome& outcome) {
  const auto& ms = outcome.measures;
  if (ms.empty()) return py::none();
  if (ms.size() == 1) return MeasureValue(ms[0]);
  std::string key;
  py::list fields;
  for (const registry::Measure& m : ms) {
    const std::string field = SnakeCase(m.name);
    key += field + " ";
    fields.append(field);
  }
  py::dict types = py::reinterpret_borrow<py::dict>(g_resultTypes);
  py::str pyKey(key);
  if (!types.contains(pyKey))
    types[pyKey] = py::module_::import("collections")
                       .attr("namedtuple")("Result", fields, py::arg("rename") = true);
  py::list values;
  for (const registry::Measure& m : ms) values.append(MeasureValue(m));
  return types[pyKey](*values);
}

// ---- Running ----------------------------------------------------------------------------------

py::object Run(const Method& m, Held& self, const py::args& args, const py::kwargs& kwargs) {
  registry::Outputs outputs;  // files a step writes appear only when it succeeds
  std::vector<Held*> locked;
  const registry::Step step = Prepare(m, args, kwargs, outputs, &self, locked, nullptr, false);
  registry::Outcome outcome;
  bool written = true;
  std::string error;
  {
    py::gil_scoped_release released;
    locked.push_back(&self);
    ImageLocks locks(locked);
    outcome = registry::RunStep(self.image, step, outputs);
    if (outcome.failed)
      outputs.Discard();
    else
      written = outputs.Commit(&error);
  }
  if (outcome.failed) RaiseError(outcome.words, outcome.code, step.op->member);
  if (!written) RaiseError(error, -1, step.op->member);
  return Result(outcome);
}

// One file through a chain, as `lamina batch` does it: read, every step, write, and the files
// the steps write put in place only when all of it succeeded. Returns (ok, error, measures).
py::tuple ProcessFile(const std::string& input, const std::string& output, const py::list& steps,
                      const std::string& stem) {
  registry::Outputs outputs;
  std::vector<registry::Step> chain;
  std::vector<Held*> none;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    py::tuple s = steps[i].cast<py::tuple>();
    const std::string name = s[0].cast<std::string>();
    const auto found = ByName().find(name);
    if (found == ByName().end()) throw py::value_error("'" + name + "' is not an operation");
    const auto args = py::reinterpret_borrow<py::args>(py::tuple(s[1]));
    chain.push_back(
        Prepare(*found->second, args, py::kwargs(), outputs, nullptr, none, &stem, true));
  }
  registry::FileRun run;
  {
    py::gil_scoped_release released;
    run = registry::RunFile(input, output, chain, outputs);
  }
  py::list results;
  for (const auto& m : run.measured) results.append(py::make_tuple(m.first, Result(m.second)));
  return py::make_tuple(run.ok, run.ok ? py::object(py::none()) : py::object(py::str(run.error)),
                        results);
}

// "@param x the column" -> "x: the column"; "@return" -> "Returns:".
std::string Readable(const std::string& doc) {
  std::string out;
  std::size_t pos = 0;
  while (pos <= doc.size()) {
    std::size_t end = doc.find('\n', pos);
    if (end == std::string::npos) end = doc.size();
    std::string line = doc.substr(pos, end - pos);
    if (line.rfind("@param ", 0) == 0) {
      const std::size_t space = line.find(' ', 7);
      const std::string name =
          line.substr(7, space == std::string::npos ? std::string::npos : space - 7);
      line = "  " + SnakeCase(name) + ":" + (space == std::string::npos ? "" : line.substr(space));
    } else if (line.rfind("@return ", 0) == 0) {
      line = "Returns: " + line.substr(8);
    } else if (line.rfind("@retval ", 0) == 0) {
      line = "  returns " + line.substr(8);
    }
    out += line + "\n";
    pos = end + 1;
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

std::string Docstring(const Method& m) {
  std::string doc;
  for (const Operation* op : m.forms) {
    std::string sig = Call(m, *op);
    doc += (doc.empty() ? "" : "\n\n") + sig + "\n    " + op->member + "(" + op->parameters + ")";
    doc += "\n\n" + Readable(registry::Documentation(*op));
    if (!op->args.empty()) {
      doc += "\n\nArguments from Python:";
      for (const Arg& a : op->args)
        doc += "\n  " + SnakeCase(a.name) + " (" + PythonType(a.kind) + "): " + a.meaning +
               (a.choices != nullptr ? std::string(" [") + a.choices + "]" : "");
    }
    doc += std::string("\nGives: ") + op->result;
  }
  return doc;
}

const char* ReturnsName(registry::Returns r) {
  switch (r) {
    case registry::Returns::kCode:
      return "code";
    case registry::Returns::kValue:
      return "value";
    case registry::Returns::kMeasures:
      return "measures";
    case registry::Returns::kNothing:
      return "nothing";
  }
  return "";
}

}  // namespace

void DefineOperations(py::module_& m, py::class_<Held, std::shared_ptr<Held>>& image) {
  m.attr("_result_types") = py::dict();
  g_resultTypes = m.attr("_result_types").ptr();

  // The registry's forms grouped by their name; those the tool cannot run (no run function, or a
  // reason) are listed in lamina.unavailable instead.
  py::dict unavailable;
  for (const Operation& op : registry::Operations()) {
    const std::string name = SnakeCase(op.name);
    if (op.run == nullptr || op.noTool != nullptr) {
      unavailable[py::str(name)] = op.noTool != nullptr ? op.noTool : "not runnable";
      continue;
    }
    auto found = ByName().find(name);
    if (found == ByName().end()) {
      Methods().push_back(Method{name, {}});
      found = ByName().emplace(name, &Methods().back()).first;
    }
    const_cast<Method*>(found->second)->forms.push_back(&op);
  }
  m.attr("unavailable") = unavailable;

  py::list described;
  py::options options;
  options.disable_function_signatures();  // each docstring starts with its forms' own
  for (const Method& method : Methods()) {
    if (py::hasattr(image, method.name.c_str()))
      throw std::runtime_error("the operation " + method.name + " clashes with Image." +
                               method.name);
    const Method* mp = &method;
    image.def(
        method.name.c_str(),
        [mp](Held& self, const py::args& args, const py::kwargs& kwargs) {
          return Run(*mp, self, args, kwargs);
        },
        Docstring(method).c_str());
    py::list forms;
    for (const Operation* op : method.forms) {
      py::list args;
      for (const Arg& a : op->args)
        args.append(py::dict(
            py::arg("name") = SnakeCase(a.name), py::arg("kind") = registry::KindName(a.kind),
            py::arg("python_type") = PythonType(a.kind), py::arg("meaning") = a.meaning,
            py::arg("choices") =
                a.choices != nullptr ? py::object(py::str(a.choices)) : py::object(py::none())));
      forms.append(py::dict(py::arg("tool_name") = op->name, py::arg("member") = op->member,
                            py::arg("parameters") = op->parameters, py::arg("family") = op->family,
                            py::arg("returns") = ReturnsName(op->returns),
                            py::arg("result") = op->result,
                            py::arg("summary") = registry::Summary(*op), py::arg("args") = args));
    }
    described.append(py::dict(py::arg("name") = method.name, py::arg("forms") = forms,
                              py::arg("doc") = Docstring(method)));
  }
  m.attr("_operations") = described;

  m.def("_process_file", &ProcessFile, py::arg("input"), py::arg("output"), py::arg("steps"),
        py::arg("stem"),
        "Reads input, runs the steps [(name, args), ...] on it and writes output, as lamina "
        "batch does one file; returns (ok, error, [(step, result), ...]).");
}

}  // namespace python
}  // namespace lamina

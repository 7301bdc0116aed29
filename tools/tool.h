// Pieces the forms of the `lamina` tool share: printing measurements as text and JSON, timing, and
// the forms that live in their own files.
#pragma once

#include <string>
#include <vector>

#include "registry.h"

namespace lamina {
namespace tool {

// "118", "0.75", "#ff8000"; lists joined by spaces.
std::string Show(const registry::Measure& m);
// The same, shortened to a line for a page: "256 values, 0 to 1234".
std::string Brief(const registry::Measure& m);
std::string JsonString(const std::string& text);
std::string JsonMeasures(const std::vector<registry::Measure>& measures);

// Milliseconds since an arbitrary start.
double Now();

// `lamina batch` and `lamina gallery`; each returns the process's exit status.
int Batch(const std::vector<std::string>& args);
int Gallery(const std::vector<std::string>& args);

// The built-in test picture: 256 x 192 pixels of 24 bits, colourful, with edges and flat areas.
CLamina TestPicture();

}  // namespace tool
}  // namespace lamina

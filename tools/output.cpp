// Measurements as text and JSON.
#include <chrono>
#include <cmath>
#include <cstdio>

#include "tool.h"

namespace lamina {
namespace tool {
namespace {

// Whole numbers as integers; others with the digits a float or double needs.
std::string Number(double v) {
  char text[40];
  if (std::isnan(v)) return "nan";
  if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
  if (v == std::floor(v) && std::fabs(v) < 1e15)
    std::snprintf(text, sizeof text, "%.0f", v);
  else
    std::snprintf(text, sizeof text, "%.9g", v);
  return text;
}

std::string JsonNumber(double v) {
  // JSON has no not-a-number or infinity.
  if (std::isnan(v) || std::isinf(v)) return JsonString(Number(v));
  return Number(v);
}

}  // namespace

std::string Show(const registry::Measure& m) {
  std::string out;
  for (double v : m.numbers) out += (out.empty() ? "" : " ") + Number(v);
  for (const std::string& t : m.texts) out += (out.empty() ? "" : " ") + t;
  return out;
}

std::string Brief(const registry::Measure& m) {
  if (m.numbers.size() > 8) {
    double lo = m.numbers[0], hi = m.numbers[0];
    for (double v : m.numbers) lo = std::fmin(lo, v), hi = std::fmax(hi, v);
    return std::to_string(m.numbers.size()) + " values, " + Number(lo) + " to " + Number(hi);
  }
  if (m.texts.size() > 8) {
    std::string out;
    for (std::size_t i = 0; i < 4; ++i) out += m.texts[i] + " ";
    return out + "... (" + std::to_string(m.texts.size()) + ")";
  }
  return Show(m);
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\u%04x", c);
      out += esc;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string JsonMeasures(const std::vector<registry::Measure>& measures) {
  std::string out = "{";
  for (std::size_t i = 0; i < measures.size(); ++i) {
    const registry::Measure& m = measures[i];
    std::string value;
    const std::size_t n = m.numbers.size() + m.texts.size();
    for (double v : m.numbers) value += (value.empty() ? "" : ", ") + JsonNumber(v);
    for (const std::string& t : m.texts) value += (value.empty() ? "" : ", ") + JsonString(t);
    if (m.list || n != 1) value = "[" + value + "]";
    out += (i ? ", " : "") + JsonString(m.name) + ": " + value;
  }
  return out + "}";
}

double Now() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace tool
}  // namespace lamina

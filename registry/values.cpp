// Arguments from the command line: numbers, colours, flag sets, kernels and images, each read in
// full (a number with a trailing letter is refused, not cut short) and within its type's range,
// so that the member sees exactly what the user wrote or the tool says why not.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

#include "registry.h"

namespace lamina {
namespace registry {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::string> SplitOn(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.push_back("");
  return parts;
}

bool WholeNumber(const std::string& text, long long low, long long high, long long& out) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < low || v > high) return false;
  out = v;
  return true;
}

bool RealNumber(const std::string& text, double& out) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (*end != '\0') return false;
  out = v;
  return true;
}

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// #rrggbb or #rrggbbaa.
bool HexColour(const std::string& text, bool allowReserved, RGBQUAD& out) {
  if (text.size() != 7 && !(allowReserved && text.size() == 9)) return false;
  if (text[0] != '#') return false;
  int bytes[4] = {0, 0, 0, 0};
  for (std::size_t i = 1; i < text.size(); i += 2) {
    const int hi = Hex(text[i]), lo = Hex(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes[i / 2] = hi * 16 + lo;
  }
  out = RGBQUAD{static_cast<BYTE>(bytes[2]), static_cast<BYTE>(bytes[1]),
                static_cast<BYTE>(bytes[0]), static_cast<BYTE>(bytes[3])};
  return true;
}

bool ReadText(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream s;
  s << in.rdbuf();
  out = s.str();
  return true;
}

// WxH:v,v,... with the values separated by commas or white space.
bool Matrix(const std::string& text, long long low, long long high, Value& value,
            std::string& error) {
  const std::size_t x = text.find('x');
  const std::size_t colon = text.find(':');
  long long w = 0, h = 0;
  if (x == std::string::npos || colon == std::string::npos || x > colon ||
      !WholeNumber(text.substr(0, x), 1, 4096, w) ||
      !WholeNumber(text.substr(x + 1, colon - x - 1), 1, 4096, h)) {
    error = "is not WxH:v,v,... (a size of 1 to 4096 each way, then the values)";
    return false;
  }
  std::string rest = text.substr(colon + 1);
  for (char& c : rest)
    if (std::isspace(static_cast<unsigned char>(c))) c = ',';
  value.cells.clear();
  for (const std::string& cell : SplitOn(rest, ',')) {
    if (cell.empty()) continue;
    long long v = 0;
    if (!WholeNumber(cell, low, high, v)) {
      error = "holds '" + cell + "', not a whole number from " + std::to_string(low) + " to " +
              std::to_string(high);
      return false;
    }
    value.cells.push_back(static_cast<int>(v));
  }
  if (static_cast<long long>(value.cells.size()) != w * h) {
    error = "holds " + std::to_string(value.cells.size()) + " values where " + std::to_string(w) +
            "x" + std::to_string(h) + " needs " + std::to_string(w * h);
    return false;
  }
  value.width = static_cast<int>(w);
  value.height = static_cast<int>(h);
  return true;
}

bool Reals(const std::string& text, std::size_t count, Value& value, std::string& error) {
  value.reals.clear();
  for (const std::string& part : SplitOn(text, ',')) {
    double v = 0;
    if (!RealNumber(part, v)) {
      error = "holds '" + part + "', not a number";
      return false;
    }
    value.reals.push_back(v);
  }
  if (count != 0 && value.reals.size() != count) {
    error = "needs " + std::to_string(count) + " numbers separated by commas";
    return false;
  }
  return true;
}

}  // namespace

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::kInt:
      return "int";
    case Kind::kUChar:
      return "byte";
    case Kind::kPixel:
      return "pixel value";
    case Kind::kULong:
      return "unsigned";
    case Kind::kColour:
      return "packed colour";
    case Kind::kFloat:
      return "float";
    case Kind::kDouble:
      return "double";
    case Kind::kQuad:
      return "RGBQUAD";
    case Kind::kChannels:
      return "channels";
    case Kind::kPlanes:
      return "bit planes";
    case Kind::kRules:
      return "smoothing rules";
    case Kind::kImage:
      return "image";
    case Kind::kKernel:
      return "kernel";
    case Kind::kElement:
      return "structuring element";
    case Kind::kRecord3:
      return "record";
    case Kind::kRecord4:
      return "CMYK record";
    case Kind::kSamples:
      return "samples";
    case Kind::kPalette:
      return "palette";
    case Kind::kInFile:
      return "input file";
    case Kind::kOutFile:
      return "output file";
    case Kind::kOutputs:
      return "output files";
    case Kind::kText:
      return "text";
    case Kind::kChoice:
      return "name";
  }
  return "?";
}

const char* KindSyntax(Kind kind) {
  switch (kind) {
    case Kind::kInt:
      return "a whole number";
    case Kind::kUChar:
      return "0 to 255";
    case Kind::kPixel:
      return "a number, or #rrggbb for that colour's 24-bit value";
    case Kind::kULong:
      return "a whole number, 0 or more";
    case Kind::kColour:
      return "#rrggbb, or a number red + green x 256 + blue x 65536";
    case Kind::kFloat:
    case Kind::kDouble:
      return "a number (nan and inf are accepted)";
    case Kind::kQuad:
      return "#rrggbb, or #rrggbbaa with the reserved byte";
    case Kind::kChannels:
      return "gray,red,green,blue (any of them), all or none";
    case Kind::kPlanes:
      return "plane numbers 0 to 23 and ranges (0-3,16), all or none";
    case Kind::kRules:
      return "rule numbers 1 to 6 (1,3), all or none";
    case Kind::kImage:
      return "an image file; self for this image; - for none";
    case Kind::kKernel:
      return "WxH:v,v,... (whole numbers) or a file holding that";
    case Kind::kElement:
      return "WxH:v,v,... (0 to 255) or a file holding that";
    case Kind::kRecord3:
      return "three numbers a,b,c";
    case Kind::kRecord4:
      return "four numbers c,m,y,k";
    case Kind::kSamples:
      return "numbers v,v,... (1, 2, 4, 8 ... of them)";
    case Kind::kPalette:
      return "colours #rrggbb,#rrggbb,...";
    case Kind::kInFile:
      return "a file to read";
    case Kind::kOutFile:
      return "a file to write";
    case Kind::kOutputs:
      return "a file name with {} for 1, 2, 3, 4";
    case Kind::kText:
      return "any text";
    case Kind::kChoice:
      return "one of the names listed";
  }
  return "";
}

bool Parse(const Arg& arg, const std::string& text, const Outputs& outputs, Value& value,
           std::string& error) {
  value = Value();
  value.kind = arg.kind;
  value.text = text;
  const std::string word = Lower(text);
  RGBQUAD q{};
  switch (arg.kind) {
    case Kind::kInt:
      if (WholeNumber(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                      value.number))
        return true;
      error = "is not a whole number in int's range";
      return false;
    case Kind::kUChar:
      if (WholeNumber(text, 0, 255, value.number)) return true;
      error = "is not a whole number from 0 to 255";
      return false;
    case Kind::kULong:
      if (WholeNumber(text, 0, 0xFFFFFFFFLL, value.number)) return true;
      error = "is not a whole number from 0 to 4294967295";
      return false;
    case Kind::kPixel:
      if (HexColour(text, false, q)) {
        value.number = q.rgbBlue | (q.rgbGreen << 8) | (static_cast<long long>(q.rgbRed) << 16);
        return true;
      }
      if (WholeNumber(text, 0, 0xFFFFFFFFLL, value.number)) return true;
      error = "is neither #rrggbb nor a whole number from 0 to 4294967295";
      return false;
    case Kind::kColour:
      if (HexColour(text, false, q)) {
        value.number = q.rgbRed | (q.rgbGreen << 8) | (static_cast<long long>(q.rgbBlue) << 16);
        return true;
      }
      if (WholeNumber(text, 0, 0xFFFFFFFFLL, value.number)) return true;
      error = "is neither #rrggbb nor a whole number from 0 to 4294967295";
      return false;
    case Kind::kFloat:
    case Kind::kDouble:
      if (RealNumber(text, value.real)) return true;
      error = "is not a number";
      return false;
    case Kind::kQuad:
      if (HexColour(text, true, value.quad)) return true;
      error = "is not a colour #rrggbb or #rrggbbaa";
      return false;
    case Kind::kChannels: {
      value.cells.assign(4, 0);
      if (word == "all") value.cells.assign(4, 1);
      if (word == "all" || word == "none") return true;
      static const char* const kNames[] = {"gray", "red", "green", "blue"};
      for (const std::string& part : SplitOn(word, ',')) {
        bool known = false;
        for (int i = 0; i < 4; ++i)
          if (part == kNames[i]) value.cells[i] = 1, known = true;
        if (!known) {
          error = "names '" + part + "', not one of gray, red, green, blue";
          return false;
        }
      }
      return true;
    }
    case Kind::kPlanes: {
      // The record runs from plane 23 down to plane 0.
      value.cells.assign(24, 0);
      if (word == "all") value.cells.assign(24, 1);
      if (word == "all" || word == "none") return true;
      for (const std::string& part : SplitOn(word, ',')) {
        const std::size_t dash = part.find('-', 1);
        long long a = 0, b = 0;
        const bool ok = dash == std::string::npos
                            ? WholeNumber(part, 0, 23, a) && (b = a, true)
                            : WholeNumber(part.substr(0, dash), 0, 23, a) &&
                                  WholeNumber(part.substr(dash + 1), 0, 23, b) && a <= b;
        if (!ok) {
          error = "holds '" + part + "', not a plane 0 to 23 or a range of them";
          return false;
        }
        for (long long p = a; p <= b; ++p) value.cells[static_cast<std::size_t>(23 - p)] = 1;
      }
      return true;
    }
    case Kind::kRules: {
      value.cells.assign(6, 0);
      if (word == "all") value.cells.assign(6, 1);
      if (word == "all" || word == "none") return true;
      for (const std::string& part : SplitOn(word, ',')) {
        long long r = 0;
        if (!WholeNumber(part, 1, 6, r)) {
          error = "holds '" + part + "', not a rule 1 to 6";
          return false;
        }
        value.cells[static_cast<std::size_t>(r - 1)] = 1;
      }
      return true;
    }
    case Kind::kImage: {
      if (text == "-") return true;
      if (word == "self") {
        value.self = true;
        return true;
      }
      value.image = std::make_shared<CLamina>();
      std::string words;
      if (LoadImage(*value.image, outputs.Resolve(text), &words) != 0) {
        error = "cannot be read: " + words;
        return false;
      }
      return true;
    }
    case Kind::kKernel:
    case Kind::kElement: {
      const long long low = arg.kind == Kind::kKernel ? std::numeric_limits<int>::min() : 0;
      const long long high = arg.kind == Kind::kKernel ? std::numeric_limits<int>::max() : 255;
      const std::size_t colon = text.find(':');
      const bool literal = colon != std::string::npos && text.find('x') < colon &&
                           std::isdigit(static_cast<unsigned char>(text[0]));
      if (literal) return Matrix(text, low, high, value, error);
      std::string content;
      if (!ReadText(outputs.Resolve(text), content)) {
        error = "is neither WxH:v,v,... nor a file that can be read";
        return false;
      }
      while (!content.empty() && std::isspace(static_cast<unsigned char>(content.back())))
        content.pop_back();
      std::string inner;
      if (!Matrix(content, low, high, value, inner)) {
        error = "names a file that " + inner;
        return false;
      }
      return true;
    }
    case Kind::kRecord3:
      return Reals(text, 3, value, error);
    case Kind::kRecord4:
      return Reals(text, 4, value, error);
    case Kind::kSamples: {
      if (!Reals(text, 0, value, error)) return false;
      const std::size_t n = value.reals.size();
      if (n > (1u << 20) || (n & (n - 1)) != 0) {
        error = "holds " + std::to_string(n) + " numbers, not a power of two up to 1048576";
        return false;
      }
      return true;
    }
    case Kind::kPalette: {
      for (const std::string& part : SplitOn(text, ',')) {
        if (!HexColour(part, true, q)) {
          error = "holds '" + part + "', not a colour #rrggbb";
          return false;
        }
        value.colours.push_back(q);
      }
      if (value.colours.empty() || value.colours.size() > 256) {
        error = "needs 1 to 256 colours";
        return false;
      }
      return true;
    }
    case Kind::kOutputs:
      if (text.find("{}") != std::string::npos) return true;
      error = "needs {} where 1, 2, 3 and 4 go";
      return false;
    case Kind::kInFile:
    case Kind::kOutFile:
      if (!text.empty()) return true;
      error = "is empty";
      return false;
    case Kind::kText:
      return true;
    case Kind::kChoice:
      for (const std::string& choice : SplitOn(arg.choices, '|'))
        if (word == Lower(choice)) {
          value.text = choice;
          return true;
        }
      error = "is not one of " + std::string(arg.choices);
      return false;
  }
  error = "cannot be read";
  return false;
}

}  // namespace registry
}  // namespace lamina

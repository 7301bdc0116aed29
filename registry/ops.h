// The registry's tables, one file per part of the interface; each adds its operations in the
// order of the header.
#pragma once

#include <string>
#include <vector>

#include "codes/index.h"
#include "registry.h"

namespace lamina {
namespace registry {

void AddImageOperations(std::vector<Operation>& ops);      // object, pixels, palettes, display
void AddFileOperations(std::vector<Operation>& ops);       // files and exchange
void AddIntensityOperations(std::vector<Operation>& ops);  // depth, gray, histograms, points
void AddGeometryOperations(std::vector<Operation>& ops);   // geometry, distortion, mapping
void AddCombineOperations(std::vector<Operation>& ops);    // combination, neighbourhood, FFT
void AddColourOperations(std::vector<Operation>& ops);     // colour models, split
void AddHiddenOperations(std::vector<Operation>& ops);     // the protected and private members

// The code table of an operation, by its namespace in the family's codes.h (src/codes/index.h
// gathers them all).
#define LAMINA_CODES(ns) ::lamina::registry::Codes(::lamina::codes::ns::kAll)

// A whole file's bytes; false when it cannot be read.
bool ReadBytes(const std::string& path, std::vector<unsigned char>& bytes);
// Writes bytes to a file; false (errno set) when it cannot.
bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// Shorthands for the tables.
inline Arg I(const char* name, const char* meaning) { return Arg{name, Kind::kInt, meaning}; }
inline Arg A(const char* name, Kind kind, const char* meaning, const char* choices = nullptr) {
  return Arg{name, kind, meaning, choices};
}

}  // namespace registry
}  // namespace lamina

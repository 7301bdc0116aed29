// Named result codes. Every operation returns plain int codes (0 is success), numbered in the order
// it checks; each family keeps one table of them in its own codes.h, one namespace per operation:
//
//   namespace lamina::codes::crop {
//   inline constexpr ResultCode kRectangle{1, "the rectangle is not inside the image, ..."};
//   inline constexpr ResultCode kDepth{2, "the depth is not 1, 4, 8, 24 or 32 bits"};
//   inline constexpr ResultCode kAll[] = {kRectangle, kDepth};
//   }
//
// so that the code says `return codes::crop::kDepth;` and the command-line tool, the README's table
// and the tests read the meanings from the same place. Operations that return a value report
// failure by sentinel values; their tables list the sentinels the same way.
#pragma once

#include <cstddef>

namespace lamina {

struct ResultCode {
  int value;
  const char* meaning;  // a few English words, lower case, no full stop
  // True where the failure came from the system (a file that could not be opened, created or
  // written): the tool then adds the system's own reason.
  bool systemReason = false;
  // True for a code this library adds where the interface's own codes had none for the case (a
  // damaged file, memory running out): the README marks these new.
  bool added = false;
  // Cases this library adds to an existing code (an angle that is not a number joins the angles
  // out of range), said after the meaning and marked new in the README; null for none.
  const char* addedWords = nullptr;

  constexpr operator int() const { return value; }  // NOLINT: codes are returned as ints
};

// A code this library adds, marked as such: `inline constexpr ResultCode kX = Added({5, "..."});`
constexpr ResultCode Added(ResultCode code) {
  code.added = true;
  return code;
}

// A code of the interface to which this library adds cases:
// `inline constexpr ResultCode kAngle = Widened({1, "an angle out of range"}, "or not a number");`
constexpr ResultCode Widened(ResultCode code, const char* addedWords) {
  code.addedWords = addedWords;
  return code;
}

// The codes of one operation (or of several overloads that share them).
struct OperationCodes {
  const char* operation;  // the member's name without "fnIMG_", e.g. "Crop", "LoadBMP"
  const ResultCode* codes;
  std::size_t count;

  template <std::size_t N>
  constexpr OperationCodes(const char* name, const ResultCode (&table)[N])
      : operation(name), codes(table), count(N) {}
  // An operation without codes (it always succeeds, or reports nothing).
  constexpr explicit OperationCodes(const char* name) : operation(name), codes(nullptr), count(0) {}

  // The entry for `value`, or null when the operation has no such code.
  constexpr const ResultCode* Find(int value) const {
    for (std::size_t i = 0; i < count; ++i)
      if (codes[i].value == value) return &codes[i];
    return nullptr;
  }
};

}  // namespace lamina

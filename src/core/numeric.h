// Rounding and conversions of floating-point values to integers, defined for every input: no
// conversion is ever out of range or of a value that is not a number (those would be undefined
// behaviour), and the stated roundings are kept exactly.
#pragma once

#include <math.h>

#include <cmath>
#include <limits>

#include "lamina/wintypes.h"

namespace lamina {
namespace numeric {

// The library's rounding: floor(x), unless the fraction is above one half, then ceil(x); so an
// exact half rounds down (2.5 gives 2, -2.5 gives -3). Values beyond the int range saturate
// and NaN gives 0, so no conversion is ever undefined.
inline int fnRound(double x) {
  if (!(x == x)) return 0;
  const double f = std::floor(x);
  const double r = (x - f > 0.5) ? std::ceil(x) : f;
  if (r >= 2147483647.0) return std::numeric_limits<int>::max();
  if (r <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

// Truncation toward zero of a float, as a plain conversion does, but defined for every input:
// values beyond the int range saturate and NaN gives 0.
inline int TruncToInt(float x) {
  if (!(x == x)) return 0;
  if (x >= 2147483648.0f) return std::numeric_limits<int>::max();
  if (x <= -2147483648.0f) return std::numeric_limits<int>::min();
  return static_cast<int>(x);
}

inline int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Limits to 0 ... 255 and truncates; NaN gives 0.
inline BYTE ClampTrunc(double v) {
  if (!(v > 0.0)) return 0;
  if (v >= 255.0) return 255;
  return static_cast<BYTE>(static_cast<int>(v));
}
// Limits to 0 ... 255 and rounds halves away from zero (roundf); NaN gives 0.
inline BYTE ClampRound(float v) {
  if (!(v > 0.0f)) return 0;
  if (v >= 255.0f) return 255;
  return static_cast<BYTE>(static_cast<int>(::roundf(v)));
}
// Truncation toward zero of any value into an int: limited to a range far beyond any channel
// first, NaN as 0. Used where the truncated value is taken further (wrapped to 8 bits, binned).
inline int SafeTrunc(double v) {
  if (!(v == v)) return 0;
  if (v > 1.0e9) return 1000000000;
  if (v < -1.0e9) return -1000000000;
  return static_cast<int>(v);
}
// The low 8 bits of the truncated value, as fnIMG_SetPixel keeps them.
inline BYTE WrapByte(double v) {
  return static_cast<BYTE>(static_cast<unsigned>(SafeTrunc(v)) & 0xFFu);
}

}  // namespace numeric
}  // namespace lamina

// Row-wise weighted sums of a square integer kernel over extended rows of working values, and the
// three output mappings that turn the sums into values. Sums wrap at 32 bits as two's complement
// (every kernel whose sums fit gives them exactly; larger ones wrap instead of overflowing).
#pragma once

#include <cstdint>
#include <vector>

namespace lamina {
namespace neighbourhood {
namespace detail {

// A 16-bit quotient: q = ((s x multiplier) >> 16) >> shift for 0 <= s <= the bound it was made for.
struct WordDivision {
  int mapping = 1;  // 0 stretch, 1 clip, 2 absolute value
  int ceiling = 255;
  bool identity = true;  // divisor 1
  std::uint16_t multiplier = 0;
  int shift = 0;
  // The stretch: u = f x (q - Qmin), truncated, low 8 bits; all 0 when flat.
  bool flat = false;
  std::int16_t qMin = 0;
  float factor = 0.0f;
};

class Mapping;

class KernelRows {
 public:
  // `kernel` holds size x size coefficients, row 0 weighing the top row of the window; it must
  // outlive this object. A size below 1 is the empty kernel (every sum 0). May throw
  // std::bad_alloc.
  KernelRows(const int* kernel, int size);

  int size() const { return size_; }
  int reach() const { return reach_; }  // r: the window of x covers x - r ... x - r + size - 1
  // The largest absolute sum a window of bytes can give (sum of |coefficient| x 255).
  std::int64_t bound() const { return bound_; }

  // Room for rows of up to `columns` sums (the scratch of the separable path). May throw
  // std::bad_alloc; call it before the first Sums.
  void Reserve(int columns);

  // out[i] = the sum for the pixel at column x0 + i, i < n, where window[j] points at column 0
  // of the extended row y - r + j (readable over every column the windows cover).
  void Sums(const std::uint8_t* const* window, int x0, int n, std::int32_t* out) const;
  // Separable kernels whose sums fit 16 bits under a mapping a 16-bit multiply divides exactly:
  // the values of columns x0 ... straight from 16-bit lanes. Returns how many columns it did
  // (a multiple of 32; 0 when it does not apply); the caller does the rest.
  int MappedWords(const std::uint8_t* const* window, int x0, int n, const Mapping& mapping,
                  std::uint8_t* out) const;

  // The same without vector instructions, for the tests' comparison.
  void SumsPlain(const std::uint8_t* const* window, int x0, int n, std::int32_t* out) const;

 private:
  const int* k_;
  int size_;
  int reach_;
  std::int64_t bound_ = 0;
  bool nonZero_ = false;
  // Coefficients as 16-bit pairs (c[t], c[t + 1]) per kernel row, when every one fits 16 bits.
  bool words_ = false;
  std::vector<std::int32_t> pairs_;  // size x ((size + 1) / 2) entries
  // k[j][t] = column_[j] x row_[t], when the kernel is such a product of small factors.
  bool separable_ = false;
  bool words16_ = false;  // separable, and every sum within +-32767 along that path
  std::vector<std::int32_t> column_, row_;
  std::vector<std::int32_t> rowPairs_;
  mutable std::vector<std::int16_t> columnSums_;
};

// Turns sums into output values under one mapping: 0 stretch (from the extremes), 1 clip,
// 2 absolute value and clip; `ceiling` is the largest output value (15 or 255).
class Mapping {
 public:
  Mapping(int mapping, int divisor, int ceiling, std::int64_t bound);
  // For the stretch: the extremes of all sums (both start at 0), before Map is called.
  void SetExtremes(std::int32_t smallest, std::int32_t largest);
  bool NeedsExtremes() const { return mapping_ == 0; }

  void Map(const std::int32_t* sums, int n, std::uint8_t* out) const;
  // For sums within +-`bound` (at most 32767): the 16-bit quotient, or false.
  bool Word(std::int64_t bound, WordDivision* word) const;
  void MapPlain(const std::int32_t* sums, int n, std::uint8_t* out) const;

 private:
  std::int32_t Quotient(std::int32_t s) const;
  std::uint8_t One(std::int32_t s) const;

  int mapping_;
  std::int32_t divisor_;
  int ceiling_;
  bool floatDivision_;  // |sums| < 2^24 and |divisor| <= 2^24: a float quotient truncates exactly
  std::int32_t qMin_ = 0, qMax_ = 0;
  float factor_ = 0.0f;
  bool extremesSet_ = false;
  bool flat_ = true;    // Qmax = Qmin: every value 0
  bool narrow_ = true;  // every q - Qmin fits 32 bits
};

// Extends [smallest, largest] by the sums of a row (the running extremes of the stretch).
void Extremes(const std::int32_t* sums, int n, std::int32_t& smallest, std::int32_t& largest);

}  // namespace detail
}  // namespace neighbourhood
}  // namespace lamina

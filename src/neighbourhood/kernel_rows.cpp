// Row sums of a kernel and the output mappings: plain loops that are the definition, and AVX2 code
// that gives the same values 16 sums at a time (16-bit products summed in pairs into 32 bits).
#include "neighbourhood/kernel_rows.h"

#include <cstdlib>
#include <cstring>

#include "core/cpu.h"
#include "core/numeric.h"

namespace lamina {
namespace neighbourhood {
namespace detail {
namespace {

bool FitsWord(std::int64_t c) { return c >= -32768 && c <= 32767; }

// Two 16-bit coefficients in one 32-bit lane, c0 in the low half, as madd pairs them.
std::int32_t PairOf(int c0, int c1) {
  const std::uint32_t v =
      (static_cast<std::uint32_t>(c1) << 16) | (static_cast<std::uint32_t>(c0) & 0xFFFFu);
  return static_cast<std::int32_t>(v);
}

// k[j][t] = column[j] x row[t] in integers, for the separable kernels (box means, the 1 2 1
// smoothing, the Prewitt and Sobel gradients...): the row is the first non-zero kernel row over the
// greatest common divisor of its coefficients.
bool Factor(const int* k, int size, std::vector<std::int32_t>& column,
            std::vector<std::int32_t>& row) {
  int j0 = -1;
  for (int j = 0; j < size && j0 < 0; ++j)
    for (int t = 0; t < size; ++t)
      if (k[j * size + t] != 0) {
        j0 = j;
        break;
      }
  if (j0 < 0) return false;
  long long g = 0;
  for (int t = 0; t < size; ++t) {
    long long a = std::llabs(static_cast<long long>(k[j0 * size + t])), b = g;
    while (b != 0) {
      const long long m = a % b;
      a = b;
      b = m;
    }
    g = a;
  }
  row.assign(static_cast<std::size_t>(size), 0);
  column.assign(static_cast<std::size_t>(size), 0);
  int t0 = -1;
  for (int t = 0; t < size; ++t) {
    row[t] = static_cast<std::int32_t>(k[j0 * size + t] / g);
    if (t0 < 0 && row[t] != 0) t0 = t;
  }
  for (int j = 0; j < size; ++j) {
    const long long c = k[j * size + t0];
    if (c % row[t0] != 0) return false;
    column[j] = static_cast<std::int32_t>(c / row[t0]);
    for (int t = 0; t < size; ++t)
      if (static_cast<long long>(column[j]) * row[t] != k[j * size + t]) return false;
  }
  return true;
}

#ifdef LAMINA_X86
// 16 sums from the low and high madd halves (lanes 0-3 8-11 and 4-7 12-15) stored in order.
__attribute__((target("avx2"))) inline void StoreSixteen(std::int32_t* out, __m256i lo,
                                                         __m256i hi) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_permute2x128_si256(lo, hi, 0x20));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 8), _mm256_permute2x128_si256(lo, hi, 0x31));
}

__attribute__((target("avx2"))) int SumsMadd(const std::uint8_t* const* window, int size, int r,
                                             const std::int32_t* pairs, int x0, int n,
                                             std::int32_t* out) {
  const int perRow = (size + 1) / 2;
  int x = 0;
  for (; x + 16 <= n; x += 16) {
    __m256i lo = _mm256_setzero_si256(), hi = _mm256_setzero_si256();
    for (int j = 0; j < size; ++j) {
      const std::uint8_t* p = window[j] + x0 + x - r;
      const std::int32_t* c = pairs + j * perRow;
      for (int t = 0, q = 0; t < size; t += 2, ++q) {
        if (c[q] == 0) continue;
        const __m256i a =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + t)));
        // The odd last coefficient is paired with 0 times the same pixels: nothing past the
        // window is read.
        const __m256i b =
            t + 1 < size
                ? _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + t + 1)))
                : a;
        const __m256i coefficient = _mm256_set1_epi32(c[q]);
        lo = _mm256_add_epi32(lo, _mm256_madd_epi16(_mm256_unpacklo_epi16(a, b), coefficient));
        hi = _mm256_add_epi32(hi, _mm256_madd_epi16(_mm256_unpackhi_epi16(a, b), coefficient));
      }
    }
    StoreSixteen(out + x, lo, hi);
  }
  return x;
}

// Separable kernels: the column factor down the window in 16-bit lanes (its sums fit), then the
// row factor along the result, in madd pairs. `v` has room for n + size + 32 values.
__attribute__((target("avx2"))) int SumsSeparable(const std::uint8_t* const* window, int size,
                                                  int r, const std::int32_t* column,
                                                  const std::int32_t* rowPairs, int x0, int n,
                                                  std::int16_t* v, std::int32_t* out) {
  const int m = n + size - 1;  // columns x0 - r ... x0 - r + m - 1
  int i = 0;
  for (; i + 16 <= m; i += 16) {
    __m256i acc = _mm256_setzero_si256();
    for (int j = 0; j < size; ++j) {
      if (column[j] == 0) continue;
      const __m256i p = _mm256_cvtepu8_epi16(
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(window[j] + x0 - r + i)));
      if (column[j] == 1)
        acc = _mm256_add_epi16(acc, p);
      else if (column[j] == -1)
        acc = _mm256_sub_epi16(acc, p);
      else
        acc = _mm256_add_epi16(
            acc, _mm256_mullo_epi16(p, _mm256_set1_epi16(static_cast<short>(column[j]))));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(v + i), acc);
  }
  for (; i < m; ++i) {
    int s = 0;
    for (int j = 0; j < size; ++j) s += column[j] * window[j][x0 - r + i];
    v[i] = static_cast<std::int16_t>(s);
  }
  std::memset(v + m, 0, sizeof(std::int16_t) * 32);
  int x = 0;
  for (; x + 16 <= n; x += 16) {
    __m256i lo = _mm256_setzero_si256(), hi = _mm256_setzero_si256();
    for (int t = 0, q = 0; t < size; t += 2, ++q) {
      if (rowPairs[q] == 0) continue;
      const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v + x + t));
      const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v + x + t + 1));
      const __m256i coefficient = _mm256_set1_epi32(rowPairs[q]);
      lo = _mm256_add_epi32(lo, _mm256_madd_epi16(_mm256_unpacklo_epi16(a, b), coefficient));
      hi = _mm256_add_epi32(hi, _mm256_madd_epi16(_mm256_unpackhi_epi16(a, b), coefficient));
    }
    StoreSixteen(out + x, lo, hi);
  }
  return x;
}

// The separable path in 16-bit lanes to the end: column sums, row sums, the quotient by a 16-bit
// multiply, the mapping, and 32 values packed per step.
__attribute__((target("avx2"))) inline __m256i TimesWord(__m256i v, std::int32_t c) {
  if (c == 1) return v;
  if (c == -1) return _mm256_sub_epi16(_mm256_setzero_si256(), v);
  if (c == 2) return _mm256_add_epi16(v, v);
  if (c == -2) return _mm256_sub_epi16(_mm256_setzero_si256(), _mm256_add_epi16(v, v));
  return _mm256_mullo_epi16(v, _mm256_set1_epi16(static_cast<short>(c)));
}

__attribute__((target("avx2"))) inline __m256i MapWords(__m256i s, const WordDivision& d) {
  if (d.mapping == 0) {
    if (d.flat) return _mm256_setzero_si256();
    // q = s / d truncated towards zero; q - Qmin lies in 0 ... 65534, an unsigned 16-bit value;
    // the product is formed in single precision as the scalar stretch forms it.
    __m256i q = _mm256_abs_epi16(s);
    if (!d.identity)
      q = _mm256_srli_epi16(
          _mm256_mulhi_epu16(q, _mm256_set1_epi16(static_cast<short>(d.multiplier))), d.shift);
    q = _mm256_sign_epi16(q, s);
    const __m256i span = _mm256_sub_epi16(q, _mm256_set1_epi16(d.qMin));
    const __m256 f = _mm256_set1_ps(d.factor);
    const __m256i low8 = _mm256_set1_epi32(255);
    const __m256i lo = _mm256_and_si256(
        _mm256_cvttps_epi32(_mm256_mul_ps(
            f, _mm256_cvtepi32_ps(_mm256_unpacklo_epi16(span, _mm256_setzero_si256())))),
        low8);
    const __m256i hi = _mm256_and_si256(
        _mm256_cvttps_epi32(_mm256_mul_ps(
            f, _mm256_cvtepi32_ps(_mm256_unpackhi_epi16(span, _mm256_setzero_si256())))),
        low8);
    return _mm256_packus_epi32(lo, hi);
  }
  __m256i a = d.mapping == 2 ? _mm256_abs_epi16(s) : _mm256_max_epi16(s, _mm256_setzero_si256());
  if (!d.identity)
    a = _mm256_srli_epi16(
        _mm256_mulhi_epu16(a, _mm256_set1_epi16(static_cast<short>(d.multiplier))), d.shift);
  return _mm256_min_epu16(a, _mm256_set1_epi16(static_cast<short>(d.ceiling)));
}

// The 32 sums of one step, lanes in order (lo holds x ... x + 15, hi x + 16 ... x + 31): mapped and
// packed to bytes, or widened to 32 bits for the other mappings.
__attribute__((target("avx2"))) inline void EmitWords(__m256i lo, __m256i hi, const WordDivision* d,
                                                      std::uint8_t* out, std::int32_t* wide,
                                                      int x) {
  if (wide != nullptr) {
    auto* w = reinterpret_cast<__m256i*>(wide + x);
    _mm256_storeu_si256(w, _mm256_cvtepi16_epi32(_mm256_castsi256_si128(lo)));
    _mm256_storeu_si256(w + 1, _mm256_cvtepi16_epi32(_mm256_extracti128_si256(lo, 1)));
    _mm256_storeu_si256(w + 2, _mm256_cvtepi16_epi32(_mm256_castsi256_si128(hi)));
    _mm256_storeu_si256(w + 3, _mm256_cvtepi16_epi32(_mm256_extracti128_si256(hi, 1)));
    return;
  }
  const __m256i bytes = _mm256_packus_epi16(MapWords(lo, *d), MapWords(hi, *d));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), _mm256_permute4x64_epi64(bytes, 0xD8));
}

// N taps known at compile time: the coefficients sit in registers and the loops over them unroll.
template <int N>
__attribute__((target("avx2"))) int MappedWordsFixed(const std::uint8_t* const* window, int r,
                                                     const std::int32_t* column,
                                                     const std::int32_t* row, int x0, int done,
                                                     const WordDivision* d, std::int16_t* v,
                                                     std::uint8_t* out, std::int32_t* wide) {
  __m256i cv[N], rv[N];
  const std::uint8_t* rows[N];
  for (int j = 0; j < N; ++j) {
    cv[j] = _mm256_set1_epi16(static_cast<short>(column[j]));
    rv[j] = _mm256_set1_epi16(static_cast<short>(row[j]));
    rows[j] = window[j] + x0 - r;
  }
  const int m = done + N - 1;
  int i = 0;
  for (; i + 32 <= m; i += 32) {
    __m256i lo = _mm256_setzero_si256(), hi = _mm256_setzero_si256();
    for (int j = 0; j < N; ++j) {
      const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[j] + i));
      // Lanes 0-7 and 16-23 in lo, 8-15 and 24-31 in hi; stored back in order below.
      lo = _mm256_add_epi16(
          lo, _mm256_mullo_epi16(_mm256_unpacklo_epi8(p, _mm256_setzero_si256()), cv[j]));
      hi = _mm256_add_epi16(
          hi, _mm256_mullo_epi16(_mm256_unpackhi_epi8(p, _mm256_setzero_si256()), cv[j]));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(v + i), _mm256_permute2x128_si256(lo, hi, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(v + i + 16),
                        _mm256_permute2x128_si256(lo, hi, 0x31));
  }
  for (; i < m; ++i) {
    int s = 0;
    for (int j = 0; j < N; ++j) s += column[j] * rows[j][i];
    v[i] = static_cast<std::int16_t>(s);
  }
  for (int x = 0; x < done; x += 32) {
    __m256i lo = _mm256_setzero_si256(), hi = _mm256_setzero_si256();
    for (int t = 0; t < N; ++t) {
      lo = _mm256_add_epi16(
          lo, _mm256_mullo_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(v + x + t)),
                                 rv[t]));
      hi = _mm256_add_epi16(
          hi, _mm256_mullo_epi16(
                  _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v + x + 16 + t)), rv[t]));
    }
    EmitWords(lo, hi, d, out, wide, x);
  }
  return done;
}

__attribute__((target("avx2"))) int MappedWordsAvx2(const std::uint8_t* const* window, int size,
                                                    int r, const std::int32_t* column,
                                                    const std::int32_t* row, int x0, int n,
                                                    const WordDivision* d, std::int16_t* v,
                                                    std::uint8_t* out, std::int32_t* wide) {
  const int done = n & ~31;
  if (done == 0) return 0;
  switch (size) {
    case 3:
      return MappedWordsFixed<3>(window, r, column, row, x0, done, d, v, out, wide);
    case 5:
      return MappedWordsFixed<5>(window, r, column, row, x0, done, d, v, out, wide);
    case 7:
      return MappedWordsFixed<7>(window, r, column, row, x0, done, d, v, out, wide);
    case 9:
      return MappedWordsFixed<9>(window, r, column, row, x0, done, d, v, out, wide);
    default:
      break;
  }
  const int m = done + size - 1;  // column sums for x0 - r ... x0 - r + m - 1
  int i = 0;
  for (; i + 16 <= m; i += 16) {
    __m256i acc = _mm256_setzero_si256();
    for (int j = 0; j < size; ++j) {
      if (column[j] == 0) continue;
      const __m256i p = _mm256_cvtepu8_epi16(
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(window[j] + x0 - r + i)));
      acc = _mm256_add_epi16(acc, TimesWord(p, column[j]));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(v + i), acc);
  }
  for (; i < m; ++i) {
    int s = 0;
    for (int j = 0; j < size; ++j) s += column[j] * window[j][x0 - r + i];
    v[i] = static_cast<std::int16_t>(s);
  }
  for (int x = 0; x < done; x += 32) {
    __m256i lo = _mm256_setzero_si256(), hi = _mm256_setzero_si256();
    for (int t = 0; t < size; ++t) {
      if (row[t] == 0) continue;
      lo = _mm256_add_epi16(
          lo, TimesWord(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(v + x + t)), row[t]));
      hi = _mm256_add_epi16(
          hi,
          TimesWord(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(v + x + 16 + t)), row[t]));
    }
    EmitWords(lo, hi, d, out, wide, x);
  }
  return done;
}
#endif

}  // namespace

KernelRows::KernelRows(const int* kernel, int size)
    : k_(kernel), size_(size < 1 ? 0 : size), reach_(size >= 2 ? size / 2 : 0) {
  if (size_ == 0) return;
  bool words = true;
  const std::size_t count = static_cast<std::size_t>(size_) * static_cast<std::size_t>(size_);
  for (std::size_t i = 0; i < count; ++i) {
    const std::int64_t c = k_[i];
    // Far beyond 32 bits the bound only says "wraps"; keep it from growing without limit.
    if (bound_ < (std::int64_t{1} << 50)) bound_ += (c < 0 ? -c : c) * 255;
    if (c != 0) nonZero_ = true;
    if (!FitsWord(c)) words = false;
  }
  if (!nonZero_) return;
  const int perRow = (size_ + 1) / 2;
  if (words) {
    words_ = true;
    pairs_.resize(static_cast<std::size_t>(size_) * perRow);
    for (int j = 0; j < size_; ++j)
      for (int t = 0, q = 0; t < size_; t += 2, ++q)
        pairs_[j * perRow + q] =
            PairOf(k_[j * size_ + t], t + 1 < size_ ? k_[j * size_ + t + 1] : 0);
  }
  if (size_ >= 3 && Factor(k_, size_, column_, row_)) {
    std::int64_t columnBound = 0;
    bool rowWords = true;
    for (int j = 0; j < size_; ++j) columnBound += std::llabs(column_[j]) * 255LL;
    for (int t = 0; t < size_; ++t) rowWords = rowWords && FitsWord(row_[t]);
    if (columnBound <= 32767 && rowWords) {
      separable_ = true;
      std::int64_t rowSum = 0;
      for (int t = 0; t < size_; ++t) rowSum += std::llabs(row_[t]);
      words16_ = rowSum * columnBound <= 32767;
      rowPairs_.resize(static_cast<std::size_t>(perRow));
      for (int t = 0, q = 0; t < size_; t += 2, ++q)
        rowPairs_[q] = PairOf(row_[t], t + 1 < size_ ? row_[t + 1] : 0);
    }
  }
}

void KernelRows::Reserve(int columns) {
  if (separable_) columnSums_.resize(static_cast<std::size_t>(columns) + size_ + 32);
}

int KernelRows::MappedWords(const std::uint8_t* const* window, int x0, int n,
                            const Mapping& mapping, std::uint8_t* out) const {
#ifdef LAMINA_X86
  WordDivision word;
  if (words16_ && cpu::HaveAvx2() && mapping.Word(bound_, &word) &&
      columnSums_.size() >= static_cast<std::size_t>(n) + size_ + 32)
    return MappedWordsAvx2(window, size_, reach_, column_.data(), row_.data(), x0, n, &word,
                           columnSums_.data(), out, nullptr);
#endif
  (void)window, (void)x0, (void)n, (void)mapping, (void)out;
  return 0;
}

void KernelRows::SumsPlain(const std::uint8_t* const* window, int x0, int n,
                           std::int32_t* out) const {
  // Unsigned arithmetic wraps as two's complement would, without undefined behaviour.
  auto* acc = reinterpret_cast<std::uint32_t*>(out);
  for (int i = 0; i < n; ++i) acc[i] = 0;
  for (int j = 0; j < size_; ++j)
    for (int t = 0; t < size_; ++t) {
      const std::uint32_t c = static_cast<std::uint32_t>(k_[j * size_ + t]);
      if (c == 0) continue;
      const std::uint8_t* p = window[j] + x0 - reach_ + t;
      for (int i = 0; i < n; ++i) acc[i] += c * p[i];
    }
}

void KernelRows::Sums(const std::uint8_t* const* window, int x0, int n, std::int32_t* out) const {
  int done = 0;
#ifdef LAMINA_X86
  if (nonZero_ && cpu::HaveAvx2()) {
    const bool room = columnSums_.size() >= static_cast<std::size_t>(n) + size_ + 32;
    // Whole steps of 32 in 16-bit lanes where the sums fit, then 16 at a time in 32 bits.
    if (words16_ && room)
      done = MappedWordsAvx2(window, size_, reach_, column_.data(), row_.data(), x0, n, nullptr,
                             columnSums_.data(), nullptr, out);
    if (separable_ && room)
      done += SumsSeparable(window, size_, reach_, column_.data(), rowPairs_.data(), x0 + done,
                            n - done, columnSums_.data(), out + done);
    else if (words_)
      done += SumsMadd(window, size_, reach_, pairs_.data(), x0 + done, n - done, out + done);
  }
#endif
  if (done < n) SumsPlain(window, x0 + done, n - done, out + done);
}

// ---- Mappings --------------------------------------------------------------------------------

Mapping::Mapping(int mapping, int divisor, int ceiling, std::int64_t bound)
    : mapping_(mapping), divisor_(divisor), ceiling_(ceiling) {
  const std::int64_t d = divisor < 0 ? -static_cast<std::int64_t>(divisor) : divisor;
  floatDivision_ = bound < (std::int64_t{1} << 24) && d <= (std::int64_t{1} << 24);
}

std::int32_t Mapping::Quotient(std::int32_t s) const {
  if (divisor_ == 1) return s;
  // Only -2^31 / -1 leaves 32 bits; it wraps back to -2^31.
  if (divisor_ == -1) return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(s));
  return s / divisor_;
}

bool Mapping::Word(std::int64_t bound, WordDivision* word) const {
  // The stretch needs its extremes first (SetExtremes), and then Qmin within 16 bits, which it is
  // for sums that are.
  if (divisor_ < 1 || bound > 32767 || (mapping_ == 0 && !extremesSet_)) return false;
  word->mapping = mapping_;
  word->ceiling = ceiling_;
  word->flat = flat_;
  word->qMin = static_cast<std::int16_t>(qMin_);
  word->factor = factor_;
  word->identity = divisor_ == 1;
  if (word->identity) return true;
  // q = floor(s x m / 2^k) with m = ceil(2^k / d) is exact for 0 <= s <= bound when
  // bound x (m x d - 2^k) < 2^k.
  const std::int64_t d = divisor_;
  for (int shift = 0; shift < 16; ++shift) {
    const std::int64_t k = std::int64_t{1} << (16 + shift);
    const std::int64_t m = (k + d - 1) / d;
    if (m > 65535) break;
    if (bound * (m * d - k) < k) {
      word->multiplier = static_cast<std::uint16_t>(m);
      word->shift = shift;
      return true;
    }
  }
  return false;
}

void Mapping::SetExtremes(std::int32_t smallest, std::int32_t largest) {
  extremesSet_ = true;
  qMin_ = Quotient(smallest);
  qMax_ = Quotient(largest);
  const std::int64_t range = std::int64_t{qMax_} - qMin_;
  flat_ = range == 0;
  narrow_ = range >= -2147483647LL && range <= 2147483647LL;
  if (!flat_) factor_ = static_cast<float>(ceiling_) / static_cast<float>(range);
}

std::uint8_t Mapping::One(std::int32_t s) const {
  const std::int64_t q = Quotient(s);
  if (mapping_ == 2) {
    const std::int64_t a = q < 0 ? -q : q;
    return static_cast<std::uint8_t>(a > ceiling_ ? ceiling_ : a);
  }
  if (mapping_ == 1) return static_cast<std::uint8_t>(q < 0 ? 0 : (q > ceiling_ ? ceiling_ : q));
  if (flat_) return 0;
  const float u = factor_ * static_cast<float>(q - qMin_);
  return static_cast<std::uint8_t>(static_cast<unsigned>(numeric::TruncToInt(u)) & 0xFFu);
}

void Mapping::MapPlain(const std::int32_t* sums, int n, std::uint8_t* out) const {
  for (int i = 0; i < n; ++i) out[i] = One(sums[i]);
}

#ifdef LAMINA_X86
namespace {
struct MapParams {
  int mapping, divisor, ceiling;
  bool floatDivision, flat;
  std::int32_t qMin;
  float factor;
};

__attribute__((target("avx2"))) inline __m256i MapEight(const std::int32_t* s, const MapParams& p) {
  __m256i q = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
  if (p.divisor != 1)
    q = _mm256_cvttps_epi32(
        _mm256_div_ps(_mm256_cvtepi32_ps(q), _mm256_set1_ps(static_cast<float>(p.divisor))));
  const __m256i ceiling = _mm256_set1_epi32(p.ceiling);
  if (p.mapping == 2) return _mm256_min_epu32(_mm256_abs_epi32(q), ceiling);
  if (p.mapping == 1) return _mm256_min_epi32(_mm256_max_epi32(q, _mm256_setzero_si256()), ceiling);
  if (p.flat) return _mm256_setzero_si256();
  const __m256 u = _mm256_mul_ps(
      _mm256_set1_ps(p.factor), _mm256_cvtepi32_ps(_mm256_sub_epi32(q, _mm256_set1_epi32(p.qMin))));
  return _mm256_and_si256(_mm256_cvttps_epi32(u), _mm256_set1_epi32(255));
}

__attribute__((target("avx2"))) int MapAvx2(const std::int32_t* sums, int n, std::uint8_t* out,
                                            const MapParams& p) {
  const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
  int i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i a = MapEight(sums + i, p), b = MapEight(sums + i + 8, p);
    const __m256i c = MapEight(sums + i + 16, p), d = MapEight(sums + i + 24, p);
    // Every value is 0 ... 255, so the saturating packs only narrow them.
    const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(a, b), _mm256_packs_epi32(c, d));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                        _mm256_permutevar8x32_epi32(bytes, order));
  }
  return i;
}
}  // namespace
#endif

void Mapping::Map(const std::int32_t* sums, int n, std::uint8_t* out) const {
  int done = 0;
#ifdef LAMINA_X86
  const bool vector =
      (divisor_ == 1 || (floatDivision_ && divisor_ != -1)) && (mapping_ != 0 || flat_ || narrow_);
  if (vector && cpu::HaveAvx2()) {
    const MapParams p{mapping_, divisor_, ceiling_, floatDivision_, flat_, qMin_, factor_};
    done = MapAvx2(sums, n, out, p);
  }
#endif
  if (done < n) MapPlain(sums + done, n - done, out + done);
}

namespace {
inline __attribute__((always_inline)) void ExtremesBody(const std::int32_t* __restrict__ sums,
                                                        int n, std::int32_t& smallest,
                                                        std::int32_t& largest) {
  std::int32_t lo = smallest, hi = largest;
  for (int i = 0; i < n; ++i) {
    lo = sums[i] < lo ? sums[i] : lo;
    hi = sums[i] > hi ? sums[i] : hi;
  }
  smallest = lo;
  largest = hi;
}
#ifdef LAMINA_X86
__attribute__((target("avx2"))) void ExtremesAvx2(const std::int32_t* sums, int n,
                                                  std::int32_t& smallest, std::int32_t& largest) {
  ExtremesBody(sums, n, smallest, largest);
}
#endif
}  // namespace

void Extremes(const std::int32_t* sums, int n, std::int32_t& smallest, std::int32_t& largest) {
#ifdef LAMINA_X86
  if (cpu::HaveAvx2()) return ExtremesAvx2(sums, n, smallest, largest);
#endif
  ExtremesBody(sums, n, smallest, largest);
}

}  // namespace detail
}  // namespace neighbourhood
}  // namespace lamina

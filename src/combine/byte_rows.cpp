// Byte-wise combination of two runs: a plain loop per operation, and AVX2 code that gives the same
// bytes 32 at a time on processors that have it.
#include "combine/byte_rows.h"

#include <cstring>

#include "core/cpu.h"

namespace lamina {
namespace combine {
namespace detail {
namespace {

template <ByteOp Op>
inline std::uint8_t One(unsigned a, unsigned b, unsigned cap) {
  unsigned r = 0;
  if constexpr (Op == ByteOp::kAdd) {
    r = a + b > cap ? cap : a + b;
  } else if constexpr (Op == ByteOp::kSubtract) {
    r = a > b ? a - b : 0;
  } else if constexpr (Op == ByteOp::kMultiply) {
    r = a * b > cap ? cap : a * b;
  } else if constexpr (Op == ByteOp::kAverage) {
    r = (a + b) >> 1;
  } else if constexpr (Op == ByteOp::kMaximum) {
    r = a > b ? a : b;
  } else if constexpr (Op == ByteOp::kMinimum) {
    r = a < b ? a : b;
  } else if constexpr (Op == ByteOp::kNot) {
    r = ~a;
  } else if constexpr (Op == ByteOp::kAnd) {
    r = a & b;
  } else if constexpr (Op == ByteOp::kOr) {
    r = a | b;
  } else if constexpr (Op == ByteOp::kXor) {
    r = a ^ b;
  } else if constexpr (Op == ByteOp::kNand) {
    r = ~(a & b);
  } else if constexpr (Op == ByteOp::kNor) {
    r = ~(a | b);
  } else if constexpr (Op == ByteOp::kAndNot) {
    r = a & ~b;
  } else {
    r = a | ~b;
  }
  return static_cast<std::uint8_t>(r);
}

template <ByteOp Op>
void PlainRun(std::uint8_t cap, std::uint8_t* a, const std::uint8_t* b, std::size_t from,
              std::size_t n, bool keepFourth) {
  if (keepFourth) {
    for (std::size_t i = from; i < n; ++i)
      if ((i & 3) != 3) a[i] = One<Op>(a[i], Op == ByteOp::kNot ? 0 : b[i], cap);
  } else {
    for (std::size_t i = from; i < n; ++i) a[i] = One<Op>(a[i], Op == ByteOp::kNot ? 0 : b[i], cap);
  }
}

#ifdef LAMINA_X86
template <ByteOp Op>
__attribute__((target("avx2"))) inline __m256i Vec(__m256i a, __m256i b, __m256i cap) {
  const __m256i ones = _mm256_set1_epi8(-1);
  if constexpr (Op == ByteOp::kAdd) {
    return _mm256_min_epu8(_mm256_adds_epu8(a, b), cap);
  } else if constexpr (Op == ByteOp::kSubtract) {
    return _mm256_subs_epu8(a, b);
  } else if constexpr (Op == ByteOp::kMultiply) {
    // Products up to 65025 do not fit a signed word, so they are limited to 255 as unsigned
    // words before the saturating pack.
    const __m256i zero = _mm256_setzero_si256(), top = _mm256_set1_epi16(255);
    const __m256i lo = _mm256_min_epu16(
        _mm256_mullo_epi16(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(b, zero)), top);
    const __m256i hi = _mm256_min_epu16(
        _mm256_mullo_epi16(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(b, zero)), top);
    return _mm256_min_epu8(_mm256_packus_epi16(lo, hi), cap);
  } else if constexpr (Op == ByteOp::kAverage) {
    // The rounding-up average less the carry of the odd sums gives the rounding-down one.
    return _mm256_sub_epi8(_mm256_avg_epu8(a, b),
                           _mm256_and_si256(_mm256_xor_si256(a, b), _mm256_set1_epi8(1)));
  } else if constexpr (Op == ByteOp::kMaximum) {
    return _mm256_max_epu8(a, b);
  } else if constexpr (Op == ByteOp::kMinimum) {
    return _mm256_min_epu8(a, b);
  } else if constexpr (Op == ByteOp::kNot) {
    return _mm256_xor_si256(a, ones);
  } else if constexpr (Op == ByteOp::kAnd) {
    return _mm256_and_si256(a, b);
  } else if constexpr (Op == ByteOp::kOr) {
    return _mm256_or_si256(a, b);
  } else if constexpr (Op == ByteOp::kXor) {
    return _mm256_xor_si256(a, b);
  } else if constexpr (Op == ByteOp::kNand) {
    return _mm256_xor_si256(_mm256_and_si256(a, b), ones);
  } else if constexpr (Op == ByteOp::kNor) {
    return _mm256_xor_si256(_mm256_or_si256(a, b), ones);
  } else if constexpr (Op == ByteOp::kAndNot) {
    return _mm256_andnot_si256(b, a);
  } else {
    return _mm256_or_si256(a, _mm256_xor_si256(b, ones));
  }
}

template <ByteOp Op>
__attribute__((target("avx2"))) void Avx2Run(std::uint8_t capByte, std::uint8_t* a,
                                             const std::uint8_t* b, std::size_t n,
                                             bool keepFourth) {
  const __m256i cap = _mm256_set1_epi8(static_cast<char>(capByte));
  const __m256i fourth = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  std::size_t i = 0;
  for (; i + 64 <= n; i += 64) {
    auto* pa = reinterpret_cast<__m256i*>(a + i);
    const __m256i a0 = _mm256_loadu_si256(pa), a1 = _mm256_loadu_si256(pa + 1);
    __m256i b0 = a0, b1 = a1;
    if constexpr (Op != ByteOp::kNot) {
      const auto* pb = reinterpret_cast<const __m256i*>(b + i);
      b0 = _mm256_loadu_si256(pb);
      b1 = _mm256_loadu_si256(pb + 1);
    }
    __m256i r0 = Vec<Op>(a0, b0, cap), r1 = Vec<Op>(a1, b1, cap);
    if (keepFourth) {
      r0 = _mm256_blendv_epi8(r0, a0, fourth);
      r1 = _mm256_blendv_epi8(r1, a1, fourth);
    }
    _mm256_storeu_si256(pa, r0);
    _mm256_storeu_si256(pa + 1, r1);
  }
  for (; i + 32 <= n; i += 32) {
    auto* pa = reinterpret_cast<__m256i*>(a + i);
    const __m256i a0 = _mm256_loadu_si256(pa);
    const __m256i b0 =
        Op == ByteOp::kNot ? a0 : _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
    __m256i r0 = Vec<Op>(a0, b0, cap);
    if (keepFourth) r0 = _mm256_blendv_epi8(r0, a0, fourth);
    _mm256_storeu_si256(pa, r0);
  }
  PlainRun<Op>(capByte, a, b, i, n, keepFourth);
}

__attribute__((target("avx2"))) std::int64_t CountBytesAvx2(const std::uint8_t* a,
                                                            const std::uint8_t* b, std::size_t n,
                                                            std::size_t* done) {
  std::int64_t same = 0;
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i eq =
        _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i)),
                          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i)));
    same += __builtin_popcount(static_cast<unsigned>(_mm256_movemask_epi8(eq)));
  }
  *done = i;
  return static_cast<std::int64_t>(i) - same;
}
#endif

template <ByteOp Op>
void Run(std::uint8_t cap, std::uint8_t* a, const std::uint8_t* b, std::size_t n, bool keepFourth,
         bool plain) {
#ifdef LAMINA_X86
  if (!plain && cpu::HaveAvx2()) {
    Avx2Run<Op>(cap, a, b, n, keepFourth);
    return;
  }
#endif
  (void)plain;
  PlainRun<Op>(cap, a, b, 0, n, keepFourth);
}

void Dispatch(ByteOp op, std::uint8_t cap, std::uint8_t* a, const std::uint8_t* b, std::size_t n,
              bool keepFourth, bool plain) {
  switch (op) {
    case ByteOp::kAdd:
      return Run<ByteOp::kAdd>(cap, a, b, n, keepFourth, plain);
    case ByteOp::kSubtract:
      return Run<ByteOp::kSubtract>(cap, a, b, n, keepFourth, plain);
    case ByteOp::kMultiply:
      return Run<ByteOp::kMultiply>(cap, a, b, n, keepFourth, plain);
    case ByteOp::kAverage:
      return Run<ByteOp::kAverage>(cap, a, b, n, keepFourth, plain);
    case ByteOp::kMaximum:
      return Run<ByteOp::kMaximum>(cap, a, b, n, keepFourth, plain);
    case ByteOp::kMinimum:
      return Run<ByteOp::kMinimum>(cap, a, b, n, keepFourth, plain);
    case ByteOp::kNot:
      return Run<ByteOp::kNot>(cap, a, b, n, keepFourth, plain);
    case ByteOp::kAnd:
      return Run<ByteOp::kAnd>(cap, a, b, n, keepFourth, plain);
    case ByteOp::kOr:
      return Run<ByteOp::kOr>(cap, a, b, n, keepFourth, plain);
    case ByteOp::kXor:
      return Run<ByteOp::kXor>(cap, a, b, n, keepFourth, plain);
    case ByteOp::kNand:
      return Run<ByteOp::kNand>(cap, a, b, n, keepFourth, plain);
    case ByteOp::kNor:
      return Run<ByteOp::kNor>(cap, a, b, n, keepFourth, plain);
    case ByteOp::kAndNot:
      return Run<ByteOp::kAndNot>(cap, a, b, n, keepFourth, plain);
    case ByteOp::kOrNot:
      return Run<ByteOp::kOrNot>(cap, a, b, n, keepFourth, plain);
  }
}

}  // namespace

void CombineBytes(ByteOp op, std::uint8_t cap, std::uint8_t* a, const std::uint8_t* b,
                  std::size_t n, bool keepFourth) {
  Dispatch(op, cap, a, b, n, keepFourth, false);
}

void CombineBytesPlain(ByteOp op, std::uint8_t cap, std::uint8_t* a, const std::uint8_t* b,
                       std::size_t n, bool keepFourth) {
  Dispatch(op, cap, a, b, n, keepFourth, true);
}

std::int64_t CountDifferences(const std::uint8_t* a, const std::uint8_t* b, std::size_t pixels,
                              int step) {
  std::int64_t count = 0;
  if (step == 1) {
    std::size_t i = 0;
#ifdef LAMINA_X86
    if (cpu::HaveAvx2()) count = CountBytesAvx2(a, b, pixels, &i);
#endif
    for (; i < pixels; ++i) count += a[i] != b[i];
    return count;
  }
  const std::size_t s = static_cast<std::size_t>(step);
  for (std::size_t p = 0; p < pixels; ++p) {
    const std::uint8_t* x = a + p * s;
    const std::uint8_t* y = b + p * s;
    count += (x[0] != y[0]) | (x[1] != y[1]) | (x[2] != y[2]);
  }
  return count;
}

}  // namespace detail
}  // namespace combine
}  // namespace lamina

// The bodies are written once as always-inline templates; the AVX2 entry points inline them into
// functions compiled for AVX2, where the compiler vectorizes the same loops 32 bytes at a time.
#include "neighbourhood/row_ops.h"

#include <cstddef>
#include <utility>

#include "core/cpu.h"

#define LAMINA_INLINE inline __attribute__((always_inline))

namespace lamina {
namespace neighbourhood {
namespace detail {
namespace {

LAMINA_INLINE std::uint8_t Min(std::uint8_t a, std::uint8_t b) { return a < b ? a : b; }
LAMINA_INLINE std::uint8_t Max(std::uint8_t a, std::uint8_t b) { return a > b ? a : b; }

LAMINA_INLINE void SumLimitedBody(std::uint8_t* __restrict__ a, const std::uint8_t* __restrict__ b,
                                  int n, unsigned limit) {
  const std::uint8_t top = static_cast<std::uint8_t>(limit);
  for (int i = 0; i < n; ++i) {
    // A byte-saturating add, then the limit: the same as limiting the true sum (limit <= 255).
    const unsigned s = static_cast<unsigned>(a[i]) + b[i];
    const std::uint8_t saturated = static_cast<std::uint8_t>(s > 255u ? 255u : s);
    a[i] = Min(saturated, top);
  }
}

LAMINA_INLINE void LargestBody(std::uint8_t* __restrict__ a, const std::uint8_t* __restrict__ b,
                               int n) {
  for (int i = 0; i < n; ++i) a[i] = Max(a[i], b[i]);
}

LAMINA_INLINE void WindowExtremesBody(const std::uint8_t* const* rows, int size, int x0, int n,
                                      std::uint8_t* __restrict__ lo, std::uint8_t* __restrict__ hi,
                                      std::uint8_t* __restrict__ colLo,
                                      std::uint8_t* __restrict__ colHi) {
  const int r = size / 2, m = n + size - 1;
  const std::uint8_t* __restrict__ first = rows[0] + x0 - r;
  if (lo != nullptr)
    for (int i = 0; i < m; ++i) colLo[i] = first[i];
  if (hi != nullptr)
    for (int i = 0; i < m; ++i) colHi[i] = first[i];
  for (int j = 1; j < size; ++j) {
    const std::uint8_t* __restrict__ p = rows[j] + x0 - r;
    if (lo != nullptr)
      for (int i = 0; i < m; ++i) colLo[i] = Min(colLo[i], p[i]);
    if (hi != nullptr)
      for (int i = 0; i < m; ++i) colHi[i] = Max(colHi[i], p[i]);
  }
  if (lo != nullptr) {
    for (int i = 0; i < n; ++i) lo[i] = colLo[i];
    for (int t = 1; t < size; ++t)
      for (int i = 0; i < n; ++i) lo[i] = Min(lo[i], colLo[i + t]);
  }
  if (hi != nullptr) {
    for (int i = 0; i < n; ++i) hi[i] = colHi[i];
    for (int t = 1; t < size; ++t)
      for (int i = 0; i < n; ++i) hi[i] = Max(hi[i], colHi[i + t]);
  }
}

LAMINA_INLINE void Median3Body(const std::uint8_t* const* rows, int x0, int n,
                               std::uint8_t* __restrict__ out, std::uint8_t* scratch) {
  const int m = n + 2;
  // The rows, the scratch and the output never overlap; saying so lets the loops vectorize.
  std::uint8_t* __restrict__ low = scratch;
  std::uint8_t* __restrict__ mid = scratch + m;
  std::uint8_t* __restrict__ high = scratch + 2 * m;
  const std::uint8_t* __restrict__ a = rows[0] + x0 - 1;
  const std::uint8_t* __restrict__ b = rows[1] + x0 - 1;
  const std::uint8_t* __restrict__ c = rows[2] + x0 - 1;
  for (int i = 0; i < m; ++i) {
    const std::uint8_t l1 = Min(a[i], b[i]), h1 = Max(a[i], b[i]);
    low[i] = Min(l1, c[i]);
    const std::uint8_t h2 = Max(l1, c[i]);
    mid[i] = Min(h1, h2);
    high[i] = Max(h1, h2);
  }
  for (int i = 0; i < n; ++i) {
    const std::uint8_t lowest = Max(Max(low[i], low[i + 1]), low[i + 2]);
    const std::uint8_t highest = Min(Min(high[i], high[i + 1]), high[i + 2]);
    const std::uint8_t m0 = mid[i], m1 = mid[i + 1], m2 = mid[i + 2];
    const std::uint8_t middle = Max(Min(m0, m1), Min(Max(m0, m1), m2));
    out[i] = Max(Min(lowest, middle), Min(Max(lowest, middle), highest));
  }
}

// ---- The 5 x 5 median ---------------------------------------------------------------------------

// One comparison of a network: `both` leaves the smaller value on wire i and the larger on j;
// the pruned ones keep only the side a later step reads.
struct Compare {
  int i, j;
  int keep;  // 0 both, 1 the smaller on i, 2 the larger on j
};

// Sorts five wires (nine comparisons).
constexpr Compare kSortFive[] = {{0, 1, 0}, {3, 4, 0}, {2, 4, 0}, {2, 3, 0}, {1, 4, 0},
                                 {0, 3, 0}, {0, 2, 0}, {1, 3, 0}, {1, 2, 0}};
// Merges two sorted columns (wires 0-4 and 5-9); rank k ends on wire kPairRank[k].
constexpr Compare kMergePair[] = {{0, 5, 0}, {4, 9, 0}, {4, 5, 0}, {2, 7, 0}, {2, 4, 0},
                                  {7, 5, 0}, {1, 6, 0}, {3, 8, 0}, {3, 6, 0}, {1, 2, 0},
                                  {3, 4, 0}, {6, 7, 0}, {8, 5, 0}};
constexpr int kPairRank[10] = {0, 1, 2, 3, 4, 6, 7, 8, 5, 9};
// The window's median from the merged columns x - 2, x - 1 on wires 0-9, the merged columns x,
// x + 1 on wires 10-19 and the sorted column x + 2 on wires 20-24: the first pair merged with the
// fifth column, then with the second pair; rank 12 of 25 ends on wire kMedianWire.
constexpr Compare kMedianOfPairs[] = {
    {0, 20, 0},  {8, 20, 0},  {4, 24, 0},  {4, 8, 0},   {24, 20, 0}, {2, 22, 0},  {6, 22, 0},
    {2, 4, 0},   {6, 8, 0},   {22, 24, 0}, {1, 21, 0},  {9, 21, 0},  {5, 9, 0},   {3, 23, 0},
    {7, 23, 0},  {3, 5, 0},   {7, 9, 0},   {23, 21, 0}, {1, 2, 0},   {3, 4, 0},   {5, 6, 0},
    {7, 8, 0},   {9, 22, 0},  {23, 24, 0}, {21, 20, 1}, {0, 10, 2},  {8, 18, 1},  {8, 10, 2},
    {4, 14, 2},  {24, 14, 1}, {24, 10, 1}, {2, 12, 2},  {22, 12, 1}, {6, 16, 1},  {6, 22, 2},
    {22, 24, 2}, {1, 11, 2},  {9, 19, 1},  {9, 11, 2},  {5, 15, 2},  {21, 15, 1}, {21, 11, 1},
    {3, 13, 2},  {23, 13, 1}, {7, 17, 1},  {7, 23, 2},  {23, 21, 1}, {23, 24, 2}};
constexpr int kMedianWire = 24;

template <std::size_t N>
LAMINA_INLINE void RunNetwork(std::uint8_t* w, const Compare (&net)[N]) {
#pragma GCC unroll 64
  for (const Compare& c : net) {
    const std::uint8_t a = w[c.i], b = w[c.j];
    if (c.keep != 2) w[c.i] = Min(a, b);
    if (c.keep != 1) w[c.j] = Max(a, b);
  }
}

// The scratch rows: sorted columns (rank k of column c at sorted[k * m + c]) and merged pairs.
struct Median5Rows {
  std::uint8_t* sorted;
  std::uint8_t* pairs;
  int m;
};

LAMINA_INLINE Median5Rows Median5Scratch(std::uint8_t* scratch, int n) {
  return Median5Rows{scratch, scratch + 5 * (n + 4), n + 4};
}

// Columns [from, to) of each stage, one pixel at a time.
LAMINA_INLINE void SortColumnsOne(const std::uint8_t* const* rows, int x0, const Median5Rows& s,
                                  int from, int to) {
  for (int c = from; c < to; ++c) {
    std::uint8_t w[5];
    for (int j = 0; j < 5; ++j) w[j] = rows[j][x0 - 2 + c];
    RunNetwork(w, kSortFive);
    for (int k = 0; k < 5; ++k) s.sorted[k * s.m + c] = w[k];
  }
}
LAMINA_INLINE void MergePairsOne(const Median5Rows& s, int from, int to) {
  for (int c = from; c < to; ++c) {
    std::uint8_t w[10];
    for (int k = 0; k < 5; ++k) {
      w[k] = s.sorted[k * s.m + c];
      w[5 + k] = s.sorted[k * s.m + c + 1];
    }
    RunNetwork(w, kMergePair);
    for (int k = 0; k < 10; ++k) s.pairs[k * s.m + c] = w[kPairRank[k]];
  }
}
LAMINA_INLINE void MediansOne(const Median5Rows& s, std::uint8_t* out, int from, int to) {
  for (int x = from; x < to; ++x) {
    std::uint8_t w[25];
    for (int k = 0; k < 10; ++k) {
      w[k] = s.pairs[k * s.m + x];
      w[10 + k] = s.pairs[k * s.m + x + 2];
    }
    for (int k = 0; k < 5; ++k) w[20 + k] = s.sorted[k * s.m + x + 4];
    RunNetwork(w, kMedianOfPairs);
    out[x] = w[kMedianWire];
  }
}

#ifdef LAMINA_X86
__attribute__((target("avx2"))) void SumLimitedAvx2(std::uint8_t* a, const std::uint8_t* b, int n,
                                                    unsigned limit) {
  SumLimitedBody(a, b, n, limit);
}
__attribute__((target("avx2"))) void LargestAvx2(std::uint8_t* a, const std::uint8_t* b, int n) {
  LargestBody(a, b, n);
}
__attribute__((target("avx2"))) void WindowExtremesAvx2(const std::uint8_t* const* rows, int size,
                                                        int x0, int n, std::uint8_t* lo,
                                                        std::uint8_t* hi, std::uint8_t* colLo,
                                                        std::uint8_t* colHi) {
  WindowExtremesBody(rows, size, x0, n, lo, hi, colLo, colHi);
}
__attribute__((target("avx2"))) inline __m256i Load(const std::uint8_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
__attribute__((target("avx2"))) inline void Store(std::uint8_t* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// Written with intrinsics: the compiler leaves the column sort scalar.
__attribute__((target("avx2"))) void Median3Avx2(const std::uint8_t* const* rows, int x0, int n,
                                                 std::uint8_t* out, std::uint8_t* scratch) {
  const int m = n + 2;
  std::uint8_t* low = scratch;
  std::uint8_t* mid = scratch + m;
  std::uint8_t* high = scratch + 2 * m;
  const std::uint8_t* a = rows[0] + x0 - 1;
  const std::uint8_t* b = rows[1] + x0 - 1;
  const std::uint8_t* c = rows[2] + x0 - 1;
  int i = 0;
  for (; i + 32 <= m; i += 32) {
    const __m256i va = Load(a + i), vb = Load(b + i), vc = Load(c + i);
    const __m256i l1 = _mm256_min_epu8(va, vb), h1 = _mm256_max_epu8(va, vb);
    const __m256i h2 = _mm256_max_epu8(l1, vc);
    Store(low + i, _mm256_min_epu8(l1, vc));
    Store(mid + i, _mm256_min_epu8(h1, h2));
    Store(high + i, _mm256_max_epu8(h1, h2));
  }
  for (; i < m; ++i) {
    const std::uint8_t l1 = Min(a[i], b[i]), h1 = Max(a[i], b[i]);
    low[i] = Min(l1, c[i]);
    const std::uint8_t h2 = Max(l1, c[i]);
    mid[i] = Min(h1, h2);
    high[i] = Max(h1, h2);
  }
  int x = 0;
  for (; x + 32 <= n; x += 32) {
    const __m256i lowest =
        _mm256_max_epu8(_mm256_max_epu8(Load(low + x), Load(low + x + 1)), Load(low + x + 2));
    const __m256i highest =
        _mm256_min_epu8(_mm256_min_epu8(Load(high + x), Load(high + x + 1)), Load(high + x + 2));
    const __m256i m0 = Load(mid + x), m1 = Load(mid + x + 1), m2 = Load(mid + x + 2);
    const __m256i middle =
        _mm256_max_epu8(_mm256_min_epu8(m0, m1), _mm256_min_epu8(_mm256_max_epu8(m0, m1), m2));
    Store(out + x, _mm256_max_epu8(_mm256_min_epu8(lowest, middle),
                                   _mm256_min_epu8(_mm256_max_epu8(lowest, middle), highest)));
  }
  for (; x < n; ++x) {
    const std::uint8_t lowest = Max(Max(low[x], low[x + 1]), low[x + 2]);
    const std::uint8_t highest = Min(Min(high[x], high[x + 1]), high[x + 2]);
    const std::uint8_t m0 = mid[x], m1 = mid[x + 1], m2 = mid[x + 2];
    const std::uint8_t middle = Max(Min(m0, m1), Min(Max(m0, m1), m2));
    out[x] = Max(Min(lowest, middle), Min(Max(lowest, middle), highest));
  }
}

// The same networks on 32 pixels at once; the wires are locals indexed by constants, so they stay
// in registers as far as there are registers.
template <std::size_t N>
__attribute__((target("avx2"))) inline __attribute__((always_inline)) void RunNetworkAvx2(
    __m256i* w, const Compare (&net)[N]) {
#pragma GCC unroll 64
  for (const Compare& c : net) {
    const __m256i a = w[c.i], b = w[c.j];
    if (c.keep != 2) w[c.i] = _mm256_min_epu8(a, b);
    if (c.keep != 1) w[c.j] = _mm256_max_epu8(a, b);
  }
}

__attribute__((target("avx2"))) void Median5Avx2(const std::uint8_t* const* rows, int x0, int n,
                                                 std::uint8_t* out, std::uint8_t* scratch) {
  const Median5Rows s = Median5Scratch(scratch, n);
  int c = 0;
  for (; c + 32 <= n + 4; c += 32) {
    __m256i w[5];
    for (int j = 0; j < 5; ++j) w[j] = Load(rows[j] + x0 - 2 + c);
    RunNetworkAvx2(w, kSortFive);
    for (int k = 0; k < 5; ++k) Store(s.sorted + k * s.m + c, w[k]);
  }
  SortColumnsOne(rows, x0, s, c, n + 4);
  for (c = 0; c + 32 <= n + 3; c += 32) {
    __m256i w[10];
    for (int k = 0; k < 5; ++k) {
      w[k] = Load(s.sorted + k * s.m + c);
      w[5 + k] = Load(s.sorted + k * s.m + c + 1);
    }
    RunNetworkAvx2(w, kMergePair);
    for (int k = 0; k < 10; ++k) Store(s.pairs + k * s.m + c, w[kPairRank[k]]);
  }
  MergePairsOne(s, c, n + 3);
  int x = 0;
  for (; x + 32 <= n; x += 32) {
    __m256i w[25];
    for (int k = 0; k < 10; ++k) {
      w[k] = Load(s.pairs + k * s.m + x);
      w[10 + k] = Load(s.pairs + k * s.m + x + 2);
    }
    for (int k = 0; k < 5; ++k) w[20 + k] = Load(s.sorted + k * s.m + x + 4);
    RunNetworkAvx2(w, kMedianOfPairs);
    Store(out + x, w[kMedianWire]);
  }
  MediansOne(s, out, x, n);
}
#endif

}  // namespace

void SumLimited(std::uint8_t* a, const std::uint8_t* b, int n, unsigned limit) {
#ifdef LAMINA_X86
  if (cpu::HaveAvx2()) return SumLimitedAvx2(a, b, n, limit);
#endif
  SumLimitedBody(a, b, n, limit);
}

void Largest(std::uint8_t* a, const std::uint8_t* b, int n) {
#ifdef LAMINA_X86
  if (cpu::HaveAvx2()) return LargestAvx2(a, b, n);
#endif
  LargestBody(a, b, n);
}

void WindowExtremes(const std::uint8_t* const* rows, int size, int x0, int n, std::uint8_t* lo,
                    std::uint8_t* hi, std::uint8_t* colLo, std::uint8_t* colHi) {
#ifdef LAMINA_X86
  if (cpu::HaveAvx2()) return WindowExtremesAvx2(rows, size, x0, n, lo, hi, colLo, colHi);
#endif
  WindowExtremesBody(rows, size, x0, n, lo, hi, colLo, colHi);
}

void Median3(const std::uint8_t* const* rows, int x0, int n, std::uint8_t* out,
             std::uint8_t* scratch) {
#ifdef LAMINA_X86
  if (cpu::HaveAvx2()) return Median3Avx2(rows, x0, n, out, scratch);
#endif
  Median3Body(rows, x0, n, out, scratch);
}

void Median5Plain(const std::uint8_t* const* rows, int x0, int n, std::uint8_t* out,
                  std::uint8_t* scratch) {
  const Median5Rows s = Median5Scratch(scratch, n);
  SortColumnsOne(rows, x0, s, 0, n + 4);
  MergePairsOne(s, 0, n + 3);
  MediansOne(s, out, 0, n);
}

void Median5(const std::uint8_t* const* rows, int x0, int n, std::uint8_t* out,
             std::uint8_t* scratch) {
#ifdef LAMINA_X86
  if (cpu::HaveAvx2()) return Median5Avx2(rows, x0, n, out, scratch);
#endif
  Median5Plain(rows, x0, n, out, scratch);
}

}  // namespace detail
}  // namespace neighbourhood
}  // namespace lamina

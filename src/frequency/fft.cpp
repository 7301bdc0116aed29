// fnIMG_FFT and fnIMG_Fourier: one radix-2 decimation-in-time transform over all the samples of an
// 8-bit image taken as one sequence, shown as the logarithm of its magnitude scaled to the levels.
//
// The arithmetic is fixed: the samples in bit-reversed order, then for each stage s the butterflies
// of span h = 2^(s-1), whose twiddles start at 1 and advance by one complex multiplication with
// w = cos(theta) - i sin(theta), theta = 3.14159265 / h. Spectra are compared bit for bit, so
// every twiddle comes from that same chain of multiplications and every butterfly rounds as the
// textbook loop does.
//
// What we change is the order. The textbook loop sweeps the whole array once per stage: 24 sweeps
// of 256 MiB for a 4096 x 4096 image. Within a stage the butterflies touch disjoint pairs, so they
// may run in any order, and across stages only the flow of data matters. So:
// - the first 12 stages run on blocks of 4096 samples that stay in cache, each block filled
//   straight from the pixels in bit-reversed order;
// - the later stages run up to 12 at a time on panels: the rows a group of stages combines (sample
//   r * 2^s0 + lo for the group's rows r), 8 neighbouring columns lo wide. When one group finishes
//   the transform (up to 2^24 samples) the blocks are written out panel by panel, so each panel is
//   one contiguous stretch transformed where it lies; otherwise panels are copied out and back.
// That is two sweeps of memory instead of 24.
//
// A panel needs the twiddles of a late stage at the indices rr * 2^s0 + lo for every rr at once,
// while the chain makes them one after another. One pass along each chain notes its values at the
// multiples of 2^s0; from there one cursor per rr steps along by the same multiplication as the
// panels move right, so each twiddle is still the chain's own value.
//
// Samples are kept as separate real and imaginary arrays, so four butterflies are one AVX2
// operation without shuffles; the plain loops give the same bits and serve other processors.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "core/block_access.h"
#include "core/cpu.h"
#include "core/pixel_access.h"
#include "frequency/codes.h"
#include "frequency/fourier.h"

namespace lamina {
namespace frequency {
namespace {

using std::size_t;

constexpr double kPi = 3.14159265;  // the transform's own decimal value
constexpr int kMostGroupBits = 12;  // the panel buffers' limit on Blocking::groupBits
constexpr size_t kColumns = 8;      // a panel is 8 samples wide: one cache line of each part
constexpr int kLargestM = 30;

// The rotation of a stage of span h: w = cos(theta) - i sin(theta), theta = pi / h.
void StageRotation(size_t h, double& wr, double& wi) {
  const double theta = kPi / static_cast<double>(h);
  wr = std::cos(theta);
  wi = -std::sin(theta);
}

size_t BitReverse(size_t x, int bits) {
  size_t r = 0;
  for (int i = 0; i < bits; ++i) {
    r = (r << 1) | (x & 1u);
    x >>= 1;
  }
  return r;
}

// The textbook loop on the caller's samples, in their own order; used when the working arrays
// cannot be had.
void InPlaceFourier(_complex* data, int m) {
  const size_t n = size_t{1} << m;
  size_t j = 0;
  for (size_t i = 0; i + 1 < n; ++i) {
    if (i < j) std::swap(data[i], data[j]);
    size_t k = n / 2;
    while (k >= 1 && k <= j) {
      j -= k;
      k /= 2;
    }
    j += k;
  }
  for (int s = 1; s <= m; ++s) {
    const size_t le = size_t{1} << s, h = le / 2;
    double wr, wi;
    StageRotation(h, wr, wi);
    double ur = 1.0, ui = 0.0;
    for (size_t jj = 0; jj < h; ++jj) {
      for (size_t p = jj; p < n; p += le) {
        _complex& a = data[p];
        _complex& b = data[p + h];
        const double tr = b.x * ur - b.y * ui;
        const double ti = b.x * ui + b.y * ur;
        b.x = a.x - tr;
        b.y = a.y - ti;
        a.x = a.x + tr;
        a.y = a.y + ti;
      }
      const double nr = ur * wr - ui * wi;
      ui = ur * wi + ui * wr;
      ur = nr;
    }
  }
}

// ---- Butterflies ---------------------------------------------------------------------------

// A stage of span h over a run of `len` samples; twiddle j is (tr[j], ti[j]).
void StagePlain(double* re, double* im, size_t len, size_t h, const double* tr, const double* ti) {
  for (size_t b = 0; b < len; b += 2 * h) {
    double* pr = re + b;
    double* pi = im + b;
    double* qr = pr + h;
    double* qi = pi + h;
    for (size_t j = 0; j < h; ++j) {
      const double xr = qr[j] * tr[j] - qi[j] * ti[j];
      const double xi = qr[j] * ti[j] + qi[j] * tr[j];
      const double ar = pr[j], ai = pi[j];
      qr[j] = ar - xr;
      qi[j] = ai - xi;
      pr[j] = ar + xr;
      pi[j] = ai + xi;
    }
  }
}

// A stage of span h (in rows) over a panel of `rows` rows of kColumns; the twiddle of row
// rr mod h in column c is (tr[rr * kColumns + c], ti[...]).
void PanelStagePlain(double* re, double* im, size_t rows, size_t h, const double* tr,
                     const double* ti) {
  for (size_t b = 0; b < rows; b += 2 * h)
    for (size_t rr = 0; rr < h; ++rr) {
      double* pr = re + (b + rr) * kColumns;
      double* pi = im + (b + rr) * kColumns;
      double* qr = pr + h * kColumns;
      double* qi = pi + h * kColumns;
      const double* ur = tr + rr * kColumns;
      const double* ui = ti + rr * kColumns;
      for (size_t c = 0; c < kColumns; ++c) {
        const double xr = qr[c] * ur[c] - qi[c] * ui[c];
        const double xi = qr[c] * ui[c] + qi[c] * ur[c];
        const double ar = pr[c], ai = pi[c];
        qr[c] = ar - xr;
        qi[c] = ai - xi;
        pr[c] = ar + xr;
        pi[c] = ai + xi;
      }
    }
}

#ifdef LAMINA_X86
// Four butterflies: separate multiplications and additions, never fused, so each lane rounds as
// the plain loop does.
__attribute__((target("avx2"))) inline void Butterfly4(double* pr, double* pi, double* qr,
                                                       double* qi, const double* tr,
                                                       const double* ti) {
  const __m256d ur = _mm256_loadu_pd(tr), ui = _mm256_loadu_pd(ti);
  const __m256d br = _mm256_loadu_pd(qr), bi = _mm256_loadu_pd(qi);
  const __m256d xr = _mm256_sub_pd(_mm256_mul_pd(br, ur), _mm256_mul_pd(bi, ui));
  const __m256d xi = _mm256_add_pd(_mm256_mul_pd(br, ui), _mm256_mul_pd(bi, ur));
  const __m256d ar = _mm256_loadu_pd(pr), ai = _mm256_loadu_pd(pi);
  _mm256_storeu_pd(qr, _mm256_sub_pd(ar, xr));
  _mm256_storeu_pd(qi, _mm256_sub_pd(ai, xi));
  _mm256_storeu_pd(pr, _mm256_add_pd(ar, xr));
  _mm256_storeu_pd(pi, _mm256_add_pd(ai, xi));
}

// StagePlain for h a multiple of 4.
__attribute__((target("avx2"))) void StageAvx2(double* re, double* im, size_t len, size_t h,
                                               const double* tr, const double* ti) {
  for (size_t b = 0; b < len; b += 2 * h)
    for (size_t j = 0; j < h; j += 4)
      Butterfly4(re + b + j, im + b + j, re + b + h + j, im + b + h + j, tr + j, ti + j);
}

__attribute__((target("avx2"))) void PanelStageAvx2(double* re, double* im, size_t rows, size_t h,
                                                    const double* tr, const double* ti) {
  const size_t down = h * kColumns;
  for (size_t b = 0; b < rows; b += 2 * h)
    for (size_t rr = 0; rr < h; ++rr) {
      double* pr = re + (b + rr) * kColumns;
      double* pi = im + (b + rr) * kColumns;
      const double* ur = tr + rr * kColumns;
      const double* ui = ti + rr * kColumns;
      Butterfly4(pr, pi, pr + down, pi + down, ur, ui);
      Butterfly4(pr + 4, pi + 4, pr + down + 4, pi + down + 4, ur + 4, ui + 4);
    }
}
#endif

// Stages 1 .. g over a run of 2^g samples; stage t's twiddles are at tr[t - 1], ti[t - 1].
void RunStages(double* re, double* im, int g, const double* const* tr, const double* const* ti,
               bool wide) {
  const size_t len = size_t{1} << g;
  for (int t = 1; t <= g; ++t) {
    const size_t h = size_t{1} << (t - 1);
#ifdef LAMINA_X86
    if (wide && h >= 4) {
      StageAvx2(re, im, len, h, tr[t - 1], ti[t - 1]);
      continue;
    }
#else
    (void)wide;
#endif
    StagePlain(re, im, len, h, tr[t - 1], ti[t - 1]);
  }
}

// ---- Twiddles for panels -------------------------------------------------------------------

// Writes the next kColumns values of each of the h chains at cr/ci into tw (rows rr of
// kColumns) and leaves each chain kColumns steps further on.
void NextTwiddlesPlain(double* cr, double* ci, size_t h, double wr, double wi, double* twr,
                       double* twi) {
  for (size_t rr = 0; rr < h; ++rr) {
    double ur = cr[rr], ui = ci[rr];
    for (size_t c = 0; c < kColumns; ++c) {
      twr[rr * kColumns + c] = ur;
      twi[rr * kColumns + c] = ui;
      const double nr = ur * wr - ui * wi;
      ui = ur * wi + ui * wr;
      ur = nr;
    }
    cr[rr] = ur;
    ci[rr] = ui;
  }
}

#ifdef LAMINA_X86
// Four 4 x 4 blocks of lanes turned so that lane i of v[c] lands in row i, column c.
__attribute__((target("avx2"))) inline void StoreTurned(const __m256d* v, double* out) {
  for (int half = 0; half < 2; ++half) {
    const __m256d* a = v + 4 * half;
    const __m256d t0 = _mm256_unpacklo_pd(a[0], a[1]), t1 = _mm256_unpackhi_pd(a[0], a[1]);
    const __m256d t2 = _mm256_unpacklo_pd(a[2], a[3]), t3 = _mm256_unpackhi_pd(a[2], a[3]);
    _mm256_storeu_pd(out + 0 * kColumns + 4 * half, _mm256_permute2f128_pd(t0, t2, 0x20));
    _mm256_storeu_pd(out + 1 * kColumns + 4 * half, _mm256_permute2f128_pd(t1, t3, 0x20));
    _mm256_storeu_pd(out + 2 * kColumns + 4 * half, _mm256_permute2f128_pd(t0, t2, 0x31));
    _mm256_storeu_pd(out + 3 * kColumns + 4 * half, _mm256_permute2f128_pd(t1, t3, 0x31));
  }
}

// NextTwiddlesPlain four chains at a time; h is a multiple of 4.
__attribute__((target("avx2"))) void NextTwiddlesAvx2(double* cr, double* ci, size_t h, double wr,
                                                      double wi, double* twr, double* twi) {
  const __m256d a = _mm256_set1_pd(wr), b = _mm256_set1_pd(wi);
  for (size_t rr = 0; rr < h; rr += 4) {
    __m256d ur = _mm256_loadu_pd(cr + rr), ui = _mm256_loadu_pd(ci + rr);
    __m256d vr[kColumns], vi[kColumns];
    for (size_t c = 0; c < kColumns; ++c) {
      vr[c] = ur;
      vi[c] = ui;
      const __m256d nr = _mm256_sub_pd(_mm256_mul_pd(ur, a), _mm256_mul_pd(ui, b));
      ui = _mm256_add_pd(_mm256_mul_pd(ur, b), _mm256_mul_pd(ui, a));
      ur = nr;
    }
    _mm256_storeu_pd(cr + rr, ur);
    _mm256_storeu_pd(ci + rr, ui);
    StoreTurned(vr, twr + rr * kColumns);
    StoreTurned(vi, twi + rr * kColumns);
  }
}
#endif

// ---- The plan ------------------------------------------------------------------------------

// Everything the transform of 2^m samples needs besides the samples, allocated before any work.
struct Workspace {
  int m = 0;
  int blockBits = 0;  // k1: these first stages run on whole blocks
  int groupBits = 0;  // the most stages one panel pass runs
  int groups = 0;
  bool wide = false;
  // With exactly one group the samples lie panel by panel: panel P (columns 8P .. 8P + 7 of the
  // 2^k1 columns) holds its 2^g rows of 8 one after another.
  bool panelMajor = false;
  std::vector<size_t> reversed;        // BitReverse(t, k1) for every t of a block
  std::vector<double> blockR, blockI;  // one block being transformed
  std::vector<double> stageR, stageI;  // the block stages' twiddles: stage t from 2^(t-1) - 1
  std::vector<const double*> stageTr, stageTi;
  std::vector<double> cursorR, cursorI;  // a group's cursors: stage t from 2^(t-1) - 1
  std::vector<double> batchR, batchI;    // one panel's twiddles: stage t from (2^(t-1) - 1) * 8
  std::vector<double> panelR, panelI;    // a panel copied out of the samples

  bool Init(int bits) {
    m = bits;
    // Blocks of 2^12 samples (64 KiB) stay in the second-level cache; a group of 12 stages makes
    // panels of 4096 rows (512 KiB), so a 2^24-sample transform sweeps memory twice. Panels are 8
    // columns wide, so the blocks are at least 8 long when groups follow.
    const int most = std::min(std::max(g_blocking.groupBits, 1), kMostGroupBits);
    blockBits = std::min(m, std::max(g_blocking.blockBits, 3));
    const int rest = m - blockBits;
    groups = (rest + most - 1) / most;
    groupBits = groups == 0 ? 0 : (rest + groups - 1) / groups;
    panelMajor = groups == 1;
    wide = cpu::HaveAvx2();
    try {
      const size_t block = size_t{1} << blockBits;
      reversed.resize(block);
      for (size_t t = 0; t < block; ++t) reversed[t] = BitReverse(t, blockBits);
      blockR.resize(block);
      blockI.resize(block);
      stageR.resize(block);
      stageI.resize(block);
      for (int t = 1; t <= blockBits; ++t) {
        const size_t h = size_t{1} << (t - 1);
        double wr, wi, ur = 1.0, ui = 0.0;
        StageRotation(h, wr, wi);
        double* dr = &stageR[h - 1];
        double* di = &stageI[h - 1];
        for (size_t j = 0; j < h; ++j) {
          dr[j] = ur;
          di[j] = ui;
          const double nr = ur * wr - ui * wi;
          ui = ur * wi + ui * wr;
          ur = nr;
        }
        stageTr.push_back(dr);
        stageTi.push_back(di);
      }
      if (groups > 0) {
        const size_t rows = size_t{1} << groupBits;
        cursorR.resize(rows);
        cursorI.resize(rows);
        batchR.resize(rows * kColumns);
        batchI.resize(rows * kColumns);
        if (!panelMajor) {
          panelR.resize(rows * kColumns);
          panelI.resize(rows * kColumns);
        }
      }
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }

  // Where sample k lies in the arrays once transformed; `Visit(f)` calls f(position, k) for every
  // sample in the order of the positions.
  template <class F>
  void Visit(F&& f) const {
    const size_t n = size_t{1} << m;
    if (!panelMajor) {
      for (size_t i = 0; i < n; ++i) f(i, i);
      return;
    }
    const int g = m - blockBits;
    const size_t span = size_t{1} << blockBits, panels = span / kColumns;
    size_t i = 0;
    for (size_t p = 0; p < panels; ++p)
      for (size_t r = 0; r < (size_t{1} << g); ++r)
        for (size_t c = 0; c < kColumns; ++c, ++i) f(i, (r << blockBits) + p * kColumns + c);
  }
};

// The first stages: block B holds the samples whose bit-reversed positions start at B * 2^k1.
// load(r, blockR, blockI) fills the block of B = BitReverse(r, m - k1): its entry t is sample
// BitReverse(t, k1) * 2^(m - k1) + r. Blocks go in the order of r, so consecutive blocks read
// neighbouring samples.
template <class Load>
void RunBlocks(Workspace& ws, double* re, double* im, Load& load) {
  const int m = ws.m, k1 = ws.blockBits;
  const size_t blocks = size_t{1} << (m - k1), block = size_t{1} << k1;
  double* br = ws.blockR.data();
  double* bi = ws.blockI.data();
  for (size_t r = 0; r < blocks; ++r) {
    load(r, br, bi);
    RunStages(br, bi, k1, ws.stageTr.data(), ws.stageTi.data(), ws.wide);
    const size_t b = BitReverse(r, m - k1);
    if (!ws.panelMajor) {
      std::memcpy(re + b * block, br, block * sizeof(double));
      std::memcpy(im + b * block, bi, block * sizeof(double));
      continue;
    }
    // Block b is row b of every panel.
    const size_t panelSize = blocks * kColumns;
    for (size_t p = 0; p < block / kColumns; ++p) {
      std::memcpy(re + p * panelSize + b * kColumns, br + p * kColumns, sizeof(double) * kColumns);
      std::memcpy(im + p * panelSize + b * kColumns, bi + p * kColumns, sizeof(double) * kColumns);
    }
  }
}

// Stages s0 + 1 .. s0 + g. Row r of a panel is sample hi * 2^(s0+g) + r * 2^s0 + lo: the stages
// combine rows only, and column lo of a row sees the twiddle index (r mod h) * 2^s0 + lo.
void RunGroup(Workspace& ws, double* re, double* im, int s0, int g) {
  const size_t rows = size_t{1} << g;
  const size_t span = size_t{1} << s0;  // the columns lo
  const size_t highs = size_t{1} << (ws.m - s0 - g);
  double wr[kMostGroupBits + 1], wi[kMostGroupBits + 1];
  for (int t = 1; t <= g; ++t) {
    const size_t h = size_t{1} << (t - 1);
    StageRotation(h << s0, wr[t], wi[t]);
    double* cr = &ws.cursorR[h - 1];
    double* ci = &ws.cursorI[h - 1];
    double ur = 1.0, ui = 0.0;
    for (size_t rr = 0; rr < h; ++rr) {
      cr[rr] = ur;
      ci[rr] = ui;
      if (rr + 1 == h) break;
      for (size_t k = 0; k < span; ++k) {
        const double nr = ur * wr[t] - ui * wi[t];
        ui = ur * wi[t] + ui * wr[t];
        ur = nr;
      }
    }
  }
  const size_t panelSize = rows * kColumns;
  for (size_t lo = 0; lo < span; lo += kColumns) {
    // This panel position's twiddles, and every cursor moved past it.
    for (int t = 1; t <= g; ++t) {
      const size_t h = size_t{1} << (t - 1);
      double* cr = &ws.cursorR[h - 1];
      double* ci = &ws.cursorI[h - 1];
      double* twr = &ws.batchR[(h - 1) * kColumns];
      double* twi = &ws.batchI[(h - 1) * kColumns];
#ifdef LAMINA_X86
      if (ws.wide && h >= 4) {
        NextTwiddlesAvx2(cr, ci, h, wr[t], wi[t], twr, twi);
        continue;
      }
#endif
      NextTwiddlesPlain(cr, ci, h, wr[t], wi[t], twr, twi);
    }
    for (size_t hi = 0; hi < highs; ++hi) {
      double* pr;
      double* pi;
      const size_t base = (hi << (s0 + g)) + lo;
      if (ws.panelMajor) {
        pr = re + (lo / kColumns) * panelSize;
        pi = im + (lo / kColumns) * panelSize;
      } else {
        pr = ws.panelR.data();
        pi = ws.panelI.data();
        for (size_t r = 0; r < rows; ++r) {
          std::memcpy(pr + r * kColumns, re + base + (r << s0), sizeof(double) * kColumns);
          std::memcpy(pi + r * kColumns, im + base + (r << s0), sizeof(double) * kColumns);
        }
      }
      for (int t = 1; t <= g; ++t) {
        const size_t h = size_t{1} << (t - 1);
        const double* twr = &ws.batchR[(h - 1) * kColumns];
        const double* twi = &ws.batchI[(h - 1) * kColumns];
#ifdef LAMINA_X86
        if (ws.wide) {
          PanelStageAvx2(pr, pi, rows, h, twr, twi);
          continue;
        }
#endif
        PanelStagePlain(pr, pi, rows, h, twr, twi);
      }
      if (!ws.panelMajor)
        for (size_t r = 0; r < rows; ++r) {
          std::memcpy(re + base + (r << s0), pr + r * kColumns, sizeof(double) * kColumns);
          std::memcpy(im + base + (r << s0), pi + r * kColumns, sizeof(double) * kColumns);
        }
    }
  }
}

// The whole transform into re/im (2^m entries each, laid out as ws.Visit tells).
template <class Load>
void Transform(Workspace& ws, double* re, double* im, Load load) {
  RunBlocks(ws, re, im, load);
  for (int s0 = ws.blockBits; s0 < ws.m; s0 += ws.groupBits)
    RunGroup(ws, re, im, s0, std::min(ws.groupBits, ws.m - s0));
}

// A block of memory from the image layer (large ones get huge pages), freed on every path.
struct Scratch {
  explicit Scratch(size_t bytes) : block(BlockAccess::Allocate(bytes, /*zero=*/false)) {}
  ~Scratch() { BlockAccess::Release(block); }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  double* Doubles() const { return reinterpret_cast<double*>(block); }
  std::uint8_t* block;
};

// ---- The display ---------------------------------------------------------------------------

// The shown value of a magnitude as the display defines it: log10(|X| + 1), the modulus by hypot.
inline double LogMagnitude(double re, double im) { return std::log10(std::hypot(re, im) + 1.0); }

// What the display writes: trunc(log10(|X| + 1) * scale), the largest magnitude (which scales to
// exactly L, one past the top level) held at the top level.
struct Levels {
  double scale = 0.0;    // L / M, or 0 when every magnitude is 0
  double highest = 0.0;  // L - 1 (at most 255)
  std::uint8_t Of(double logMagnitude) const {
    const double shown = std::trunc(logMagnitude * scale);
    return static_cast<std::uint8_t>(shown < highest ? shown : highest);
  }
};

Levels LevelsFor(double top, std::int64_t colours) {
  Levels l;
  // An all-zero spectrum (top 0) stays 0 rather than dividing by zero.
  l.scale = top > 0.0 ? static_cast<double>(colours) / top : 0.0;
  l.highest = static_cast<double>(std::min<std::int64_t>(colours - 1, 255));
  return l;
}

// Every sample's log magnitude, the largest of them, then the bytes. put(k, byte) writes the
// pixel of sample k. Overwrites re.
template <class Put>
void ShowPlain(const Workspace& ws, double* re, const double* im, std::int64_t colours, Put put) {
  double top = 0.0;
  ws.Visit([&](size_t i, size_t) {
    re[i] = LogMagnitude(re[i], im[i]);
    if (re[i] > top) top = re[i];
  });
  const Levels levels = LevelsFor(top, colours);
  ws.Visit([&](size_t i, size_t k) { put(k, levels.Of(re[i])); });
}

#ifdef LAMINA_X86
// log10(a) for a >= 1 to within about 1e-13: the exponent, and the series of
// ln(m) = 2 atanh((m - 1) / (m + 1)) for the mantissa m in [sqrt(1/2), sqrt(2)).
__attribute__((target("avx2"))) inline __m256d ApproxLog10(__m256d a) {
  const __m256i bits = _mm256_castpd_si256(a);
  const __m256i mantissa =
      _mm256_or_si256(_mm256_and_si256(bits, _mm256_set1_epi64x(0x000FFFFFFFFFFFFFLL)),
                      _mm256_set1_epi64x(0x3FF0000000000000LL));
  __m256d m = _mm256_castsi256_pd(mantissa);
  const __m256i exponents = _mm256_srli_epi64(bits, 52);
  const __m128i low32 = _mm256_castsi256_si128(
      _mm256_permutevar8x32_epi32(exponents, _mm256_setr_epi32(0, 2, 4, 6, 0, 0, 0, 0)));
  __m256d e = _mm256_sub_pd(_mm256_cvtepi32_pd(low32), _mm256_set1_pd(1023.0));
  const __m256d big = _mm256_cmp_pd(m, _mm256_set1_pd(1.4142135623730951), _CMP_GT_OQ);
  m = _mm256_blendv_pd(m, _mm256_mul_pd(m, _mm256_set1_pd(0.5)), big);
  e = _mm256_add_pd(e, _mm256_and_pd(big, _mm256_set1_pd(1.0)));
  const __m256d one = _mm256_set1_pd(1.0);
  const __m256d s = _mm256_div_pd(_mm256_sub_pd(m, one), _mm256_add_pd(m, one));
  const __m256d s2 = _mm256_mul_pd(s, s);
  __m256d p = _mm256_set1_pd(1.0 / 23.0);
  for (int k = 21; k >= 3; k -= 2) p = _mm256_add_pd(_mm256_set1_pd(1.0 / k), _mm256_mul_pd(p, s2));
  const __m256d lnm = _mm256_mul_pd(_mm256_add_pd(s, s), _mm256_add_pd(one, _mm256_mul_pd(p, s2)));
  return _mm256_add_pd(_mm256_mul_pd(e, _mm256_set1_pd(0.30102999566398120)),
                       _mm256_mul_pd(lnm, _mm256_set1_pd(0.43429448190325182)));
}

// ShowPlain's bytes without a logarithm per sample. The largest magnitude is found by squares and
// confirmed exactly on the few samples near it; each byte comes from an approximate logarithm when
// that lies clearly inside one level, and from the exact one otherwise.
template <class Put>
__attribute__((target("avx2"))) void ShowAvx2(const Workspace& ws, const double* re,
                                              const double* im, std::int64_t colours, Put put) {
  const size_t n = size_t{1} << ws.m;
  // Samples whose square reaches within 1e-6 of the largest so far: the largest log magnitude is
  // among them (logarithms of magnitudes that far apart never swap order).
  constexpr double kNear = 1.0 - 1e-6;
  constexpr int kMostNear = 64;
  size_t near[kMostNear];
  double nearSquare[kMostNear];
  int nearCount = 0;
  bool crowded = false;
  double largest = 0.0;
  double threshold = 4.9406564584124654e-324;  // the smallest positive: zeros never qualify
  for (size_t i = 0; i < n; i += 4) {
    const __m256d r = _mm256_loadu_pd(re + i), m = _mm256_loadu_pd(im + i);
    const __m256d sq = _mm256_add_pd(_mm256_mul_pd(r, r), _mm256_mul_pd(m, m));
    int lanes = _mm256_movemask_pd(_mm256_cmp_pd(sq, _mm256_set1_pd(threshold), _CMP_GE_OQ));
    while (lanes != 0) {
      const int lane = __builtin_ctz(static_cast<unsigned>(lanes));
      lanes &= lanes - 1;
      alignas(32) double squares[4];
      _mm256_store_pd(squares, sq);
      const double q = squares[lane];
      if (q < threshold) continue;
      if (q > largest) {
        largest = q;
        threshold = std::max(threshold, largest * kNear);
        int kept = 0;
        for (int c = 0; c < nearCount; ++c)
          if (nearSquare[c] >= threshold) {
            near[kept] = near[c];
            nearSquare[kept++] = nearSquare[c];
          }
        nearCount = kept;
      }
      if (nearCount == kMostNear) {
        crowded = true;
      } else {
        near[nearCount] = i + static_cast<size_t>(lane);
        nearSquare[nearCount++] = q;
      }
    }
  }
  double top = 0.0;
  if (crowded) {
    for (size_t i = 0; i < n; ++i)
      if (re[i] * re[i] + im[i] * im[i] >= threshold)
        top = std::max(top, LogMagnitude(re[i], im[i]));
  } else {
    for (int c = 0; c < nearCount; ++c) top = std::max(top, LogMagnitude(re[near[c]], im[near[c]]));
  }
  const Levels levels = LevelsFor(top, colours);
  // The approximation and the rounding of the products stay below 1e-12 of the scale.
  const double margin = 1e-9 + levels.scale * 1e-12;
  const __m256d scale = _mm256_set1_pd(levels.scale), below = _mm256_set1_pd(-margin),
                above = _mm256_set1_pd(margin), zero = _mm256_setzero_pd(),
                one = _mm256_set1_pd(1.0), highest = _mm256_set1_pd(levels.highest);
  const size_t rows = ws.panelMajor ? size_t{1} << (ws.m - ws.blockBits) : 0;
  for (size_t i = 0; i < n; i += 4) {
    // Positions run in order; k rises by one along runs of 8 (panels) or throughout.
    size_t k = i;
    if (ws.panelMajor) {
      const size_t panel = i / (rows * kColumns), row = (i / kColumns) % rows;
      k = (row << ws.blockBits) + panel * kColumns + i % kColumns;
    }
    const __m256d r = _mm256_loadu_pd(re + i), m = _mm256_loadu_pd(im + i);
    const __m256d sq = _mm256_add_pd(_mm256_mul_pd(r, r), _mm256_mul_pd(m, m));
    const __m256d f = _mm256_mul_pd(ApproxLog10(_mm256_add_pd(_mm256_sqrt_pd(sq), one)), scale);
    const __m256d low = _mm256_floor_pd(_mm256_max_pd(_mm256_add_pd(f, below), zero));
    const __m256d high = _mm256_floor_pd(_mm256_add_pd(f, above));
    alignas(32) double shown[4];
    _mm256_store_pd(shown, _mm256_min_pd(low, highest));
    const int unsure = _mm256_movemask_pd(_mm256_cmp_pd(low, high, _CMP_NEQ_OQ));
    for (size_t lane = 0; lane < 4; ++lane)
      put(k + lane, ((unsure >> lane) & 1) != 0
                        ? levels.Of(LogMagnitude(re[i + lane], im[i + lane]))
                        : static_cast<std::uint8_t>(shown[lane]));
  }
}
#endif

}  // namespace

void Fourier(_complex* data, int m) {
  if (data == nullptr || m < 0 || m > kLargestM) return;
  const size_t n = size_t{1} << m;
  Workspace ws;
  Scratch samples(2 * n * sizeof(double));
  if (samples.block == nullptr || !ws.Init(m)) {
    InPlaceFourier(data, m);
    return;
  }
  double* re = samples.Doubles();
  double* im = re + n;
  const int k1 = ws.blockBits;
  auto load = [&](size_t r, double* br, double* bi) {
    for (size_t t = 0; t < ws.reversed.size(); ++t) {
      const _complex& z = data[(ws.reversed[t] << (m - k1)) | r];
      br[t] = z.x;
      bi[t] = z.y;
    }
  };
  Transform(ws, re, im, load);
  ws.Visit([&](size_t i, size_t k) { data[k] = _complex{re[i], im[i]}; });
}

int FFT(CLamina& img, int mode) {
  const ImageView v = BlockAccess::View(img);
  const std::int64_t count = std::int64_t{v.width} * v.height;
  if (count < 0 || (count & (count - 1)) != 0) return codes::fft::kSize;
  if (v.bpp != 8) return codes::fft::kDepth;
  BlockAccess::NoteStride(img, v);  // as the transform has always recorded it
  if (mode != 0 && mode != 1) return codes::fft::kMode;
  if (count == 0) return 0;  // no samples: nothing to show
  int m = 0;
  while ((std::int64_t{1} << m) < count) ++m;
  if (m > kLargestM) return codes::fft::kNoMemory;
  const size_t n = size_t{1} << m;
  Workspace ws;
  // Two blocks rather than one: the memory layer keeps the last large block freed (up to
  // 256 MiB) for the next, so a caller showing spectrum after spectrum reuses one of them.
  Scratch real(n * sizeof(double)), imaginary(n * sizeof(double));
  if (real.block == nullptr || imaginary.block == nullptr || !ws.Init(m))
    return codes::fft::kNoMemory;
  const int k1 = ws.blockBits;
  const size_t columns = size_t{1} << (m - k1), block = size_t{1} << k1;
  const size_t tileWidth = std::min<size_t>(columns, 64);
  // Tile rows one cache line longer than a block, so that the 64 rows written side by side do
  // not all fall into the same cache set.
  const size_t pitch = block + 64;
  std::vector<std::uint8_t> tile;
  try {
    tile.resize(tileWidth * pitch);
  } catch (const std::bad_alloc&) {
    return codes::fft::kNoMemory;
  }
  double* re = real.Doubles();
  double* im = imaginary.Doubles();

  // Sample k is column k mod width of stored row k / width: for widths of 1 and 2 the stride (4)
  // is wider than the row, and k alone would run past the samples.
  int widthBits = 0;
  while ((1 << widthBits) < v.width) ++widthBits;
  const size_t columnMask = static_cast<size_t>(v.width) - 1;
  const size_t stride = static_cast<size_t>(v.stride);
  const bool packed = stride == static_cast<size_t>(v.width);
  std::uint8_t* const bits = v.bits;
  auto at = [&](size_t k) { return (k >> widthBits) * stride + (k & columnMask); };

  // Block r takes column r of the samples seen as 2^k1 rows of 2^(m-k1): 64 such columns are
  // turned into rows of a tile first, so each line of pixels is read once, not 64 times.
  auto load = [&](size_t r, double* br, double* bi) {
    const size_t first = r - r % tileWidth;
    if (r == first)
      for (size_t row = 0; row < block; ++row) {
        const size_t k = (row << (m - k1)) | first;
        // Each row is one line from a different page: ask for lines well ahead, or the loop
        // waits on them one at a time.
        if (packed && row + 16 < block) __builtin_prefetch(bits + k + (size_t{16} << (m - k1)));
        for (size_t c = 0; c < tileWidth; ++c)
          tile[c * pitch + row] = packed ? bits[k + c] : bits[at(k + c)];
      }
    const std::uint8_t* column = tile.data() + (r - first) * pitch;
    for (size_t t = 0; t < block; ++t) {
      const double level = column[ws.reversed[t]];
      const size_t k = (ws.reversed[t] << (m - k1)) | r;
      // pow(-1, c + r) is exactly -1 or 1; -1 * 0 is -0, as the product gives it.
      const bool negate = mode == 1 && (((k >> widthBits) + (k & columnMask)) & 1u) != 0;
      br[t] = negate ? -level : level;
      bi[t] = 0.0;
    }
  };
  Transform(ws, re, im, load);

  const std::int64_t colours = v.header->biClrUsed != 0 ? std::int64_t{v.header->biClrUsed} : 256;
  auto put = [&](size_t k, std::uint8_t level) { bits[packed ? k : at(k)] = level; };
#ifdef LAMINA_X86
  if (ws.wide && n >= 8) {
    ShowAvx2(ws, re, im, colours, put);
    return 0;
  }
#endif
  ShowPlain(ws, re, im, colours, put);
  return 0;
}

}  // namespace frequency
}  // namespace lamina

int CLamina::fnIMG_FFT(int mode) { return lamina::frequency::FFT(*this, mode); }

void CLamina::fnIMG_Fourier(_complex* data, int m) { lamina::frequency::Fourier(data, m); }

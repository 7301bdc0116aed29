// Shared pieces of the benchmarks: the fixed synthetic 4096 x 4096 pictures and a memcpy floor.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "CLamina.h"

namespace lamina_bench {

constexpr int kSide = 4096;

// A deterministic picture of the given depth (1, 4, 8, 24 or 32 bits): gradients plus a little
// pseudo-random texture, so that branches and tables see varied values. 8-bit images get the gray
// ramp palette unless `colourPalette` is set.
inline CLamina MakePicture(int bpp, int width = kSide, int height = kSide,
                           bool colourPalette = false) {
  RGBQUAD pal[256];
  for (int i = 0; i < 256; ++i) {
    const BYTE g = static_cast<BYTE>(i);
    pal[i] = colourPalette ? RGBQUAD{g, static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 7), 0}
                           : RGBQUAD{g, g, g, 0};
  }
  CLamina img(nullptr, bpp <= 8 ? pal : nullptr, width, height, bpp);
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  const std::size_t bytes = p.lpbmih->biSizeImage;
  std::uint32_t s = 12345u;
  for (std::size_t i = 0; i < bytes; ++i) {
    s = s * 1664525u + 1013904223u;
    p.lpBits[i] = static_cast<std::uint8_t>((i * 31 / 4096) + (s >> 28));
  }
  return img;
}

// Reports megapixels per second for a benchmark that processes `pixels` pixels per iteration.
inline void SetPixelRate(benchmark::State& state, std::int64_t pixels) {
  state.counters["MP/s"] = benchmark::Counter(static_cast<double>(pixels) * state.iterations() / 1e6,
                                              benchmark::Counter::kIsRate);
}

// Pushes every earlier picture out of the processor's caches by writing a buffer twice the size of
// the largest last-level cache we run on, so that the next timed step starts from memory, as work
// on an image loaded a while ago does. Call it with the timing paused.
inline void EvictCaches() {
  static std::vector<std::uint8_t> scratch(64u << 20);
  for (std::size_t i = 0; i < scratch.size(); i += 64) scratch[i] = static_cast<std::uint8_t>(i);
  benchmark::ClobberMemory();
}

// Times `op(img)` on a fresh copy of `original` in every iteration, for operations that change the
// image; putting the copy back (and emptying the caches when `cold`) is not timed.
template <class Op>
void TimeOnCopies(benchmark::State& state, const CLamina& original, Op op, bool cold = false) {
  CLamina img = original;
  for (auto _ : state) {
    benchmark::DoNotOptimize(op(img));
    benchmark::ClobberMemory();
    state.PauseTiming();
    img = original;
    if (cold) EvictCaches();
    state.ResumeTiming();
  }
}

// The floor every whole-image operation is measured against: copying the same bytes once.
inline void MemcpyFloor(benchmark::State& state, std::size_t bytes) {
  std::vector<std::uint8_t> a(bytes, 1), b(bytes);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

}  // namespace lamina_bench

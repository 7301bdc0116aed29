// The image object: construction, copies, the public pixel calls and filling, each beside a memcpy
// of the same bytes.
#include "bench_common.h"

namespace {

using lamina_bench::kSide;
using lamina_bench::MakePicture;

std::size_t PixelBytes(int bpp) {
  return static_cast<std::size_t>((kSide * bpp + 31) / 32 * 4) * kSide;
}

void BM_Construct(benchmark::State& state) {
  const int bpp = static_cast<int>(state.range(0));
  for (auto _ : state) {
    CLamina img(nullptr, nullptr, kSide, kSide, bpp);
    benchmark::DoNotOptimize(img.fnIMG_GetPointers().lpBits);
  }
  lamina_bench::SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Construct)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_CopyConstruct(benchmark::State& state) {
  CLamina src = MakePicture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CLamina copy(src);
    benchmark::DoNotOptimize(copy.fnIMG_GetPointers().lpBits);
  }
  lamina_bench::SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_CopyConstruct)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Assign(benchmark::State& state) {
  CLamina src = MakePicture(static_cast<int>(state.range(0)));
  CLamina dst;
  for (auto _ : state) {
    dst = src;
    benchmark::DoNotOptimize(dst.fnIMG_GetPointers().lpBits);
  }
  lamina_bench::SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Assign)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_MemcpyPixels(benchmark::State& state) {
  lamina_bench::MemcpyFloor(state, PixelBytes(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_MemcpyPixels)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

// One public call per pixel over the whole picture: the cost of a single checked access.
void BM_GetPixel(benchmark::State& state) {
  CLamina img = MakePicture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    unsigned sum = 0;
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) sum += img.fnIMG_GetPixel(x, y);
    benchmark::DoNotOptimize(sum);
  }
  state.counters["ns/call"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kSide * kSide,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GetPixel)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_SetPixel(benchmark::State& state) {
  CLamina img = MakePicture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) img.fnIMG_SetPixel(x, y, static_cast<unsigned>(x ^ y));
    benchmark::ClobberMemory();
  }
  state.counters["ns/call"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kSide * kSide,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SetPixel)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_InitializeValue(benchmark::State& state) {
  CLamina img = MakePicture(static_cast<int>(state.range(0)));
  unsigned v = 0;
  for (auto _ : state) {
    img.fnIMG_Initialize(v += 0x010203u);
    benchmark::ClobberMemory();
  }
  lamina_bench::SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_InitializeValue)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_InitializeColour(benchmark::State& state) {
  CLamina img = MakePicture(static_cast<int>(state.range(0)));
  BYTE v = 0;
  for (auto _ : state) {
    ++v;
    img.fnIMG_Initialize(RGBQUAD{v, static_cast<BYTE>(v + 1), static_cast<BYTE>(v + 2), 0});
    benchmark::ClobberMemory();
  }
  lamina_bench::SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_InitializeColour)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {
// The colour fill of a palette image scans for the indices in use until it has seen them all; a
// picture that uses few indices is scanned to the end.
void BM_InitializeColourFewIndices(benchmark::State& state) {
  CLamina img(nullptr, nullptr, lamina_bench::kSide, lamina_bench::kSide, 8);
  BYTE v = 0;
  for (auto _ : state) {
    ++v;
    img.fnIMG_Initialize(RGBQUAD{v, v, v, 0});
    benchmark::ClobberMemory();
  }
  lamina_bench::SetPixelRate(state, std::int64_t{lamina_bench::kSide} * lamina_bench::kSide);
}
BENCHMARK(BM_InitializeColourFewIndices)->Unit(benchmark::kMillisecond);
}  // namespace

// Bit planes, noise and averages, beside the memcpy floor of the same bytes.
#include <benchmark/benchmark.h>

#include "intensity_bench_util.h"

using namespace lamina_bench;

namespace {

int Bpp(const benchmark::State& state) { return static_cast<int>(state.range(0)); }

void BM_Intensity_BitPlane(benchmark::State& state) {
  // The image becomes 1 bit deep: the whole image is restored between iterations.
  RunInPlace(
      state, Bpp(state), true, [](CLamina& i) { i.fnIMG_BitPlane(5); }, true);
}
BENCHMARK(BM_Intensity_BitPlane)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_BitPlaneErase(benchmark::State& state) {
  CLamina::CualesPlanosBits planes{};
  planes.bPlano0 = planes.bPlano3 = planes.bPlano12 = 1;
  // Clearing planes again changes nothing: no restore needed.
  RunInPlace(state, Bpp(state), false, [&](CLamina& i) { i.fnIMG_BitPlaneErase(planes); });
}
BENCHMARK(BM_Intensity_BitPlaneErase)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_AddNoiseAll(benchmark::State& state) {
  RunInPlace(state, Bpp(state), true,
             [](CLamina& i) { i.fnIMG_AddNoise(0, 1, -10, 10, 20, 200, 1); });
}
BENCHMARK(BM_Intensity_AddNoiseAll)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_AverageImg(benchmark::State& state) {
  CLamina img = MakePicture(Bpp(state));
  RGBQUAD c{};
  for (auto _ : state) benchmark::DoNotOptimize(img.fnIMG_AverageImg(&c));
  SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Intensity_AverageImg)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_AverageRowsAndColumns(benchmark::State& state) {
  // Every row once and every column once: two passes over the picture.
  CLamina img = MakePicture(Bpp(state));
  RGBQUAD c{};
  for (auto _ : state) {
    for (int y = 0; y < kSide; ++y) benchmark::DoNotOptimize(img.fnIMG_AverageRow(y, &c));
    for (int x = 0; x < kSide; ++x) benchmark::DoNotOptimize(img.fnIMG_AverageColumn(x, &c));
  }
  SetPixelRate(state, 2 * std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Intensity_AverageRowsAndColumns)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_MiscFloor(benchmark::State& state) {
  MemcpyFloor(state, std::size_t{kSide} * kSide * static_cast<std::size_t>(Bpp(state) / 8));
  SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Intensity_MiscFloor)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

}  // namespace

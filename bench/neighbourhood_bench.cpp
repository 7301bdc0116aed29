// Morphology, binary smoothing and region growing on 4096 x 4096 pictures, beside a memcpy of the
// same bytes and, when OpenCV is present, cv::dilate / cv::erode run single-threaded in this
// process.
#include <benchmark/benchmark.h>

#include <vector>

#include "CLamina.h"
#include "bench_common.h"

#ifdef LAMINA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

using lamina_bench::kSide;
using lamina_bench::MakePicture;
using lamina_bench::SetPixelRate;

namespace {

constexpr std::int64_t kPixels = std::int64_t{kSide} * kSide;

// All six rules, each one pass over the 2 MiB of a 1-bit picture.
void BM_BinarySmoothing(benchmark::State& state) {
  const CLamina original = MakePicture(1);
  const CLamina::CualesSuavizadoBinario all{1, 1, 1, 1, 1, 1};
  lamina_bench::TimeOnCopies(state, original,
                             [&](CLamina& img) { return img.fnIMG_BinarySmoothing(all); });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_BinarySmoothing)->Unit(benchmark::kMillisecond);

void BM_BinarySmoothingFloorMemcpy(benchmark::State& state) {
  lamina_bench::MemcpyFloor(state, static_cast<std::size_t>(kPixels / 8));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_BinarySmoothingFloorMemcpy)->Unit(benchmark::kMillisecond);

// A flat picture: every pixel joins, grown from the middle; 0 city-block, 1 chessboard.
void BM_RegionGrowingFlat(benchmark::State& state) {
  const CLamina flat(nullptr, nullptr, kSide, kSide, 8);
  const int distance = static_cast<int>(state.range(0));
  lamina_bench::TimeOnCopies(state, flat, [distance](CLamina& img) {
    return img.fnIMG_RegionGrowing(kSide / 2, kSide / 2, distance, 0, 0, 200);
  });
  SetPixelRate(state, kPixels);
  state.counters["s/px"] = benchmark::Counter(
      static_cast<double>(kPixels),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RegionGrowingFlat)
    ->ArgName("chessboard")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

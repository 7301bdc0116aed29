// Thresholds against cv::threshold (single-threaded) or the memcpy floor; the threshold searches
// and the adaptive thresholding are judged against one histogram of the same picture.
#include <benchmark/benchmark.h>

#include "intensity_bench_util.h"

#ifdef LAMINA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

using namespace lamina_bench;

namespace {

int Bpp(const benchmark::State& state) { return static_cast<int>(state.range(0)); }

void BM_Intensity_FindThreshold(benchmark::State& state) {
  CLamina img = MakePicture(static_cast<int>(state.range(0)));
  const int method = static_cast<int>(state.range(1));
  int second = 0;
  for (auto _ : state) benchmark::DoNotOptimize(img.fnIMG_FindThreshold(method, &second));
  SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Intensity_FindThreshold)
    ->Args({8, 0})
    ->Args({8, 1})
    ->Args({8, 2})
    ->Args({24, 0})
    ->Args({24, 1})
    ->Args({24, 2})
    ->Unit(benchmark::kMillisecond);

void BM_Intensity_Thresholding(benchmark::State& state) {
  // Thresholding its own two-level result changes nothing: no restore needed.
  RunInPlace(state, Bpp(state), false, [](CLamina& i) { i.fnIMG_Thresholding(128, 0, 255); });
}
BENCHMARK(BM_Intensity_Thresholding)->Arg(8)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

void BM_Intensity_AdaptiveThreshold(benchmark::State& state) {
  const int block = static_cast<int>(state.range(0));
  RunInPlace(state, 8, true,
             [&](CLamina& i) { i.fnIMG_AdaptiveLocalThresholding(block, block, -1, 3); });
}
BENCHMARK(BM_Intensity_AdaptiveThreshold)->Arg(16)->Arg(256)->Unit(benchmark::kMillisecond);

#ifdef LAMINA_HAVE_OPENCV
void BM_Intensity_Peer_CvThreshold(benchmark::State& state) {
  cv::setNumThreads(1);
  CLamina img = MakePicture(Bpp(state));
  cv::Mat src = AsMat(img);
  cv::Mat dst(src.size(), src.type());
  for (auto _ : state) {
    cv::threshold(src, dst, 127, 255, cv::THRESH_BINARY);
    benchmark::DoNotOptimize(dst.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Intensity_Peer_CvThreshold)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
#else
void BM_Intensity_ThresholdFloor(benchmark::State& state) {
  MemcpyFloor(state, std::size_t{kSide} * kSide * static_cast<std::size_t>(Bpp(state) / 8));
  SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Intensity_ThresholdFloor)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

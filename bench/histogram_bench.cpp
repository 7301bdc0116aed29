// Histograms against cv::calcHist (single-threaded) or the memcpy floor.
#include <benchmark/benchmark.h>

#include <vector>

#include "intensity_bench_util.h"

#ifdef LAMINA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

using namespace lamina_bench;

namespace {

void BM_Intensity_GetHistogram(benchmark::State& state) {
  const int bpp = static_cast<int>(state.range(0));
  CLamina img = MakePicture(bpp);
  std::vector<int> table(1024);
  for (auto _ : state) {
    img.fnIMG_GetHistogram(table.data(), 0);
    benchmark::DoNotOptimize(table.data());
  }
  SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Intensity_GetHistogram)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_GetHistogramScaled(benchmark::State& state) {
  CLamina img = MakePicture(static_cast<int>(state.range(0)));
  std::vector<int> table(1024);
  for (auto _ : state) {
    img.fnIMG_GetHistogram(table.data(), 100);
    benchmark::DoNotOptimize(table.data());
  }
  SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Intensity_GetHistogramScaled)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_GetInfoHistogram(benchmark::State& state) {
  CLamina img = MakePicture(static_cast<int>(state.range(0)));
  CLamina::InformacionHistograma info;
  for (auto _ : state) {
    img.fnIMG_GetInfoHistogram(&info);
    benchmark::DoNotOptimize(&info);
  }
  SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Intensity_GetInfoHistogram)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

#ifdef LAMINA_HAVE_OPENCV
// One 256-bin histogram per channel of the same picture.
void BM_Intensity_Peer_CvCalcHist(benchmark::State& state) {
  cv::setNumThreads(1);
  const int bpp = static_cast<int>(state.range(0));
  CLamina img = MakePicture(bpp);
  cv::Mat src = AsMat(img);
  const int histSize = 256;
  const float range[] = {0, 256};
  const float* ranges[] = {range};
  cv::Mat hist;
  for (auto _ : state) {
    for (int c = 0; c < bpp / 8; ++c) {
      const int channels[] = {c};
      cv::calcHist(&src, 1, channels, cv::Mat(), hist, 1, &histSize, ranges);
      benchmark::DoNotOptimize(hist.data);
    }
  }
  SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Intensity_Peer_CvCalcHist)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
#else
void BM_Intensity_HistogramFloor(benchmark::State& state) {
  MemcpyFloor(state, std::size_t{kSide} * kSide * static_cast<std::size_t>(state.range(0) / 8));
  SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Intensity_HistogramFloor)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

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

// Operation 0 (dilation) or 1 (erosion) with a 3 x 3 element of zeros, centred: the largest or
// smallest of each window.
void BM_Morphology3x3(benchmark::State& state) {
  const CLamina original = MakePicture(static_cast<int>(state.range(1)));
  const int operation = static_cast<int>(state.range(0));
  unsigned char zeros[9] = {};
  lamina_bench::TimeOnCopies(state, original, [&](CLamina& img) {
    return img.fnIMG_Morphological(operation, zeros, 3, 3, 1, 1);
  });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Morphology3x3)
    ->ArgNames({"erosion", "bpp"})
    ->Args({0, 8})
    ->Args({1, 8})
    ->Args({0, 1})
    ->Args({0, 4})
    ->Unit(benchmark::kMillisecond);

// A 7 x 5 element of weights (not flat): every entry in turn.
void BM_MorphologyWeighted(benchmark::State& state) {
  const CLamina original = MakePicture(8);
  std::vector<unsigned char> weights(35);
  for (int i = 0; i < 35; ++i) weights[i] = static_cast<unsigned char>(i % 7);
  lamina_bench::TimeOnCopies(state, original, [&](CLamina& img) {
    return img.fnIMG_Morphological(0, weights.data(), 7, 5, 3, 2);
  });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_MorphologyWeighted)->Unit(benchmark::kMillisecond);

void BM_MorphologyFloorMemcpy(benchmark::State& state) {
  lamina_bench::MemcpyFloor(state, static_cast<std::size_t>(kPixels));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_MorphologyFloorMemcpy)->Unit(benchmark::kMillisecond);

#ifdef LAMINA_HAVE_OPENCV
// cv::dilate / cv::erode of a gray picture with a 3 x 3 rectangle into a second picture.
void BM_MorphologyOpenCV(benchmark::State& state) {
  cv::setNumThreads(1);
  cv::Mat src(kSide, kSide, CV_8U), dst(kSide, kSide, CV_8U);
  cv::randu(src, 0, 255);
  const cv::Mat kernel = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3));
  const bool erode = state.range(0) != 0;
  for (auto _ : state) {
    if (erode)
      cv::erode(src, dst, kernel);
    else
      cv::dilate(src, dst, kernel);
    benchmark::DoNotOptimize(dst.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_MorphologyOpenCV)->ArgName("erosion")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
#endif

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

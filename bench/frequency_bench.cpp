// The Fourier display of a 4096 x 4096 8-bit picture (2^24 samples as one sequence), beside a
// memcpy of its bytes and, when OpenCV is present, cv::dft of the same 2^24 complex samples as one
// row, single-threaded in this process.
#include <benchmark/benchmark.h>

#include "CLamina.h"
#include "bench_common.h"

#ifdef LAMINA_HAVE_OPENCV
#include <opencv2/core.hpp>
#endif

using lamina_bench::kSide;
using lamina_bench::MakePicture;
using lamina_bench::SetPixelRate;

namespace {

constexpr std::int64_t kPixels = std::int64_t{kSide} * kSide;

void BM_FFT(benchmark::State& state) {
  const CLamina original = MakePicture(8);
  const int mode = static_cast<int>(state.range(0));
  lamina_bench::TimeOnCopies(state, original, [mode](CLamina& img) { return img.fnIMG_FFT(mode); });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_FFT)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FFTFloorMemcpy(benchmark::State& state) {
  lamina_bench::MemcpyFloor(state, static_cast<std::size_t>(kPixels));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_FFTFloorMemcpy)->Unit(benchmark::kMillisecond);

#ifdef LAMINA_HAVE_OPENCV
// The same samples as complex doubles in one row of 2^24, transformed forward without scaling.
void BM_FFTOpenCV(benchmark::State& state) {
  cv::setNumThreads(1);
  const CLamina picture = MakePicture(8);
  CLamina copy = picture;
  const CLamina::Punteros p = copy.fnIMG_GetPointers();
  cv::Mat samples(1, static_cast<int>(kPixels), CV_64FC2), spectrum;
  for (std::int64_t k = 0; k < kPixels; ++k)
    samples.at<cv::Vec2d>(0, static_cast<int>(k)) = cv::Vec2d(p.lpBits[k], 0.0);
  for (auto _ : state) {
    cv::dft(samples, spectrum);
    benchmark::DoNotOptimize(spectrum.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_FFTOpenCV)->Unit(benchmark::kMillisecond)->Iterations(3);
#endif

}  // namespace

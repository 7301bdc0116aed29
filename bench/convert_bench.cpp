// Colour to gray and depth conversion on 4096 x 4096 pictures, beside a memcpy of the bytes read
// and, when OpenCV is present, cv::cvtColor run single-threaded in this process.
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

// Graying changes the picture, so its bytes are put back outside the timed region.
void BM_ColorToGray(benchmark::State& state) {
  CLamina img = MakePicture(static_cast<int>(state.range(0)));
  const int method = static_cast<int>(state.range(1));
  std::vector<unsigned char> original(static_cast<std::size_t>(img.fnIMG_GetBitmapSize()));
  img.fnIMG_GetBitmap(original.data());
  for (auto _ : state) {
    benchmark::DoNotOptimize(img.fnIMG_ColorToGray(method));
    benchmark::ClobberMemory();
    state.PauseTiming();
    img.fnIMG_SetBitmap(original.data());
    state.ResumeTiming();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_ColorToGray)
    ->ArgNames({"bpp", "method"})
    ->Args({24, 0})
    ->Args({24, 1})
    ->Args({32, 0})
    ->Args({8, 0})
    ->Unit(benchmark::kMillisecond);

// A 24-bit gray picture (the 8-bit one copied up), so that 24 -> 8 really reduces it.
CLamina GrayPicture24() {
  CLamina img = MakePicture(8);
  img.fnIMG_ChangeColorDepth(3);
  return img;
}

void BM_ChangeColorDepth(benchmark::State& state) {
  const int from = static_cast<int>(state.range(0));
  const int index = static_cast<int>(state.range(1));
  lamina_bench::TimeOnCopies(state, from == 24 ? GrayPicture24() : MakePicture(from),
                             [index](CLamina& img) { return img.fnIMG_ChangeColorDepth(index); });
  SetPixelRate(state, kPixels);
}
// Index 0..4 = 1, 4, 8, 24, 32 bits.
BENCHMARK(BM_ChangeColorDepth)
    ->ArgNames({"from", "index"})
    ->Args({24, 2})
    ->Args({8, 3})
    ->Args({24, 4})
    ->Args({32, 3})
    ->Args({24, 0})
    ->Args({8, 0})
    ->Args({1, 2})
    ->Args({8, 1})
    ->Unit(benchmark::kMillisecond);

// 8 -> 24 bits through a colour palette (no shortcut for the gray ramp).
void BM_ChangeColorDepthColourPalette(benchmark::State& state) {
  lamina_bench::TimeOnCopies(state, MakePicture(8, kSide, kSide, true),
                             [](CLamina& img) { return img.fnIMG_ChangeColorDepth(3); });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_ChangeColorDepthColourPalette)->Unit(benchmark::kMillisecond);

void BM_ConvertFloorMemcpy(benchmark::State& state) {
  lamina_bench::MemcpyFloor(state, static_cast<std::size_t>(kPixels * state.range(0) / 8));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_ConvertFloorMemcpy)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

#ifdef LAMINA_HAVE_OPENCV
// The nearest peer: cvtColor into a picture allocated beforehand.
void BM_CvtColorOpenCV(benchmark::State& state) {
  cv::setNumThreads(1);
  const int code = static_cast<int>(state.range(0));
  const bool toGray = code == cv::COLOR_BGR2GRAY || code == cv::COLOR_BGRA2GRAY;
  const int inChannels = code == cv::COLOR_BGRA2GRAY ? 4 : (toGray ? 3 : 1);
  cv::Mat src(kSide, kSide, CV_8UC(inChannels)), dst;
  cv::randu(src, 0, 255);
  cv::cvtColor(src, dst, code);
  for (auto _ : state) {
    cv::cvtColor(src, dst, code);
    benchmark::DoNotOptimize(dst.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_CvtColorOpenCV)
    ->Arg(cv::COLOR_BGR2GRAY)
    ->Arg(cv::COLOR_BGRA2GRAY)
    ->Arg(cv::COLOR_GRAY2BGR)
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace

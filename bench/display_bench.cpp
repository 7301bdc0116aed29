// Translation by (17, -9) in both modes, and drawing into a memory surface, on 4096 x 4096
// pictures, beside a memcpy of the same bytes (the image's pixel bytes for translation, the
// surface's 64 MiB for drawing) and, when OpenCV is present, the nearest OpenCV call run
// single-threaded in this process.
#include <benchmark/benchmark.h>

#include "CLamina.h"
#include "bench_common.h"
#include "lamina/cdc.h"

#ifdef LAMINA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

using lamina_bench::kSide;
using lamina_bench::MakePicture;
using lamina_bench::SetPixelRate;

namespace {

constexpr std::int64_t kPixels = std::int64_t{kSide} * kSide;

// The picture is put back outside the timed region; the result, enlarged or not, is a new block.
void BM_Translation(benchmark::State& state) {
  const int bpp = static_cast<int>(state.range(0)), mode = static_cast<int>(state.range(1));
  lamina_bench::TimeOnCopies(state, MakePicture(bpp), [mode](CLamina& img) {
    return img.fnIMG_Translation(mode, 17, -9, 0x203040);
  });
  state.SetBytesProcessed(kPixels * bpp / 8 * state.iterations());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Translation)
    ->ArgNames({"bpp", "mode"})
    ->Args({1, 0})
    ->Args({8, 0})
    ->Args({24, 0})
    ->Args({32, 0})
    ->Args({1, 1})
    ->Args({8, 1})
    ->Args({24, 1})
    ->Args({32, 1})
    ->Unit(benchmark::kMillisecond);

void BM_TranslationFloorMemcpy(benchmark::State& state) {
  lamina_bench::MemcpyFloor(state, static_cast<std::size_t>(kPixels * state.range(0) / 8));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_TranslationFloorMemcpy)
    ->Arg(1)
    ->Arg(8)
    ->Arg(24)
    ->Arg(32)
    ->Unit(benchmark::kMillisecond);

// The whole picture drawn at (0, 0) of a surface of the same size.
void BM_DrawMemory(benchmark::State& state) {
  CLamina img = MakePicture(static_cast<int>(state.range(0)), kSide, kSide, true);
  CMemoryDC dc(kSide, kSide);
  for (auto _ : state) {
    benchmark::DoNotOptimize(img.fnIMG_Draw(&dc, 0, 0));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(kPixels * 4 * state.iterations());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_DrawMemory)->Arg(1)->Arg(4)->Arg(8)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

void BM_DrawFloorMemcpy(benchmark::State& state) {
  lamina_bench::MemcpyFloor(state, static_cast<std::size_t>(kPixels * 4));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_DrawFloorMemcpy)->Unit(benchmark::kMillisecond);

#ifdef LAMINA_HAVE_OPENCV
// Mode 0 as a border of 17 columns on the left and 9 rows at the bottom; mode 1 as a background
// fill and the copy of the part that stays in the frame.
void BM_TranslationOpenCV(benchmark::State& state) {
  cv::setNumThreads(1);
  const int channels = static_cast<int>(state.range(0)) / 8;
  const int mode = static_cast<int>(state.range(1));
  cv::Mat src(kSide, kSide, CV_8UC(channels)), dst;
  cv::randu(src, 0, 255);
  const cv::Scalar background(0x40, 0x30, 0x20, 0);
  for (auto _ : state) {
    if (mode == 0) {
      cv::copyMakeBorder(src, dst, 0, 9, 17, 0, cv::BORDER_CONSTANT, background);
    } else {
      dst.create(kSide, kSide, src.type());
      dst.setTo(background);
      src(cv::Rect(0, 9, kSide - 17, kSide - 9))
          .copyTo(dst(cv::Rect(17, 0, kSide - 17, kSide - 9)));
    }
    benchmark::DoNotOptimize(dst.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_TranslationOpenCV)
    ->ArgNames({"bpp", "mode"})
    ->Args({8, 0})
    ->Args({24, 0})
    ->Args({8, 1})
    ->Args({24, 1})
    ->Unit(benchmark::kMillisecond);

// Drawing is a conversion to 32-bit pixels: gray to BGRA and BGR to BGRA.
void BM_DrawOpenCV(benchmark::State& state) {
  cv::setNumThreads(1);
  const int channels = static_cast<int>(state.range(0)) / 8;
  cv::Mat src(kSide, kSide, CV_8UC(channels)), dst(kSide, kSide, CV_8UC4);
  cv::randu(src, 0, 255);
  for (auto _ : state) {
    cv::cvtColor(src, dst, channels == 1 ? cv::COLOR_GRAY2BGRA : cv::COLOR_BGR2BGRA);
    benchmark::DoNotOptimize(dst.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_DrawOpenCV)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

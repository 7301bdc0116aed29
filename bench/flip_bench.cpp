// Flip, crop, interlace and de-interlace on 4096 x 4096 pictures, beside a memcpy of the same bytes
// and, when OpenCV is present, cv::flip run single-threaded in this process.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

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

std::size_t ImageBytes(CLamina& img) { return static_cast<std::size_t>(img.fnIMG_GetBitmapSize()); }

// Flipping twice gives the picture back, so every iteration sees the same input.
void BM_FlipTopBottom(benchmark::State& state) {
  CLamina img = MakePicture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(img.fnIMG_Flip(1));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(ImageBytes(img)) * state.iterations());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_FlipTopBottom)->Arg(1)->Arg(8)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

void BM_FlipLeftRight(benchmark::State& state) {
  CLamina img = MakePicture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(img.fnIMG_Flip(0));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(ImageBytes(img)) * state.iterations());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_FlipLeftRight)
    ->Arg(1)
    ->Arg(4)
    ->Arg(8)
    ->Arg(24)
    ->Arg(32)
    ->Unit(benchmark::kMillisecond);

void BM_FlipFloorMemcpy(benchmark::State& state) {
  const std::size_t bytes = static_cast<std::size_t>(kPixels) * state.range(0) / 8;
  lamina_bench::MemcpyFloor(state, bytes);
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_FlipFloorMemcpy)->Arg(8)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

#ifdef LAMINA_HAVE_OPENCV
// cv::flip writes into a second picture (it has no in-place left-right flip).
void BM_FlipOpenCV(benchmark::State& state) {
  cv::setNumThreads(1);
  const int channels = static_cast<int>(state.range(0)) / 8;
  const int code = static_cast<int>(state.range(1));  // 0 top-bottom, 1 left-right
  cv::Mat src(kSide, kSide, CV_8UC(channels)), dst(kSide, kSide, CV_8UC(channels));
  cv::randu(src, 0, 255);
  for (auto _ : state) {
    cv::flip(src, dst, code);
    benchmark::DoNotOptimize(dst.data);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(src.total() * src.elemSize()) *
                          state.iterations());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_FlipOpenCV)
    ->ArgNames({"bpp", "leftright"})
    ->Args({8, 0})
    ->Args({24, 0})
    ->Args({32, 0})
    ->Args({8, 1})
    ->Args({24, 1})
    ->Args({32, 1})
    ->Unit(benchmark::kMillisecond);
#endif

// Keeps the middle 3072 x 3072; the picture is put back outside the timed region. A crop moves the
// kept bytes once, so it is set against a memcpy of those bytes. At 8 bits the kept bytes (9 MiB)
// and their copy fit in the last-level cache, where a memcpy repeated on the same buffers runs three
// times faster than from memory; a crop always starts on a picture just put back, partly cached.
// So both are timed from memory too (the "cold" runs), and the kept rows are also copied out of a
// picture just put back (BM_CropFloorKeptRows), the comparisons that mean something; the cached
// memcpy stays as the most optimistic floor.
constexpr int kCropFrom = 512, kCropTo = 3583;
constexpr std::int64_t kCropPixels =
    std::int64_t{kCropTo - kCropFrom + 1} * (kCropTo - kCropFrom + 1);

void BM_Crop(benchmark::State& state) {
  lamina_bench::TimeOnCopies(
      state, MakePicture(static_cast<int>(state.range(0))),
      [](CLamina& img) { return img.fnIMG_Crop(kCropFrom, kCropFrom, kCropTo, kCropTo); },
      state.range(1) != 0);
  state.SetBytesProcessed(kCropPixels * state.range(0) / 8 * state.iterations());
  SetPixelRate(state, kCropPixels);
}
BENCHMARK(BM_Crop)
    ->ArgNames({"bpp", "cold"})
    ->Args({1, 0})
    ->Args({4, 0})
    ->Args({8, 0})
    ->Args({24, 0})
    ->Args({32, 0})
    ->Args({8, 1})
    ->Args({24, 1})
    ->Args({32, 1})
    ->Unit(benchmark::kMillisecond);

void BM_CropFloorMemcpy(benchmark::State& state) {
  lamina_bench::MemcpyFloor(state, static_cast<std::size_t>(kCropPixels * state.range(0) / 8));
  SetPixelRate(state, kCropPixels);
}
BENCHMARK(BM_CropFloorMemcpy)->Arg(8)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

void BM_CropFloorMemcpyCold(benchmark::State& state) {
  const std::size_t bytes = static_cast<std::size_t>(kCropPixels * state.range(0) / 8);
  std::vector<std::uint8_t> a(bytes, 1), b(bytes);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
    state.PauseTiming();
    lamina_bench::EvictCaches();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
  SetPixelRate(state, kCropPixels);
}
BENCHMARK(BM_CropFloorMemcpyCold)->Arg(8)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

// The kept rows copied out of a picture just put back, exactly as BM_Crop/cold:0 finds it: the
// memcpy of the kept bytes under the crop's own conditions.
void BM_CropFloorKeptRows(benchmark::State& state) {
  const int bpp = static_cast<int>(state.range(0));
  const std::size_t bytesPerPixel = static_cast<std::size_t>(bpp / 8);
  const std::size_t side = kCropTo - kCropFrom + 1;
  const std::size_t rowBytes = side * bytesPerPixel;
  std::vector<std::uint8_t> kept(rowBytes * side);
  lamina_bench::TimeOnCopies(state, MakePicture(bpp), [&](CLamina& img) {
    const CLamina::Punteros p = img.fnIMG_GetPointers();
    const std::size_t stride = static_cast<std::size_t>(img.fnIMG_GetBitmapSize()) / kSide;
    for (std::size_t k = 0; k < side; ++k)
      std::memcpy(kept.data() + k * rowBytes,
                  p.lpBits + (kCropFrom + k) * stride + kCropFrom * bytesPerPixel, rowBytes);
    return kept.data();
  });
  state.SetBytesProcessed(static_cast<std::int64_t>(kept.size()) * state.iterations());
  SetPixelRate(state, kCropPixels);
}
BENCHMARK(BM_CropFloorKeptRows)->Arg(8)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

// Two 4096 x 2048 (or 2048 x 4096) halves make one 4096 x 4096 picture; the sources do not change.
void BM_Interlace(benchmark::State& state) {
  const int bpp = static_cast<int>(state.range(0));
  const int mode = static_cast<int>(state.range(1));
  CLamina a = mode == 0 ? MakePicture(bpp, kSide, kSide / 2) : MakePicture(bpp, kSide / 2, kSide);
  CLamina b = a;
  CLamina out;
  for (auto _ : state) {
    benchmark::DoNotOptimize(out.fnIMG_Interlace(mode, &a, &b));
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Interlace)
    ->ArgNames({"bpp", "mode"})
    ->Args({8, 0})
    ->Args({24, 0})
    ->Args({8, 1})
    ->Args({24, 1})
    ->Unit(benchmark::kMillisecond);

void BM_DeInterlace(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(1));
  lamina_bench::TimeOnCopies(state, MakePicture(static_cast<int>(state.range(0))),
                             [mode](CLamina& img) { return img.fnIMG_DeInterlace(mode, 1); });
  SetPixelRate(state, kPixels / 2);
}
BENCHMARK(BM_DeInterlace)
    ->ArgNames({"bpp", "mode"})
    ->Args({8, 0})
    ->Args({24, 0})
    ->Args({8, 1})
    ->Args({24, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

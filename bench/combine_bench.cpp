// Two-image arithmetic, insertion, logic, set operations and the difference count on 4096 x 4096
// pictures, beside a memcpy of one picture and, when OpenCV is present, cv::add and
// cv::bitwise_and run single-threaded in this process (they write a third picture; ours work in
// place).
#include <benchmark/benchmark.h>

#include "CLamina.h"
#include "bench_common.h"

#ifdef LAMINA_HAVE_OPENCV
#include <opencv2/core.hpp>
#endif

using lamina_bench::kSide;
using lamina_bench::MakePicture;
using lamina_bench::SetPixelRate;
using lamina_bench::TimeOnCopies;

namespace {

constexpr std::int64_t kPixels = std::int64_t{kSide} * kSide;

// A second picture unlike the first: its bytes run the other way.
CLamina SecondPicture(int bpp) {
  CLamina img = MakePicture(bpp);
  img.fnIMG_Flip(1);
  return img;
}

void BM_Combine_Arithmetic(benchmark::State& state) {
  const int bpp = static_cast<int>(state.range(0)), op = static_cast<int>(state.range(1));
  CLamina second = SecondPicture(bpp);
  TimeOnCopies(state, MakePicture(bpp),
               [&](CLamina& img) { return img.fnIMG_Arithmetic(op, &second); });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Combine_Arithmetic)
    ->ArgNames({"bpp", "op"})
    ->Args({8, 0})
    ->Args({24, 0})
    ->Args({32, 0})
    ->Args({8, 3})
    ->Args({8, 4})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond);

void BM_Combine_WeightedArithmetic(benchmark::State& state) {
  const int bpp = static_cast<int>(state.range(0));
  CLamina second = SecondPicture(bpp);
  TimeOnCopies(state, MakePicture(bpp),
               [&](CLamina& img) { return img.fnIMG_Arithmetic(0, &second, 0.75f, 0.5f, 0, 0); });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Combine_WeightedArithmetic)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Combine_Insert(benchmark::State& state) {
  const int bpp = static_cast<int>(state.range(0));
  CLamina second = SecondPicture(bpp);
  TimeOnCopies(state, MakePicture(bpp),
               [&](CLamina& img) { return img.fnIMG_Insert(&second, 0, 0); });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Combine_Insert)->Arg(8)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

void BM_Combine_Logic(benchmark::State& state) {
  const int bpp = static_cast<int>(state.range(0)), op = static_cast<int>(state.range(1));
  CLamina second = SecondPicture(bpp);
  TimeOnCopies(state, MakePicture(bpp), [&](CLamina& img) { return img.fnIMG_Logic(op, &second); });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Combine_Logic)
    ->ArgNames({"bpp", "op"})
    ->Args({8, 1})
    ->Args({24, 1})
    ->Args({32, 1})
    ->Args({1, 3})
    ->Unit(benchmark::kMillisecond);

void BM_Combine_SetOps(benchmark::State& state) {
  CLamina second = SecondPicture(1);
  TimeOnCopies(state, MakePicture(1), [&](CLamina& img) { return img.fnIMG_SetOps(3, &second); });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Combine_SetOps)->Unit(benchmark::kMillisecond);

void BM_Combine_GetDifferentPixels(benchmark::State& state) {
  const int bpp = static_cast<int>(state.range(0));
  CLamina a = MakePicture(bpp), b = SecondPicture(bpp);
  for (auto _ : state) benchmark::DoNotOptimize(a.fnIMG_GetDifferentPixels(&b));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Combine_GetDifferentPixels)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Combine_FloorMemcpy(benchmark::State& state) {
  lamina_bench::MemcpyFloor(state, static_cast<std::size_t>(kPixels * state.range(0) / 8));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Combine_FloorMemcpy)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

#ifdef LAMINA_HAVE_OPENCV
void BM_Combine_OpenCV(benchmark::State& state) {
  cv::setNumThreads(1);
  const int channels = static_cast<int>(state.range(0)) / 8;
  const bool logic = state.range(1) != 0;
  cv::Mat a(kSide, kSide, CV_8UC(channels)), b(kSide, kSide, CV_8UC(channels)),
      out(kSide, kSide, CV_8UC(channels));
  cv::randu(a, 0, 255);
  cv::randu(b, 0, 255);
  for (auto _ : state) {
    if (logic)
      cv::bitwise_and(a, b, out);
    else
      cv::add(a, b, out);
    benchmark::DoNotOptimize(out.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Combine_OpenCV)
    ->ArgNames({"bpp", "and"})
    ->Args({8, 0})
    ->Args({24, 0})
    ->Args({8, 1})
    ->Args({24, 1})
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace

// Filters and convolution on 4096 x 4096 pictures (mapping 1, border 1 unless named), beside the
// nearest OpenCV calls run single-threaded in this process: cv::filter2D with the same kernel,
// Sobel x + Sobel y + add, medianBlur, dilate and erode (they write a second picture; ours work in
// place).
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
using lamina_bench::TimeOnCopies;

namespace {

constexpr std::int64_t kPixels = std::int64_t{kSide} * kSide;

void BM_Filters(benchmark::State& state) {
  const int filter = static_cast<int>(state.range(0)), bpp = static_cast<int>(state.range(1));
  const int border = static_cast<int>(state.range(2));
  TimeOnCopies(state, MakePicture(bpp),
               [&](CLamina& img) { return img.fnIMG_Filters(filter, 1, border); });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Filters)
    ->ArgNames({"filter", "bpp", "border"})
    ->Args({26, 8, 1})
    ->Args({26, 8, 0})
    ->Args({26, 8, 2})
    ->Args({26, 24, 1})
    ->Args({19, 8, 1})
    ->Args({65, 8, 1})
    ->Args({50, 8, 1})
    ->Args({22, 8, 1})
    ->Args({23, 8, 1})
    ->Args({66, 8, 1})
    ->Args({67, 8, 1})
    ->Args({0, 8, 1})
    ->Args({33, 8, 1})
    ->Args({57, 8, 1})
    ->Args({25, 8, 1})
    ->Args({73, 8, 1})
    ->Args({76, 8, 1})
    ->Unit(benchmark::kMillisecond);

// The stretch mapping passes over the sums twice.
void BM_Filters_Stretch(benchmark::State& state) {
  TimeOnCopies(state, MakePicture(8), [&](CLamina& img) { return img.fnIMG_Filters(26, 0, 1); });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Filters_Stretch)->Unit(benchmark::kMillisecond);

void BM_Convolution(benchmark::State& state) {
  int k[9] = {1, -2, 3, -4, 5, -6, 7, -8, 9};
  TimeOnCopies(state, MakePicture(8),
               [&](CLamina& img) { return img.fnIMG_Convolution(k, 3, 3, 1, 1); });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Convolution)->Unit(benchmark::kMillisecond);

void BM_Filters_FloorMemcpy(benchmark::State& state) {
  lamina_bench::MemcpyFloor(state, static_cast<std::size_t>(kPixels));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Filters_FloorMemcpy)->Unit(benchmark::kMillisecond);

#ifdef LAMINA_HAVE_OPENCV
cv::Mat Picture() {
  cv::Mat m(kSide, kSide, CV_8UC1);
  cv::randu(m, 0, 255);
  return m;
}

cv::Mat KernelOf(int n, const std::vector<float>& k, float divisor) {
  cv::Mat m(n, n, CV_32F);
  for (int i = 0; i < n * n; ++i) m.at<float>(i / n, i % n) = k[i] / divisor;
  return m;
}

// 0: the 3 x 3 Gaussian / 16; 1: the 5 x 5 mean; 2: the 11 x 11 Laplacian of Gaussian.
void BM_Filters_OpenCVFilter2D(benchmark::State& state) {
  cv::setNumThreads(1);
  cv::Mat kernel;
  if (state.range(0) == 0) kernel = KernelOf(3, {1, 2, 1, 2, 4, 2, 1, 2, 1}, 16.0f);
  if (state.range(0) == 1) kernel = KernelOf(5, std::vector<float>(25, 1.0f), 25.0f);
  if (state.range(0) == 2) {
    const float half[6][11] = {{0, 0, 0, -1, -1, -2, -1, -1, 0, 0, 0},
                               {0, 0, -2, -4, -8, -9, -8, -4, -2, 0, 0},
                               {0, -2, -7, -15, -22, -23, -22, -15, -7, -2, 0},
                               {-1, -4, -15, -24, -14, -1, -14, -24, -15, -4, -1},
                               {-1, -8, -22, -14, 52, 103, 52, -14, -22, -8, -1},
                               {-2, -9, -23, -1, 103, 178, 103, -1, -23, -9, -2}};
    std::vector<float> k(121);
    for (int j = 0; j < 11; ++j)
      for (int i = 0; i < 11; ++i) k[j * 11 + i] = half[j <= 5 ? j : 10 - j][i];
    kernel = KernelOf(11, k, 1.0f);
  }
  const cv::Mat src = Picture();
  cv::Mat dst(kSide, kSide, CV_8UC1);
  for (auto _ : state) {
    cv::filter2D(src, dst, -1, kernel, cv::Point(-1, -1), 0, cv::BORDER_CONSTANT);
    benchmark::DoNotOptimize(dst.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Filters_OpenCVFilter2D)
    ->ArgName("kernel")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond);

void BM_Filters_OpenCVSobelMagnitude(benchmark::State& state) {
  cv::setNumThreads(1);
  const cv::Mat src = Picture();
  cv::Mat dx(kSide, kSide, CV_8UC1), dy(kSide, kSide, CV_8UC1), sum(kSide, kSide, CV_8UC1);
  for (auto _ : state) {
    cv::Sobel(src, dx, CV_8U, 1, 0);
    cv::Sobel(src, dy, CV_8U, 0, 1);
    cv::add(dx, dy, sum);
    benchmark::DoNotOptimize(sum.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Filters_OpenCVSobelMagnitude)->Unit(benchmark::kMillisecond);

// 3 and 5: medianBlur; 66: dilate; 67: erode (3 x 3).
void BM_Filters_OpenCVOrder(benchmark::State& state) {
  cv::setNumThreads(1);
  const cv::Mat src = Picture();
  cv::Mat dst(kSide, kSide, CV_8UC1);
  const cv::Mat square = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3));
  const int which = static_cast<int>(state.range(0));
  for (auto _ : state) {
    if (which == 3 || which == 5) cv::medianBlur(src, dst, which);
    if (which == 66) cv::dilate(src, dst, square);
    if (which == 67) cv::erode(src, dst, square);
    benchmark::DoNotOptimize(dst.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Filters_OpenCVOrder)
    ->ArgName("op")
    ->Arg(3)
    ->Arg(5)
    ->Arg(66)
    ->Arg(67)
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace
